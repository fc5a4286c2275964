// The main window's period and data-copy commands: month-end, year-end, initialisation, the
// annual backup, switching to last year's data and back, and the front-desk copy.
#include "core/PeriodCommands.h"

#include "core/CompactDatabase.h"
#include "core/CopyDir.h"
#include "core/DatabaseFiles.h"
#include "core/FailureReport.h"
#include "core/PasswordBox.h"
#include "core/PeriodProcedures.h"
#include "core/Tfrdm.h"
#include "core/Tfrmain.h"
#include "core/WindowRegistry.h"
#include "platform/db/Table.h"
#include "platform/sys/AppPaths.h"
#include "platform/sys/Clock.h"
#include "platform/sys/DurableFile.h"
#include "platform/sys/Errors.h"
#include "platform/sys/FileWrite.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/LbApplication.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace lb::core {

using lb::FileFailure;
using lb::FileResult;
using lb::ui::Dialogs;

// The messages of the copies below say what was left undone, and the causes the user can act
// on follow them; those of the restore and the front-desk copy name another cause (a missing or
// damaged file, the front desk's folder), and a full disk is shown in their place.

namespace {

const QString noRight = QStringLiteral("该用户无此权限,请用999登录系统！");

} // namespace

void PeriodCommands::registerCommands()
{
    WindowRegistry& registry = WindowRegistry::instance();
    const std::pair<const char*, void (*)()> commands[] = {
        {"MonthEnd", &PeriodCommands::monthEnd},         {"YearEnd", &PeriodCommands::yearEnd},
        {"SystemInit", &PeriodCommands::initialise},     {"AnnualBackup", &PeriodCommands::annualBackup},
        {"FrontDeskCopy", &PeriodCommands::frontDeskCopy},
    };
    for (const auto& [key, run] : commands)
        if (!registry.contains(QLatin1String(key)))
            registry.registerCommand(QLatin1String(key), run);
}

QString PeriodCommands::lastYearFolder() { return lb::AppPaths::inProgramFolder(QStringLiteral("LASTBAK")); }

QString PeriodCommands::thisYearFolder() { return lb::AppPaths::inProgramFolder(QStringLiteral("THISYEAR")); }

QString PeriodCommands::lastYearMarker() { return lb::AppPaths::inProgramFolder(QStringLiteral("lastyear.mode")); }

bool PeriodCommands::lastYearLoaded() { return QFileInfo(lastYearMarker()).isFile(); }

FileResult PeriodCommands::setLastYearLoaded(bool loaded)
{
    // Qt's file calls keep no reason: the folder is asked whether it may be written.
    const QString folder = lb::AppPaths::programFolder();
    QFile marker(lastYearMarker());
    if (loaded) {
        if (!marker.open(QIODevice::WriteOnly) || marker.write("T") != 1)
            return FileFailure::ofFolder(folder, QStringLiteral("Cannot write %1: %2").arg(lastYearMarker(), marker.errorString()));
        marker.close();
        if (FileResult flushed = lb::DurableFile::flushFile(lastYearMarker()); !flushed.ok())
            return flushed;
    } else if (marker.exists() && !marker.remove()) {
        return FileFailure::ofFolder(folder, QStringLiteral("Cannot remove %1: %2").arg(lastYearMarker(), marker.errorString()));
    }
    return lb::DurableFile::flushFolder(folder);
}

bool PeriodCommands::passwordAccepted()
{
    bool ok = false;
    const QString typed = lb::core::PasswordBox(QStringLiteral("提示信息"), QStringLiteral("请输入操作员密码:          "),
                                                QString(), &ok);
    if (ok && typed.trimmed() == frmain->OperatorPassword)
        return true;
    Dialogs::warning(QStringLiteral("输入操作员密码错误,请重新操作！"));
    return false;
}

bool PeriodCommands::administrator(const QString& refusal)
{
    if (frmain->OperatorNo == QLatin1String("999"))
        return true;
    Dialogs::message(refusal);
    return false;
}

void PeriodCommands::failed(const QString& message, const QList<FileFailure>& failures, FileFailure::Message kind,
                            void (*show)(const QString&, const QString&))
{
    reportFailure(frmain.data(), failures, {message, kind, show});
}

void PeriodCommands::runProcedure(void (*procedure)(lb::db::Query&), const QString& done, const QString& failure)
{
    try {
        procedure(*frdm->AQcom);
    } catch (const lb::Error& error) {
        // Rolled back: the user learns that nothing changed, the log gets the reason.
        Dialogs::warning(failure);
        lb::ui::LbApplication::reportError(frmain, error);
        return;
    }
    Dialogs::message(done);
}

