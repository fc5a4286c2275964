// Tests of the global error handler: classification texts, the apperror row, the text log, the
// causes it shows above an error's own words, and the error form's buttons.
#include "CoreFixture.h"

#include "core/ErrorLog.h"
#include "core/PictureButton.h"
#include "core/TFrm_ErrorMessage.h"
#include "core/Tfrdbcopy.h"
#include "core/Tfrmain.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/LbApplication.h"
#include "platform/ui/ScriptedModals.h"
#include "support/FullDisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWindow>
#include <new>
#include <stdexcept>
#include <typeinfo>

using lb::ErrorKind;
using lb::core::ErrorEntry;
using lb::core::ErrorLog;
using lb::core::TFrm_ErrorMessage;
using lb::core::Tfrmain;

TEST(ErrorLog, EveryKindHasItsText)
{
    const std::vector<std::pair<ErrorKind, QString>> table{
        {ErrorKind::Convert, QStringLiteral("输入的数据类型错误")},
        {ErrorKind::DivByZero, QStringLiteral("整数除0溢出")},
        {ErrorKind::IntOverflow, QStringLiteral("整数溢出 ")},
        {ErrorKind::Range, QStringLiteral("整数越界")},
        {ErrorKind::Int, QStringLiteral("整数计算异常(基类)")},
        {ErrorKind::InvalidOp, QStringLiteral("无效浮点操作指令")},
        {ErrorKind::Overflow, QStringLiteral("浮点操作上溢")},
        {ErrorKind::Underflow, QStringLiteral("浮点操作下溢")},
        {ErrorKind::ZeroDivide, QStringLiteral("浮点计算除0")},
        {ErrorKind::Math, QStringLiteral("浮点数计算异常(基类)")},
        {ErrorKind::InvalidCast, QStringLiteral("类型转换异常")},
        {ErrorKind::Database, QStringLiteral("数据库错误")},
        {ErrorKind::FileOpen, QStringLiteral("文件不能打开")},
        {ErrorKind::AccessViolation, QStringLiteral("访问了无效的内存区域!")},
        {ErrorKind::Other, QStringLiteral("系统错误!")},
    };
    for (const auto& [kind, text] : table)
        EXPECT_EQ(text, ErrorLog::kindText(kind)) << int(kind);
}

TEST(ErrorLog, ErrorsAreClassifiedBySpecificKindFirst)
{
    const auto text = [](const std::exception& e) { return ErrorLog::describe(e, QString()).kindText; };
    EXPECT_EQ(QStringLiteral("整数除0溢出"), text(lb::DivByZeroError(QStringLiteral("Division by zero"))));
    EXPECT_EQ(QStringLiteral("整数计算异常(基类)"), text(lb::IntError(QStringLiteral("x"))));
    EXPECT_EQ(QStringLiteral("浮点计算除0"), text(lb::ZeroDivideError(QStringLiteral("x"))));
    EXPECT_EQ(QStringLiteral("数据库错误"), text(lb::DatabaseError(QStringLiteral("Field 'x' not found"))));
    EXPECT_EQ(QStringLiteral("整数越界"), text(std::out_of_range("index")));
    EXPECT_EQ(QStringLiteral("输入的数据类型错误"), text(std::invalid_argument("stoi")));
    EXPECT_EQ(QStringLiteral("类型转换异常"), text(std::bad_cast()));
    EXPECT_EQ(QStringLiteral("系统错误!"), text(std::bad_alloc()));
    EXPECT_EQ(QStringLiteral("系统错误!"), text(std::runtime_error("engine said no")));

    const ErrorEntry own = ErrorLog::describe(lb::ConvertError(QStringLiteral("'abc' is not a valid floating point value")), QString());
    EXPECT_EQ(QStringLiteral("ConvertError"), own.className);
    EXPECT_EQ(QStringLiteral("'abc' is not a valid floating point value"), own.message);
    EXPECT_EQ(QStringLiteral("TFroutdetail"),
              ErrorLog::describe(lb::ConvertError(QStringLiteral("x")), QStringLiteral("TFroutdetail")).className);
}

