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
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScopeGuard>

namespace lb::report::ui {

TRpStandardPreviewInterface::TRpStandardPreviewInterface() = default;

TRpStandardPreviewInterface::~TRpStandardPreviewInterface()
{
    if (TRpPreviewInterface::Installed() == this)
        TRpPreviewInterface::Install(nullptr);
}

QString TRpStandardPreviewInterface::PdfDialogCaption()
{
    return QStringLiteral("打印到PDF文件");
}

QString TRpStandardPreviewInterface::ReplaceQuestion(const QString& file)
{
    return QStringLiteral("文件%1已经存在,是否覆盖?").arg(QDir::toNativeSeparators(file));
}

QString TRpStandardPreviewInterface::BeyondPaperQuestion()
{
    return QStringLiteral("报表内容超出纸张宽度,部分内容将不能打印,是否继续?");
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

bool TRpStandardPreviewInterface::MayReplace(const QString& file)
{
    return lb::ui::Dialogs::yesNo(ReplaceQuestion(file), QStringLiteral("提示！"), true);
}

QString TRpStandardPreviewInterface::AskPdfFile(const TRpPrinter& device)
{
    QString title = device.DocumentName();
    title.replace(QLatin1Char('/'), QLatin1Char('_'));
    QFileDialog dialog(QApplication::activeWindow(), PdfDialogCaption());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The question is ours, with 否 as the answer Enter gives.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("PDF文件 (*.pdf)"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.setDirectory(lastFolder_.isEmpty() ? QDir::homePath() : lastFolder_);
    if (!title.isEmpty())
        dialog.selectFile(title + QStringLiteral(".pdf"));
    for (;;) {
        if (lb::ui::Modal::exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        const QString file = dialog.selectedFiles().first();
        lastFolder_ = QFileInfo(file).absolutePath();
        if (!QFileInfo::exists(file) || MayReplace(file))
            return file;
    }
}

void TRpStandardPreviewInterface::Print(TRpPrinter& device, const std::function<void()>& generate)
{
    QPrinter& chosen = Printer();
    QString pdf;
    if (chosen.outputFormat() == QPrinter::PdfFormat && !chosen.outputFileName().isEmpty()) {
        pdf = chosen.outputFileName();
        if (QFileInfo::exists(pdf) && !MayReplace(pdf))
            return;
    } else if (chosen.outputFormat() != QPrinter::NativeFormat || QPrinterInfo::availablePrinterNames().isEmpty()) {
        pdf = AskPdfFile(device);
        if (pdf.isEmpty())
            return;
    }

    const TCustomRpReport* report = device.ParentReport();
    const bool showProgress = !report || report->ShowProgress;
    TRpProgressForm progress(device, QApplication::activeWindow());
    TRpNoticeReceiver* watching = device.NoticeWindow();
    const auto restore = qScopeGuard([&device, watching] { device.SetNoticeWindow(watching); });
    if (showProgress) {
        // Modal, so that nothing else is clicked while events come in between pages.
        progress.setWindowModality(Qt::ApplicationModal);
        lb::ui::WindowPlacement::centreOver(progress, nullptr);
        progress.show();
        device.SetNoticeWindow(&progress);
    }
    if (generate) {
        generate();
        if (device.Cancelled() || device.State() != TRpPrinter::TRpPrinterState::Finished)
            return;
        // A layout made for wider paper, run again on a narrower sheet, keeps its controls where
        // they were: what lies beyond the sheet would be lost without a word.
        if (device.DrawnBeyondWidth() && !lb::ui::Dialogs::yesNo(BeyondPaperQuestion(), QStringLiteral("提示！"), true))
            return;
    } else {
        device.ClearCancel();
    }
    const QEventLoop::ProcessEventsFlags yield = showProgress ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents;
    if (pdf.isEmpty())
        RpPrintPages(device, chosen, yield);
    else
        RpPrintPdf(device, pdf, yield);
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
    report.Page().SetOrientation(printer.pageLayout().orientation() == QPageLayout::Landscape ? TPrinterOrientation::Landscape
                                                                                              : TPrinterOrientation::Portrait);
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
