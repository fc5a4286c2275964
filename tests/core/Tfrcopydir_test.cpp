// Tests of the backup/restore window: the database to a chosen folder and back, each copy
// checked, a missing or damaged backup leaving the books and the connection as they were.
#include "CoreFixture.h"

#include "core/NewDatabase.h"
#include "core/Tfrcopydir.h"
#include "support/FullDisk.h"
#include "support/ScratchDisk.h"
#include "support/WriteProtect.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

using lb::core::Tfrcopydir;
using lb::ui::DialogAnswer;

namespace {

class BackupWindowTest : public CoreFixture {
protected:
    void SetUp() override
    {
        CoreFixture::SetUp();
        makeProduct(QStringLiteral("P1"), QStringLiteral("苹果"));
        dm().ATcompany->open();
    }

    void TearDown() override
    {
        delete window.data();
        CoreFixture::TearDown();
    }

    void open(const QString& chosen)
    {
        window = new Tfrcopydir();
        window->showWork();
        window->setFolder(chosen);
    }

    // Opens the window on `chosen`, clicks `button` and confirms its question.
    void confirmIn(const QString& chosen, QPushButton* Tfrcopydir::*button)
    {
        open(chosen);
        dialogs.clear();
        dialogs.answer(DialogAnswer::Ok);
        (window->*button)->click();
    }

    QByteArray bytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QPointer<Tfrcopydir> window;
};

} // namespace

TEST_F(BackupWindowTest, OpensOnBakAndBacksUpToTheChosenFolder)
{
    ASSERT_TRUE(QDir().mkpath(lb::AppPaths::inProgramFolder(QStringLiteral("BAK"))));
    window = new Tfrcopydir();
    EXPECT_EQ(QStringLiteral("数据备份恢复-请慎重选择!"), window->windowTitle());
    EXPECT_EQ(lb::AppPaths::inProgramFolder(QStringLiteral("BAK")), window->Edit1->text());
    EXPECT_TRUE(window->Edit1->isReadOnly());
    delete window.data();

    const QString chosen = folder.filePath(QStringLiteral("usb"));
    ASSERT_TRUE(QDir().mkpath(chosen));
    open(chosen);
    // Declined: nothing copied, the window stays.
    dialogs.answer(DialogAnswer::Cancel);
    window->Button1->click();
    EXPECT_EQ((QStringList{"你选择的数据备份位置是:" + chosen + "/kvdb.mdb", "是否进行备份数据?"}), dialogs.texts());
    EXPECT_FALSE(QFile::exists(chosen + QStringLiteral("/kvdb.mdb")));
    ASSERT_TRUE(window);

    dialogs.clear();
    dialogs.answer(DialogAnswer::Ok);
    window->Button1->click();
    EXPECT_EQ(QStringLiteral("数据备份完毕！ "), dialogs.lastText());
    EXPECT_EQ(bytes(lb::AppPaths::databaseFile()), bytes(chosen + QStringLiteral("/kvdb.mdb")));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window);
    EXPECT_TRUE(db().connected());
    EXPECT_TRUE(dm().ATcompany->active());
}

// Esc closes the window as its "取消" does, copying nothing.
TEST_F(BackupWindowTest, EscClosesAsCancelDoes)
{
    open(folder.filePath(QStringLiteral("usb")));
    QApplication::setActiveWindow(window);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(window->Edit1, &escape);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window);
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(BackupWindowTest, ABackupThatCannotBeWrittenSaysSo)
{
    open(folder.filePath(QStringLiteral("missing")));
    dialogs.answer(DialogAnswer::Ok);
    window->Button1->click();
    EXPECT_EQ(QStringLiteral("请检查本系统的数据备份是否存在！ "), dialogs.lastText());
    EXPECT_FALSE(QFileInfo::exists(folder.filePath(QStringLiteral("missing"))));
    EXPECT_TRUE(db().connected());
}

