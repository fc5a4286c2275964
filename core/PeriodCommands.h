// The main window's period and data-copy commands: month-end, year-end, initialisation, the
// annual backup, switching to last year's data and back, and the front-desk copy.
#pragma once

#include "platform/sys/FileWrite.h"
#include "platform/ui/Dialogs.h"

#include <QString>

namespace lb::db {
class Query;
}

namespace lb::core {

// Each command checks its rights and asks its question before anything changes, and reports
// its outcome in boxes. They read the operator and LastYearMode of the main window (`frmain`)
// and work through the data module (`frdm`). Database steps run in one transaction; file
// copies run with the connection closed and are checked before they count.
class PeriodCommands {
public:
    // Registers "MonthEnd", "YearEnd", "SystemInit", "AnnualBackup" and "FrontDeskCopy" with
    // the window registry (keys already registered stay as they are).
    static void registerCommands();

    static void monthEnd();
    static void yearEnd();
    static void initialise();
    static void annualBackup();
    // "复制上年数据" and "恢复今年数据" (the main menu keeps them out of reach).
    static void copyLastYear();
    static void restoreThisYear();
    static void frontDeskCopy();

    // The year-end snapshot of works/: program folder + "LASTBAK".
    static QString lastYearFolder();
    // This year's works/ while last year's data is loaded: program folder + "THISYEAR", apart
    // from BAK, which the shutdown backup overwrites.
    static QString thisYearFolder();
    // The marker beside works/ that says last year's data is loaded, so that the mode
    // survives a restart.
    static QString lastYearMarker();
    static bool lastYearLoaded();

private:
    // The operator's password typed again; a wrong one (Cancel included) is refused with its
    // warning. True when it matches.
    static bool passwordAccepted();
    // Operator "999", else `refusal` is shown. True for the administrator.
    static bool administrator(const QString& refusal);
    // Runs a procedure of PeriodProcedures on AQcom and shows `done`; when it fails (with
    // nothing changed) shows `failure` and hands the error to the error handler.
    static void runProcedure(void (*procedure)(lb::db::Query&), const QString& done, const QString& failure);
    // Writes or removes the marker, on the disk when it returns; why not when it cannot.
    static lb::FileResult setLastYearLoaded(bool loaded);
    // A copy that failed for `failures`: each is logged with `message` as the main window's,
    // which `show` (the plain box unless said otherwise) shows with the causes the user can act
    // on, as `kind` says (lb::core::reportFailure).
    static void failed(const QString& message, const QList<lb::FileFailure>& failures, lb::FileFailure::Message kind,
                       void (*show)(const QString&, const QString&) = &lb::ui::Dialogs::message);
};

} // namespace lb::core
