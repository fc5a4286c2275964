// What configures the posted view of a kind: header boxes, line grid, texts.
#pragma once

#include "documents/EntryFormConfig.h"

struct PostedViewConfig {
    QString key;               // window class name ("Tfrfoutdetail")
    QString caption;
    QSize size;
    lb::documents::BillKind kind = lb::documents::BillKind::Sales;
    std::vector<HeaderBox> boxes; // all shown read-only
    int boxesPerRow = 4;
    std::vector<lb::ui::GridColumn> columns;
    int specColumn = -1;       // the column titled by the barcode option; -1: none
    std::vector<CommandLook> toolButtons; // left to right
    std::vector<CommandLook> popupItems;  // the line grid's pop-up menu, top to bottom
    QString noListForCopy;     // 转抄 refused when the view was not opened from the kind's list
};