TEST_F(BackupWindowTest, RestoreWithoutASoundBackupLeavesTheBooksUntouched)
{
    const QString chosen = folder.filePath(QStringLiteral("usb"));
    ASSERT_TRUE(QDir().mkpath(chosen));
    const QByteArray live = bytes(lb::AppPaths::databaseFile());
    open(chosen);
    dialogs.answer(DialogAnswer::Ok);
    window->Button2->click();
    EXPECT_EQ((QStringList{"你选择的数据备份位置是:" + chosen + "/kvdb.mdb", "是否进行数据恢复?",
                           "请检查本系统的数据备份是否存在！ "}),
              dialogs.texts());
    EXPECT_EQ(live, bytes(lb::AppPaths::databaseFile()));
    EXPECT_EQ(QStringLiteral("P1"), scalar(QStringLiteral("select sphh from product")).toString());

    // A file that is not a database of this program is no backup either.
    for (const QByteArray& content : {QByteArray(8192, 'x'), QByteArray()}) {
        QFile bad(chosen + QStringLiteral("/kvdb.mdb"));
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
        bad.write(content);
        bad.close();
        open(chosen);
        dialogs.clear();
        dialogs.answer(DialogAnswer::Ok);
        window->Button2->click();
        EXPECT_EQ(QStringLiteral("请检查本系统的数据备份是否存在！ "), dialogs.lastText());
        EXPECT_EQ(live, bytes(lb::AppPaths::databaseFile()));
    }
    QFile::remove(chosen + QStringLiteral("/kvdb.mdb"));
    lb::db::Connection::createFile(chosen + QStringLiteral("/kvdb.mdb"));
    open(chosen);
    dialogs.clear();
    dialogs.answer(DialogAnswer::Ok);
    window->Button2->click();
    EXPECT_EQ(QStringLiteral("请检查本系统的数据备份是否存在！ "), dialogs.lastText());
    EXPECT_EQ(live, bytes(lb::AppPaths::databaseFile()));
    EXPECT_EQ(QStringList{"kvdb.mdb"}, QDir(lb::AppPaths::worksFolder()).entryList(QDir::Files | QDir::Hidden));
    EXPECT_TRUE(db().connected());
    EXPECT_EQ(1, scalar(QStringLiteral("select count(*) from product")).toInt());
}

// A disk that fills up while the copy goes out: the window names the cause and the folder, and
// the backup and the books stay as they were, without leftovers.
TEST_F(BackupWindowTest, ACopyOntoAFullDiskSaysSoAndKeepsWhatWasThere)
{
    const QString chosen = folder.filePath(QStringLiteral("usb"));
    ASSERT_TRUE(QDir().mkpath(chosen));
    confirmIn(chosen, &Tfrcopydir::Button1);
    ASSERT_EQ(QStringLiteral("数据备份完毕！ "), dialogs.lastText());
    const QByteArray earlier = bytes(chosen + QStringLiteral("/kvdb.mdb"));
    makeProduct(QStringLiteral("P2"), QStringLiteral("梨"));
    const QByteArray live = bytes(lb::AppPaths::databaseFile());
    {
        FullDisk disk(chosen, 4096);
        confirmIn(chosen, &Tfrcopydir::Button1);
    }
    EXPECT_EQ("磁盘已满,不能写入文件夹: " + chosen, dialogs.lastText());
    EXPECT_EQ(earlier, bytes(chosen + QStringLiteral("/kvdb.mdb")));
    EXPECT_EQ(QStringList{"kvdb.mdb"}, QDir(chosen).entryList(QDir::Files | QDir::Hidden));

    {
        FullDisk disk(lb::AppPaths::worksFolder(), 4096, EDQUOT);
        confirmIn(chosen, &Tfrcopydir::Button2);
    }
    EXPECT_EQ("磁盘配额已用完,不能写入文件夹: " + lb::AppPaths::worksFolder(), dialogs.lastText());
    EXPECT_EQ(live, bytes(lb::AppPaths::databaseFile()));
    EXPECT_EQ(QStringList{"kvdb.mdb"}, QDir(lb::AppPaths::worksFolder()).entryList(QDir::Files | QDir::Hidden));
    EXPECT_TRUE(db().connected());
    EXPECT_EQ(2, scalar(QStringLiteral("select count(*) from product")).toInt());
}

