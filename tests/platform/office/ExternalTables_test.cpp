// Tests of the external tables: dBase tables read as written, Paradox tables written and read
// back, rows moved between them by position, and files that are not tables refused.
#include "platform/office/BatchMove.h"
#include "platform/office/DbfFile.h"
#include "platform/office/ParadoxFile.h"
#include "platform/sys/Errors.h"
#include "platform/sys/Gbk.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <shapefil.h>

using lb::office::BatchMove;
using lb::office::DbfFile;
using lb::office::ExternalField;
using lb::office::ExternalFieldType;
using lb::office::ExternalTable;
using lb::office::ParadoxFile;

namespace {

using Type = ExternalFieldType;

// A FoxPro-style table: code, GBK name, integer count, price with decimals, flag, date.
QString makeDbf(const QString& folder)
{
    const QString path = folder + QStringLiteral("/lw.dbf");
    DBFHandle dbf = DBFCreate(QFile::encodeName(path).constData());
    EXPECT_NE(nullptr, dbf);
    DBFAddField(dbf, "INTNO", FTString, 10, 0);
    DBFAddField(dbf, "SPMC", FTString, 40, 0);
    DBFAddField(dbf, "SL", FTInteger, 8, 0);
    DBFAddField(dbf, "DJ", FTDouble, 12, 3);
    DBFAddNativeFieldType(dbf, "SZBJ", 'L', 1, 0);
    DBFAddNativeFieldType(dbf, "RQ", 'D', 8, 0);
    const struct {
        const char* intno;
        const char* name;
        int sl;
        double dj;
        char flag;
        const char* date;
    } rows[] = {
        {"1", "苹果汁", 12, 3.125, 'T', "20250301"},
        {"22", "", -4, 0.5, 'F', "20241231"},
        {"333", "删除的", 1, 1, 'T', "20250101"},
    };
    int record = 0;
    for (const auto& r : rows) {
        DBFWriteStringAttribute(dbf, record, 0, r.intno);
        DBFWriteStringAttribute(dbf, record, 1, lb::Gbk::toGbk(QString::fromUtf8(r.name)).constData());
        DBFWriteIntegerAttribute(dbf, record, 2, r.sl);
        DBFWriteDoubleAttribute(dbf, record, 3, r.dj);
        DBFWriteLogicalAttribute(dbf, record, 4, r.flag);
        DBFWriteAttributeDirectly(dbf, record, 5, const_cast<char*>(r.date)); // stored as typed
        ++record;
    }
    DBFWriteNULLAttribute(dbf, 1, 5);
    DBFMarkRecordDeleted(dbf, 2, 1);
    DBFClose(dbf);
    return path;
}

ExternalTable productTable()
{
    ExternalTable table;
    table.fields = {{QStringLiteral("INTNO"), Type::Text, 10, 0}, {QStringLiteral("SPMC"), Type::Text, 8, 0},
                    {QStringLiteral("SL"), Type::Integer, 0, 0},  {QStringLiteral("DJ"), Type::Number, 0, 0},
                    {QStringLiteral("SZBJ"), Type::Logical, 0, 0}, {QStringLiteral("RQ"), Type::Date, 0, 0}};
    return table;
}

} // namespace

TEST(ExternalTables, DbfRecordsAreReadWithTheirKindsSkippingDeletedOnes)
{
    QTemporaryDir folder;
    const ExternalTable table = DbfFile::read(makeDbf(folder.path()));
    ASSERT_EQ(6u, table.fields.size());
    EXPECT_EQ(QStringLiteral("SPMC"), table.fields[1].name);
    EXPECT_EQ(Type::Text, table.fields[1].type);
    EXPECT_EQ(40, table.fields[1].length);
    EXPECT_EQ(Type::Integer, table.fields[2].type);
    EXPECT_EQ(Type::Number, table.fields[3].type);
    EXPECT_EQ(Type::Logical, table.fields[4].type);
    EXPECT_EQ(Type::Date, table.fields[5].type);
    ASSERT_EQ(2u, table.rows.size());
    const std::vector<QVariant> first{QStringLiteral("1"), QStringLiteral("苹果汁"), qint64(12), 3.125, true,
                                      QDate(2025, 3, 1)};
    EXPECT_EQ(first, table.rows[0]);
    const std::vector<QVariant> second{QStringLiteral("22"), QString(), qint64(-4), 0.5, false, QVariant()};
    EXPECT_EQ(second, table.rows[1]);
}

