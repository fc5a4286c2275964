// What configures both document windows, the entry forms and the posted views: header boxes,
// line grid, tool bar and pop-up menu.
#pragma once

#include "documents/DocumentKinds.h"
#include "platform/ui/GridColumn.h"

#include <QSize>
#include <QString>
#include <utility>
#include <vector>

namespace lb::documents {

// How a header box shows its value.
enum class BoxStyle {
    Text,     // typed by the user
    ReadOnly, // shown only (the document number, the date picked by double-click)
    Money,    // read-only, fixed-point with two decimals
    Quantity, // read-only, fixed-point without decimals
    Memo,     // the free note, several lines
};

// One header box with its label, in layout order (rows of `perRow` boxes).
struct HeaderBox {
    HeaderBox(QString name, QString label, QString field = QString(), BoxStyle style = BoxStyle::Text,
              QString hint = QString(), bool visible = true, int span = 1)
        : name(std::move(name)), label(std::move(label)), field(std::move(field)), style(style), hint(std::move(hint)),
          visible(visible), span(span) {}

    QString name;             // "Edit2"
    QString label;            // "客户号"
    QString field;            // the header field it mirrors ("customerid"); empty: none
    BoxStyle style = BoxStyle::Text;
    QString hint;
    bool visible = true;
    int span = 1;             // places of a row it takes (a long text, the note)
};

// A command of the tool bar or the pop-up menu: its object name, caption and hint, and the
// command it runs, named by the tool button that runs it ("ToolButton4"; "posting" is 过帐 or
// 记帐 by the posting mode); empty: the command named like the item. An item naming a command
// the window does not have (the posted view's entry-form items) is shown disabled.
struct CommandLook {
    QString name;
    QString caption;
    QString hint = QString();
    QString runs = QString();
};

// What both windows of a kind take from their configuration.
struct DocumentWindowConfig {
    QString key;              // window class name ("Tfroutdetail", "Tfrfoutdetail")
    QString caption;
    QSize size;
    BillKind kind = BillKind::Sales;
    std::vector<HeaderBox> boxes;
    int boxesPerRow = 4;
    std::vector<lb::ui::GridColumn> columns;
    int specColumn = -1;      // the column titled by the barcode option; -1: none
    std::vector<CommandLook> toolButtons; // left to right
    std::vector<CommandLook> popupItems;  // the line grid's pop-up menu, top to bottom
};

} // namespace lb::documents
