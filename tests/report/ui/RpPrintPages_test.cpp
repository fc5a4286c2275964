// Printing stored pages: a printer that refuses a page, and the checked output a PDF goes through.
#include "platform/sys/Errors.h"
#include "report/ReportTestSupport.h"
#include "report/TRpPrinter.h"
#include "report/TRpReport.h"
#include "report/ui/RpPrintPages.h"
#include "report/ui/RpPrintPages_p.h"
#include "support/FullDisk.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QPageLayout>
#include <QPaintEngine>
#include <QPrintEngine>
#include <QPrinter>
#include <QTemporaryFile>

#include <climits>

namespace lb::report::ui {
namespace {

class PrintPagesTest : public test::ReportDatabase {
protected:
    // `report` made a list of sixty rows on three pages, whose AfterPrint counts into `printed`.
    TRpPrinter& threePages(TRpReport& report)
    {
        test::buildListReport(report, items.get());
        addRows(60);
        items->open();
        report.Prepare();
        report.AfterPrint = [this](TCustomRpReport&) { ++printed; };
        return *report.RpPrinter();
    }

    int printed = 0;
};

// A printer that refuses a page (its spooler dropped the job, the device went away) is named in
// the report of it, and the pages do not count as printed.
TEST_F(PrintPagesTest, APrinterThatRefusesAPageIsNamedAndThePrintDoesNotCount)
{
    TRpReport report;
    TRpPrinter& device = threePages(report);
    ASSERT_EQ(3, device.PageCount());
    // Takes the first page and refuses every one after it.
    struct RefusingPrinter : QPrinter {
        int asked = 0;
        bool newPage() override
        {
            ++asked;
            return false;
        }
    } printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("spooled.pdf")));
    printer.printEngine()->setProperty(QPrintEngine::PPK_PrinterName, QStringLiteral("前台"));
    try {
        RpPrintPages(device, printer);
        ADD_FAILURE() << "counted as printed";
    } catch (const Error& e) {
        EXPECT_EQ(QStringLiteral("无法在\"前台\"上完成打印").toStdString(), e.message().toStdString());
    }
    EXPECT_EQ(1, printer.asked);
    EXPECT_EQ(0, printed);
    EXPECT_NE(100, device.Progress());
}

// A print system that takes the pages without drawing them, and refuses a page or the finished
// job when told to: QPrinter's paint and print engines in one, as Qt's own engines are.
class FakePrintEngine : public QPaintEngine, public QPrintEngine {
public:
    int refusedPage = 0;    // the page whose newPage() is refused; 0: none
    bool refuseEnd = false; // end() refuses the finished job
    int pages = 0;          // the pages begun, the first by begin()
    bool aborted = false;

    bool begin(QPaintDevice*) override
    {
        state_ = QPrinter::Active;
        pages = 1;
        return true;
    }
    bool end() override
    {
        if (state_ == QPrinter::Active)
            state_ = QPrinter::Idle;
        return !refuseEnd;
    }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    Type type() const override { return QPaintEngine::User; }

    void setProperty(PrintEnginePropertyKey key, const QVariant& value) override { properties_[key] = value; }
    QVariant property(PrintEnginePropertyKey key) const override { return properties_.value(key); }
    bool newPage() override { return ++pages != refusedPage; }
    bool abort() override
    {
        aborted = true;
        state_ = QPrinter::Aborted;
        return true;
    }
    QPrinter::PrinterState printerState() const override { return state_; }
    // The page of the layout QPrinter keeps here, at 96 dots an inch.
    int metric(QPaintDevice::PaintDeviceMetric metric) const override
    {
        const auto layout = properties_.value(PPK_QPageLayout).value<QPageLayout>();
        const QRectF millimetres = layout.fullRect(QPageLayout::Millimeter);
        switch (metric) {
        case QPaintDevice::PdmWidth:
            return layout.fullRectPixels(dpi).width();
        case QPaintDevice::PdmHeight:
            return layout.fullRectPixels(dpi).height();
        case QPaintDevice::PdmWidthMM:
            return qRound(millimetres.width());
        case QPaintDevice::PdmHeightMM:
            return qRound(millimetres.height());
        case QPaintDevice::PdmNumColors:
            return INT_MAX;
        case QPaintDevice::PdmDepth:
            return 32;
        case QPaintDevice::PdmDevicePixelRatio:
            return 1;
        case QPaintDevice::PdmDevicePixelRatioScaled:
            return int(QPaintDevice::devicePixelRatioFScale());
        default:
            return dpi;
        }
    }

private:
    static constexpr int dpi = 96;
    QPrinter::PrinterState state_ = QPrinter::Idle;
    QMap<PrintEnginePropertyKey, QVariant> properties_;
};

