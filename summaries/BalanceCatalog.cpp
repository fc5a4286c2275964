// The five running-balance windows as configurations, by class name.
#include "summaries/BalanceCatalog.h"

#include "core/Tfrdm.h"
#include "documents/DocumentKinds.h"
#include "platform/sys/Errors.h"

namespace lb::summaries {

namespace {

using lb::documents::BillKind;
using lb::documents::DocumentKinds;

const QString LineOrder = QStringLiteral("billdate,billtype,sphh");
const QString ShownLines = QStringLiteral("spmc<>'上期结转' and");
const QString PartyRows = QStringLiteral("where pass=true and cancel=false and trim(customerid)=:code");

QString lineTable(BillKind kind) { return DocumentKinds::of(kind).lineTable; }
QString headerTable(BillKind kind) { return DocumentKinds::of(kind).headerTable; }

// insert into `table`(columns) select columns from `source` `where`.
QString gather(const QString& table, const QString& columns, const QString& source, const QString& where)
{
    return QStringLiteral("insert into %1(%2)\nselect %2 from %3\n%4").arg(table, columns, source, where);
}

void customerParty(BalanceConfig& c)
{
    c.partyTable = QStringLiteral("customer");
    c.partyDataSet = [] { return frdm->Aqcustomer; };
    c.partyResetSql = QStringLiteral("SELECT * from customer");
    c.notFound = c.runNotFound = QStringLiteral("查无此客户号！");
    c.codeHint = QStringLiteral("双击进入客户表");
    c.pickList = QStringLiteral("TFrcustomer");
}

void supplierParty(BalanceConfig& c)
{
    c.partyTable = QStringLiteral("branch");
    c.partyDataSet = [] { return frdm->AQbranch; };
    c.partyResetSql = QStringLiteral("SELECT * from branch");
    c.notFound = c.runNotFound = QStringLiteral("查无此供应商号！");
    c.codeHint = QStringLiteral("双击进入供应商表");
    c.pickList = QStringLiteral("TFrbranch");
}

// The summaries: the partner's document lines, carry-over lines included (they keep the
// balance and are not shown).
void lineSummary(BalanceConfig& c, const QString& price)
{
    c.walk.shownRows = ShownLines;
    c.walk.workTable = QStringLiteral("custtotal");
    c.walk.walkTable = QStringLiteral("custtotal1");
    c.walk.seed = QStringLiteral("insert into custtotal(sphh,spmc,remark,ss,sl_s,sl,%1,amount,deduck,pay,rest,billdate,billtype,"
                                 "billname,djh,customerid,customername)\n"
                                 "values('','上期结余','',0,0,0,0,0,0,0,0,:fromdate,'','','','','')")
                      .arg(price);
    c.walk.order = LineOrder;
    c.walk.copied = {"billdate", "billname", "djh", "sphh", "spmc", "amount", "deduck", "pay", "rest", price,
                     "unit", "sl", "js", "sl_j", "remark", "billtype"};
}

BalanceConfig customerSummary()
{
    BalanceConfig c;
    c.key = QStringLiteral("Tfrcusttotal");
    c.caption = QStringLiteral("客户汇总表");
    c.layoutClass = QStringLiteral("Tfrrcusttotal");
    c.printsSpecHeading = true;
    customerParty(c);
    c.codeLabel = QStringLiteral("客户编号");
    c.nameLabel = QStringLiteral("客户名");
    c.pickCode = lb::core::PickCode::CustomerSummary;
    c.columns = {{"billdate"}, {"billname"}, {"sphh", "编号"}, {"spmc", "名称"}, {"spgg"}, {"unit"}, {"sl"},
                 {"dj_n", "单价"}, {"amount"}, {"deduck"}, {"pay"}, {"rest"}, {"remark"}};
    c.specColumn = 4;
    lineSummary(c, QStringLiteral("dj_n"));
    const QString columns = QStringLiteral("sphh,spmc,remark,unit,sl_s,sl_j,sl,dj_n,amount,deduck,pay,rest,billdate,billtype,billname,djh,customerid");
    for (BillKind kind : {BillKind::Sales, BillKind::SalesReturn, BillKind::Receipt})
        c.walk.gathers << gather(QStringLiteral("custtotal"), columns, lineTable(kind), PartyRows);
    c.walk.rule.adding = {QStringLiteral("01")};
    return c;
}

// Purchase lines bring no deduction, returns and payments no payment: those count as 0.
BalanceConfig supplierSummary()
{
    BalanceConfig c;
    c.key = QStringLiteral("Tfrbrantotal");
    c.caption = QStringLiteral("供应商总汇表");
    c.layoutClass = QStringLiteral("Tfrrbrantotal");
    supplierParty(c);
    c.codeLabel = QStringLiteral("供应商编号");
    c.nameLabel = QStringLiteral("供应商名");
    c.pickCode = lb::core::PickCode::SupplierSummary;
    c.columns = {{"billdate"}, {"billname"}, {"sphh", "编号"}, {"spmc", "名称"}, {"unit"}, {"sl"}, {"dj_w"},
                 {"amount"}, {"deduck"}, {"pay", "付款金额"}, {"rest"}, {"remark"}};
    lineSummary(c, QStringLiteral("dj_w"));
    c.walk.gathers << gather(QStringLiteral("custtotal"),
                             QStringLiteral("sphh,spmc,unit,js,sl_s,sl_j,sl,dj_w,amount,pay,rest,billdate,billtype,billname,djh,customername"),
                             lineTable(BillKind::Purchase), PartyRows);
    for (BillKind kind : {BillKind::PurchaseReturn, BillKind::Payment})
        c.walk.gathers << gather(QStringLiteral("custtotal"),
                                 QStringLiteral("sphh,spmc,unit,js,sl_s,sl_j,sl,dj_w,amount,deduck,rest,billdate,billtype,billname,djh,customername"),
                                 lineTable(kind), PartyRows);
    c.walk.rule.adding = {QStringLiteral("02")};
    return c;
}

// The statements: one row per document, its balance before and after it.
BalanceConfig statement(const char* key, const QString& caption, const char* layout, std::initializer_list<BillKind> kinds,
                        const QString& moneyKind, const QString& addingKind)
{
    BalanceConfig c;
    c.key = QLatin1String(key);
    c.caption = caption;
    c.layoutClass = QLatin1String(layout);
    c.statement = true;
    c.columns = {{"billname"}, {"billdate"}, {"customerid"}, {"customername"}, {"balance"}, {"hjjs"}, {"hjsl"},
                 {"amount"}, {"deduck"}, {"pay"}, {"rest"}, {"remark", "摘要"}};
    c.walk.workTable = QStringLiteral("totallist");
    c.walk.walkTable = QStringLiteral("totallist1");
    // The document number goes along: the print lists it under "单据号".
    const QString columns = QStringLiteral("remark,hjss,hjjs,hjsl,amount,deduck,pay,rest,balance,billdate,billtype,billname,djh,customerid,customername,intno");
    c.walk.seed = QStringLiteral("insert into totallist(%1)\nvalues('',0,0,0,0,0,0,0,0,:fromdate,'','上期结余','','','','')").arg(columns);
    for (BillKind kind : kinds)
        c.walk.gathers << gather(QStringLiteral("totallist"), columns, headerTable(kind), PartyRows);
    c.walk.order = QStringLiteral("billdate,billtype");
    c.walk.copied = {"billdate", "djh", "customerid", "customername", "balance", "amount", "deduck", "pay", "rest",
                     "hjsl", "hjjs", "hjss", "remark", "billtype", "billname", "intno"};
    c.walk.rule.movedToPay = moneyKind;
    c.walk.rule.adding = {addingKind};
    return c;
}

BalanceConfig customerStatement()
{
    BalanceConfig c = statement("Tfrcusttotalist", QStringLiteral("客户对帐表"), "Tfrrcusttotalist",
                                {BillKind::Sales, BillKind::SalesReturn, BillKind::Receipt}, QStringLiteral("13"), QStringLiteral("01"));
    customerParty(c);
    c.codeLabel = QStringLiteral("客户编号");
    c.nameLabel = QStringLiteral("客户名");
    c.pickCode = lb::core::PickCode::CustomerStatement;
    return c;
}

BalanceConfig supplierStatement()
{
    BalanceConfig c = statement("Tfrbrantotalist", QStringLiteral("供应商对帐表"), "Tfrrbrantotalist",
                                {BillKind::Purchase, BillKind::PurchaseReturn, BillKind::Payment}, QStringLiteral("14"), QStringLiteral("02"));
    supplierParty(c);
    c.codeLabel = QStringLiteral("供应商号");
    c.nameLabel = QStringLiteral("供应商");
    c.pickCode = lb::core::PickCode::SupplierStatement;
    c.columns[2].title = QStringLiteral("供应商号");
    c.columns[3].title = QStringLiteral("供应商名");
    return c;
}

// The journal: money paid on sales and purchases into or out of the account the document
// names, and the receipt and payment lines of the account.
BalanceConfig journal()
{
    BalanceConfig c;
    c.key = QStringLiteral("Tfrbanktotal");
    c.caption = QStringLiteral("现金银行流水帐");
    c.layoutClass = QStringLiteral("Tfrrbanktotal");
    c.printsPartner = false; // the journal's heading is the company's
    c.partyTable = QStringLiteral("bank");
    c.partyDataSet = [] { return frdm->AQbank; };
    c.partyResetSql = QStringLiteral("SELECT * from bank");
    c.notFound = QStringLiteral("查无此现金银行号！");
    c.runNotFound = QStringLiteral("查无此编号！");
    c.padCode = true;
    c.codeBox = QStringLiteral("Edit3");
    c.nameBox = QStringLiteral("Edit4");
    c.codeLabel = QStringLiteral("现金银行编号");
    c.nameLabel = QStringLiteral("名称");
    c.codeHint = QStringLiteral("双击进入现金银行表");
    c.pickList = QStringLiteral("TFrbank");
    c.pickCode = lb::core::PickCode::CashBankJournal;
    c.walk.shownRows = ShownLines;
    c.columns = {{"billdate"}, {"billname"}, {"sphh", "编号"}, {"spmc", "名称"}, {"amount", "收款金额"},
                 {"pay", "付款金额"}, {"rest"}, {"billtype"}, {"customername"}};
    c.memo = false;
    c.runsOnShow = true;
    c.closingHeaderSql = QStringLiteral("select * from outlist");

    c.walk.workTable = QStringLiteral("custtotal");
    c.walk.walkTable = QStringLiteral("custtotal1");
    c.walk.seed = QStringLiteral("insert into custtotal(sphh,spmc,amount,deduck,pay,rest,billdate,billtype,billname)\n"
                                 "values(:code,'上期结余',0,0,0,0,:fromdate,'','')");
    const QString columns = QStringLiteral("sphh,spmc,ss,js,sl_s,sl_j,sl,dj_n,amount,deduck,pay,rest,billdate,billtype,billname,djh,customername");
    for (BillKind kind : {BillKind::Sales, BillKind::Purchase}) {
        c.walk.gathers << gather(QStringLiteral("custtotal"), columns, lineTable(kind),
                                 QStringLiteral("where pass=true and cancel=false and pay<>0 and mainintno in"
                                                " (select intno from %1 where trim(bankid)=:code)")
                                     .arg(headerTable(kind)));
    }
    for (BillKind kind : {BillKind::Receipt, BillKind::Payment})
        c.walk.gathers << gather(QStringLiteral("custtotal"), columns, lineTable(kind),
                                 QStringLiteral("where pass=true and cancel=false and sphh=:code and spmc<>'上期结转'"));
    c.walk.order = LineOrder;
    c.walk.copied = {"billdate", "billname", "djh", "sphh", "spmc", "amount", "deduck", "pay", "rest", "dj_n",
                     "ss", "sl_s", "js", "sl_j", "customername", "remark", "billtype"};
    c.walk.rule.movedToPay = QStringLiteral("14");
    c.walk.rule.moneyIn = {QStringLiteral("01")};
    c.walk.rule.moneyOut = {QStringLiteral("02")};
    c.walk.rule.adding = {QStringLiteral("01"), QStringLiteral("13")};
    c.walk.rule.deductCounts = false;
    return c;
}

} // namespace

const QStringList& BalanceCatalog::keys()
{
    static const QStringList all{"Tfrcusttotal", "Tfrbrantotal", "Tfrcusttotalist", "Tfrbrantotalist", "Tfrbanktotal"};
    return all;
}

BalanceConfig BalanceCatalog::byKey(const QString& key)
{
    if (key == QLatin1String("Tfrcusttotal"))
        return customerSummary();
    if (key == QLatin1String("Tfrbrantotal"))
        return supplierSummary();
    if (key == QLatin1String("Tfrcusttotalist"))
        return customerStatement();
    if (key == QLatin1String("Tfrbrantotalist"))
        return supplierStatement();
    if (key == QLatin1String("Tfrbanktotal"))
        return journal();
    throw lb::Error(QStringLiteral("No balance window %1").arg(key));
}

} // namespace lb::summaries
