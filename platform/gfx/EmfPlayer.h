// Draws a checked enhanced metafile with QPainter at any scale.
#pragma once

#include "platform/gfx/EmfMetafile.h"

#include <QRectF>

class QPainter;

namespace lb::gfx {

// Plays the records the report engine writes (see EmfWriter); records of other types are passed
// over. The page's logical area is stretched over `target`, so the same page serves the
// preview at any zoom, thumbnails, printing and image export. The painter's state is restored
// afterwards. A target that would scale the page beyond kMinScale to kMaxScale, or stretch one
// axis more than kMaxAspect times the other, is left blank: no page is drawn like that, and
// glyphs at such scales are more than the renderer can take.
class EmfPlayer {
public:
    static constexpr double kMinScale = 1.0 / 1024;
    static constexpr double kMaxScale = 128; // a 96-dpi page on a 12288-dpi device
    static constexpr double kMaxAspect = 8;

    static void play(const EmfMetafile& page, QPainter& painter, const QRectF& target);
};

} // namespace lb::gfx
