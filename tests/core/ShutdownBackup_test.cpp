// Tests of the backup at close: byte-identical copies, copy failures reported, and a damaged
// database that never replaces the copies already made.
#include "core/CoreFixture.h"
#include "core/ShutdownBackup.h"

#include <QDir>
#include <QFile>

using lb::core::ShutdownBackup;

namespace {

class ShutdownBackupTest : public CoreFixture {
protected:
    void SetUp() override
    {
        CoreFixture::SetUp();
        makeCustomer(QStringLiteral("0000000001"), QStringLiteral("老客户"));
        db().close(); // the close handler has closed the connection before the backup runs
    }

    QString path(const QString& relative) const { return folder.filePath(relative); }

    // The folders a backup left incomplete.
    static QStringList folders(const QList<ShutdownBackup::Incomplete>& incomplete)
    {
        QStringList result;
        for (const ShutdownBackup::Incomplete& each : incomplete)
            result << each.folder;
        return result;
    }

    static QByteArray bytes(const QString& file)
    {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

    void write(const QString& file, const QByteArray& content)
    {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(file).absolutePath()));
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(content);
    }
};

} // namespace

TEST_F(ShutdownBackupTest, SundayCopiesAreByteIdenticalInBakAndBak0)
{
    lb::Clock::set(QDateTime(QDate(2026, 6, 14), QTime(18, 0))); // a Sunday
    write(path(QStringLiteral("works/readme.txt")), "works note");
    write(path(QStringLiteral("BAK0/kvdb.mdb")), "last Sunday's copy");

    EXPECT_EQ(QStringList(), folders(ShutdownBackup::run()));
    EXPECT_TRUE(dialogs.shown().empty());
    const QByteArray database = bytes(lb::AppPaths::databaseFile());
    ASSERT_FALSE(database.isEmpty());
    for (const QString& copy : {QStringLiteral("BAK"), QStringLiteral("BAK0")}) {
        EXPECT_EQ(database, bytes(path(copy + QStringLiteral("/kvdb.mdb")))) << copy.toStdString();
        EXPECT_EQ(QByteArray("works note"), bytes(path(copy + QStringLiteral("/readme.txt"))));
    }
    for (const char* other : {"BAK1", "BAK2", "BAK3", "BAK4", "BAK5", "BAK6"})
        EXPECT_FALSE(QFile::exists(path(QString::fromLatin1(other)))) << other;

    db().open();
    EXPECT_EQ(QStringLiteral("老客户"), scalar(QStringLiteral("select name from customer")).toString());
}

TEST_F(ShutdownBackupTest, FailedFirstCopyIsReportedThoughTheWeekdayCopySucceeds)
{
    write(path(QStringLiteral("BAK")), "a file where the folder goes");
    const QStringList failed = folders(ShutdownBackup::run()); // Monday 2026-06-15
    EXPECT_EQ(QStringList{path(QStringLiteral("BAK"))}, failed); // the folder, not the books it lacks
    EXPECT_EQ(bytes(lb::AppPaths::databaseFile()), bytes(path(QStringLiteral("BAK1/kvdb.mdb"))));
    // The warning names the folder; the text log also keeps why.
    EXPECT_TRUE(errorLogText().contains(ShutdownBackup::incompleteText() + path(QStringLiteral("BAK"))
                                        + QStringLiteral("\nCannot make the folder ") + path(QStringLiteral("BAK"))))
        << errorLogText().toStdString();
}

TEST_F(ShutdownBackupTest, DamagedDatabaseNeverReplacesTheCopies)
{
    write(path(QStringLiteral("BAK/kvdb.mdb")), "latest sound copy");
    write(path(QStringLiteral("BAK1/kvdb.mdb")), "last Monday's copy");
    QFile file(lb::AppPaths::databaseFile());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(100);
    file.write(QByteArray(8192, '\xAB'));
    file.close();
    const QByteArray damaged = bytes(lb::AppPaths::databaseFile());

    const QString why = ShutdownBackup::booksFailedTheCheck();
    EXPECT_EQ((QList<ShutdownBackup::Incomplete>{{path(QStringLiteral("BAK")), why}, {path(QStringLiteral("BAK1")), why}}),
              ShutdownBackup::run());
    EXPECT_EQ(QStringLiteral("压缩数据库失败\r原因：可能此数据库正在被其他程序打开。"), dialogs.lastText());
    EXPECT_EQ(QByteArray("latest sound copy"), bytes(path(QStringLiteral("BAK/kvdb.mdb"))));
    EXPECT_EQ(QByteArray("last Monday's copy"), bytes(path(QStringLiteral("BAK1/kvdb.mdb"))));
    EXPECT_EQ(damaged, bytes(lb::AppPaths::databaseFile()));
    EXPECT_EQ(QStringList{QStringLiteral("kvdb.mdb")}, QDir(lb::AppPaths::worksFolder()).entryList(QDir::Files));
}

