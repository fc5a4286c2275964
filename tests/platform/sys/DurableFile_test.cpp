// Durable file copies and renames: complete or not at all, and failures that name their cause.
#include "platform/sys/DurableFile.h"

#include "support/UnflushableFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>

using lb::DurableFile;

namespace {

class DurableFileTest : public ::testing::Test {
protected:
    QTemporaryDir root;
    QString path(const QString& name) const { return root.filePath(name); }

    void write(const QString& name, const QByteArray& content)
    {
        QDir().mkpath(QFileInfo(path(name)).absolutePath());
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }
    QByteArray read(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QStringList entries(const QString& name) const
    {
        return QDir(path(name)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
};

} // namespace

TEST_F(DurableFileTest, CopyReplacesTheTargetWithTheWholeSourceAndItsPermissions)
{
    QByteArray big(300 * 1024, 'x'); // more than one buffer
    big[123457] = 'y';
    write(QStringLiteral("works/kvdb.mdb"), big);
    QFile::setPermissions(path(QStringLiteral("works/kvdb.mdb")), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    write(QStringLiteral("BAK/kvdb.mdb"), "an older and much longer copy of the database file");

    write(QStringLiteral("BAK/~cp1"), "reserved");
    const lb::FileResult written = DurableFile::writeCopy(path(QStringLiteral("works/kvdb.mdb")), path(QStringLiteral("BAK/~cp1")));
    ASSERT_TRUE(written.ok()) << written.failure().text().toStdString();
    ASSERT_TRUE(DurableFile::replaceFile(path(QStringLiteral("BAK/~cp1")), path(QStringLiteral("BAK/kvdb.mdb"))).ok());
    EXPECT_EQ(big, read(QStringLiteral("BAK/kvdb.mdb")));
    EXPECT_EQ(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup,
              QFile::permissions(path(QStringLiteral("BAK/kvdb.mdb")))
                  & (QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::WriteGroup
                     | QFileDevice::ReadOther));
    EXPECT_EQ(QStringList{QStringLiteral("kvdb.mdb")}, entries(QStringLiteral("BAK")));
}

TEST_F(DurableFileTest, ReplaceRenamesOverTheTargetAndReportsAMissingSource)
{
    write(QStringLiteral("works/~SM1"), "compacted");
    write(QStringLiteral("works/kvdb.mdb"), "before");
    EXPECT_TRUE(DurableFile::replaceFile(path(QStringLiteral("works/~SM1")), path(QStringLiteral("works/kvdb.mdb"))).ok());
    EXPECT_EQ(QByteArray("compacted"), read(QStringLiteral("works/kvdb.mdb")));
    EXPECT_EQ(QStringList{QStringLiteral("kvdb.mdb")}, entries(QStringLiteral("works")));

    const lb::FileResult missing = DurableFile::replaceFile(path(QStringLiteral("works/~SM1")), path(QStringLiteral("works/kvdb.mdb")));
    ASSERT_FALSE(missing.ok());
    EXPECT_TRUE(missing.failure().text().contains(QStringLiteral("~SM1"))) << missing.failure().text().toStdString();
    EXPECT_EQ(QByteArray("compacted"), read(QStringLiteral("works/kvdb.mdb")));
    EXPECT_FALSE(DurableFile::flushFolder(path(QStringLiteral("nosuch"))).ok());
}

// A disk without room met while flushing a folder names that folder, not the one above it: also
// when the folder is flushed to keep a copy's rename over its target.
TEST_F(DurableFileTest, AFullDiskMetWhileFlushingAFolderNamesThatFolder)
{
    write(QStringLiteral("BAK/kvdb.mdb"), "old");
    const QString bak = path(QStringLiteral("BAK"));
    const std::pair<int, QString> causes[] = {{ENOSPC, QStringLiteral("磁盘已满,不能写入文件夹: ")},
                                              {EDQUOT, QStringLiteral("磁盘配额已用完,不能写入文件夹: ")}};
    for (const auto& [code, cause] : causes) {
        write(QStringLiteral("BAK/~cp1"), "new");
        const UnflushableFolder disk(bak, code);
        const lb::FileFailure noRoom(lb::FileFailure::Cause::NoRoom, cause + QDir::toNativeSeparators(bak));
        const lb::FileResult flushed = DurableFile::flushFolder(bak);
        ASSERT_FALSE(flushed.ok());
        EXPECT_EQ(noRoom.text(), flushed.failure().text());
        EXPECT_EQ(noRoom.cause(), flushed.failure().cause());
        EXPECT_TRUE(flushed.failure().words().startsWith(QStringLiteral("Cannot flush ") + bak)) << flushed.failure().words().toStdString();
        const lb::FileResult replaced = DurableFile::replaceFile(path(QStringLiteral("BAK/~cp1")), path(QStringLiteral("BAK/kvdb.mdb")));
        ASSERT_FALSE(replaced.ok());
        EXPECT_EQ(noRoom.text(), replaced.failure().text());
    }
}

// A copy the disk could not flush may be lost at a power cut: it is refused, never renamed over
// its target, whichever step met the failed flush.
TEST_F(DurableFileTest, ACopyWhoseFlushFailsIsRefusedAndNeverRenamed)
{
    write(QStringLiteral("works/kvdb.mdb"), "new books");
    write(QStringLiteral("BAK/kvdb.mdb"), "last good copy");
    write(QStringLiteral("BAK/~cp1"), "reserved");
    const QString shown = QStringLiteral("磁盘已满,不能写入文件夹: ") + QDir::toNativeSeparators(QFileInfo(path(QStringLiteral("BAK"))).canonicalFilePath());
    {
        UnflushableFolder disk(path(QStringLiteral("BAK")), ENOSPC, UnflushableFolder::Flushes::OfItsFiles);
        const lb::FileResult written = DurableFile::writeCopy(path(QStringLiteral("works/kvdb.mdb")), path(QStringLiteral("BAK/~cp1")));
        ASSERT_FALSE(written.ok());
        EXPECT_EQ(shown, written.failure().text());

        // Written by a writer that flushes nothing itself: the rename flushes it first.
        write(QStringLiteral("BAK/~cp1"), "new books");
        const lb::FileResult replaced = DurableFile::replaceFile(path(QStringLiteral("BAK/~cp1")), path(QStringLiteral("BAK/kvdb.mdb")));
        ASSERT_FALSE(replaced.ok());
        EXPECT_EQ(shown, replaced.failure().text());
    }
    EXPECT_EQ(QByteArray("last good copy"), read(QStringLiteral("BAK/kvdb.mdb")));
    EXPECT_EQ((QStringList{QStringLiteral("kvdb.mdb"), QStringLiteral("~cp1")}), entries(QStringLiteral("BAK")));
}
