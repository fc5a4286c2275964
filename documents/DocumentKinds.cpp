// The document kinds: one row per kind, and the signed effects each kind's posting has.
#include "documents/DocumentKinds.h"

#include "platform/sys/Errors.h"

namespace lb::documents {

const QString DocumentKinds::CarryOverLine = QStringLiteral("上期结转");
const QString DocumentKinds::CashAccountId = QStringLiteral("0000000001");
const QString DocumentKinds::CashAccountName = QStringLiteral("现金");

BillState billState(bool pass, bool cancel)
{
    if (!pass)
        return BillState::Unposted;
    return cancel ? BillState::Reversed : BillState::Posted;
}

PostingMode postingMode(const QString& tallybj)
{
    return tallybj == QLatin1String("T") ? PostingMode::Full : PostingMode::StockOnly;
}

QString routeCode(PostingMode mode)
{
    return mode == PostingMode::Full ? QStringLiteral("T") : QStringLiteral("F");
}

namespace {

using T = EffectTarget;

DocumentKind kindRow(BillKind kind, const char* billtype, const QString& billname, const char* headerTable,
                     const char* lineTable, const char* partyTable)
{
    DocumentKind row;
    row.kind = kind;
    row.billtype = QString::fromLatin1(billtype);
    row.billname = billname;
    row.headerTable = QString::fromLatin1(headerTable);
    row.lineTable = QString::fromLatin1(lineTable);
    row.partyTable = QString::fromLatin1(partyTable);
    return row;
}

DocumentKind sales()
{
    DocumentKind k = kindRow(BillKind::Sales, "01", QStringLiteral("销售单"), "outlist", "outdetail", "customer");
    k.followsPostingMode = true;
    k.partyBalanceFromRest = true;
    k.postedLineCopies = {"billdate", "customerid", "customername", "bankid"};
    // A copy keeps the line's purchase price too: the sales summary's gross profit is the
    // selling price less it, so a copy without it would count the whole amount as profit.
    k.copiedLineFields = {"spintno", "sphh", "spmc", "spgg", "remark", "unit", "dj_n", "dj_w", "sl", "pay", "deduck"};
    k.recalcBoxColumns = {"remark1", "bankid", "employeename"};
    k.pickCode = 1;
    k.texts.noPartyPost = QStringLiteral("没有选取客户,不能过帐！");
    k.texts.partyNotFound = QStringLiteral("查无此客户号！");
    k.texts.partyNotFoundReverse = QStringLiteral("查无此客户号,不能冲数！");
    k.texts.stockShortPost = QStringLiteral("的库存数量不足,请检查是否已录进货单并过帐！");
    // The customer's balance moves by the document's amount less what it deducts and what
    // was paid with it; the money paid goes into the account; the goods leave the stock.
    k.effects = {
        {T::Party, "balance", "amount", +1},
        {T::Party, "balance", "deduck", -1},
        {T::Party, "balance", "pay", -1},
        {T::Party, "amount", "amount", +1},
        {T::Party, "pay", "pay", +1},
        {T::Party, "deduck", "deduck", +1},
        {T::Party, "amount_y", "amount", +1},
        {T::Party, "pay_y", "pay", +1},
        {T::Party, "deduck_y", "deduck", +1},
        {T::HeaderAccount, "balance", "pay", +1},
        {T::HeaderAccount, "amount", "pay", +1},
        {T::HeaderAccount, "amount_y", "pay", +1},
        {T::Product, "sl_out_m", "sl", +1},
        {T::Product, "sl_out_y", "sl", +1},
        {T::Product, "sl", "sl", -1, true},
    };
    k.recalc = LineRecalc::sales();
    return k;
}

DocumentKind purchase()
{
    DocumentKind k = kindRow(BillKind::Purchase, "02", QStringLiteral("进货单"), "inlist", "indetail", "branch");
    k.followsPostingMode = true;
    k.partyBalanceFromRest = true;
    k.postedLineCopies = {"billdate", "customerid", "customername", "bankid"};
    k.copiedLineFields = {"spintno", "sphh", "spmc", "remark", "unit", "dj_w", "js", "sl", "sl_j", "pay"};
    k.recalcBoxColumns = {"customerid", "customername", "persondeal", "bankid", "employeename"};
    k.codeEntry = {true, 1, 0};
    k.pickCode = 2;
    k.texts.noPartyPost = QStringLiteral("没有选取供应商,不能过帐！");
    k.texts.partyNotFound = QStringLiteral("查无此供应商号！");
    k.texts.partyNotFoundReverse = QStringLiteral("查无此供应商号,不能冲数！");
    k.texts.stockShortReverse = QStringLiteral("的库存数量不足！");
    // What is bought is owed to the supplier less what was paid from the account; the goods
    // come into stock.
    k.effects = {
        {T::Party, "balance", "amount", +1},
        {T::Party, "balance", "deduck", -1},
        {T::Party, "balance", "pay", -1},
        {T::Party, "amount", "amount", +1},
        {T::Party, "pay", "pay", +1},
        {T::Party, "deduck", "deduck", +1},
        {T::Party, "amount_y", "amount", +1},
        {T::Party, "pay_y", "pay", +1},
        {T::Party, "deduck_y", "deduck", +1},
        {T::HeaderAccount, "balance", "pay", -1},
        {T::HeaderAccount, "pay", "pay", +1},
        {T::HeaderAccount, "pay_y", "pay", +1},
        {T::Product, "sl_in_m", "sl", +1},
        {T::Product, "sl_in_y", "sl", +1},
        {T::Product, "sl", "sl", +1, true},
    };
    k.recalc = LineRecalc::purchase();
    return k;
}

// An order only records what is to be bought: posting marks it and moves nothing.
DocumentKind purchaseOrder()
{
    DocumentKind k = kindRow(BillKind::PurchaseOrder, "03", QStringLiteral("订货单"), "dhlist", "dhdetail", "branch");
    k.carryOverLine = false;
    k.blankPartyCode = QStringLiteral("0");
    k.postedLineCopies = {"billdate", "customerid", "customername", "bankid"};
    k.copiedLineFields = {"spintno", "sphh", "spmc", "remark", "unit", "dj_w", "js", "sl", "sl_j", "pay"};
    k.recalcBoxColumns = {"customerid", "customername", "persondeal", "bankid", "employeename"};
    k.codeEntry = {true, 1, 0};
    k.codeAlternateColumn = QStringLiteral("spgg");
    k.pickCode = 3;
    k.linePickCode = 2; // the product list fills an order line as a purchase line
    k.texts.noPartyPost = QStringLiteral("没有选取供应商,不能过帐！");
    k.texts.partyNotFound = QStringLiteral("查无此供应商号！");
    k.texts.codeNotFound = QStringLiteral("查无该货号或条形码！");
    k.recalc = LineRecalc::purchaseOrder();
    return k;
}

DocumentKind salesReturn()
{
    DocumentKind k = kindRow(BillKind::SalesReturn, "05", QStringLiteral("销售退货单"), "outbacklist", "outbackdetail", "customer");
    k.followsPostingMode = true;
    k.partyBalanceFromRest = true;
    k.headerAccount = false;
    k.postedLineCopies = {"billdate", "customerid", "customername", "djh"};
    k.recalcBoxColumns = {"customerid", "customername", "persondeal", "djh", "employeename"};
    k.recalcZeroedColumns = {"hjjs", "hjss"};
    k.pickCode = 5;
    k.texts.noPartyPost = QStringLiteral("没有选取客户,不能过帐！");
    k.texts.partyNotFound = QStringLiteral("查无此客户号！");
    k.texts.partyNotFoundReverse = QStringLiteral("查无此客户号,不能冲数！");
    k.texts.stockShortReverse = QStringLiteral("的库存数量不足！");
    // What the customer brings back is owed to him: his balance and his sales fall by the
    // amount; the goods come back into stock and out of the sales counters.
    k.effects = {
        {T::Party, "balance", "amount", -1},
        {T::Party, "amount", "amount", -1},
        {T::Party, "amount_y", "amount", -1},
        {T::Product, "sl_out_m", "sl", -1},
        {T::Product, "sl_out_y", "sl", -1},
        {T::Product, "sl", "sl", +1, true},
    };
    k.recalc = LineRecalc::salesReturn();
    return k;
}

DocumentKind purchaseReturn()
{
    DocumentKind k = kindRow(BillKind::PurchaseReturn, "06", QStringLiteral("进货退货单"), "inbacklist", "inbackdetail", "branch");
    k.followsPostingMode = true;
    k.partyBalanceFromRest = true;
    k.headerAccount = false;
    k.missingProductIsShort = true;
    k.postedLineCopies = {"billdate", "customerid", "customername", "djh"};
    k.recalcBoxColumns = {"customerid", "customername", "persondeal", "djh", "employeename"};
    k.recalcZeroedColumns = {"deduck", "hjjs"};
    k.codeEntry = {true, 0, 1};
    k.pickCode = 6;
    k.texts.noPartyPost = QStringLiteral("没有选取供应商,不能过帐！");
    k.texts.partyNotFound = QStringLiteral("查无此供应商号！");
    k.texts.partyNotFoundReverse = QStringLiteral("查无此供应商号,不能冲数！");
    k.texts.stockShortPost = QStringLiteral("的库存数量不足！");
    // Goods sent back lower what is owed to the supplier and what was bought from him, and
    // leave the stock and the purchase counters.
    k.effects = {
        {T::Party, "balance", "amount", -1},
        {T::Party, "amount", "amount", -1},
        {T::Party, "amount_y", "amount", -1},
        {T::Product, "sl_in_m", "sl", -1},
        {T::Product, "sl_in_y", "sl", -1},
        {T::Product, "sl", "sl", -1, true},
    };
    k.recalc = LineRecalc::purchaseReturn();
    return k;
}

DocumentKind receipt()
{
    DocumentKind k = kindRow(BillKind::Receipt, "13", QStringLiteral("收款单"), "getlist", "getdetail", "customer");
    k.partyBalanceFromRest = true;
    k.lineNamesRequired = false;
    k.headerAccount = false;
    k.linesAreAccounts = true;
    k.postedLineCopies = {"billdate", "customerid", "customername", "djh"};
    k.recalcBoxColumns = {"customerid", "customername", "persondeal", "djh", "employeename"};
    k.pickCode = 13;
    k.texts.noPartyPost = QStringLiteral("没有选取客户,不能过帐！");
    k.texts.partyNotFound = QStringLiteral("查无此客户号！");
    k.texts.partyNotFoundReverse = QStringLiteral("查无此客户号,不能冲数！");
    // The money received, and what was written off with it, lower what the customer owes;
    // each line's money goes into its account.
    k.effects = {
        {T::Party, "balance", "amount", -1},
        {T::Party, "balance", "deduck", -1},
        {T::Party, "pay", "amount", +1},
        {T::Party, "deduck", "deduck", +1},
        {T::Party, "pay_y", "amount", +1},
        {T::Party, "deduck_y", "deduck", +1},
        {T::LineAccount, "balance", "amount", +1},
        {T::LineAccount, "amount", "amount", +1},
        {T::LineAccount, "amount_y", "amount", +1},
    };
    k.recalc = LineRecalc::receipt();
    return k;
}

DocumentKind payment()
{
    DocumentKind k = kindRow(BillKind::Payment, "14", QStringLiteral("付款单"), "putlist", "putdetail", "branch");
    k.partyBalanceFromRest = true;
    k.lineNamesRequired = false;
    k.headerAccount = false;
    k.linesAreAccounts = true;
    k.postedLineCopies = {"billdate", "customerid", "customername", "djh"};
    k.recalcBoxColumns = {"customerid", "customername", "persondeal", "djh", "employeename"};
    k.pickCode = 14;
    k.texts.noPartyPost = QStringLiteral("没有选取供应商,不能过帐！");
    k.texts.partyNotFound = QStringLiteral("查无此供应商号！");
    k.texts.partyNotFoundPost = QStringLiteral("查无此供应商号,不能过帐！");
    k.texts.partyNotFoundReverse = QStringLiteral("查无此供应商号,不能冲数！");
    // The money paid, and what the supplier granted off, lower what is owed to him; each
    // line's money leaves its account.
    k.effects = {
        {T::Party, "balance", "amount", -1},
        {T::Party, "balance", "deduck", -1},
        {T::Party, "pay", "amount", +1},
        {T::Party, "deduck", "deduck", +1},
        {T::Party, "pay_y", "amount", +1},
        {T::Party, "deduck_y", "deduck", +1},
        {T::LineAccount, "balance", "amount", -1},
        {T::LineAccount, "pay", "amount", +1},
        {T::LineAccount, "pay_y", "amount", +1},
    };
    k.recalc = LineRecalc::payment();
    return k;
}

} // namespace

const std::vector<DocumentKind>& DocumentKinds::all()
{
    static const std::vector<DocumentKind> kinds = {
        sales(), purchase(), purchaseOrder(), salesReturn(), purchaseReturn(), receipt(), payment(),
    };
    return kinds;
}

const DocumentKind& DocumentKinds::of(BillKind kind)
{
    for (const DocumentKind& row : all())
        if (row.kind == kind)
            return row;
    throw lb::Error(QStringLiteral("No document kind %1").arg(int(kind)));
}

const DocumentKind* DocumentKinds::byCode(const QString& code)
{
    for (const DocumentKind& row : all())
        if (row.billtype == code)
            return &row;
    return nullptr;
}

PostingMode DocumentKinds::undoRoute(const DocumentKind& kind, const QString& recorded, PostingMode option)
{
    if (!kind.followsPostingMode)
        return PostingMode::Full;
    for (PostingMode route : {PostingMode::Full, PostingMode::StockOnly})
        if (recorded == routeCode(route))
            return route;
    return option;
}

const QStringList& DocumentKinds::bookedLineCopies()
{
    static const QStringList columns{"billdate", "customerid", "customername", "bankid"};
    return columns;
}

} // namespace lb::documents