TEST(ExternalTables, ParadoxTablesReadBackWhatWasWritten)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("product.db"));
    ExternalTable table = productTable();
    table.rows = {
        {QStringLiteral("0000000001"), QStringLiteral("苹果汁"), qint64(12), 3.125, true, QDate(2025, 3, 1)},
        {QStringLiteral("7"), QStringLiteral("abc"), qint64(-4), -0.5, false, QDate(1999, 12, 31)},
        {QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()},
        // Eight bytes hold three characters and a half: the half is not written.
        {QStringLiteral("x"), QStringLiteral("一二三四五"), qint64(2147483647), 0.0, true, QDate(1, 1, 1)},
    };
    ParadoxFile::write(path, table);
    EXPECT_EQ(QStringList{"product.db"}, QDir(folder.path()).entryList(QDir::Files | QDir::Hidden));

    const ExternalTable back = ParadoxFile::read(path);
    ASSERT_EQ(6u, back.fields.size());
    for (size_t i = 0; i < back.fields.size(); ++i) {
        EXPECT_EQ(table.fields[i].name, back.fields[i].name);
        EXPECT_EQ(table.fields[i].type, back.fields[i].type);
    }
    EXPECT_EQ(8, back.fields[1].length);
    ASSERT_EQ(4u, back.rows.size());
    EXPECT_EQ(table.rows[0], back.rows[0]);
    EXPECT_EQ(table.rows[1], back.rows[1]);
    EXPECT_EQ(table.rows[2], back.rows[2]);
    EXPECT_EQ(QStringLiteral("一二三四"), back.rows[3][1]);
    EXPECT_EQ(qint64(2147483647), back.rows[3][2]);
    EXPECT_EQ(QVariant(0.0), back.rows[3][3]); // zero is a value, not a null
    EXPECT_EQ(QDate(1, 1, 1), back.rows[3][5]);
}

TEST(ExternalTables, FailedWritesKeepTheOldTableAndNonTablesAreRefused)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("product.db"));
    ExternalTable table = productTable();
    table.rows = {{QStringLiteral("1"), QStringLiteral("a"), qint64(1), 1.0, true, QDate(2025, 1, 1)}};
    ParadoxFile::write(path, table);

    ExternalTable tooBig = productTable();
    tooBig.rows = {{QStringLiteral("1"), QStringLiteral("a"), qint64(1) << 40, 1.0, true, QDate()}};
    EXPECT_THROW(ParadoxFile::write(path, tooBig), lb::RangeError);
    ExternalTable wide = productTable();
    wide.fields[0].length = 300;
    EXPECT_THROW(ParadoxFile::write(path, wide), lb::RangeError);
    EXPECT_THROW(ParadoxFile::write(folder.filePath(QStringLiteral("missing/product.db")), table), lb::FileOpenError);
    EXPECT_EQ(table.rows, ParadoxFile::read(path).rows);
    EXPECT_EQ(QStringList{"product.db"}, QDir(folder.path()).entryList(QDir::Files | QDir::Hidden));

    const QString text = folder.filePath(QStringLiteral("notes.db"));
    QFile notes(text);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write(QByteArray(4096, 'z'));
    notes.close();
    EXPECT_THROW(ParadoxFile::read(text), lb::FileOpenError);
    EXPECT_THROW(ParadoxFile::read(folder.filePath(QStringLiteral("none.db"))), lb::FileOpenError);
    EXPECT_THROW(DbfFile::read(folder.filePath(QStringLiteral("none.dbf"))), lb::FileOpenError);
}

TEST(ExternalTables, BatchMoveFillsFieldsByPositionConvertingKinds)
{
    ExternalTable source;
    source.fields = {{QStringLiteral("A"), Type::Integer, 0, 0}, {QStringLiteral("B"), Type::Text, 10, 0},
                     {QStringLiteral("C"), Type::Text, 10, 0},   {QStringLiteral("D"), Type::Date, 0, 0},
                     {QStringLiteral("E"), Type::Number, 0, 0}};
    source.rows = {
        {qint64(42), QStringLiteral(" 2.5 "), QStringLiteral("T"), QDate(2025, 2, 3), 1.5},
        {QVariant(), QStringLiteral("abc"), QStringLiteral("x"), QVariant(), 2.5},
    };
    ExternalTable destination;
    destination.fields = {{QStringLiteral("TEXT"), Type::Text, 10, 0}, {QStringLiteral("NUM"), Type::Number, 0, 0},
                          {QStringLiteral("FLAG"), Type::Logical, 0, 0}, {QStringLiteral("DAY"), Type::Text, 10, 0}};
    destination.rows = {{QStringLiteral("kept"), 1.0, true, QString()}};

    EXPECT_EQ(2, BatchMove::append(source, destination));
    ASSERT_EQ(3u, destination.rows.size());
    EXPECT_EQ(QStringLiteral("kept"), destination.rows[0][0]);
    const std::vector<QVariant> first{QStringLiteral("42"), 2.5, true, QStringLiteral("2025-02-03")};
    EXPECT_EQ(first, destination.rows[1]);
    const std::vector<QVariant> second{QVariant(), QVariant(), QVariant(), QVariant()};
    EXPECT_EQ(second, destination.rows[2]);

    // Fewer source fields than destination ones: the rest stay null.
    ExternalTable narrow;
    narrow.fields = {{QStringLiteral("A"), Type::Number, 0, 0}};
    narrow.rows = {{2.6}};
    ExternalTable wide;
    wide.fields = {{QStringLiteral("N"), Type::Integer, 0, 0}, {QStringLiteral("T"), Type::Text, 5, 0}};
    BatchMove::append(narrow, wide);
    const std::vector<QVariant> rounded{qint64(3), QVariant()};
    EXPECT_EQ(rounded, wide.rows.at(0));
}
