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

// The party a kind's documents name: its table, and the texts of the refusals that name it.
struct PartySide {
    const char* table;
    QString noParty;         // 过帐 without a party code
    QString notFound;        // the party code names no row
    QString notFoundReverse; // the same on 冲数
};

PartySide customers()
{
    return {"customer", QStringLiteral("没有选取客户,不能过帐！"), QStringLiteral("查无此客户号！"),
            QStringLiteral("查无此客户号,不能冲数！")};
}

PartySide suppliers()
{
    return {"branch", QStringLiteral("没有选取供应商,不能过帐！"), QStringLiteral("查无此供应商号！"),
            QStringLiteral("查无此供应商号,不能冲数！")};
}

DocumentKind kindRow(BillKind kind, const char* billtype, const QString& billname, const char* headerTable,
                     const char* lineTable, const PartySide& party)
{
    DocumentKind row;
    row.kind = kind;
    row.billtype = QString::fromLatin1(billtype);
    row.billname = billname;
    row.headerTable = QString::fromLatin1(headerTable);
    row.lineTable = QString::fromLatin1(lineTable);
    row.partyTable = QString::fromLatin1(party.table);
    row.texts.noPartyPost = party.noParty;
    row.texts.partyNotFound = party.notFound;
    row.texts.partyNotFoundReverse = party.notFoundReverse;
    return row;
}

// A kind whose header keeps the paper document number where others name the account (the
// returns, the receipt and the payment): the recalculation stores it from its box and posting
// copies it into the lines.
DocumentKind paperNumberKind(BillKind kind, const char* billtype, const QString& billname, const char* headerTable,
                             const char* lineTable, const PartySide& party)
{
    DocumentKind k = kindRow(kind, billtype, billname, headerTable, lineTable, party);
    k.headerAccount = false;
    k.postedLineCopies = {"billdate", "customerid", "customername", "djh"};
    k.recalcBoxColumns = {"customerid", "customername", "persondeal", "djh", "employeename"};
    return k;
}

// A header column and the sign it moves the party's balance with.
struct BalanceTerm {
    const char* source;
    int sign;
};

// A total of the party, moved by a header column with a sign in its month column ("pay") and
// its year column ("pay_y").
struct PartyTotal {
    const char* column;
    const char* source;
    int sign;
};

// What posting moves on the party's row: the balance by each of `balance`, then the month
// column of each of `totals`, then their year columns; followed by the kind's `others`.
std::vector<Effect> effects(std::initializer_list<BalanceTerm> balance, std::initializer_list<PartyTotal> totals,
                            std::initializer_list<Effect> others)
{
    std::vector<Effect> moved;
    for (const BalanceTerm& term : balance)
        moved.push_back({T::Party, QStringLiteral("balance"), QString::fromLatin1(term.source), term.sign});
    for (const char* year : {"", "_y"})
        for (const PartyTotal& total : totals)
            moved.push_back({T::Party, QString::fromLatin1(total.column) + QLatin1String(year), QString::fromLatin1(total.source),
                             total.sign});
    moved.insert(moved.end(), others);
    return moved;
}

DocumentKind sales()
{
    DocumentKind k = kindRow(BillKind::Sales, "01", QStringLiteral("销售单"), "outlist", "outdetail", customers());
    k.followsPostingMode = true;
    k.partyBalanceFromRest = true;
    k.postedLineCopies = {"billdate", "customerid", "customername", "bankid"};
    // A copy keeps the line's purchase price too: the sales summary's gross profit is the
    // selling price less it, so a copy without it would count the whole amount as profit.
    k.copiedLineFields = {"spintno", "sphh", "spmc", "spgg", "remark", "unit", "dj_n", "dj_w", "sl", "pay", "deduck"};
    k.recalcBoxColumns = {"remark1", "bankid", "employeename"};
    k.pickCode = core::PickCode::SalesEntry;
    k.texts.stockShortPost = QStringLiteral("的库存数量不足,请检查是否已录进货单并过帐！");
    // The customer's balance moves by the document's amount less what it deducts and what
    // was paid with it; the money paid goes into the account; the goods leave the stock.
    k.effects = effects({{"amount", +1}, {"deduck", -1}, {"pay", -1}},
                        {{"amount", "amount", +1}, {"pay", "pay", +1}, {"deduck", "deduck", +1}},
                        {{T::HeaderAccount, "balance", "pay", +1}, {T::HeaderAccount, "amount", "pay", +1},
                         {T::HeaderAccount, "amount_y", "pay", +1}, {T::Product, "sl_out_m", "sl", +1},
                         {T::Product, "sl_out_y", "sl", +1}, {T::Product, "sl", "sl", -1, true}});
    k.recalc = LineRecalc::sales();
    return k;
}

DocumentKind purchase()
{
    DocumentKind k = kindRow(BillKind::Purchase, "02", QStringLiteral("进货单"), "inlist", "indetail", suppliers());
    k.followsPostingMode = true;
    k.partyBalanceFromRest = true;
    k.postedLineCopies = {"billdate", "customerid", "customername", "bankid"};
    k.copiedLineFields = {"spintno", "sphh", "spmc", "remark", "unit", "dj_w", "js", "sl", "sl_j", "pay"};
    k.recalcBoxColumns = {"customerid", "customername", "persondeal", "bankid", "employeename"};
    k.codeEntry = {true, 1, 0};
    k.pickCode = core::PickCode::PurchaseEntry;
    k.texts.stockShortReverse = QStringLiteral("的库存数量不足！");
    // What is bought is owed to the supplier less what was paid from the account; the goods
    // come into stock.
    k.effects = effects({{"amount", +1}, {"deduck", -1}, {"pay", -1}},
                        {{"amount", "amount", +1}, {"pay", "pay", +1}, {"deduck", "deduck", +1}},
                        {{T::HeaderAccount, "balance", "pay", -1}, {T::HeaderAccount, "pay", "pay", +1},
                         {T::HeaderAccount, "pay_y", "pay", +1}, {T::Product, "sl_in_m", "sl", +1},
                         {T::Product, "sl_in_y", "sl", +1}, {T::Product, "sl", "sl", +1, true}});
    k.recalc = LineRecalc::purchase();
    return k;
}

