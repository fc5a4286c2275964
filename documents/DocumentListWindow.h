// The list of one kind's documents: search, state colours, and the door to each document.
#pragma once

#include "documents/DocumentListConfig.h"
#include "platform/ui/ListFrame.h"

#include <QColor>

class QComboBox;
class QLineEdit;

namespace lb::db {
class DataSet;
}

namespace lb::ui {
class DataGrid;
}

namespace lb::documents {

// Shows the kind's headers through the shared header dataset AQoutlist, which its opener has
// pointed at the kind's header table: posted rows blue, reversed ones red. An open document
// opens in the kind's entry form, a posted one in its posted view; either disables the list
// until it closes. Closing the list points AQoutlist back at the whole table (left closed)
// and connects the database anew.
class DocumentListWindow : public lb::ui::ListFrame {
    Q_OBJECT
public:
    DocumentListWindow(DocumentListConfig config, QWidget* owner);

    const DocumentListConfig& config() const { return config_; }

    lb::ui::DataGrid* DBGrid1 = nullptr;
    QComboBox* ComboBox1 = nullptr; // 单据号, 日期, the party's number and name
    QLineEdit* Edit12 = nullptr;    // the searched text

    void findbillClick();     // 查找单据, and leaving the search box
    void detailClick();       // 明细单, and a double-click on a row
    void ToolButton5Click();  // 新开单
    void Edit12DblClick();    // the date picker, under 日期
    void ComboBox1Select();

    // The colour of a row by its state: blue posted, red reversed, none open.
    static QColor rowColour(const lb::db::DataSet& headers, int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void onClosing() override;

private:
    DocumentListConfig config_;
};

} // namespace lb::documents
