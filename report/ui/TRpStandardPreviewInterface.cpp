// The preview shown while a run generates, printing with progress, and the print dialog.
#include "report/ui/TRpStandardPreviewInterface.h"

#include "platform/ui/Dialogs.h"
#include "platform/ui/Modal.h"
#include "platform/ui/WindowPlacement.h"
#include "report/TCustomRpReport.h"
#include "report/TRpPrinter.h"
#include "report/ui/RpPrintPages.h"
#include "report/ui/TRpProgressForm.h"
#include "report/ui/TRpStandardPreview.h"

#include <QApplication>
#include <QEventLoop>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace lb::report::ui {

TRpStandardPreviewInterface::TRpStandardPreviewInterface() = default;

TRpStandardPreviewInterface::~TRpStandardPreviewInterface()
{
    if (TRpPreviewInterface::Installed() == this)
        TRpPreviewInterface::Install(nullptr);
}

QString TRpStandardPreviewInterface::NoPrinterText()
{
    return QStringLiteral("There is no printer installed. Choose a printer or a PDF file under Printer setup.");
}

QPrinter& TRpStandardPreviewInterface::Printer()
{
    if (provider_) {
        if (QPrinter* printer = provider_())
            return *printer;
    }
    if (!own_)
        own_ = std::make_unique<QPrinter>();
    return *own_;
}

TRpStandardPreview* TRpStandardPreviewInterface::Show(TRpPrinter& device, bool modal)
{
    auto* preview = new TRpStandardPreview(device);
    if (modal)
        preview->setWindowModality(Qt::ApplicationModal);
    // In the middle of the screen, whichever window asked for it and wherever that one is.
    lb::ui::WindowPlacement::centreOver(*preview, nullptr);
    preview->show();
    return preview;
}

void TRpStandardPreviewInterface::ShowModal(TRpPrinter& device, const std::function<void()>& generate)
{
    QPointer<TRpStandardPreview> preview = Show(device, true);
    try {
        if (generate)
            generate();
    } catch (...) {
        if (preview)
            preview->close();
        throw;
    }
    if (!preview || !preview->isVisible() || !preview->Device())
        return;
    // The pages are all there; the window stays until the user closes it.
    QEventLoop loop;
    QObject::connect(preview, &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec();
}

void TRpStandardPreviewInterface::ShowModeless(TRpPrinter& device, const std::function<void()>& generate)
{
    QPointer<TRpStandardPreview> preview = Show(device, false);
    try {
        if (generate)
            generate();
    } catch (...) {
        if (preview)
            preview->close();
        throw;
    }
}

bool TRpStandardPreviewInterface::HasPrinter()
{
    const QPrinter& printer = Printer();
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return !printer.outputFileName().isEmpty();
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

void TRpStandardPreviewInterface::PrintStoredPages(TRpPrinter& device)
{
    if (!HasPrinter()) {
        lb::ui::Dialogs::warning(NoPrinterText());
        return;
    }
    TRpProgressForm progress(device, QApplication::activeWindow());
    progress.show();
    TRpNoticeReceiver* watching = device.NoticeWindow();
    device.SetNoticeWindow(&progress);
    device.ClearCancel();
    try {
        RpPrintPages(device, Printer());
    } catch (...) {
        device.SetNoticeWindow(watching);
        throw;
    }
    device.SetNoticeWindow(watching);
}

bool TRpStandardPreviewInterface::PrinterSetup(TCustomRpReport& report)
{
    QPrinter& printer = Printer();
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setWindowTitle(QStringLiteral("Printer setup"));
    TRpPrinter* device = report.RpPrinter();
    const bool finished = device && device->State() == TRpPrinter::TRpPrinterState::Finished;
    const int count = finished ? std::max(device->PageCount(), 1) : 9999;
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    dialog.setOption(QAbstractPrintDialog::PrintToFile);
    dialog.setMinMax(1, count);
    TRpReportPrinterSettings& settings = report.PrinterSettings;
    if (settings.FirstPage > 0 || settings.LastPage > 0) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(std::max(settings.FirstPage, 1), settings.LastPage > 0 ? settings.LastPage : count);
    } else {
        printer.setPrintRange(QPrinter::AllPages);
        if (finished)
            printer.setFromTo(1, count);
    }
    printer.setCopyCount(std::max(settings.Copies, 1));
    printer.setPageOrientation(report.Page().Orientation() == TPrinterOrientation::Landscape ? QPageLayout::Landscape
                                                                                            : QPageLayout::Portrait);
    if (lb::ui::Modal::exec(dialog) != QDialog::Accepted)
        return false;
    settings.Copies = printer.copyCount();
    settings.Collate = printer.collateCopies() ? 1 : 0;
    if (printer.printRange() == QPrinter::PageRange) {
        settings.FirstPage = printer.fromPage();
        settings.LastPage = printer.toPage();
    } else {
        settings.FirstPage = 0;
        settings.LastPage = 0;
    }
    return true;
}

} // namespace lb::report::ui
