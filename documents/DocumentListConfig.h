// What configures a document list: its kind, search, columns, and the windows it opens.
#pragma once

#include "documents/EntryFormConfig.h"
#include "documents/PostedViewConfig.h"
#include "masterdata/ListSearch.h"

namespace lb::documents {

struct DocumentListConfig {
    QString key;               // window class name ("Tfroutlist")
    QString caption;
    BillKind kind = BillKind::Sales;
    int spacers = 0;           // blank buttons before the commands
    lb::masterdata::SearchConfig search; // the options "单据号", "日期", the party's number and name
    QString initialOption;
    QString dateOption;        // the option under which the search box takes a picked date only
    std::vector<lb::ui::GridColumn> columns;
    EntryFormConfig entryForm; // opened for an open document and by 新开单
    PostedViewConfig postedView; // opened for a posted one
};

} // namespace lb::documents
