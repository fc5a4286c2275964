// Record numbers, stock objects and flag values of the enhanced metafile format.
#pragma once

#include <QtGlobal>

namespace lb::gfx::emf {

// Record types the program writes and plays.
enum RecordType : quint32 {
    EMR_HEADER = 1,
    EMR_EOF = 14,
    EMR_SETBKMODE = 18,
    EMR_SETTEXTALIGN = 22,
    EMR_SETTEXTCOLOR = 24,
    EMR_MOVETOEX = 27,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40,
    EMR_ELLIPSE = 42,
    EMR_RECTANGLE = 43,
    EMR_ROUNDRECT = 44,
    EMR_LINETO = 54,
    EMR_EXTCREATEFONTINDIRECTW = 82,
    EMR_EXTTEXTOUTW = 84,
};

constexpr quint32 kSignature = 0x464D4520; // " EMF" read as a little-endian word
constexpr quint32 kVersion = 0x00010000;
constexpr int kHeaderBaseSize = 88;      // header record without its extensions
constexpr int kHeaderSize = 108;         // header record with both extensions, as written here
constexpr int kLogFontSize = 92;         // LOGFONTW
constexpr int kFaceNameChars = 32;
constexpr int kTextRecordFixedSize = 76; // EMR_EXTTEXTOUTW up to its string

// Stock objects: a handle with the high bit set names a built-in object.
constexpr quint32 kStockObject = 0x80000000;
enum StockObject : quint32 {
    WHITE_BRUSH = 0,
    LTGRAY_BRUSH = 1,
    GRAY_BRUSH = 2,
    DKGRAY_BRUSH = 3,
    BLACK_BRUSH = 4,
    NULL_BRUSH = 5,
    WHITE_PEN = 6,
    BLACK_PEN = 7,
    NULL_PEN = 8,
    SYSTEM_FONT = 13,
    DEFAULT_GUI_FONT = 17,
};

enum BkMode : quint32 { TRANSPARENT = 1, OPAQUE = 2 };

// Text alignment flags; the vertical ones are not single bits (TA_BASELINE includes TA_BOTTOM).
enum TextAlign : quint32 {
    TA_LEFT = 0,
    TA_TOP = 0,
    TA_UPDATECP = 1,
    TA_RIGHT = 2,
    TA_CENTER = 6,
    TA_BOTTOM = 8,
    TA_BASELINE = 24,
    TA_RTLREADING = 256,
};
constexpr quint32 kHorizontalAlignMask = 6;
constexpr quint32 kVerticalAlignMask = 24;

enum TextOptions : quint32 {
    ETO_OPAQUE = 0x2,
    ETO_CLIPPED = 0x4,
    ETO_NO_RECT = 0x100,
    ETO_PDY = 0x2000,
};

enum PenStyle : quint32 {
    PS_SOLID = 0,
    PS_DASH = 1,
    PS_DOT = 2,
    PS_DASHDOT = 3,
    PS_DASHDOTDOT = 4,
    PS_NULL = 5,
    PS_INSIDEFRAME = 6,
};
constexpr quint32 kPenStyleMask = 0x0F;

enum BrushStyle : quint32 { BS_SOLID = 0, BS_NULL = 1, BS_HATCHED = 2 };

enum HatchStyle : quint32 {
    HS_HORIZONTAL = 0,
    HS_VERTICAL = 1,
    HS_FDIAGONAL = 2,
    HS_BDIAGONAL = 3,
    HS_CROSS = 4,
    HS_DIAGCROSS = 5,
};

enum FontWeight : qint32 { FW_NORMAL = 400, FW_BOLD = 700 };
enum CharSet : quint8 { ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, GB2312_CHARSET = 134 };

} // namespace lb::gfx::emf
