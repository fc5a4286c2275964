// One checked record of an enhanced metafile, decoded into the fields the player needs.
#pragma once

#include "platform/gfx/EmfFont.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

namespace lb::gfx {

// Only the fields of the record's type are meaningful; a record of a type the program does not
// draw keeps its type, offset and size and nothing else.
struct EmfRecord {
    quint32 type = 0;
    qint64 offset = 0;      // position of the record in the metafile's bytes
    quint32 size = 0;       // record size in bytes, a multiple of 4

    quint32 value = 0;      // SETTEXTCOLOR colour (0x00BBGGRR), SETTEXTALIGN flags, SETBKMODE mode,
                            // the object handle of SELECTOBJECT, DELETEOBJECT and the CREATE records
    QRect box;              // RECTANGLE, ELLIPSE, ROUNDRECT: the box (right and bottom exclusive);
                            // EXTTEXTOUTW: the clipping or opaquing rectangle
    QSize corner;           // ROUNDRECT: width and height of the corner ellipse
    QPoint point;           // MOVETOEX, LINETO: the point; EXTTEXTOUTW: the reference point

    quint32 style = 0;      // CREATEPEN pen style, CREATEBRUSHINDIRECT brush style
    qint32 penWidth = 0;    // CREATEPEN width in logical units (0 = one device pixel)
    quint32 color = 0;      // CREATEPEN, CREATEBRUSHINDIRECT colour (0x00BBGGRR)
    quint32 hatch = 0;      // CREATEBRUSHINDIRECT hatch style

    EmfFont font;           // EXTCREATEFONTINDIRECTW

    quint32 options = 0;    // EXTTEXTOUTW: ETO_ flags
    QString text;           // EXTTEXTOUTW: the characters
    std::vector<qint32> dx; // EXTTEXTOUTW: horizontal advance of each character; empty when absent
};

} // namespace lb::gfx
