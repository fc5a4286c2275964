// One page of a report drawn at the preview's zoom.
#pragma once

#include "platform/gfx/EmfMetafile.h"

#include <QWidget>

#include <optional>

namespace lb::report {
class TRpPrinter;
}

namespace lb::report::ui {

// Draws the page it holds (white, a black frame and a two-pixel shadow) stretched over its
// whole area less the frame.
class TRpPreviewImage : public QWidget {
    Q_OBJECT
public:
    explicit TRpPreviewImage(QWidget* parent = nullptr);

    // Page `number` of `device`, or no page.
    void SetPage(TRpPrinter* device, int number);
    int PageNumber() const { return pageNumber_; }
    bool HasPage() const { return page_.has_value(); }
    int Zoom() const { return zoom_; }
    void SetZoom(int zoom) { zoom_ = zoom; }

    // Paints `page` into `rect` as the preview and the thumbnails do.
    static void PaintPage(QPainter& painter, const gfx::EmfMetafile* page, const QRect& rect);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<gfx::EmfMetafile> page_;
    int pageNumber_ = 0;
    int zoom_ = 100;
};

} // namespace lb::report::ui
