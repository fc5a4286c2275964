// The preview's text search dialog.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QToolButton;

namespace lb::report::ui {

// "Search" accepts, "Cancel" rejects.
class TSearchDlg : public QDialog {
    Q_OBJECT
public:
    explicit TSearchDlg(QWidget* parent = nullptr);

    QLineEdit* Edit1;
    QCheckBox* CheckBox1;
    QToolButton* SpeedButton1; // Cancel
    QToolButton* SpeedButton2; // Search
};

} // namespace lb::report::ui
