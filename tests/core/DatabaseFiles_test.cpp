// Tests of the checked copies of the database file: a copy the disk garbled is refused, and work
// done with the connection closed gives the books back open, also when it fails.
#include "CoreFixture.h"

#include "core/DatabaseFiles.h"
#include "platform/sys/DurableFile.h"

#include <QDir>
#include <atomic>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

using lb::core::DatabaseFiles;

namespace {

// The folder whose files the disk garbles; none when empty.
std::atomic<const char*> garbledFolder{nullptr};

// What the disk garbles: the file's last byte, or its first sixteen, where a database file
// says what it is.
enum class Garbled { LastByte, Start };
std::atomic<Garbled> garbled{Garbled::LastByte};
// How many of the next files flushed in the folder are still left as they were written.
std::atomic<int> spared{0};

// Garbles every file written in `folder` while it lives, the first `spare` of them excepted, as
// a failing disk or cable would: the copy is written and flushed without an error, and holds
// other bytes than it was given.
class GarblingDisk {
public:
    explicit GarblingDisk(const QString& folder, Garbled what = Garbled::LastByte, int spare = 0)
        : folder_(QFile::encodeName(folder) + '/')
    {
        garbled = what;
        spared = spare;
        garbledFolder = folder_.constData();
    }
    ~GarblingDisk() { garbledFolder = nullptr; }
    GarblingDisk(const GarblingDisk&) = delete;
    GarblingDisk& operator=(const GarblingDisk&) = delete;

private:
    QByteArray folder_;
};

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

// Stands in for the C library's fsync() in this test program: a regular file open for writing in
// the garbled folder has its last byte or its start changed just before it is flushed.
// Everything else is flushed as the C library would.
extern "C" int fsync(int fd)
{
    const char* folder = garbledFolder;
    struct stat info {};
    if (folder && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0
        && (::fcntl(fd, F_GETFL) & O_ACCMODE) != O_RDONLY) {
        char path[PATH_MAX] = {};
        const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
        if (::readlink(link.constData(), path, sizeof path - 1) > 0 && std::strncmp(path, folder, std::strlen(folder)) == 0
            && spared-- <= 0) {
            char last = 0;
            if (garbled == Garbled::Start) {
                const char blank[16] = {};
                if (info.st_size >= 16 && ::pwrite(fd, blank, sizeof blank, 0) != sizeof blank)
                    return -1;
            } else if (::pread(fd, &last, 1, info.st_size - 1) == 1) {
                last = char(~last);
                if (::pwrite(fd, &last, 1, info.st_size - 1) != 1)
                    return -1;
            }
        }
    }
    return int(::syscall(SYS_fsync, fd));
}

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
