// The print users wait longest for: a year's sales flow into the preview as the sales summary's
// 打印 runs it, the window shown with its thumbnails while the pages are made.
#include "bench/BigBooks.h"
#include "bench/PeakMemory.h"
#include "core/Tfrdm.h"
#include "core/Tfrmain.h"
#include "core/WindowRegistry.h"
#include "report/TRpPrinter.h"
#include "report/ui/TRpPreview.h"
#include "report/ui/TRpPreviewImage.h"
#include "report/ui/TRpStandardPreview.h"
#include "report/ui/TRpStandardPreviewInterface.h"
#include "summaries/KindSummaryCatalog.h"
#include "summaries/KindSummaryWindow.h"
#include "summaries/ReportPeriod.h"
#include "summaries/SummaryWindows.h"

#include <QApplication>
#include <QPointer>
#include <QTableWidget>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <chrono>
#include <optional>

namespace {

using Clock = std::chrono::steady_clock;

double milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

lb::report::ui::TRpStandardPreview* shownPreview()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* shown = qobject_cast<lb::report::ui::TRpStandardPreview*>(window); shown && shown->isVisible())
            return shown;
    }
    return nullptr;
}

// Watches one print into the preview: when page 1 is first painted in the page view, and the
// end of the run, at which it closes the window as a user would.
class PreviewWatch : public QObject {
public:
    explicit PreviewWatch(Clock::time_point start) : start_(start)
    {
        // The first events the run lets through come after the window is shown.
        QTimer::singleShot(0, this, [this] { attach(); });
    }

    std::optional<Clock::duration> firstPage;
    std::optional<Clock::duration> finished;
    int pages = 0;
    int thumbRows = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !firstPage && preview_ && preview_->RpPreview->Image() == watched
            && preview_->RpPreview->Image()->HasPage())
            firstPage = Clock::now() - start_;
        return false;
    }

private:
    void attach()
    {
        preview_ = shownPreview();
        if (!preview_)
            return;
        preview_->RpPreview->Image()->installEventFilter(this);
        connect(preview_->RpPreview, &lb::report::ui::TRpPreview::pageAvailable, this, [this](int count) {
            lb::report::TRpPrinter* device = preview_ ? preview_->Device() : nullptr;
            if (finished || !device || device->State() != lb::report::TRpPrinter::TRpPrinterState::Finished)
                return;
            finished = Clock::now() - start_;
            pages = count;
            // The window shows the end of the run (status, thumbnails) before it is closed.
            QTimer::singleShot(0, this, [this] {
                if (!preview_)
                    return;
                thumbRows = preview_->ThumbGrid->rowCount();
                preview_->close();
            });
        });
    }

    Clock::time_point start_;
    QPointer<lb::report::ui::TRpStandardPreview> preview_;
};

// 打印 of the sales summary over 2026 (209,998 lines at scale 1, 5,834 pages), its flow list
// opened by the window as the user opens it. `run_ms` is the whole print from the click until
// the window has shown the last page's notice; `first_page_ms` until page 1 is painted;
// `rss_MB` the peak resident size during the print (run alone for a figure that is the
// print's).
void BM_YearFlowPreview(benchmark::State& state)
{
    lb::bench::BookFolder books(int(state.range(0)));
    lb::summaries::ReportPeriod::store(frdm->ADOCon, {QDate(2026, 1, 1), QDate(2026, 12, 31)});
    lb::summaries::registerSummaryWindows();
    lb::report::ui::TRpStandardPreviewInterface windows;
    lb::report::TRpPreviewInterface::Install(&windows);
    const lb::summaries::KindSummaryConfig sales = lb::summaries::KindSummaryCatalog::byKey(QStringLiteral("Tfrouttotal"));
    frmain->setEnabled(false);
    auto* window = qobject_cast<lb::summaries::KindSummaryWindow*>(lb::core::WindowRegistry::instance().create(sales.key, frmain));
    window->showWork();
    QApplication::processEvents();
    Clock::duration run{};
    Clock::duration firstPage{};
    int pages = 0;
    int thumbRows = 0;
    double peakMb = 0;
    for (auto _ : state) {
        lb::bench::resetPeakMemory();
        const Clock::time_point start = Clock::now();
        PreviewWatch watch(start);
        window->reportClick();
        peakMb = std::max(peakMb, lb::bench::peakMemoryMb());
        if (!watch.finished || !watch.firstPage) {
            state.SkipWithError("the preview did not show page 1 and the end of the run");
            break;
        }
        run += *watch.finished;
        firstPage += *watch.firstPage;
        pages = watch.pages;
        thumbRows = watch.thumbRows;
        state.SetIterationTime(std::chrono::duration<double>(*watch.finished).count());
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    window->close();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    lb::report::TRpPreviewInterface::Install(nullptr);
    const double n = double(state.iterations());
    state.counters["pages"] = pages;
    state.counters["thumb_rows"] = thumbRows;
    state.counters["run_ms"] = milliseconds(run) / n;
    state.counters["first_page_ms"] = milliseconds(firstPage) / n;
    state.counters["rss_MB"] = peakMb;
}

} // namespace

BENCHMARK(BM_YearFlowPreview)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