TEST(ErrorLog, CaptionOfTheActiveWindowAtMost255Characters)
{
    QWidget window;
    window.setWindowTitle(QString(300, QLatin1Char('x')));
    window.show();
    QApplication::setActiveWindow(&window);
    EXPECT_EQ(QString(255, QLatin1Char('x')), ErrorLog::describe(std::runtime_error("e"), QString()).caption);
    window.setWindowTitle(QString());
    EXPECT_EQ(QStringLiteral("无标题"), ErrorLog::describe(std::runtime_error("e"), QString()).caption);

    // Right after a dialog closes no window is active yet: the reporter's own window names it.
    QWidget main;
    main.setWindowTitle(QStringLiteral("朔栎进销存(V2009) 操作员:系统管理员"));
    QWidget child(&main);
    QApplication::setActiveWindow(nullptr);
    EXPECT_EQ(QStringLiteral("朔栎进销存(V2009) 操作员:系统管理员"), ErrorLog::describe(std::runtime_error("e"), QString(), &child).caption);
    EXPECT_EQ(QStringLiteral("无标题"), ErrorLog::describe(std::runtime_error("e"), QString()).caption);
}

TEST(ErrorLog, TextLogLineLayout)
{
    ErrorEntry entry{QStringLiteral("数据库错误"), QStringLiteral("无标题"), QStringLiteral("TFrproduct"),
                     QDateTime(QDate(2026, 3, 5), QTime(9, 7, 3)), QStringLiteral("Field 'x' not found")};
    EXPECT_EQ(QStringLiteral("数据库错误 TFrproduct 2026-03-05 09:07:03  Field 'x' not found"), ErrorLog::logLine(entry));
}

class TFrm_ErrorMessageTest : public CoreFixture {
protected:
    void SetUp() override
    {
        CoreFixture::SetUp();
        form = std::make_unique<TFrm_ErrorMessage>();
    }
    void TearDown() override
    {
        form.reset();
        CoreFixture::TearDown();
    }

    int apperrorRows() { return scalar(QStringLiteral("select count(*) from apperror")).toInt(); }

    // Reports an error the way the message loop does, with the form's "返回" pressed.
    QString report(QObject* sender, const std::function<void()>& fault)
    {
        lb::ui::ScriptedModals modals;
        QString shown;
        modals.then([&](QDialog&) {
            shown = form->Label1->text();
            form->BackClick();
        });
        lb::ui::LbApplication::guarded(sender, [&] {
            fault();
            return true;
        });
        EXPECT_EQ(0, modals.pending()) << "the error form was not shown";
        return shown;
    }

    std::unique_ptr<TFrm_ErrorMessage> form;
};

TEST_F(TFrm_ErrorMessageTest, ConversionErrorIsShownAndWrittenAsOneRow)
{
    QLineEdit cell;
    const QString shown = report(&cell, [] { throw lb::ConvertError(QStringLiteral("'abc' is not a valid floating point value")); });
    EXPECT_EQ(QStringLiteral("输入的数据类型错误"), shown);
    ASSERT_EQ(1, apperrorRows());
    EXPECT_EQ(QStringLiteral("输入的数据类型错误"), scalar(QStringLiteral("select capt from apperror")).toString());
    EXPECT_EQ(QStringLiteral("QLineEdit"), scalar(QStringLiteral("select name from apperror")).toString());
    EXPECT_EQ(QStringLiteral("'abc' is not a valid floating point value"),
              scalar(QStringLiteral("select mess from apperror")).toString());
    EXPECT_EQ(QDateTime(QDate(2026, 6, 15), QTime(10, 0)),
              QDateTime::fromString(scalar(QStringLiteral("select rq from apperror")).toString(), Qt::ISODate));
    EXPECT_EQ(QStringLiteral("QLineEdit"), form->nameEdit->text());
    EXPECT_FALSE(QFile::exists(lb::AppPaths::errorLogFile()));
    QStringList titles;
    for (int column = 0; column < form->DBGrid1->model()->columnCount(); ++column)
        titles << form->DBGrid1->model()->headerData(column, Qt::Horizontal).toString();
    EXPECT_EQ((QStringList{QStringLiteral("错误性质"), QStringLiteral("出错程序"), QStringLiteral("出错位置"),
                           QStringLiteral("日期"), QStringLiteral("出错信息")}),
              titles);
    EXPECT_FALSE(dm().ATapperror->active()); // "返回" closes it
}

