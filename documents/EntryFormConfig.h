// What configures one document entry form: header boxes, line grid, keys, pickers, texts.
#pragma once

#include "documents/DocumentWindowConfig.h"

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace lb::documents {

struct EntryFormConfig : DocumentWindowConfig {
    QString codeBoxHint;      // Edit12, the code entry; empty: no code entry
    bool codeEntryByOption = false; // the code box fills a line only with EntryByProductCode
    QString historyBoxHint;   // Edit17; empty: no history copy
    bool newProductButton = false;  // Button1 "新增商品" beside the code box

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
};

} // namespace lb::documents
