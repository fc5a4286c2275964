// Tests of the folder copy: whole trees, replaced files, and failures that are reported.
#include "core/CopyDir.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

    QList<CopyFailure> failed;
    EXPECT_TRUE(CopyDir(src(), dst(), &failed));
    EXPECT_TRUE(failed.isEmpty());
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
    EXPECT_TRUE(CopyDir(src(), dst()));
    EXPECT_EQ(QByteArray("locked data"), read(dst() + "/locked/data.txt"));
    QFile::setPermissions(src() + "/locked", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(CopyDirTest, MissingOrEmptySourceIsAFailure)
{
    EXPECT_FALSE(CopyDir(QString(), dst()));
    QList<CopyFailure> failed;
    EXPECT_FALSE(CopyDir(root.filePath(QStringLiteral("nosuch")), dst(), &failed));
    EXPECT_EQ(QStringList{root.filePath(QStringLiteral("nosuch"))}, paths(failed));
    EXPECT_FALSE(QDir(dst()).exists());
}

TEST_F(CopyDirTest, AFolderThatCannotBeMadeIsReportedAndTheRestIsCopied)
{
    write(src() + "/a.txt", "a");
    write(src() + "/sub/inner.txt", "i");
    write(src() + "/z.txt", "z");
    write(dst() + "/sub", "a file where the folder is to go");
    QList<CopyFailure> failed;
    EXPECT_FALSE(CopyDir(src(), dst(), &failed));
    EXPECT_EQ(QStringList{src() + "/sub"}, paths(failed));
    EXPECT_EQ(QByteArray("a"), read(dst() + "/a.txt"));
    EXPECT_EQ(QByteArray("z"), read(dst() + "/z.txt"));
}

TEST_F(CopyDirTest, ATargetThatCannotBeReplacedIsReported)
{
    // A folder stands where a file is to go: the copy cannot replace it, whoever runs it.
    write(src() + "/kvdb.mdb", "db");
    write(src() + "/other.txt", "o");
    QDir().mkpath(dst() + "/kvdb.mdb/inside");
    QList<CopyFailure> failed;
    EXPECT_FALSE(CopyDir(src(), dst(), &failed));
    EXPECT_EQ(QStringList{src() + "/kvdb.mdb"}, paths(failed));
    EXPECT_EQ(QByteArray("o"), read(dst() + "/other.txt"));
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

    EXPECT_TRUE(CopyDir(src(), dst()));
    EXPECT_EQ(QStringList{"kvdb.mdb"}, QDir(dst()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    EXPECT_EQ(QByteArray("database"), read(dst() + "/kvdb.mdb"));
}
