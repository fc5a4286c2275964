// Stored pages replayed on a printer or written into a PDF file.
#include "report/ui/RpPrintPages.h"
#include "report/ui/RpPrintPages_p.h"

#include "platform/gfx/EmfFont.h"
#include "platform/gfx/EmfPlayer.h"
#include "platform/sys/DurableFile.h"
#include "platform/sys/Errors.h"
#include "platform/sys/FileWrite.h"
#include "report/RpRound.h"
#include "report/TRpPrinter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTemporaryFile>

#include <algorithm>
#include <functional>

namespace lb::report::ui {

namespace {

// The pages FirstPage to LastPage of a device, within those it holds; empty when none is left.
struct PageRange {
    int first = 1;
    int last = 0;
    bool empty() const { return first > last; }
};

PageRange pagesToPrint(const TRpPrinter& device)
{
    const int count = device.PageCount();
    return {std::max(device.FirstPage > 0 ? device.FirstPage : 1, 1), std::min(device.LastPage > 0 ? device.LastPage : count, count)};
}

// Replays `pages` of `device` on `output`, laid out on the device's paper. Answers false when
// the device was cancelled, after `abort` has dropped the job. Throws printCannotStartText or
// printFailedText naming `shown` (a refused page drops the job first).
bool playPages(TRpPrinter& device, QPagedPaintDevice& output, PageRange pages, const QString& shown,
               QEventLoop::ProcessEventsFlags yield, const std::function<void()>& abort)
{
    const TPrinterSettings& settings = device.PrinterSettings();
    const bool landscape = settings.Orientation == TPrinterOrientation::Landscape;
    // The paper in portrait; the layout turns it.
    const QSizeF paper(settings.TabledWidth() / 10.0, settings.TabledLength() / 10.0);
    output.setPageLayout(QPageLayout(QPageSize(paper, QPageSize::Millimeter), landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&output))
        throw Error(printCannotStartText(shown));
    const QRectF target = output.pageLayout().fullRectPixels(output.logicalDpiX());
    for (int number = pages.first; number <= pages.last; ++number) {
        QCoreApplication::processEvents(yield);
        if (device.Cancelled()) {
            abort();
            return false;
        }
        device.SetPrintingPage(number, int(Round(100.0 * (number - pages.first) / (pages.last - pages.first + 1))));
        // A job that refuses a page has lost it; the pages after it would print as if it had not.
        if (number > pages.first && !output.newPage()) {
            abort();
            throw Error(printFailedText(shown));
        }
        if (const std::optional<gfx::EmfMetafile> page = device.GetPage(number))
            gfx::EmfPlayer::play(*page, painter, QRectF(QPointF(0, 0), target.size()));
    }
    if (!painter.end())
        throw Error(printFailedText(shown));
    return true;
}

// Only once the pages are all out, on paper or in their file, do they count as printed.
void printed(TRpPrinter& device)
{
    device.SetProgress(100);
    if (device.AfterPrint)
        device.AfterPrint();
}

} // namespace

qint64 CheckedFileOutput::writeData(const char* data, qint64 count)
{
    if (error_ == 0)
        error_ = FileWrite::writeAt(fd_, pos(), data, count);
    return error_ == 0 ? count : -1;
}

QString printCannotStartText(const QString& destination)
{
    return QStringLiteral("无法在\"%1\"上开始打印").arg(destination);
}

QString printFailedText(const QString& destination)
{
    return QStringLiteral("无法在\"%1\"上完成打印").arg(destination);
}

QString writeFailedText(const QString& file)
{
    return QStringLiteral("无法写入文件%1").arg(QDir::toNativeSeparators(file));
}

bool RpPrintPages(TRpPrinter& device, QPrinter& printer, QEventLoop::ProcessEventsFlags yield)
{
    const PageRange pages = pagesToPrint(device);
    if (pages.empty())
        return true;
    printer.setFullPage(true);
    printer.setCopyCount(std::max(device.PrinterSettings().Copies, 1));
    printer.setDocName(device.JobTitle);
    if (!playPages(device, printer, pages, printer.printerName(), yield, [&printer] { printer.abort(); }))
        return false;
    printed(device);
    return true;
}

bool RpPrintPdf(TRpPrinter& device, const QString& file, QEventLoop::ProcessEventsFlags yield)
{
    const PageRange pages = pagesToPrint(device);
    if (pages.empty())
        return true;
    const QFileInfo target(file);
    const QString shown = QDir::toNativeSeparators(file);
    // Removed on every way out but the rename.
    QTemporaryFile partial(target.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
    if (!partial.open())
        throw FileWriteError(FileFailure::ofFolder(target.absolutePath(), printCannotStartText(shown)));
    {
        CheckedFileOutput output(partial.handle());
        QPdfWriter writer(&output);
        // The pages were recorded at this resolution: one page pixel is one pixel of the PDF.
        writer.setResolution(gfx::EmfFont::kPixelsPerInch);
        writer.setTitle(device.DocumentName());
        if (!playPages(device, writer, pages, shown, yield, [] {}))
            return false;
        if (output.error() != 0)
            throw FileWriteError(FileFailure::ofWrite(output.error(), file,
                                                      writeFailedText(file) + QStringLiteral(": ") + FileWrite::systemError(output.error())));
    }
    // The file replaced keeps its permissions; a new one gets the usual ones, not the
    // temporary file's owner-only.
    partial.setPermissions(target.exists() ? target.permissions()
                                           : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser
                                                 | QFile::ReadGroup | QFile::ReadOther);
    if (const FileResult replaced = DurableFile::replaceFile(partial.fileName(), file); !replaced.ok())
        throw FileWriteError(replaced.failure(), writeFailedText(file));
    partial.setAutoRemove(false);
    printed(device);
    return true;
}

} // namespace lb::report::ui