// A printer whose print system is `engine`, which it does not own.
class FakePrinter : public QPrinter {
public:
    explicit FakePrinter(FakePrintEngine& engine)
    {
        setEngines(&engine, &engine);
        engine.setProperty(QPrintEngine::PPK_PrinterName, QStringLiteral("前台"));
    }
};

// What the print system refuses, and how much of the job it had taken by then.
struct Refusal {
    const char* name;
    int refusedPage;
    bool refuseEnd;
    int pagesTaken;
    bool aborted; // the pages taken are dropped
};

class PrintRefusedTest : public PrintPagesTest, public ::testing::WithParamInterface<Refusal> {};

// A printer that refuses a page or the finished job has not printed the report: the error names
// it and nothing counts as printed (no AfterPrint, no 100 % on the device); a page refused drops
// the job, so that the pages before it do not come out as if the report were whole.
TEST_P(PrintRefusedTest, TheErrorIsThrownAndNothingCountsAsPrinted)
{
    TRpReport report;
    TRpPrinter& device = threePages(report);
    ASSERT_EQ(3, device.PageCount());
    FakePrintEngine engine;
    engine.refusedPage = GetParam().refusedPage;
    engine.refuseEnd = GetParam().refuseEnd;
    FakePrinter printer(engine);
    try {
        RpPrintPages(device, printer);
        ADD_FAILURE() << "counted as printed";
    } catch (const Error& e) {
        EXPECT_EQ(QStringLiteral("无法在\"前台\"上完成打印").toStdString(), e.message().toStdString());
    }
    EXPECT_EQ(GetParam().pagesTaken, engine.pages);
    EXPECT_EQ(GetParam().aborted, engine.aborted);
    EXPECT_EQ(0, printed);
    EXPECT_NE(100, device.Progress());
}

INSTANTIATE_TEST_SUITE_P(Refusals, PrintRefusedTest,
                         ::testing::Values(Refusal{"TheFinishedJob", 0, true, 3, false}, Refusal{"ThePageAfterTheFirst", 2, false, 2, true}),
                         [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

// Qt's PDF engine stops writing after a write fails, but the output does not count on it: a
// write refused once (a disk that has room again after it) stays the output's failure, and no
// later write reaches the file, which would hold its later parts after a gap.
TEST_F(PrintPagesTest, AFailedWriteStaysTheOutputsFailureAndNothingIsWrittenAfterIt)
{
    const QString folder = dir.filePath(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile file(QDir(folder).filePath(QStringLiteral("list.pdf")));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    CheckedFileOutput output(file.handle());
    EXPECT_EQ(5, output.write("%PDF-"));
    {
        FullDisk disk(folder, 0, ENOSPC, 1);
        EXPECT_EQ(-1, output.write("1.4\n"));
        EXPECT_EQ(-1, output.write("%%EOF\n"));
    }
    EXPECT_EQ(ENOSPC, output.error());
    EXPECT_EQ(QByteArray("%PDF-"), file.readAll());
}

} // namespace
} // namespace lb::report::ui
