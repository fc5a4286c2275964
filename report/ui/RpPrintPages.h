// Printing the stored pages of a report on a printer or into a PDF file.
#pragma once

#include <QEventLoop>
#include <QString>

class QPrinter;

namespace lb::report {
class TRpPrinter;
}

namespace lb::report::ui {

// Replays pages FirstPage to LastPage of `device` (0 for an open end) on the system printer
// `printer` (a PDF file goes through RpPrintPdf), one printer page each, the paper and
// orientation taken from the device's settings and the copies from them; the job goes by the
// device's JobTitle. The device's current page and progress follow the pages (its notice window
// hears of them), with `yield` events let in before each page; its cancelled flag aborts the
// job before the next page. Answers whether every page was printed (false: cancelled). Throws
// lb::Error "无法在"…"上开始打印" naming the printer when it cannot start, and
// "无法在"…"上完成打印" when it refuses a page or the end of the job; the pages then do not
// count as printed (no 100 % progress, no AfterPrint).
bool RpPrintPages(TRpPrinter& device, QPrinter& printer, QEventLoop::ProcessEventsFlags yield = QEventLoop::AllEvents);

// The same pages written into the PDF file `file`, titled with the device's DocumentName. They
// go into a hidden file beside it, every write checked, which is flushed and renamed over
// `file` only once the PDF is whole: a cancelled or failed print leaves `file` as it was (or
// absent) and nothing beside it, and so does an empty page range. Answers false when
// cancelled. Throws an lb::FileWriteError: when no file can be made beside `file`, the folder
// named when it may not be written, else "无法在"…"上开始打印"; when a write or flush fails,
// FileWrite::failure's text for a disk or quota without room or a folder that may not be
// written, else writeFailedText(file) with the system's words.
bool RpPrintPdf(TRpPrinter& device, const QString& file, QEventLoop::ProcessEventsFlags yield = QEventLoop::AllEvents);

// "无法在"…"上开始打印" for `destination`.
QString printCannotStartText(const QString& destination);
// "无法在"…"上完成打印" for `destination`.
QString printFailedText(const QString& destination);
// "无法写入文件" and `file`.
QString writeFailedText(const QString& file);

} // namespace lb::report::ui
