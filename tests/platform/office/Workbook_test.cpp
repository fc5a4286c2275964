// Tests of the workbook writer: cell kinds as written, sizes, and saves that fail cleanly.
#include "platform/office/Workbook.h"
#include "platform/sys/Errors.h"
#include "support/XlsxSheet.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using lb::office::Workbook;

namespace {

QStringList files(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

} // namespace

TEST(Workbook, TextStaysTextAndNumbersStayNumbers)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("book1.xlsx"));
    {
        Workbook book(path);
        book.writeText(0, 0, QStringLiteral("货品代码"));
        book.writeText(0, 1, QStringLiteral("库存数量"));
        book.writeText(1, 0, QStringLiteral("00123"));
        book.writeNumber(1, 1, 12.5);
        book.writeText(2, 0, QStringLiteral("=SUM(B2:B2)"));
        book.writeNumber(2, 1, -0.001);
        book.writeText(3, 0, QStringLiteral("6901234567890123"));
        book.setColumnWidth(0, 16);
        book.setColumnWidth(2, 4);
        book.setRowHeight(0, 28);
        book.printGridLines();
        book.save();
    }
    const XlsxSheet sheet = XlsxSheet::read(path);
    EXPECT_EQ((QStringList{"货品代码", "库存数量"}), sheet.row(1, 2));
    EXPECT_EQ((QStringList{"00123", "12.5"}), sheet.row(2, 2));
    EXPECT_EQ((QStringList{"s", "n"}), sheet.types(2, 2));
    EXPECT_EQ((QStringList{"=SUM(B2:B2)", "-0.001"}), sheet.row(3, 2));
    EXPECT_EQ((QStringList{"s", "n"}), sheet.types(3, 2));
    EXPECT_FALSE(sheet.cells.at(QStringLiteral("A3")).formula);
    EXPECT_EQ(QStringLiteral("6901234567890123"), sheet.cells.at(QStringLiteral("A4")).text);
    EXPECT_EQ(4, sheet.lastRow());
    EXPECT_NEAR(16.0, sheet.columnWidths.at(1), 1.0);
    EXPECT_NEAR(4.0, sheet.columnWidths.at(3), 1.0);
    EXPECT_EQ(0u, sheet.columnWidths.count(2));
    EXPECT_EQ(28.0, sheet.rowHeights.at(1));
    EXPECT_TRUE(sheet.printGridLines);
    EXPECT_EQ(QStringList{"book1.xlsx"}, files(folder.path()));
}

TEST(Workbook, FailuresLeaveNoFileAndKeepTheOldOne)
{
    QTemporaryDir folder;
    // A folder that does not exist cannot take the workbook.
    EXPECT_THROW(Workbook(folder.filePath(QStringLiteral("missing/book.xlsx"))), lb::FileOpenError);

    // A workbook never saved leaves nothing behind.
    {
        Workbook book(folder.filePath(QStringLiteral("unsaved.xlsx")));
        book.writeText(0, 0, QStringLiteral("x"));
    }
    EXPECT_TRUE(files(folder.path()).isEmpty());

    // A cell outside the sheet is refused; the workbook can still be saved.
    const QString path = folder.filePath(QStringLiteral("book.xlsx"));
    {
        Workbook book(path);
        EXPECT_THROW(book.writeText(1048576, 0, QStringLiteral("x")), lb::Error);
        EXPECT_THROW(book.writeText(0, 0, QString(40000, QLatin1Char('x'))), lb::Error);
        book.writeNumber(0, 0, 1);
        book.save();
    }
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    const QByteArray before = old.readAll();
    old.close();

    // A save whose destination cannot be replaced (a folder of that name) fails and leaves
    // neither a partial file nor its temporary copy.
    const QString blocked = folder.filePath(QStringLiteral("blocked.xlsx"));
    ASSERT_TRUE(QDir().mkpath(blocked + QStringLiteral("/inside")));
    {
        Workbook book(blocked);
        book.writeText(0, 0, QStringLiteral("x"));
        EXPECT_THROW(book.save(), lb::FileOpenError);
    }
    EXPECT_EQ(QStringList{"book.xlsx"}, files(folder.path()));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(before, old.readAll());
}
