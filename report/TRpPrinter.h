// The output device of a report run: report measures to page pixels, the page canvas, the
// store of finished pages, saving and loading report files, preview and printing requests.
#pragma once

#include "report/RpRound.h"
#include "report/TPrinterSettings.h"
#include "report/TRpCanvas.h"
#include "report/TRpOutline.h"
#include "report/TRpPageList.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace lb::report {

class TCustomRpReport;
class TRpNoticeReceiver;

// Every page is recorded once, as an enhanced metafile at 96 pixels per inch, into the page
// store; the preview, thumbnails, search, printing and saving replay the stored pages, so what
// is printed is what was previewed. A device lives for one run (and the preview after it):
// ready -> BeginDoc -> busy -> EndDoc or AbortDoc -> finished -> Cleanup -> ready; Load goes
// to finished from any state. Errors are lb::Error.
class TRpPrinter {
public:
    enum class TRpPrinterState { Ready, Busy, Finished };

    // `parentReport` (not owned, may be nullptr) is the report whose run fills the device.
    explicit TRpPrinter(TCustomRpReport* parentReport = nullptr);
    ~TRpPrinter();
    TRpPrinter(const TRpPrinter&) = delete;
    TRpPrinter& operator=(const TRpPrinter&) = delete;

    TCustomRpReport* ParentReport() const { return parentReport_; }
    TPrinterSettings& PrinterSettings() { return settings_; }
    const TPrinterSettings& PrinterSettings() const { return settings_; }
    TRpPageList& PageList() { return pageList_; }
    TRpOutline& Outline() { return outline_; }

    // The page range to print; 0 leaves that end open.
    int FirstPage = 0;
    int LastPage = 0;
    // Title of the print job and of the preview window.
    QString JobTitle;
    // What the printed document is called (the name of a file it is printed into, the title
    // of a PDF file): the report's DocumentTitle, else JobTitle.
    QString DocumentName() const;
    // Pages are stored coded (see TRpCompress).
    void SetCompression(bool on) { pageList_.SetCompression(on); }

    // Report measures (tenths of a millimetre) in page pixels; asked for every control of every
    // record, so inline.
    double ScaleX() const { return scaleX_; }
    double ScaleY() const { return scaleY_; }
    int ToDeviceX(double v) const { return int(Round(v * scaleX_)); }
    int ToDeviceY(double v) const { return int(Round(v * scaleY_)); }
    int ToDeviceWidth(double v) const { return int(Round(v * scaleX_)); }
    int ToDeviceHeight(double v) const { return int(Round(v * scaleY_)); }
    // The paper of the settings, in tenths of a millimetre, turned for landscape.
    double SheetWidth() const;
    double SheetLength() const;

    // Starts a run; throws "RpPrinter not ready" unless ready.
    void BeginDoc();
    // Finishes the open page (it goes into the store and the notice window hears of it) and
    // opens the next; throws "Illegal call to NewPage" outside a run.
    void NewPage();
    // Finishes the run: the open page is stored, the file header gets the final page count.
    void EndDoc();
    // Ends a cancelled or failed run; the open page is still stored.
    void AbortDoc();
    // Back to ready: the pages and their temporary file are gone.
    void Cleanup();
    // The canvas of the open page; throws outside a page.
    TRpCanvas& Canvas();

    // Page `number` (from 1) when it is stored; none otherwise.
    std::optional<gfx::EmfMetafile> GetPage(int number);
    // Whether page `number` lies in the range FirstPage to LastPage.
    bool InRange(int number) const;

    void Cancel() { cancelled_ = true; }
    bool Cancelled() const { return cancelled_; }
    // A print job of finished pages starts uncancelled.
    void ClearCancel() { cancelled_ = false; }
    TRpPrinterState State() const { return state_; }
    int PageCount() const { return pageCount_; }
    int CurrentPage() const { return currentPage_; }
    int PagesReady() const { return pagesReady_; }
    int Progress() const { return progress_; }
    // Sets the progress (percent) and tells the notice window.
    void SetProgress(int percent);
    // Stored page `number` is being printed, the job `percent` done: CurrentPage and the
    // progress follow it.
    void SetPrintingPage(int number, int percent);
    // The pages came from a report file, not from a run of the report.
    bool Loaded() const { return loaded_; }
    // Some page of the run drew beyond the left or right edge of its sheet, where nothing
    // prints (a layout made for wider paper).
    bool DrawnBeyondWidth() const { return drawnBeyondWidth_; }

    // Saves the finished report as a report file; throws when not finished or on a file error.
    void Save(const QString& fileName);
    // Loads a report file in place of the pages held (a file that fails the checks leaves them)
    // and takes paper size and orientation from its first page: the first tabled size whose
    // width and length (in whole 4 mm steps) match the page's, turned or not.
    void Load(const QString& fileName);

    // The window told of pages and progress (not owned; the window clears it when it goes).
    TRpNoticeReceiver* NoticeWindow() const { return noticeWindow_; }
    void SetNoticeWindow(TRpNoticeReceiver* window) { noticeWindow_ = window; }
    bool PreviewShown() const { return previewShown_; }
    // Setting it false (the preview closed) cancels a run in progress and calls AfterPreview.
    void SetPreviewShown(bool shown);

    // Shows the preview through OnPreview when set, else through the installed windows;
    // `generate` produces the pages meanwhile (see TRpPreviewInterface).
    void Preview(bool modal, const std::function<void()>& generate = {});
    // Prints the stored pages through the installed windows, or, when the print dialog has
    // turned the report's page since they were made, has the report run again for the printer.
    void PrintStoredPages();

    std::function<void()> AfterPrint;
    std::function<void()> AfterPreview;
    std::function<void(TRpPrinter&)> OnPreview;
    // The report's print dialog; answers whether the user chose OK. Cleared by Load.
    std::function<bool()> PrintSetupHandler;

private:
    void FinishPage();
    void TellPages();

    TCustomRpReport* parentReport_;
    TPrinterSettings settings_;
    TRpPageList pageList_;
    TRpOutline outline_;
    std::unique_ptr<TRpCanvas> canvas_;
    // The last stored page's bytes, whose memory the next page is written into: a run
    // allocates its page buffer once instead of once a page.
    QByteArray pageBuffer_;
    TRpNoticeReceiver* noticeWindow_ = nullptr;
    TRpPrinterState state_ = TRpPrinterState::Ready;
    double scaleX_ = 1.0;
    double scaleY_ = 1.0;
    int pageCount_ = 0;
    int currentPage_ = 0;
    int pagesReady_ = 0;
    int progress_ = 0;
    bool cancelled_ = false;
    bool loaded_ = false;
    bool drawnBeyondWidth_ = false;
    bool previewShown_ = false;
};

} // namespace lb::report
