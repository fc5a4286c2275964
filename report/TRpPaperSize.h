// Paper sizes of report pages and their dimensions.
#pragma once

#include <QSizeF>

#include <optional>

namespace lb::report {

enum class TRpPaperSize {
    Default, Letter, LetterSmall, Tabloid, Ledger, Legal, Statement, Executive, A3, A4, A4Small,
    A5, B4, B5, Folio, Quarto, rp10X14, rp11X17, Note, Env9, Env10, Env11, Env12, Env14, CSheet,
    DSheet, ESheet, Custom
};

enum class TPrinterOrientation { Portrait, Landscape };

// Width and length in millimetres, portrait; none for Default and Custom, whose size comes from
// the device or the layout.
std::optional<QSizeF> PaperSizeMm(TRpPaperSize size);

} // namespace lb::report
