// What configures one document-kind summary window: its kind, sums, filters, grid and boxes.
#pragma once

#include "core/PickCode.h"
#include "documents/DocumentKinds.h"
#include "platform/ui/GridColumn.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace lb::summaries {

// A read-only box under the grid showing one column of the sums row.
struct TotalBox {
    QString label;   // "合计金额"
    QString column;  // totallist column
    int decimals = 2;
};

struct KindSummaryConfig {
    QString key;                 // window class name, the registry key ("Tfrouttotal")
    lb::documents::BillKind kind = lb::documents::BillKind::Sales;
    QString caption;             // "销售汇总表"
    QString titleWords;          // the print title after the company name
    QString layoutClass;         // the report layout the print command fills ("Tfrrouttotal")

    // The sums row: the totallist columns and what the lines give them ("sum(sl)", ...).
    QString sumsColumns;
    QString sumsSelect;

    // The party and product boxes (Edit2, Edit3), "今天" and "分类汇总"; none when false.
    bool partyAndProduct = false;
    QString partyLabel;          // "客户号"
    QString partyHint;           // "双击选取客户"
    QString partyList;           // the picker's window class ("TFrcustomer")
    lb::core::PickCode partyPickCode = lb::core::PickCode::None; // PickMode while the picker is open
    QString statusText;          // the status bar's one panel
    bool productArrows = false;  // Up and Down move the focus from the product box too
    QString refreshCaption = QStringLiteral("刷新");

    std::vector<lb::ui::GridColumn> columns;
    // The line columns the kind's layout prints beyond those of the grid: the flow list reads
    // only the columns both show.
    QStringList printedColumns;
    int specColumn = -1;         // the spgg column, titled "条形码" or "规格型号" by the option
    std::vector<TotalBox> totals;

    // 分类汇总: the custtotal columns, what the lines give them, and the grouping.
    QString groupColumns;
    QString groupSelect;
    QString groupBy;

    // The print refreshes the summary first (the boxes as they stand) instead of printing
    // what the last run left.
    bool printRefreshesFirst = false;
    // The print heads the layout's specification column (RpLabel16) by the barcode option.
    bool printsSpecHeading = false;
    // Closing points the shared header dataset back at the kind's header table.
    bool closingResetsHeader = true;
};

} // namespace lb::summaries
