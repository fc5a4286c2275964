// What killed copies and compactions leave: found by name, removed from the books' folders only,
// never a journal that still belongs to its database.
#include "core/Leftovers.h"

#include "platform/sys/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using lb::core::Leftovers;

namespace {

class LeftoversTest : public ::testing::Test {
protected:
    void SetUp() override { lb::AppPaths::setProgramFolder(root.path()); }
    void TearDown() override { lb::AppPaths::setProgramFolder(QString()); }

    void write(const QString& name)
    {
        const QString file = root.filePath(name);
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("x");
    }
    QStringList files(const QString& folder) const
    {
        return QDir(root.filePath(folder)).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    QTemporaryDir root;
};

} // namespace

TEST_F(LeftoversTest, TemporaryFilesAndJournalsAreLeftoversOtherFilesAreNot)
{
    for (const char* name : {"~cpAbC123", "~SM5x9Kq1", "~SM5x9Kq1-journal", "~kvdbq1w2e3", "kvdb.mdb-journal",
                             "kvdb.mdb-wal", "kvdb.mdb-shm"})
        EXPECT_TRUE(Leftovers::isLeftover(QString::fromLatin1(name))) << name;
    for (const char* name : {"kvdb.mdb", "readme.txt", "journal", "my~cp.txt", "ledgerbox.exe"})
        EXPECT_FALSE(Leftovers::isLeftover(QString::fromLatin1(name))) << name;
}

TEST_F(LeftoversTest, TheBooksFoldersAreClearedAndNothingElse)
{
    const QStringList folders{QStringLiteral("works"), QStringLiteral("BAK"), QStringLiteral("BAK3"),
                              QStringLiteral("LASTBAK"), QStringLiteral("THISYEAR"), QStringLiteral("2025/works")};
    for (const QString& folder : folders) {
        write(folder + QStringLiteral("/kvdb.mdb"));
        write(folder + QStringLiteral("/~cpAbC123"));
        write(folder + QStringLiteral("/~SM5x9Kq1"));
        write(folder + QStringLiteral("/~SM5x9Kq1-journal"));
        write(folder + QStringLiteral("/old.mdb-journal")); // its database is gone
    }
    write(QStringLiteral("works/kvdb.mdb-journal")); // may roll kvdb.mdb back: kept
    write(QStringLiteral("works/note.txt"));
    write(QStringLiteral("BAK7/~cpAbC123"));             // no folder of ours
    write(QStringLiteral("Documents/~SM5x9Kq1"));
    write(QStringLiteral("~cpAbC123"));                  // the data folder itself is not cleared

    EXPECT_EQ(QStringList(), Leftovers::removeFromProgramFolder());
    EXPECT_EQ(QStringList({QStringLiteral("kvdb.mdb"), QStringLiteral("kvdb.mdb-journal"), QStringLiteral("note.txt")}),
              files(QStringLiteral("works")));
    for (const QString& folder : folders.mid(1))
        EXPECT_EQ(QStringList{QStringLiteral("kvdb.mdb")}, files(folder)) << folder.toStdString();
    EXPECT_EQ(QStringList{QStringLiteral("~cpAbC123")}, files(QStringLiteral("BAK7")));
    EXPECT_EQ(QStringList{QStringLiteral("~SM5x9Kq1")}, files(QStringLiteral("Documents")));
    EXPECT_TRUE(QFile::exists(root.filePath(QStringLiteral("~cpAbC123"))));
}
