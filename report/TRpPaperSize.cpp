// The paper table: millimetres, width x length, portrait.
#include "report/TRpPaperSize.h"

namespace lb::report {

std::optional<QSizeF> PaperSizeMm(TRpPaperSize size)
{
    switch (size) {
    case TRpPaperSize::Letter:
    case TRpPaperSize::LetterSmall: return QSizeF(215.9, 279.4);
    case TRpPaperSize::Tabloid: return QSizeF(279.4, 431.8);
    case TRpPaperSize::Ledger: return QSizeF(431.8, 279.4);
    case TRpPaperSize::Legal: return QSizeF(215.9, 355.6);
    case TRpPaperSize::Statement: return QSizeF(139.7, 215.9);
    case TRpPaperSize::Executive: return QSizeF(190.5, 254.0);
    case TRpPaperSize::A3: return QSizeF(297.0, 420.0);
    case TRpPaperSize::A4:
    case TRpPaperSize::A4Small: return QSizeF(210.0, 297.0);
    case TRpPaperSize::A5: return QSizeF(148.0, 210.0);
    case TRpPaperSize::B4: return QSizeF(250.0, 354.0);
    case TRpPaperSize::B5: return QSizeF(182.0, 257.0);
    case TRpPaperSize::Folio: return QSizeF(215.9, 330.2);
    case TRpPaperSize::Quarto: return QSizeF(215.0, 275.0);
    case TRpPaperSize::rp10X14: return QSizeF(254.0, 355.6);
    case TRpPaperSize::rp11X17: return QSizeF(279.4, 431.8);
    case TRpPaperSize::Note: return QSizeF(215.9, 279.0);
    case TRpPaperSize::Env9: return QSizeF(98.43, 225.4);
    case TRpPaperSize::Env10: return QSizeF(104.8, 241.3);
    case TRpPaperSize::Env11: return QSizeF(114.3, 263.5);
    case TRpPaperSize::Env12: return QSizeF(101.6, 279.4);
    case TRpPaperSize::Env14: return QSizeF(127.0, 292.1);
    case TRpPaperSize::CSheet:
    case TRpPaperSize::DSheet:
    case TRpPaperSize::ESheet: return QSizeF(100.0, 100.0);
    case TRpPaperSize::Default:
    case TRpPaperSize::Custom: break;
    }
    return std::nullopt;
}

} // namespace lb::report
