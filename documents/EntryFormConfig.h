// What configures one document entry form: header boxes, line grid, keys, pickers, texts.
#pragma once

#include "documents/DocumentKinds.h"
#include "platform/ui/GridColumn.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

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

struct EntryFormConfig {
    QString key;              // window class name ("Tfroutdetail")
    QString caption;
    QSize size;
    lb::documents::BillKind kind = lb::documents::BillKind::Sales;

    std::vector<HeaderBox> boxes;
    int boxesPerRow = 4;
    QString codeBoxHint;      // Edit12, the code entry; empty: no code entry
    bool codeEntryByOption = false; // the code box fills a line only when BillEntryMode is "F"
    QString historyBoxHint;   // Edit17; empty: no history copy
    bool newProductButton = false;  // Button1 "新增商品" beside the code box

    std::vector<lb::ui::GridColumn> columns;
    int specColumn = -1;      // the column titled by the barcode option; -1: none
    QString gridHint;
    QString linePicker = QStringLiteral("TFrproduct"); // the list a double-click on a line opens
    std::vector<int> recalcColumns;                 // leaving one recalculates
    int newLineColumn = -1;                         // Enter: recalculate and add a line
    std::vector<std::pair<int, int>> enterMoves;    // Enter moves from one column to another
    int nextLineColumn = -1;                        // Enter: the next line, in `firstEntryColumn`
    int firstEntryColumn = 0;
    int codeDownColumn = -1;  // Down in the code box focuses the grid on this column; -1: nothing

    std::vector<std::pair<QString, QString>> enterChain; // Enter in a box moves to another
    QString enterToLines;     // Enter in this box moves to the grid's next line, `firstEntryColumn`
    QStringList arrowBoxes;   // boxes where Up and Down move through the tab order
    QStringList tabOrder;     // the tab order by widget name; empty: the order of the layout

    QString partyList;        // picker of the party box ("TFrcustomer")
    bool recalcOnOpen = false;        // the form recalculates once it shows its document
    bool confirmPosting = true;       // 过帐 asks "单据确实要过帐吗?" first
    bool postingRemovesBlankLine = true; // 过帐 first deletes the current line when it has no name
    bool printRemovesBlankLine = true;   // 打印 first deletes the current line when it has no name
    bool deleteAsks = true;           // 删除 asks "确实要删除当前记录吗?"
    bool backReportsUnsaved = false;  // 退回 that cannot store the document says "单据不能保存！"
                                      // and stays open; otherwise the error handler has it
    QString noLineRefusal;            // the code entry and the line picker on no line or the
                                      // carry-over line; empty: the carry-over text
    QStringList statusPanels;
    std::vector<CommandLook> toolButtons; // left to right
    std::vector<CommandLook> popupItems;  // the line grid's pop-up menu, top to bottom
};
