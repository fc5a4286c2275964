// Text controls: line formatting and the printing of lines with band stretching.
#include "report/TRpCustomLabel.h"

#include "platform/gfx/EmfFormat.h"
#include "report/RpRound.h"
#include "report/RpTextWrap.h"
#include "report/TCustomRpReport.h"
#include "report/TRpCustomBand.h"
#include "report/TRpPrinter.h"

#include <algorithm>
#include <optional>

namespace lb::report {

using namespace gfx::emf;

namespace {

constexpr double kNativePerPixel = 254.0 / gfx::EmfFont::kPixelsPerInch;

} // namespace

TRpCustomLabel::TRpCustomLabel() = default;

void TRpCustomLabel::SetFont(const TRpFont& font)
{
    font_ = font;
    ParentFont = false;
}

const TRpFont& TRpCustomLabel::EffectiveFont() const
{
    return ParentFont ? TRpPrintable::EffectiveFont() : font_;
}

void TRpCustomLabel::SetName(const QString& name)
{
    const bool follows = caption_.isEmpty() || caption_ == Name();
    TRpPrintable::SetName(name);
    if (follows)
        SetCaptionText(name);
}

void TRpCustomLabel::SetCaptionText(const QString& text)
{
    caption_ = text;
    printCaption_ = text;
    number_ = false;
    FormatLines();
}

const gfx::EmfFont& TRpCustomLabel::Measuring() const
{
    const TRpFont& font = EffectiveFont();
    if (!(font == measuredFont_)) {
        measuredFont_ = font;
        measuring_ = font.Emf();
    }
    return measuring_;
}

double TRpCustomLabel::LineHeight() const
{
    return Measuring().textHeight() * kNativePerPixel;
}

void TRpCustomLabel::FormatLines()
{
    FormatLines(Measuring());
}

void TRpCustomLabel::FormatLines(const gfx::EmfFont& font)
{
    // Not const: this Qt's qxp::function_ref refers only to a modifiable callable.
    auto measure = [&font](const QString& text) { return double(font.textWidth(text)); };
    const double width = Size().Values()[TRpPrintableSize::WidthIndex] / kNativePerPixel;
    formattedLines_.clear(); // keeps its memory for the next record
    // A text printed for every record is one line as it stands as a rule; it is then printed
    // from the print caption instead of copied into the list, whose reference counting costs a
    // noticeable share of a long list's run.
    wholeCaption_ = CaptionIsSource() && RpIsOneLine(printCaption_, width, AutoSize || number_, WordWrap, measure);
    if (wholeCaption_)
        return;
    if (CaptionIsSource()) {
        RpWrapText(printCaption_, width, AutoSize || number_, WordWrap, measure, formattedLines_);
    } else {
        for (const QString& line : Lines)
            RpWrapText(line, width, AutoSize, WordWrap, measure, formattedLines_);
    }
}

double TRpCustomLabel::WidestLine(const gfx::EmfFont& font) const
{
    int widest = 0;
    for (qsizetype line = 0; line < LineCount(); ++line)
        widest = std::max(widest, font.textWidth(PrintedLine(line)));
    return widest * kNativePerPixel;
}

void TRpCustomLabel::Prepare()
{
    TRpPrintable::Prepare();
    SetCaptionText(caption_);
    nextLine_ = 0;
    finished_ = true;
}

void TRpCustomLabel::Print(double x, double y)
{
    if (!IsPrinted()) {
        finished_ = true;
        return;
    }
    TRpPrinter& device = *RpPrinter();
    TRpCanvas& canvas = device.Canvas();
    ProduceText();
    // The handler's text is for this print only. Kept only where there is a handler: the
    // copy costs a noticeable share of a long list's run.
    std::optional<QString> before;
    if (OnPrint && !printCaption_.isEmpty()) {
        before = printCaption_;
        QString text = printCaption_;
        OnPrint(*this, text);
        printCaption_ = text;
    }
    // After the handler, which may have changed the font. The lines are measured in the font
    // the canvas writes them in, so that the effective font is looked at once.
    canvas.SetFont(EffectiveFont());
    const gfx::EmfFont& font = canvas.Emf();
    FormatLines(font);
    const double lineHeight = canvas.TextHeight() / device.ScaleY();

    const std::vector<double>& v = Size().Values();
    double left = x + v[TRpPrintableSize::LeftIndex];
    const double top = y + v[TRpPrintableSize::TopIndex];
    double width = v[TRpPrintableSize::WidthIndex];
    double height = v[TRpPrintableSize::HeightIndex];
    const double frameWidth = Frame.HasLines() ? double(Round(Frame.Width / 72.0 * 254)) : 0;
    const double frameLeft = Frame.DrawLeft ? frameWidth : 0;
    const double frameTop = Frame.DrawTop ? frameWidth : 0;
    if (AutoSize) {
        // The label takes its text's width, keeping its left edge, right edge or centre.
        const double fitted = WidestLine(font) + frameLeft + (Frame.DrawRight ? frameWidth : 0);
        if (Alignment() == TRpAlignment::Right)
            left += width - fitted;
        else if (Alignment() == TRpAlignment::Center)
            left += (width - fitted) / 2;
        width = fitted;
        height = std::max(height, lineHeight);
    }
    // The control's edges are converted to pixels once: most anchors, clip edges and first
    // lines fall on them, and the same measure converts to the same pixel.
    const double right = left + width;
    const int leftX = device.ToDeviceX(left);
    const int rightX = device.ToDeviceX(right);
    const int topY = device.ToDeviceY(top);
    const auto deviceX = [&device, left, right, leftX, rightX](double at) {
        return at == left ? leftX : at == right ? rightX : device.ToDeviceX(at);
    };
    const auto deviceY = [&device, top, topY](double at) { return at == top ? topY : device.ToDeviceY(at); };
    const auto deviceRect = [&device, leftX, rightX, topY, top](double h) {
        return QRect(QPoint(leftX, topY), QPoint(rightX, device.ToDeviceY(top + h)));
    };
    // The control's area on the page, which grows with the band as lines stretch it.
    QRect area = deviceRect(height);
    const bool fill = !Transparent;
    if (fill)
        canvas.FillRect(area, Color);

    quint32 align = TA_LEFT;
    double anchor = left + frameLeft;
    if (Alignment() == TRpAlignment::Right) {
        align = TA_RIGHT;
        anchor = right;
    } else if (Alignment() == TRpAlignment::Center) {
        align = TA_CENTER;
        anchor = left + width / 2;
    }

    const int anchorX = deviceX(anchor);

    TRpCustomBand* band = ParentBand();
    const bool continued = band && band->ContinuedPass();
    if (finished_)
        nextLine_ = 0;
    double limit = top + height + 1;
    double expansion = 0;
    double lineTop = top + frameTop;
    int printed = 0;
    qsizetype line = nextLine_;
    while (line < LineCount()) {
        if (lineTop + lineHeight > limit) {
            if (!AutoStretch || !band || !band->ExpandTo(expansion + lineHeight))
                break;
            if (fill) {
                canvas.FillRect(QRect(QPoint(leftX, device.ToDeviceY(top + height + expansion)),
                                      QPoint(rightX, device.ToDeviceY(top + height + expansion + lineHeight))),
                                Color);
            }
            expansion += lineHeight;
            limit += lineHeight;
            area = deviceRect(height + expansion);
            continue;
        }
        QRect clip = area;
        if (number_) {
            // A number wider than the control runs out of it on the side away from its anchor.
            const double wide = font.textWidth(PrintedLine(line)) * kNativePerPixel;
            const double from = align == TA_RIGHT ? anchor - wide : align == TA_CENTER ? anchor - wide / 2 : anchor;
            clip = clip.united(QRect(QPoint(deviceX(from) - 1, clip.top()),
                                     QPoint(deviceX(from + wide) + 1, clip.bottom())));
        }
        canvas.TextOut(anchorX, deviceY(lineTop), clip, PrintedLine(line), align);
        lineTop += lineHeight;
        ++printed;
        ++line;
    }
    // A line that found no room even at the top of a fresh page never will: the control
    // finishes there instead of asking for page after page.
    finished_ = line >= LineCount() || !AutoStretch || (continued && printed == 0);
    nextLine_ = finished_ ? 0 : int(line);
    DrawFrame(area);
    if (before)
        printCaption_ = *before;
    AfterPrinting();
}

} // namespace lb::report
