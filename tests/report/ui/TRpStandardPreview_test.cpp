// The preview over a generated report, offscreen: navigation, zoom, go-to, thumbnails, search,
// save and load, printing a page range into a PDF, a PDF the disk cannot take, a print drawing
// beyond the sheet, closing while pages are generated, and a picture of a page.
#include "platform/sys/Errors.h"
#include "platform/ui/ScriptedDialogs.h"
#include "platform/ui/ScriptedModals.h"
#include "report/ReportTestSupport.h"
#include "report/TRpReport.h"
#include "report/ui/TRpPreview.h"
#include "report/ui/TRpPreviewImage.h"
#include "report/ui/TRpProgressForm.h"
#include "report/ui/TRpStandardPreview.h"
#include "report/ui/TRpStandardPreviewInterface.h"
#include "report/ui/TSearchDlg.h"
#include "support/FullDisk.h"
#include "support/PrintedPreview.h"
#include "support/ReportedErrors.h"
#include "support/Typing.h"
#include "support/UnflushableFolder.h"
#include "support/WriteProtect.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QScreen>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPointer>
#include <QProcess>
#include <QProgressBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <iterator>

namespace lb::report::ui {
namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// "RPF" files in the temporary folder: the page store's spill files.
QStringList spillFiles()
{
    return QDir::temp().entryList({QStringLiteral("RPF*")}, QDir::Files);
}

// The temporary folder of the process pointed at a folder of its own while it lives, so that
// the spill files of other test programs running at the same time are not counted as ours.
class OwnTemporaryFolder {
public:
    OwnTemporaryFolder() { qputenv("TMPDIR", folder_.path().toLocal8Bit()); }
    ~OwnTemporaryFolder() { wasSet_ ? qputenv("TMPDIR", previous_) : qunsetenv("TMPDIR"); }

private:
    bool wasSet_ = qEnvironmentVariableIsSet("TMPDIR");
    QByteArray previous_ = qgetenv("TMPDIR");
    QTemporaryDir folder_;
};

class PreviewTest : public test::ReportDatabase {
protected:
    void SetUp() override
    {
        ReportDatabase::SetUp();
        test::buildListReport(report, items.get());
        report.ReportTitle = QStringLiteral("朔栎打印预览");
        TRpPreviewInterface::Install(&windows);
    }

    // A three-page report prepared, with its preview open over the pages.
    TRpStandardPreview& openPreview(int rows = 60)
    {
        addRows(rows);
        items->open();
        report.Prepare();
        preview = new TRpStandardPreview(*report.RpPrinter());
        preview->show();
        return *preview;
    }

    void TearDown() override
    {
        if (preview)
            preview->close();
        QApplication::processEvents();
    }

    QString status() const { return preview->StatusPanels[1]->text(); }

    TRpStandardPreviewInterface windows;
    TRpReport report;
    QPointer<TRpStandardPreview> preview;
};

TEST_F(PreviewTest, NavigationKeepsWithinTheReport)
{
    TRpStandardPreview& window = openPreview();
    ASSERT_EQ(3, report.RpPrinter()->PageCount());
    EXPECT_EQ(QStringLiteral("Page 1 of 3"), status());
    EXPECT_EQ(QStringLiteral("朔栎打印预览"), window.windowTitle());
    EXPECT_EQ(QStringLiteral("朔栎打印预览"), window.StatusPanels[2]->text());
    window.ToolButton2->click();
    EXPECT_EQ(QStringLiteral("Page 2 of 3"), status());
    window.LastPage->click();
    window.ToolButton2->click();
    EXPECT_EQ(QStringLiteral("Page 3 of 3"), status());
    window.PreviousPage->click();
    EXPECT_EQ(2, window.RpPreview->PageNumber());
    window.FirstPage->click();
    window.PreviousPage->click();
    EXPECT_EQ(QStringLiteral("Page 1 of 3"), status());

    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
    QApplication::sendEvent(&window, &end);
    EXPECT_EQ(3, window.RpPreview->PageNumber());
    QKeyEvent up(QEvent::KeyPress, Qt::Key_PageUp, Qt::NoModifier);
    QApplication::sendEvent(&window, &up);
    EXPECT_EQ(2, window.RpPreview->PageNumber());
    QKeyEvent first(QEvent::KeyPress, Qt::Key_PageUp, Qt::ControlModifier);
    QApplication::sendEvent(&window, &first);
    EXPECT_EQ(1, window.RpPreview->PageNumber());
    // Thumbnails: one row per page; choosing one shows its page.
    EXPECT_EQ(3, window.ThumbGrid->rowCount());
    window.ThumbGrid->selectRow(2);
    EXPECT_EQ(QStringLiteral("Page 3 of 3"), status());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&window, &escape);
    QApplication::processEvents();
    EXPECT_TRUE(preview.isNull() || !preview->isVisible());
}

TEST_F(PreviewTest, AltCClosesThePreviewAsItOpens)
{
    // At the report's default width of 500 pixels, too, with every button of the tool bar shown.
    pressAccessKey(&openPreview(), 'C');
    QApplication::processEvents();
    EXPECT_TRUE(preview.isNull() || !preview->isVisible());
}

