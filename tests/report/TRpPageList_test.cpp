// The page store: record layout byte for byte, seeking both ways, coded pages, saved files of
// both header layouts, and refusal of damaged files.
#include "report/TRpPageList.h"

#include "platform/gfx/EmfFormat.h"
#include "platform/gfx/EmfWriter.h"
#include "platform/sys/Clock.h"
#include "platform/sys/Errors.h"
#include "report/TRpCompress.h"
#include "support/FullDisk.h"
#include "support/RandomDamage.h"
#include "support/WriteProtect.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <thread>

using namespace lb::report;
using lb::gfx::EmfMetafile;

namespace {

EmfMetafile makePage(int number)
{
    lb::gfx::EmfWriter writer(794, 1123);
    writer.setBkMode(lb::gfx::emf::TRANSPARENT);
    writer.selectObject(writer.createFont(lb::gfx::EmfFont::fromPoints("宋体", 10)));
    writer.rectangle(QRect(QPoint(40, 40), QPoint(754, 1083)));
    for (int line = 0; line < 5; ++line)
        writer.extTextOut(QPoint(60, 60 + 20 * line), 0, QRect(),
                          QStringLiteral("第 %1 页 第 %2 行 销售单").arg(number).arg(line + 1));
    return EmfMetafile::fromBytes(writer.finish());
}

// The text of the first text record, which names the page.
QString firstText(const EmfMetafile& page)
{
    for (const auto& r : page.records()) {
        if (r.type == lb::gfx::emf::EMR_EXTTEXTOUTW)
            return r.text;
    }
    return {};
}

QString pageTitle(int number)
{
    return QStringLiteral("第 %1 页 第 1 行 销售单").arg(number);
}

std::unique_ptr<TRpPageList> makeList(int pages, bool compressed, qint32 memoryLimit = 250000)
{
    auto list = std::make_unique<TRpPageList>();
    list->SetStream(std::make_unique<TRpStream>(memoryLimit));
    list->SetCompression(compressed);
    for (int i = 1; i <= pages; ++i)
        list->AddPage(makePage(i).bytes());
    list->WriteFileHeader();
    return list;
}

qint32 i32(const QByteArray& b, qint64 at)
{
    return qFromLittleEndian<qint32>(b.constData() + at);
}

QByteArray readFile(const QString& name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& name, const QByteArray& bytes)
{
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The same report in the older layout: header fields packed into 124 bytes, every offset 4 less.
QByteArray toOldLayout(const QByteArray& file)
{
    QByteArray header(124, '\0');
    std::memcpy(header.data(), file.constData(), 12);
    std::memcpy(header.data() + 12, file.constData() + 16, 8);
    header[20] = file[24];
    header[21] = file[25];
    QByteArray old = header + file.mid(128);
    qint64 start = 124;
    while (start < old.size()) {
        const qint32 next = i32(old, start + 4) - 4;
        put32(old, start + 4, next);
        put32(old, next - 4, qint32(start));
        start = next;
    }
    return old;
}

class TRpPageListFiles : public ::testing::Test {
protected:
    void SetUp() override { lb::Clock::set(QDateTime(QDate(2026, 3, 1), QTime(18, 0))); }
    void TearDown() override { lb::Clock::reset(); }
    QString path(const char* name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

} // namespace

TEST_F(TRpPageListFiles, OnePageReportByteForByte)
{
    const EmfMetafile page = makePage(1);
    TRpPageList list;
    list.SetStream(std::make_unique<TRpStream>(250000));
    list.AddPage(page.bytes());
    EXPECT_EQ(1, list.PageCount());
    list.SaveToFile(path("one.rpf"));
    const QByteArray file = readFile(path("one.rpf"));
    const qint32 emfSize = qint32(page.bytes().size());
    ASSERT_EQ(128 + 8 + emfSize + 4, file.size());
    EXPECT_EQ(3, qFromLittleEndian<quint16>(file.constData()));
    EXPECT_EQ(40, qFromLittleEndian<quint16>(file.constData() + 2));
    EXPECT_EQ(1, i32(file, 8)) << "page count written with the first page";
    double written;
    const quint64 bits = qFromLittleEndian<quint64>(file.constData() + 16);
    std::memcpy(&written, &bits, sizeof written);
    EXPECT_DOUBLE_EQ(46082.75, written) << "days since 30 December 1899, 18:00 = 0.75";
    EXPECT_EQ(0, file[25]) << "not compressed";
    EXPECT_EQ(1, i32(file, 128)) << "page number";
    EXPECT_EQ(file.size(), i32(file, 132)) << "next: just past the record";
    EXPECT_EQ(page.bytes(), file.mid(136, emfSize));
    EXPECT_EQ(128, i32(file, file.size() - 4)) << "start field: the last 4 bytes hold 128";
    EXPECT_EQ(" EMF", file.mid(176, 4)) << "signature 40 bytes into the page";
}

TEST_F(TRpPageListFiles, CodedPageHoldsItsSizeAndItsCode)
{
    const EmfMetafile page = makePage(1);
    auto list = makeList(1, true);
    list->SaveToFile(path("coded.rpf"));
    const QByteArray file = readFile(path("coded.rpf"));
    EXPECT_EQ(1, file[25]);
    EXPECT_EQ(page.bytes().size(), i32(file, 136));
    QByteArray code;
    {
        TRpCompress coder(&code);
        for (char c : page.bytes())
            coder.Compress(std::uint8_t(c));
    }
    EXPECT_EQ(code, file.mid(140, code.size()));
    EXPECT_EQ(140 + code.size() + 4, file.size());
    EXPECT_LT(file.size(), 128 + page.bytes().size()) << "coding shrinks a page";
    EXPECT_EQ(page.bytes(), list->GetPage(1)->bytes());
}

TEST(TRpPageList, SeeksToAnyPageInBothDirections)
{
    for (const bool compressed : {false, true}) {
        for (const qint32 limit : {250000, 2000}) {
            auto list = makeList(9, compressed, limit);
            EXPECT_EQ(limit == 2000, !list->Stream()->InMemory());
            const int order[] = {1, 9, 1, 5, 2, 8, 8, 3, 9, 7, 6, 4, 1, 2};
            for (int n : order)
                EXPECT_EQ(pageTitle(n), firstText(*list->GetPage(n)))
                    << "page " << n << (compressed ? " coded" : " plain") << " limit " << limit;
            // From the end of the stream, where adding pages leaves it.
            list->Stream()->Seek(0, TRpStream::Origin::End);
            EXPECT_EQ(pageTitle(1), firstText(*list->GetPage(1)));
            list->Stream()->Seek(0, TRpStream::Origin::End);
            EXPECT_EQ(pageTitle(4), firstText(*list->GetPage(4)));
        }
    }
}

TEST(TRpPageList, PageNumbersOutsideTheReportGiveNoPage)
{
    auto list = makeList(3, false);
    EXPECT_FALSE(list->GetPage(0));
    EXPECT_FALSE(list->GetPage(-1));
    EXPECT_FALSE(list->GetPage(4));
    EXPECT_TRUE(list->GetPage(3));
    TRpPageList empty;
    EXPECT_FALSE(empty.GetPage(1));
}

TEST(TRpPageList, CodedPagesDecodeIndependently)
{
    auto list = makeList(2, true);
    // Page 2 first: its code must not depend on the coder state left by page 1.
    EXPECT_EQ(makePage(2).bytes(), list->GetPage(2)->bytes());
    EXPECT_EQ(makePage(1).bytes(), list->GetPage(1)->bytes());
}

TEST(TRpPageList, HeaderRewriteKeepsThePositionAndCount)
{
    TRpPageList list;
    list.SetStream(std::make_unique<TRpStream>(250000));
    list.AddPage(makePage(1).bytes());
    list.AddPage(makePage(2).bytes());
    const qint64 end = list.Stream()->Position();
    list.WriteFileHeader();
    EXPECT_EQ(end, list.Stream()->Position());
    list.AddPage(makePage(3).bytes());
    list.WriteFileHeader();
    list.Stream()->Seek(8, TRpStream::Origin::Begin);
    EXPECT_EQ(3, list.Stream()->ReadInt32());
    list.Stream()->Seek(0, TRpStream::Origin::End);
    EXPECT_EQ(pageTitle(3), firstText(*list.GetPage(3)));
}

TEST(TRpPageList, PageWhoseOffsetsPass32BitsIsRefused)
{
    TRpPageList list;
    list.SetStream(std::make_unique<TRpStream>(0)); // straight into a temporary file
    list.AddPage(makePage(1).bytes());
    // A sparse byte just below 2 GB stands in for the pages of a very long report.
    TRpStream& stream = *list.Stream();
    stream.Seek(0x7FFFFF00, TRpStream::Origin::Begin);
    stream.Write("x", 1);
    EXPECT_THROW(list.AddPage(makePage(2).bytes()), lb::Error);
    EXPECT_EQ(1, list.PageCount());
    EXPECT_EQ(0x7FFFFF01, stream.Size()) << "nothing of the refused page is written";
    EXPECT_EQ(pageTitle(1), firstText(*list.GetPage(1)));
}

// Pages are stored as they are handed over, unread: bytes that are no metafile of the size they
// declare would break the record chain for every later reader.
TEST(TRpPageList, BytesThatAreNoWholeMetafileAreRefused)
{
    TRpPageList list;
    list.SetStream(std::make_unique<TRpStream>(250000));
    list.AddPage(makePage(1).bytes());
    const qint64 size = list.Stream()->Size();
    const QByteArray page = makePage(2).bytes();
    for (const QByteArray& bytes : {QByteArray(), QByteArray(200, 'x'), page.left(page.size() - 4), page + QByteArray(4, '\0')})
        EXPECT_THROW(list.AddPage(bytes), lb::Error) << bytes.size();
    EXPECT_EQ(1, list.PageCount());
    EXPECT_EQ(size, list.Stream()->Size());
    list.AddPage(page);
    EXPECT_EQ(pageTitle(2), firstText(*list.GetPage(2)));
}

// The temporary folder fills up while a page goes out: the record it could take only in part
// goes, the page before it and the saved file stay whole, and the report's own file says so too.
TEST_F(TRpPageListFiles, AFullDiskSaysSoAndLeavesNoHalfPage)
{
    const QByteArray fourth = makePage(4).bytes();
    const qint64 threePages = makeList(3, false)->Stream()->Size();
    // Already in its file, the page's bytes are cut short; still in memory, its move to the
    // file is refused.
    for (const bool inFile : {true, false}) {
        auto list = makeList(3, false, inFile ? 0 : qint32(threePages));
        {
            FullDisk disk(QDir::tempPath(), inFile ? fourth.size() / 2 : 0);
            try {
                list->AddPage(fourth);
                ADD_FAILURE() << "a page the disk had no room for was stored";
            } catch (const lb::Error& e) {
                EXPECT_EQ("临时文件夹已满,不能写入: " + QDir::toNativeSeparators(QDir::tempPath()), e.cause());
            }
        }
        EXPECT_EQ(inFile, !list->Stream()->InMemory());
        EXPECT_EQ(3, list->PageCount());
        EXPECT_EQ(pageTitle(3), firstText(*list->GetPage(3))) << inFile;
        list->SaveToFile(path("three.rpf"));
        TRpPageList loaded;
        loaded.LoadFromFile(path("three.rpf"));
        EXPECT_EQ(3, loaded.PageCount());
        // With room again the page goes in after the last whole one.
        list->AddPage(fourth);
        EXPECT_EQ(pageTitle(4), firstText(*list->GetPage(4)));
        EXPECT_EQ(pageTitle(2), firstText(*list->GetPage(2)));
    }
    // A saved report file on a disk that fills up: the file saved before stays, and the pages
    // are still found, the last and one before it, although the copy stopped inside a record
    // (its first block, 10240 bytes, was read).
    auto list = makeList(12, false);
    ASSERT_GT(list->Stream()->Size(), 10240);
    const QByteArray before = readFile(path("three.rpf"));
    {
        FullDisk disk(dir_.path(), 1000, EDQUOT);
        try {
            list->SaveToFile(path("three.rpf"));
            ADD_FAILURE() << "a report file the disk had no room for was saved";
        } catch (const lb::Error& e) {
            EXPECT_EQ("磁盘配额已用完,不能写入文件夹: " + QDir::toNativeSeparators(dir_.path()), e.cause());
        }
    }
    EXPECT_EQ(before, readFile(path("three.rpf")));
    EXPECT_EQ(makePage(12).bytes(), list->GetPage(12)->bytes());
    EXPECT_EQ(makePage(5).bytes(), list->GetPage(5)->bytes());
}

// A report saved into a folder the user may not write names the folder and why.
TEST_F(TRpPageListFiles, AReportSavedWhereItMayNotBeWrittenNamesTheFolder)
{
    auto list = makeList(2, false);
    const QString locked = path("usb");
    ASSERT_TRUE(QDir().mkpath(locked));
    WriteProtect protect(locked);
    if (!protect.ok())
        GTEST_SKIP() << "this file system lets every folder be written";
    try {
        list->SaveToFile(locked + QStringLiteral("/two.rpf"));
        ADD_FAILURE() << "a report file was saved where nothing may be written";
    } catch (const lb::Error& e) {
        EXPECT_EQ("没有写入权限,不能写入文件夹: " + QDir::toNativeSeparators(locked), e.cause());
    }
}

TEST(TRpPageList, ReaderAndWriterThreadsShareTheList)
{
    TRpPageList list;
    list.SetStream(std::make_unique<TRpStream>(20000));
    list.SetCompression(true);
    std::vector<EmfMetafile> pages;
    for (int i = 1; i <= 30; ++i)
        pages.push_back(makePage(i));
    std::thread writer([&] {
        for (const EmfMetafile& page : pages)
            list.AddPage(page.bytes());
        list.WriteFileHeader();
    });
    int checked = 0;
    while (checked < 30) {
        const int ready = list.PageCount();
        for (int n = ready; n > checked; --n)
            EXPECT_EQ(pageTitle(n), firstText(*list.GetPage(n)));
        checked = ready;
    }
    writer.join();
    EXPECT_EQ(pageTitle(1), firstText(*list.GetPage(1)));
}

TEST_F(TRpPageListFiles, SavedReportsLoadBack)
{
    for (const bool compressed : {false, true}) {
        auto list = makeList(6, compressed);
        list->SaveToFile(path("six.rpf"));
        TRpPageList loaded;
        loaded.LoadFromFile(path("six.rpf"));
        EXPECT_EQ(6, loaded.PageCount());
        EXPECT_EQ(compressed, loaded.Compression());
        EXPECT_EQ(128, loaded.HeaderSize());
        EXPECT_EQ(loaded.Stream()->Size(), loaded.Stream()->Position()) << "positioned at the end";
        for (int n : {6, 1, 4, 2})
            EXPECT_EQ(makePage(n).bytes(), loaded.GetPage(n)->bytes());
        loaded.FreeStream();
        EXPECT_TRUE(QFile::exists(path("six.rpf"))) << "a loaded file stays on disk";
    }
}

TEST_F(TRpPageListFiles, ReportWithoutPagesSavesAndLoads)
{
    TRpPageList list;
    list.SetStream(std::make_unique<TRpStream>(250000));
    list.SaveToFile(path("empty.rpf"));
    EXPECT_EQ(128, readFile(path("empty.rpf")).size());
    TRpPageList loaded;
    loaded.LoadFromFile(path("empty.rpf"));
    EXPECT_EQ(0, loaded.PageCount());
    EXPECT_FALSE(loaded.GetPage(1));
}

TEST_F(TRpPageListFiles, SavedCountCoversPagesAddedAfterTheLastHeaderWrite)
{
    // A run that stops early adds its pages without writing the header again.
    TRpPageList list;
    list.SetStream(std::make_unique<TRpStream>(250000));
    for (int i = 1; i <= 3; ++i)
        list.AddPage(makePage(i).bytes());
    list.SaveToFile(path("stopped.rpf"));
    TRpPageList loaded;
    loaded.LoadFromFile(path("stopped.rpf"));
    EXPECT_EQ(3, loaded.PageCount());
}

TEST_F(TRpPageListFiles, SavingOverTheLoadedFileKeepsBoth)
{
    makeList(4, true)->SaveToFile(path("same.rpf"));
    TRpPageList list;
    list.LoadFromFile(path("same.rpf"));
    list.SaveToFile(path("same.rpf"));
    EXPECT_EQ(pageTitle(3), firstText(*list.GetPage(3)));
    TRpPageList again;
    again.LoadFromFile(path("same.rpf"));
    EXPECT_EQ(4, again.PageCount());
    EXPECT_EQ(pageTitle(4), firstText(*again.GetPage(4)));
}

TEST_F(TRpPageListFiles, OldHeaderFilesLoad)
{
    for (const bool compressed : {false, true}) {
        makeList(3, compressed)->SaveToFile(path("new.rpf"));
        const QByteArray old = toOldLayout(readFile(path("new.rpf")));
        // Plain pages put "EMF" at 173; coded pages do not, and are recognised by their first record.
        EXPECT_EQ(!compressed, old.mid(173, 3) == "EMF");
        writeFile(path("old.rpf"), old);
        TRpPageList loaded;
        loaded.LoadFromFile(path("old.rpf"));
        EXPECT_EQ(124, loaded.HeaderSize());
        EXPECT_EQ(3, loaded.PageCount()) << "count from old offset 8";
        EXPECT_EQ(compressed, loaded.Compression()) << "flag from old offset 21";
        for (int n : {3, 1, 2})
            EXPECT_EQ(makePage(n).bytes(), loaded.GetPage(n)->bytes());
    }
}

TEST_F(TRpPageListFiles, DamagedFilesAreRefusedWithAReason)
{
    makeList(3, false)->SaveToFile(path("good.rpf"));
    const QByteArray good = readFile(path("good.rpf"));
    const qint32 second = i32(good, 132);
    const struct {
        const char* what;
        std::function<void(QByteArray&)> damage;
        const char* reason;
    } cases[] = {
        {"empty file", [](QByteArray& b) { b.clear(); }, "no page record follows the header"},
        {"text file", [](QByteArray& b) { b = QByteArray("not a report").repeated(30); },
         "no page record follows the header"},
        {"page count too high", [](QByteArray& b) { put32(b, 8, 4); }, "page 4 is missing"},
        {"negative page count", [](QByteArray& b) { put32(b, 8, -1); }, "page count -1"},
        {"huge page count", [](QByteArray& b) { put32(b, 8, 0x7FFFFFFF); }, "page count 2147483647"},
        {"page count too low", [](QByteArray& b) { put32(b, 8, 2); }, "bytes follow the last page"},
        {"pages out of order", [second](QByteArray& b) { put32(b, second, 3); },
         "page 3 found where page 2 belongs"},
        {"next offset beyond the file", [second](QByteArray& b) { put32(b, second + 4, 0x7FFFFFF0); },
         "page 2 points outside the file"},
        {"next offset backwards", [second](QByteArray& b) { put32(b, second + 4, 16); },
         "page 2 points outside the file"},
        {"start field broken", [second](QByteArray& b) { put32(b, second - 4, 0); },
         "no page record follows the header"},
        // Only the backward link of a later record is wrong: walking back from it would land
        // anywhere.
        {"start field of page 2 broken", [second](QByteArray& b) { put32(b, i32(b, second + 4) - 4, 128); },
         "page 2 does not link back to its start"},
        {"start field of the last page broken", [](QByteArray& b) { put32(b, int(b.size()) - 4, 128); },
         "page 3 does not link back to its start"},
        {"page size differs from its record", [second](QByteArray& b) { put32(b, second + 8 + 48, 4000); },
         "page 2 has a size of 4000 bytes"},
        {"truncated", [](QByteArray& b) { b.chop(10); }, "page 3 points outside the file"},
        // The chain holds but a record inside page 2's metafile claims more bytes than it has.
        {"metafile record damaged", [second](QByteArray& b) { put32(b, second + 8 + i32(b, second + 12) + 4, 0x7FFFFFF0); },
         "page 2: Invalid metafile"},
        {"compression flag 7", [](QByteArray& b) { b[25] = 7; }, "compression flag 7"},
        {"trailing bytes", [](QByteArray& b) { b.append("xxxx"); }, "4 bytes follow the last page"},
    };
    for (const auto& c : cases) {
        QByteArray bytes = good;
        c.damage(bytes);
        writeFile(path("bad.rpf"), bytes);
        auto list = makeList(2, false);
        try {
            list->LoadFromFile(path("bad.rpf"));
            ADD_FAILURE() << c.what << " was loaded";
        } catch (const lb::Error& e) {
            EXPECT_TRUE(e.message().startsWith("\"" + QDir::toNativeSeparators(path("bad.rpf")) + "\" is not a valid report file: "))
                << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(c.reason)) << c.what << ": " << e.message().toStdString();
        }
        // The pages shown before the failed load are still there.
        EXPECT_EQ(2, list->PageCount());
        EXPECT_EQ(pageTitle(2), firstText(*list->GetPage(2)));
    }
    TRpPageList list;
    EXPECT_THROW(list.LoadFromFile(path("missing.rpf")), lb::FileOpenError);
}

TEST_F(TRpPageListFiles, CodedPageWithImpossibleSizeIsRefused)
{
    makeList(2, true)->SaveToFile(path("coded.rpf"));
    QByteArray bytes = readFile(path("coded.rpf"));
    put32(bytes, 136, 0x7FFFFFFF);
    writeFile(path("bad.rpf"), bytes);
    TRpPageList list;
    EXPECT_THROW(list.LoadFromFile(path("bad.rpf")), lb::Error);
}

// Random damage to saved files: every file is either refused or loads with pages that are
// either read or refused; nothing crashes, hangs or allocates without bound. A fixed seed and
// a fixed number of rounds make every run try the same files (a second or two in all; more
// rounds on demand, see fuzzRounds()).
TEST_F(TRpPageListFiles, RandomlyDamagedFilesNeverCrashTheLoader)
{
    const int kRounds = fuzzRounds(800);
    std::mt19937 random(1206);
    for (const bool compressed : {false, true}) {
        makeList(3, compressed)->SaveToFile(path("good.rpf"));
        const QByteArray good = readFile(path("good.rpf"));
        int refused = 0;
        for (int round = 0; round < kRounds; ++round) {
            QByteArray bytes = good;
            damageRandomly(bytes, random);
            writeFile(path("fuzz.rpf"), bytes);
            TRpPageList list;
            try {
                list.LoadFromFile(path("fuzz.rpf"));
            } catch (const lb::Error&) {
                ++refused;
                continue;
            }
            for (int n = list.PageCount(); n >= 1; --n) {
                try {
                    list.GetPage(n);
                } catch (const lb::Error&) {
                }
            }
        }
        EXPECT_GT(refused, kRounds / 10);
    }
}
