// What configures one master-data editor: its boxes, their keys, its table's save rules.
#pragma once

#include "masterdata/MasterRecordRules.h"
#include "platform/ui/KeyFilter.h"

#include <QString>
#include <functional>
#include <vector>

namespace lb::db {
class Query;
}

namespace lb::masterdata {

// Keys an edit box accepts besides Backspace and Enter.
enum class KeyFilter {
    Any,
    Digits,     // 0 to 9
    Phone,      // digits and "-"
    Price,      // digits and "."
};

// Installs on `edit` the filter of the keys `filter` allows; nothing for Any.
inline void installKeyFilter(QWidget* edit, KeyFilter filter)
{
    switch (filter) {
    case KeyFilter::Digits: lb::ui::KeyFilter::install(edit, lb::ui::KeyFilter::Allowed::Digits); break;
    case KeyFilter::Phone: lb::ui::KeyFilter::install(edit, lb::ui::KeyFilter::Allowed::DigitsAndMinus); break;
    case KeyFilter::Price: lb::ui::KeyFilter::install(edit, lb::ui::KeyFilter::Allowed::DigitsAndPoint); break;
    case KeyFilter::Any: break;
    }
}

struct EditorBox {
    QString name;          // object name ("Edit2"), also what tests find it by
    QString label;         // caption beside the box
    QString column;        // column of the table it shows and writes
    KeyFilter filter = KeyFilter::Any;
    bool ime = false;      // gets the input method of ImeName
};

// An editor of the party family (customers, suppliers, accounts, employees, warehouses).
// Boxes are listed in their Enter order, which is also the tab order; Enter in the last box
// moves to "保存".
struct MasterEditorConfig {
    QString key; // window class name, its object name ("Tfrcustomeredit")
    QString caption;
    std::function<lb::db::Query*()> dataSet;  // the list's shared dataset, which it edits
    MasterTableRules rules;
    std::vector<EditorBox> boxes;
    QString codeBox = QStringLiteral("Edit2");
    QString nameBox = QStringLiteral("Edit3");
};

// The small editor of one value of the current row (opening balances, the stock count):
// four boxes, the first three showing the row, the last one the number edited.
struct ValueEditorConfig {
    QString key; // window class name, its object name ("Tfrcustomeredit_b")
    QString caption;
    std::function<lb::db::Query*()> dataSet;
    std::vector<EditorBox> boxes;      // code, name, third field, value; in Enter order
    std::vector<bool> editable;        // per box
    bool writeAllBoxes = true;         // false: only the value column is written
    bool checkCode = true;             // refuse an empty code or another row's code
    MasterTableRules rules;            // for the code check
    // The third box's label when it depends on the options (product specification or barcode); empty: fixed.
    std::function<QString()> thirdLabel;
};

} // namespace lb::masterdata