TEST_F(PreviewTest, KeysTurnPagesWhileThePageViewOrTheThumbnailsHaveTheFocus)
{
    TRpStandardPreview& window = openPreview();
    const auto press = [](QWidget* target, Qt::Key key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    };
    for (QWidget* target : {static_cast<QWidget*>(window.RpPreview), window.RpPreview->viewport(),
                            static_cast<QWidget*>(window.ThumbGrid)}) {
        window.FirstPage->click();
        press(target, Qt::Key_PageDown);
        EXPECT_EQ(2, window.RpPreview->PageNumber()) << target->objectName().toStdString();
        press(target, Qt::Key_End);
        EXPECT_EQ(3, window.RpPreview->PageNumber()) << target->objectName().toStdString();
        press(target, Qt::Key_PageUp);
        EXPECT_EQ(2, window.RpPreview->PageNumber()) << target->objectName().toStdString();
        press(target, Qt::Key_Home);
        EXPECT_EQ(QStringLiteral("Page 1 of 3"), status()) << target->objectName().toStdString();
    }
}

TEST_F(PreviewTest, GoToPageTakesOnlyPagesOfTheReport)
{
    TRpStandardPreview& window = openPreview();
    const struct {
        const char* typed;
        int page;
    } cases[] = {{"2", 2}, {"0", 1}, {"3", 3}, {"abc", 1}, {"3", 3}, {"99", 1}};
    for (const auto& c : cases) {
        lb::ui::ScriptedDialogs dialogs;
        dialogs.type(QString::fromLatin1(c.typed));
        window.GotoPageButton->click();
        EXPECT_EQ(c.page, window.RpPreview->PageNumber()) << c.typed;
        ASSERT_EQ(1u, dialogs.shown().size());
        EXPECT_EQ(QStringLiteral("Select a page from 1 to 3"), dialogs.shown()[0].caption);
        EXPECT_EQ(QStringLiteral("Go to page >>"), dialogs.shown()[0].text);
    }
}

TEST_F(PreviewTest, ZoomTakesTwoToTwoThousandPercent)
{
    TRpStandardPreview& window = openPreview();
    TRpPreview& view = *window.RpPreview;
    view.SetZoom(2000);
    EXPECT_EQ(2000, view.Zoom());
    for (int refused : {2001, 1, 0}) {
        view.SetZoom(refused);
        EXPECT_EQ(2000, view.Zoom()) << refused;
    }
    view.SetZoom(50);
    // A4 at 96 pixels per inch is 794 x 1123: half of it plus the frame and shadow.
    EXPECT_EQ(QSize(397 + 4, 561 + 4), view.Image()->size());
    window.ZoomToWidth->click();
    EXPECT_EQ(TRpZoomState::rpZoomToWidth, view.ZoomState());
    EXPECT_NEAR(view.viewport()->width() * 0.9, view.Image()->width(), 5);
    window.ZoomFit->click();
    EXPECT_EQ(TRpZoomState::rpZoomToFit, view.ZoomState());
    EXPECT_LE(view.Image()->height(), view.viewport()->height());
}

TEST_F(PreviewTest, WithoutThumbnailsAndSearchTheirTabsAndTheSearchButtonAreHidden)
{
    report.PrevShowThumbs = false;
    report.PrevShowSearch = false;
    TRpStandardPreview& window = openPreview();
    QApplication::processEvents();
    EXPECT_FALSE(window.FindButton->isVisible());
    EXPECT_FALSE(window.Tabs->isVisible());
    EXPECT_TRUE(window.GotoPageButton->isVisible());
}

TEST_F(PreviewTest, SearchFindsWholeCharactersCaseFoldedOrNot)
{
    TRpStandardPreview& window = openPreview();
    const auto found = [&window](const QString& text, bool matchCase) {
        lb::ui::ScriptedModals modals;
        modals.then([&](QDialog& dialog) {
            auto& search = dynamic_cast<TSearchDlg&>(dialog);
            search.Edit1->setText(text);
            search.CheckBox1->setChecked(matchCase);
            search.SpeedButton2->click();
        });
        window.FindButton->click();
        QStringList items;
        for (int i = 0; i < window.SearchResultBox->count(); ++i)
            items.append(window.SearchResultBox->item(i)->text());
        return items;
    };
    EXPECT_EQ(QStringList({"Page 3"}), found(QStringLiteral("TOTAL"), false));
    EXPECT_EQ(QStringLiteral("TOTAL"), window.SearchTextLabel->text());
    EXPECT_TRUE(window.SearchResultBox->isEnabled());
    EXPECT_EQ(QStringList({"No matching text"}), found(QStringLiteral("TOTAL"), true));
    EXPECT_FALSE(window.SearchResultBox->isEnabled());
    EXPECT_EQ(QStringList({"Page 1", "Page 2", "Page 3"}), found(QStringLiteral("货品名称"), true));
    EXPECT_EQ(QStringList({"Page 2"}), found(QStringLiteral("row 24"), false));
    // Enter in the text box searches as the Search button does.
    {
        lb::ui::ScriptedModals modals;
        modals.then([](QDialog& dialog) {
            auto& search = dynamic_cast<TSearchDlg&>(dialog);
            search.Edit1->setText(QStringLiteral("ROW 24"));
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(search.Edit1, &enter);
        });
        window.FindButton->click();
        EXPECT_EQ(QStringLiteral("ROW 24"), window.SearchTextLabel->text());
        EXPECT_EQ(QStringLiteral("Page 2"), window.SearchResultBox->item(0)->text());
    }
    // Cancel leaves the results as they were.
    lb::ui::ScriptedModals modals;
    modals.then([](QDialog& dialog) { dynamic_cast<TSearchDlg&>(dialog).SpeedButton1->click(); });
    window.FindButton->click();
    EXPECT_EQ(QStringLiteral("Page 2"), window.SearchResultBox->item(0)->text());
}

