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

void RpPrintPages(TRpPrinter& device, QPrinter& printer)
{
    const int count = device.PageCount();
    const int first = std::max(device.FirstPage > 0 ? device.FirstPage : 1, 1);
    const int last = std::min(device.LastPage > 0 ? device.LastPage : count, count);
    if (first > last)
        return;
    const TPrinterSettings& settings = device.PrinterSettings();
    const bool landscape = settings.Orientation == TPrinterOrientation::Landscape;
    // The paper in portrait; the layout turns it.
    const QSizeF paper(settings.TabledWidth() / 10.0, settings.TabledLength() / 10.0);
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(QPageSize(paper, QPageSize::Millimeter), landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0)));
    printer.setCopyCount(std::max(settings.Copies, 1));
    printer.setDocName(device.JobTitle);
    QPainter painter;
    if (!painter.begin(&printer))
        throw Error(QStringLiteral("Printing could not start on \"%1\"").arg(printer.printerName().isEmpty() ? printer.outputFileName() : printer.printerName()));
    const QRectF target = printer.pageLayout().fullRectPixels(printer.resolution());
    for (int number = first; number <= last; ++number) {
        QCoreApplication::processEvents();
        if (device.Cancelled()) {
            printer.abort();
            return;
        }
        device.SetProgress(int(Round(100.0 * (number - first) / (last - first + 1))));
        if (number > first)
            printer.newPage();
        if (const std::optional<gfx::EmfMetafile> page = device.GetPage(number))
            gfx::EmfPlayer::play(*page, painter, QRectF(QPointF(0, 0), target.size()));
    }
    painter.end();
    device.SetProgress(100);
    if (device.AfterPrint)
        device.AfterPrint();
}

} // namespace lb::report::ui
