// The window that opened a record list as a picker, as the list sees it: its boxes and datasets.
#pragma once

class QLineEdit;
class QWidget;

namespace lb::db {
class DataSet;
}

namespace lb::masterdata {

// The edit boxes a pick writes into; each opener has the ones its code needs.
enum class PickBox { None, Edit2, Edit3, Edit9, Edit10, Edit16 };

// Implemented by every window that opens a list as a picker (entry forms, summaries,
// statements). The list writes back through it; it never learns the opener's class.
class PickTarget {
public:
    virtual ~PickTarget() = default;
    // The opener's own window; the picker closes when it closes. Not owned.
    virtual QWidget* pickWindow() = 0;
    // The box, or nullptr when the opener has none of that name. Not owned.
    virtual QLineEdit* pickBox(PickBox box) = 0;
    // The document header (edited for an account's bankid) and lines (edited by line picks);
    // nullptr when the opener has none. Not owned.
    virtual lb::db::DataSet* pickHeader() = 0;
    virtual lb::db::DataSet* pickLines() = 0;
};

} // namespace lb::masterdata