void PeriodCommands::monthEnd()
{
    if (!passwordAccepted() || !administrator(noRight))
        return;
    if (frmain->LastYearMode) {
        Dialogs::message(QStringLiteral("正在查去年数据，不能做月终数据处理功能"));
        return;
    }
    if (!Dialogs::confirm(QStringLiteral("确实要月终数据处理?")))
        return;
    runProcedure(&PeriodProcedures::monthEnd, QStringLiteral("已做完月终数据处理!"), QStringLiteral("月终数据处理失败,数据没有改动！"));
}

void PeriodCommands::yearEnd()
{
    if (!passwordAccepted())
        return;
    Dialogs::message(QStringLiteral("请先做年度数据备份，再做年终数据处理功能!"));
    if (!administrator(noRight) || !Dialogs::confirm(QStringLiteral("确实要进行年终数据处理吗?")))
        return;

    // The snapshot of the year as it stands must be complete and sound before a single
    // document goes.
    bool compacted = false;
    CopyResult saved;
    DatabaseFiles::whileDisconnected(*frdm, [&] {
        // A failed compaction is reported by itself and the year goes on with the books as they
        // are, once they have passed the full check; books that fail it never replace the last
        // sound LASTBAK. Its copy, proven byte for byte the same as the checked books before it
        // takes its place, needs no check of its own; the books from before a restore are
        // checked as the backup at close checks them, and damaged ones leave LASTBAK as it was.
        compacted = lb::core::compactForBackup(lb::AppPaths::databaseFile(), frmain.data());
        if (compacted)
            saved = WorksFolderCopy(DatabaseFiles::DamagedPrevious::StopsTheCopy).into(lastYearFolder());
    });
    if (!compacted || !saved.ok()) {
        failed(QStringLiteral("年终数据备份到LASTBAK没有成功,年终数据处理没有进行,数据没有改动！"), saved.failures(),
               FileFailure::Message::WhatWasLeftUndone, &Dialogs::warning);
        return;
    }
    runProcedure(&PeriodProcedures::closeYear, QStringLiteral("年终数据处理完成，请到数据维护中进行数据压缩整理。"),
                 QStringLiteral("年终数据处理失败,数据没有改动！"));
}

void PeriodCommands::initialise()
{
    if (!passwordAccepted() || !administrator(noRight) || !Dialogs::confirm(QStringLiteral("确实要初始化吗?")))
        return;
    runProcedure(&PeriodProcedures::initialise, QStringLiteral("初始化完成，请到数据维护中进行数据整理。"),
                 QStringLiteral("初始化失败,数据没有改动！"));
}

void PeriodCommands::annualBackup()
{
    if (!passwordAccepted() || !Dialogs::confirm(QStringLiteral("年度数据备份以备今后查数,请确认是否备份?"))
        || !administrator(noRight))
        return;
    const QString year = PeriodProcedures::annualBackupYear(lb::Clock::today());
    const QString folder = lb::AppPaths::inProgramFolder(year);
    const QString works = folder + QStringLiteral("/works");
    Dialogs::message(QStringLiteral("年度数据将备份到:") + folder);
    if (QFileInfo::exists(folder)
        && !Dialogs::yesNo(QStringLiteral("年度数据备份") + folder + QStringLiteral("已经存在,是否覆盖?"), QStringLiteral("提示！"), true))
        return;
    QDir().mkpath(works);

    // The program itself, whatever its file is called, so that the year's data can be read
    // with the program that wrote it.
    const QString program = QCoreApplication::applicationFilePath();
    const FileResult programCopied = lb::core::copyFile(program, folder + QLatin1Char('/') + QFileInfo(program).fileName());
    if (programCopied.ok())
        Dialogs::message(QStringLiteral("继续进行年度数据备份！ "));
    else
        failed(QStringLiteral("年度程序备份失败,请通过手工备份！ "), {programCopied.failure()}, FileFailure::Message::WhatWasLeftUndone);

    FileResult saved;
    DatabaseFiles::whileDisconnected(*frdm, [&] {
        saved = DatabaseFiles::backUp(lb::AppPaths::databaseFile(), works + QStringLiteral("/kvdb.mdb"));
    });
    if (saved.ok())
        Dialogs::message(QStringLiteral("年度数据备份完毕！ "));
    else
        failed(QStringLiteral("年度数据备份失败,请通过手工备份！ "), {saved.failure()}, FileFailure::Message::WhatWasLeftUndone);
}

