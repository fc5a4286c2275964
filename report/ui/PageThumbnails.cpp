// Thumbnails: a page drawn into an image once, kept within a memory budget.
#include "report/ui/PageThumbnails.h"

#include "report/TRpPrinter.h"
#include "report/ui/TRpPreviewImage.h"

#include <QPainter>

#include <algorithm>
#include <optional>

namespace lb::report::ui {

QImage PageThumbnails::Picture(TRpPrinter& device, int number, const QSize& size)
{
    const auto found = kept_.find(number);
    if (found != kept_.end() && found->second.image.size() == size) {
        found->second.lastShown = ++shown_;
        return found->second.image;
    }
    if (unreadable_.contains(number))
        return QImage();
    std::optional<gfx::EmfMetafile> page;
    try {
        page = device.GetPage(number);
    } catch (...) {
        unreadable_.insert(number);
        throw;
    }
    if (!page || size.isEmpty())
        return QImage();
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        TRpPreviewImage::PaintPage(painter, &*page, image.rect());
    }
    Forget(number);
    bytes_ += image.sizeInBytes();
    kept_[number] = Kept{image, ++shown_};
    while (bytes_ > kBudgetBytes && kept_.size() > 1) {
        const auto oldest = std::min_element(kept_.begin(), kept_.end(), [](const auto& a, const auto& b) {
            return a.second.lastShown < b.second.lastShown;
        });
        Forget(oldest->first);
    }
    return image;
}

void PageThumbnails::Forget(int number)
{
    const auto found = kept_.find(number);
    if (found == kept_.end())
        return;
    bytes_ -= found->second.image.sizeInBytes();
    kept_.erase(found);
}

void PageThumbnails::Clear()
{
    kept_.clear();
    unreadable_.clear();
    bytes_ = 0;
}

} // namespace lb::report::ui
