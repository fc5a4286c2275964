// The expression builder: an expression typed or put together from fields, functions,
// variables and operators, and checked by evaluating it.
#pragma once

#include <QDialog>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QToolButton;
class QLineEdit;
class QVBoxLayout;

namespace lb::report {
class TCustomRpReport;
class TRpEvEnvironment;
}

namespace lb::report::ui {

// Opens the builder on `expression` under `heading` ("Enter expression:" when empty), with the
// datasets of `report` and the entries of `environment` (the report's when none is given) and
// of the global environment. On OK `expression` takes the text with its line breaks removed
// and the answer is true; on Cancel it is left and the answer is false.
bool GetExpression(const QString& heading, QString& expression, TCustomRpReport* report,
                   TRpEvEnvironment* environment, QWidget* parent);

// One panel shows at a time; a panel other than the main one answers OK (inserting its choice
// at the cursor) or Cancel, and the main panel comes back.
class TRpExpressionBuilder : public QDialog {
    Q_OBJECT
public:
    TRpExpressionBuilder(TCustomRpReport* report, TRpEvEnvironment* environment, QWidget* parent = nullptr);

    QStackedWidget* Pages;
    // Main panel.
    QWidget* MainPage;
    QLabel* Heading;
    QPlainTextEdit* Expression;
    QPushButton* InsertDataFieldBtn;
    QPushButton* InsertFunctionBtn;
    QPushButton* InsertVariableBtn;
    QPushButton* ValidateBtn;
    QPushButton* Clear;
    QPushButton* OK;
    QPushButton* Cancel;
    // Database field panel.
    QWidget* DataFieldPage;
    QListWidget* AvailableDatasets;
    QListWidget* AvailableFields;
    QPushButton* DataFieldOK;
    // Function panels.
    QWidget* FunctionPage;
    QListWidget* Categories;
    QListWidget* Functions;
    QLabel* FuncName;
    QLabel* FuncDescription;
    QPushButton* ContinueBtn;
    QWidget* FuncParamsPage;
    QPushButton* ParamsOK;
    // Variable panel.
    QWidget* VariablePage;
    QListWidget* AvailableVariables;
    QLabel* VariableValue;
    QPushButton* ModifyVariables;
    QPushButton* VariableOK;

    // The operator buttons, by caption ("+", "<>", "And", ...).
    QPushButton* OperatorButton(const QString& caption) const;
    // The edit boxes of the function's arguments while the parameters panel shows.
    const QList<QLineEdit*>& ArgumentEdits() const { return argumentEdits_; }
    // The text the validation found: "There are no errors. The result is : ..." or "ERROR: ...".
    QString ValidationText() const;

    // Replaces the selection of the expression with `text` and gives the edit the focus.
    void Insert(const QString& text);

private:
    QWidget* NewPage(const QString& title, QVBoxLayout*& layout);
    void ShowPage(QWidget* page);
    void FillDatasets();
    void FillFields();
    void FillFunctions();
    void ShowFunction();
    void ContinueClick();
    void ParamsOKClick();
    void FillVariables();
    void ShowVariable();
    void ValidateClick();

    TCustomRpReport* report_;
    TRpEvEnvironment* environment_;
    QList<QPushButton*> operators_;
    QWidget* params_ = nullptr;
    QList<QLineEdit*> argumentEdits_;
    QString chosenFunction_;
};

} // namespace lb::report::ui