// Index entries that disagree with their rows pass every check but the full one: neither the
// compaction's copy of such books nor the books themselves replace the sound copies.
TEST_F(ShutdownBackupTest, BooksWhoseIndexDisagreesWithTheirRowsReplaceNoCopy)
{
    ASSERT_EQ(QStringList(), folders(ShutdownBackup::run())); // Monday: sound copies in BAK and BAK1
    const QByteArray sound = bytes(path(QStringLiteral("BAK1/kvdb.mdb")));
    makeIndexDisagree(lb::AppPaths::databaseFile());
    const QByteArray disagreeing = bytes(lb::AppPaths::databaseFile());

    EXPECT_EQ((QStringList{path(QStringLiteral("BAK")), path(QStringLiteral("BAK1"))}), folders(ShutdownBackup::run()));
    EXPECT_EQ(QStringLiteral("压缩数据库失败\r原因：可能此数据库正在被其他程序打开。"), dialogs.lastText());
    EXPECT_EQ(sound, bytes(path(QStringLiteral("BAK/kvdb.mdb"))));
    EXPECT_EQ(sound, bytes(path(QStringLiteral("BAK1/kvdb.mdb"))));
    EXPECT_EQ(disagreeing, bytes(lb::AppPaths::databaseFile()));
}

// The books kept from before a restore are copied when they change and pass the check; a damaged
// one never replaces the sound copy of a backup folder, and the backup says which folders lack it.
TEST_F(ShutdownBackupTest, BooksFromBeforeARestoreReplaceACopyOnlyWhenChangedAndSound)
{
    const QString previous = lb::AppPaths::databaseFile() + QStringLiteral(".prev");
    const QByteArray sound = bytes(lb::AppPaths::databaseFile());
    write(previous, sound);
    ASSERT_EQ(QStringList(), folders(ShutdownBackup::run())); // Monday: into BAK and BAK1
    EXPECT_EQ(sound, bytes(path(QStringLiteral("BAK/kvdb.mdb.prev"))));
    EXPECT_EQ(sound, bytes(path(QStringLiteral("BAK1/kvdb.mdb.prev"))));

    const QByteArray damaged = sound.left(4096) + QByteArray(4096, '\xAB');
    write(previous, damaged);
    write(path(QStringLiteral("works/note.txt")), "after the restore");
    EXPECT_EQ((QStringList{path(QStringLiteral("BAK")), path(QStringLiteral("BAK1"))}), folders(ShutdownBackup::run()));
    for (const char* folder : {"BAK", "BAK1"}) {
        EXPECT_EQ(sound, bytes(path(QString::fromLatin1(folder) + QStringLiteral("/kvdb.mdb.prev")))) << folder;
        EXPECT_EQ(QByteArray("after the restore"), bytes(path(QString::fromLatin1(folder) + QStringLiteral("/note.txt"))));
    }

    // A copy already the same is not checked again at every close: the same bytes, whatever they are.
    write(path(QStringLiteral("BAK/kvdb.mdb.prev")), damaged);
    write(path(QStringLiteral("BAK1/kvdb.mdb.prev")), damaged);
    EXPECT_EQ(QStringList(), folders(ShutdownBackup::run()));
}

// Books from before a restore whose index disagrees with their rows pass every check but the
// full one: they never replace the sound copy, and the backup is not complete for either folder.
TEST_F(ShutdownBackupTest, BooksFromBeforeARestoreWhoseIndexDisagreesReplaceNoCopy)
{
    const QString previous = lb::AppPaths::databaseFile() + QStringLiteral(".prev");
    ASSERT_TRUE(QFile::copy(lb::AppPaths::databaseFile(), previous));
    ASSERT_TRUE(ShutdownBackup::run().isEmpty()); // Monday: into BAK and BAK1
    const QByteArray sound = bytes(previous);
    makeIndexDisagree(previous);

    const QString why = damagedPrevious();
    EXPECT_EQ((QList<ShutdownBackup::Incomplete>{{path(QStringLiteral("BAK")), why}, {path(QStringLiteral("BAK1")), why}}),
              ShutdownBackup::run());
    EXPECT_EQ(sound, bytes(path(QStringLiteral("BAK/kvdb.mdb.prev"))));
    EXPECT_EQ(sound, bytes(path(QStringLiteral("BAK1/kvdb.mdb.prev"))));
}
