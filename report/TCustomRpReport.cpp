// The report: band bookkeeping and the generation run with its page and column rules.
#include "report/TCustomRpReport.h"

#include "platform/db/DataSet.h"
#include "platform/sys/Errors.h"
#include "report/RpRound.h"
#include "report/TRpChildBand.h"
#include "report/TRpController.h"
#include "report/TRpCustomController.h"
#include "report/TRpDBText.h"
#include "report/TRpGroup.h"
#include "report/TRpPreviewInterface.h"
#include "report/TRpPrintable.h"
#include "report/TRpPrinter.h"
#include "report/TRpSubDetail.h"

#include <QCoreApplication>

#include <algorithm>

namespace lb::report {

namespace {

constexpr int kHeight = 0;
constexpr int kWidth = 1;

bool fullWidth(TRpBandType type)
{
    return type == rbTitle || type == rbPageHeader || type == rbPageFooter || type == rbSummary || type == rbOverlay;
}

} // namespace

TCustomRpReport::TCustomRpReport()
    : controller_(std::make_unique<TRpCustomController>(this, this)), bands_(*this), units_(page_.Units())
{
    controller_->SetMaster(this);
    functions_.addFunction(QStringLiteral("PAGENUMBER"), QStringLiteral("0"));
    functions_.addFunction(QStringLiteral("COLUMNNUMBER"), QStringLiteral("0"));
    functions_.addFunction(QStringLiteral("REPORTTITLE"), QStringLiteral("''"));
}

TCustomRpReport::~TCustomRpReport()
{
    // The device first: a preview still showing it lets go of it.
    rpPrinter_.reset();
}

// ---- Layout ----

void TCustomRpReport::AddBandOwned(std::unique_ptr<TRpCustomBand> band, const QString& name, TRpBandType type)
{
    TRpCustomBand* added = band.get();
    added->SetName(name.isEmpty() ? UniqueName(BandNameBase(type)) : name);
    ownedBands_.push_back(std::move(band));
    bandList_.push_back(added);
    SortBands();
}

TRpBand* TCustomRpReport::AddBand(TRpBandType type, const QString& name)
{
    auto band = std::make_unique<TRpBand>(*this, type);
    TRpBand* added = band.get();
    AddBandOwned(std::move(band), name, type);
    return added;
}

TRpChildBand* TCustomRpReport::AddChildBand(TRpCustomBand* parent, const QString& name)
{
    auto band = std::make_unique<TRpChildBand>(*this);
    TRpChildBand* added = band.get();
    AddBandOwned(std::move(band), name, rbChild);
    added->SetParentBand(parent);
    return added;
}

TRpGroup* TCustomRpReport::AddGroup(const QString& name)
{
    auto band = std::make_unique<TRpGroup>(*this);
    TRpGroup* added = band.get();
    AddBandOwned(std::move(band), name, rbGroupHeader);
    return added;
}

TRpSubDetail* TCustomRpReport::AddSubDetail(const QString& name)
{
    auto band = std::make_unique<TRpSubDetail>(*this);
    TRpSubDetail* added = band.get();
    AddBandOwned(std::move(band), name, rbSubDetail);
    return added;
}

void TCustomRpReport::RemoveBand(TRpCustomBand* band)
{
    if (!available_)
        throw Error(QStringLiteral("A band cannot be removed while the report runs"));
    // Whatever refers to the band forgets it.
    for (const auto& other : ownedBands_) {
        if (other->LinkBand() == band)
            other->SetLinkBand(nullptr);
        if (auto* child = dynamic_cast<TRpChildBand*>(other.get()); child && child->ParentBand() == band)
            child->SetParentBand(nullptr);
        if (auto* group = dynamic_cast<TRpGroup*>(other.get()); group && group->FooterBand() == band)
            group->SetFooterBand(nullptr);
        if (auto* sub = dynamic_cast<TRpSubDetail*>(other.get())) {
            if (sub->HeaderBand() == band)
                sub->Controller().SetHeader(nullptr);
            if (sub->FooterBand() == band)
                sub->Controller().SetFooter(nullptr);
            if (sub->Master() == band)
                sub->SetMaster(this);
        }
        if (auto* group = dynamic_cast<TRpGroup*>(other.get()); group && group->Master() == band)
            group->SetMaster(this);
    }
    bandList_.erase(std::remove(bandList_.begin(), bandList_.end(), band), bandList_.end());
    ownedBands_.erase(std::remove_if(ownedBands_.begin(), ownedBands_.end(),
                                     [band](const auto& owned) { return owned.get() == band; }),
                      ownedBands_.end());
    SortBands();
}

void TCustomRpReport::AddControl(std::unique_ptr<TRpPrintable> control, const QString& name)
{
    TRpPrintable* added = control.get();
    controls_.push_back(std::move(control));
    added->Attach(this, nullptr);
    added->SetName(name.isEmpty() ? UniqueName(QStringLiteral("RpControl")) : name);
}

std::vector<TRpCustomBand*> TCustomRpReport::AllBands() const
{
    std::vector<TRpCustomBand*> bands;
    for (const auto& band : ownedBands_)
        bands.push_back(band.get());
    return bands;
}

TRpCustomBand* TCustomRpReport::FirstBand(TRpBandType type) const
{
    for (TRpCustomBand* band : bandList_) {
        if (band->BandType() == type)
            return band;
    }
    return nullptr;
}

std::vector<TRpPrintable*> TCustomRpReport::AllControls() const
{
    std::vector<TRpPrintable*> all;
    for (const auto& band : ownedBands_) {
        for (const auto& control : band->Controls())
            all.push_back(control.get());
    }
    for (const auto& control : controls_)
        all.push_back(control.get());
    return all;
}

TRpComponent* TCustomRpReport::FindComponent(const QString& name) const
{
    if (name.isEmpty())
        return nullptr;
    for (const auto& band : ownedBands_) {
        if (band->Name().compare(name, Qt::CaseInsensitive) == 0)
            return band.get();
    }
    for (TRpPrintable* control : AllControls()) {
        if (control->Name().compare(name, Qt::CaseInsensitive) == 0)
            return control;
    }
    return nullptr;
}

QString TCustomRpReport::UniqueName(const QString& base) const
{
    for (int number = 1;; ++number) {
        const QString name = base + QString::number(number);
        if (!FindComponent(name))
            return name;
    }
}

void TCustomRpReport::SortBands()
{
    BeforeBandLists();
    controller_->BuildBandLists();
    std::vector<TRpCustomBand*> order;
    const auto addChain = [&order](TRpCustomBand* band) {
        for (int guard = 0; band && guard < 1000; ++guard) {
            if (std::find(order.begin(), order.end(), band) == order.end())
                order.push_back(band);
            band = band->ChildBand();
        }
    };
    const auto addAll = [&](TRpBandType type) {
        for (TRpCustomBand* band : bandList_) {
            if (band->BandType() == type)
                addChain(band);
        }
    };
    addAll(rbPageHeader);
    if (TRpCustomBand* title = FirstBand(rbTitle))
        addChain(title);
    addAll(rbColumnHeader);
    std::vector<TRpCustomBand*> registered;
    controller_->RegisterBands(registered);
    for (TRpCustomBand* band : registered)
        addChain(band);
    addAll(rbPageFooter);
    for (TRpCustomBand* band : bandList_) {
        if (std::find(order.begin(), order.end(), band) == order.end())
            order.push_back(band);
    }
    bandList_ = std::move(order);
    ArrangeBands();
}

void TCustomRpReport::ArrangeBands()
{
    // Widths as a designer lays the bands out in pixels at the report's zoom: the column
    // width is the column step of a run.
    const TRpPage::BandArea area = page_.Arrange(Zoom());
    const double nativePerPixel = 254.0 / page_.PixelsPerInch() * 100 / Zoom();
    for (TRpCustomBand* band : bandList_) {
        std::vector<double> values = band->Size().Values();
        values[kWidth] = (fullWidth(band->EffectiveBandType()) ? area.fullWidth : area.columnWidth) * nativePerPixel;
        band->Size().SetValues(values);
        for (const auto& control : band->Controls())
            control->Notice(2);
    }
}

// ---- Properties ----

void TCustomRpReport::SetUnits(TRpUnit units)
{
    units_ = units;
    page_.SetUnits(units);
    for (const auto& band : ownedBands_) {
        band->Size().SetUnits(units);
        for (const auto& control : band->Controls())
            control->Size().SetUnits(units);
    }
    for (const auto& control : controls_)
        control->Size().SetUnits(units);
}

void TCustomRpReport::SetZoom(int zoom)
{
    if (zoom < 1 || zoom > 300)
        return;
    TRpBasePanel::SetZoom(zoom);
    page_.SetZoom(zoom);
    for (const auto& band : ownedBands_) {
        band->SetZoom(zoom);
        band->Size().SetZoom(zoom);
        for (const auto& control : band->Controls())
            control->Size().SetZoom(zoom);
    }
    ArrangeBands();
}

bool TCustomRpReport::PrintIfEmpty() const
{
    return controller_->PrintIfEmpty;
}

void TCustomRpReport::SetPrintIfEmpty(bool print)
{
    controller_->PrintIfEmpty = print;
}

void TCustomRpReport::AddDataSet(db::DataSet* dataSet)
{
    if (dataSet && std::find(extraDataSets_.begin(), extraDataSets_.end(), dataSet) == extraDataSets_.end())
        extraDataSets_.push_back(dataSet);
}

QList<db::DataSet*> TCustomRpReport::DataSets() const
{
    QList<db::DataSet*> all;
    const auto add = [&all](db::DataSet* dataSet) {
        if (dataSet && !all.contains(dataSet))
            all.append(dataSet);
    };
    for (db::DataSet* dataSet : extraDataSets_)
        add(dataSet);
    if (auto* controller = dynamic_cast<TRpController*>(controller_.get()))
        add(controller->DataSet());
    for (const auto& band : ownedBands_) {
        if (auto* sub = dynamic_cast<TRpSubDetail*>(band.get()))
            add(sub->DataSet());
    }
    for (TRpPrintable* control : AllControls()) {
        if (auto* text = dynamic_cast<TRpDBText*>(control))
            add(text->DataSet());
    }
    return all;
}

void TCustomRpReport::AddRunDataSet(db::DataSet* dataSet)
{
    if (dataSet && dataSet->active() && !allDataSets_.contains(dataSet))
        allDataSets_.append(dataSet);
}

void TCustomRpReport::RegisterControl(TRpPrintable* control)
{
    controller_->RegisterControl(control);
}

// ---- Operations ----

bool TCustomRpReport::CreateRpPrinter()
{
    if (!available_)
        return false;
    rpPrinter_ = std::make_unique<TRpPrinter>(this);
    rpPrinter_->AfterPrint = [this] {
        if (AfterPrint)
            AfterPrint(*this);
    };
    rpPrinter_->AfterPreview = [this] { PreviewClosed(); };
    return true;
}

void TCustomRpReport::SetUpDevice(TRpPrinter& device)
{
    device.JobTitle = ReportTitle;
    device.PrintSetupHandler = [this] { return PrinterSetup(); };
    if (OnPreview)
        device.OnPreview = OnPreview;
}

void TCustomRpReport::RunOn(QEventLoop::ProcessEventsFlags yield)
{
    yield_ = yield;
    sinceYield_.invalidate();
    CreateReport();
}

void TCustomRpReport::Prepare()
{
    if (!CreateRpPrinter())
        return;
    SetUpDevice(*rpPrinter_);
    RunOn(QEventLoop::ExcludeUserInputEvents);
}

void TCustomRpReport::Preview()
{
    ShowPreview(true);
}

void TCustomRpReport::ShowPreview(bool modal)
{
    if (!CreateRpPrinter())
        return;
    TRpPrinter* device = rpPrinter_.get();
    SetUpDevice(*device);
    // The preview is modal over the program, so the run may take every event: the preview's
    // own buttons stay alive while pages arrive.
    const auto generate = [this] { RunOn(QEventLoop::AllEvents); };
    if (!modal) {
        device->Preview(false, generate);
        return;
    }
    inModalPreview_ = true;
    try {
        device->Preview(true, generate);
    } catch (...) {
        inModalPreview_ = false;
        rpPrinter_.reset();
        throw;
    }
    inModalPreview_ = false;
    // The window has closed and the run has ended: the pages and their temporary file go.
    rpPrinter_.reset();
}

void TCustomRpReport::Print()
{
    TRpPreviewInterface* windows = TRpPreviewInterface::Installed();
    if (!available_ || !windows)
        return;
    std::unique_ptr<TRpPrinter> previous = std::move(rpPrinter_);
    try {
        CreateRpPrinter();
        SetUpDevice(*rpPrinter_);
        // A progress window shown is modal, so the run may take every event and its Cancel
        // button is heard; without it user input waits.
        const QEventLoop::ProcessEventsFlags yield = ShowProgress ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents;
        windows->Print(*rpPrinter_, [this, yield] { RunOn(yield); });
    } catch (...) {
        rpPrinter_ = std::move(previous);
        throw;
    }
    rpPrinter_ = std::move(previous);
}

bool TCustomRpReport::PrinterSetup()
{
    TRpPreviewInterface* windows = TRpPreviewInterface::Installed();
    const bool ok = windows && windows->PrinterSetup(*this);
    Tag = ok ? 0 : 1;
    return ok;
}

void TCustomRpReport::Cancel()
{
    if (available_)
        return;
    cancelled_ = true;
    if (rpPrinter_)
        rpPrinter_->Cancel();
}

void TCustomRpReport::FreeRpPrinter()
{
    if (available_)
        rpPrinter_.reset();
}

void TCustomRpReport::PreviewClosed()
{
    if (AfterPreview)
        AfterPreview(*this);
    // During a run the run stops at its next record; a modal preview frees the device when
    // the run and the window are done. A modeless preview's device stays until the next
    // operation, as the window that closes is still using it.
    if (!available_)
        Cancel();
}

void TCustomRpReport::Yield()
{
    // Asked before every record, but the events run at most every 2 ms: a preview repaints
    // and a close is seen within that, and a long report does not spend its time asking an
    // empty event queue.
    if (!QCoreApplication::instance() || (sinceYield_.isValid() && sinceYield_.elapsed() < 2))
        return;
    QCoreApplication::processEvents(yield_);
    sinceYield_.start();
}

// ---- The run ----

void TCustomRpReport::SetVariable(const char* name, int value)
{
    TRpEvEnvironment::setIntegerConstant(functions_.firstElement(QString::fromLatin1(name)), value);
}

void TCustomRpReport::BeginRun()
{
    std::vector<double> p = page_.Values();
    if (p[TRpPage::WidthIndex] - p[TRpPage::LeftMarginIndex] - p[TRpPage::RightMarginIndex] < 0)
        p[TRpPage::LeftMarginIndex] = p[TRpPage::RightMarginIndex] = 0;
    if (p[TRpPage::LengthIndex] - p[TRpPage::TopMarginIndex] - p[TRpPage::BottomMarginIndex] < 0)
        p[TRpPage::TopMarginIndex] = p[TRpPage::BottomMarginIndex] = 0;
    page_.SetValues(p);
    available_ = false;
    cancelled_ = false;
    finalPage_ = false;
    SkipNextNewPage = false;
    columnBreakArmed_ = false;
    overflow_ = false;
    currentY_ = -1; // no space before the first page, not the last run's
    allDataSets_.clear();
    for (db::DataSet* dataSet : DataSets())
        AddRunDataSet(dataSet);
}

void TCustomRpReport::PrepareRun()
{
    savedUnits_ = units_;
    SetUnits(TRpUnit::Native);
    unitsSwitched_ = true;

    TRpPrinter& device = *rpPrinter_;
    TPrinterSettings& settings = device.PrinterSettings();
    settings.PrinterIndex = PrinterSettings.PrinterIndex;
    settings.PaperSize = page_.PaperSize();
    if (page_.PaperSize() == TRpPaperSize::Custom) {
        settings.PaperWidth = int(Round(page_.Width()));
        settings.PaperLength = int(Round(page_.Length()));
    }
    settings.Orientation = page_.Orientation();
    // Tabled paper lies turned in landscape; a custom size is given as it lies.
    const bool turned = settings.Orientation == TPrinterOrientation::Landscape && page_.PaperSize() != TRpPaperSize::Custom;
    paperExtent_ = turned ? settings.TabledWidth() : settings.TabledLength();
    settings.Copies = PrinterSettings.Copies;
    settings.OutputBin = PrinterSettings.OutputBin;
    device.FirstPage = PrinterSettings.FirstPage;
    device.LastPage = PrinterSettings.LastPage;
    settings.Duplex = PrinterSettings.Duplex;
    settings.UseStandardPrinter = PrinterSettings.UseStandardprinter;
    settings.PrintMetaFile = PrinterSettings.PrintMetaFile;
    settings.UseCustomBinCode = PrinterSettings.UseCustomBinCode;
    settings.CustomBinCode = PrinterSettings.CustomBinCode;
    settings.UseCustomPaperCode = PrinterSettings.UseCustomPaperCode;
    settings.CustomPaperCode = PrinterSettings.CustomPaperCode;
    settings.PrintQuality = PrinterSettings.PrintQuality;
    settings.Collate = PrinterSettings.Collate;
    settings.ColorOption = PrinterSettings.ColorOption;
    settings.ExtendedDuplex = PrinterSettings.ExtendedDuplex;
    settings.MemoryLimit = PrinterSettings.MemoryLimit;
    device.JobTitle = ReportTitle;
    device.SetCompression(Options.Compression);
    device.BeginDoc();

    currentY_ = -1;
    pageNumber_ = 0;
    currentColumn_ = page_.Columns();
    pageFooterSize_ = 0;
    for (TRpCustomBand* band : bandList_) {
        if (band->BandType() != rbPageFooter || !band->Enabled)
            continue;
        for (TRpCustomBand* chained = band; chained; chained = chained->ChildBand()) {
            if (chained->Enabled)
                pageFooterSize_ += chained->Size().Values()[kHeight];
        }
    }
    currentX_ = double(Round(page_.LeftMargin()));

    ArrangeBands();
    BeforeBandLists();
    controller_->BuildBandLists();
    prepared_ = true;
    globalEnvironment().prepare();
    functions_.setDataSets(allDataSets_);
    functions_.prepare();
    TRpEvEnvironment::setStringConstant(functions_.firstElement(QStringLiteral("REPORTTITLE")), ReportTitle);
    controller_->Prepare();
    for (TRpPrintable* control : AllControls())
        control->Prepare();
}

void TCustomRpReport::UnprepareRun()
{
    if (unitsSwitched_) {
        SetUnits(savedUnits_);
        unitsSwitched_ = false;
    }
    if (prepared_) {
        for (TRpPrintable* control : AllControls())
            control->Unprepare();
        controller_->Unprepare();
        functions_.unprepare();
        functions_.setDataSets({});
        globalEnvironment().unprepare();
        prepared_ = false;
    }
}

void TCustomRpReport::CreateReport()
{
    if (!available_ || !rpPrinter_)
        return;
    BeginRun();
    try {
        bool print = true;
        if (BeforePrint)
            BeforePrint(*this, print);
        if (print) {
            PrepareRun();
            RunController();
            currentX_ = double(Round(page_.LeftMargin()));
            finalPage_ = true;
            if (!cancelled_)
                EndPage();
            UnprepareRun();
            if (cancelled_ || rpPrinter_->Cancelled())
                rpPrinter_->AbortDoc();
            else
                rpPrinter_->EndDoc();
        }
    } catch (...) {
        // The run ends cleanly whatever failed: controls, environments and units as before,
        // the document closed, the report idle again.
        UnprepareRun();
        if (rpPrinter_->State() == TRpPrinter::TRpPrinterState::Busy)
            rpPrinter_->AbortDoc();
        allDataSets_.clear();
        available_ = true;
        throw;
    }
    allDataSets_.clear();
    available_ = true;
}

void TCustomRpReport::RunController()
{
    controller_->Execute();
}

double TCustomRpReport::AvailableSpace() const
{
    if (available_ || currentY_ < 0 || !rpPrinter_)
        return 0;
    const std::vector<double>& p = page_.Values();
    return double(Round(paperExtent_ - p[TRpPage::BottomMarginIndex] - pageFooterSize_ - currentY_));
}

void TCustomRpReport::PrintBand(TRpCustomBand* band)
{
    if (!band)
        return;
    if (band->AlignToBottom) {
        const std::vector<double>& p = page_.Values();
        if (band->BandType() == rbSummary && !Options.LastPageFooter)
            pageFooterSize_ = 0;
        const double height = band->Size().Values()[kHeight];
        if (Round(p[TRpPage::BottomMarginIndex] + height + pageFooterSize_) <= paperExtent_ - currentY_)
            currentY_ = paperExtent_ - double(Round(height)) - double(Round(p[TRpPage::BottomMarginIndex] + pageFooterSize_));
    }
    band->Print();
    // A forced page break is skipped only right after the title or the first column header:
    // once another band has taken its place the next forced break counts.
    const TRpBandType type = band->EffectiveBandType();
    if (type != rbTitle && type != rbColumnHeader && type != rbPageHeader && type != rbPageFooter)
        SkipNextNewPage = false;
}

void TCustomRpReport::NewPage()
{
    if (available_)
        return;
    if (SkipNextNewPage) {
        SkipNextNewPage = false;
        return;
    }
    do {
        AdvanceColumn();
    } while (currentColumn_ != 1);
}

void TCustomRpReport::NewColumn()
{
    if (available_)
        return;
    if (columnBreakArmed_) {
        AdvanceColumn();
    } else if (currentColumn_ <= 1) {
        columnBreakArmed_ = true;
    } else {
        AdvanceColumn();
    }
}

void TCustomRpReport::AdvanceColumn()
{
    // The bands of the break itself (page footer, page header, column header) do not end an
    // overflow break: a group header with ForceNewPage reprinted under them would otherwise
    // start yet another page, empty but for those bands.
    const bool overflow = overflow_;
    const std::vector<double>& p = page_.Values();
    if (currentColumn_ != page_.Columns()) {
        int width = 0;
        if (TRpCustomBand* detail = FirstBand(rbDetail)) {
            width = int(Round(detail->Size().Values()[kWidth]));
        } else {
            const int columns = page_.Columns();
            width = (int(Round(p[TRpPage::WidthIndex] - (p[TRpPage::RightMarginIndex] + p[TRpPage::LeftMarginIndex])))
                     - int(Round(p[TRpPage::ColumnSpaceIndex])) * (columns - 1))
                    / columns;
        }
        currentX_ += width + double(Round(p[TRpPage::ColumnSpaceIndex]));
        currentY_ = columnTop_;
        ++currentColumn_;
    } else {
        currentColumn_ = 1;
        currentX_ = double(Round(p[TRpPage::LeftMarginIndex]));
        StartPage();
    }
    overflow_ = overflow;
    SetVariable("COLUMNNUMBER", currentColumn_);
    if (!(currentColumn_ == 1 && pageNumber_ == 1)) {
        PrintBand(ColumnHeaderBand());
        overflow_ = overflow;
        controller_->ReprintGroupHeaders();
    }
}

void TCustomRpReport::StartPage()
{
    EndPage();
    ++pageNumber_;
    SetVariable("PAGENUMBER", pageNumber_);
    rpPrinter_->NewPage();
    currentY_ = double(Round(page_.TopMargin()));
    if (OnStartPage)
        OnStartPage(*this);
    if (pageNumber_ > 1 || Options.FirstPageHeader)
        PrintBand(FirstBand(rbPageHeader));
    columnTop_ = currentY_;
    if (pageNumber_ == 1) {
        if (TRpCustomBand* title = FirstBand(rbTitle))
            columnTop_ += double(Round(title->Size().Values()[kHeight]));
    }
}

void TCustomRpReport::EndPage()
{
    if (pageNumber_ <= 0)
        return;
    const std::vector<double>& p = page_.Values();
    currentY_ = double(Round(p[TRpPage::LengthIndex] - p[TRpPage::BottomMarginIndex] - pageFooterSize_));
    currentX_ = double(Round(p[TRpPage::LeftMarginIndex]));
    if (!(finalPage_ && !Options.LastPageFooter))
        PrintBand(FirstBand(rbPageFooter));
    for (const auto& control : controls_)
        control->Print(0, 0);
    if (Frame.HasLines()) {
        TRpPrinter& device = *rpPrinter_;
        const QRect area(QPoint(device.ToDeviceX(p[TRpPage::LeftMarginIndex]), device.ToDeviceY(p[TRpPage::TopMarginIndex])),
                         QPoint(device.ToDeviceX(p[TRpPage::WidthIndex] - p[TRpPage::RightMarginIndex]),
                                device.ToDeviceY(p[TRpPage::LengthIndex] - p[TRpPage::BottomMarginIndex])));
        for (const QRect& line : Frame.LineRects(area, device.ScaleX(), device.ScaleY()))
            device.Canvas().FillRect(line, Frame.Color);
    }
    if (OnEndPage)
        OnEndPage(*this);
}

} // namespace lb::report
