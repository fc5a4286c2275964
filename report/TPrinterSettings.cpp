// Paper of the settings and device codes of the trays.
#include "report/TPrinterSettings.h"

#include "report/RpRound.h"

namespace lb::report {

int BinCode(TRpBin bin)
{
    static const int codes[] = {1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 14};
    return codes[int(bin)];
}

int TPrinterSettings::TabledWidth() const
{
    const std::optional<QSizeF> mm = PaperSizeMm(PaperSize);
    return mm ? int(Round(mm->width() * 10)) : PaperWidth;
}

int TPrinterSettings::TabledLength() const
{
    const std::optional<QSizeF> mm = PaperSizeMm(PaperSize);
    return mm ? int(Round(mm->height() * 10)) : PaperLength;
}

} // namespace lb::report
