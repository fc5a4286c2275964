// Program start: the application, the four long-lived forms, the message loop.
#include "core/TFrm_ErrorMessage.h"
#include "core/Tfrdm.h"
#include "core/Tfrmain.h"
#include "core/Tfrpickdate.h"
#include "documents/DocumentWindows.h"
#include "masterdata/MasterDataWindows.h"
#include "summaries/SummaryWindows.h"
#include "platform/ui/LbApplication.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/GuardSlot.h"
#include "platform/sys/ProcessMemory.h"
#include "report/ui/TRpStandardPreviewInterface.h"

#include <memory>

using lb::core::TFrm_ErrorMessage;
using lb::core::Tfrdm;
using lb::core::Tfrmain;
using lb::core::Tfrpickdate;
using lb::masterdata::registerMasterDataWindows;
using lb::summaries::registerSummaryWindows;

int main(int argc, char** argv)
{
    lb::returnLargeBlocksToSystem();
    lb::ui::LbApplication app(argc, argv);
    lb::ui::Dialogs::setApplicationTitle(QStringLiteral("朔栎软件"));
    lb::ui::LbApplication::installQtTranslations(); // without them Qt's own dialogs stay English
    // Each subsystem puts its windows into the registry the menus open them from.
    registerMasterDataWindows();
    lb::documents::registerDocumentWindows();
    registerSummaryWindows();

    // The main window first: it takes the single-instance guard and checks the books before
    // anything else runs.
    auto mainWindow = std::make_unique<Tfrmain>();
    frmain = mainWindow.get();
    // The report engine's preview and printing, on the printer chosen under 打印设置.
    lb::report::ui::TRpStandardPreviewInterface reportWindows;
    reportWindows.SetPrinterProvider([] { return frmain ? &frmain->printerSetup() : nullptr; });
    lb::report::TRpPreviewInterface::Install(&reportWindows);
    if (mainWindow->startRefused())
        return 1;
    // Queued, so that the modal window that ends the run closes before the loop ends. Every
    // loop ends, a modal window's too, without asking any window whether it may close: the end
    // has given each its way out already (terminateProgram).
    QObject::connect(mainWindow.get(), &Tfrmain::programEnding, &app,
                     lb::ui::guardSlot(&app, [] { QCoreApplication::exit(0); }), Qt::QueuedConnection);
    auto dataModule = std::make_unique<Tfrdm>();
    frdm = dataModule.get();
    auto errorForm = std::make_unique<TFrm_ErrorMessage>(); // installs the global handler
    Frm_ErrorMessage = errorForm.get();
    auto datePicker = std::make_unique<Tfrpickdate>();
    frpickdate = datePicker.get();

    // The first showing connects, logs in and upgrades; a failed log-in ends the run here.
    mainWindow->showMaximized();
    const int result = mainWindow->terminated() ? 0 : app.exec();

    // The windows closed on the way out go while the datasets they point at are still there.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // Freed in reverse order of creation; the data module closes the connection.
    datePicker.reset();
    errorForm.reset();
    dataModule.reset();
    mainWindow.reset();
    return result;
}
