// What happens to a whole document: making, posting, reversing, booking, voiding and copying.
#include "documents/DocumentPosting.h"

#include "core/BillNumberPadding.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/db/SqlText.h"
#include "platform/sys/Clock.h"
#include "platform/sys/Errors.h"
#include "platform/sys/ExactAmount.h"

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

// The rows a command moves, with the columns it moves, read once and then moved in memory effect
// by effect, line after line, in the order the command takes them: every figure it would store
// is known, and checked against the limit, before anything is written; then each row is
// written once. Null numbers count as 0, as the program reads them.
class Moves {
public:
    explicit Moves(lb::db::Connection& connection) : connection_(connection) {}

    // Takes the values of `columns` of every row of `rows` (a result with the row's rowid as
    // lb_row), so that moving them reads nothing more.
    void take(const QString& table, lb::db::DataSet& rows, const QStringList& columns)
    {
        for (rows.first(); !rows.eof(); rows.next()) {
            Row& row = rowAt(table, rows.fieldByName(QStringLiteral("lb_row")).asInteger());
            for (const QString& column : columns) {
                if (!row.has(column))
                    row.columns.emplace_back(column, number(rows, column));
            }
        }
    }

    // Moves row `rowId` of `table` by `effects` (`direction` -1 takes them back) with the
    // values of their sources in `source`. A column in `fixed` is set to the value given.
    void move(const QString& table, qint64 rowId, const std::vector<const Effect*>& effects, int direction,
              const lb::db::DataSet& source, const std::map<QString, double>& fixed = {})
    {
        Row& row = rowAt(table, rowId);
        QStringList missing;
        for (const auto& entry : fixed)
            missing << entry.first;
        for (const Effect* effect : effects)
            missing << effect->column;
        read(row, missing);
        for (const auto& [column, value] : fixed)
            row.value(column) = value;
        for (const Effect* effect : effects) {
            if (!fixed.count(effect->column))
                row.value(effect->column) += effect->sign * direction * number(source, effect->source);
        }
    }

    // The value of a moved column as moved so far.
    double value(const QString& table, qint64 rowId, const QString& column) { return rowAt(table, rowId).value(column); }

    // Whether every moved figure stays below the limit.
    bool exact() const
    {
        for (const Row& row : rows_) {
            for (const auto& [column, value] : row.columns)
                if (!lb::isExactAmount(value))
                    return false;
        }
        return true;
    }

    // Writes every moved row; rows with the same columns share one prepared statement.
    void write() const
    {
        std::map<QString, std::unique_ptr<lb::db::Query>> statements;
        for (const Row& row : rows_) {
            QStringList sets;
            for (size_t i = 0; i < row.columns.size(); ++i)
                sets << q(row.columns[i].first) + QStringLiteral("=:v%1").arg(i);
            const QString sql = QStringLiteral("update %1 set %2 where _rowid_=:lb_row").arg(q(row.table), sets.join(QLatin1Char(',')));
            std::unique_ptr<lb::db::Query>& statement = statements[sql];
            if (!statement) {
                statement = std::make_unique<lb::db::Query>(connection_);
                statement->sql().add(sql);
            }
            for (size_t i = 0; i < row.columns.size(); ++i)
                statement->paramByName(QStringLiteral("v%1").arg(i)).setValue(row.columns[i].second);
            statement->paramByName(QStringLiteral("lb_row")).setValue(row.rowId);
            statement->execSQL();
        }
    }

private:
    struct Row {
        QString table;
        qint64 rowId = 0;
        std::vector<std::pair<QString, double>> columns; // in the order first moved
        bool has(const QString& column) const
        {
            return std::any_of(columns.begin(), columns.end(), [&](const auto& c) { return c.first == column; });
        }
        double& value(const QString& column)
        {
            for (auto& [name, value] : columns)
                if (name == column)
                    return value;
            throw lb::Error(QStringLiteral("Column '%1' of %2 is not moved").arg(column, table));
        }
    };

    Row& rowAt(const QString& table, qint64 rowId)
    {
        const auto [entry, added] = index_.try_emplace({table, rowId}, rows_.size());
        if (added)
            rows_.push_back({table, rowId, {}});
        return rows_[entry->second];
    }

    // Reads the columns of `columns` that `row` does not hold yet from the file.
    void read(Row& row, const QStringList& columns)
    {
        QStringList missing;
        for (const QString& column : columns)
            if (!row.has(column) && !missing.contains(column))
                missing << column;
        if (missing.isEmpty())
            return;
        QStringList quoted;
        for (const QString& column : missing)
            quoted << q(column);
        auto stored = select(connection_, QStringLiteral("select %1 from %2 where _rowid_=:p1").arg(quoted.join(QLatin1Char(',')), q(row.table)),
                             {{QStringLiteral("p1"), row.rowId}});
        for (const QString& column : missing)
            row.columns.emplace_back(column, number(*stored, column));
    }