TEST_F(PreviewTest, SavedReportLoadsBackAsItsPages)
{
    TRpStandardPreview& window = openPreview();
    const QString file = dir.filePath(QStringLiteral("list.RPF"));
    const auto choose = [](const QString& name) {
        return [name](QDialog& dialog) {
            auto& files = dynamic_cast<QFileDialog&>(dialog);
            files.selectFile(name);
            files.QDialog::done(QDialog::Accepted);
        };
    };
    {
        lb::ui::ScriptedModals modals;
        modals.then(choose(file));
        window.SaveReport->click();
    }
    ASSERT_TRUE(QFileInfo::exists(file));
    // Into a fresh preview of a one-page report.
    window.close();
    report.FreeRpPrinter();
    connection.execute(QStringLiteral("DELETE FROM item"));
    items->close();
    items->open();
    report.Prepare();
    ASSERT_EQ(1, report.RpPrinter()->PageCount());
    preview = new TRpStandardPreview(*report.RpPrinter());
    preview->show();
    {
        lb::ui::ScriptedModals modals;
        modals.then(choose(file));
        preview->LoadReport->click();
    }
    EXPECT_EQ(QStringLiteral("Page 1 of 3"), status());
    EXPECT_EQ(file, preview->StatusPanels[2]->text());
    EXPECT_EQ(3, preview->ThumbGrid->rowCount());
    EXPECT_FALSE(preview->PrintSetup->isEnabled());
    EXPECT_TRUE(preview->Print->isEnabled());
    EXPECT_EQ(TRpPaperSize::A4, report.RpPrinter()->PrinterSettings().PaperSize);
    EXPECT_TRUE(test::textsOf(test::printedPages(*report.RpPrinter())[1]).contains("Row 24"));
    // A missing file is refused with a message and the pages stay.
    lb::ui::ScriptedDialogs dialogs;
    lb::ui::ScriptedModals modals;
    modals.then(choose(dir.filePath(QStringLiteral("missing.RPF"))));
    preview->LoadReport->click();
    EXPECT_EQ(QStringList({"File does not exist"}), dialogs.texts());
    EXPECT_EQ(3, report.RpPrinter()->PageCount());
}

// The thumbnails show kept pictures of their pages, and a report file loaded replaces them.
TEST_F(PreviewTest, ThumbnailsAreKeptPicturesThatALoadedFileReplaces)
{
    TRpStandardPreview& window = openPreview(20); // one page: one thumbnail, no scroll bar
    const QString file = dir.filePath(QStringLiteral("list.RPF"));
    const auto choose = [&file](QDialog& dialog) {
        auto& files = dynamic_cast<QFileDialog&>(dialog);
        files.selectFile(file);
        files.QDialog::done(QDialog::Accepted);
    };
    {
        lb::ui::ScriptedModals modals;
        modals.then(choose);
        window.SaveReport->click();
    }
    window.close();
    report.FreeRpPrinter();
    // As many pages, other texts.
    connection.execute(QStringLiteral("UPDATE item SET code = 'Other ' || id"));
    items->close();
    items->open();
    report.Prepare();
    preview = new TRpStandardPreview(*report.RpPrinter());
    preview->show();
    // Laid out, then resized, so that the thumbnails take the width they keep after the load.
    QApplication::processEvents();
    preview->resize(preview->size() + QSize(1, 0));
    QApplication::processEvents();
    preview->GoToPage(1);
    const QImage shown = preview->ThumbGrid->viewport()->grab().toImage();
    EXPECT_GE(preview->Thumbnails().Count(), 1) << "the rows painted keep their pictures";
    {
        lb::ui::ScriptedModals modals;
        modals.then(choose);
        preview->LoadReport->click();
    }
    ASSERT_EQ(file, preview->StatusText());
    preview->GoToPage(1);
    EXPECT_NE(shown, preview->ThumbGrid->viewport()->grab().toImage()) << "the loaded pages show";
}

// A page the store can no longer read (its temporary file damaged under it) leaves its thumbnail
// blank and reaches the error handler after the paint, instead of unwinding through the view.
TEST_F(PreviewTest, AThumbnailOfAPageThatCannotBeReadStaysBlankAndTheErrorIsReported)
{
    const OwnTemporaryFolder temporaryFolder;
    report.PrinterSettings.MemoryLimit = 2000; // the pages spill into a temporary file at once
    TRpStandardPreview& window = openPreview(20);
    const QString spill = report.RpPrinter()->PageList().Stream()->TempFileName();
    ASSERT_FALSE(spill.isEmpty());
    {
        QFile damaged(spill);
        ASSERT_TRUE(damaged.open(QIODevice::ReadWrite));
        damaged.write(QByteArray(int(damaged.size()), 'x'));
    }
    ReportedErrors errors;
    window.ThumbGrid->viewport()->grab();
    EXPECT_EQ(0, errors.count()) << "nothing is reported from inside the paint";
    QApplication::processEvents();
    EXPECT_GE(errors.count(), 1);
    EXPECT_EQ(0, window.Thumbnails().Count());
}

