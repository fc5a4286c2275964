// Printing the stored pages of a report on a printer or into a PDF file.
#pragma once

class QPrinter;

namespace lb::report {
class TRpPrinter;
}

namespace lb::report::ui {

// Replays pages FirstPage to LastPage of `device` (0 for an open end) on `printer`, one printer
// page each, the paper and orientation taken from the device's settings and the copies from
// them. The device's progress follows the pages (its notice window hears of it); its cancelled
// flag aborts the job before the next page. Throws lb::Error when the printer cannot start.
void RpPrintPages(TRpPrinter& device, QPrinter& printer);

} // namespace lb::report::ui
