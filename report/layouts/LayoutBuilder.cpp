// Declaring a printed layout in millimetres: page, bands, texts, fields, rules and column tables.
#include "report/layouts/LayoutBuilder.h"

#include "report/TRpDBText.h"
#include "report/TRpExpr.h"
#include "report/TRpLabel.h"
#include "report/TRpReport.h"
#include "report/TRpShape.h"
#include "report/TRpSysData.h"


namespace lb::layouts {

using namespace lb::report;

namespace {

// A line of text at `size` points with its leading, in millimetres.
double lineHeight(double size)
{
    return size * 25.4 / 72 * 1.25;
}

// A control a command fills or that grows to its text keeps its own width off; a fixed width
// keeps the text inside it.
void sizeText(TRpCustomLabel* label, const Spot& spot)
{
    label->AutoSize = spot.width <= 0;
    label->WordWrap = false;
    label->Transparent = true;
    TRpFont font;
    font.Name = spot.font;
    font.Size = spot.size;
    font.Bold = spot.bold;
    label->SetFont(font);
}

} // namespace

LayoutBuilder::LayoutBuilder(TRpReport& report) : report_(report)
{
    report_.SetUnits(TRpUnit::MM);
    report_.Font.Name = QStringLiteral("宋体");
    report_.Font.SetPixelHeight(13);
    report_.SetPrintIfEmpty(true);
    report_.PrevInitialZoom = TRpZoomState::rpZoomToFit;
    report_.SetPreviewSize(800, 600);
}

void LayoutBuilder::page(double top, double bottom, double left, double right, bool landscape)
{
    TRpPage& paper = report_.Page();
    paper.SetOrientation(landscape ? TPrinterOrientation::Landscape : TPrinterOrientation::Portrait);
    paper.SetPaperSize(TRpPaperSize::A4);
    paper.SetValue(TRpPage::TopMarginIndex, top);
    paper.SetValue(TRpPage::BottomMarginIndex, bottom);
    paper.SetValue(TRpPage::LeftMarginIndex, left);
    paper.SetValue(TRpPage::RightMarginIndex, right);
    paper.SetValue(TRpPage::ColumnSpaceIndex, 0);
    paper.SetColumns(1);
}

TRpCustomBand* LayoutBuilder::band(TRpBandType type, double height)
{
    TRpBand* added = report_.AddBand(type);
    added->Size().SetHeight(height);
    return added;
}

void LayoutBuilder::frame(TRpCustomBand* band, bool left, bool right, bool top, bool bottom)
{
    band->Frame.DrawLeft = left;
    band->Frame.DrawRight = right;
    band->Frame.DrawTop = top;
    band->Frame.DrawBottom = bottom;
}

void LayoutBuilder::place(TRpPrintable* control, const Spot& spot) const
{
    const double width = spot.width > 0 ? spot.width : 10;
    control->Size().SetBounds(spot.left, spot.top, width, lineHeight(spot.size));
    control->SetAlignment(spot.align);
}

double LayoutBuilder::textWidth(const QString& text, double size)
{
    double width = 0;
    for (const QChar c : text)
        width += c.unicode() < 0x2E80 ? 0.5 : 1.0;
    return width * size * 25.4 / 72;
}

TRpDBText* LayoutBuilder::captioned(TRpCustomBand* band, const QString& caption, double left, double top,
                                    db::DataSet* dataSet, const QString& field, double fieldWidth)
{
    text(band, caption, {left, top});
    const double fieldLeft = left + textWidth(caption) + 0.5;
    return this->field(band, dataSet, field, {fieldLeft, top, fieldWidth});
}

TRpLabel* LayoutBuilder::text(TRpCustomBand* band, const QString& caption, const Spot& spot, const QString& name)
{
    auto* label = band->Add<TRpLabel>(name);
    label->SetCaption(caption);
    sizeText(label, spot);
    place(label, spot);
    return label;
}

TRpDBText* LayoutBuilder::field(TRpCustomBand* band, db::DataSet* dataSet, const QString& field, const Spot& spot,
                                const QString& name)
{
    auto* text = band->Add<TRpDBText>(name);
    text->SetDataSet(dataSet);
    text->SetDataField(field);
    sizeText(text, spot);
    place(text, spot);
    return text;
}

TRpExpr* LayoutBuilder::expression(TRpCustomBand* band, const QString& expression, const Spot& spot,
                                   const QString& name)
{
    auto* text = band->Add<TRpExpr>(name);
    text->SetExpression(expression);
    sizeText(text, spot);
    place(text, spot);
    return text;
}

TRpSysData* LayoutBuilder::systemData(TRpCustomBand* band, TRpSysDataType type, const Spot& spot, const QString& prefix)
{
    auto* data = band->Add<TRpSysData>();
    data->SetData(type);
    data->SetText(prefix);
    sizeText(data, spot);
    place(data, spot);
    return data;
}

TRpSysData* LayoutBuilder::pageNumber(TRpCustomBand* band, const Spot& spot, const QString& prefix)
{
    return systemData(band, TRpSysDataType::rpsPageNumber, spot, prefix);
}

TRpSysData* LayoutBuilder::printDate(TRpCustomBand* band, const Spot& spot)
{
    return systemData(band, TRpSysDataType::rpsDate, spot, QString());
}

TRpSysData* LayoutBuilder::lineNumber(TRpCustomBand* band, const Spot& spot)
{
    return systemData(band, TRpSysDataType::rpsDetailNo, spot, QString());
}

TRpShape* LayoutBuilder::vrule(TRpCustomBand* band, double x, double top, double height)
{
    auto* shape = band->Add<TRpShape>();
    shape->Shape = TRpShapeType::rpsVertLine;
    shape->Size().SetBounds(x, top, 0, height);
    return shape;
}

TRpShape* LayoutBuilder::hrule(TRpCustomBand* band, double y, double left, double width)
{
    auto* shape = band->Add<TRpShape>();
    shape->Shape = TRpShapeType::rpsHorLine;
    shape->Size().SetBounds(left, y, width, 0);
    return shape;
}

void LayoutBuilder::rules(const std::vector<TRpCustomBand*>& bands, const std::vector<double>& xs)
{
    for (TRpCustomBand* band : bands) {
        for (const double x : xs)
            vrule(band, x, 0, band->Size().Height());
    }
}

void LayoutBuilder::columns(TRpCustomBand* header, TRpCustomBand* detail, db::DataSet* dataSet,
                            const std::vector<Column>& columns, double headingTop, double fieldTop, double fontSize)
{
    for (const Column& column : columns) {
        if (!column.heading.isEmpty() || !column.headingName.isEmpty()) {
            const double left = column.headingLeft >= 0 ? column.headingLeft : column.left;
            const double width = column.headingLeft >= 0 ? 0 : column.width;
            text(header, column.heading, {left, headingTop, width, column.headingLeft >= 0 ? TRpAlignment::Left : column.align, fontSize},
                 column.headingName);
        }
        if (!column.field.isEmpty())
            field(detail, dataSet, column.field, {column.left, fieldTop, column.width, column.align, fontSize},
                  column.fieldName);
    }
}

TRpCustomBand* LayoutBuilder::ruledList(db::DataSet* dataSet, const std::vector<Column>& columns, double headerHeight,
                                        double detailHeight, double headingTop, double fieldTop)
{
    TRpCustomBand* header = band(rbColumnHeader, headerHeight);
    TRpCustomBand* detail = band(rbDetail, detailHeight);
    frame(header, true, true, false, true);
    frame(detail, true, true, false, true);
    this->columns(header, detail, dataSet, columns, headingTop, fieldTop);
    // A rule midway in the gap between two neighbouring columns.
    std::vector<double> xs;
    for (std::size_t i = 1; i < columns.size(); ++i)
        xs.push_back((columns[i - 1].left + columns[i - 1].width + columns[i].left) / 2);
    rules({header, detail}, xs);
    return detail;
}

} // namespace lb::layouts