TEST_F(PreviewTest, PrintingAPageRangeMakesAPdfOfThosePages)
{
    TRpStandardPreview& window = openPreview();
    const QString pdf = dir.filePath(QStringLiteral("list.pdf"));
    windows.Printer().setOutputFormat(QPrinter::PdfFormat);
    windows.Printer().setOutputFileName(pdf);
    // The range chosen in the print dialog: pages 2 to 3.
    {
        lb::ui::ScriptedModals modals;
        modals.then([](QDialog& dialog) {
            // As the user does it: "Pages from 2 to 3" in the dialog's range.
            dialog.findChild<QRadioButton*>(QStringLiteral("printRange"))->setChecked(true);
            dialog.findChild<QSpinBox*>(QStringLiteral("from"))->setValue(2);
            dialog.findChild<QSpinBox*>(QStringLiteral("to"))->setValue(3);
            dialog.accept();
        });
        window.PrintSetup->click();
    }
    EXPECT_EQ(2, report.PrinterSettings.FirstPage);
    EXPECT_EQ(3, report.PrinterSettings.LastPage);
    EXPECT_EQ(0, report.Tag);
    window.Print->click();
    ASSERT_TRUE(QFileInfo::exists(pdf));
    EXPECT_TRUE(run(QStringLiteral("pdfinfo"), {pdf}).contains(QRegularExpression("Pages:\\s+2\\n")));
    const QStringList pages = run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).split(QChar('\f'));
    ASSERT_GE(pages.size(), 2);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("第2"))) << pages[0].toStdString();
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Row 24")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("货品名称")));
    EXPECT_FALSE(pages[0].contains(QStringLiteral("Row 23")));
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Total")));
    EXPECT_EQ(100, report.RpPrinter()->Progress());
}

// The save dialog of a print into a PDF file: where it opened and the file it proposed, then the
// file chosen (an empty one cancels the dialog).
struct PdfDialog {
    QString caption;
    QString proposed;
};

lb::ui::ScriptedModals::Step choosePdf(std::vector<PdfDialog>& seen, const QString& file)
{
    return [&seen, file](QDialog& dialog) {
        auto& files = dynamic_cast<QFileDialog&>(dialog);
        seen.push_back({files.windowTitle(), files.selectedFiles().value(0)});
        if (file.isEmpty())
            return files.reject();
        files.selectFile(file);
        files.QDialog::done(QDialog::Accepted);
    };
}

QByteArray bytesOf(const QString& file)
{
    QFile read(file);
    return read.open(QIODevice::ReadOnly) ? read.readAll() : QByteArray();
}

TEST_F(PreviewTest, WithoutPrinterPrintAsksForAPdfFileAndReplacesOneOnlyWhenTold)
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "a printer is installed here";
    report.DocumentTitle = QStringLiteral("销售单");
    TRpStandardPreview& window = openPreview();
    const QString pdf = dir.filePath(QStringLiteral("销售单.pdf"));
    std::vector<PdfDialog> seen;
    lb::ui::ScriptedDialogs dialogs;
    {
        lb::ui::ScriptedModals modals;
        modals.then(choosePdf(seen, pdf));
        window.Print->click();
    }
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(TRpStandardPreviewInterface::PdfDialogCaption(), seen[0].caption);
    EXPECT_EQ(QDir::home().filePath(QStringLiteral("销售单.pdf")), seen[0].proposed);
    EXPECT_EQ(3, lb::test::PrintedPreview::pdfPageCount(pdf));
    // Nothing else is left beside it.
    EXPECT_EQ(QStringList({"kvdb.db", "销售单.pdf"}), QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name));
    const QByteArray first = bytesOf(pdf);

    // The same file again, from the folder used last: 否 keeps it and asks for another file.
    window.RpPreview->RpPrinter()->FirstPage = 2;
    {
        lb::ui::ScriptedModals modals;
        modals.then(choosePdf(seen, pdf)).then(choosePdf(seen, QString()));
        dialogs.answer(lb::ui::DialogAnswer::No);
        window.Print->click();
    }
    ASSERT_EQ(3u, seen.size());
    EXPECT_EQ(pdf, seen[1].proposed);
    ASSERT_EQ(1u, dialogs.shown().size());
    EXPECT_EQ(TRpStandardPreviewInterface::ReplaceQuestion(pdf), dialogs.shown()[0].text);
    EXPECT_EQ(QStringLiteral("文件%1已经存在,是否覆盖?").arg(pdf), dialogs.shown()[0].text);
    EXPECT_EQ(lb::ui::DialogButtons::YesNo, dialogs.shown()[0].buttons);
    EXPECT_TRUE(dialogs.shown()[0].negativeDefault);
    EXPECT_EQ(first, bytesOf(pdf));
    // 是 replaces it.
    {
        lb::ui::ScriptedModals modals;
        modals.then(choosePdf(seen, pdf));
        dialogs.answer(lb::ui::DialogAnswer::Yes);
        window.Print->click();
    }
    EXPECT_EQ(2u, dialogs.shown().size());
    EXPECT_EQ(2, lb::test::PrintedPreview::pdfPageCount(pdf));
}

