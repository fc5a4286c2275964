// Tests of the external tables: dBase tables read as written, Paradox tables written and read
// back, rows moved between them by position, and files that are not tables or are damaged
// refused (the damaged files of the field as cases, and random damage in fuzz rounds).
#include "platform/office/BatchMove.h"
#include "platform/office/DbfFile.h"
#include "platform/office/ParadoxFile.h"
#include "platform/sys/Errors.h"
#include "platform/sys/Gbk.h"
#include "support/RandomDamage.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <chrono>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
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

// A FoxPro-style table: code, GBK name, integer count, price with decimals, flag, date; three
// records of 80 bytes after a header of 225, the last one marked deleted.
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

// Records of 35 bytes: 10 + 8 + 4 + 8 + 1 + 4.
ExternalTable productTable()
{
    ExternalTable table;
    table.fields = {{QStringLiteral("INTNO"), Type::Text, 10, 0}, {QStringLiteral("SPMC"), Type::Text, 8, 0},
                    {QStringLiteral("SL"), Type::Integer, 0, 0},  {QStringLiteral("DJ"), Type::Number, 0, 0},
                    {QStringLiteral("SZBJ"), Type::Logical, 0, 0}, {QStringLiteral("RQ"), Type::Date, 0, 0}};
    return table;
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

void put16(QByteArray& bytes, qint64 at, quint16 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

// The bytes of a Paradox table of `rows` records of productTable(). Its header takes 2048
// bytes, and so does each data block: 58 records a block.
QByteArray paradoxBytes(const QString& folder, int rows)
{
    ExternalTable table = productTable();
    for (int i = 0; i < rows; ++i)
        table.rows.push_back({QString::number(i), QStringLiteral("货品"), qint64(i), i / 4.0, i % 2 == 0, QDate(2025, 1, 1 + i % 28)});
    const QString path = folder + QStringLiteral("/good.db");
    ParadoxFile::write(path, table);
    return bytesOf(path);
}

using Reader = ExternalTable (*)(const QString&);

// The first line of a refusal of a damaged table, and of a table that cannot be opened.
QString damagedText(const QString& path)
{
    return QStringLiteral("文件 %1 已损坏或不是有效的数据表,不能读取。\n").arg(QDir::toNativeSeparators(path));
}

QString unopenedText(const QString& path)
{
    return QStringLiteral("文件 %1 不能打开。\n").arg(QDir::toNativeSeparators(path));
}

// The message of the lb::FileOpenError that `read` raises on `path`; empty when it reads it.
QString refusalOf(Reader read, const QString& path)
{
    try {
        read(path);
    } catch (const lb::FileOpenError& e) {
        return e.message();
    }
    return {};
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
    // The header names the code page of the text, GBK, and the table's own file name: it
    // follows the six field descriptions and seven name pointers of the version 7 header.
    const QByteArray header = bytesOf(path).left(2048);
    EXPECT_EQ(936, qFromLittleEndian<quint16>(header.constData() + 0x6A));
    EXPECT_EQ(QByteArray("product.db"), header.mid(0x78 + 6 * 2 + 7 * 4).split('\0').first());

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

    // The longest text field a header holds.
    table.fields[0].length = 255;
    table.rows = {{QString(255, QLatin1Char('x')), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()}};
    ParadoxFile::write(path, table);
    const ExternalTable longest = ParadoxFile::read(path);
    EXPECT_EQ(255, longest.fields[0].length);
    EXPECT_EQ(table.rows, longest.rows);
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
    // The header keeps a field's length in one byte: 256 would be written as 0.
    wide.fields[0].length = 256;
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

// The dBase library opens a name it makes of the one given (the extension replaced by ".dbf",
// or else by ".DBF"): a table is read under the name given whatever its case, and the file
// read is the file checked, never another the library would make of its name.
TEST(ExternalTables, DbfTablesAreReadOnlyUnderTheNameThatWasChecked)
{
    QTemporaryDir folder;
    const QString made = makeDbf(folder.path());
    const auto rows = DbfFile::read(made).rows;
    const QByteArray sound = bytesOf(made);
    QByteArray damaged = sound;
    put32(damaged, 4, 4997143);

    const QString plain = folder.filePath(QStringLiteral("y"));
    writeBytes(plain, sound);
    EXPECT_EQ(rows, DbfFile::read(plain).rows);
    // A sound table under the upper-case name, a damaged one under the name the library tries first.
    const QString upper = folder.filePath(QStringLiteral("x.DBF"));
    writeBytes(upper, sound);
    const QString lower = folder.filePath(QStringLiteral("x.dbf"));
    writeBytes(lower, damaged);
    EXPECT_EQ(rows, DbfFile::read(upper).rows);
    EXPECT_TRUE(refusalOf(DbfFile::read, lower).startsWith(damagedText(lower)));
    const QString mixed = folder.filePath(QStringLiteral("Lw.Dbf"));
    writeBytes(mixed, sound);
    EXPECT_EQ(rows, DbfFile::read(mixed).rows);
    // No file of the name given, a damaged one of a name the library makes of it.
    writeBytes(folder.filePath(QStringLiteral("t.DBF")), damaged);
    const QString missing = folder.filePath(QStringLiteral("t"));
    EXPECT_EQ(unopenedText(missing) + QStringLiteral("dBase table: there is no such file"), refusalOf(DbfFile::read, missing));
    const QString none = folder.filePath(QStringLiteral("none.db"));
    EXPECT_EQ(unopenedText(none) + QStringLiteral("Paradox table: there is no such file"), refusalOf(ParadoxFile::read, none));
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

// The damaged tables met in the field, and one case of each other fault the readers check:
// each is refused with the reason at once, before anything is read.
TEST(ExternalTables, DamagedTablesAreRefusedAtOnceWithTheirFault)
{
    QTemporaryDir folder;
    const QByteArray oneRecord = paradoxBytes(folder.path(), 1);
    const QByteArray twoBlocks = paradoxBytes(folder.path(), 100);
    const QByteArray dbf = bytesOf(makeDbf(folder.path()));
    const struct {
        const char* what;
        Reader read;
        const QByteArray& good;
        std::function<void(QByteArray&)> damage;
        const char* reason;
    } cases[] = {
        {"a 129-byte Paradox table whose fields outgrow its records", ParadoxFile::read, oneRecord,
         [](QByteArray& b) { put16(b, 0, 17); b.truncate(129); }, "Paradox table: a header of 2048 bytes and 1 blocks of 2048 bytes do not fit its 129 bytes"},
        {"a 1,980-byte Paradox table", ParadoxFile::read, twoBlocks, [](QByteArray& b) { b.truncate(1980); },
         "do not fit its 1980 bytes"},
        {"fields outgrowing the records", ParadoxFile::read, oneRecord, [](QByteArray& b) { put16(b, 0, 17); },
         "its fields do not make up its records of 17 bytes"},
        {"a number field of one byte", ParadoxFile::read, oneRecord,
         [](QByteArray& b) { put16(b, 0, 28); b[0x78 + 2 * 3 + 1] = 1; }, "its fields do not make up its records of 28 bytes"},
        {"a chain of blocks that loops", ParadoxFile::read, twoBlocks, [](QByteArray& b) { put16(b, 4096, 1); },
         "leads to block 1 of 2 twice or past the end"},
        {"a chain of blocks leaving the file", ParadoxFile::read, twoBlocks, [](QByteArray& b) { put16(b, 2048, 9); },
         "leads to block 9 of 2 twice or past the end"},
        {"more records claimed than the blocks hold", ParadoxFile::read, twoBlocks,
         [](QByteArray& b) { put32(b, 6, 4997143); }, "its header claims 4997143 records, its data blocks hold 100"},
        {"a block claiming more records than it holds", ParadoxFile::read, twoBlocks,
         [](QByteArray& b) { put16(b, 2048 + 4, 0x7FF8); }, "block 1 claims"},
        {"an index file", ParadoxFile::read, oneRecord, [](QByteArray& b) { b[4] = 1; }, "it is no data table (file type 1)"},
        {"an encrypted table", ParadoxFile::read, twoBlocks, [](QByteArray& b) { b[0x5C] = 1; }, "it is encrypted"},
        {"an encrypted table with its first mark set", ParadoxFile::read, twoBlocks,
         [](QByteArray& b) { put32(b, 0x25, 0x1234); }, "it is encrypted"},
        {"a version the format does not have", ParadoxFile::read, oneRecord, [](QByteArray& b) { b[0x39] = 13; },
         "its version number 13 is none of the format's"},
        {"a version before the format's first", ParadoxFile::read, oneRecord, [](QByteArray& b) { b[0x39] = 2; },
         "its version number 2 is none of the format's"},
        {"a 676-byte dBase table claiming 4,997,143 records", DbfFile::read, dbf,
         [](QByteArray& b) { b.append(676 - b.size(), ' '); put32(b, 4, 4997143); },
         "dBase table: a header of 225 bytes and 4997143 records of 80 bytes do not fit its 676 bytes"},
        {"dBase fields outgrowing the records", DbfFile::read, dbf, [](QByteArray& b) { put16(b, 10, 20); },
         "its fields do not fit its header or records"},
        {"a dBase header past the end", DbfFile::read, dbf, [](QByteArray& b) { put16(b, 8, 0xFFFF); },
         "a header of 65535 bytes and 3 records"},
        {"a dBase file shorter than a header", DbfFile::read, dbf, [](QByteArray& b) { b.truncate(20); },
         "32 bytes at offset 0 lie past its end (20 bytes)"},
        {"a dBase header without the end of its field list", DbfFile::read, dbf, [](QByteArray& b) { put16(b, 8, 32); },
         "dBase table: a header of 32 bytes with records of 80 bytes"},
    };
    InputDeadline deadline(std::chrono::seconds(1)); // a reader that hangs stops the program
    for (const auto& c : cases) {
        const QString path = folder.filePath(c.read == DbfFile::read ? QStringLiteral("bad.dbf") : QStringLiteral("bad.db"));
        QByteArray bytes = c.good;
        c.damage(bytes);
        writeBytes(path, bytes);
        QElapsedTimer took;
        took.start();
        deadline.start(c.what);
        try {
            c.read(path);
            ADD_FAILURE() << c.what << " was read";
        } catch (const lb::FileOpenError& e) {
            EXPECT_TRUE(e.message().startsWith(damagedText(path))) << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.reason))) << c.what << ": " << e.message().toStdString();
        }
        deadline.stop();
        EXPECT_LT(took.elapsed(), 500) << c.what;
    }
}

// Random damage to both kinds of table: every file is either read or refused within a second;
// nothing reads past its buffers, hangs or allocates without bound (the sanitizer build would
// stop it). Enough of the damaged files are read for the rounds to reach the libraries.
TEST(ExternalTables, RandomlyDamagedTablesAreReadOrRefused)
{
    QTemporaryDir folder;
    const int rounds = fuzzRounds(600);
    std::mt19937 random(1113);
    InputDeadline deadline(std::chrono::seconds(1));
    const struct {
        Reader read;
        QByteArray good;
        QString path;
    } readers[] = {
        {ParadoxFile::read, paradoxBytes(folder.path(), 70), folder.filePath(QStringLiteral("fuzz.db"))},
        {DbfFile::read, bytesOf(makeDbf(folder.path())), folder.filePath(QStringLiteral("fuzz.dbf"))},
    };
    for (const auto& reader : readers) {
        int refused = 0;
        for (int round = 0; round < rounds; ++round) {
            QByteArray bytes = reader.good;
            damageRandomly(bytes, random);
            writeBytes(reader.path, bytes);
            deadline.start(QStringLiteral("Round %1 of %2").arg(round).arg(reader.path).toStdString());
            try {
                reader.read(reader.path);
            } catch (const lb::Error&) {
                ++refused;
            }
            deadline.stop();
        }
        EXPECT_GT(refused, rounds / 10) << reader.path.toStdString();
        EXPECT_GT(rounds - refused, rounds / 10) << reader.path.toStdString();
    }
}
