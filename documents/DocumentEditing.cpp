// Editing an open document through its header and line datasets: party look-up, lines, recalculation.
#include "documents/DocumentEditing.h"

#include "core/BillNumberPadding.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/db/SqlText.h"
#include "platform/sys/Errors.h"
#include "platform/sys/TextFormat.h"

#include <exception>

namespace lb::documents {

namespace {

lb::db::Field& field(const lb::db::DataSet& rows, const char* name)
{
    return rows.fieldByName(QString::fromLatin1(name));
}

bool isCarryOver(const lb::db::DataSet& lines)
{
    return field(lines, "spmc").asString().trimmed() == DocumentKinds::CarryOverLine;
}

RecalcLine readLine(const lb::db::DataSet& lines)
{
    RecalcLine line;
    line.spmc = field(lines, "spmc").asString();
    line.sl = field(lines, "sl").asFloat();
    line.dj_n = field(lines, "dj_n").asFloat();
    line.dj_w = field(lines, "dj_w").asFloat();
    line.deduck = field(lines, "deduck").asFloat();
    line.pay = field(lines, "pay").asFloat();
    line.js = field(lines, "js").asFloat();
    line.ss = field(lines, "ss").asFloat();
    line.sl_j = field(lines, "sl_j").asFloat();
    line.sl_s = field(lines, "sl_s").asFloat();
    line.amount = field(lines, "amount").asFloat();
    return line;
}

double lineValue(const RecalcLine& line, const QString& column)
{
    if (column == QLatin1String("amount"))
        return line.amount;
    if (column == QLatin1String("rest"))
        return line.rest;
    if (column == QLatin1String("sl"))
        return line.sl;
    throw lb::Error(QStringLiteral("The recalculation writes no line column '%1'").arg(column));
}

// The value a box column of the header takes at the recalculation.
QString boxValue(const QString& column, const HeaderBoxes& boxes, const std::optional<Party>& party)
{
    if (column == QLatin1String("customerid"))
        return boxes.partyCode;
    if (column == QLatin1String("customername"))
        return party ? party->name : boxes.partyName;
    if (column == QLatin1String("persondeal"))
        return party ? party->persondeal : boxes.persondeal;
    if (column == QLatin1String("remark1"))
        return boxes.remark1;
    if (column == QLatin1String("bankid"))
        return boxes.bankid;
    if (column == QLatin1String("employeename"))
        return boxes.employeename;
    if (column == QLatin1String("djh"))
        return boxes.djh;
    throw lb::Error(QStringLiteral("No header box for the column '%1'").arg(column));
}

// Keeps the lines' current row and holds their bound controls back while a command walks them.
class LinesWalk {
public:
    explicit LinesWalk(lb::db::DataSet& lines)
        : lines_(lines), mark_(lines.bookmark()), unwinding_(std::uncaught_exceptions())
    {
        lines_.disableControls();
    }
    ~LinesWalk()
    {
        // A walk ended by an error moves nowhere: moving would post the row it was editing. That
        // edit goes with the command's rollback, which re-reads the lines.
        if (std::uncaught_exceptions() == unwinding_) {
            try {
                if (lines_.active() && lines_.bookmarkValid(mark_))
                    lines_.gotoBookmark(mark_);
            } catch (const lb::Error&) {
                // The row went with a rolled-back command; the lines stay where the re-read put them.
            }
        }
        lines_.enableControls();
    }
    LinesWalk(const LinesWalk&) = delete;
    LinesWalk& operator=(const LinesWalk&) = delete;

private:
    lb::db::DataSet& lines_;
    lb::db::Bookmark mark_;
    int unwinding_; // exceptions in flight when the walk began
};

} // namespace

void DocumentEditing::standOn(lb::db::DataSet& header, const QString& intno)
{
    if (!header.active())
        throw lb::DatabaseError(QStringLiteral("The document header is not open"));
    if (!header.isEmpty() && field(header, "intno").asString() == intno)
        return;
    if (!header.locate(QStringLiteral("intno"), intno))
        throw lb::DatabaseError(QStringLiteral("Document %1 is not in the header dataset").arg(intno));
}

std::optional<Party> DocumentEditing::findParty(lb::db::Connection& connection, const DocumentKind& kind, const QString& code)
{
    lb::db::Query rows(connection);
    rows.sql().add(QStringLiteral("SELECT * from %1 where id=:p1").arg(lb::db::SqlText::quoteIdentifier(kind.partyTable)));
    rows.paramByName(QStringLiteral("p1")).setAsString(code);
    rows.open();
    // The column compares without case; a code is found only as typed.
    for (rows.first(); !rows.eof(); rows.next()) {
        if (field(rows, "id").asString() != code)
            continue;
        return Party{field(rows, "id").asString(), field(rows, "name").asString(), field(rows, "persondeal").asString(),
                     field(rows, "tel").asString(), field(rows, "addr").asString(), field(rows, "balance").asFloat()};
    }
    return std::nullopt;
}

std::optional<Party> DocumentEditing::lookUpParty(const DocumentKind& kind, const QString& intno, lb::db::DataSet& header,
                                                  lb::db::DataSet& lines, const QString& code)
{
    std::optional<Party> party = findParty(header.connection(), kind, code);
    if (!party)
        return party;
    lb::db::Transaction transaction(header.connection());
    storeParty(kind, intno, header, lines, *party);
    transaction.commit();
    return party;
}

void DocumentEditing::storeParty(const DocumentKind& kind, const QString& intno, lb::db::DataSet& header, lb::db::DataSet& lines,
                                 const Party& party)
{
    standOn(header, intno);
    header.edit();
    field(header, "customerid").setAsString(party.id);
    field(header, "tel").setAsString(party.tel);
    field(header, "balance").setAsFloat(party.balance);
    field(header, "customername").setAsString(party.name);
    field(header, "addr").setAsString(party.addr);
    field(header, "persondeal").setAsString(party.persondeal);
    header.post();
    if (kind.carryOverLine && lines.active() && !lines.isEmpty()) {
        LinesWalk walk(lines);
        lines.first();
        if (isCarryOver(lines)) {
            lines.edit();
            field(lines, "amount").setAsFloat(party.balance);
            field(lines, "rest").setAsFloat(party.balance);
            lines.post();
        }
    }
}

RecalcResult DocumentEditing::recalculate(const DocumentKind& kind, const QString& intno, lb::db::DataSet& header,
                                          lb::db::DataSet& lines, const HeaderBoxes& boxes)
{
    const QDate billdate = lb::fmt::strToDate(boxes.billdate);
    lb::db::Transaction transaction(header.connection());
    lines.post();
    RecalcResult result;
    result.party = findParty(header.connection(), kind, boxes.partyCode);
    standOn(header, intno);
    {
        LinesWalk walk(lines);
        // The running balance starts from the party's balance, which the look-up puts into the
        // carry-over line, or, for a kind without one, into the header; without a party, from
        // what they hold.
        double opening = kind.carryOverLine ? 0 : (result.party ? result.party->balance : field(header, "balance").asFloat());
        lines.first();
        if (kind.carryOverLine && !lines.isEmpty()) {
            opening = result.party && isCarryOver(lines) ? result.party->balance : field(lines, "rest").asFloat();
            lines.next();
        }
        std::vector<RecalcLine> values;
        std::vector<lb::db::Bookmark> rows;
        for (; !lines.eof(); lines.next()) {
            values.push_back(readLine(lines));
            rows.push_back(lines.bookmark());
        }
        result.totals = LineRecalc::recalculate(kind.recalc, opening, values);
        if (!result.totals.exact) {
            result.outcome = Outcome::refusal(DocumentPosting::OutOfRange);
            return result;
        }
        if (result.party)
            storeParty(kind, intno, header, lines, *result.party);
        for (size_t i = 0; i < values.size(); ++i) {
            lines.gotoBookmark(rows[i]);
            lines.edit();
            for (const QString& column : kind.recalc.lineColumns)
                lines.fieldByName(column).setAsFloat(lineValue(values[i], column));
            lines.post();
        }
    }
    standOn(header, intno);
    header.edit();
    for (const QString& column : kind.recalc.headerColumns)
        header.fieldByName(column).setAsFloat(result.totals.value(column));
    for (const QString& column : kind.recalcZeroedColumns)
        header.fieldByName(column).setAsFloat(0);
    field(header, "billdate").setAsDate(billdate);
    field(header, "remark").setAsString(result.totals.remark);
    for (const QString& column : kind.recalcBoxColumns)
        header.fieldByName(column).setAsString(boxValue(column, boxes, result.party));
    header.post();
    transaction.commit();
    return result;
}

void DocumentEditing::appendLine(const DocumentKind& kind, const QString& intno, lb::db::DataSet& lines)
{
    lines.append();
    field(lines, "intno").setAsString(lb::core::nextIntno(lines.connection(), kind.lineTable));
    field(lines, "mainintno").setAsString(intno);
    if (kind.linesAreAccounts) {
        field(lines, "sphh").setAsString(DocumentKinds::CashAccountId);
        field(lines, "spmc").setAsString(DocumentKinds::CashAccountName);
    }
    lines.post();
}

std::unique_ptr<lb::db::Query> DocumentEditing::findProduct(lb::db::Connection& connection, const DocumentKind& kind,
                                                            const QString& code)
{
    // An empty box names no product; it would otherwise find the first one without a barcode.
    if (code.isEmpty())
        return nullptr;
    for (const QString& column : {QStringLiteral("sphh"), kind.codeAlternateColumn}) {
        auto product = std::make_unique<lb::db::Query>(connection);
        product->sql().add(QStringLiteral("SELECT * from product where %1=:p1").arg(lb::db::SqlText::quoteIdentifier(column)));
        product->paramByName(QStringLiteral("p1")).setAsString(code);
        product->open();
        if (product->locate(column, code))
            return product;
    }
    return nullptr;
}

void DocumentEditing::fillFromProduct(const DocumentKind& kind, lb::db::DataSet& lines, const lb::db::DataSet& product)
{
    lines.edit();
    field(lines, "spintno").setAsString(field(product, "intno").asString());
    field(lines, "sphh").setAsString(field(product, "sphh").asString());
    field(lines, "spmc").setAsString(field(product, "spmc").asString());
    field(lines, "spgg").setAsString(field(product, "spgg").asString());
    field(lines, "unit").setAsString(field(product, "spbs").asString());
    if (kind.codeEntry.boxQuantity)
        field(lines, "sl_s").setAsFloat(field(product, "sl_s").asFloat());
    field(lines, "sl_j").setAsFloat(field(product, "sl_j").asFloat());
    field(lines, "dj_n").setAsFloat(field(product, "dj_n").asFloat());
    field(lines, "dj_w").setAsFloat(field(product, "dj_w").asFloat());
    field(lines, "ss").setAsFloat(0);
    field(lines, "js").setAsFloat(kind.codeEntry.js);
    field(lines, "sl").setAsFloat(kind.codeEntry.sl);
    lines.post();
}

bool DocumentEditing::onCarryOverLine(const lb::db::DataSet& lines)
{
    return !lines.active() || lines.isEmpty() || isCarryOver(lines);
}

void DocumentEditing::removeBlankLines(lb::db::Connection& connection, const DocumentKind& kind)
{
    lb::db::Query remove(connection);
    remove.sql().add(QStringLiteral("delete from %1").arg(lb::db::SqlText::quoteIdentifier(kind.lineTable)));
    remove.sql().add(QStringLiteral("WHERE spmc='' or spmc is null or intno='' or intno is null"));
    remove.execSQL();
}

} // namespace lb::documents
