// Test helpers for report runs: a small item table and the texts each generated page prints.
#pragma once

#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/gfx/EmfFormat.h"
#include "report/TRpDBText.h"
#include "report/TRpExpr.h"
#include "report/TRpLabel.h"
#include "report/TRpPrinter.h"
#include "report/TRpReport.h"
#include "report/TRpShape.h"
#include "report/TRpSysData.h"

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace lb::report::test {

// One text a page prints, at its reference point in page pixels (96 per inch).
struct PrintedText {
    QString text;
    int x = 0;
    int y = 0;
};

// The texts of every stored page of `device`, page by page, in the order they were drawn.
inline std::vector<std::vector<PrintedText>> printedPages(TRpPrinter& device)
{
    std::vector<std::vector<PrintedText>> pages;
    for (int number = 1; number <= device.PageCount(); ++number) {
        std::vector<PrintedText> texts;
        const std::optional<gfx::EmfMetafile> stored = device.GetPage(number);
        for (const gfx::EmfRecord& record : stored->records()) {
            if (record.type == gfx::emf::EMR_EXTTEXTOUTW)
                texts.push_back({record.text, record.point.x(), record.point.y()});
        }
        pages.push_back(std::move(texts));
    }
    return pages;
}

// The texts alone.
inline QStringList textsOf(const std::vector<PrintedText>& page)
{
    QStringList texts;
    for (const PrintedText& text : page)
        texts.append(text.text);
    return texts;
}

// Tenths of a millimetre as page pixels.
inline int pixels(double native)
{
    return int(std::lround(native * 96 / 254));
}

// A list over `items` (native units, A4 with 10 mm margins, 2770 of usable height): page header
// 200 ("PH", "第" + page number), column header 100 ("Item" and "货品名称" in a framed band with a
// rule), detail 100 (the code, and a rule), summary 300 ("Total"), page footer 150 ("PF" and
// the page's subtotal of the amounts).
inline void buildListReport(TRpReport& report, db::DataSet* items)
{
    const auto label = [](TRpCustomBand* band, const QString& caption, double left) {
        auto* added = band->Add<TRpLabel>();
        added->SetCaption(caption);
        added->Size().SetBounds(left, 0, 400, 60);
        return added;
    };
    report.SetUnits(TRpUnit::Native);
    report.SetDataSet(items);
    TRpBand* header = report.AddBand(rbPageHeader);
    header->Size().SetHeight(200);
    label(header, QStringLiteral("PH"), 0);
    auto* page = header->Add<TRpSysData>();
    page->SetData(TRpSysDataType::rpsPageNumber);
    page->SetText(QStringLiteral("第"));
    page->Size().SetBounds(1000, 0, 300, 60);
    TRpBand* columns = report.AddBand(rbColumnHeader);
    columns->Size().SetHeight(100);
    columns->Frame.DrawLeft = columns->Frame.DrawRight = columns->Frame.DrawTop = true;
    label(columns, QStringLiteral("Item"), 0);
    label(columns, QStringLiteral("货品名称"), 500);
    TRpBand* detail = report.AddBand(rbDetail);
    detail->Size().SetHeight(100);
    auto* code = detail->Add<TRpDBText>(QStringLiteral("code"));
    code->SetDataSet(items);
    code->SetDataField(QStringLiteral("code"));
    code->Size().SetBounds(0, 0, 500, 60);
    auto* rule = detail->Add<TRpShape>(QStringLiteral("rule"));
    rule->Shape = TRpShapeType::rpsHorLine;
    rule->Size().SetBounds(0, 80, 1800, 20);
    TRpBand* summary = report.AddBand(rbSummary);
    summary->Size().SetHeight(300);
    label(summary, QStringLiteral("Total"), 0);
    TRpBand* footer = report.AddBand(rbPageFooter);
    footer->Size().SetHeight(150);
    label(footer, QStringLiteral("PF"), 0);
    auto* subtotal = footer->Add<TRpExpr>(QStringLiteral("subtotal"));
    subtotal->SetExpression(QStringLiteral("formatnumeric('0.00',SUM(AQitem.amount))"));
    subtotal->ResetAfterPrint = true;
    subtotal->Size().SetBounds(1000, 0, 500, 60);
}

// A database with the table item (id, code, region, city, amount) and the query AQitem over it.
class ReportDatabase : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("kvdb.db"));
        db::Connection::createFile(path);
        connection.setDatabaseFile(path);
        connection.open();
        connection.execute(QStringLiteral(
            "CREATE TABLE item (id INTEGER PRIMARY KEY, code VARCHAR(20), region VARCHAR(20), "
            "city VARCHAR(20), amount DOUBLE DEFAULT 0, remark TEXT)"));
        items = std::make_unique<db::Query>(connection);
        items->setObjectName(QStringLiteral("AQitem"));
        items->sql().setText(QStringLiteral("SELECT * FROM item ORDER BY id"));
    }

    // Rows "Row 1" .. "Row n" with amounts 1 .. n.
    void addRows(int count)
    {
        connection.execute(QStringLiteral("BEGIN"));
        for (int i = 1; i <= count; ++i) {
            connection.execute(QStringLiteral("INSERT INTO item (code, region, city, amount) VALUES ('Row %1', '', '', %1)").arg(i));
        }
        connection.execute(QStringLiteral("COMMIT"));
    }

    QTemporaryDir dir;
    db::Connection connection;
    std::unique_ptr<db::Query> items;
};

} // namespace lb::report::test
