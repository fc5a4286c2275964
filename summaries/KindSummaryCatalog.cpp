// The six document-kind summary windows as configurations, by class name.
#include "summaries/KindSummaryCatalog.h"

#include "platform/sys/Errors.h"

namespace lb::summaries {

namespace {

using lb::documents::BillKind;
using lb::ui::GridColumn;

KindSummaryConfig base(const char* key, BillKind kind, const QString& caption, const QString& titleWords, const char* layout)
{
    KindSummaryConfig config;
    config.key = QLatin1String(key);
    config.kind = kind;
    config.caption = caption;
    config.titleWords = titleWords;
    config.layoutClass = QLatin1String(layout);
    return config;
}

KindSummaryConfig sales()
{
    KindSummaryConfig c = base("Tfrouttotal", BillKind::Sales, QStringLiteral("销售汇总表"), QStringLiteral("销售汇总表"), "Tfrrouttotal");
    // rest: the gross profit, quantity times selling less purchase price as each line stored them.
    c.sumsColumns = QStringLiteral("hjsl,hjjs,amount,deduck,pay,rest");
    c.sumsSelect = QStringLiteral("sum(sl),sum(js),sum(amount),sum(deduck),sum(pay),sum(sl*(dj_n-dj_w))");
    c.partyAndProduct = true;
    c.partyLabel = QStringLiteral("客户号");
    c.partyHint = QStringLiteral("双击选取客户");
    c.partyList = QStringLiteral("TFrcustomer");
    c.partyPickCode = lb::core::PickCode::SalesSummary;
    c.statusText = QStringLiteral("在客户号、货品号文本框输入客户号、货品号时，可按某客户或某货品进行汇总，当客户号和货品号为空时，对全部流水进行汇总。");
    c.refreshCaption = QStringLiteral("流水帐");
    c.columns = {{"customerid", "客户号"}, {"customername", "客户名"}, {"billdate", "日期"}, {"sphh", "货品代码"},
                 {"spmc", "货品名称"}, {"spgg"}, {"unit", "单位"}, {"sl", "数量"}, {"dj_n", "单价"},
                 {"amount", "金额"}, {"deduck", "扣除金额"}, {"pay", "收款金额"}, {"remark", "备注"}};
    c.specColumn = 5;
    c.printedColumns = {QStringLiteral("billname")};
    c.totals = {{QStringLiteral("合计数量"), QStringLiteral("hjsl"), 0}, {QStringLiteral("合计金额"), QStringLiteral("amount"), 2},
                {QStringLiteral("合计扣除"), QStringLiteral("deduck"), 2}, {QStringLiteral("收款合计"), QStringLiteral("pay"), 2},
                {QStringLiteral("销售毛利润"), QStringLiteral("rest"), 2}};
    // A group has no one price: its price is left empty rather than shown as 0.
    c.groupColumns = QStringLiteral("spintno,sphh,spmc,remark,unit,sl,amount,deduck,pay,dj_n");
    c.groupSelect = QStringLiteral("spintno,sphh,spmc,remark,unit,sum(sl),sum(amount),sum(deduck),sum(pay),null");
    c.groupBy = QStringLiteral("spintno,sphh,spmc,remark,unit");
    return c;
}

// The returns' rest holds the period's total quantity.
KindSummaryConfig salesReturn()
{
    KindSummaryConfig c = base("Tfroutbacktotal", BillKind::SalesReturn, QStringLiteral("销售退货汇表"),
                               QStringLiteral("销售退货汇总"), "Tfrroutbacktotal");
    c.sumsColumns = QStringLiteral("hjss,hjjs,amount,deduck,pay,rest");
    c.sumsSelect = QStringLiteral("sum(ss),sum(js),sum(amount),sum(deduck),sum(pay),sum(sl)");
    c.columns = {{"customername", "客户名"}, {"billdate", "日期"}, {"sphh", "货品代码"}, {"spmc", "货品名称"}, {"spgg"},
                 {"unit", "单位"}, {"sl", "数量"}, {"dj_n", "单价"}, {"amount", "金额"}, {"remark", "备注"}};
    c.specColumn = 4;
    c.printedColumns = {QStringLiteral("billname")};
    c.totals = {{QStringLiteral("合计数量"), QStringLiteral("rest"), 2}, {QStringLiteral("合计金额"), QStringLiteral("amount"), 2}};
    c.printRefreshesFirst = true;
    c.printsSpecHeading = true;
    return c;
}

KindSummaryConfig purchase()
{
    KindSummaryConfig c = base("Tfrintotal", BillKind::Purchase, QStringLiteral("进货汇总表"), QStringLiteral("进货汇总表"), "Tfrrintotal");
    c.sumsColumns = QStringLiteral("hjsl,hjjs,amount,pay");
    c.sumsSelect = QStringLiteral("sum(sl),sum(js),sum(amount),sum(pay)");
    c.partyAndProduct = true;
    c.partyLabel = QStringLiteral("供应商号");
    c.partyHint = QStringLiteral("双击选取供应商");
    c.partyList = QStringLiteral("TFrbranch");
    c.partyPickCode = lb::core::PickCode::PurchaseSummary;
    c.statusText = QStringLiteral("在供应商号、货品号文本框输入供应商号、货品号时，可按某供应商或某货品进行汇总，当供应商号和货品号为空时，对全部流水进行汇总。");
    c.productArrows = true;
    c.refreshCaption = QStringLiteral("流水帐");
    c.columns = {{"customerid", "供应商号"}, {"customername", "供应商名称"}, {"billdate", "日期"}, {"sphh", "货品代码"},
                 {"spmc", "货品名称"}, {"unit", "单位"}, {"js", "件数"}, {"sl_j", "数量/件"}, {"sl", "数量"},
                 {"amount", "金额"}, {"pay", "付款金额"}, {"remark", "备注"}};
    c.printedColumns = {QStringLiteral("billname"), QStringLiteral("dj_w")};
    c.totals = {{QStringLiteral("合计件数"), QStringLiteral("hjjs"), 2}, {QStringLiteral("合计数量"), QStringLiteral("hjsl"), 2},
                {QStringLiteral("合计金额"), QStringLiteral("amount"), 2}, {QStringLiteral("付款合计"), QStringLiteral("pay"), 2}};
    // Nor a price or a quantity per piece: left empty rather than shown as 0.
    c.groupColumns = QStringLiteral("spintno,sphh,spmc,unit,sl,amount,js,pay,dj_w,sl_j");
    c.groupSelect = QStringLiteral("spintno,sphh,spmc,unit,sum(sl),sum(amount),sum(js),sum(pay),null,null");
    c.groupBy = QStringLiteral("spintno,sphh,spmc,unit");
    return c;
}

KindSummaryConfig purchaseReturn()
{
    KindSummaryConfig c = base("Tfrinbacktotal", BillKind::PurchaseReturn, QStringLiteral("进货退货汇总表"),
                               QStringLiteral("进货退货汇总"), "Tfrrinbacktotal");
    c.sumsColumns = QStringLiteral("hjss,hjjs,amount,deduck,pay,rest");
    c.sumsSelect = QStringLiteral("sum(ss),sum(js),sum(amount),sum(deduck),sum(pay),sum(sl)");
    c.columns = {{"customername", "供应商名称"}, {"billdate", "日期"}, {"sphh", "货品代码"}, {"spmc", "货品名称"},
                 {"unit", "单位"}, {"sl", "数量"}, {"amount", "金额"}, {"remark", "备注"}};
    c.printedColumns = {QStringLiteral("billname"), QStringLiteral("dj_w")};
    c.totals = {{QStringLiteral("合计数量"), QStringLiteral("rest"), 2}, {QStringLiteral("合计金额"), QStringLiteral("amount"), 2}};
    c.printRefreshesFirst = true;
    c.closingResetsHeader = false;
    return c;
}

// Receipt and payment lines name a cash or bank account in sphh and spmc.
KindSummaryConfig money(const char* key, BillKind kind, const QString& caption, const char* layout)
{
    KindSummaryConfig c = base(key, kind, caption, caption, layout);
    c.sumsColumns = QStringLiteral("hjss,hjjs,amount,deduck,pay,rest");
    c.sumsSelect = QStringLiteral("sum(ss),sum(js),sum(amount),sum(deduck),sum(pay),sum(rest)");
    c.columns = {{"customername", "客户名"}, {"billdate", "日期"}, {"sphh", "银行编号"}, {"spmc", "银行名称"},
                 {"amount", "金额"}, {"deduck", "扣除金额"}, {"remark", "备注"}};
    // The print lists the document's number (the header's intno) where the grid has the party.
    c.printedColumns = {QStringLiteral("mainintno")};
    c.totals = {{QStringLiteral("合计金额"), QStringLiteral("amount"), 2}, {QStringLiteral("合计扣除"), QStringLiteral("deduck"), 2}};
    c.printRefreshesFirst = true;
    return c;
}

} // namespace

const QStringList& KindSummaryCatalog::keys()
{
    static const QStringList all{"Tfrouttotal", "Tfroutbacktotal", "Tfrintotal", "Tfrinbacktotal", "Tfrgettotal", "Tfrputtotal"};
    return all;
}

KindSummaryConfig KindSummaryCatalog::byKey(const QString& key)
{
    if (key == QLatin1String("Tfrouttotal"))
        return sales();
    if (key == QLatin1String("Tfroutbacktotal"))
        return salesReturn();
    if (key == QLatin1String("Tfrintotal"))
        return purchase();
    if (key == QLatin1String("Tfrinbacktotal"))
        return purchaseReturn();
    if (key == QLatin1String("Tfrgettotal"))
        return money("Tfrgettotal", BillKind::Receipt, QStringLiteral("收款汇总表"), "Tfrrgettotal");
    if (key == QLatin1String("Tfrputtotal"))
        return money("Tfrputtotal", BillKind::Payment, QStringLiteral("付款汇总表"), "Tfrrputtotal");
    throw lb::Error(QStringLiteral("No summary window %1").arg(key));
}

} // namespace lb::summaries
