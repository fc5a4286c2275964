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
#include <QPrintEngine>
#include <QPrinter>
#include <QTemporaryFile>

namespace lb::report::ui {
namespace {

using PrintPagesTest = test::ReportDatabase;

// A printer that refuses a page (its spooler dropped the job, the device went away) is named in
// the report of it, and the pages do not count as printed.
TEST_F(PrintPagesTest, APrinterThatRefusesAPageIsNamedAndThePrintDoesNotCount)
{
    TRpReport report;
    test::buildListReport(report, items.get());
    addRows(60);
    items->open();
    report.Prepare();
    TRpPrinter& device = *report.RpPrinter();
    ASSERT_EQ(3, device.PageCount());
    int printed = 0;
    report.AfterPrint = [&printed](TCustomRpReport&) { ++printed; };
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
