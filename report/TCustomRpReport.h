// The banded report: its layout (bands, controls, page, options) and the generation run that
// lays the bands out on pages.
#pragma once

#include "report/TRpBasePanel.h"
#include "report/TRpBand.h"
#include "report/TRpEvEnvironment.h"
#include "report/TRpFont.h"
#include "report/TRpPage.h"
#include "report/TRpReportBands.h"
#include "report/TRpReportPrinterSettings.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace lb::db {
class DataSet;
}

namespace lb::report {

class TRpChildBand;
class TRpCustomController;
class TRpGroup;
class TRpPrintable;
class TRpPrinter;
class TRpSubDetail;

enum class TRpZoomState { rpZoomToFit, rpZoomToWidth, rpZoomOther };

struct TRpReportOptions {
    bool FirstPageHeader = true;
    bool LastPageFooter = true;
    bool Compression = false;
};

// A layout builds the report once: bands (AddBand, AddGroup, AddSubDetail, AddChildBand),
// their controls (band->Add<TRpLabel>(name), ...), the datasets, page and options; sizes are in
// the report's Units. A print then runs:
//     report.Prepare();                              // pages into the store, no window
//     int pages = report.RpPrinter()->PageCount();
//     report.FreeRpPrinter();
//     report.Find<TRpLabel>("RpLabel22")->SetCaption(...);
//     report.ReportTitle = "...";
//     report.Preview();                              // runs again while the preview shows it
// Every operation makes a new output device, so each run starts afresh. A run stays on the
// calling thread and yields to events before each record (user input outside the preview is
// held back); errors of a run leave the report idle again and propagate.
class TCustomRpReport : public TRpBasePanel {
public:
    using TRpReportBeforePrintEvent = std::function<void(TCustomRpReport& report, bool& print)>;
    using TRpNotifyEvent = std::function<void(TCustomRpReport& report)>;

    TCustomRpReport();
    ~TCustomRpReport() override;

    // ---- Layout ----
    // Bands are owned by the report; a band without a name gets the kind's name base and the
    // first free number ("DetailBand1").
    TRpBand* AddBand(TRpBandType type, const QString& name = QString());
    TRpChildBand* AddChildBand(TRpCustomBand* parent, const QString& name = QString());
    TRpGroup* AddGroup(const QString& name = QString());
    TRpSubDetail* AddSubDetail(const QString& name = QString());
    void RemoveBand(TRpCustomBand* band);
    // A control placed on the report itself: printed at the end of every page.
    template <class T>
    T* Add(const QString& name = QString())
    {
        auto control = std::make_unique<T>();
        T* added = control.get();
        AddControl(std::move(control), name);
        return added;
    }
    void AddControl(std::unique_ptr<TRpPrintable> control, const QString& name);
    const std::vector<std::unique_ptr<TRpPrintable>>& Controls() const { return controls_; }

    // Bands in the report's order (page headers, title, column headers, the controller's
    // bands, page footers, then the rest), and in the order they were added.
    const std::vector<TRpCustomBand*>& BandList() const { return bandList_; }
    std::vector<TRpCustomBand*> AllBands() const;
    TRpCustomBand* FirstBand(TRpBandType type) const;
    TRpCustomBand* ColumnHeaderBand() const { return FirstBand(rbColumnHeader); }
    TRpReportBands& Bands() { return bands_; }

    // A band or control by name; nullptr when none has it.
    TRpComponent* FindComponent(const QString& name) const;
    template <class T>
    T* Find(const QString& name) const
    {
        return dynamic_cast<T*>(FindComponent(name));
    }
    QString UniqueName(const QString& base) const;

    // Orders the bands and sets their widths for the page (full width or one column).
    void SortBands();
    void ArrangeBands();

    // ---- Properties ----
    TRpPage& Page() { return page_; }
    const TRpPage& Page() const { return page_; }
    // The report's named expressions, with PAGENUMBER, COLUMNNUMBER and REPORTTITLE.
    TRpEvEnvironment& Functions() { return functions_; }
    TRpReportPrinterSettings PrinterSettings;
    TRpReportOptions Options;
    QString ReportTitle;
    // What the printed document is called ("销售单"): the name proposed for a file it is printed
    // into. Empty: ReportTitle.
    QString DocumentTitle;
    TRpFont Font;
    QStringList Description;
    bool ShowProgress = true;
    bool SnapToGrid = true;
    // Name of a picture control drawn behind every page; the program's layouts name none.
    QString BackImageControl;
    // 0 after the print dialog was confirmed, 1 after it was cancelled.
    int Tag = 0;

    // Preview window settings.
    int PreviewWidth() const { return previewWidth_ > 0 ? previewWidth_ : 500; }
    int PreviewHeight() const { return previewHeight_ > 0 ? previewHeight_ : 500; }
    void SetPreviewSize(int width, int height)
    {
        previewWidth_ = width;
        previewHeight_ = height;
    }
    bool PreviewMaximized = false;
    bool PrevShowThumbs = true;
    bool PrevShowSearch = true;
    TRpZoomState PrevInitialZoom = TRpZoomState::rpZoomOther;

