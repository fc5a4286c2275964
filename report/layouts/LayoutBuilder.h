// Declaring a printed layout in millimetres: page, bands, texts, fields, rules and column tables.
#pragma once

#include "report/TRpBandType.h"
#include "report/TRpPrintable.h"

#include <QString>
#include <utility>
#include <vector>

namespace lb::db {
class DataSet;
}

namespace lb::report {
class TRpCustomBand;
class TRpDBText;
class TRpExpr;
class TRpLabel;
class TRpReport;
class TRpShape;
class TRpSysData;
enum class TRpSysDataType;
}

namespace lb::layouts {

using report::TRpAlignment;

// Where a control sits on its band and how its text looks: left and top from the band's top
// left corner, in millimetres. A width of 0 lets the control grow to its text; a given width
// keeps it and aligns the text in it. Texts are 宋体 at `size` points.
struct Spot {
    double left = 0;
    double top = 0;
    double width = 0;
    TRpAlignment align = TRpAlignment::Left;
    double size = 10;
    bool bold = false;
    QString font = QStringLiteral("宋体");
};

// One column of a ruled list: its heading in the column header band and its field in the
// detail band, both at `left` with `width` unless the heading has a place of its own. A control
// a print command changes gets the name the command looks for.
struct Column {
    Column(QString heading, QString field, double left, double width, TRpAlignment align = TRpAlignment::Left)
        : heading(std::move(heading)), field(std::move(field)), left(left), width(width), align(align) {}
    // The heading on its own at `left`, growing to its text.
    Column& headingAt(double left)
    {
        headingLeft = left;
        return *this;
    }
    // The names of the heading label ("RpLabel19") and of the field ("RpDBText8").
    Column& named(QString heading, QString field = QString())
    {
        headingName = std::move(heading);
        fieldName = std::move(field);
        return *this;
    }

    QString heading;
    QString field;
    double left = 0;
    double width = 0;
    TRpAlignment align = TRpAlignment::Left;
    double headingLeft = -1;  // -1: over the field
    QString headingName;      // empty: an anonymous label
    QString fieldName;        // empty: an anonymous field
};

// Adds bands and controls to a report in millimetres. Every layout of the program is an A4
// report whose font is 宋体 13 pixels high, printed even when empty, previewed in an 800 x 600
// window zoomed to fit the page, with thumbnails and search unless it hides them.
class LayoutBuilder {
public:
    explicit LayoutBuilder(report::TRpReport& report);

    // A4 with the margins in millimetres, portrait or landscape.
    void page(double top, double bottom, double left, double right, bool landscape = false);
    report::TRpReport& report() const { return report_; }

    report::TRpCustomBand* band(report::TRpBandType type, double height);
    // The width a one-line text takes at `size` points: a Chinese character is as wide as the
    // font is high, any other character half as wide.
    static double textWidth(const QString& text, double size = 10);
    // A caption followed by the field that it names, the field right after the caption's text.
    report::TRpDBText* captioned(report::TRpCustomBand* band, const QString& caption, double left, double top,
                                 db::DataSet* dataSet, const QString& field, double fieldWidth = 0);

    // Lines along the band's edges.
    static void frame(report::TRpCustomBand* band, bool left, bool right, bool top, bool bottom);

    report::TRpLabel* text(report::TRpCustomBand* band, const QString& caption, const Spot& spot,
                           const QString& name = QString());
    report::TRpDBText* field(report::TRpCustomBand* band, db::DataSet* dataSet, const QString& field,
                             const Spot& spot, const QString& name = QString());
    report::TRpExpr* expression(report::TRpCustomBand* band, const QString& expression, const Spot& spot,
                                const QString& name = QString());
    // "第" + the page number, when a prefix is given; the date of printing.
    report::TRpSysData* pageNumber(report::TRpCustomBand* band, const Spot& spot, const QString& prefix = QString());
    report::TRpSysData* printDate(report::TRpCustomBand* band, const Spot& spot);
    report::TRpSysData* lineNumber(report::TRpCustomBand* band, const Spot& spot);

    // A vertical rule at `x` from `top` down `height` millimetres; a horizontal one at `y`.
    report::TRpShape* vrule(report::TRpCustomBand* band, double x, double top, double height);
    report::TRpShape* hrule(report::TRpCustomBand* band, double y, double left, double width);
    // Vertical rules over the whole height of each band at the given positions.
    void rules(const std::vector<report::TRpCustomBand*>& bands, const std::vector<double>& xs);

    // The headings into `header` at `headingTop`, the fields of `dataSet` into `detail` at
    // `fieldTop`.
    void columns(report::TRpCustomBand* header, report::TRpCustomBand* detail, db::DataSet* dataSet,
                 const std::vector<Column>& columns, double headingTop, double fieldTop, double fontSize = 10);

    // A ruled list: the column header and detail bands framed left, right and bottom, a vertical
    // rule between each two columns, the headings and fields as `columns` say. Returns the
    // detail band.
    report::TRpCustomBand* ruledList(db::DataSet* dataSet, const std::vector<Column>& columns, double headerHeight,
                                     double detailHeight, double headingTop, double fieldTop);

private:
    report::TRpSysData* systemData(report::TRpCustomBand* band, report::TRpSysDataType type, const Spot& spot,
                                   const QString& prefix);
    void place(report::TRpPrintable* control, const Spot& spot) const;

    report::TRpReport& report_;
};

} // namespace lb::layouts
