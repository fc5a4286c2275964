// The editor of a report's named expressions ("user defined functions") and of the global ones.
#pragma once

#include <QDialog>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QToolButton;

namespace lb::report {
class TCustomRpReport;
class TRpEvEnvironment;
}

namespace lb::report::ui {

// Opens the editor on `environment` (the report's, may be nullptr) and returns when it closes.
// Without `allowGlobal` the global entries cannot be chosen; without an environment only they
// can. `report` (may be nullptr) gives the expression builder its datasets.
void ShowEnvironmentEditor(TRpEvEnvironment* environment, bool allowGlobal, QWidget* parent,
                           TCustomRpReport* report = nullptr);

class TRpEnvironmentEditor : public QDialog {
    Q_OBJECT
public:
    TRpEnvironmentEditor(TRpEvEnvironment* environment, TCustomRpReport* report, QWidget* parent = nullptr);

    QGroupBox* AvailableGB;
    QTableWidget* UDFGrid;
    QRadioButton* LocalCB;
    QRadioButton* GlobalCB;
    QPushButton* AddBtn;
    QPushButton* EditBtn;
    QPushButton* DeleteBtn;
    QPushButton* VariableOKBtn;
    QGroupBox* NewEntryGB;
    QLineEdit* Name;
    QLineEdit* Expression;
    QToolButton* SpeedButton1;
    QPushButton* NewOKBtn;
    QPushButton* NewCancelBtn;

    // The environment the grid shows: the report's while "Local defines" is checked, else the
    // global one.
    TRpEvEnvironment* Edited() const;
    void FillGrid();

private:
    void CellChanged(int row, int column);
    void EditRow();
    void ShowNewEntry(bool show);
    void NewOK();
    void DeleteRow();

    TRpEvEnvironment* environment_;
    TCustomRpReport* report_;
    bool filling_ = false;
};

} // namespace lb::report::ui
