// Thumbnail pictures: a page drawn once at its size, kept within the budget; a page that could
// not be read, forgotten when a report file is loaded.
#include "report/ui/PageThumbnails.h"

#include "platform/sys/Errors.h"
#include "report/ReportTestSupport.h"
#include "report/ui/TRpPreviewImage.h"

#include <QFile>
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

// A page that could not be read stays blank without asking again, until a report file loaded
// brings another page of that number.
TEST_F(PageThumbnailsTest, APageThatCouldNotBeReadIsForgottenWhenAReportFileIsLoaded)
{
    report.PrinterSettings.MemoryLimit = 2000; // the pages spill into a temporary file at once
    TRpPrinter& pages = device();
    const QString saved = dir.filePath(QStringLiteral("list.RPF"));
    pages.Save(saved);
    {
        QFile damaged(pages.PageList().Stream()->TempFileName());
        ASSERT_TRUE(damaged.open(QIODevice::ReadWrite));
        damaged.write(QByteArray(int(damaged.size()), 'x'));
    }
    PageThumbnails thumbnails;
    const QSize size(120, 170);
    EXPECT_THROW(thumbnails.Picture(pages, 2, size), lb::Error);
    EXPECT_TRUE(thumbnails.Picture(pages, 2, size).isNull());

    pages.Load(saved);
    thumbnails.Clear();
    EXPECT_FALSE(thumbnails.Picture(pages, 2, size).isNull());
}

} // namespace
} // namespace lb::report::ui
