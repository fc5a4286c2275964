// The scrolling page view of the preview, bound to an output device.
#pragma once

#include "report/TRpNoticeReceiver.h"

#include <QScrollArea>
#include <QSizeF>

class QTreeWidget;

namespace lb::report {
class TRpPrinter;
enum class TRpZoomState;
}

namespace lb::report::ui {

class TRpPreviewImage;

// Shows one page of its device at a zoom; pages arrive while the report still runs and the
// view shows the page asked for as soon as it exists.
class TRpPreview : public QScrollArea, public TRpNoticeReceiver {
    Q_OBJECT
public:
    explicit TRpPreview(QWidget* parent = nullptr);
    ~TRpPreview() override;

    TRpPrinter* RpPrinter() const { return device_; }
    // Binds the view to `device` (not owned; nullptr detaches) and shows page 1.
    void SetRpPrinter(TRpPrinter* device);
    int PageNumber() const { return pageNumber_; }
    // Takes only 1 to the device's page count.
    void SetPageNumber(int number);
    int Zoom() const { return zoom_; }
    // Takes only 2 to 2000.
    void SetZoom(int zoom);
    void ZoomToFit();
    void ZoomToWidth();
    TRpZoomState ZoomState() const { return state_; }
    // Fills `tree` from the device's outline entries, nested by level.
    void SetOutline(QTreeWidget* tree);
    TRpPreviewImage* Image() const { return image_; }
    // A page's size in screen pixels at zoom 100.
    QSizeF PageSize() const;

    void PagesAvailable(int count) override;
    void ProgressChanged(int percent) override;

signals:
    void pageAvailable(int count);
    void progressUpdate(int percent);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayOut();

    TRpPreviewImage* image_;
    TRpPrinter* device_ = nullptr;
    int pageNumber_ = 1;
    int zoom_ = 100;
    TRpZoomState state_;
};

} // namespace lb::report::ui
