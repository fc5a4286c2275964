// The thumbnails of a report's pages, each drawn once at the size shown and kept.
#pragma once

#include <QImage>
#include <QSize>

#include <unordered_map>
#include <unordered_set>

namespace lb::report {
class TRpPrinter;
}

namespace lb::report::ui {

// A thumbnail is its page drawn (white, the page, the frame and the shadow, as the page view
// paints it) into an image of its own the first time it is shown; a repaint copies the image
// instead of playing the whole page again, which during a long run would cost more than the
// run's own drawing. The images kept take at most kBudgetBytes, those shown least recently
// going first, so a report of thousands of pages holds a few dozen of them, not thousands.
class PageThumbnails {
public:
    static constexpr qint64 kBudgetBytes = 8 * 1024 * 1024;

    // Page `number` of `device` drawn at `size` (transparent where the frame leaves the cell
    // showing); a null image while the page is not stored. Throws lb::Error for a damaged page
    // the first time it is asked for, and gives a null image for it afterwards, so that every
    // repaint does not fail (and report) again.
    QImage Picture(TRpPrinter& device, int number, const QSize& size);
    // Forgets every image: the device's pages were replaced (a report file loaded).
    void Clear();

    // The images kept and their bytes.
    int Count() const { return int(kept_.size()); }
    qint64 Bytes() const { return bytes_; }

private:
    struct Kept {
        QImage image;
        quint64 lastShown = 0;
    };
    void Forget(int number);

    std::unordered_map<int, Kept> kept_;
    std::unordered_set<int> unreadable_;
    quint64 shown_ = 0;
    qint64 bytes_ = 0;
};

} // namespace lb::report::ui