    lb::db::Connection& connection_;
    std::vector<Row> rows_;                             // in the order first moved
    std::map<std::pair<QString, qint64>, size_t> index_; // table and rowid to their place in rows_
};

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

// Moves the products of the document's lines by `effects` (`direction` -1 takes them back),
// reading them all in one query. With `notices`, a product whose stock then lies beyond a limit
// is noted as booking notes it.
void moveProducts(Moves& moves, lb::db::Connection& connection, const DocumentKind& kind, const Document& document,
                  const std::vector<const Effect*>& effects, int direction, QStringList* notices)
{
    if (effects.empty())
        return;
    QStringList moved;
    for (const Effect* effect : effects)
        if (!moved.contains(effect->column))
            moved << effect->column;
    if (notices && !moved.contains(QStringLiteral("sl")))
        moved << QStringLiteral("sl");
    QStringList quoted;
    for (const QString& column : moved)
        quoted << q(column);
    auto products = select(connection,
                           QStringLiteral("select _rowid_ as lb_row, intno, sl_sw, sl_s, %1 from product"
                                          " where intno in (select spintno from %2 where mainintno=:p1) order by _rowid_")
                               .arg(quoted.join(QLatin1Char(',')), q(kind.lineTable)),
                           {{QStringLiteral("p1"), text(*document.header, "intno")}});
    moves.take(QStringLiteral("product"), *products, moved);
    // Each product's rows by its number (one, unless another program wrote the number twice),
    // and the limits of its first row.
    struct Product {
        std::vector<qint64> rows;
        std::optional<double> upper;
        std::optional<double> lower;
    };
    std::map<QString, Product> byNumber;
    for (products->first(); !products->eof(); products->next()) {
        Product& product = byNumber[text(*products, "intno")];
        if (product.rows.empty()) {
            const lb::db::Field& upper = products->fieldByName(QStringLiteral("sl_sw"));
            const lb::db::Field& lower = products->fieldByName(QStringLiteral("sl_s"));
            if (!upper.isNull())
                product.upper = upper.asFloat();
            if (!lower.isNull())
                product.lower = lower.asFloat();
        }
        product.rows.push_back(products->fieldByName(QStringLiteral("lb_row")).asInteger());
    }
    lb::db::DataSet& lines = *document.lines;
    for (lines.first(); !lines.eof(); lines.next()) {
        const auto found = byNumber.find(text(lines, "spintno"));
        if (found == byNumber.end())
            continue;
        const Product& product = found->second;
        for (qint64 row : product.rows)
            moves.move(QStringLiteral("product"), row, effects, direction, lines);
        if (!notices)
            continue;
        const double sl = moves.value(QStringLiteral("product"), product.rows.front(), QStringLiteral("sl"));
        const QString who = text(lines, "sphh").trimmed() + text(lines, "spmc").trimmed();
        // An upper limit left empty or 0 is no limit: every product in stock would be "over" it.
        if (product.upper && *product.upper != 0 && sl > *product.upper)
            notices->append(who + aboveLimit);
        if (product.lower && sl < *product.lower)
            notices->append(who + belowLimit);
    }
}