TEST_F(PreviewTest, APdfChosenUnderPrinterSetupIsReplacedOnlyWhenTold)
{
    TRpStandardPreview& window = openPreview();
    const QString pdf = dir.filePath(QStringLiteral("chosen.pdf"));
    windows.Printer().setOutputFormat(QPrinter::PdfFormat);
    windows.Printer().setOutputFileName(pdf);
    {
        QFile old(pdf);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    lb::ui::ScriptedDialogs dialogs;
    dialogs.answer(lb::ui::DialogAnswer::No);
    lb::ui::ScriptedModals modals; // no save dialog is expected
    window.Print->click();
    EXPECT_EQ(QStringList({TRpStandardPreviewInterface::ReplaceQuestion(pdf)}), dialogs.texts());
    EXPECT_EQ(QByteArray("old"), bytesOf(pdf));
    dialogs.answer(lb::ui::DialogAnswer::Yes);
    window.Print->click();
    EXPECT_EQ(3, lb::test::PrintedPreview::pdfPageCount(pdf));
    EXPECT_TRUE(modals.titles().isEmpty());
    EXPECT_EQ(pdf, windows.Printer().outputFileName());
}

// A report run for the print that draws left of the sheet, or right of it, asks before it
// prints (否 the default, which writes nothing); 是 prints it into a PDF titled as its document.
TEST_F(PreviewTest, APrintThatDrawsBeyondEitherSideOfTheSheetAsksFirst)
{
    report.DocumentTitle = QStringLiteral("销售单");
    addRows(5);
    items->open();
    const QString pdf = dir.filePath(QStringLiteral("beyond.pdf"));
    windows.Printer().setOutputFormat(QPrinter::PdfFormat);
    windows.Printer().setOutputFileName(pdf);
    TRpLabel* outside = test::label(report.FirstBand(rbSummary), QStringLiteral("Outside"));
    for (const double left : {-300.0, 2000.0}) { // the margin is 100, the sheet 2100 wide
        SCOPED_TRACE(left);
        outside->Size().SetLeft(left);
        QFile::remove(pdf);
        lb::ui::ScriptedDialogs dialogs;
        dialogs.answer(lb::ui::DialogAnswer::No);
        report.Print();
        ASSERT_EQ(1u, dialogs.shown().size());
        EXPECT_EQ(QStringLiteral("报表内容超出纸张宽度,部分内容将不能打印,是否继续?"), dialogs.shown()[0].text);
        EXPECT_TRUE(dialogs.shown()[0].negativeDefault);
        EXPECT_FALSE(QFileInfo::exists(pdf));

        dialogs.answer(lb::ui::DialogAnswer::Yes);
        report.Print();
        EXPECT_EQ(2u, dialogs.shown().size());
        const QString info = lb::test::PrintedPreview::pdfInfo(pdf);
        EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Title:\\s+销售单\\n")))) << info.toStdString();
    }
}

// A long print is cancelled from its progress window after a few pages: neither the file nor
// anything beside it is left, and a file it was to replace stays as it was.
TEST_F(PreviewTest, CancellingALongPrintLeavesNoFile)
{
    TRpStandardPreview& window = openPreview(3000);
    const QString pdf = dir.filePath(QStringLiteral("long.pdf"));
    windows.Printer().setOutputFormat(QPrinter::PdfFormat);
    windows.Printer().setOutputFileName(pdf);
    for (const bool replacing : {false, true}) {
        if (replacing) {
            QFile old(pdf);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        lb::ui::ScriptedDialogs dialogs;
        if (replacing)
            dialogs.answer(lb::ui::DialogAnswer::Yes);
        QString shown;
        bool modal = false;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                auto* progress = qobject_cast<TRpProgressForm*>(top);
                if (!progress || !progress->isVisible() || progress->Pages->text() != QStringLiteral("Page 5 of 131"))
                    continue;
                shown = progress->windowTitle() + QLatin1Char('|') + progress->Pages->text();
                modal = progress->isModal();
                progress->CancelButton->click();
            }
        });
        watch.start(0);
        window.Print->click();
        EXPECT_EQ(QStringLiteral("Printing progress|Page 5 of 131"), shown);
        EXPECT_TRUE(modal);
        EXPECT_EQ(replacing ? QByteArray("old") : QByteArray(), bytesOf(pdf));
        EXPECT_EQ(replacing ? QStringList({"kvdb.db", "long.pdf"}) : QStringList({"kvdb.db"}),
                  QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name));
    }
}

// Esc and the window's close box cancel a long print as its Cancel button does.
TEST_F(PreviewTest, EscOrClosingTheProgressWindowCancelsALongPrint)
{
    TRpStandardPreview& window = openPreview(3000);
    const QString pdf = dir.filePath(QStringLiteral("long.pdf"));
    windows.Printer().setOutputFormat(QPrinter::PdfFormat);
    windows.Printer().setOutputFileName(pdf);
    const std::function<void(TRpProgressForm&)> ways[] = {
        [](TRpProgressForm& progress) {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(&progress, &escape);
        },
        [](TRpProgressForm& progress) { progress.close(); },
    };
    for (const auto& cancel : ways) {
        int page = 0;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                auto* progress = qobject_cast<TRpProgressForm*>(top);
                if (progress && progress->isVisible() && progress->Pages->text() == QStringLiteral("Page 5 of 131")) {
                    page = 5;
                    cancel(*progress);
                }
            }
        });
        watch.start(0);
        window.Print->click();
        EXPECT_EQ(5, page);
        EXPECT_TRUE(report.RpPrinter()->Cancelled());
        EXPECT_LT(report.RpPrinter()->CurrentPage(), 10);
        EXPECT_EQ(QStringList({"kvdb.db"}), QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name));
    }
}

