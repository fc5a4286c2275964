// Printing the stored pages of a report on a printer or into a PDF file.
#pragma once

#include <QEventLoop>
#include <QString>

class QPrinter;

namespace lb::report {
class TRpPrinter;
}

namespace lb::report::ui {

// Replays pages FirstPage to LastPage of `device` (0 for an open end) on `printer`, one printer
// page each, the paper and orientation taken from the device's settings and the copies from
// them. The device's current page and progress follow the pages (its notice window hears of
// them), with `yield` events let in before each page; its cancelled flag aborts the job before
// the next page. Answers whether every page was printed (false: cancelled). Throws lb::Error
// "无法在"…"上开始打印" naming `destination` (else the printer or its output file) when the
// printer cannot start.
bool RpPrintPages(TRpPrinter& device, QPrinter& printer, const QString& destination = QString(),
                  QEventLoop::ProcessEventsFlags yield = QEventLoop::AllEvents);

// "无法在"…"上开始打印" for `destination`.
QString printCannotStartText(const QString& destination);

} // namespace lb::report::ui
