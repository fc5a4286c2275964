// Test helpers for report runs: a small item table and the texts each generated page prints.
#pragma once

#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/gfx/EmfFormat.h"
#include "report/TRpDBText.h"
#include "report/TRpExpr.h"
#include "report/TRpGroup.h"
#include "report/TRpLabel.h"
#include "report/TRpPrinter.h"
#include "report/TRpReport.h"
#include "report/TRpShape.h"
#include "report/TRpSysData.h"

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
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
// A label printing `caption` at `left` on the band's top edge.
inline TRpLabel* label(TRpCustomBand* band, const QString& caption, double left = 0)
{
    auto* added = band->Add<TRpLabel>();
    added->SetCaption(caption);
    added->Size().SetBounds(left, 0, 400, 60);
    return added;
}

// An expression control at `left` on the band's top edge.
inline TRpExpr* expression(TRpCustomBand* band, const QString& text, double left = 0)
{
    auto* added = band->Add<TRpExpr>();
    added->SetExpression(text);
    added->Size().SetBounds(left, 0, 1500, 60);
    return added;
}

// A database text of `field` of `dataSet` at the band's top left.
inline TRpDBText* fieldText(TRpCustomBand* band, db::DataSet* dataSet, const QString& field)
{
    auto* added = band->Add<TRpDBText>(field);
    added->SetDataSet(dataSet);
    added->SetDataField(field);
    added->Size().SetBounds(0, 0, 500, 60);
    return added;
}

// A band of `height` printing `caption` (nothing when empty).
inline TRpBand* band(TRpReport& report, TRpBandType type, const QString& caption = QString(), double height = 100)
{
    TRpBand* added = report.AddBand(type);
    added->Size().SetHeight(height);
    if (!caption.isEmpty())
        label(added, caption);
    return added;
}

// A group on `value` (an expression over AQitem) whose header, `height` high, prints prefix +
// the value; with a footer band that prints "end " + prefix + the value + " " + the group's sum
// of the amounts.
inline TRpGroup* itemGroup(TRpReport& report, const char* value, const char* prefix, double height, bool footer)
{
    TRpGroup* added = report.AddGroup();
    added->Expression = QString::fromUtf8(value);
    added->Size().SetHeight(height);
    expression(added, QStringLiteral("'%1'+%2").arg(prefix, value));
    if (footer) {
        TRpBand* band = report.AddBand(rbDetail);
        added->SetFooterBand(band);
        band->Size().SetHeight(height);
        expression(band, QStringLiteral("'end %1'+%2+' '+STR(SUM(AQitem.amount))").arg(prefix, value))->ResetAfterPrint = true;
    }
    return added;
}

inline void buildListReport(TRpReport& report, db::DataSet* items)
{
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
    fieldText(detail, items, QStringLiteral("code"));
    auto* rule = detail->Add<TRpShape>(QStringLiteral("rule"));
    rule->Shape = TRpShapeType::rpsHorLine;
    rule->Size().SetBounds(0, 80, 1800, 20);
    TRpBand* summary = report.AddBand(rbSummary);
    summary->Size().SetHeight(300);
    label(summary, QStringLiteral("Total"), 0);
    TRpBand* footer = report.AddBand(rbPageFooter);
    footer->Size().SetHeight(150);
    label(footer, QStringLiteral("PF"), 0);
    expression(footer, QStringLiteral("formatnumeric('0.00',SUM(AQitem.amount))"), 1000)->ResetAfterPrint = true;
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

    // `count` more rows "Row k" with amount k, numbered on from those added before, in
    // `region` and `city`.
    void addRows(int count, const QString& region = QString(), const QString& city = QString())
    {
        connection.execute(QStringLiteral("BEGIN"));
        for (const int last = added + count; added < last;) {
            ++added;
            connection.execute(QStringLiteral("INSERT INTO item (code, region, city, amount) VALUES ('Row %1', '%2', '%3', %1)")
                                   .arg(added)
                                   .arg(region, city));
        }
        connection.execute(QStringLiteral("COMMIT"));
    }

    QTemporaryDir dir;
    db::Connection connection;
    std::unique_ptr<db::Query> items;
    int added = 0;
};

// Where a text printed: its page and its reference point in page pixels.
struct Spot {
    int page = 0;
    int x = 0;
    int y = 0;
    friend bool operator==(const Spot&, const Spot&) = default;
};

inline void PrintTo(const Spot& spot, std::ostream* out)
{
    *out << "page " << spot.page << " at " << spot.x << "," << spot.y;
}

// A place given in tenths of a millimetre, as it prints: on `page`, `y` from the paper's top and
// `x` from its left edge (the left margin of the sketch below).
inline Spot at(int page, double y, double x = 100)
{
    return {page, pixels(x), pixels(y)};
}

// A small page for the breaking rules, in tenths of a millimetre: custom paper 2100 x 1000 with
// margins of 100, a page header "PH" and a page footer "PF" of 100 each and a detail of 100
// printing the item's code, so that six rows fill the space from 200 to 800 exactly.
class PageSketch : public ReportDatabase {
protected:
    void SetUp() override
    {
        ReportDatabase::SetUp();
        report.SetUnits(TRpUnit::Native);
        report.SetDataSet(items.get());
        report.Page().SetPaperSize(TRpPaperSize::Custom);
        report.Page().SetValues({100, 1000, 100, 2100, 100, 100, 0});
        band(report, rbPageHeader, QStringLiteral("PH"));
        band(report, rbPageFooter, QStringLiteral("PF"));
        fieldText(band(report, rbDetail), items.get(), QStringLiteral("code"));
    }

    void run()
    {
        items->open();
        report.Prepare();
        pages = printedPages(*report.RpPrinter());
    }

    // Every place `text` printed, page by page.
    std::vector<Spot> spots(const QString& text) const
    {
        std::vector<Spot> found;
        for (std::size_t page = 0; page < pages.size(); ++page) {
            for (const PrintedText& printed : pages[page]) {
                if (printed.text == text)
                    found.push_back({int(page) + 1, printed.x, printed.y});
            }
        }
        return found;
    }

    TRpReport report;
    std::vector<std::vector<PrintedText>> pages;
};

} // namespace lb::report::test