// A PDF printed over a good one on a disk that fills up (the disk full from the start, or the
// quota or a failing disk part of the way, or a disk that refuses one write and then takes the
// rest): the old file stays byte for byte with nothing beside it, the cause is reported and the
// pages do not count as printed; an empty page range leaves it too. With room the PDF holds every
// page and ends whole. A full disk met only where the folder is flushed after the rename is named
// as well, and that print does not count either.
TEST_F(PreviewTest, APdfTheDiskCannotTakeLeavesTheOldOneAndSaysWhy)
{
    TRpStandardPreview& window = openPreview();
    const QString folder = dir.filePath(QStringLiteral("out")); // the books' file stays off the full disk
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString pdf = QDir(folder).filePath(QStringLiteral("list.pdf"));
    windows.Printer().setOutputFormat(QPrinter::PdfFormat);
    windows.Printer().setOutputFileName(pdf);
    int printed = 0;
    report.AfterPrint = [&printed](TCustomRpReport&) { ++printed; };
    TRpPrinter& device = *report.RpPrinter();
    device.FirstPage = 3;
    window.Print->click();
    device.FirstPage = 0;
    ASSERT_EQ(1, lb::test::PrintedPreview::pdfPageCount(pdf));
    const QByteArray old = bytesOf(pdf);
    const QString shownFolder = QDir::toNativeSeparators(folder);
    const QString full = QStringLiteral("磁盘已满,不能写入文件夹: ") + shownFolder;
    // The cause the user can act on, then the error's own words, as the error form shows them.
    const QString notWritten = QStringLiteral("无法写入文件") + QDir::toNativeSeparators(pdf);
    const struct {
        qint64 room;
        int code;
        QString shown;
        int refusals = -1;
    } cases[] = {
        {0, ENOSPC, full + QLatin1Char('\n') + notWritten + QStringLiteral(": No space left on device")},
        {old.size() / 2, EDQUOT,
         QStringLiteral("磁盘配额已用完,不能写入文件夹: ") + shownFolder + QLatin1Char('\n') + notWritten + QStringLiteral(": Disk quota exceeded")},
        {old.size() / 2, EIO, notWritten + QStringLiteral(": Input/output error")},
        {old.size() / 2, ENOSPC, full + QLatin1Char('\n') + notWritten + QStringLiteral(": No space left on device"), 1},
    };
    ReportedErrors errors;
    lb::ui::ScriptedDialogs dialogs;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        SCOPED_TRACE(c.refusals);
        dialogs.answer(lb::ui::DialogAnswer::Yes);
        {
            FullDisk disk(folder, c.room, c.code, c.refusals);
            window.Print->click();
        }
        EXPECT_EQ(c.shown, errors.lastMessage());
        EXPECT_EQ(old, bytesOf(pdf));
        EXPECT_EQ(QStringList({"list.pdf"}), QDir(folder).entryList(QDir::Files | QDir::Hidden));
        EXPECT_EQ(1, printed);
        EXPECT_NE(100, device.Progress());
    }
    EXPECT_EQ(int(std::size(cases)), errors.count());
    device.FirstPage = 4;
    dialogs.answer(lb::ui::DialogAnswer::Yes);
    window.Print->click();
    EXPECT_EQ(old, bytesOf(pdf));
    device.FirstPage = 0;

    dialogs.answer(lb::ui::DialogAnswer::Yes);
    {
        FullDisk disk(folder, 10 * old.size());
        window.Print->click();
    }
    EXPECT_EQ(int(std::size(cases)), errors.count());
    EXPECT_EQ(2, printed);
    const QStringList pages = lb::test::PrintedPreview::pdfPages(pdf);
    ASSERT_EQ(3, pages.size());
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Row 1")) && pages[1].contains(QStringLiteral("Row 24"))) << pages[1].toStdString();
    EXPECT_TRUE(pages[2].contains(QStringLiteral("Row 60")) && pages[2].contains(QStringLiteral("Total")));
    EXPECT_EQ(QByteArray("%%EOF"), bytesOf(pdf).trimmed().right(5));
    EXPECT_EQ(QStringList({"list.pdf"}), QDir(folder).entryList(QDir::Files | QDir::Hidden));
    EXPECT_EQ(0, dialogs.unanswered());

    dialogs.answer(lb::ui::DialogAnswer::Yes);
    {
        UnflushableFolder disk(folder, ENOSPC);
        window.Print->click();
    }
    EXPECT_EQ(int(std::size(cases)) + 1, errors.count());
    EXPECT_EQ(full + QLatin1Char('\n') + notWritten + QStringLiteral("\nCannot flush ") + folder + QStringLiteral(": No space left on device"),
              errors.lastMessage());
    EXPECT_EQ(2, printed);
    EXPECT_NE(100, device.Progress());
    EXPECT_EQ(QStringList({"list.pdf"}), QDir(folder).entryList(QDir::Files | QDir::Hidden));

    // A folder the user may not write is named as such.
    const QByteArray written = bytesOf(pdf);
    dialogs.answer(lb::ui::DialogAnswer::Yes);
    {
        WriteProtect locked(folder);
        if (!locked.ok())
            GTEST_SKIP() << "this file system lets every folder be written";
        window.Print->click();
    }
    EXPECT_EQ(QStringLiteral("没有写入权限,不能写入文件夹: ") + shownFolder + QStringLiteral("\n无法在\"") + QDir::toNativeSeparators(pdf)
                  + QStringLiteral("\"上开始打印"),
              errors.lastMessage());
    EXPECT_EQ(written, bytesOf(pdf));
    EXPECT_EQ(2, printed);
}

// The progress window shows while the pages print, unless the report hides progress.
TEST_F(PreviewTest, ProgressWindowFollowsShowProgress)
{
    windows.Printer().setOutputFormat(QPrinter::PdfFormat);
    for (const bool show : {true, false}) {
        windows.Printer().setOutputFileName(dir.filePath(QStringLiteral("%1.pdf").arg(show)));
        report.ShowProgress = show;
        TRpStandardPreview& window = openPreview(show ? 60 : 0);
        bool progressShown = false;
        report.AfterPrint = [&progressShown](TCustomRpReport&) {
            for (QWidget* top : QApplication::topLevelWidgets())
                progressShown = progressShown || (qobject_cast<TRpProgressForm*>(top) && top->isVisible());
        };
        window.Print->click();
        EXPECT_EQ(show, progressShown);
        window.close();
        report.FreeRpPrinter();
    }
}

