// Durable file copies and renames: complete or not at all, and nothing left behind on failure.
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

    QString error;
    EXPECT_TRUE(DurableFile::copyFile(path(QStringLiteral("works/kvdb.mdb")), path(QStringLiteral("BAK/kvdb.mdb")), &error))
        << error.toStdString();
    EXPECT_EQ(big, read(QStringLiteral("BAK/kvdb.mdb")));
    EXPECT_EQ(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup,
              QFile::permissions(path(QStringLiteral("BAK/kvdb.mdb")))
                  & (QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::WriteGroup
                     | QFileDevice::ReadOther));
    EXPECT_EQ(QStringList{QStringLiteral("kvdb.mdb")}, entries(QStringLiteral("BAK")));
}

TEST_F(DurableFileTest, AFailedCopyKeepsTheTargetAndLeavesNoTemporaryFile)
{
    write(QStringLiteral("BAK/kvdb.mdb"), "last good copy");
    QString error;
    EXPECT_FALSE(DurableFile::copyFile(path(QStringLiteral("works/none.mdb")), path(QStringLiteral("BAK/kvdb.mdb")), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("none.mdb"))) << error.toStdString();
    EXPECT_EQ(QByteArray("last good copy"), read(QStringLiteral("BAK/kvdb.mdb")));

    // A folder stands where the file is to go: the rename fails after the data were written.
    write(QStringLiteral("works/kvdb.mdb"), "new");
    QDir().mkpath(path(QStringLiteral("BAK/sub.mdb/inside")));
    EXPECT_FALSE(DurableFile::copyFile(path(QStringLiteral("works/kvdb.mdb")), path(QStringLiteral("BAK/sub.mdb")), &error));
    EXPECT_EQ(QStringList({QStringLiteral("kvdb.mdb"), QStringLiteral("sub.mdb")}), entries(QStringLiteral("BAK")));

    // No folder to write in.
    EXPECT_FALSE(DurableFile::copyFile(path(QStringLiteral("works/kvdb.mdb")), path(QStringLiteral("nosuch/kvdb.mdb")), &error));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("nosuch"))));
}

TEST_F(DurableFileTest, ReplaceRenamesOverTheTargetAndReportsAMissingSource)
{
    write(QStringLiteral("works/~SM1"), "compacted");
    write(QStringLiteral("works/kvdb.mdb"), "before");
    QString error;
    EXPECT_TRUE(DurableFile::replaceFile(path(QStringLiteral("works/~SM1")), path(QStringLiteral("works/kvdb.mdb")), &error));
    EXPECT_EQ(QByteArray("compacted"), read(QStringLiteral("works/kvdb.mdb")));
    EXPECT_EQ(QStringList{QStringLiteral("kvdb.mdb")}, entries(QStringLiteral("works")));

    EXPECT_FALSE(DurableFile::replaceFile(path(QStringLiteral("works/~SM1")), path(QStringLiteral("works/kvdb.mdb")), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("~SM1"))) << error.toStdString();
    EXPECT_EQ(QByteArray("compacted"), read(QStringLiteral("works/kvdb.mdb")));
    EXPECT_FALSE(DurableFile::flushFolder(path(QStringLiteral("nosuch"))));
}

// A disk without room met while flushing a folder names that folder, not the one above it: also
// when the folder is flushed to keep a copy's rename.
TEST_F(DurableFileTest, AFullDiskMetWhileFlushingAFolderNamesThatFolder)
{
    write(QStringLiteral("works/kvdb.mdb"), "new");
    write(QStringLiteral("BAK/kvdb.mdb"), "old");
    const QString bak = path(QStringLiteral("BAK"));
    const std::pair<int, QString> causes[] = {{ENOSPC, QStringLiteral("磁盘已满,不能写入文件夹: ")},
                                              {EDQUOT, QStringLiteral("磁盘配额已用完,不能写入文件夹: ")}};
    for (const auto& [code, cause] : causes) {
        const UnflushableFolder disk(bak, code);
        QString error;
        EXPECT_FALSE(DurableFile::flushFolder(bak, &error));
        EXPECT_EQ((cause + QDir::toNativeSeparators(bak)).toStdString(), error.toStdString());
        error.clear();
        EXPECT_FALSE(DurableFile::copyFile(path(QStringLiteral("works/kvdb.mdb")), path(QStringLiteral("BAK/kvdb.mdb")), &error));
        EXPECT_EQ((cause + QDir::toNativeSeparators(bak)).toStdString(), error.toStdString());
    }
}
