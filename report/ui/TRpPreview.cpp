// Page view: zoom, fit, page changes and the device's notices.
#include "report/ui/TRpPreview.h"

#include "report/RpRound.h"
#include "report/TCustomRpReport.h"
#include "report/TRpPrinter.h"
#include "report/ui/TRpPreviewImage.h"

#include <QScrollBar>
#include <QTreeWidget>

namespace lb::report::ui {

TRpPreview::TRpPreview(QWidget* parent)
    : QScrollArea(parent), image_(new TRpPreviewImage), state_(TRpZoomState::rpZoomOther)
{
    resize(250, 250);
    setWidget(image_);
    setWidgetResizable(false);
    setAlignment(Qt::AlignCenter);
}

TRpPreview::~TRpPreview()
{
    SetRpPrinter(nullptr);
}

void TRpPreview::SetRpPrinter(TRpPrinter* device)
{
    if (device_ && device_->NoticeWindow() == this)
        device_->SetNoticeWindow(nullptr);
    device_ = device;
    if (device_) {
        device_->SetNoticeWindow(this);
        device_->SetPreviewShown(true);
    }
    pageNumber_ = 1;
    image_->SetPage(device_, 1);
    LayOut();
}

void TRpPreview::SetPageNumber(int number)
{
    if (number == pageNumber_ && image_->HasPage())
        return;
    if (!device_ || number < 1 || number > device_->PageList().PageCount())
        return;
    pageNumber_ = number;
    image_->SetPage(device_, number);
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

QSizeF TRpPreview::PageSize() const
{
    if (!device_)
        return {215.9 * 96 / 25.4, 279.4 * 96 / 25.4};
    // A stored page knows its size; before the first page the settings' paper stands in.
    if (device_->PageList().PageCount() > 0) {
        if (const auto page = device_->GetPage(1))
            return page->sizeLogical();
    }
    return {device_->SheetWidth() * device_->ScaleX(), device_->SheetLength() * device_->ScaleY()};
}

void TRpPreview::LayOut()
{
    const QSizeF page = PageSize();
    image_->SetZoom(zoom_);
    image_->resize(int(page.width() * zoom_ / 100) + 4, int(page.height() * zoom_ / 100) + 4);
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

void TRpPreview::SetZoom(int zoom)
{
    if (zoom < 2 || zoom > 2000)
        return;
    zoom_ = zoom;
    state_ = TRpZoomState::rpZoomOther;
    LayOut();
}

void TRpPreview::ZoomToFit()
{
    const QSizeF page = PageSize();
    const QSize view = viewport()->size();
    const int zoom = int(std::min(Round(view.width() / page.width() * 95), Round(view.height() / page.height() * 95)));
    SetZoom(std::max(zoom, 2));
    state_ = TRpZoomState::rpZoomToFit;
}

void TRpPreview::ZoomToWidth()
{
    const QSizeF page = PageSize();
    SetZoom(std::max(int(Round(viewport()->width() / page.width() * (device_ ? 90 : 95))), 2));
    state_ = TRpZoomState::rpZoomToWidth;
}

void TRpPreview::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    if (state_ == TRpZoomState::rpZoomToFit)
        ZoomToFit();
    else if (state_ == TRpZoomState::rpZoomToWidth)
        ZoomToWidth();
}

void TRpPreview::SetOutline(QTreeWidget* tree)
{
    tree->clear();
    if (!device_)
        return;
    std::vector<QTreeWidgetItem*> levels;
    for (const TRpOutline::Entry& entry : device_->Outline().Entries()) {
        const size_t level = size_t(std::max(entry.level, 0));
        levels.resize(std::min(levels.size(), level));
        auto* item = levels.empty() ? new QTreeWidgetItem(tree) : new QTreeWidgetItem(levels.back());
        item->setText(0, entry.caption);
        levels.push_back(item);
    }
}

void TRpPreview::PagesAvailable(int count)
{
    if (!image_->HasPage() && pageNumber_ <= count) {
        image_->SetPage(device_, pageNumber_);
        if (pageNumber_ == 1)
            LayOut();
    }
    emit pageAvailable(count);
}

void TRpPreview::ProgressChanged(int percent)
{
    emit progressUpdate(percent);
}

} // namespace lb::report::ui
