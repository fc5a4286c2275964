// The main window: start-up and shutdown of a run, and the shared state every window reads.
#include "core/Tfrmain.h"

#include "core/BackgroundPicture.h"
#include "core/Leftovers.h"
#include "core/PeriodCommands.h"
#include "core/SchemaUpgrade.h"
#include "core/ShutdownBackup.h"
#include "core/StartupChecks.h"
#include "core/TFrflash.h"
#include "core/TFrpassword.h"
#include "core/TFrstart.h"
#include "core/Tfrdm.h"
#include "platform/db/Table.h"
#include "platform/sys/AppPaths.h"
#include "platform/sys/Clock.h"
#include "platform/sys/Errors.h"
#include "platform/sys/InstanceLock.h"
#include "platform/sys/LockedTemporary.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Modal.h"
#include "platform/ui/WorkWindow.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QPrintDialog>
#include <QPrinter>
#include <QStatusBar>

QPointer<lb::core::Tfrmain> frmain;

namespace lb::core {

Tfrmain::Tfrmain(QWidget* parent)
    : QMainWindow(parent)
{
    setWindowTitle(baseCaption());

    // One copy per program folder. The lock dies with the process that holds it, so whatever a
    // killed copy left in the lock file never blocks a start; a folder where the lock file can
    // be neither made nor opened is not guarded (the database check below then ends the start).
    instanceLock_ = std::make_unique<lb::InstanceLock>(lb::AppPaths::inProgramFolder(QStringLiteral("ledgerbox.lock")));
    if (instanceLock_->heldElsewhere()) {
        refuseStart(QStringLiteral("该程序正在运行!"));
        return;
    }
    // What a killed or failed copy or compaction left behind goes before anything reads the
    // folders; only the holder of the lock may do it, as a running copy's files look the same.
    if (instanceLock_->state() == lb::InstanceLock::State::Held)
        lb::core::Leftovers::removeFromProgramFolder();
    // Copies of other program folders share the system's temporary folder: the program's
    // temporaries there (the staging folders of workbooks, the report pages' files) are kept by
    // each one's own lock while in use, whatever this lock says.
    lb::LockedTemporary::removeAllLeftovers();

    PickMode = lb::core::PickCode::None;
    CustProductPick = 0;
    OperatorNo.clear();
    OperatorPassword.clear();
    OperatorName.clear();
    // Last year's data stays loaded across restarts until this year's is restored.
    LastYearMode = PeriodCommands::lastYearLoaded();

    // The engine is part of the program; what can be missing is a usable database file. A run
    // that could not store what is entered must not start: it ends here with the reason.
    const QString problem = StartupChecks::databaseFileProblem(lb::AppPaths::databaseFile());
    if (!problem.isEmpty()) {
        refuseStart(problem);
        return;
    }

    Image1 = new QLabel(this);
    Image1->setScaledContents(true);
    Image1->setToolTip(QStringLiteral("右击设置背景图片"));
    Image1->setMinimumSize(1, 1);
    Image1->setPixmap(QPixmap::fromImage(BackgroundPicture::builtIn()));
    setCentralWidget(Image1);
    buildStatusBar();
    buildMenus();
}

Tfrmain::~Tfrmain() = default;

QPrinter& Tfrmain::printerSetup()
{
    if (!printer_)
        printer_ = std::make_unique<QPrinter>();
    return *printer_;
}

void Tfrmain::choosePrinter(QWidget* over)
{
    QPrintDialog dialog(&printerSetup(), over);
    dialog.setWindowTitle(QStringLiteral("打印设置"));
    lb::ui::Modal::exec(dialog);
}

QString Tfrmain::baseCaption() { return QStringLiteral("朔栎进销存(V2009)"); }

void Tfrmain::updateOperatorCaption()
{
    setWindowTitle(baseCaption() + QStringLiteral(" 操作员:") + OperatorName);
}

void Tfrmain::loadBackgroundPicture(const QString& path)
{
    Image1->setPixmap(QPixmap::fromImage(BackgroundPicture::load(path)));
}

void Tfrmain::refuseStart(const QString& reason)
{
    startRefused_ = true;
    terminated_ = true; // nothing to show, nothing to back up
    lb::ui::Dialogs::error(reason, QStringLiteral("朔栎软件"));
}

void Tfrmain::terminateProgram()
{
    terminated_ = true;
    // Every work window is left before the loop ends and the books close, each before the
    // window it was opened from; none can keep the program running.
    lb::ui::WorkWindow::endAll(this);
    emit programEnding();
}

void Tfrmain::buildStatusBar()
{
    statusFirst_ = new QLabel(this);
    statusLast_ = new QLabel(this);
    statusBar()->addWidget(statusFirst_, 1);
    statusBar()->addPermanentWidget(statusLast_);
}

void Tfrmain::FormShow()
{
    if (shown_ || startRefused_)
        return;
    shown_ = true;

    // 1. Status bar; the date in the system's short format, as the program's own is not set yet.
    statusFirst_->setText(QStringLiteral("朔栎软件-易用、通用，帮您管帐理财，朔栎软件,好用好便宜。"));
    statusLast_->setText(QStringLiteral("当前日期:")
                         + QLocale::system().toString(lb::Clock::today(), QLocale::ShortFormat));

    // 2. The connection.
    frdm->ADOCon.close();
    frdm->ADOCon.setDatabaseFile(lb::AppPaths::databaseFile());
    frdm->ADOCon.open();

    // 3. Options of older files, before the options row is first read.
    lb::core::SchemaUpgrade::upgradeOptions(*frdm);

    // 4. Splash.
    lb::db::Table& config = *frdm->ATCONFIG;
    config.open();
    const bool splash = config.fieldByName(QStringLiteral("flashbj")).asBoolean();
    config.close();
    if (splash) {
        TFrflash window(this);
        lb::ui::Modal::exec(window);
    }

    // 5. The company row stays open for the whole run.
    frdm->ATcompany->open();

    // 6. Dates are "yyyy-mm-dd" everywhere from here on: the text module knows no other form.

    // 7. Year-end reminder.
    if (StartupChecks::isYearEndReminderDay(lb::Clock::today()))
        lb::ui::Dialogs::message(StartupChecks::yearEndReminderText());

    // 8. Log-in; a failed or cancelled log-in has ended the run.
    if (!TFrpassword::logIn(this))
        return;

    // 9 and 10. The remaining upgrades.
    lb::core::SchemaUpgrade::upgradeOptions(*frdm);
    lb::core::SchemaUpgrade::upgradeDocuments(*frdm);
    lb::core::SchemaUpgrade::upgradeIndexes(*frdm);

    // 11. Display formats of the shared datasets.
    frdm->applyDisplayFormats();

    // 12 to 14. Option copies and the background picture.
    config.open();
    copyOptionFlags(config.fieldByName(QStringLiteral("bcbj")).asString(),
                    config.fieldByName(QStringLiteral("bcszbj")).asString());
    ImeName = config.fieldByName(QStringLiteral("imename")).asString().trimmed();
    const QString picture = config.fieldByName(QStringLiteral("picfilename")).asString().trimmed();
    config.close();
    if (!picture.isEmpty() && QFileInfo(picture).isFile()) {
        // A picture that no longer decodes keeps the built-in one: the stored path must not
        // stop the program from starting.
        try {
            loadBackgroundPicture(picture);
        } catch (const lb::FileOpenError&) {
        }
    }

    // 15 and 16.
    showFirstDashboardPage();
    FirstActivate = true;
}

void Tfrmain::copyOptionFlags(const QString& bcbj, const QString& bcszbj)
{
    SpecIsBarcode = bcbj == QLatin1String("T");
    EntryByProductCode = bcszbj == QLatin1String("F");
}

void Tfrmain::FormActivate()
{
    if (!FirstActivate)
        return;
    FirstActivate = false;
    lb::db::Table& config = *frdm->ATCONFIG;
    config.open();
    const bool skipQuickStart = config.fieldByName(QStringLiteral("startbj")).asBoolean();
    config.close();
    if (!skipQuickStart) {
        TFrstart window(this);
        lb::ui::Modal::exec(window);
    }
}

void Tfrmain::FormClose()
{
    if (terminated_ || closed_)
        return;
    closed_ = true;
    if (frdm) {
        frdm->ATcompany->close();
        frdm->ADOCon.close();
    }
    // While last year's data is loaded, BAK and the weekday folders keep this year's copies:
    // a backup now would put last year's books in their place.
    if (!LastYearMode
        && lb::ui::Dialogs::yesNo(QStringLiteral("若系统正常,则选择[是],否则选择[否]"), QStringLiteral("是否备份数据?"))) {
        const QList<ShutdownBackup::Incomplete> incomplete = ShutdownBackup::run();
        if (incomplete.isEmpty())
            lb::ui::Dialogs::message(QStringLiteral("数据备份完毕！ "));
        else
            lb::ui::Dialogs::warning(ShutdownBackup::warning(incomplete));
    }
    terminateProgram();
}

void Tfrmain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (shown_ || event->spontaneous())
        return;
    // An error of the first showing's own steps ends the run with its message: without a
    // database there is nothing the program could do.
    try {
        FormShow();
    } catch (const lb::Error& error) {
        lb::ui::Dialogs::error(error.shownText());
        terminateProgram();
    } catch (const std::exception& error) {
        lb::ui::Dialogs::error(QString::fromUtf8(error.what()));
        terminateProgram();
    }
}

void Tfrmain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void Tfrmain::closeEvent(QCloseEvent* event)
{
    // While a work window is open the main window cannot be reached: its close box and the
    // window manager's close key ask nothing, back up nothing and leave the work window be.
    if (!isEnabled()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

} // namespace lb::core
