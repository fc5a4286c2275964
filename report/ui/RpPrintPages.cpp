// Stored pages replayed on a printer.
#include "report/ui/RpPrintPages.h"

#include "platform/gfx/EmfPlayer.h"
#include "platform/sys/Errors.h"
#include "report/RpRound.h"
#include "report/TRpPrinter.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace lb::report::ui {

QString printCannotStartText(const QString& destination)
{
    return QStringLiteral("无法在\"%1\"上开始打印").arg(destination);
}

bool RpPrintPages(TRpPrinter& device, QPrinter& printer, const QString& destination, QEventLoop::ProcessEventsFlags yield)
{
    const int count = device.PageCount();
    const int first = std::max(device.FirstPage > 0 ? device.FirstPage : 1, 1);
    const int last = std::min(device.LastPage > 0 ? device.LastPage : count, count);
    if (first > last)
        return true;
    const TPrinterSettings& settings = device.PrinterSettings();
    const bool landscape = settings.Orientation == TPrinterOrientation::Landscape;
    // The paper in portrait; the layout turns it.
    const QSizeF paper(settings.TabledWidth() / 10.0, settings.TabledLength() / 10.0);
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(QPageSize(paper, QPageSize::Millimeter), landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0)));
    printer.setCopyCount(std::max(settings.Copies, 1));
    // A print job goes by the report's title; a PDF file is titled as the document it holds.
    printer.setDocName(printer.outputFormat() == QPrinter::PdfFormat ? device.DocumentName() : device.JobTitle);
    QPainter painter;
    if (!painter.begin(&printer)) {
        const QString shown = !destination.isEmpty() ? destination
                              : printer.printerName().isEmpty() ? printer.outputFileName() : printer.printerName();
        throw Error(printCannotStartText(shown));
    }
    const QRectF target = printer.pageLayout().fullRectPixels(printer.resolution());
    for (int number = first; number <= last; ++number) {
        QCoreApplication::processEvents(yield);
        if (device.Cancelled()) {
            printer.abort();
            return false;
        }
        device.SetPrintingPage(number, int(Round(100.0 * (number - first) / (last - first + 1))));
        if (number > first)
            printer.newPage();
        if (const std::optional<gfx::EmfMetafile> page = device.GetPage(number))
            gfx::EmfPlayer::play(*page, painter, QRectF(QPointF(0, 0), target.size()));
    }
    painter.end();
    device.SetProgress(100);
    if (device.AfterPrint)
        device.AfterPrint();
    return true;
}

} // namespace lb::report::ui
