// What happens to a whole document: making, posting, reversing, booking, voiding and copying.
#include "documents/DocumentPosting.h"
#include "documents/DocumentPosting_p.h"

#include "core/BillNumberPadding.h"
#include "documents/Moves.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/db/SqlText.h"
#include "platform/sys/Clock.h"
#include "platform/sys/Errors.h"
#include "platform/sys/ExactAmount.h"

#include <QHash>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
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
const QString onlyReversal = QStringLiteral("该单据已过帐,只能冲数！");
const QString onlyUnbooking = QStringLiteral("该单据已记帐,只能冲帐或作废！");

QString q(const QString& identifier)
{
    return SqlText::quoteIdentifier(identifier);
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

// A row a command finds by its id (a party or an account): its table, the code, and the columns
// the command moves.
struct Lookup {
    QString table;
    QString code;
    QStringList columns;
};

void addOnce(QStringList& columns, const QString& column)
{
    if (!columns.contains(column))
        columns << column;
}

// The column list of a select: each of `columns` of the table called `table` in the statement.
// The columns are the schema's plain names and go in unquoted: the engine and the dataset layer
// read the text through on every run, so it is kept short.
QString selectList(const QString& table, const QStringList& columns)
{
    QStringList selected;
    for (const QString& column : columns)
        selected << table + QLatin1Char('.') + column;
    return selected.join(QLatin1Char(','));
}

// Fields of a read, each with the column it holds.
using ColumnFields = std::vector<std::pair<QString, const lb::db::Field*>>;

// The fields of a read that hold a joined table's row (JoinedTable): its rowid (null where the
// line or header joins no row), its id where it was read, and the columns read.
struct Joined {
    const lb::db::Field* rowId = nullptr;
    const lb::db::Field* id = nullptr;
    ColumnFields columns;

    // The fields of `names`, each a column read.
    ColumnFields fieldsOf(const QStringList& names) const
    {
        ColumnFields fields;
        for (const QString& name : names)
            fields.emplace_back(name, &column(name));
        return fields;
    }
    const lb::db::Field& column(const QString& name) const
    {
        for (const auto& [column, field] : columns) {
            if (column == name)
                return *field;
        }
        throw lb::Error(QStringLiteral("Column '%1' of a joined table is not read").arg(name));
    }
};

// A table joined into a read to find its rows, called `alias` in the statement, with its rowid,
// its id where `withId`, and `columns`: the one place that names what the read calls them
// (alias + "_" + "lb_row", "id" or the column).
struct JoinedTable {
    QString alias;
    QStringList columns;
    bool withId = true;

    QString name(const QString& column) const { return alias + QLatin1Char('_') + column; }
    QString selectList() const
    {
        QString selected = QStringLiteral("%1._rowid_ as %2").arg(alias, name(QStringLiteral("lb_row")));
        if (withId)
            selected += QStringLiteral(",%1.id as %2").arg(alias, name(QStringLiteral("id")));
        for (const QString& column : columns)
            selected += QStringLiteral(",%1.%2 as %3").arg(alias, column, name(column));
        return selected;
    }
    Joined fields(const lb::db::DataSet& rows) const
    {
        Joined joined;
        joined.rowId = &rows.fieldByName(name(QStringLiteral("lb_row")));
        if (withId)
            joined.id = &rows.fieldByName(name(QStringLiteral("id")));
        for (const QString& column : columns)
            joined.columns.emplace_back(column, &rows.fieldByName(name(column)));
        return joined;
    }
};

// The fields of the lines as readDocument reads them, found once after the read.
struct LineFields {
    const lb::db::Field* line = nullptr;     // the line's rowid
    const lb::db::Field* number = nullptr;   // spintno, the number of the line's product
    const lb::db::Field* code = nullptr;     // sphh, the product's code or the account's id
    const lb::db::Field* name = nullptr;     // spmc
    const lb::db::Field* quantity = nullptr; // sl
    Joined product; // the product the number names: stock (sl), limits (sl_sw, sl_s), moved columns
    Joined account; // the account the code names, where the kind moves the lines' accounts
};

// A stored document: its header row, with the rows its lookups found, and its lines in line
// order, each with the rows its product number and its account code name (readDocument).
struct Document {
    QString intno;
    std::unique_ptr<lb::db::Query> header;
    std::vector<Joined> found; // per lookup, in their order
    std::unique_ptr<lb::db::Query> lines;
    LineFields line;
    bool pass() const { return header->fieldByName(QStringLiteral("pass")).asBoolean(); }
    bool cancel() const { return header->fieldByName(QStringLiteral("cancel")).asBoolean(); }
};

std::vector<const Effect*> effectsOf(const DocumentKind& kind, EffectTarget target, bool bookedOnly)
{
    std::vector<const Effect*> chosen;
    for (const Effect& effect : kind.effects) {
        if (effect.target == target && (!bookedOnly || effect.booked))
            chosen.push_back(&effect);
    }
    return chosen;
}

// The columns `effects` move, each once; with `withStock` the stock on hand too (the limit
// notices compare it).
QStringList movedColumns(const std::vector<const Effect*>& effects, bool withStock = false)
{
    QStringList columns;
    for (const Effect* effect : effects)
        addOnce(columns, effect->column);
    if (withStock)
        addOnce(columns, QStringLiteral("sl"));
    return columns;
}

// Reads document `intno` in two queries, each table it needs joined in rather than asked
// apart (every query costs more than the rows it reads), with the columns the commands look at:
// - the header: its state and route, the sources of the kind's effects and the columns copied
//   into the lines, with each of `lookups` joined: one row for every row whose id matches a
//   code without case, the header's values the same in each;
// - the lines in line order: product, code, name, quantity and the sources of the kind's
//   effects, with the product their number names joined (the stock on hand, its limits and the
//   columns the kind's effects move) and, where the kind moves the lines' accounts, the account
//   their code names. A line whose product or account is gone, or that names none, comes once
//   without it; a line whose number or code names several rows comes once for each, in the
//   order of their rowids.
Document readDocument(lb::db::Connection& connection, const DocumentKind& kind, const QString& intno,
                      const std::vector<Lookup>& lookups = {})
{
    QStringList headerColumns{QStringLiteral("pass"), QStringLiteral("cancel"), QStringLiteral("postroute"), QStringLiteral("rest")};
    QStringList lineColumns{QStringLiteral("spintno"), QStringLiteral("sphh"), QStringLiteral("spmc"), QStringLiteral("sl")};
    JoinedTable product{QStringLiteral("p"), {QStringLiteral("sl"), QStringLiteral("sl_sw"), QStringLiteral("sl_s")}, false};
    for (const Effect& effect : kind.effects) {
        if (effect.target == EffectTarget::Party || effect.target == EffectTarget::HeaderAccount) {
            addOnce(headerColumns, effect.source);
        } else {
            addOnce(lineColumns, effect.source);
            if (effect.target == EffectTarget::Product)
                addOnce(product.columns, effect.column);
        }
    }
    for (const QStringList* copies : {&kind.postedLineCopies, &DocumentKinds::bookedLineCopies()})
        for (const QString& column : *copies)
            addOnce(headerColumns, column);

    QString selected = selectList(QStringLiteral("h"), headerColumns);
    QString joins;
    Params params{{QStringLiteral("p1"), intno}};
    std::vector<JoinedTable> found;
    for (size_t i = 0; i < lookups.size(); ++i) {
        found.push_back(JoinedTable{QStringLiteral("j%1").arg(i), lookups[i].columns});
        const QString& alias = found.back().alias;
        selected += QLatin1Char(',') + found.back().selectList();
        joins += QStringLiteral(" left join %1 %2 on %2.id=:%2").arg(q(lookups[i].table), alias);
        params.emplace_back(alias, lookups[i].code);
    }
    Document document;
    document.intno = intno;
    document.header = select(connection, QStringLiteral("select %1 from %2 h%3 where h.intno=:p1").arg(selected, q(kind.headerTable), joins),
                             params);
    if (document.header->isEmpty())
        throw lb::DatabaseError(QStringLiteral("Document %1 not found in %2").arg(intno, kind.headerTable));
    for (const JoinedTable& table : found)
        document.found.push_back(table.fields(*document.header));

    selected = QStringLiteral("l._rowid_ as lb_line,") + selectList(QStringLiteral("l"), lineColumns) + QLatin1Char(',')
        + product.selectList();
    joins = QStringLiteral(" left join product p on p.intno=l.spintno");
    QString order = QStringLiteral("l.intno, p._rowid_");
    const JoinedTable account{QStringLiteral("a"), movedColumns(effectsOf(kind, EffectTarget::LineAccount, false))};
    if (!account.columns.isEmpty()) {
        selected += QLatin1Char(',') + account.selectList();
        joins += QStringLiteral(" left join bank a on a.id=l.sphh");
        order += QStringLiteral(", a._rowid_");
    }
    document.lines = select(connection,
                            QStringLiteral("select %1 from %2 l%3 where l.mainintno=:p1 order by %4").arg(selected, q(kind.lineTable), joins, order),
                            {{QStringLiteral("p1"), intno}});
    const lb::db::DataSet& lines = *document.lines;
    document.line.line = &lines.fieldByName(QStringLiteral("lb_line"));
    document.line.number = &lines.fieldByName(QStringLiteral("spintno"));
    document.line.code = &lines.fieldByName(QStringLiteral("sphh"));
    document.line.name = &lines.fieldByName(QStringLiteral("spmc"));
    document.line.quantity = &lines.fieldByName(QStringLiteral("sl"));
    document.line.product = product.fields(lines);
    if (!account.columns.isEmpty())
        document.line.account = account.fields(lines);
    return document;
}

// Calls `each` on the first row of every line of the document, in line order, until it returns
// false.
template <class Each>
void forEachLine(const Document& document, Each each)
{
    lb::db::DataSet& lines = *document.lines;
    qint64 previous = 0; // rowids start at 1
    for (lines.first(); !lines.eof(); lines.next()) {
        const qint64 current = document.line.line->asInteger();
        if (current == previous)
            continue;
        previous = current;
        if (!each())
            return;
    }
}

bool hasNamelessLine(const Document& document)
{
    bool nameless = false;
    forEachLine(document, [&] {
        nameless = document.line.name->asString().isEmpty();
        return !nameless;
    });
    return nameless;
}

// Takes row `rowId` of `table` into `moves` with the values of `columns` on the current row of
// their read.
Moves::Row& take(Moves& moves, const QString& table, qint64 rowId, const ColumnFields& columns)
{
    Moves::Row& row = moves.row(table, rowId);
    for (const auto& [column, field] : columns)
        row.take(column, field->asFloat());
    return row;
}

// Moves `row`, whose columns are taken, by `effects` (`direction` -1 takes them back) with the
// values of their sources in `source`. A column in `fixed` is set to the value given instead.
void move(Moves::Row& row, const std::vector<const Effect*>& effects, int direction, const lb::db::DataSet& source,
          const std::map<QString, double>& fixed = {})
{
    for (const auto& [column, value] : fixed)
        row.set(column, value);
    for (const Effect* effect : effects) {
        if (!fixed.count(effect->column))
            row.add(effect->column, effect->sign * direction * number(source, effect->source));
    }
}

// The rowid of the row of each of `lookups` that the header was read with (readDocument) whose
// id is exactly the lookup's code (the column compares without case, the program does not), 0
// where there is none; the columns of each row found are taken. Leaves the header on its first
// row.
std::vector<qint64> takeFound(Moves& moves, const Document& document, const std::vector<Lookup>& lookups)
{
    lb::db::DataSet& header = *document.header;
    std::vector<qint64> found;
    for (size_t i = 0; i < lookups.size(); ++i) {
        const Joined& joined = document.found[i];
        qint64 rowId = 0;
        for (header.first(); !header.eof() && rowId == 0; header.next()) {
            if (!joined.rowId->isNull() && joined.id->asString() == lookups[i].code) {
                rowId = joined.rowId->asInteger();
                if (!joined.columns.empty()) // else found only to know that it is there
                    take(moves, lookups[i].table, rowId, joined.columns);
            }
        }
        found.push_back(rowId);
    }
    header.first();
    return found;
}

// The first line whose product has less stock than the lines of that product take together
// (in line order); empty when the stock suffices. The message is the line's trimmed name
// followed by `suffix`. A line whose product is gone is passed over, or, with
// `missingIsShort`, is short itself: nothing can be taken out of a stock that is not there.
QString stockShortage(const Document& document, const QString& suffix, bool missingIsShort = false)
{
    const LineFields& line = document.line;
    const lb::db::Field& product = *line.product.rowId;
    const lb::db::Field& stock = line.product.column(QStringLiteral("sl"));
    QHash<qint64, double> taken; // by the product's first row: the lines of one number share it
    QString shortage;
    forEachLine(document, [&] {
        if (product.isNull()) {
            if (missingIsShort && !line.number->asString().isEmpty())
                shortage = line.name->asString().trimmed() + suffix;
            return shortage.isEmpty();
        }
        double& total = taken[product.asInteger()];
        total += line.quantity->asFloat();
        if (stock.asFloat() < total)
            shortage = line.name->asString().trimmed() + suffix;
        return shortage.isEmpty();
    });
    return shortage;
}

// Moves the products of the lines by `effects` (`direction` -1 takes them back): every row each
// line's number names. With `notices`, a product whose stock then lies beyond a limit is noted
// as booking notes it.
void moveProducts(Moves& moves, const Document& document, const std::vector<const Effect*>& effects, int direction,
                  QStringList* notices)
{
    if (effects.empty())
        return;
    const QString product = QStringLiteral("product");
    lb::db::DataSet& lines = *document.lines;
    const LineFields& line = document.line;
    const ColumnFields columns = line.product.fieldsOf(movedColumns(effects, notices != nullptr));
    const lb::db::Field& row = *line.product.rowId;
    const lb::db::Field& upper = line.product.column(QStringLiteral("sl_sw"));
    const lb::db::Field& lower = line.product.column(QStringLiteral("sl_s"));
    std::pair<qint64, qint64> previous{0, 0}; // the line and the product row last moved
    for (lines.first(); !lines.eof(); lines.next()) {
        if (row.isNull())
            continue;
        const std::pair<qint64, qint64> current{line.line->asInteger(), row.asInteger()};
        // A line that also names several accounts brings each product row more than once.
        if (current == previous)
            continue;
        const bool firstOfLine = current.first != previous.first;
        previous = current;
        Moves::Row& moved = take(moves, product, current.second, columns);
        move(moved, effects, direction, lines);
        // The limits are those of the product's first row, looked at once for the line.
        if (!notices || !firstOfLine)
            continue;
        const double sl = moved.value(QStringLiteral("sl"));
        const QString who = line.code->asString().trimmed() + line.name->asString().trimmed();
        // An upper limit left empty or 0 is no limit: every product in stock would be "over" it.
        if (!upper.isNull() && upper.asFloat() != 0 && sl > upper.asFloat())
            notices->append(who + aboveLimit);
        if (!lower.isNull() && sl < lower.asFloat())
            notices->append(who + belowLimit);
    }
}

// Moves the cash/bank account each line names (its sphh, the account whose id is exactly that
// code) by `effects`. Returns whether a line names an account code that names no row; that line
// is passed over.
bool moveLineAccounts(Moves& moves, const Document& document, const std::vector<const Effect*>& effects, int direction)
{
    if (effects.empty())
        return false;
    const QString bank = QStringLiteral("bank");
    lb::db::DataSet& lines = *document.lines;
    const LineFields& line = document.line;
    const lb::db::Field& row = *line.account.rowId;
    const lb::db::Field& id = *line.account.id;
    bool missing = false;
    qint64 current = 0;
    bool moved = true; // whether the current line's account has been found
    for (lines.first(); !lines.eof(); lines.next()) {
        if (line.line->asInteger() != current) {
            missing = missing || !moved;
            current = line.line->asInteger();
            moved = line.code->asString().isEmpty();
        }
        if (moved || row.isNull() || id.asString() != line.code->asString())
            continue;
        move(take(moves, bank, row.asInteger(), line.account.columns), effects, direction, lines);
        moved = true;
    }
    return missing || !moved;
}

// Moves the stock of the products of the document's lines as a booking does (`direction` -1
// takes it back), noting the products whose stock then lies beyond a limit.
void moveBookedStock(Moves& moves, const DocumentKind& kind, const Document& document, int direction, QStringList& notices)
{
    moveProducts(moves, document, effectsOf(kind, EffectTarget::Product, true), direction, &notices);
}

// Sets the flags (and, on posting and booking, the kind's code and name) on the header and on
// every line, copying `copies` from the header into the lines. A posting and a booking record
// their `route` on the header, so that the document is undone the way it was posted.
void flagDocument(lb::db::Connection& connection, const DocumentKind& kind, const Document& document,
                  const QString& flag, bool headerKind, bool lineKind, const QStringList& copies,
                  const std::optional<PostingMode>& route = std::nullopt)
{
    const QString& intno = document.intno;
    QString headerSet = QStringLiteral("%1=1").arg(q(flag));
    std::vector<lb::db::NamedValue> headerParams{{QStringLiteral("lb_doc"), intno}};
    if (headerKind) {
        headerSet += QStringLiteral(",billname=:lb_name,billtype=:lb_type");
        headerParams.emplace_back(QStringLiteral("lb_name"), kind.billname);
        headerParams.emplace_back(QStringLiteral("lb_type"), kind.billtype);
    }
    if (route) {
        headerSet += QStringLiteral(",postroute=:lb_route");
        headerParams.emplace_back(QStringLiteral("lb_route"), routeCode(*route));
    }
    runStatement(connection, QStringLiteral("update %1 set %2 where intno=:lb_doc").arg(q(kind.headerTable), headerSet),
                 headerParams);

    // The header's values go into the lines as they were read.
    QStringList lineSets;
    std::vector<lb::db::NamedValue> values{{QStringLiteral("lb_doc"), intno}};
    for (const QString& column : copies) {
        values.emplace_back(QStringLiteral("c_") + column, document.header->fieldByName(column));
        lineSets << q(column) + QStringLiteral("=:") + values.back().name;
    }
    lineSets << QStringLiteral("%1=1").arg(q(flag));
    if (lineKind) {
        lineSets << QStringLiteral("billname=:lb_name,billtype=:lb_type");
        values.emplace_back(QStringLiteral("lb_name"), kind.billname);
        values.emplace_back(QStringLiteral("lb_type"), kind.billtype);
    }
    runStatement(connection,
                 QStringLiteral("update %1 set %2 where mainintno=:lb_doc").arg(q(kind.lineTable), lineSets.join(QLatin1Char(','))),
                 values);
}

QString insertLine(lb::db::Connection& connection, const DocumentKind& kind, const QString& intno, const QString& mainintno,
                   const QStringList& columns, const lb::db::DataSet* from)
{
    QStringList names{QStringLiteral("intno"), QStringLiteral("mainintno")};
    QStringList marks{QStringLiteral(":lb_intno"), QStringLiteral(":lb_main")};
    std::vector<lb::db::NamedValue> params{{QStringLiteral("lb_intno"), intno}, {QStringLiteral("lb_main"), mainintno}};
    for (const QString& column : columns) {
        names << q(column);
        marks << QStringLiteral(":c_") + column;
        params.emplace_back(QStringLiteral("c_") + column, from->fieldByName(column).value());
    }
    runStatement(connection,
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

// How a posted document is undone (DocumentKinds::undoRoute): by the route its header records
// (`recorded`), else by the option tallybj as it stands now.
PostingMode undoRouteOf(lb::db::Connection& connection, const DocumentKind& kind, const QString& recorded)
{
    auto options = select(connection, QStringLiteral("select tallybj from config"), {});
    return DocumentKinds::undoRoute(kind, recorded, postingMode(text(*options, "tallybj")));
}

// Refuses an undo command that is not the one of the route the document was posted by: 冲数
// (`command` Full) undoes only a full posting, 冲帐 and 作废 (StockOnly) only a booking. On the
// other route's document either would take back what that route never moved (the party, the
// account and the product counters a booking left alone) or leave behind what it did move (a
// posting's balances).
Outcome refusalOfRoute(lb::db::Connection& connection, const DocumentKind& kind, const QString& recorded, PostingMode command)
{
    const PostingMode route = undoRouteOf(connection, kind, recorded);
    if (route == command)
        return {};
    return Outcome::refusal(route == PostingMode::Full ? onlyReversal : onlyUnbooking);
}

Outcome refusalBeforeUnbooking(lb::db::Connection& connection, const DocumentKind& kind, bool cancel, const QString& recorded,
                               const QString& partyCode)
{
    if (cancel)
        return Outcome::refusal(alreadyReversed);
    if (Outcome wrongRoute = refusalOfRoute(connection, kind, recorded, PostingMode::StockOnly); wrongRoute.refused)
        return wrongRoute;
    if (DocumentPosting::noParty(partyCode))
        return Outcome::refusal(noPartyUnbooking);
    return {};
}

} // namespace

void runStatement(lb::db::Connection& connection, const QString& sql, const std::vector<lb::db::NamedValue>& values)
{
    lb::db::Query statement(connection);
    statement.sql().add(sql);
    statement.execSQL(values);
}

const QString DocumentPosting::OutOfRange = QStringLiteral("金额或数量超出范围,不能处理！");

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
    runStatement(connection,
                 QStringLiteral("insert into %1 (intno,pass,billdate,bankid,bankname,remark1) values (:p1,0,:p2,:p3,:p4,:p5)").arg(q(kind.headerTable)),
                 {{QStringLiteral("p1"), intno}, {QStringLiteral("p2"), lb::Clock::today()}, {QStringLiteral("p3"), account},
                  {QStringLiteral("p4"), accountName}, {QStringLiteral("p5"), remark1}});
    QString line = lb::core::nextIntno(connection, kind.lineTable);
    if (kind.carryOverLine) {
        runStatement(connection, QStringLiteral("insert into %1 (intno,mainintno,spmc) values (:p1,:p2,:p3)").arg(q(kind.lineTable)),
                     {{QStringLiteral("p1"), line}, {QStringLiteral("p2"), intno}, {QStringLiteral("p3"), DocumentKinds::CarryOverLine}});
        line = lb::core::nextIntnoAfter(line);
    }
    // The first line to fill: blank, or the cash account where lines are accounts.
    runStatement(connection, QStringLiteral("insert into %1 (intno,mainintno,sphh,spmc) values (:p1,:p2,:p3,:p4)").arg(q(kind.lineTable)),
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
    auto header = select(connection, QStringLiteral("select cancel, postroute from %1 where intno=:p1").arg(q(kind.headerTable)),
                         {{QStringLiteral("p1"), intno}});
    if (header->isEmpty())
        throw lb::DatabaseError(QStringLiteral("Document %1 not found in %2").arg(intno, kind.headerTable));
    return refusalBeforeUnbooking(connection, kind, header->fieldByName(QStringLiteral("cancel")).asBoolean(), text(*header, "postroute"),
                                  partyCode);
}

PostingMode DocumentPosting::undoRoute(lb::db::Connection& connection, const DocumentKind& kind, const QString& intno)
{
    auto header = select(connection, QStringLiteral("select postroute from %1 where intno=:p1").arg(q(kind.headerTable)),
                         {{QStringLiteral("p1"), intno}});
    if (header->isEmpty())
        throw lb::DatabaseError(QStringLiteral("Document %1 not found in %2").arg(intno, kind.headerTable));
    return undoRouteOf(connection, kind, text(*header, "postroute"));
}

Outcome DocumentPosting::post(lb::db::Connection& connection, const DocumentKind& kind, const QString& intno,
                              const QString& partyCode, const QString& accountCode)
{
    // Every kind's party must exist, also where posting moves nothing of it.
    const auto partyEffects = effectsOf(kind, EffectTarget::Party, false);
    const bool touchesParty = !partyEffects.empty() || kind.partyBalanceFromRest;
    QStringList partyColumns;
    if (touchesParty) {
        partyColumns = movedColumns(partyEffects);
        if (kind.partyBalanceFromRest)
            addOnce(partyColumns, QStringLiteral("balance"));
    }
    const auto accountEffects = effectsOf(kind, EffectTarget::HeaderAccount, false);
    std::vector<Lookup> lookups{{kind.partyTable, partyCode, partyColumns}};
    if (!accountEffects.empty())
        lookups.push_back({QStringLiteral("bank"), accountCode, movedColumns(accountEffects)});
    Document document = readDocument(connection, kind, intno, lookups);
    Outcome before = refusalBefore(kind, document.pass(), partyCode, false);
    if (before.refused)
        return before;
    lb::db::DataSet& header = *document.header;
    if (kind.lineNamesRequired && hasNamelessLine(document))
        return Outcome::refusal(namelessPost);
    if (!kind.texts.stockShortPost.isEmpty()) {
        const QString shortage = stockShortage(document, kind.texts.stockShortPost, kind.missingProductIsShort);
        if (!shortage.isEmpty())
            return Outcome::refusal(shortage);
    }
    Moves moves;
    const std::vector<qint64> found = takeFound(moves, document, lookups);
    const qint64 party = found[0];
    if (party == 0)
        return Outcome::refusal(kind.texts.partyNotFoundPost.isEmpty() ? kind.texts.partyNotFound : kind.texts.partyNotFoundPost);

    Outcome outcome;
    const qint64 account = accountEffects.empty() ? 0 : found[1];
    if (!accountEffects.empty() && account == 0) {
        // Money paid into an account that does not exist would vanish from the books.
        for (const Effect* effect : accountEffects) {
            if (number(header, effect->source) != 0)
                return Outcome::refusal(accountNotFound);
        }
        outcome.notices << accountNotFound;
    }
    // A line account code that matches nothing is a slip to mend before the books move, whatever
    // the line's amount: its money would otherwise vanish.
    if (moveLineAccounts(moves, document, effectsOf(kind, EffectTarget::LineAccount, false), +1))
        return Outcome::refusal(accountNotFound);

    if (touchesParty) {
        std::map<QString, double> fixed;
        if (kind.partyBalanceFromRest)
            fixed[QStringLiteral("balance")] = number(header, QStringLiteral("rest"));
        move(moves.row(kind.partyTable, party), partyEffects, +1, header, fixed);
    }
    if (account != 0)
        move(moves.row(QStringLiteral("bank"), account), accountEffects, +1, header);
    moveProducts(moves, document, effectsOf(kind, EffectTarget::Product, false), +1, nullptr);
    if (!moves.exact())
        return Outcome::refusal(OutOfRange);

    lb::db::Transaction transaction(connection);
    flagDocument(connection, kind, document, QStringLiteral("pass"), true, true, kind.postedLineCopies, PostingMode::Full);
    moves.write(connection);
    transaction.commit();
    return outcome;
}

Outcome DocumentPosting::reverse(lb::db::Connection& connection, const DocumentKind& kind, const QString& intno,
                                 const QString& partyCode, const QString& accountCode)
{
    const auto partyEffects = effectsOf(kind, EffectTarget::Party, false);
    const auto accountEffects = effectsOf(kind, EffectTarget::HeaderAccount, false);
    std::vector<Lookup> lookups;
    if (!partyEffects.empty())
        lookups.push_back({kind.partyTable, partyCode, movedColumns(partyEffects)});
    if (!accountEffects.empty())
        lookups.push_back({QStringLiteral("bank"), accountCode, movedColumns(accountEffects)});
    Document document = readDocument(connection, kind, intno, lookups);
    lb::db::DataSet& header = *document.header;
    if (!document.pass())
        throw lb::Error(QStringLiteral("Document %1 is not posted").arg(intno));
    if (document.cancel())
        return Outcome::refusal(alreadyReversed);
    if (Outcome wrongRoute = refusalOfRoute(connection, kind, text(header, "postroute"), PostingMode::Full); wrongRoute.refused)
        return wrongRoute;
    if (!kind.texts.stockShortReverse.isEmpty()) {
        const QString shortage = stockShortage(document, kind.texts.stockShortReverse);
        if (!shortage.isEmpty())
            return Outcome::refusal(shortage);
    }
    Moves moves;
    const std::vector<qint64> found = takeFound(moves, document, lookups);
    const qint64 party = partyEffects.empty() ? 0 : found.front();
    if (!partyEffects.empty() && party == 0)
        return Outcome::refusal(kind.texts.partyNotFoundReverse);
    Outcome outcome;
    const qint64 account = accountEffects.empty() ? 0 : found.back();
    if (!accountEffects.empty() && account == 0)
        outcome.notices << accountNotFound;
    // An account deleted since the posting is passed over: the party and the other accounts
    // still go back, or the document could never be reversed.
    if (moveLineAccounts(moves, document, effectsOf(kind, EffectTarget::LineAccount, false), -1))
        outcome.notices << accountNotFound;

    if (party != 0)
        move(moves.row(kind.partyTable, party), partyEffects, -1, header);
    if (account != 0)
        move(moves.row(QStringLiteral("bank"), account), accountEffects, -1, header);
    moveProducts(moves, document, effectsOf(kind, EffectTarget::Product, false), -1, nullptr);
    if (!moves.exact())
        return Outcome::refusal(OutOfRange);

    lb::db::Transaction transaction(connection);
    flagDocument(connection, kind, document, QStringLiteral("cancel"), false, false, {});
    moves.write(connection);
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
    if (hasNamelessLine(document))
        return Outcome::refusal(namelessBooking);
    Outcome outcome;
    Moves moves;
    moveBookedStock(moves, kind, document, +1, outcome.notices);
    if (!moves.exact())
        return Outcome::refusal(OutOfRange);
    lb::db::Transaction transaction(connection);
    flagDocument(connection, kind, document, QStringLiteral("pass"), kind.followsPostingMode, kind.followsPostingMode,
                 DocumentKinds::bookedLineCopies(), PostingMode::StockOnly);
    moves.write(connection);
    transaction.commit();
    return outcome;
}

Outcome DocumentPosting::unbook(lb::db::Connection& connection, const DocumentKind& kind, const QString& intno,
                                const QString& partyCode)
{
    Document document = readDocument(connection, kind, intno);
    if (!document.pass())
        throw lb::Error(QStringLiteral("Document %1 is not booked").arg(intno));
    Outcome before = refusalBeforeUnbooking(connection, kind, document.cancel(), text(*document.header, "postroute"), partyCode);
    if (before.refused)
        return before;
    if (hasNamelessLine(document))
        return Outcome::refusal(namelessBooking);
    Outcome outcome;
    Moves moves;
    moveBookedStock(moves, kind, document, -1, outcome.notices);
    if (!moves.exact())
        return Outcome::refusal(OutOfRange);
    lb::db::Transaction transaction(connection);
    flagDocument(connection, kind, document, QStringLiteral("cancel"), false, kind.followsPostingMode,
                 DocumentKinds::bookedLineCopies());
    moves.write(connection);
    transaction.commit();
    return outcome;
}

Outcome DocumentPosting::voidDocument(lb::db::Connection& connection, const DocumentKind& kind, const QString& intno,
                                      bool unbookStock)
{
    Document document = readDocument(connection, kind, intno);
    Outcome outcome;
    Moves moves;
    if (document.pass()) {
        // A posting that moves nothing (an order's) leaves nothing behind when its document goes.
        if (!kind.effects.empty()) {
            Outcome wrongRoute = refusalOfRoute(connection, kind, text(*document.header, "postroute"), PostingMode::StockOnly);
            if (wrongRoute.refused)
                return wrongRoute;
        }
        if (unbookStock && !document.cancel())
            moveBookedStock(moves, kind, document, -1, outcome.notices);
    }
    if (!moves.exact())
        return Outcome::refusal(OutOfRange);
    lb::db::Transaction transaction(connection);
    moves.write(connection);
    const std::vector<lb::db::NamedValue> params{{QStringLiteral("p1"), intno}};
    runStatement(connection, QStringLiteral("delete from %1 WHERE (mainintno=:p1)").arg(q(kind.lineTable)), params);
    runStatement(connection, QStringLiteral("delete from %1 WHERE (intno=:p1)").arg(q(kind.headerTable)), params);
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
    runStatement(connection,
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
            std::vector<lb::db::NamedValue> params{{QStringLiteral("lb_row"), lastLine}};
            for (const QString& column : kind.copiedLineFields) {
                sets << q(column) + QStringLiteral("=:c_") + column;
                params.emplace_back(QStringLiteral("c_") + column, source->fieldByName(column).value());
            }
            runStatement(connection, QStringLiteral("update %1 set %2 where _rowid_=:lb_row").arg(q(kind.lineTable), sets.join(QLatin1Char(','))),
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
