// Draws a checked enhanced metafile with QPainter at any scale.
#pragma once

#include "platform/gfx/EmfMetafile.h"

#include <QRectF>

class QPainter;

namespace lb::gfx {

// Plays the records the report engine writes (see EmfWriter); records of other types are passed
// over. The page's logical area is stretched over `target`, so the same page serves the
// preview at any zoom, thumbnails, printing and image export. The painter's state is restored
// afterwards.
class EmfPlayer {
public:
    static void play(const EmfMetafile& page, QPainter& painter, const QRectF& target);
};

} // namespace lb::gfx
