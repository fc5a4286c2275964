// Tests of the checked copies of the database file: a copy the disk garbled is refused, a
// replacement whose last step fails is not done, and work done with the connection closed gives
// the books back open, also when it fails.
#include "CoreFixture.h"

#include "core/DatabaseFiles.h"
#include "platform/sys/DurableFile.h"
#include "support/GarblingDisk.h"
#include "support/UnflushableFolder.h"
#include "support/WriteProtect.h"

#include <QDir>

#include <optional>
#include <unistd.h>

using lb::core::DatabaseFiles;

namespace {

using Garbled = GarblingDisk::Garbled;

class DatabaseFilesTest : public CoreFixture {
protected:
    // The folder of a second disk, and the path of a sound backup of the books written on it.
    QString usb() const { return folder.filePath(QStringLiteral("usb")); }
    QString backUpOnUsb()
    {
        const QString backup = usb() + QStringLiteral("/kvdb.mdb");
        EXPECT_TRUE(QDir().mkpath(usb()));
        const lb::FileResult saved = DatabaseFiles::backUp(lb::AppPaths::databaseFile(), backup);
        EXPECT_TRUE(saved.ok()) << saved.failure().text().toStdString();
        return backup;
    }

    static QByteArray bytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

} // namespace

TEST_F(DatabaseFilesTest, ABackupThatDiffersFromItsSourceIsRefused)
{
    const QString target = backUpOnUsb();
    EXPECT_TRUE(lb::DurableFile::sameContents(lb::AppPaths::databaseFile(), target));
    const QByteArray earlier = bytes(target);

    GarblingDisk disk(usb());
    const lb::FileResult saved = DatabaseFiles::backUp(lb::AppPaths::databaseFile(), target);
    ASSERT_FALSE(saved.ok());
    EXPECT_EQ(QStringLiteral("The copy %1 differs from %2").arg(target, lb::AppPaths::databaseFile()), saved.failure().text());
    // The garbled copy never took the place of the earlier one.
    EXPECT_EQ(earlier, bytes(target));
    EXPECT_EQ(QStringList{QStringLiteral("kvdb.mdb")}, QDir(usb()).entryList(QDir::Files | QDir::Hidden));
}

// A restore checks the copy that is to replace the books, not the backup it came from: a copy
// the disk garbled on its way there leaves the books as they were.
TEST_F(DatabaseFilesTest, ARestoreChecksTheCopyThatWouldReplaceTheBooks)
{
    const QString backup = backUpOnUsb();
    makeProduct(QStringLiteral("P2"), QStringLiteral("梨"));
    db().close();
    const QByteArray books = bytes(lb::AppPaths::databaseFile());
    {
        GarblingDisk disk(lb::AppPaths::worksFolder(), Garbled::Start);
        EXPECT_FALSE(DatabaseFiles::replace(backup, lb::AppPaths::databaseFile()).ok());
    }
    EXPECT_EQ(books, bytes(lb::AppPaths::databaseFile()));
    EXPECT_EQ(QStringList{QStringLiteral("kvdb.mdb")}, QDir(lb::AppPaths::worksFolder()).entryList(QDir::Files | QDir::Hidden));
}

// The books a restore keeps as kvdb.mdb.prev are a copy like any other: read back before it
// takes its place. One the disk garbled stops the restore, the books and the last .prev as they were.
TEST_F(DatabaseFilesTest, ARestoreReadsBackTheCopyItKeepsOfTheBooks)
{
    const QString backup = backUpOnUsb();
    makeProduct(QStringLiteral("P2"), QStringLiteral("梨"));
    db().close();
    const QString database = lb::AppPaths::databaseFile();
    const QString previous = database + QStringLiteral(".prev");
    ASSERT_TRUE(QFile::copy(backup, previous));
    const QByteArray books = bytes(database);
    const QByteArray kept = bytes(previous);
    lb::FileResult replaced;
    {
        GarblingDisk disk(lb::AppPaths::worksFolder(), Garbled::LastByte, 1); // the copy to be checked in full comes first
        replaced = DatabaseFiles::replace(backup, database);
    }
    ASSERT_FALSE(replaced.ok());
    EXPECT_EQ(QStringLiteral("The copy %1 differs from %2").arg(previous, database), replaced.failure().text());
    EXPECT_EQ(books, bytes(database));
    EXPECT_EQ(kept, bytes(previous));
    EXPECT_EQ((QStringList{"kvdb.mdb", "kvdb.mdb.prev"}), QDir(lb::AppPaths::worksFolder()).entryList(QDir::Files | QDir::Hidden));
}

namespace {

// The last step of a restore or a front-desk copy that fails, once the copy that is to replace
// the books was written and checked and the old books kept as .prev: the flush of the books'
// folder after the rename (the disk full by then), or the rename itself (the books may not be
// replaced). `cause` is what the user is told, before the folder.
struct LastStep {
    const char* name;
    bool renamed;
    const char* cause;
};

void PrintTo(const LastStep& step, std::ostream* os) { *os << step.name; }

class ReplacementFailingAtItsLastStep : public DatabaseFilesTest, public ::testing::WithParamInterface<LastStep> {};

} // namespace

TEST_P(ReplacementFailingAtItsLastStep, IsNotDoneAndSaysWhy)
{
    const LastStep& step = GetParam();
    const QString backup = backUpOnUsb();
    makeProduct(QStringLiteral("P2"), QStringLiteral("梨"));
    db().close();
    const QString database = lb::AppPaths::databaseFile();
    const QString works = lb::AppPaths::worksFolder();
    const QByteArray books = bytes(database);
    lb::FileResult replaced;
    {
        std::optional<UnflushableFolder> disk;
        std::optional<WriteProtect> locked;
        if (step.renamed) {
            disk.emplace(works, ENOSPC, UnflushableFolder::Flushes::OfTheFolder, 1); // the flush after .prev is in place
        } else {
            if (::geteuid() != 0)
                GTEST_SKIP() << "only an administrator can mark the books as a file that cannot be replaced";
            locked.emplace(database);
            if (!locked->ok())
                GTEST_SKIP() << "files cannot be marked immutable here: nothing keeps the books from being replaced";
        }
        replaced = DatabaseFiles::replace(backup, database);
    }
    ASSERT_FALSE(replaced.ok());
    EXPECT_EQ((QString::fromUtf8(step.cause) + QDir::toNativeSeparators(works)).toStdString(), replaced.failure().text().toStdString());
    EXPECT_EQ(step.renamed ? bytes(backup) : books, bytes(database));
    EXPECT_EQ(books, bytes(database + QStringLiteral(".prev")));
    EXPECT_EQ((QStringList{"kvdb.mdb", "kvdb.mdb.prev"}), QDir(works).entryList(QDir::Files | QDir::Hidden));
}

INSTANTIATE_TEST_SUITE_P(Steps, ReplacementFailingAtItsLastStep,
                         ::testing::Values(LastStep{"FolderFlush", true, "磁盘已满,不能写入文件夹: "},
                                           LastStep{"Rename", false, "没有写入权限,不能写入文件夹: "}),
                         [](const ::testing::TestParamInfo<LastStep>& info) { return std::string(info.param.name); });

TEST_F(DatabaseFilesTest, WorkWhileDisconnectedGivesTheBooksBackOpenAlsoWhenItFails)
{
    for (const bool fails : {false, true}) {
        dm().ATcompany->open();
        bool disconnected = false;
        const auto work = [&] {
            disconnected = !db().connected() && !dm().ATcompany->active();
            if (fails)
                throw lb::FileOpenError(QStringLiteral("the copy failed"));
        };
        if (fails)
            EXPECT_THROW(DatabaseFiles::whileDisconnected(dm(), work), lb::FileOpenError);
        else
            DatabaseFiles::whileDisconnected(dm(), work);
        EXPECT_TRUE(disconnected);
        EXPECT_TRUE(db().connected()) << fails;
        EXPECT_TRUE(dm().ATcompany->active()) << fails;
        EXPECT_EQ(1, scalar(QStringLiteral("select count(*) from company")).toInt()) << fails;
    }
}
