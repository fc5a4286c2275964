// Tests of the compaction: the data survive and the file shrinks; a failure keeps the file.
#include "core/CompactDatabase.h"
#include "core/CoreFixture.h"
#include "core/ErrorLog.h"
#include "support/Unprivileged.h"

#include <QFile>
#include <sys/stat.h>

using lb::core::CompactDatabase;

namespace {

// Whose compaction it is, as the log names it: the compaction window's.
const lb::core::Reporter packWindow(QStringLiteral("Tfrpack"));

ino_t inode(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

class Compaction : public CoreFixture {
protected:
    QByteArray fileBytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

} // namespace

TEST_F(Compaction, CompactedCopyReplacesTheFileWithItsData)
{
    for (int i = 0; i < 300; ++i)
        makeProduct(QStringLiteral("%1").arg(i), QString(200, QChar(u'货')));
    exec(QStringLiteral("delete from product where sphh<>'7'"));
    db().close();
    const QString path = lb::AppPaths::databaseFile();
    const qint64 before = QFileInfo(path).size();

    EXPECT_TRUE(CompactDatabase(path, packWindow));
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_LT(QFileInfo(path).size(), before);
    EXPECT_EQ(QStringList{QStringLiteral("kvdb.mdb")}, QDir(lb::AppPaths::worksFolder()).entryList(QDir::Files));
    db().open();
    EXPECT_EQ(1, scalar(QStringLiteral("select count(*) from product")).toInt());
    EXPECT_EQ(QStringLiteral("7"), scalar(QStringLiteral("select sphh from product")).toString());
}

// What each check finds: the quick one every damaged page; the full one also index entries
// that disagree with their rows, which a compacted copy carries over from the books as they are.
TEST_F(Compaction, EachCheckFindsWhatItIsFor)
{
    makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"));
    makeProduct(QStringLiteral("B01"), QStringLiteral("大米"));
    const QString path = lb::AppPaths::databaseFile();
    const QString sound = path + QStringLiteral(".sound");
    const QString disagreeing = path + QStringLiteral(".index");
    ASSERT_TRUE(QFile::copy(path, sound) && QFile::copy(path, disagreeing));
    makeIndexDisagree(disagreeing);
    damageTable(QStringLiteral("product"));
    db().close();
    using lb::core::DatabaseCheck;
    using lb::core::checkDatabaseFile;
    EXPECT_NO_THROW(checkDatabaseFile(sound, DatabaseCheck::Full));
    EXPECT_NO_THROW(checkDatabaseFile(sound, DatabaseCheck::Pages));
    EXPECT_THROW(checkDatabaseFile(disagreeing, DatabaseCheck::Full), lb::DatabaseError);
    EXPECT_NO_THROW(checkDatabaseFile(disagreeing, DatabaseCheck::Pages));
    EXPECT_THROW(checkDatabaseFile(path, DatabaseCheck::Full), lb::DatabaseError);
    EXPECT_THROW(checkDatabaseFile(path, DatabaseCheck::Pages), lb::DatabaseError);
}

// The copy replaces the books, so it must pass the full check: a copy step that writes it
// wrong, here with index entries that disagree with their rows, never replaces sound books.
TEST_F(Compaction, ACopyThatFailsTheFullCheckNeverReplacesTheBooks)
{
    makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"));
    db().close();
    const QString path = lb::AppPaths::databaseFile();
    const QByteArray books = fileBytes(path);
    const auto damagingCopy = [](const QString& source, const QString& copy) {
        lb::core::writeCompactedCopy(source, copy);
        makeIndexDisagree(copy);
    };
    EXPECT_THROW(lb::core::compactDatabaseFile(path, damagingCopy), lb::DatabaseError);
    EXPECT_EQ(books, fileBytes(path));
    EXPECT_EQ(QStringList{QStringLiteral("kvdb.mdb")}, QDir(lb::AppPaths::worksFolder()).entryList(QDir::Files | QDir::Hidden));
}

TEST_F(Compaction, FailureShowsTheMessageAndKeepsTheFile)
{
    db().close();
    const QString path = lb::AppPaths::databaseFile();
    // A damaged file: the compaction cannot read it, and must not replace it with anything.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(100);
    file.write(QByteArray(4096, '\xAB'));
    file.close();
    const QByteArray damaged = fileBytes(path);

    EXPECT_FALSE(CompactDatabase(path, packWindow));
    ASSERT_EQ(1u, dialogs.shown().size());
    EXPECT_EQ(QStringLiteral("提示|压缩数据库失败\r原因：可能此数据库正在被其他程序打开。"), dialogs.captionsAndTexts().at(0));
    EXPECT_EQ(lb::ui::DialogIcon::Error, dialogs.shown()[0].icon);
    EXPECT_EQ(damaged, fileBytes(path));
    EXPECT_EQ(QStringList{QStringLiteral("kvdb.mdb")}, QDir(lb::AppPaths::worksFolder()).entryList(QDir::Files));

    EXPECT_FALSE(CompactDatabase(lb::AppPaths::inProgramFolder(QStringLiteral("works/nosuch.mdb")), packWindow));
    EXPECT_FALSE(QFile::exists(lb::AppPaths::inProgramFolder(QStringLiteral("works/nosuch.mdb"))));
}

TEST_F(Compaction, AFileThatMayNotBeWrittenIsNotReplaced)
{
    // A read-only database in a folder the user may write: renaming the compacted copy over it
    // would work, and would take away the protection someone gave the file.
    db().close();
    const QString path = lb::AppPaths::databaseFile();
    const QByteArray before = fileBytes(path);
    const ino_t sameFile = inode(path);
    const auto everyone = QFileDevice::Permissions(0x7777);
    ASSERT_TRUE(QFile::setPermissions(folder.path(), everyone));
    ASSERT_TRUE(QFile::setPermissions(lb::AppPaths::worksFolder(), everyone));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));

    const int result = runUnprivileged([&] {
        try {
            lb::core::compactDatabaseFile(path);
            return 0;
        } catch (const lb::FileOpenError&) {
            return 1;
        } catch (...) {
            return 2;
        }
    });
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(1, result);
    EXPECT_EQ(sameFile, inode(path)); // the very file, not a copy renamed over it
    EXPECT_EQ(before, fileBytes(path));
    EXPECT_EQ(QStringList{QStringLiteral("kvdb.mdb")}, QDir(lb::AppPaths::worksFolder()).entryList(QDir::Files));
}

TEST_F(Compaction, LeftoversOfAKilledCompactionGoBeforeTheNext)
{
    db().close();
    const QString works = lb::AppPaths::worksFolder();
    for (const char* name : {"~SM1a2b3c", "~SM1a2b3c-journal", "~SMzzzzzz", "~cpQwErTy"}) {
        QFile leftover(works + QLatin1Char('/') + QLatin1String(name));
        ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
        leftover.write("half a copy");
    }
    EXPECT_TRUE(CompactDatabase(lb::AppPaths::databaseFile(), packWindow));
    EXPECT_EQ(QStringList{QStringLiteral("kvdb.mdb")}, QDir(works).entryList(QDir::Files | QDir::Hidden));
}
