// What happens to a whole document: making, posting, reversing, booking, voiding and copying.
#pragma once

#include "documents/DocumentKinds.h"

#include <QString>
#include <QStringList>

namespace lb::db {
class Connection;
}

namespace lb::documents {

// What a command did. A refused command wrote nothing and carries the message to show; a
// command that ran may carry plain notices to show after it (stock beyond a limit, an account
// that was not found).
struct [[nodiscard]] Outcome {
    bool refused = false;
    QString message;      // the refusal's text
    QStringList notices;  // in the order they arose

    static Outcome refusal(const QString& message) { return {true, message, {}}; }
};

// The header values a copy (转抄) takes from the window it is made in.
struct CopyHeader {
    QString customerid;
    QString customername;
    QString persondeal;
    QString remark;
    QString remark1;
    QString bankid;
    QString employeename;
};

// Each command works on the stored document of `kind` numbered `intno`, over the connection,
// without windows. Every refusal is decided before the first write, and all writes of a
// command run in one transaction: a database error rolls all of them back (every open dataset
// on the connection then re-reads its rows) and propagates as lb::DatabaseError. Party and
// account codes are compared exactly as given ("7" does not find "0000000007"). A command
// that would move a party, account or product figure to lb::kMaxExactAmount or beyond (or to
// Inf or NaN) is refused with OutOfRange.
class DocumentPosting {
public:
    // The refusal of a command, or of a recalculation, that would store a figure a double
    // cannot keep to the cent.
    static const QString OutOfRange;

    // Makes a new open document dated today (lb::Clock): the header with the next number,
    // pass false, the cash account and the note `remark1`; then, for kinds that have one, the
    // carry-over line "上期结转"; then one blank line. Returns the document's number.
    static QString create(lb::db::Connection& connection, const DocumentKind& kind, const QString& remark1);

    // The refusals that come before the form touches the document (before it removes a blank
    // line and recalculates): posted already, or no party code (empty or "0000000000").
    // `booking` chooses the texts of 记帐 over those of 过帐.
    static Outcome refuseBeforePosting(const DocumentKind& kind, const QString& intno, lb::db::Connection& connection,
                                       const QString& partyCode, bool booking);

    // 过帐, on a recalculated document: refuses a posted document, a missing party code, a line
    // without a name (kinds that need names), stock short of the lines (all lines of one
    // product added up), a party code that names no row, and a payment into an account code
    // that names no row. Then writes every effect of the kind, sets the party's balance to the
    // header's rest where the kind says so, flags header and lines posted with the kind's code
    // and name, and copies the kind's header columns into the lines. An unknown account with
    // nothing to move only gives the notice "查无此银行编号！".
    static Outcome post(lb::db::Connection& connection, const DocumentKind& kind, const QString& intno,
                        const QString& partyCode, const QString& accountCode);

    // How the posted document `intno` is undone: by 冲数 (Full) after 过帐, by 冲帐 or 作废
    // (StockOnly) after 记帐, as its header records the route (DocumentKinds::undoRoute)
    // whatever the option says now; a header that records none follows the option tallybj.
    // The undo commands below refuse to work against it, before anything is written: on a
    // document posted in full with "该单据已过帐,只能冲数！", on a booked one with
    // "该单据已记帐,只能冲帐或作废！".
    static PostingMode undoRoute(lb::db::Connection& connection, const DocumentKind& kind, const QString& intno);

    // 冲数 of a fully posted document: refuses a reversed one ("该单据已冲数,不能再冲数！"), a
    // booked one (undoRoute), stock short of the lines where the kind checks it, and a party
    // code that names no row.
    // Then undoes every effect and sets cancel on header and lines. An account, of the header
    // or of any line, that names no row (deleted since the posting) is passed over with the
    // notice "查无此银行编号！", given once. lb::Error for an open document.
    static Outcome reverse(lb::db::Connection& connection, const DocumentKind& kind, const QString& intno,
                           const QString& partyCode, const QString& accountCode);

    // 记帐: refuses a posted document, a missing party code and any line without a name
    // ("没有商品名,不能记帐！"); then flags header and lines posted, copies the header's date,
    // party and account into the lines and moves the stock by the kind's booked effects. A
    // product whose stock then lies beyond a limit gives a notice: code and name followed by
    // "库存超量！" (above a set upper limit; none is set when it is empty or 0) or
    // "库存缺货！" (below the lower limit).
    static Outcome book(lb::db::Connection& connection, const DocumentKind& kind, const QString& intno,
                        const QString& partyCode);

    // The refusals of 冲帐 that come before the stock is looked at: reversed already
    // ("该单据已冲数,不能再冲数！"), posted in full (undoRoute), or no party code
    // ("没有选取供应商或客户,不能冲数！").
    static Outcome refuseBeforeUnbooking(lb::db::Connection& connection, const DocumentKind& kind, const QString& intno,
                                         const QString& partyCode);

    // 冲帐: refuses what refuseBeforeUnbooking refuses and a line without a name; then
    // sets cancel on header and lines, copies the header fields into the lines as booking
    // does, and moves the stock back, with the same notices.
    static Outcome unbook(lb::db::Connection& connection, const DocumentKind& kind, const QString& intno,
                          const QString& partyCode);

    // 作废: deletes the lines, then the header. A posted document of a kind whose posting moves
    // anything is refused unless it was booked (undoRoute): deleting a full posting's document
    // would keep its balances and lose the record of them. With `unbookStock`, a booked and not
    // reversed document first has its stock moves taken back, with the notices of un-booking.
    // DatabaseError when the document does not exist.
    static Outcome voidDocument(lb::db::Connection& connection, const DocumentKind& kind, const QString& intno,
                                bool unbookStock);

    // 转抄: a new open document dated today with the header values given and a copy of every
    // line of document `intno` (the carry-over line included), of the kind's copied columns,
    // numbered after the highest line of the table. Returns the new document's number.
    static QString copy(lb::db::Connection& connection, const DocumentKind& kind, const QString& intno,
                        const CopyHeader& header);

    // The history copy: the product lines of document `sourceIntno` (its carry-over line left
    // out) go into document `targetIntno`: the first into its last line, each further one
    // into a new line after it. Refuses a target whose last line is missing or is the
    // carry-over line ("明细表中的没有记录,请先按新增！") and a source without such lines
    // ("查无该历史单号！").
    static Outcome copyLines(lb::db::Connection& connection, const DocumentKind& kind, const QString& sourceIntno,
                             const QString& targetIntno);

    // Empty (blanks only) and the kind's blank code ("0000000000") mean no party was chosen.
    static bool noParty(const QString& partyCode, const QString& blankCode = QStringLiteral("0000000000"));
};

} // namespace lb::documents