// The page turned in the print dialog's properties: the print lays the report out again on
// landscape pages (14 rows a page instead of 23), while the preview keeps the pages it shows.
TEST_F(PreviewTest, APortraitReportPrintedAsLandscapeIsLaidOutAgainOnLandscapePages)
{
    TRpStandardPreview& window = openPreview();
    const QString pdf = dir.filePath(QStringLiteral("turned.pdf"));
    windows.Printer().setOutputFormat(QPrinter::PdfFormat);
    windows.Printer().setOutputFileName(pdf);
    {
        lb::ui::ScriptedModals modals;
        modals.then([](QDialog& dialog) {
            QTimer::singleShot(0, [] {
                auto* properties = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                properties->findChild<QRadioButton*>(QStringLiteral("landscape"))->click();
                properties->accept();
            });
            dialog.findChild<QPushButton*>(QStringLiteral("properties"))->click();
            dialog.accept();
        });
        window.PrintSetup->click();
    }
    EXPECT_EQ(TPrinterOrientation::Landscape, report.Page().Orientation());
    window.Print->click();
    EXPECT_TRUE(run(QStringLiteral("pdfinfo"), {pdf}).contains(QRegularExpression(QStringLiteral("Page size:\\s+842 x 595 pts"))));
    const QStringList pages = lb::test::PrintedPreview::pdfPages(pdf);
    ASSERT_EQ(5, pages.size());
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Row 15")) && pages[1].contains(QStringLiteral("Row 28"))) << pages[1].toStdString();
    EXPECT_FALSE(pages[1].contains(QStringLiteral("Row 29")));
    EXPECT_TRUE(pages[4].contains(QStringLiteral("Row 60")) && pages[4].contains(QStringLiteral("Total")));
    EXPECT_EQ(3, report.RpPrinter()->PageCount());
}

// Pages loaded from a report file print as they were saved, even when the report's page has
// been turned since: the report is not run again in their place.
TEST_F(PreviewTest, LoadedPagesPrintAsSavedWhateverTheReportsPage)
{
    TRpStandardPreview& window = openPreview();
    const QString saved = dir.filePath(QStringLiteral("list.RPF"));
    report.RpPrinter()->Save(saved);
    connection.execute(QStringLiteral("DELETE FROM item"));
    report.Page().SetOrientation(TPrinterOrientation::Landscape);
    {
        lb::ui::ScriptedModals modals;
        modals.then([&saved](QDialog& dialog) {
            auto& files = dynamic_cast<QFileDialog&>(dialog);
            files.selectFile(saved);
            files.QDialog::done(QDialog::Accepted);
        });
        window.LoadReport->click();
    }
    const QString pdf = dir.filePath(QStringLiteral("loaded.pdf"));
    windows.Printer().setOutputFormat(QPrinter::PdfFormat);
    windows.Printer().setOutputFileName(pdf);
    window.Print->click();
    EXPECT_TRUE(run(QStringLiteral("pdfinfo"), {pdf}).contains(QRegularExpression(QStringLiteral("Page size:\\s+595 x 842 pts"))));
    const QStringList pages = lb::test::PrintedPreview::pdfPages(pdf);
    ASSERT_EQ(3, pages.size());
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Row 24"))) << pages[1].toStdString();
}

TEST_F(PreviewTest, ProgressWindowMovesInStepsOfFive)
{
    addRows(1);
    items->open();
    report.Prepare();
    TRpProgressForm progress(*report.RpPrinter());
    EXPECT_EQ(QStringLiteral("Printing progress"), progress.windowTitle());
    progress.ProgressChanged(40);
    EXPECT_EQ(QStringLiteral("40%  Completed"), progress.Info->text());
    for (int ignored : {3, 7}) {
        progress.ProgressChanged(ignored);
        EXPECT_EQ(40, progress.Gauge->value());
        EXPECT_EQ(QStringLiteral("40%  Completed"), progress.Info->text());
    }
    progress.ProgressChanged(5);
    EXPECT_EQ(5, progress.Gauge->value());
    progress.ProgressChanged(10);
    EXPECT_EQ(QStringLiteral("10%  Completed"), progress.Info->text());
    progress.CancelButton->click();
    EXPECT_TRUE(report.RpPrinter()->Cancelled());
}

// ---- The preview of a run ----

TEST_F(PreviewTest, ClosingWhileGeneratingLeavesNoRunAndNoTemporaryFile)
{
    addRows(3000);
    items->open();
    report.PrinterSettings.MemoryLimit = 20000; // the pages spill into a temporary file early
    const OwnTemporaryFolder temporaryFolder;
    const QStringList before = spillFiles();
    int seenPages = 0;
    bool spilled = false;
    report.OnStartPage = [&](TCustomRpReport& r) {
        ++seenPages;
        spilled = spilled || !r.RpPrinter()->PageList().Stream()->InMemory();
        // Each page takes half a millisecond, as a page of a real layout does, so that how many
        // pages follow the close depends on how soon the run sees it, not on how fast this
        // small list's pages happen to be made on this machine.
        QElapsedTimer page;
        page.start();
        while (page.nsecsElapsed() < 500'000) {
        }
        if (r.PageNumber() == 5) {
            // The user closes the window: the close arrives with the next events.
            QTimer::singleShot(0, [] {
                for (QWidget* window : QApplication::topLevelWidgets()) {
                    if (auto* shown = qobject_cast<TRpStandardPreview*>(window); shown && shown->isVisible())
                        shown->close();
                }
            });
        }
    };
    report.Preview();
    EXPECT_TRUE(spilled);
    EXPECT_LT(seenPages, 40); // of 131: the run stopped soon after the close
    EXPECT_TRUE(report.Available());
    EXPECT_EQ(nullptr, report.RpPrinter());
    EXPECT_EQ(before, spillFiles());
    // The report runs again afterwards.
    report.Prepare();
    EXPECT_EQ(131, report.RpPrinter()->PageCount()); // 23 rows a page
}