// A backup into a folder the user may not write (a write-protected stick, another user's folder)
// or on a read-only disk names the folder and why; the text log keeps it with the window's words.
TEST_F(BackupWindowTest, ABackupIntoAFolderThatMayNotBeWrittenSaysWhy)
{
    const QString chosen = folder.filePath(QStringLiteral("usb"));
    ASSERT_TRUE(QDir().mkpath(chosen));
    const QString shown = QDir::toNativeSeparators(chosen);
    {
        WriteProtect locked(chosen);
        if (!locked.ok())
            GTEST_SKIP() << "this file system lets every folder be written";
        confirmIn(chosen, &Tfrcopydir::Button1);
    }
    EXPECT_EQ("没有写入权限,不能写入文件夹: " + shown, dialogs.lastText());
    EXPECT_TRUE(QDir(chosen).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    EXPECT_TRUE(errorLogText().contains(QStringLiteral("请检查本系统的数据备份是否存在！ \n没有写入权限,不能写入文件夹: ") + shown));

    ScratchDisk stick(chosen, 1 << 20, true);
    if (!stick.ok())
        GTEST_SKIP() << "no disk of the test's own can be mounted here";
    confirmIn(chosen, &Tfrcopydir::Button1);
    EXPECT_EQ("磁盘是只读的,不能写入文件夹: " + shown, dialogs.lastText());
}

TEST_F(BackupWindowTest, RestoreBringsTheBackupBackAndKeepsThePreviousFile)
{
    const QString chosen = folder.filePath(QStringLiteral("usb"));
    ASSERT_TRUE(QDir().mkpath(chosen));
    open(chosen);
    dialogs.answer(DialogAnswer::Ok);
    window->Button1->click();
    makeProduct(QStringLiteral("P2"), QStringLiteral("梨"));
    const QByteArray withPear = bytes(lb::AppPaths::databaseFile());

    open(chosen);
    dialogs.clear();
    dialogs.answer(DialogAnswer::Ok);
    window->Button2->click();
    EXPECT_EQ(QStringLiteral("数据恢复完毕！ "), dialogs.lastText());
    EXPECT_EQ(1, scalar(QStringLiteral("select count(*) from product")).toInt());
    EXPECT_EQ(withPear, bytes(lb::AppPaths::databaseFile() + QStringLiteral(".prev")));
    EXPECT_TRUE(dm().ATcompany->active());
}

// Index entries that disagree with their rows pass every check but the full one: a backup of
// that kind is not restored, and books of that kind do not replace an earlier backup.
TEST_F(BackupWindowTest, AFileWhoseIndexDisagreesWithItsRowsIsNeitherRestoredNorBackedUp)
{
    const QString chosen = folder.filePath(QStringLiteral("usb"));
    const QString other = folder.filePath(QStringLiteral("usb2"));
    ASSERT_TRUE(QDir().mkpath(chosen) && QDir().mkpath(other));
    confirmIn(chosen, &Tfrcopydir::Button1);
    ASSERT_EQ(QStringLiteral("数据备份完毕！ "), dialogs.lastText());
    const QByteArray earlier = bytes(chosen + QStringLiteral("/kvdb.mdb"));
    ASSERT_TRUE(QFile::copy(chosen + QStringLiteral("/kvdb.mdb"), other + QStringLiteral("/kvdb.mdb")));
    makeIndexDisagree(other + QStringLiteral("/kvdb.mdb"));
    const QByteArray live = bytes(lb::AppPaths::databaseFile());

    confirmIn(other, &Tfrcopydir::Button2);
    EXPECT_EQ(QStringLiteral("请检查本系统的数据备份是否存在！ "), dialogs.lastText());
    EXPECT_EQ(live, bytes(lb::AppPaths::databaseFile()));
    EXPECT_FALSE(QFile::exists(lb::AppPaths::databaseFile() + QStringLiteral(".prev")));

    dm().ATcompany->close();
    db().close();
    makeIndexDisagree(lb::AppPaths::databaseFile());
    db().open();
    dm().ATcompany->open();
    confirmIn(chosen, &Tfrcopydir::Button1);
    EXPECT_EQ(QStringLiteral("请检查本系统的数据备份是否存在！ "), dialogs.lastText());
    EXPECT_EQ(earlier, bytes(chosen + QStringLiteral("/kvdb.mdb")));
}
