// Tests of the logging beside the error log: where an entry is kept, and that every failure of a
// copy of the books' files reaches the text log alone, under the window or command that met it.
#include "PeriodFixture.h"

#include "core/ErrorLog.h"
#include "core/PeriodCommands.h"
#include "core/ShutdownBackup.h"
#include "core/Tfrmain.h"
#include "core/Tfrpack.h"
#include "support/FullDisk.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>

#include <ostream>

using lb::core::Reporter;

namespace {

class ErrorLogTest : public CoreFixture {
protected:
    int apperrorRows() { return scalar(QStringLiteral("select count(*) from apperror")).toInt(); }
};

} // namespace

// A row of apperror keeps fifty characters: an entry it cannot take whole, or cannot take at
// all, goes whole into the text log.
TEST_F(ErrorLogTest, AnEntryTheRowCannotTakeWholeGoesWholeToTheTextLog)
{
    const struct {
        const char* what;
        qsizetype length;
        bool rowRefused;
        int rows;
        bool textLine;
    } cases[] = {
        {"fits the row", 50, false, 1, false},
        {"one character longer than the row", 51, false, 1, true},
        {"the row cannot be written", 10, true, 0, true},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.what);
        exec(QStringLiteral("delete from apperror"));
        QFile::remove(lb::AppPaths::errorLogFile());
        if (each.rowRefused)
            exec(QStringLiteral("create trigger apperror_refuse before insert on apperror begin select raise(abort, 'disk full'); end"));
        const QString message(each.length, QChar(u'错'));
        lb::core::logError(Reporter(QStringLiteral("Tfrexport")), lb::RangeError(message), QString());
        EXPECT_EQ(each.rows, apperrorRows());
        if (each.rows > 0) {
            EXPECT_EQ(QStringLiteral("Tfrexport"), scalar(QStringLiteral("select name from apperror")).toString());
            EXPECT_EQ(message.left(50), scalar(QStringLiteral("select mess from apperror")).toString());
        }
        EXPECT_EQ(each.textLine ? QStringLiteral("整数越界 Tfrexport 2026-06-15 10:00:00  ") + message + QLatin1Char('\n') : QString(),
                  errorLogText());
        if (each.rowRefused)
            exec(QStringLiteral("drop trigger apperror_refuse"));
    }
}

// A failure logged while a command's transaction is still open is kept however the transaction
// ends: its row is written once the transaction has ended (the rollback does not take it), or its
// line when the books close first.
TEST_F(ErrorLogTest, AnEntryLoggedInsideATransactionOutlivesItsEnd)
{
    enum class End { RolledBack, Committed, BooksClosed };
    const struct {
        const char* what;
        End end;
        int rows;
        bool textLine;
    } cases[] = {
        {"rolled back", End::RolledBack, 1, false},
        {"committed", End::Committed, 1, false},
        {"the books closed first", End::BooksClosed, 0, true},
    };
    const QString command = QStringLiteral("该功能暂时不能执行，请重新操作！");
    for (const auto& each : cases) {
        SCOPED_TRACE(each.what);
        exec(QStringLiteral("delete from apperror"));
        QFile::remove(lb::AppPaths::errorLogFile());
        {
            lb::db::Transaction transaction(db());
            exec(QStringLiteral("update config set tallybj='F'"));
            lb::core::logError(Reporter(QStringLiteral("Tfroutdetail")), lb::DatabaseError(QStringLiteral("injected fault")), command);
            if (each.end == End::Committed)
                transaction.commit();
            if (each.end == End::BooksClosed)
                db().close();
        }
        if (!db().connected())
            db().open();
        EXPECT_EQ(each.rows, apperrorRows());
        if (each.rows > 0) {
            EXPECT_EQ(QStringLiteral("Tfroutdetail ") + command + QStringLiteral("\ninjected fault"),
                      scalar(QStringLiteral("select name || ' ' || mess from apperror")).toString());
        }
        EXPECT_EQ(each.textLine, errorLogText().contains(QStringLiteral("injected fault")));
    }
}

namespace {

// Who logs an error in the caption test, and which window is active then.
enum class Who { MainWindow, ButtonOfAWorkWindow, WindowWithoutTitle, CommandWithoutWindow, NoOne };

struct CaptionCase {
    const char* name;
    Who who;
    bool workWindowActive; // else no window is active: a dialog has just closed
    const char* caption;
};

void PrintTo(const CaptionCase& each, std::ostream* out) { *out << each.name; }

class ErrorCaptionTest : public ErrorLogTest, public ::testing::WithParamInterface<CaptionCase> {};

} // namespace

