// Editing an open document through its header and line datasets: party look-up, lines, recalculation.
#pragma once

#include "documents/DocumentPosting.h"

#include <QString>
#include <memory>
#include <optional>

namespace lb::db {
class Connection;
class DataSet;
class Query;
}

namespace lb::documents {

// The party row a look-up found.
struct Party {
    QString id;
    QString name;
    QString persondeal;
    QString tel;
    QString addr;
    double balance = 0;
};

// What the header boxes of an entry form hold when the recalculation stores them.
// Which of them a kind stores is its row's recalcBoxColumns.
struct HeaderBoxes {
    QString partyCode;    // Edit2, looked up exactly as typed
    QString billdate;     // Edit6, "yyyy-mm-dd"
    QString remark1;      // Memo1
    QString bankid;       // Edit10 (account)
    QString employeename; // Edit16
    QString partyName;    // Edit3, when the party code names no row
    QString persondeal;   // Edit4, the same
    QString djh;          // Edit10 (paper number) of the kinds that keep one
};

struct RecalcResult {
    std::optional<Party> party; // nothing when the party code names no row
    RecalcTotals totals;
    Outcome outcome;            // refused (DocumentPosting::OutOfRange): nothing was written
};

// The shared steps of the entry forms, without widgets. `header` is a dataset over the kind's
// header table and `lines` one over its line table holding the document's lines in line order
// (the carry-over line first); both stay open. Every step that writes more than one row runs
// in one transaction. Before writing, the header dataset is put on document `intno`
// (lb::DatabaseError when it does not hold that document): a form never writes into another
// document than the one it shows.
class DocumentEditing {
public:
    // The party row whose id is exactly `code`; nothing when none.
    static std::optional<Party> findParty(lb::db::Connection& connection, const DocumentKind& kind, const QString& code);

    // The party look-up (leaving the party box, and first step of every recalculation): when
    // the party exists, its id, name, contact, telephone, address and balance go into the
    // header, and its balance into the carry-over line's amount and rest.
    static std::optional<Party> lookUpParty(const DocumentKind& kind, const QString& intno, lb::db::DataSet& header,
                                            lb::db::DataSet& lines, const QString& code);

    // 刷新: the look-up, then the lines after the carry-over line by the kind's rule, starting
    // from the carry-over line's rest, then the header's totals, summary, the date box and the
    // kind's other box columns; all in one transaction. A party name and contact stored from
    // the boxes are the party's own when the look-up found it (the look-up fills those boxes).
    // A date box that is no date raises lb::ConvertError before anything is written; a line or
    // header figure that would reach lb::kMaxExactAmount refuses the recalculation before
    // anything is written. The lines dataset keeps its current line.
    static RecalcResult recalculate(const DocumentKind& kind, const QString& intno, lb::db::DataSet& header,
                                    lb::db::DataSet& lines, const HeaderBoxes& boxes);

    // 新增行: appends a blank line with the next line number to document `intno`; it is current.
    // Where lines are accounts the new line is the cash account.
    static void appendLine(const DocumentKind& kind, const QString& intno, lb::db::DataSet& lines);

    // The product whose code (sphh), or failing that whose barcode (the kind's second look-up
    // column), is exactly `code`; an open query on it, or nullptr when neither matches or `code`
    // is empty (a product without a barcode is not found by an empty box).
    static std::unique_ptr<lb::db::Query> findProduct(lb::db::Connection& connection, const DocumentKind& kind,
                                                      const QString& code);

    // The code entry's fill of the current line from a product row: product key, code, name,
    // specification, unit, quantity per pack, selling and purchase price, no boxes, and the
    // kind's packs and quantity (and quantity per box).
    static void fillFromProduct(const DocumentKind& kind, lb::db::DataSet& lines, const lb::db::DataSet& product);

    // Whether the current line is the carry-over line (or there is no line at all): such a
    // line is neither deleted nor filled.
    static bool onCarryOverLine(const lb::db::DataSet& lines);

    // The closing clean-up: every line of the kind's line table without a name or a number,
    // of every document, is deleted.
    static void removeBlankLines(lb::db::Connection& connection, const DocumentKind& kind);

    // Puts `header` on document `intno`; lb::DatabaseError when it holds no such row.
    static void standOn(lb::db::DataSet& header, const QString& intno);

private:
    // What the look-up writes of a party it found, inside the caller's transaction.
    static void storeParty(const DocumentKind& kind, const QString& intno, lb::db::DataSet& header, lb::db::DataSet& lines,
                           const Party& party);
};

} // namespace lb::documents
