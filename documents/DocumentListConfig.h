// What configures a document list: its kind, search, columns, and the windows it opens.
#pragma once

#include "documents/EntryFormConfig.h"
#include "documents/PostedViewConfig.h"
#include "masterdata/ListSearch.h"

struct DocumentListConfig {
    QString key;               // window class name ("Tfroutlist")
    QString caption;
    lb::documents::BillKind kind = lb::documents::BillKind::Sales;
    int spacers = 0;           // blank buttons before the commands
    SearchConfig search;       // the options "单据号", "日期", the party's number and name
    QString initialOption;
    QString dateOption;        // the option under which the search box takes a picked date only
    std::vector<lb::ui::GridColumn> columns;
    EntryFormConfig entryForm; // opened for an open document and by 新开单
    PostedViewConfig postedView; // opened for a posted one
};
