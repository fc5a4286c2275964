// Thumbnail pictures: a page drawn once at its size, kept within the budget.
#include "report/ui/PageThumbnails.h"

#include "report/ReportTestSupport.h"
#include "report/ui/TRpPreviewImage.h"

#include <QPainter>

namespace lb::report::ui {
namespace {

class PageThumbnailsTest : public test::ReportDatabase {
protected:
    // A three-page report, prepared.
    TRpPrinter& device()
    {
        test::buildListReport(report, items.get());
        addRows(60);
        items->open();
        report.Prepare();
        return *report.RpPrinter();
    }

    TRpReport report;
};

TEST_F(PageThumbnailsTest, APageIsDrawnOnceAtItsSizeAndKeptWithinTheBudget)
{
    TRpPrinter& pages = device();
    PageThumbnails thumbnails;
    const QSize small(120, 170);
    const QImage first = thumbnails.Picture(pages, 2, small);
    // The page as the page view paints it, the cell showing through around the frame.
    QImage painted(small, QImage::Format_ARGB32_Premultiplied);
    painted.fill(Qt::transparent);
    {
        QPainter painter(&painted);
        const std::optional<gfx::EmfMetafile> page = pages.GetPage(2);
        TRpPreviewImage::PaintPage(painter, &*page, painted.rect());
    }
    EXPECT_EQ(painted, first);
    EXPECT_EQ(first.cacheKey(), thumbnails.Picture(pages, 2, small).cacheKey()) << "kept, not drawn again";
    EXPECT_EQ(QSize(150, 212), thumbnails.Picture(pages, 2, QSize(150, 212)).size()) << "drawn again at a new size";
    EXPECT_TRUE(thumbnails.Picture(pages, 4, small).isNull()) << "a page not made yet";

    // Pictures of about 5 MB each: only the one shown last fits the budget.
    const QSize large(1100, 1200);
    thumbnails.Picture(pages, 1, large);
    const qint64 last = thumbnails.Picture(pages, 3, large).cacheKey();
    EXPECT_EQ(1, thumbnails.Count());
    EXPECT_LE(thumbnails.Bytes(), PageThumbnails::kBudgetBytes);
    EXPECT_EQ(last, thumbnails.Picture(pages, 3, large).cacheKey());
    thumbnails.Clear();
    EXPECT_EQ(0, thumbnails.Bytes());
    EXPECT_NE(last, thumbnails.Picture(pages, 3, large).cacheKey());
}

} // namespace
} // namespace lb::report::ui