// Our windows are named by their class alone, as the program's design names them.
TEST_F(TFrm_ErrorMessageTest, ReporterIsNamedWithoutItsNamespace)
{
    lb::core::PictureButton button(QStringLiteral("商品"), Qt::blue);
    report(&button, [] { throw lb::ConvertError(QStringLiteral("x")); });
    EXPECT_EQ(QStringLiteral("PictureButton"), scalar(QStringLiteral("select name from apperror")).toString());
    EXPECT_EQ(QStringLiteral("PictureButton"), form->nameEdit->text());
}

// The form opens above the window that raised the error, on top when that window stays on top
// (the editors and the options window do), and in the plain layer for a plain window.
TEST_F(TFrm_ErrorMessageTest, FormOpensAboveTheWindowThatRaisedTheError)
{
    struct Placement {
        bool onTop = false;
        QWindow* owner = nullptr;
    };
    // Reports an error of a box on `window` and tells where the form opened.
    auto raiseFrom = [&](QWidget& window) {
        auto* box = new QLineEdit(&window);
        Placement seen;
        lb::ui::ScriptedModals modals;
        modals.then([&](QDialog& dialog) {
            seen = {dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint), dialog.windowHandle()->transientParent()};
            form->BackClick();
        });
        lb::ui::LbApplication::guarded(box, []() -> bool { throw lb::ConvertError(QStringLiteral("x")); });
        return seen;
    };
    QWidget editor;
    editor.setWindowFlag(Qt::WindowStaysOnTopHint);
    editor.show();
    const Placement overEditor = raiseFrom(editor);
    EXPECT_TRUE(overEditor.onTop);
    EXPECT_EQ(editor.windowHandle(), overEditor.owner);
    QWidget list;
    list.show();
    const Placement overList = raiseFrom(list);
    EXPECT_FALSE(overList.onTop);
    EXPECT_EQ(list.windowHandle(), overList.owner);
}

TEST_F(TFrm_ErrorMessageTest, IntegerDivisionIsNotTheBaseKind)
{
    EXPECT_EQ(QStringLiteral("整数除0溢出"), report(nullptr, [] { throw lb::DivByZeroError(QStringLiteral("Division by zero")); }));
    EXPECT_EQ(1, apperrorRows());
}

TEST_F(TFrm_ErrorMessageTest, SilentAbortIsNeitherShownNorLogged)
{
    lb::ui::ScriptedModals modals;
    lb::ui::LbApplication::guarded(nullptr, []() -> bool { throw lb::Abort(); });
    EXPECT_TRUE(modals.titles().isEmpty());
    EXPECT_EQ(0, apperrorRows());
}

TEST_F(TFrm_ErrorMessageTest, UnreachableApperrorGoesToTheTextLog)
{
    exec(QStringLiteral("drop table apperror"));
    QWidget reporter;
    const QString shown = report(&reporter, [] { throw lb::DatabaseError(QStringLiteral("no such table: product")); });
    EXPECT_EQ(QStringLiteral("数据库错误"), shown);
    EXPECT_EQ(QStringLiteral("数据库错误 QWidget 2026-06-15 10:00:00  no such table: product\n"), errorLogText());

    report(&reporter, [] { throw std::runtime_error("second"); });
    EXPECT_EQ(2, errorLogText().count(QLatin1Char('\n')));
}

TEST_F(TFrm_ErrorMessageTest, RowThatCannotBePostedIsCancelledAndTheErrorGoesToTheTextLog)
{
    exec(QStringLiteral("create trigger apperror_refuse before insert on apperror "
                        "begin select raise(abort, 'disk full'); end"));
    const ErrorEntry entry{QStringLiteral("数据库错误"), QStringLiteral("无标题"), QStringLiteral("TFrproduct"),
                           QDateTime(QDate(2026, 6, 15), QTime(10, 0)), QStringLiteral("first")};
    dm().ATapperror->open();
    EXPECT_FALSE(ErrorLog::writeRow(*dm().ATapperror, entry));
    EXPECT_EQ(lb::db::DataSetState::Browse, dm().ATapperror->state());
    EXPECT_TRUE(dm().ATapperror->isEmpty());

    QWidget reporter;
    EXPECT_EQ(QStringLiteral("整数越界"), report(&reporter, [] { throw lb::RangeError(QStringLiteral("second")); }));
    EXPECT_EQ(QStringLiteral("整数越界 QWidget 2026-06-15 10:00:00  second\n"), errorLogText());
    EXPECT_EQ(0, apperrorRows());

    // Once the table takes rows again, the next error is its only row: nothing refused before
    // was left pending to be posted with it.
    exec(QStringLiteral("drop trigger apperror_refuse"));
    report(&reporter, [] { throw lb::RangeError(QStringLiteral("third")); });
    EXPECT_EQ(1, apperrorRows());
    EXPECT_EQ(QStringLiteral("third"), scalar(QStringLiteral("select mess from apperror")).toString());
}

