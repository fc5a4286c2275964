// Output device: page records, the state of a run, report files and the preview request.
#include "report/TRpPrinter.h"

#include "platform/gfx/EmfFont.h"
#include "platform/sys/Errors.h"
#include "report/TCustomRpReport.h"
#include "report/TRpNoticeReceiver.h"
#include "report/TRpPreviewInterface.h"

#include <utility>

namespace lb::report {

namespace {

// Pages are laid out at the fixed resolution of their metafiles.
constexpr double kPageScale = gfx::EmfFont::kPixelsPerInch / 254.0;

constexpr TRpPaperSize kTabledSizes[] = {
    TRpPaperSize::Letter, TRpPaperSize::LetterSmall, TRpPaperSize::Tabloid, TRpPaperSize::Ledger,
    TRpPaperSize::Legal, TRpPaperSize::Statement, TRpPaperSize::Executive, TRpPaperSize::A3,
    TRpPaperSize::A4, TRpPaperSize::A4Small, TRpPaperSize::A5, TRpPaperSize::B4, TRpPaperSize::B5,
    TRpPaperSize::Folio, TRpPaperSize::Quarto, TRpPaperSize::rp10X14, TRpPaperSize::rp11X17,
    TRpPaperSize::Note, TRpPaperSize::Env9, TRpPaperSize::Env10, TRpPaperSize::Env11,
    TRpPaperSize::Env12, TRpPaperSize::Env14, TRpPaperSize::CSheet, TRpPaperSize::DSheet,
    TRpPaperSize::ESheet};

} // namespace

TRpPrinter::TRpPrinter(TCustomRpReport* parentReport) : parentReport_(parentReport) {}

TRpPrinter::~TRpPrinter() = default;

double TRpPrinter::SheetWidth() const
{
    const bool landscape = settings_.Orientation == TPrinterOrientation::Landscape;
    return landscape ? settings_.TabledLength() : settings_.TabledWidth();
}

double TRpPrinter::SheetLength() const
{
    const bool landscape = settings_.Orientation == TPrinterOrientation::Landscape;
    return landscape ? settings_.TabledWidth() : settings_.TabledLength();
}

void TRpPrinter::BeginDoc()
{
    if (state_ != TRpPrinterState::Ready)
        throw Error(QStringLiteral("RpPrinter not ready"));
    canvas_.reset();
    pagesReady_ = 0;
    cancelled_ = false;
    progress_ = 0;
    currentPage_ = 0;
    pageCount_ = 0;
    loaded_ = false;
    drawnBeyondWidth_ = false;
    outline_.Clear();
    pageList_.SetStream(std::make_unique<TRpStream>(settings_.MemoryLimit));
    scaleX_ = scaleY_ = kPageScale;
    state_ = TRpPrinterState::Busy;
}

void TRpPrinter::FinishPage()
{
    if (!canvas_)
        return;
    // The canvas goes first: a page that fails to store is not offered again.
    const std::unique_ptr<TRpCanvas> canvas = std::move(canvas_);
    // Boxes end on the first pixel outside them, so a box up to the sheet's edge ends one past it.
    const QRect drawn = canvas->Drawn();
    if (!drawn.isEmpty() && (drawn.left() < 0 || drawn.right() > ToDeviceWidth(SheetWidth())))
        drawnBeyondWidth_ = true;
    QByteArray page = canvas->Finish();
    pageList_.AddPage(page);
    pageBuffer_ = std::move(page);
}

void TRpPrinter::TellPages()
{
    if (noticeWindow_)
        noticeWindow_->PagesAvailable(pagesReady_);
}

void TRpPrinter::NewPage()
{
    if (state_ != TRpPrinterState::Busy)
        throw Error(QStringLiteral("Illegal call to NewPage"));
    if (currentPage_ > 0) {
        FinishPage();
        pagesReady_ = pageList_.PageCount();
        TellPages();
    }
    ++pageCount_;
    ++currentPage_;
    canvas_ = std::make_unique<TRpCanvas>(ToDeviceWidth(SheetWidth()), ToDeviceHeight(SheetLength()),
                                          std::exchange(pageBuffer_, QByteArray()));
}

void TRpPrinter::EndDoc()
{
    if (state_ != TRpPrinterState::Busy)
        return;
    FinishPage();
    pageBuffer_.clear(); // the run is over: its page buffer goes back
    pagesReady_ = pageList_.PageCount();
    state_ = TRpPrinterState::Finished;
    if (pageList_.PageCount() > 0)
        pageList_.WriteFileHeader();
    TellPages();
}

void TRpPrinter::AbortDoc()
{
    if (state_ == TRpPrinterState::Busy) {
        try {
            FinishPage();
        } catch (const Error&) {
            // A run that failed while storing a page ends with the pages stored before it.
        }
        pageBuffer_.clear();
        pagesReady_ = pageList_.PageCount();
    }
    state_ = TRpPrinterState::Finished;
    TellPages();
}

void TRpPrinter::Cleanup()
{
    if (state_ == TRpPrinterState::Busy)
        cancelled_ = true;
    canvas_.reset();
    pageBuffer_.clear();
    pageList_.FreeStream();
    pageCount_ = 0;
    currentPage_ = 0;
    pagesReady_ = 0;
    state_ = TRpPrinterState::Ready;
}

TRpCanvas& TRpPrinter::Canvas()
{
    if (!canvas_)
        throw Error(QStringLiteral("Illegal call to NewPage"));
    return *canvas_;
}

std::optional<gfx::EmfMetafile> TRpPrinter::GetPage(int number)
{
    if (state_ == TRpPrinterState::Ready || number < 1 || number > pageList_.PageCount())
        return std::nullopt;
    return pageList_.GetPage(number);
}

bool TRpPrinter::InRange(int number) const
{
    return !(FirstPage > 0 && number < FirstPage) && !(LastPage > 0 && number > LastPage);
}

QString TRpPrinter::DocumentName() const
{
    return parentReport_ && !parentReport_->DocumentTitle.isEmpty() ? parentReport_->DocumentTitle : JobTitle;
}

void TRpPrinter::SetProgress(int percent)
{
    progress_ = percent;
    if (noticeWindow_)
        noticeWindow_->ProgressChanged(percent);
}

void TRpPrinter::SetPrintingPage(int number, int percent)
{
    currentPage_ = number;
    SetProgress(percent);
}

void TRpPrinter::Save(const QString& fileName)
{
    if (state_ != TRpPrinterState::Finished)
        throw Error(QStringLiteral("The report is not finished yet"));
    pageList_.SaveToFile(fileName);
}

void TRpPrinter::Load(const QString& fileName)
{
    if (state_ == TRpPrinterState::Busy)
        throw Error(QStringLiteral("The report is still being generated"));
    pageList_.LoadFromFile(fileName);
    canvas_.reset();
    pageCount_ = pageList_.PageCount();
    currentPage_ = pageCount_;
    pagesReady_ = pageCount_;
    scaleX_ = scaleY_ = kPageScale;
    if (pageCount_ > 0) {
        const QSizeF mm = pageList_.GetPage(1).value().sizeMm();
        const int width = int(mm.width()) / 4;
        const int length = int(mm.height()) / 4;
        for (TRpPaperSize size : kTabledSizes) {
            const QSizeF table = *PaperSizeMm(size);
            const int tableWidth = int(table.width()) / 4;
            const int tableLength = int(table.height()) / 4;
            if (width == tableWidth && length == tableLength) {
                settings_.PaperSize = size;
                settings_.Orientation = TPrinterOrientation::Portrait;
                break;
            }
            if (width == tableLength && length == tableWidth) {
                settings_.PaperSize = size;
                settings_.Orientation = TPrinterOrientation::Landscape;
                break;
            }
        }
    }
    state_ = TRpPrinterState::Finished;
    PrintSetupHandler = nullptr;
    loaded_ = true;
    drawnBeyondWidth_ = false;
}

void TRpPrinter::SetPreviewShown(bool shown)
{
    const bool was = previewShown_;
    previewShown_ = shown;
    if (was && !shown) {
        if (state_ == TRpPrinterState::Busy)
            cancelled_ = true;
        if (AfterPreview)
            AfterPreview();
    }
}

void TRpPrinter::Preview(bool modal, const std::function<void()>& generate)
{
    if (OnPreview) {
        if (generate)
            generate();
        OnPreview(*this);
        return;
    }
    TRpPreviewInterface* windows = TRpPreviewInterface::Installed();
    if (!windows) {
        if (generate)
            generate();
        return;
    }
    if (modal)
        windows->ShowModal(*this, generate);
    else
        windows->ShowModeless(*this, generate);
}

void TRpPrinter::PrintStoredPages()
{
    if (state_ != TRpPrinterState::Finished)
        return;
    // The pages are printed as they were made and shown, unless the page was turned since:
    // then they no longer fit it, and the report lays itself out again on the turned page.
    if (parentReport_ && !loaded_ && parentReport_->Page().Orientation() != settings_.Orientation) {
        parentReport_->Print();
        return;
    }
    if (TRpPreviewInterface* windows = TRpPreviewInterface::Installed())
        windows->Print(*this, {});
}

} // namespace lb::report
