// Tests of the folder copy and the file copy under it: whole trees, replaced files, and failures
// that are reported and change no file of the target.
#include "core/CopyDir.h"
#include "support/FullDisk.h"
#include "support/GarblingDisk.h"
#include "support/UnflushableFolder.h"
#include "support/WriteProtect.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>
#include <unistd.h>

using lb::core::CopyChoice;
using lb::core::CopyDir;
using lb::core::CopyFailure;

namespace {

void write(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QByteArray read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The paths of what a folder copy could not copy.
QStringList paths(const QList<CopyFailure>& failed)
{
    QStringList result;
    for (const CopyFailure& failure : failed)
        result << failure.path;
    return result;
}

// Every file under `folder`, hidden ones too, by its path in the folder, with its bytes.
QMap<QString, QByteArray> files(const QString& folder)
{
    QMap<QString, QByteArray> found;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        found.insert(QDir(folder).relativeFilePath(path), read(path));
    }
    return found;
}

class CopyDirTest : public ::testing::Test {
protected:
    QTemporaryDir root;
    QString src() const { return root.filePath(QStringLiteral("works")); }
    QString dst() const { return root.filePath(QStringLiteral("BAK")); }
};

} // namespace

TEST_F(CopyDirTest, CopiesTheWholeTreeAndReplacesFilesOfTheSameName)
{
    write(src() + "/kvdb.mdb", "new database");
    write(src() + "/sub/deeper/note.txt", "deep");
    QDir().mkpath(src() + "/empty");
    write(dst() + "/kvdb.mdb", "old database, longer than the new one");
    write(dst() + "/stale.txt", "kept");

    const lb::core::CopyResult copied = CopyDir(src(), dst());
    EXPECT_TRUE(copied.ok());
    EXPECT_TRUE(copied.failed().isEmpty());
    EXPECT_EQ(QByteArray("new database"), read(dst() + "/kvdb.mdb"));
    EXPECT_EQ(QByteArray("deep"), read(dst() + "/sub/deeper/note.txt"));
    EXPECT_TRUE(QDir(dst() + "/empty").exists());
    EXPECT_EQ(QByteArray("kept"), read(dst() + "/stale.txt"));
    // No temporary file is left behind.
    EXPECT_EQ(QStringList({"empty", "kvdb.mdb", "stale.txt", "sub"}),
              QDir(dst()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name));
}