TEST_F(TFrm_ErrorMessageTest, FormShowsTheErrorWhenNeitherRowNorLogCanBeWritten)
{
    exec(QStringLiteral("drop table apperror"));
    ASSERT_TRUE(QDir().mkpath(lb::AppPaths::errorLogFile())); // a folder where the log should be
    EXPECT_EQ(QStringLiteral("文件不能打开"), report(nullptr, [] { throw lb::FileOpenError(QStringLiteral("Cannot open file")); }));
    EXPECT_EQ(QStringLiteral("Cannot open file"), form->messEdit->toPlainText());
}

TEST_F(TFrm_ErrorMessageTest, ClearEmptiesTableAndDeletesTheLog)
{
    report(nullptr, [] { throw lb::RangeError(QStringLiteral("List index out of bounds (5)")); });
    report(nullptr, [] { throw lb::RangeError(QStringLiteral("List index out of bounds (6)")); });
    QFile log(lb::AppPaths::errorLogFile());
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    log.write("old line\n");
    log.close();

    dm().ATapperror->open();
    form->ClearClick();
    EXPECT_EQ(0, apperrorRows());
    EXPECT_FALSE(QFile::exists(lb::AppPaths::errorLogFile()));
    EXPECT_TRUE(dm().ATapperror->active());
    EXPECT_TRUE(dm().ATapperror->isEmpty());

    // Without a log file it only empties the table.
    report(nullptr, [] { throw lb::RangeError(QStringLiteral("again")); });
    dm().ATapperror->open();
    form->ClearClick();
    EXPECT_EQ(0, apperrorRows());
}

TEST_F(TFrm_ErrorMessageTest, ErrorWhileTheFormShowsUpdatesItInsteadOfOpeningItAgain)
{
    lb::ui::ScriptedModals modals;
    QString second;
    modals.then([&](QDialog&) {
        form->MyErrorMessage(nullptr, lb::OverflowError(QStringLiteral("Floating point overflow")));
        second = form->Label1->text();
        form->BackClick();
    });
    form->MyErrorMessage(nullptr, lb::RangeError(QStringLiteral("first")));
    EXPECT_EQ(QStringLiteral("浮点操作上溢"), second);
    EXPECT_EQ(1, modals.titles().size());
    EXPECT_EQ(2, apperrorRows());
}

TEST_F(TFrm_ErrorMessageTest, CloseSystemEndsTheRun)
{
    Tfrmain window;
    frmain = &window;
    lb::ui::ScriptedModals modals;
    modals.then([&](QDialog&) { form->CloseSystemClick(); });
    lb::ui::LbApplication::guarded(nullptr, []() -> bool { throw lb::Error(QStringLiteral("fatal")); });
    EXPECT_TRUE(window.terminated());
    EXPECT_FALSE(dm().ATapperror->active());
    window.close();
    EXPECT_TRUE(dialogs.texts().isEmpty()); // no backup question
}