void PeriodCommands::copyLastYear()
{
    if (frmain->LastYearMode) {
        Dialogs::message(QStringLiteral("正在查去年数据，不能再复制去年数据"));
        return;
    }
    if (!Dialogs::confirm(QStringLiteral("确实要复制去年数据?")))
        return;
    // A first look that replaces nothing, before THISYEAR is written: the copy of LASTBAK that
    // takes the books' place is checked in full by replace().
    const QString lastYear = lastYearFolder() + QStringLiteral("/kvdb.mdb");
    if (!DatabaseFiles::isProgramFile(lastYear, DatabaseCheck::Pages)) {
        Dialogs::warning(QStringLiteral("没有找到完好的去年数据(LASTBAK),不能复制去年数据！"));
        return;
    }
    const QString database = lb::AppPaths::databaseFile();
    QString problem;
    QList<FileFailure> failures;
    DatabaseFiles::whileDisconnected(*frdm, [&] {
        // This year's books are parked before last year's take their place: only books that
        // pass the full check replace the copy in THISYEAR, and only as a copy proven to hold
        // their bytes; the books from before a restore as the backup at close copies them.
        try {
            DatabaseFiles::checkProgramFile(database);
        } catch (const lb::Error& error) {
            problem = QStringLiteral("今年数据保存到THISYEAR没有成功,没有复制去年数据！");
            failures = {FileFailure::other(error.shownText())}; // what the check found, for the log
            return;
        }
        if (const CopyResult parked = WorksFolderCopy(DatabaseFiles::DamagedPrevious::StopsTheCopy).into(thisYearFolder());
            !parked.ok()) {
            problem = QStringLiteral("今年数据保存到THISYEAR没有成功,没有复制去年数据！");
            failures = parked.failures();
            return;
        }
        if (const FileResult replaced = DatabaseFiles::replace(lastYear, database); !replaced.ok()) {
            problem = QStringLiteral("不能复制去年数据,今年数据没有改动！");
            failures = {replaced.failure()};
        }
    });
    if (!problem.isEmpty()) {
        failed(problem, failures, FileFailure::Message::WhatWasLeftUndone, &Dialogs::warning);
        return;
    }
    DatabaseFiles::booksReplaced(*frdm);
    frmain->LastYearMode = true;
    if (const FileResult marked = setLastYearLoaded(true); !marked.ok())
        failed(QStringLiteral("不能记下正在查去年数据,退出本系统前请先恢复今年数据！"), {marked.failure()},
               FileFailure::Message::WhatWasLeftUndone, &Dialogs::warning);
}

void PeriodCommands::restoreThisYear()
{
    if (!frmain->LastYearMode) {
        Dialogs::message(QStringLiteral("没有在查去年数据,不需要恢复今年数据！"));
        return;
    }
    if (!Dialogs::confirm(QStringLiteral("确实要恢复今年数据?")))
        return;
    const QString thisYear = thisYearFolder() + QStringLiteral("/kvdb.mdb");
    FileResult restored;
    DatabaseFiles::whileDisconnected(*frdm, [&] { restored = DatabaseFiles::replace(thisYear, lb::AppPaths::databaseFile()); });
    if (!restored.ok()) {
        failed(QStringLiteral("今年数据(THISYEAR)不存在或已损坏,不能恢复今年数据！"), {restored.failure()},
               FileFailure::Message::AnotherCause, &Dialogs::warning);
        return;
    }
    DatabaseFiles::booksReplaced(*frdm);
    frmain->LastYearMode = false;
    if (const FileResult cleared = setLastYearLoaded(false); !cleared.ok())
        failed(QStringLiteral("不能清除正在查去年数据的记号,请删除文件") + lastYearMarker(), {cleared.failure()},
               FileFailure::Message::WhatWasLeftUndone, &Dialogs::warning);
}

void PeriodCommands::frontDeskCopy()
{
    if (!administrator(QStringLiteral("该用户无权使用此功能！")) || !Dialogs::confirm(QStringLiteral("确实要复制前台数据?")))
        return;
    lb::db::Table& config = *frdm->ATCONFIG;
    config.open();
    const QString folder = config.fieldByName(QStringLiteral("toppath")).asString().trimmed();
    config.close();
    // Only an absolute folder names the front desk's data: an empty option must not reach
    // whatever file of that name lies in the current folder.
    const QString source = QDir(folder).filePath(QStringLiteral("kvdb.mdb"));
    if (folder.isEmpty() || QDir::isRelativePath(folder) || !QFileInfo(source).isFile()) {
        Dialogs::message(QStringLiteral("数据没有成功复制,请检查前台连接线路及前台数据位置的设置！ "));
        return;
    }
    FileResult copied;
    DatabaseFiles::whileDisconnected(*frdm, [&] { copied = DatabaseFiles::replace(source, lb::AppPaths::databaseFile()); });
    if (!copied.ok()) {
        failed(QStringLiteral("不能复制数据,请检查系统的前台数据位置的设置是否正确！ "), {copied.failure()}, FileFailure::Message::AnotherCause);
        return;
    }
    DatabaseFiles::booksReplaced(*frdm);
    Dialogs::message(QStringLiteral("数据备份完毕！ "));
}

} // namespace lb::core