// An order only records what is to be bought: posting marks it and moves nothing. It is never
// reversed.
DocumentKind purchaseOrder()
{
    DocumentKind k = kindRow(BillKind::PurchaseOrder, "03", QStringLiteral("订货单"), "dhlist", "dhdetail", suppliers());
    k.carryOverLine = false;
    k.blankPartyCode = QStringLiteral("0");
    k.postedLineCopies = {"billdate", "customerid", "customername", "bankid"};
    k.copiedLineFields = {"spintno", "sphh", "spmc", "remark", "unit", "dj_w", "js", "sl", "sl_j", "pay"};
    k.recalcBoxColumns = {"customerid", "customername", "persondeal", "bankid", "employeename"};
    k.codeEntry = {true, 1, 0};
    k.codeAlternateColumn = QStringLiteral("spgg");
    k.pickCode = core::PickCode::PurchaseOrderEntry;
    k.linePickCode = core::PickCode::PurchaseEntry; // the product list fills an order line as a purchase line
    k.texts.codeNotFound = QStringLiteral("查无该货号或条形码！");
    k.recalc = LineRecalc::purchaseOrder();
    return k;
}

DocumentKind salesReturn()
{
    DocumentKind k =
        paperNumberKind(BillKind::SalesReturn, "05", QStringLiteral("销售退货单"), "outbacklist", "outbackdetail", customers());
    k.followsPostingMode = true;
    k.partyBalanceFromRest = true;
    k.recalcZeroedColumns = {"hjjs", "hjss"};
    k.pickCode = core::PickCode::SalesReturnEntry;
    k.texts.stockShortReverse = QStringLiteral("的库存数量不足！");
    // What the customer brings back is owed to him: his balance and his sales fall by the
    // amount; the goods come back into stock and out of the sales counters.
    k.effects = effects({{"amount", -1}}, {{"amount", "amount", -1}},
                        {{T::Product, "sl_out_m", "sl", -1}, {T::Product, "sl_out_y", "sl", -1},
                         {T::Product, "sl", "sl", +1, true}});
    k.recalc = LineRecalc::salesReturn();
    return k;
}

DocumentKind purchaseReturn()
{
    DocumentKind k =
        paperNumberKind(BillKind::PurchaseReturn, "06", QStringLiteral("进货退货单"), "inbacklist", "inbackdetail", suppliers());
    k.followsPostingMode = true;
    k.partyBalanceFromRest = true;
    k.missingProductIsShort = true;
    k.recalcZeroedColumns = {"deduck", "hjjs"};
    k.codeEntry = {true, 0, 1};
    k.pickCode = core::PickCode::PurchaseReturnEntry;
    k.texts.stockShortPost = QStringLiteral("的库存数量不足！");
    // Goods sent back lower what is owed to the supplier and what was bought from him, and
    // leave the stock and the purchase counters.
    k.effects = effects({{"amount", -1}}, {{"amount", "amount", -1}},
                        {{T::Product, "sl_in_m", "sl", -1}, {T::Product, "sl_in_y", "sl", -1},
                         {T::Product, "sl", "sl", -1, true}});
    k.recalc = LineRecalc::purchaseReturn();
    return k;
}

// A kind whose lines are the cash and bank accounts the money goes into or comes from
// (receipt, payment): posted in full only, and its lines need no name.
DocumentKind accountLinesKind(BillKind kind, const char* billtype, const QString& billname, const char* headerTable,
                              const char* lineTable, const PartySide& party)
{
    DocumentKind k = paperNumberKind(kind, billtype, billname, headerTable, lineTable, party);
    k.partyBalanceFromRest = true;
    k.lineNamesRequired = false;
    k.linesAreAccounts = true;
    return k;
}

DocumentKind receipt()
{
    DocumentKind k = accountLinesKind(BillKind::Receipt, "13", QStringLiteral("收款单"), "getlist", "getdetail", customers());
    k.pickCode = core::PickCode::ReceiptEntry;
    // The money received, and what was written off with it, lower what the customer owes;
    // each line's money goes into its account.
    k.effects = effects({{"amount", -1}, {"deduck", -1}}, {{"pay", "amount", +1}, {"deduck", "deduck", +1}},
                        {{T::LineAccount, "balance", "amount", +1}, {T::LineAccount, "amount", "amount", +1},
                         {T::LineAccount, "amount_y", "amount", +1}});
    k.recalc = LineRecalc::receipt();
    return k;
}

DocumentKind payment()
{
    DocumentKind k = accountLinesKind(BillKind::Payment, "14", QStringLiteral("付款单"), "putlist", "putdetail", suppliers());
    k.pickCode = core::PickCode::PaymentEntry;
    k.texts.partyNotFoundPost = QStringLiteral("查无此供应商号,不能过帐！");
    // The money paid, and what the supplier granted off, lower what is owed to him; each
    // line's money leaves its account.
    k.effects = effects({{"amount", -1}, {"deduck", -1}}, {{"pay", "amount", +1}, {"deduck", "deduck", +1}},
                        {{T::LineAccount, "balance", "amount", -1}, {T::LineAccount, "pay", "amount", +1},
                         {T::LineAccount, "pay_y", "amount", +1}});
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