// Moves the cash/bank accounts of the lines (their sphh) by `effects`; an account that does
// not exist is passed over (posting has refused such lines before).
void moveLineAccounts(Moves& moves, lb::db::Connection& connection, lb::db::DataSet& lines, const std::vector<const Effect*>& effects,
                      int direction)
{
    if (effects.empty())
        return;
    for (lines.first(); !lines.eof(); lines.next()) {
        const QString account = text(lines, "sphh");
        if (account.isEmpty())
            continue;
        if (const qint64 row = rowWithId(connection, QStringLiteral("bank"), account))
            moves.move(QStringLiteral("bank"), row, effects, direction, lines);
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
// every line, copying `copies` from the header into the lines. A posting and a booking record
// their `route` on the header, so that the document is undone the way it was posted.
void flagDocument(lb::db::Connection& connection, const DocumentKind& kind, const Document& document,
                  const QString& flag, bool headerKind, bool lineKind, const QStringList& copies,
                  const std::optional<PostingMode>& route = std::nullopt)
{
    const QString intno = text(*document.header, "intno");
    const Params kindParams{{QStringLiteral("lb_name"), kind.billname}, {QStringLiteral("lb_type"), kind.billtype}};
    QString headerSet = QStringLiteral("%1=1").arg(q(flag));
    Params headerParams{{QStringLiteral("lb_doc"), intno}};
    if (headerKind) {
        headerSet += QStringLiteral(",billname=:lb_name,billtype=:lb_type");
        headerParams.insert(headerParams.end(), kindParams.begin(), kindParams.end());
    }
    if (route) {
        headerSet += QStringLiteral(",postroute=:lb_route");
        headerParams.emplace_back(QStringLiteral("lb_route"), routeCode(*route));
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

    Moves moves(connection);
    if (touchesParty) {
        std::map<QString, double> fixed;
        if (kind.partyBalanceFromRest)
            fixed[QStringLiteral("balance")] = number(header, QStringLiteral("rest"));
        moves.move(kind.partyTable, party, partyEffects, +1, header, fixed);
    }
    if (account != 0)
        moves.move(QStringLiteral("bank"), account, accountEffects, +1, header);
    moveProducts(moves, connection, kind, document, effectsOf(kind, EffectTarget::Product, false), +1, nullptr);
    moveLineAccounts(moves, connection, lines, lineAccountEffects, +1);
    if (!moves.exact())
        return Outcome::refusal(OutOfRange);

    lb::db::Transaction transaction(connection);
    flagDocument(connection, kind, document, QStringLiteral("pass"), true, true, kind.postedLineCopies, PostingMode::Full);
    moves.write();
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
    if (Outcome wrongRoute = refusalOfRoute(connection, kind, text(header, "postroute"), PostingMode::Full); wrongRoute.refused)
        return wrongRoute;
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
    // An account deleted since the posting is passed over: the party and the other accounts
    // still go back, or the document could never be reversed.
    const auto lineAccountEffects = effectsOf(kind, EffectTarget::LineAccount, false);
    if (lineAccountMissing(connection, lines, lineAccountEffects))
        outcome.notices << accountNotFound;

    Moves moves(connection);
    if (party != 0)
        moves.move(kind.partyTable, party, partyEffects, -1, header);
    if (account != 0)
        moves.move(QStringLiteral("bank"), account, accountEffects, -1, header);
    moveProducts(moves, connection, kind, document, effectsOf(kind, EffectTarget::Product, false), -1, nullptr);
    moveLineAccounts(moves, connection, lines, lineAccountEffects, -1);
    if (!moves.exact())
        return Outcome::refusal(OutOfRange);

    lb::db::Transaction transaction(connection);
    flagDocument(connection, kind, document, QStringLiteral("cancel"), false, false, {});
    moves.write();
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
    Moves moves(connection);
    moveProducts(moves, connection, kind, document, effectsOf(kind, EffectTarget::Product, true), +1, &outcome.notices);
    if (!moves.exact())
        return Outcome::refusal(OutOfRange);
    lb::db::Transaction transaction(connection);
    flagDocument(connection, kind, document, QStringLiteral("pass"), kind.followsPostingMode, kind.followsPostingMode,
                 DocumentKinds::bookedLineCopies(), PostingMode::StockOnly);
    moves.write();
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
    if (hasNamelessLine(*document.lines))
        return Outcome::refusal(namelessBooking);
    Outcome outcome;
    Moves moves(connection);
    moveProducts(moves, connection, kind, document, effectsOf(kind, EffectTarget::Product, true), -1, &outcome.notices);
    if (!moves.exact())
        return Outcome::refusal(OutOfRange);
    lb::db::Transaction transaction(connection);
    flagDocument(connection, kind, document, QStringLiteral("cancel"), false, kind.followsPostingMode,
                 DocumentKinds::bookedLineCopies());
    moves.write();
    transaction.commit();
    return outcome;
}

Outcome DocumentPosting::voidDocument(lb::db::Connection& connection, const DocumentKind& kind, const QString& intno,
                                      bool unbookStock)
{
    Document document = readDocument(connection, kind, intno);
    Outcome outcome;
    Moves moves(connection);
    if (document.pass()) {
        // A posting that moves nothing (an order's) leaves nothing behind when its document goes.
        if (!kind.effects.empty()) {
            Outcome wrongRoute = refusalOfRoute(connection, kind, text(*document.header, "postroute"), PostingMode::StockOnly);
            if (wrongRoute.refused)
                return wrongRoute;
        }
        if (unbookStock && !document.cancel())
            moveProducts(moves, connection, kind, document, effectsOf(kind, EffectTarget::Product, true), -1, &outcome.notices);
    }
    if (!moves.exact())
        return Outcome::refusal(OutOfRange);
    lb::db::Transaction transaction(connection);
    moves.write();
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
