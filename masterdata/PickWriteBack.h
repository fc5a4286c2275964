// What each record list writes into its opener for each PickMode: the table and its application.
#pragma once

#include "core/PickCode.h"
#include "masterdata/PickTarget.h"

#include <QString>
#include <vector>

namespace lb::db {
class DataSet;
}

namespace lb::masterdata {

// The record lists that serve as pickers.
enum class PickList { Customer, Supplier, Account, Employee, Product, CustomerProduct, Store };

// The kinds of write-back.
enum class PickAction {
    Nothing,        // the list only closes
    CodeIntoBox,    // the record's id, as stored, into a box
    NameIntoBox,    // the record's name, trimmed, into a box
    HeaderAccount,  // header bankid := account id (edit, post) and the id into a box
    LineAccount,    // current line sphh := account id, spmc := account name (edit, post)
    LineProduct,    // the product (or customer price row) into the current line
};

struct PickRule {
    PickList list;
    lb::core::PickCode code;
    const char* opener;  // class of the opening window
    PickAction action;
    PickBox box;         // for the box actions and HeaderAccount; None otherwise
};

class PickWriteBack {
public:
    // The carry-over line of a document; a pick never writes into it.
    static const QString CarryOverLine;

    static const std::vector<PickRule>& rules();
    // The rule of a list for a code; nullptr when the list writes nothing for it.
    static const PickRule* find(PickList list, lb::core::PickCode code);

    // Writes the current row of `source` into the target by the list's rule for `code`.
    // `lineIntno` is the intno of the document line that was current when the picker opened:
    // a line pick writes only into that line, and nothing when it is gone or is the carry-over
    // line. `selectedField` is the field of the list grid's selected column (a price column
    // chooses the line's price). A customer price row gives the line its product's purchase
    // price. An empty source writes nothing. Returns whether it wrote.
    // Database errors propagate.
    static bool apply(PickList list, lb::core::PickCode code, PickTarget& target, lb::db::DataSet& source,
                      const QString& lineIntno, const QString& selectedField);

    // The intno of the target's current line, or empty when it has no line open.
    static QString currentLine(PickTarget& target);

private:
    static bool writeLineProduct(PickList list, lb::db::DataSet& line, lb::db::DataSet& source,
                                 const QString& selectedField);
    static lb::db::DataSet* lineFor(PickTarget& target, const QString& lineIntno);
    // The purchase price of a customer price row's product; the row's own when the product is gone.
    static double purchasePrice(lb::db::DataSet& priceRow);
};

} // namespace lb::masterdata