    TRpUnit Units() const { return units_; }
    // The unit of the page, the bands and every control.
    void SetUnits(TRpUnit units);
    // Takes only 1 to 300.
    void SetZoom(int zoom) override;
    bool PrintIfEmpty() const;
    void SetPrintIfEmpty(bool print);

    // Datasets expressions may name besides the report's own and its controls' (not owned).
    void AddDataSet(db::DataSet* dataSet);
    // Every dataset the report knows: those added, its own and its sub-details', and those of
    // its database texts, once each.
    QList<db::DataSet*> DataSets() const;
    // The datasets of the current run.
    const QList<db::DataSet*>& AllDataSets() const { return allDataSets_; }
    void AddRunDataSet(db::DataSet* dataSet);

    TRpReportBeforePrintEvent BeforePrint;
    TRpNotifyEvent AfterPrint;
    TRpNotifyEvent AfterPreview;
    TRpNotifyEvent OnStartPage;
    TRpNotifyEvent OnEndPage;
    std::function<void(TRpPrinter&)> OnPreview;

    // ---- Operations ----
    // A full run into a new output device's page store, with no window.
    void Prepare();
    // ShowPreview(true).
    void Preview();
    // A new run while the preview shows its pages; modal returns when the window has closed.
    void ShowPreview(bool modal);
    // A new run printed on the chosen printer or into a PDF file, with the progress window
    // (unless ShowProgress is off) and its cancel button; the output device held before is kept.
    void Print();
    // The print dialog; Tag tells the answer. The orientation chosen there becomes the page's,
    // so that the next print lays the report out again on the turned page.
    bool PrinterSetup();
    // Stops a run at its next record.
    void Cancel();

    // The output device of the current or last run, owned by the report; nullptr when freed.
    TRpPrinter* RpPrinter() const { return rpPrinter_.get(); }
    void FreeRpPrinter();
    // The preview window of the device closed.
    void PreviewClosed();

    // ---- The run (used by bands and controllers) ----
    void CreateReport();
    bool Available() const { return available_; }
    bool Cancelled() const { return cancelled_; }
    int PageNumber() const { return pageNumber_; }
    int CurrentColumn() const { return currentColumn_; }
    double CurrentX() const { return currentX_; }
    double CurrentY() const { return currentY_; }
    void SetCurrentY(double y) { currentY_ = y; }
    double PageFooterSize() const { return pageFooterSize_; }
    bool SkipNextNewPage = false;
    bool Overflow() const { return overflow_; }
    void SetOverflow(bool overflow) { overflow_ = overflow; }
    // Height left for bands in the current column; 0 outside a run or before the first page.
    double AvailableSpace() const;
    void PrintBand(TRpCustomBand* band);
    void NewPage();
    void NewColumn();
    void AdvanceColumn();
    void StartPage();
    void EndPage();
    // Lets pending events run (the preview repaints, a close button cancels), at most every
    // 2 ms.
    void Yield();
    void RegisterControl(TRpPrintable* control);

protected:
    // The record loop of the report's controller.
    virtual void RunController();
    // Called before the controller's band lists are built.
    virtual void BeforeBandLists() {}
    std::unique_ptr<TRpCustomController> controller_;

private:
    bool CreateRpPrinter();
    void SetUpDevice(TRpPrinter& device);
    void RunOn(QEventLoop::ProcessEventsFlags yield);
    void BeginRun();
    void PrepareRun();
    void UnprepareRun();
    void SetVariable(const char* name, int value);
    void AddBandOwned(std::unique_ptr<TRpCustomBand> band, const QString& name, TRpBandType type);
    std::vector<TRpPrintable*> AllControls() const;

    TRpPage page_;
    TRpEvEnvironment functions_;
    TRpReportBands bands_;
    std::vector<std::unique_ptr<TRpCustomBand>> ownedBands_;
    std::vector<TRpCustomBand*> bandList_;
    std::vector<std::unique_ptr<TRpPrintable>> controls_;
    std::vector<db::DataSet*> extraDataSets_;
    QList<db::DataSet*> allDataSets_;
    std::unique_ptr<TRpPrinter> rpPrinter_;
    TRpUnit units_;
    int previewWidth_ = 0;
    int previewHeight_ = 0;

    QEventLoop::ProcessEventsFlags yield_ = QEventLoop::ExcludeUserInputEvents;
    QElapsedTimer sinceYield_;
    bool available_ = true;
    bool cancelled_ = false;
    bool finalPage_ = false;
    bool columnBreakArmed_ = false;
    bool overflow_ = false;
    bool inModalPreview_ = false;
    int pageNumber_ = 0;
    int currentColumn_ = 1;
    double currentX_ = 0;
    double currentY_ = -1;
    double columnTop_ = 0;
    double pageFooterSize_ = 0;
    // The paper's length down the page, set when the run starts: asked for every band printed.
    double paperExtent_ = 0;
    // Run bookkeeping, so that a failed run undoes exactly what it did.
    TRpUnit savedUnits_ = TRpUnit::Native;
    bool unitsSwitched_ = false;
    bool prepared_ = false;
};

} // namespace lb::report
