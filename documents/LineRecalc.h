// The recalculation of a document: line amounts, running balances, header totals and summary.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace lb::documents {

// One line after the carry-over line, as the recalculation reads and writes it. The numbers
// are the line's columns (null read as 0); `amount` and `rest` are written, and so is `sl`
// where the kind works the quantity out from packs.
struct RecalcLine {
    QString spmc;
    double sl = 0;
    double dj_n = 0;
    double dj_w = 0;
    double deduck = 0;
    double pay = 0;
    double js = 0;
    double ss = 0;
    double sl_j = 0;
    double sl_s = 0;
    double amount = 0;
    double rest = 0;
};

// What a kind's recalculation does to one line. `line` sets the line's amount (and its
// quantity, for kinds that derive it) and returns the party's running balance after the line
// from the balance before it, adding and subtracting in the kind's own order so that the
// stored values are exactly the ones computed; `quantity` is what the line adds to the
// header's total quantity.
struct RecalcRule {
    QString remarkPrefix;                      // "销售商品:"
    double (*line)(RecalcLine& line, double balance) = nullptr;
    double (*quantity)(const RecalcLine& line) = nullptr;
    QStringList lineColumns;                   // line columns the rule writes ("amount", "rest")
    QStringList headerColumns;                 // header totals stored ("amount", "rest", ...)
};

// The header's values after a recalculation. Sums run over the lines after the carry-over
// line, in line order; `rest` is the running balance after the last line (the opening
// balance when there is none).
struct RecalcTotals {
    double amount = 0; // A: sum of the line amounts
    double deduck = 0; // D
    double pay = 0;    // P
    double hjjs = 0;   // J: sum of js
    double hjss = 0;   // S: sum of ss
    double hjsl = 0;   // Q: the rule's quantities
    double rest = 0;
    QString remark;    // the prefix and the non-empty names joined by "、"
    // Whether every figure the recalculation stores (the opening balance, each line's amount,
    // quantity and running balance, the totals) stays below lb::kMaxExactAmount in magnitude.
    bool exact = true;
    // The header column of that name, for storing the columns a rule lists.
    double value(const QString& column) const;
};

class LineRecalc {
public:
    // Sales: amount := sl × dj_n; balance := balance + amount - deduck - pay; hjsl counts sl.
    static const RecalcRule& sales();
    // Purchase, bought in packs and boxes: sl := js × sl_j (what goes into stock);
    // amount := (js × sl_j + ss × sl_s) × dj_w; balance := balance + amount - pay; hjsl counts
    // the packs and the boxes. The header's deduck and hjss are not stored.
    static const RecalcRule& purchase();
    // Receipt, lines of money received into accounts: the typed amount stands;
    // balance := balance - amount - deduck. No quantities are stored.
    static const RecalcRule& receipt();
    // Purchase order: as a purchase, with no carry-over line (the running balance starts from
    // the supplier's balance).
    static const RecalcRule& purchaseOrder();
    // Sales return: amount := sl × dj_n; balance := balance - amount; hjsl counts sl.
    static const RecalcRule& salesReturn();
    // Purchase return: amount := sl × dj_w; balance := balance - amount; hjsl counts sl.
    static const RecalcRule& purchaseReturn();
    // Payment, lines of money paid from accounts: as a receipt.
    static const RecalcRule& payment();

    // Recalculates `lines` (those after the carry-over line, in line order) from the carry-over
    // line's balance `openingRest`: each line's amount and running balance by the rule, in
    // double precision, nothing rounded.
    static RecalcTotals recalculate(const RecalcRule& rule, double openingRest, std::vector<RecalcLine>& lines);
};

} // namespace lb::documents