// The row's caption (apperror.titl) is that of the window active when the error was met; while
// none is, that of the window of who met it (the main window for its menus' commands, a work
// window for its buttons), and "无标题" where that has no caption or there is no window at all.
TEST_P(ErrorCaptionTest, IsTheActiveWindowsOrElseTheReportersOwn)
{
    lb::core::Tfrmain main; // not shown: its first showing asks for the log-in
    lb::core::Tfrpack pack;
    QWidget untitled;
    pack.show();
    untitled.show();
    QApplication::setActiveWindow(GetParam().workWindowActive ? &pack : nullptr);
    ASSERT_EQ(GetParam().workWindowActive ? &pack : nullptr, QApplication::activeWindow());
    const Reporter who = [&] {
        switch (GetParam().who) {
        case Who::MainWindow: return Reporter(&main);
        case Who::ButtonOfAWorkWindow: return Reporter(pack.Button1);
        case Who::WindowWithoutTitle: return Reporter(&untitled);
        case Who::CommandWithoutWindow: return Reporter(QStringLiteral("ShutdownBackup"));
        case Who::NoOne: break;
        }
        return Reporter(static_cast<const QObject*>(nullptr));
    }();
    lb::core::logError(who, lb::DatabaseError(QStringLiteral("injected fault")), QString());
    QApplication::setActiveWindow(nullptr);
    EXPECT_EQ(1, apperrorRows());
    EXPECT_EQ(QString::fromUtf8(GetParam().caption).toStdString(), scalar(QStringLiteral("select titl from apperror")).toString().toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    ActiveWindowOrNone, ErrorCaptionTest,
    ::testing::Values(CaptionCase{"WorkWindowActive", Who::MainWindow, true, "数据整理"},
                      CaptionCase{"MainWindowsCommand", Who::MainWindow, false, "朔栎进销存(V2009)"},
                      CaptionCase{"WorkWindowsButton", Who::ButtonOfAWorkWindow, false, "数据整理"},
                      CaptionCase{"WindowWithoutCaption", Who::WindowWithoutTitle, false, "无标题"},
                      CaptionCase{"CommandWithoutWindow", Who::CommandWithoutWindow, false, "无标题"},
                      CaptionCase{"NoReporter", Who::NoOne, false, "无标题"}),
    [](const ::testing::TestParamInfo<CaptionCase>& info) { return std::string(info.param.name); });

namespace {

class CopyFailureLogTest;

// A command that copies the books' files and fails, the window or command the text log names
// for it, how many entries it logs, and how they begin (each one of them).
struct CopyFailure {
    const char* name; // the test's
    void (*fail)(CopyFailureLogTest&);
    const char* reporter;
    int entries;
    QStringList (*logged)();
};

void PrintTo(const CopyFailure& failure, std::ostream* out) { *out << failure.name; }

class CopyFailureLogTest : public PeriodFixture, public ::testing::WithParamInterface<CopyFailure> {
public:
    static std::vector<CopyFailure> cases();

protected:
    void SetUp() override
    {
        PeriodFixture::SetUp();
        main = std::make_unique<lb::core::Tfrmain>();
        frmain = main.get();
    }

    void TearDown() override
    {
        main.reset();
        PeriodFixture::TearDown();
    }

    static QString home(const QString& name) { return QDir::toNativeSeparators(lb::AppPaths::inProgramFolder(name)); }

    // What the backup at close logs of a folder, before why.
    static QString incomplete(const QString& folder) { return lb::core::ShutdownBackup::incompleteText() + home(folder) + QLatin1Char('\n'); }

    // Books from before a restore that are cut short: every copy of the works folder leaves
    // them out.
    static void damagePrevious()
    {
        QFile books(lb::AppPaths::databaseFile());
        QFile previous(lb::AppPaths::databaseFile() + QStringLiteral(".prev"));
        ASSERT_TRUE(books.open(QIODevice::ReadOnly) && previous.open(QIODevice::WriteOnly));
        previous.write(books.read(4096));
    }

    std::unique_ptr<lb::core::Tfrmain> main;
};

std::vector<CopyFailure> CopyFailureLogTest::cases()
{
    return {
        // Two failures in BAK, the full disk first: the one after it is logged as well.
        {"BackupIntoAFullBakBesideDamagedBooksFromBeforeARestore",
         [](CopyFailureLogTest& test) {
             ASSERT_TRUE(QDir().mkpath(home(QStringLiteral("BAK"))));
             damagePrevious();
             test.db().close();
             FullDisk disk(home(QStringLiteral("BAK")));
             (void)lb::core::ShutdownBackup::run();
         },
         "ShutdownBackup", 3,
         [] {
             return QStringList{incomplete(QStringLiteral("BAK")) + QStringLiteral("磁盘已满,不能写入文件夹: ") + home(QStringLiteral("BAK")),
                                incomplete(QStringLiteral("BAK")) + damagedPrevious(), incomplete(QStringLiteral("BAK1")) + damagedPrevious()};
         }},
        {"BackupOfBooksThatFailTheCheck",
         [](CopyFailureLogTest& test) {
             test.db().close();
             makeIndexDisagree(lb::AppPaths::databaseFile());
             (void)lb::core::ShutdownBackup::run();
         },
         "ShutdownBackup", 2,
         [] { return QStringList{QStringLiteral("压缩数据库失败\n"), QStringLiteral("数据库未通过完整性检查\n")}; }},
        {"CompactionWindowOnAFullDisk",
         [](CopyFailureLogTest&) {
             lb::core::Tfrpack window;
             window.Button1Click(); // the rows without a key go first, which needs room of its own
             FullDisk disk(lb::AppPaths::worksFolder());
             window.Button1Click();
         },
         "Tfrpack", 1,
         [] { return QStringList{QStringLiteral("压缩数据库失败\n磁盘已满,不能写入文件夹: ") + home(QStringLiteral("works"))}; }},
        {"CopyOfLastYearOverThisYearsBooksThatFailTheCheck",
         [](CopyFailureLogTest& test) {
             const QString lastYear = lb::core::PeriodCommands::lastYearFolder();
             ASSERT_TRUE(QDir().mkpath(lastYear));
             ASSERT_TRUE(QFile::copy(lb::AppPaths::databaseFile(), lastYear + QStringLiteral("/kvdb.mdb")));
             test.db().close();
             makeIndexDisagree(lb::AppPaths::databaseFile());
             test.db().open();
             test.dialogs.answer(lb::ui::DialogAnswer::Ok);
             lb::core::PeriodCommands::copyLastYear();
         },
         "Tfrmain", 1,
         [] {
             return QStringList{QStringLiteral("今年数据保存到THISYEAR没有成功,没有复制去年数据！\nDatabase file ")
                                + lb::AppPaths::databaseFile() + QStringLiteral(" failed its check: ")};
         }},
    };
}

} // namespace

TEST_P(CopyFailureLogTest, EveryFailureIsLoggedUnderTheWindowOrCommandThatMetIt)
{
    GetParam().fail(*this);
    const QString log = errorLogText();
    // Each entry opens with its kind, who met it and when; its message follows a blank.
    static const QRegularExpression start(QStringLiteral("^\\S+ (\\S+) 2026-06-15 10:00:00  "), QRegularExpression::MultilineOption);
    QStringList reporters;
    QStringList messages; // each from its entry on
    for (auto found = start.globalMatch(log); found.hasNext();) {
        const QRegularExpressionMatch entry = found.next();
        reporters << entry.captured(1);
        messages << log.mid(entry.capturedEnd());
    }
    EXPECT_EQ(QStringList(GetParam().entries, QString::fromLatin1(GetParam().reporter)), reporters) << log.toStdString();
    for (const QString& text : GetParam().logged())
        EXPECT_TRUE(std::any_of(messages.begin(), messages.end(), [&](const QString& message) { return message.startsWith(text); }))
            << text.toStdString() << "\nis not in\n" << log.toStdString();
    // The books are left alone: a failure of their copies is the text log's only.
    if (!db().connected())
        db().open();
    EXPECT_EQ(0, scalar(QStringLiteral("select count(*) from apperror")).toInt());
}

INSTANTIATE_TEST_SUITE_P(Copies, CopyFailureLogTest, ::testing::ValuesIn(CopyFailureLogTest::cases()),
                         [](const ::testing::TestParamInfo<CopyFailure>& info) { return std::string(info.param.name); });