// The form shows the cause the program knows, in the user's words, above the words of whoever
// raised the error (the engine, the dataset layer); the error log keeps both.
TEST_F(TFrm_ErrorMessageTest, TheFormShowsAKnownCauseAboveTheWordsOfWhoeverRaisedTheError)
{
    makeProduct(QStringLiteral("P1"), QStringLiteral("苹果"));
    const QString works = QFileInfo(lb::AppPaths::databaseFile()).absolutePath();
    // The engine's temporary folder by its documented rule: the first of these it may write and
    // search. A sort of more than a megabyte goes there, its cache kept small.
    QString temporary;
    for (const QString& candidate : {qEnvironmentVariable("SQLITE_TMPDIR"), qEnvironmentVariable("TMPDIR"), QStringLiteral("/var/tmp"),
                                     QStringLiteral("/usr/tmp"), QStringLiteral("/tmp")}) {
        const QFileInfo folder(candidate);
        if (temporary.isEmpty() && !candidate.isEmpty() && folder.isDir() && folder.isWritable() && folder.isExecutable())
            temporary = QDir::cleanPath(folder.absoluteFilePath());
    }
    exec(QStringLiteral("PRAGMA cache_size = 10"));
    exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 4000) "
                        "INSERT INTO product (intno, bz) SELECT i, printf('%.500c%d', 'x', i * 7919 % 4000) FROM n"));
    const auto freeSql = [](const QString& sql) {
        lb::core::Tfrdbcopy tool;
        tool.Memo1->setPlainText(sql);
        tool.SqlExeClick();
    };
    const struct {
        std::function<void()> raise;
        const char* kind;
        QString cause;
        QString words;
    } cases[] = {
        {[&] {
             FullDisk disk(works);
             exec(QStringLiteral("update product set bz='x'"));
         },
         "系统错误!", QStringLiteral("磁盘已满,不能写入文件夹: ") + QDir::toNativeSeparators(QFileInfo(works).canonicalFilePath()),
         QStringLiteral("database or disk is full (code 13)\nSQL: update product set bz='x'")},
        {[&] {
             FullDisk disk(temporary);
             dm().AQcom->reopen(QStringLiteral("select bz, count(*) from product group by bz"));
         },
         "系统错误!", QStringLiteral("临时文件夹已满,不能写入: ") + QDir::toNativeSeparators(temporary),
         QStringLiteral("database or disk is full (code 13)\nSQL: select bz, count(*) from product group by bz")},
        {[&] { freeSql(QStringLiteral("update product set spmc=\"苹果\"")); }, "系统错误!",
         QStringLiteral("双引号中的\"苹果\"是字段名,表中没有这个字段;文字要写在单引号中,如 '苹果'。"),
         QStringLiteral("no such column: 苹果 (code 1)\nSQL: update product set spmc=\"苹果\"")},
        {[&] { freeSql(QStringLiteral("select * from product where bz=\"\"")); }, "系统错误!",
         QStringLiteral("双引号中的\"\"是字段名,表中没有这个字段;文字要写在单引号中,如 ''。"),
         QStringLiteral("no such column:  (code 1)\nSQL: select * from product where bz=\"\"")},
        // A name written without quotes is no text: no reminder.
        {[&] { freeSql(QStringLiteral("update product set spmc=pear")); }, "系统错误!", QString(),
         QStringLiteral("no such column: pear (code 1)\nSQL: update product set spmc=pear")},
        // A list of the data module opened again after the column was renamed.
        {[&] {
             dm().Aqproduct->open();
             freeSql(QStringLiteral("alter table product rename column spmc to spmc2"));
             dm().Aqproduct->close();
             dm().Aqproduct->open();
         },
         "数据库错误", QStringLiteral("字段spmc已不在表中: 窗口打开时表被改动过(例如用数据处理功能)。请关闭窗口后重新打开;若仍出现此信息,请把表改回原样。"),
         QStringLiteral("Field 'spmc' not found")},
    };
    for (const auto& known : cases) {
        SCOPED_TRACE(known.words.toStdString());
        exec(QStringLiteral("delete from apperror"));
        EXPECT_EQ(known.kind, report(nullptr, known.raise).toStdString());
        const QString shown = known.cause.isEmpty() ? known.words : known.cause + QLatin1Char('\n') + known.words;
        EXPECT_EQ(shown.toStdString(), form->messEdit->toPlainText().toStdString());
        // The row keeps the start, the cause first; the text log the whole of what the form shows.
        EXPECT_EQ(shown.left(50).toStdString(), scalar(QStringLiteral("select mess from apperror")).toString().toStdString());
        EXPECT_TRUE(errorLogText().contains(QStringLiteral("  ") + shown + QLatin1Char('\n'))) << errorLogText().toStdString();
    }
}
