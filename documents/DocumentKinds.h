// The document kinds: one row per kind, and the signed effects each kind's posting has.
#pragma once

#include "core/PickCode.h"
#include "documents/LineRecalc.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace lb::documents {

// The kinds; the value is the number of the kind's code (billtype "01" is 1).
enum class BillKind { Sales = 1, Purchase = 2, PurchaseOrder = 3, SalesReturn = 5, PurchaseReturn = 6, Receipt = 13, Payment = 14 };

// Derived from the header's two flags: pass false is open, pass true posted, pass and cancel
// true reversed (cancel is only ever set on a posted document).
enum class BillState { Unposted, Posted, Reversed };
BillState billState(bool pass, bool cancel);

// The option tallybj: "T" posts in full (过帐, 冲数); any other value books stock only
// (记帐, 冲帐, and 作废 of posted documents).
enum class PostingMode { Full, StockOnly };
PostingMode postingMode(const QString& tallybj);
// The route a posting took as its header records it (postroute), in the option's words: "T"
// in full (过帐), "F" booked for stock only (记帐).
QString routeCode(PostingMode mode);

// The row an effect moves.
enum class EffectTarget {
    Party,         // the customer or supplier row whose id is the document's party code
    HeaderAccount, // the cash/bank row whose id is the document's account code
    LineAccount,   // for each line, the cash/bank row whose id is the line's sphh
    Product,       // for each line, the product row whose intno is the line's spintno
};

// One column of a target row that a posting moves: column := column + sign × source, where
// source is a header column (Party, HeaderAccount) or a line column (LineAccount, Product).
// A reversal (冲数) applies every effect with the opposite sign. The effects marked `booked`
// are also the whole of a stock-only booking (记帐) and of its un-booking (冲帐).
struct Effect {
    EffectTarget target;
    QString column;
    QString source;
    int sign = 1;
    bool booked = false;
};

// The texts a kind's commands show.
struct KindTexts {
    QString noPartyPost;          // 过帐 without a party code
    QString partyNotFound;        // the party look-up, and 过帐: the party code names no row
    QString partyNotFoundPost;    // 过帐's own text for that where it differs; empty: the same
    QString partyNotFoundReverse; // 冲数: the same
    QString stockShortPost;       // after the product name when 过帐 finds too little stock;
                                  // empty: 过帐 checks no stock
    QString stockShortReverse;    // the same for 冲数; empty: no check
    QString codeNotFound = QStringLiteral("查无该货品代码或条形码！"); // the code entry finds no product
};

// What the code entry writes into a line besides the product's own columns.
struct CodeEntryFill {
    bool boxQuantity = false; // the product's quantity per box (sl_s) too
    double js = 0;            // packs
    double sl = 1;            // quantity
};

// One row per kind: tables, party, numbering of its lines, what posting writes and checks.
struct DocumentKind {
    BillKind kind = BillKind::Sales;
    QString billtype;             // "01"
    QString billname;             // "销售单"
    QString headerTable;          // "outlist"
    QString lineTable;            // "outdetail"
    QString partyTable;           // "customer" or "branch"
    bool carryOverLine = true;    // new documents start with the line "上期结转"
    bool followsPostingMode = false; // books stock only when tallybj is not "T"
    bool partyBalanceFromRest = false; // 过帐 sets the party's balance to the header's rest
                                       // (its Party effects on balance are what 冲数 undoes)
    bool lineNamesRequired = true;     // 过帐 refuses a line without a name
    QString blankPartyCode = QStringLiteral("0000000000"); // a party code that means none chosen
    bool missingProductIsShort = false; // 过帐's stock check refuses a line whose product is gone
    bool headerAccount = true;     // a new document names the cash account in its header
    bool linesAreAccounts = false; // lines name cash/bank accounts (sphh, spmc); a new line
                                   // is the cash account
    QStringList recalcBoxColumns;  // header columns the recalculation stores from the boxes
                                   // (besides billdate and remark)
    QStringList recalcZeroedColumns; // header columns the recalculation sets to 0
    CodeEntryFill codeEntry;
    QString codeAlternateColumn = QStringLiteral("barcode"); // the code entry's second look-up
    QStringList postedLineCopies;  // header columns 过帐 copies into every line
    QStringList copiedLineFields;  // line columns 转抄 and the history copy carry over
    core::PickCode pickCode = core::PickCode::None;     // PickMode of the kind's entry form
    core::PickCode linePickCode = core::PickCode::None; // of its line picker where it differs; None: pickCode
    KindTexts texts;
    std::vector<Effect> effects;
    RecalcRule recalc;
};

class DocumentKinds {
public:
    // The first line of a document that has one: the party's balance before the document.
    static const QString CarryOverLine; // "上期结转"
    // The account new documents take ("0000000001", "现金").
    static const QString CashAccountId;
    static const QString CashAccountName;

    static const std::vector<DocumentKind>& all();
    // The row of a kind; lb::Error for a kind without one.
    static const DocumentKind& of(BillKind kind);
    // The row whose billtype is `code` ("01"); nullptr when none.
    static const DocumentKind* byCode(const QString& code);

    // The header columns that stock-only booking copies into every line.
    static const QStringList& bookedLineCopies();

    // How a posted document of `kind` is undone: by the route its posting recorded (`recorded`,
    // its postroute: 冲数 after 过帐, 冲帐 or 作废 after 记帐), whatever the option says now, so
    // that the undoing takes back what the posting moved. A header without a route (books kept
    // before headers recorded one) can only follow the option `option`; a kind that is only
    // ever posted in full is undone in full.
    static PostingMode undoRoute(const DocumentKind& kind, const QString& recorded, PostingMode option);
};

} // namespace lb::documents