TEST_F(CopyDirTest, ReadOnlySubfolderIsCopiedToo)
{
    write(src() + "/locked/data.txt", "locked data");
    QFile::setPermissions(src() + "/locked", QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_TRUE(CopyDir(src(), dst()).ok());
    EXPECT_EQ(QByteArray("locked data"), read(dst() + "/locked/data.txt"));
    QFile::setPermissions(src() + "/locked", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(CopyDirTest, MissingOrEmptySourceIsAFailure)
{
    EXPECT_FALSE(CopyDir(QString(), dst()).ok());
    const lb::core::CopyResult copied = CopyDir(root.filePath(QStringLiteral("nosuch")), dst());
    EXPECT_FALSE(copied.ok());
    EXPECT_EQ(QStringList{root.filePath(QStringLiteral("nosuch"))}, paths(copied.failed()));
    EXPECT_FALSE(QDir(dst()).exists());
}

TEST_F(CopyDirTest, AFolderThatCannotBeMadeIsReportedAndNothingIsCopied)
{
    write(src() + "/a.txt", "a");
    write(src() + "/sub/inner.txt", "i");
    write(src() + "/z.txt", "z");
    write(dst() + "/sub", "a file where the folder is to go");
    const lb::core::CopyResult copied = CopyDir(src(), dst());
    EXPECT_FALSE(copied.ok());
    EXPECT_EQ(QStringList{src() + "/sub"}, paths(copied.failed()));
    EXPECT_EQ((QMap<QString, QByteArray>{{"sub", "a file where the folder is to go"}}), files(dst()));
}

TEST_F(CopyDirTest, ATargetThatCannotBeReplacedIsReported)
{
    // A folder stands where a file is to go: the copy cannot replace it, whoever runs it.
    write(src() + "/kvdb.mdb", "db");
    write(src() + "/other.txt", "o");
    QDir().mkpath(dst() + "/kvdb.mdb/inside");
    const lb::core::CopyResult copied = CopyDir(src(), dst());
    EXPECT_FALSE(copied.ok());
    EXPECT_EQ(QStringList{src() + "/kvdb.mdb"}, paths(copied.failed()));
    EXPECT_EQ(QByteArray("<missing>"), read(dst() + "/other.txt"));
    EXPECT_TRUE(QDir(dst() + "/kvdb.mdb/inside").exists());
}

TEST_F(CopyDirTest, LeftoversAndJournalsAreNotCopiedAndOldJournalsOfACopiedFileGo)
{
    write(src() + "/kvdb.mdb", "database");
    for (const char* name : {"/~SM5x9Kq1", "/~SM5x9Kq1-journal", "/~cpAbC123", "/kvdb.mdb-journal", "/kvdb.mdb-wal"})
        write(src() + name, "leftover");
    // A journal beside the old copy would be played into the new one when it is opened.
    write(dst() + "/kvdb.mdb", "older copy");
    write(dst() + "/kvdb.mdb-journal", "journal of the older copy");

    EXPECT_TRUE(CopyDir(src(), dst()).ok());
    EXPECT_EQ(QStringList{"kvdb.mdb"}, QDir(dst()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    EXPECT_EQ(QByteArray("database"), read(dst() + "/kvdb.mdb"));
}

namespace {

// A copy over an older one whose file `failing` (in the order the copy takes them) cannot be
// copied: the disk has no room for it, or the copier refuses it.
struct FailingFile {
    const char* name;
    QString file;
    bool noRoom;
};

void PrintTo(const FailingFile& c, std::ostream* os) { *os << c.name; }

class CopyDirFailingAFile : public CopyDirTest, public ::testing::WithParamInterface<FailingFile> {};

} // namespace

TEST_P(CopyDirFailingAFile, LeavesEveryTargetFileAsItWasAndNoTemporaryFile)
{
    const FailingFile& c = GetParam();
    for (const char* name : {"a.txt", "b.txt", "c.txt", "sub/d.txt"}) {
        write(src() + "/" + name, QByteArray("new ") + name);
        write(dst() + "/" + name, QByteArray("old ") + name);
    }
    write(dst() + "/kept.txt", "not in the source");
    const QMap<QString, QByteArray> before = files(dst());

    // The files before the failing one in its folder fit on the disk.
    qint64 room = 0;
    for (const QString& name : {QStringLiteral("a.txt"), QStringLiteral("b.txt")})
        if (!c.file.contains(QLatin1Char('/')) && name < c.file)
            room += QFileInfo(src() + "/" + name).size();
    const QString failing = src() + "/" + c.file;
    const lb::core::FileCopier refusing = [&](const QString& source, const QString&) {
        return source == failing ? CopyChoice::refuse(lb::FileFailure::other(QStringLiteral("refused"))) : CopyChoice::copy();
    };
    QList<CopyFailure> failed;
    if (c.noRoom) {
        FullDisk disk(QFileInfo(dst() + "/" + c.file).absolutePath(), room);
        failed = CopyDir(src(), dst()).failed();
    } else {
        failed = CopyDir(src(), dst(), refusing).failed();
    }
    EXPECT_EQ(QStringList{failing}, paths(failed));
    ASSERT_EQ(1, failed.size());
    EXPECT_EQ(c.noRoom ? lb::FileFailure::Cause::NoRoom : lb::FileFailure::Cause::Other, failed[0].failure.cause());
    EXPECT_EQ(before, files(dst()));
}

INSTANTIATE_TEST_SUITE_P(NthFile, CopyDirFailingAFile,
                         ::testing::Values(FailingFile{"FirstNoRoom", "a.txt", true}, FailingFile{"SecondNoRoom", "b.txt", true},
                                           FailingFile{"ThirdNoRoom", "c.txt", true}, FailingFile{"InASubfolderNoRoom", "sub/d.txt", true},
                                           FailingFile{"FirstRefused", "a.txt", false}, FailingFile{"ThirdRefused", "c.txt", false},
                                           FailingFile{"InASubfolderRefused", "sub/d.txt", false}),
                         [](const ::testing::TestParamInfo<FailingFile>& info) { return std::string(info.param.name); });

// What the disk was given is not always what it holds: every copy is read back before the first
// takes its target's place, so that a garbled one changes no file of the target.
TEST_F(CopyDirTest, ACopyTheDiskGarbledIsFoundBeforeAnyTargetIsReplaced)
{
    write(src() + "/a.txt", "new a");
    write(src() + "/sub/b.txt", "new b");
    write(dst() + "/a.txt", "old a");
    write(dst() + "/sub/b.txt", "old b");
    const QMap<QString, QByteArray> before = files(dst());
    lb::core::CopyResult copied;
    {
        GarblingDisk disk(dst() + "/sub");
        copied = CopyDir(src(), dst());
    }
    ASSERT_EQ(1, copied.failed().size());
    EXPECT_EQ(src() + "/sub/b.txt", copied.failed()[0].path);
    EXPECT_EQ(before, files(dst()));
}

namespace {

// What fails once every copy is written and read back beside its target: the flush of the
// target's folder after the renames (the disk full by then), or the rename over the target
// file a.txt (a file that may not be replaced). `cause` is what the user is told, before the
// folder.
struct Rename {
    const char* name;
    bool done;
    const char* cause;
};

void PrintTo(const Rename& rename, std::ostream* os) { *os << rename.name; }

class CopyDirFailingAtTheRenames : public CopyDirTest, public ::testing::WithParamInterface<Rename> {};

} // namespace

TEST_P(CopyDirFailingAtTheRenames, IsNotComplete)
{
    const Rename& rename = GetParam();
    write(src() + "/a.txt", "new a");
    write(src() + "/sub/b.txt", "new b");
    write(dst() + "/a.txt", "old a");
    write(dst() + "/sub/b.txt", "old b");
    lb::core::CopyResult copied;
    {
        std::optional<UnflushableFolder> disk;
        std::optional<WriteProtect> locked;
        if (rename.done) {
            disk.emplace(dst(), ENOSPC);
        } else {
            if (::geteuid() != 0)
                GTEST_SKIP() << "only an administrator can mark a file as one that cannot be replaced";
            locked.emplace(dst() + "/a.txt");
            if (!locked->ok())
                GTEST_SKIP() << "files cannot be marked immutable here: nothing keeps a file from being replaced";
        }
        copied = CopyDir(src(), dst());
    }
    EXPECT_FALSE(copied.ok());
    ASSERT_EQ((src() + "/a.txt").toStdString(), paths(copied.failed()).join(QLatin1Char(' ')).toStdString());
    EXPECT_EQ((QString::fromUtf8(rename.cause) + QDir::toNativeSeparators(dst())).toStdString(),
              copied.failed()[0].failure.text().toStdString());
    EXPECT_EQ(QByteArray(rename.done ? "new a" : "old a"), read(dst() + "/a.txt"));
}

INSTANTIATE_TEST_SUITE_P(Renames, CopyDirFailingAtTheRenames,
                         ::testing::Values(Rename{"FolderFlush", true, "磁盘已满,不能写入文件夹: "},
                                           Rename{"OverTheTarget", false, "没有写入权限,不能写入文件夹: "}),
                         [](const ::testing::TestParamInfo<Rename>& info) { return std::string(info.param.name); });

// A file held back by the copier keeps its target; the rest of the folder is copied.
TEST_F(CopyDirTest, AFileHeldBackKeepsItsTargetWhileTheRestIsCopied)
{
    write(src() + "/a.txt", "new a");
    write(src() + "/b.txt", "new b");
    write(dst() + "/a.txt", "old a");
    write(dst() + "/b.txt", "old b");
    const lb::FileFailure damaged(lb::FileFailure::Cause::Damaged, QStringLiteral("a.txt已损坏"));
    const auto holdingBackA = [&](const QString& source, const QString&) {
        return source.endsWith(QStringLiteral("/a.txt")) ? CopyChoice::holdBack(damaged) : CopyChoice::copy();
    };
    EXPECT_EQ(QList<CopyFailure>{(CopyFailure{src() + "/a.txt", damaged})}, CopyDir(src(), dst(), holdingBackA).failed());
    EXPECT_EQ((QMap<QString, QByteArray>{{"a.txt", "old a"}, {"b.txt", "new b"}}), files(dst()));
}

namespace {

class CopyFileTest : public CopyDirTest {
protected:
    QString path(const QString& name) const { return root.filePath(name); }
    QStringList entries(const QString& name) const
    {
        return QDir(path(name)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
};

} // namespace

TEST_F(CopyFileTest, AFailedCopyKeepsTheTargetAndLeavesNoTemporaryFile)
{
    write(path(QStringLiteral("BAK/kvdb.mdb")), "last good copy");
    const lb::FileResult missing = lb::core::copyFile(path(QStringLiteral("works/none.mdb")), path(QStringLiteral("BAK/kvdb.mdb")));
    ASSERT_FALSE(missing.ok());
    EXPECT_TRUE(missing.failure().text().contains(QStringLiteral("none.mdb"))) << missing.failure().text().toStdString();
    EXPECT_EQ(QByteArray("last good copy"), read(path(QStringLiteral("BAK/kvdb.mdb"))));

    // A folder stands where the file is to go: the rename fails after the data were written.
    write(path(QStringLiteral("works/kvdb.mdb")), "new");
    QDir().mkpath(path(QStringLiteral("BAK/sub.mdb/inside")));
    EXPECT_FALSE(lb::core::copyFile(path(QStringLiteral("works/kvdb.mdb")), path(QStringLiteral("BAK/sub.mdb"))).ok());
    EXPECT_EQ(QStringList({QStringLiteral("kvdb.mdb"), QStringLiteral("sub.mdb")}), entries(QStringLiteral("BAK")));

    // No folder to write in.
    EXPECT_FALSE(lb::core::copyFile(path(QStringLiteral("works/kvdb.mdb")), path(QStringLiteral("nosuch/kvdb.mdb"))).ok());
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("nosuch"))));

    // A copy the disk could not flush.
    {
        UnflushableFolder disk(path(QStringLiteral("BAK")), EIO, UnflushableFolder::Flushes::OfItsFiles);
        EXPECT_FALSE(lb::core::copyFile(path(QStringLiteral("works/kvdb.mdb")), path(QStringLiteral("BAK/kvdb.mdb"))).ok());
    }
    EXPECT_EQ(QByteArray("last good copy"), read(path(QStringLiteral("BAK/kvdb.mdb"))));
    EXPECT_EQ(QStringList({QStringLiteral("kvdb.mdb"), QStringLiteral("sub.mdb")}), entries(QStringLiteral("BAK")));
}