TEST_F(PreviewTest, PreviewShowsEveryPageAndReturnsWhenClosed)
{
    addRows(60);
    items->open();
    int pagesShown = 0;
    report.FirstBand(rbSummary)->AfterPrint = [&pagesShown](TRpCustomBand&, bool) {
        // After the last band: close the window once the run has finished.
        QTimer::singleShot(0, [&pagesShown] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (auto* shown = qobject_cast<TRpStandardPreview*>(window); shown && shown->isVisible()) {
                    pagesShown = shown->ThumbGrid->rowCount();
                    // Centred on the screen (give or take the pixels the window grows by when first laid out).
                    const QPoint offCentre = shown->frameGeometry().center() - shown->screen()->availableGeometry().center();
                    EXPECT_LE(offCentre.manhattanLength(), 8) << offCentre.x() << "," << offCentre.y();
                    EXPECT_TRUE(shown->Print->isEnabled());
                    EXPECT_TRUE(shown->SaveReport->isEnabled());
                    shown->close();
                }
            }
        });
    };
    report.Preview();
    EXPECT_EQ(3, pagesShown);
    EXPECT_EQ(nullptr, report.RpPrinter());
}

// A long run into the preview: page 1 is shown, drawn, while later pages are still being made,
// and the thumbnails follow the pages a few times a second rather than at every page (which
// would make the run several times slower).
TEST_F(PreviewTest, PageOneShowsWhileTheRunGoesOn)
{
    addRows(3000);
    items->open();
    int inked = 0;
    int pagesMade = 0;
    int thumbUpdates = 0;
    QElapsedTimer running;
    const auto shownPreview = [] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* shown = qobject_cast<TRpStandardPreview*>(window); shown && shown->isVisible())
                return shown;
        }
        return static_cast<TRpStandardPreview*>(nullptr);
    };
    report.OnStartPage = [&](TCustomRpReport& r) {
        TRpStandardPreview* shown = shownPreview();
        if (r.PageNumber() == 2 && shown) {
            running.start();
            QObject::connect(shown->ThumbGrid->model(), &QAbstractItemModel::rowsInserted, shown, [&] { ++thumbUpdates; });
        }
        if (r.PageNumber() != 20 || !shown)
            return;
        pagesMade = r.RpPrinter()->PagesReady();
        // Text and rules inside the page's frame.
        const QImage page = shown->RpPreview->Image()->grab().toImage();
        for (int y = 5; y < page.height() - 5; ++y)
            for (int x = 5; x < page.width() - 5; ++x)
                inked += qGray(page.pixel(x, y)) < 128 ? 1 : 0;
    };
    qint64 elapsed = 0;
    report.FirstBand(rbSummary)->AfterPrint = [&](TRpCustomBand&, bool) {
        elapsed = running.elapsed();
        QTimer::singleShot(0, [&] {
            if (TRpStandardPreview* shown = shownPreview())
                shown->close();
        });
    };
    report.Preview();
    EXPECT_EQ(19, pagesMade);
    EXPECT_GT(inked, 2000);
    // 131 pages; the end of the run adds one more.
    EXPECT_LE(thumbUpdates, 2 + elapsed / 100) << thumbUpdates << " in " << elapsed << " ms";
}

TEST_F(PreviewTest, AnErrorWhileGeneratingClosesThePreviewAndPassesOn)
{
    addRows(60);
    items->open();
    report.OnStartPage = [](TCustomRpReport& r) {
        if (r.PageNumber() == 2)
            throw Error(QStringLiteral("disk full"));
    };
    EXPECT_THROW(report.Preview(), Error);
    QApplication::processEvents();
    for (QWidget* window : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<TRpStandardPreview*>(window) && window->isVisible());
    EXPECT_TRUE(report.Available());
    EXPECT_EQ(nullptr, report.RpPrinter());
}

TEST_F(PreviewTest, PictureOfAPageShowsChineseTextFramesAndLines)
{
    TRpStandardPreview& window = openPreview();
    window.resize(900, 700);
    window.RpPreview->SetZoom(100);
    QApplication::processEvents();
    const QImage picture = window.grab().toImage();
    const QString file = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("preview-page.png"));
    EXPECT_TRUE(picture.save(file));
    // The page itself at 100 %: the column header's frame, the Chinese caption and a rule.
    const QImage page = window.RpPreview->Image()->grab().toImage();
    const auto inked = [&page](const QRect& area) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                count += page.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
        return count;
    };
    // Column header band from 300 to 400 native (113 to 151 pixels), framed left, right, top.
    const int top = 1 + test::pixels(300);
    const int left = 1 + test::pixels(100);
    EXPECT_GT(inked(QRect(left + 5, top, 600, 1)), 500);                            // top frame line
    EXPECT_GT(inked(QRect(left, top + 5, 1, 20)), 15);                              // left frame line
    EXPECT_GT(inked(QRect(1 + test::pixels(600), top + 1, 70, 16)), 60);            // 货品名称
    EXPECT_GT(inked(QRect(left + 5, 1 + test::pixels(400 + 90), 600, 1)), 500);      // rule of row 1
}

} // namespace
} // namespace lb::report::ui
