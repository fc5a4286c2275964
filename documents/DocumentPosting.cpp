// What happens to a whole document: making, posting, reversing, booking, voiding and copying.
#include "documents/DocumentPosting.h"

#include "core/BillNumberPadding.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/db/SqlText.h"
#include "platform/sys/Clock.h"
#include "platform/sys/Errors.h"

#include <algorithm>
#include <map>
#include <memory>
#include <utility>

namespace lb::documents {

namespace {

using Params = std::vector<std::pair<QString, QVariant>>;
using lb::db::SqlText;

const QString alreadyPosted = QStringLiteral("该单据已过帐,不能再过帐！");
const QString alreadyBooked = QStringLiteral("该单据已记帐,不能再记帐！");
const QString alreadyReversed = QStringLiteral("该单据已冲数,不能再冲数！");
const QString noPartyBooking = QStringLiteral("没有选取供应商或客户,不能记帐！");
const QString noPartyUnbooking = QStringLiteral("没有选取供应商或客户,不能冲数！");
const QString namelessPost = QStringLiteral("没有商品名,不能过帐！");
const QString namelessBooking = QStringLiteral("没有商品名,不能记帐！");
const QString accountNotFound = QStringLiteral("查无此银行编号！");
const QString aboveLimit = QStringLiteral("库存超量！");
const QString belowLimit = QStringLiteral("库存缺货！");

QString q(const QString& identifier)
{
    return SqlText::quoteIdentifier(identifier);
}

// Runs one statement with named parameters.
void exec(lb::db::Connection& connection, const QString& sql, const Params& params)
{
    lb::db::Query statement(connection);
    statement.sql().add(sql);
    for (const auto& [name, value] : params)
        statement.paramByName(name).setValue(value);
    statement.execSQL();
}

// A query opened on its rows.
std::unique_ptr<lb::db::Query> select(lb::db::Connection& connection, const QString& sql, const Params& params)
{
    auto query = std::make_unique<lb::db::Query>(connection);
    query->sql().add(sql);
    for (const auto& [name, value] : params)
        query->paramByName(name).setValue(value);
    query->open();
    return query;
}

QString text(const lb::db::DataSet& rows, const char* field)
{
    return rows.fieldByName(QString::fromLatin1(field)).asString();
}

double number(const lb::db::DataSet& rows, const QString& field)
{
    return rows.fieldByName(field).asFloat();
}

// A stored document: its header row and its lines in line order.
struct Document {
    std::unique_ptr<lb::db::Query> header;
    std::unique_ptr<lb::db::Query> lines;
    bool pass() const { return header->fieldByName(QStringLiteral("pass")).asBoolean(); }
    bool cancel() const { return header->fieldByName(QStringLiteral("cancel")).asBoolean(); }
};

Document readDocument(lb::db::Connection& connection, const DocumentKind& kind, const QString& intno)
{
    Document document;
    document.header = select(connection, QStringLiteral("select * from %1 where intno=:p1").arg(q(kind.headerTable)),
                             {{QStringLiteral("p1"), intno}});
    if (document.header->isEmpty())
        throw lb::DatabaseError(QStringLiteral("Document %1 not found in %2").arg(intno, kind.headerTable));
    document.lines = select(connection,
                            QStringLiteral("select * from %1 where mainintno=:p1 order by intno").arg(q(kind.lineTable)),
                            {{QStringLiteral("p1"), intno}});
    return document;
}

// The rowid of the row of `table` whose id is exactly `code` (the column compares without case,
// the program does not); 0 when there is none.
qint64 rowWithId(lb::db::Connection& connection, const QString& table, const QString& code)
{
    auto rows = select(connection, QStringLiteral("select _rowid_ as lb_row, id from %1 where id=:p1").arg(q(table)),
                       {{QStringLiteral("p1"), code}});
    for (rows->first(); !rows->eof(); rows->next()) {
        if (text(*rows, "id") == code)
            return rows->fieldByName(QStringLiteral("lb_row")).asInteger();
    }
    return 0;
}

bool hasNamelessLine(lb::db::DataSet& lines)
{
    for (lines.first(); !lines.eof(); lines.next()) {
        if (text(lines, "spmc").isEmpty())
            return true;
    }
    return false;
}

std::vector<const Effect*> effectsOf(const DocumentKind& kind, EffectTarget target, bool bookedOnly)
{
    std::vector<const Effect*> chosen;
    for (const Effect& effect : kind.effects) {
        if (effect.target == target && (!bookedOnly || effect.booked))
            chosen.push_back(&effect);
    }
    return chosen;
}

// The SET clause that moves each column by its effects in their order, for example
// "balance=coalesce(balance,0)-:e0+:e1" (`direction` -1 for a reversal), with the values of
// the effects' sources in `row` bound as :e0, :e1, ... A column in `fixed` is set to the value
// given instead. Null numbers count as 0, as the program reads them.
struct Update {
    QString set;
    Params params;
    bool empty() const { return set.isEmpty(); }
};

Update updateFor(const std::vector<const Effect*>& effects, int direction, const lb::db::DataSet& row,
                 const std::map<QString, double>& fixed = {})
{
    std::vector<std::pair<QString, QString>> columns; // column, expression, in first-use order
    Update update;
    for (const auto& [column, value] : fixed) {
        const QString name = QStringLiteral("f%1").arg(update.params.size());
        columns.emplace_back(column, QLatin1Char(':') + name);
        update.params.emplace_back(name, value);
    }
    for (const Effect* effect : effects) {
        if (fixed.count(effect->column))
            continue;
        auto entry = std::find_if(columns.begin(), columns.end(), [&](const auto& c) { return c.first == effect->column; });
        if (entry == columns.end()) {
            columns.emplace_back(effect->column, QStringLiteral("coalesce(%1,0)").arg(q(effect->column)));
            entry = columns.end() - 1;
        }
        const QString name = QStringLiteral("e%1").arg(update.params.size());
        entry->second += (effect->sign * direction > 0 ? QStringLiteral("+:") : QStringLiteral("-:")) + name;
        update.params.emplace_back(name, number(row, effect->source));
    }
    QStringList sets;
    for (const auto& [column, expression] : columns)
        sets << q(column) + QLatin1Char('=') + expression;
    update.set = sets.join(QLatin1Char(','));
    return update;
}

void applyToRow(lb::db::Connection& connection, const QString& table, qint64 rowId, const Update& update)
{
    if (update.empty())
        return;
    Params params = update.params;
    params.emplace_back(QStringLiteral("lb_row"), rowId);
    exec(connection, QStringLiteral("update %1 set %2 where _rowid_=:lb_row").arg(q(table), update.set), params);
}

// The stock of each product the document's lines name, as stored now; products that do not
// exist are left out (the program passes over lines whose product was deleted).
std::map<QString, double> storedStock(lb::db::Connection& connection, const DocumentKind& kind, const QString& intno)
{
    auto rows = select(connection,
                       QStringLiteral("select intno, sl from product where intno in (select spintno from %1 where mainintno=:p1)")
                           .arg(q(kind.lineTable)),
                       {{QStringLiteral("p1"), intno}});
    std::map<QString, double> stock;
    for (rows->first(); !rows->eof(); rows->next())
        stock.emplace(text(*rows, "intno"), number(*rows, QStringLiteral("sl")));
    return stock;
}

// The first line whose product has less stock than the lines of that product take together
// (in line order); empty when the stock suffices. The message is the line's trimmed name
// followed by `suffix`. A line whose product is gone is passed over, or, with
// `missingIsShort`, is short itself: nothing can be taken out of a stock that is not there.
QString stockShortage(lb::db::Connection& connection, const DocumentKind& kind, const QString& intno, lb::db::DataSet& lines,
                      const QString& suffix, bool missingIsShort = false)
{
    const std::map<QString, double> stock = storedStock(connection, kind, intno);
    std::map<QString, double> taken;
    for (lines.first(); !lines.eof(); lines.next()) {
        const auto found = stock.find(text(lines, "spintno"));
        if (found == stock.end()) {
            if (missingIsShort && !text(lines, "spintno").isEmpty())
                return text(lines, "spmc").trimmed() + suffix;
            continue;
        }
        double& total = taken[found->first];
        total += number(lines, QStringLiteral("sl"));
        if (found->second < total)
            return text(lines, "spmc").trimmed() + suffix;
    }
    return {};
}

// Moves the products of the lines by `effects` (`direction` -1 takes them back). With
// `notices`, a product whose stock then lies beyond a limit is noted as booking notes it.
void moveProducts(lb::db::Connection& connection, lb::db::DataSet& lines, const std::vector<const Effect*>& effects,
                  int direction, QStringList* notices)
{
    if (effects.empty())
        return;
    lb::db::Query update(connection);
    lb::db::Query stock(connection);
    stock.sql().add(QStringLiteral("select sl, sl_sw, sl_s from product where intno=:p1"));
    for (lines.first(); !lines.eof(); lines.next()) {
        const QString product = text(lines, "spintno");
        if (product.isEmpty())
            continue;
        const Update change = updateFor(effects, direction, lines);
        if (update.sql().lines().isEmpty())
            update.sql().add(QStringLiteral("update product set %1 where intno=:lb_product").arg(change.set));
        for (const auto& [name, value] : change.params)
            update.paramByName(name).setValue(value);
        update.paramByName(QStringLiteral("lb_product")).setValue(product);
        update.execSQL();
        if (!notices)
            continue;
        stock.close();
        stock.paramByName(QStringLiteral("p1")).setValue(product);
        stock.open();
        if (stock.isEmpty())
            continue;
        const double sl = number(stock, QStringLiteral("sl"));
        const QString who = text(lines, "sphh").trimmed() + text(lines, "spmc").trimmed();
        // An upper limit left empty or 0 is no limit: every product in stock would be "over" it.
        const lb::db::Field& upper = stock.fieldByName(QStringLiteral("sl_sw"));
        if (!upper.isNull() && upper.asFloat() != 0 && sl > upper.asFloat())
            notices->append(who + aboveLimit);
        const lb::db::Field& lower = stock.fieldByName(QStringLiteral("sl_s"));
        if (!lower.isNull() && sl < lower.asFloat())
            notices->append(who + belowLimit);
    }
}

// Moves the cash/bank accounts of the lines (their sphh) by `effects`; an account that does
// not exist is passed over (posting has refused such lines before).
void moveLineAccounts(lb::db::Connection& connection, lb::db::DataSet& lines, const std::vector<const Effect*>& effects,
                      int direction)
{
    if (effects.empty())
        return;
    for (lines.first(); !lines.eof(); lines.next()) {
        const QString account = text(lines, "sphh");
        if (account.isEmpty())
            continue;
        if (const qint64 row = rowWithId(connection, QStringLiteral("bank"), account))
            applyToRow(connection, QStringLiteral("bank"), row, updateFor(effects, direction, lines));
    }
}

// Whether a line of a kind whose lines move accounts names an account code that names no row.
// Such a line is refused whatever its amount: a code that matches nothing is a slip to mend
// before the books move, and its money would otherwise vanish.
bool lineAccountMissing(lb::db::Connection& connection, lb::db::DataSet& lines, const std::vector<const Effect*>& effects)
{
    if (effects.empty())
        return false;
    for (lines.first(); !lines.eof(); lines.next()) {
        const QString account = text(lines, "sphh");
        if (!account.isEmpty() && rowWithId(connection, QStringLiteral("bank"), account) == 0)
            return true;
    }
    return false;
}

// Sets the flags (and, on posting and booking, the kind's code and name) on the header and on
// every line, copying `copies` from the header into the lines.
void flagDocument(lb::db::Connection& connection, const DocumentKind& kind, const Document& document,
                  const QString& flag, bool headerKind, bool lineKind, const QStringList& copies)
{
    const QString intno = text(*document.header, "intno");
    const Params kindParams{{QStringLiteral("lb_name"), kind.billname}, {QStringLiteral("lb_type"), kind.billtype}};
    QString headerSet = QStringLiteral("%1=1").arg(q(flag));
    Params headerParams{{QStringLiteral("lb_doc"), intno}};
    if (headerKind) {
        headerSet += QStringLiteral(",billname=:lb_name,billtype=:lb_type");
        headerParams.insert(headerParams.end(), kindParams.begin(), kindParams.end());
    }
    exec(connection, QStringLiteral("update %1 set %2 where intno=:lb_doc").arg(q(kind.headerTable), headerSet), headerParams);

    QStringList lineSets{QStringLiteral("%1=1").arg(q(flag))};
    Params lineParams{{QStringLiteral("lb_doc"), intno}};
    if (lineKind) {
        lineSets << QStringLiteral("billname=:lb_name,billtype=:lb_type");
        lineParams.insert(lineParams.end(), kindParams.begin(), kindParams.end());
    }
    for (const QString& column : copies) {
        const QString name = QStringLiteral("c_") + column;
        lineSets << q(column) + QStringLiteral("=:") + name;
        lineParams.emplace_back(name, document.header->fieldByName(column).value());
    }
    exec(connection, QStringLiteral("update %1 set %2 where mainintno=:lb_doc").arg(q(kind.lineTable), lineSets.join(QLatin1Char(','))),
         lineParams);
}

QString insertLine(lb::db::Connection& connection, const DocumentKind& kind, const QString& intno, const QString& mainintno,
                   const QStringList& columns, const lb::db::DataSet* from)
{
    QStringList names{QStringLiteral("intno"), QStringLiteral("mainintno")};
    QStringList marks{QStringLiteral(":lb_intno"), QStringLiteral(":lb_main")};
    Params params{{QStringLiteral("lb_intno"), intno}, {QStringLiteral("lb_main"), mainintno}};
    for (const QString& column : columns) {
        names << q(column);
        marks << QStringLiteral(":c_") + column;
        params.emplace_back(QStringLiteral("c_") + column, from->fieldByName(column).value());
    }
    exec(connection,
         QStringLiteral("insert into %1 (%2) values (%3)").arg(q(kind.lineTable), names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
         params);
    return intno;
}

Outcome refusalBefore(const DocumentKind& kind, bool pass, const QString& partyCode, bool booking)
{
    if (pass)
        return Outcome::refusal(booking ? alreadyBooked : alreadyPosted);
    if (DocumentPosting::noParty(partyCode, kind.blankPartyCode))
        return Outcome::refusal(booking ? noPartyBooking : kind.texts.noPartyPost);
    return {};
}

Outcome refusalBeforeUnbooking(bool cancel, const QString& partyCode)
{
    if (cancel)
        return Outcome::refusal(alreadyReversed);
    if (DocumentPosting::noParty(partyCode))
        return Outcome::refusal(noPartyUnbooking);
    return {};
}

} // namespace

bool DocumentPosting::noParty(const QString& partyCode, const QString& blankCode)
{
    const QString code = partyCode.trimmed();
    return code.isEmpty() || code == blankCode;
}

QString DocumentPosting::create(lb::db::Connection& connection, const DocumentKind& kind, const QString& remark1)
{
    lb::db::Transaction transaction(connection);
    const QString intno = lb::core::nextIntno(connection, kind.headerTable);
    const QString account = kind.headerAccount ? DocumentKinds::CashAccountId : QString();
    const QString accountName = kind.headerAccount ? DocumentKinds::CashAccountName : QString();
    exec(connection,
         QStringLiteral("insert into %1 (intno,pass,billdate,bankid,bankname,remark1) values (:p1,0,:p2,:p3,:p4,:p5)").arg(q(kind.headerTable)),
         {{QStringLiteral("p1"), intno}, {QStringLiteral("p2"), lb::Clock::today()}, {QStringLiteral("p3"), account},
          {QStringLiteral("p4"), accountName}, {QStringLiteral("p5"), remark1}});
    QString line = lb::core::nextIntno(connection, kind.lineTable);
    if (kind.carryOverLine) {
        exec(connection, QStringLiteral("insert into %1 (intno,mainintno,spmc) values (:p1,:p2,:p3)").arg(q(kind.lineTable)),
             {{QStringLiteral("p1"), line}, {QStringLiteral("p2"), intno}, {QStringLiteral("p3"), DocumentKinds::CarryOverLine}});
        line = lb::core::nextIntnoAfter(line);
    }
    // The first line to fill: blank, or the cash account where lines are accounts.
    exec(connection, QStringLiteral("insert into %1 (intno,mainintno,sphh,spmc) values (:p1,:p2,:p3,:p4)").arg(q(kind.lineTable)),
         {{QStringLiteral("p1"), line}, {QStringLiteral("p2"), intno},
          {QStringLiteral("p3"), kind.linesAreAccounts ? DocumentKinds::CashAccountId : QString()},
          {QStringLiteral("p4"), kind.linesAreAccounts ? DocumentKinds::CashAccountName : QString()}});
    transaction.commit();
    return intno;
}

Outcome DocumentPosting::refuseBeforePosting(const DocumentKind& kind, const QString& intno, lb::db::Connection& connection,
                                             const QString& partyCode, bool booking)
{
    auto header = select(connection, QStringLiteral("select pass from %1 where intno=:p1").arg(q(kind.headerTable)),
                         {{QStringLiteral("p1"), intno}});
    if (header->isEmpty())
        throw lb::DatabaseError(QStringLiteral("Document %1 not found in %2").arg(intno, kind.headerTable));
    return refusalBefore(kind, header->fieldByName(QStringLiteral("pass")).asBoolean(), partyCode, booking);
}

Outcome DocumentPosting::refuseBeforeUnbooking(lb::db::Connection& connection, const DocumentKind& kind, const QString& intno,
                                               const QString& partyCode)
{
    auto header = select(connection, QStringLiteral("select cancel from %1 where intno=:p1").arg(q(kind.headerTable)),
                         {{QStringLiteral("p1"), intno}});
    if (header->isEmpty())
        throw lb::DatabaseError(QStringLiteral("Document %1 not found in %2").arg(intno, kind.headerTable));
    return refusalBeforeUnbooking(header->fieldByName(QStringLiteral("cancel")).asBoolean(), partyCode);
}

Outcome DocumentPosting::post(lb::db::Connection& connection, const DocumentKind& kind, const QString& intno,
                              const QString& partyCode, const QString& accountCode)
{
    Document document = readDocument(connection, kind, intno);
    Outcome before = refusalBefore(kind, document.pass(), partyCode, false);
    if (before.refused)
        return before;
    lb::db::DataSet& header = *document.header;
    lb::db::DataSet& lines = *document.lines;
    if (kind.lineNamesRequired && hasNamelessLine(lines))
        return Outcome::refusal(namelessPost);
    if (!kind.texts.stockShortPost.isEmpty()) {
        const QString shortage = stockShortage(connection, kind, intno, lines, kind.texts.stockShortPost, kind.missingProductIsShort);
        if (!shortage.isEmpty())
            return Outcome::refusal(shortage);
    }
    // Every kind's party must exist, also where posting moves nothing of it.
    const auto partyEffects = effectsOf(kind, EffectTarget::Party, false);
    const bool touchesParty = !partyEffects.empty() || kind.partyBalanceFromRest;
    const qint64 party = rowWithId(connection, kind.partyTable, partyCode);
    if (party == 0)
        return Outcome::refusal(kind.texts.partyNotFoundPost.isEmpty() ? kind.texts.partyNotFound : kind.texts.partyNotFoundPost);

    Outcome outcome;
    const auto accountEffects = effectsOf(kind, EffectTarget::HeaderAccount, false);
    const qint64 account = accountEffects.empty() ? 0 : rowWithId(connection, QStringLiteral("bank"), accountCode);
    if (!accountEffects.empty() && account == 0) {
        // Money paid into an account that does not exist would vanish from the books.
        for (const Effect* effect : accountEffects) {
            if (number(header, effect->source) != 0)
                return Outcome::refusal(accountNotFound);
        }
        outcome.notices << accountNotFound;
    }
    const auto lineAccountEffects = effectsOf(kind, EffectTarget::LineAccount, false);
    if (lineAccountMissing(connection, lines, lineAccountEffects))
        return Outcome::refusal(accountNotFound);

    lb::db::Transaction transaction(connection);
    if (touchesParty) {
        std::map<QString, double> fixed;
        if (kind.partyBalanceFromRest)
            fixed[QStringLiteral("balance")] = number(header, QStringLiteral("rest"));
        applyToRow(connection, kind.partyTable, party, updateFor(partyEffects, +1, header, fixed));
    }
    if (account != 0)
        applyToRow(connection, QStringLiteral("bank"), account, updateFor(accountEffects, +1, header));
    flagDocument(connection, kind, document, QStringLiteral("pass"), true, true, kind.postedLineCopies);
    moveProducts(connection, lines, effectsOf(kind, EffectTarget::Product, false), +1, nullptr);
    moveLineAccounts(connection, lines, lineAccountEffects, +1);
    transaction.commit();
    return outcome;
}

Outcome DocumentPosting::reverse(lb::db::Connection& connection, const DocumentKind& kind, const QString& intno,
                                 const QString& partyCode, const QString& accountCode)
{
    Document document = readDocument(connection, kind, intno);
    lb::db::DataSet& header = *document.header;
    lb::db::DataSet& lines = *document.lines;
    if (!document.pass())
        throw lb::Error(QStringLiteral("Document %1 is not posted").arg(intno));
    if (document.cancel())
        return Outcome::refusal(alreadyReversed);
    if (!kind.texts.stockShortReverse.isEmpty()) {
        const QString shortage = stockShortage(connection, kind, intno, lines, kind.texts.stockShortReverse);
        if (!shortage.isEmpty())
            return Outcome::refusal(shortage);
    }
    const auto partyEffects = effectsOf(kind, EffectTarget::Party, false);
    const qint64 party = partyEffects.empty() ? 0 : rowWithId(connection, kind.partyTable, partyCode);
    if (!partyEffects.empty() && party == 0)
        return Outcome::refusal(kind.texts.partyNotFoundReverse);
    Outcome outcome;
    const auto accountEffects = effectsOf(kind, EffectTarget::HeaderAccount, false);
    const qint64 account = accountEffects.empty() ? 0 : rowWithId(connection, QStringLiteral("bank"), accountCode);
    if (!accountEffects.empty() && account == 0)
        outcome.notices << accountNotFound;
    const auto lineAccountEffects = effectsOf(kind, EffectTarget::LineAccount, false);
    if (lineAccountMissing(connection, lines, lineAccountEffects)) {
        if (!kind.reversalSkipsMissingAccounts)
            return Outcome::refusal(accountNotFound);
        outcome.notices << accountNotFound;
    }

    lb::db::Transaction transaction(connection);
    if (party != 0)
        applyToRow(connection, kind.partyTable, party, updateFor(partyEffects, -1, header));
    if (account != 0)
        applyToRow(connection, QStringLiteral("bank"), account, updateFor(accountEffects, -1, header));
    flagDocument(connection, kind, document, QStringLiteral("cancel"), false, false, {});
    moveProducts(connection, lines, effectsOf(kind, EffectTarget::Product, false), -1, nullptr);
    moveLineAccounts(connection, lines, lineAccountEffects, -1);
    transaction.commit();
    return outcome;
}

Outcome DocumentPosting::book(lb::db::Connection& connection, const DocumentKind& kind, const QString& intno,
                              const QString& partyCode)
{
    Document document = readDocument(connection, kind, intno);
    Outcome before = refusalBefore(kind, document.pass(), partyCode, true);
    if (before.refused)
        return before;
    if (hasNamelessLine(*document.lines))
        return Outcome::refusal(namelessBooking);
    Outcome outcome;
    lb::db::Transaction transaction(connection);
    flagDocument(connection, kind, document, QStringLiteral("pass"), kind.followsPostingMode, kind.followsPostingMode,
                 DocumentKinds::bookedLineCopies());
    moveProducts(connection, *document.lines, effectsOf(kind, EffectTarget::Product, true), +1, &outcome.notices);
    transaction.commit();
    return outcome;
}

Outcome DocumentPosting::unbook(lb::db::Connection& connection, const DocumentKind& kind, const QString& intno,
                                const QString& partyCode)
{
    Document document = readDocument(connection, kind, intno);
    if (!document.pass())
        throw lb::Error(QStringLiteral("Document %1 is not booked").arg(intno));
    Outcome before = refusalBeforeUnbooking(document.cancel(), partyCode);
    if (before.refused)
        return before;
    if (hasNamelessLine(*document.lines))
        return Outcome::refusal(namelessBooking);
    Outcome outcome;
    lb::db::Transaction transaction(connection);
    flagDocument(connection, kind, document, QStringLiteral("cancel"), false, kind.followsPostingMode,
                 DocumentKinds::bookedLineCopies());
    moveProducts(connection, *document.lines, effectsOf(kind, EffectTarget::Product, true), -1, &outcome.notices);
    transaction.commit();
    return outcome;
}

Outcome DocumentPosting::voidDocument(lb::db::Connection& connection, const DocumentKind& kind, const QString& intno,
                                      bool unbookStock)
{
    Outcome outcome;
    lb::db::Transaction transaction(connection);
    if (unbookStock) {
        Document document = readDocument(connection, kind, intno);
        if (billState(document.pass(), document.cancel()) == BillState::Posted)
            moveProducts(connection, *document.lines, effectsOf(kind, EffectTarget::Product, true), -1, &outcome.notices);
    }
    const Params params{{QStringLiteral("p1"), intno}};
    exec(connection, QStringLiteral("delete from %1 WHERE (mainintno=:p1)").arg(q(kind.lineTable)), params);
    exec(connection, QStringLiteral("delete from %1 WHERE (intno=:p1)").arg(q(kind.headerTable)), params);
    transaction.commit();
    return outcome;
}

QString DocumentPosting::copy(lb::db::Connection& connection, const DocumentKind& kind, const QString& intno,
                              const CopyHeader& header)
{
    auto source = select(connection, QStringLiteral("select * from %1 where mainintno=:p1 order by intno").arg(q(kind.lineTable)),
                         {{QStringLiteral("p1"), intno}});
    lb::db::Transaction transaction(connection);
    const QString copyNo = lb::core::nextIntno(connection, kind.headerTable);
    exec(connection,
         QStringLiteral("insert into %1 (intno,pass,billdate,customerid,customername,persondeal,remark,remark1,bankid,employeename)"
                        " values (:p1,0,:p2,:p3,:p4,:p5,:p6,:p7,:p8,:p9)")
             .arg(q(kind.headerTable)),
         {{QStringLiteral("p1"), copyNo}, {QStringLiteral("p2"), lb::Clock::today()}, {QStringLiteral("p3"), header.customerid},
          {QStringLiteral("p4"), header.customername}, {QStringLiteral("p5"), header.persondeal}, {QStringLiteral("p6"), header.remark},
          {QStringLiteral("p7"), header.remark1}, {QStringLiteral("p8"), header.bankid}, {QStringLiteral("p9"), header.employeename}});
    QString line = lb::core::nextIntno(connection, kind.lineTable);
    for (source->first(); !source->eof(); source->next()) {
        insertLine(connection, kind, line, copyNo, kind.copiedLineFields, source.get());
        line = lb::core::nextIntnoAfter(line);
    }
    transaction.commit();
    return copyNo;
}

Outcome DocumentPosting::copyLines(lb::db::Connection& connection, const DocumentKind& kind, const QString& sourceIntno,
                                   const QString& targetIntno)
{
    auto target = select(connection,
                         QStringLiteral("select _rowid_ as lb_row, spmc from %1 where mainintno=:p1 order by intno").arg(q(kind.lineTable)),
                         {{QStringLiteral("p1"), targetIntno}});
    if (target->isEmpty())
        return Outcome::refusal(QStringLiteral("明细表中的没有记录,请先按新增！"));
    target->last();
    if (text(*target, "spmc").trimmed() == DocumentKinds::CarryOverLine)
        return Outcome::refusal(QStringLiteral("明细表中的没有记录,请先按新增！"));
    const qint64 lastLine = target->fieldByName(QStringLiteral("lb_row")).asInteger();
    auto source = select(connection,
                         QStringLiteral("select * from %1 where (trim(spmc)<>:p2) and (mainintno=:p1) order by intno").arg(q(kind.lineTable)),
                         {{QStringLiteral("p1"), sourceIntno}, {QStringLiteral("p2"), DocumentKinds::CarryOverLine}});
    if (source->isEmpty() || text(*source, "mainintno") != sourceIntno)
        return Outcome::refusal(QStringLiteral("查无该历史单号！"));

    lb::db::Transaction transaction(connection);
    QString line;
    for (source->first(); !source->eof(); source->next()) {
        if (source->recNo() == 1) {
            QStringList sets;
            Params params{{QStringLiteral("lb_row"), lastLine}};
            for (const QString& column : kind.copiedLineFields) {
                sets << q(column) + QStringLiteral("=:c_") + column;
                params.emplace_back(QStringLiteral("c_") + column, source->fieldByName(column).value());
            }
            exec(connection, QStringLiteral("update %1 set %2 where _rowid_=:lb_row").arg(q(kind.lineTable), sets.join(QLatin1Char(','))),
                 params);
            continue;
        }
        line = line.isEmpty() ? lb::core::nextIntno(connection, kind.lineTable) : lb::core::nextIntnoAfter(line);
        insertLine(connection, kind, line, targetIntno, kind.copiedLineFields, source.get());
    }
    transaction.commit();
    return {};
}

} // namespace lb::documents
