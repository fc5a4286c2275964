// Environment editor: the grid of entries, renaming, new entries and their expressions.
#include "report/ui/TRpEnvironmentEditor.h"

#include "platform/ui/GuardSlot.h"
#include "platform/ui/Modal.h"
#include "report/TRpEvEnvironment.h"
#include "report/ui/TRpExpressionBuilder.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace lb::report::ui {

void ShowEnvironmentEditor(TRpEvEnvironment* environment, bool allowGlobal, QWidget* parent, TCustomRpReport* report)
{
    TRpEnvironmentEditor editor(environment, report, parent);
    if (!allowGlobal)
        editor.GlobalCB->setEnabled(false);
    if (!environment) {
        editor.LocalCB->setEnabled(false);
        editor.GlobalCB->setChecked(true);
    }
    editor.FillGrid();
    lb::ui::Modal::exec(editor);
}

TRpEnvironmentEditor::TRpEnvironmentEditor(TRpEvEnvironment* environment, TCustomRpReport* report, QWidget* parent)
    : QDialog(parent), environment_(environment), report_(report)
{
    setObjectName(QStringLiteral("TRpEnvironmentEditor"));
    setWindowTitle(QStringLiteral("User Defined Functions Edtor"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* layout = new QVBoxLayout(this);
    AvailableGB = new QGroupBox(QStringLiteral("Available User Defined Functions"), this);
    auto* available = new QVBoxLayout(AvailableGB);
    UDFGrid = new QTableWidget(0, 2, AvailableGB);
    UDFGrid->setObjectName(QStringLiteral("UDFGrid"));
    UDFGrid->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Expression")});
    UDFGrid->horizontalHeader()->setStretchLastSection(true);
    UDFGrid->verticalHeader()->hide();
    available->addWidget(UDFGrid);
    auto* scope = new QHBoxLayout;
    LocalCB = new QRadioButton(QStringLiteral("&Local defines"), AvailableGB);
    LocalCB->setObjectName(QStringLiteral("LocalCB"));
    LocalCB->setChecked(true);
    GlobalCB = new QRadioButton(QStringLiteral("&Global defines"), AvailableGB);
    GlobalCB->setObjectName(QStringLiteral("GlobalCB"));
    scope->addWidget(LocalCB);
    scope->addWidget(GlobalCB);
    available->addLayout(scope);
    layout->addWidget(AvailableGB);

    NewEntryGB = new QGroupBox(QStringLiteral("New entry"), this);
    auto* entry = new QFormLayout(NewEntryGB);
    Name = new QLineEdit(NewEntryGB);
    Name->setObjectName(QStringLiteral("Name"));
    entry->addRow(QStringLiteral("Name :"), Name);
    auto* expressionRow = new QHBoxLayout;
    Expression = new QLineEdit(NewEntryGB);
    Expression->setObjectName(QStringLiteral("Expression"));
    SpeedButton1 = new QToolButton(NewEntryGB);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("..."));
    expressionRow->addWidget(Expression);
    expressionRow->addWidget(SpeedButton1);
    entry->addRow(QStringLiteral("Expression :"), expressionRow);
    auto* newButtons = new QHBoxLayout;
    NewOKBtn = new QPushButton(QStringLiteral("&OK"), NewEntryGB);
    NewOKBtn->setObjectName(QStringLiteral("NewOKBtn"));
    NewCancelBtn = new QPushButton(QStringLiteral("&Cancel"), NewEntryGB);
    NewCancelBtn->setObjectName(QStringLiteral("NewCancelBtn"));
    newButtons->addWidget(NewOKBtn);
    newButtons->addWidget(NewCancelBtn);
    entry->addRow(newButtons);
    layout->addWidget(NewEntryGB);
    NewEntryGB->hide();

    auto* buttons = new QHBoxLayout;
    AddBtn = new QPushButton(QStringLiteral("&Add"), this);
    AddBtn->setObjectName(QStringLiteral("AddBtn"));
    EditBtn = new QPushButton(QStringLiteral("&Edit"), this);
    EditBtn->setObjectName(QStringLiteral("EditBtn"));
    DeleteBtn = new QPushButton(QStringLiteral("&Delete"), this);
    DeleteBtn->setObjectName(QStringLiteral("DeleteBtn"));
    VariableOKBtn = new QPushButton(QStringLiteral("Close"), this);
    VariableOKBtn->setObjectName(QStringLiteral("VariableOKBtn"));
    VariableOKBtn->setDefault(true);
    for (QPushButton* b : {AddBtn, EditBtn, DeleteBtn, VariableOKBtn})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    connect(LocalCB, &QRadioButton::toggled, this, lb::ui::guardSlot(this, [this] { FillGrid(); }));
    connect(UDFGrid, &QTableWidget::cellChanged, this, lb::ui::guardSlot(this, &TRpEnvironmentEditor::CellChanged));
    connect(UDFGrid, &QTableWidget::cellDoubleClicked, this, lb::ui::guardSlot(this, [this] { EditRow(); }));
    connect(EditBtn, &QPushButton::clicked, this, lb::ui::guardSlot(this, &TRpEnvironmentEditor::EditRow));
    connect(AddBtn, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { ShowNewEntry(true); }));
    connect(DeleteBtn, &QPushButton::clicked, this, lb::ui::guardSlot(this, &TRpEnvironmentEditor::DeleteRow));
    connect(VariableOKBtn, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { accept(); }));
    connect(NewOKBtn, &QPushButton::clicked, this, lb::ui::guardSlot(this, &TRpEnvironmentEditor::NewOK));
    connect(NewCancelBtn, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { ShowNewEntry(false); }));
    connect(SpeedButton1, &QToolButton::clicked, this, lb::ui::guardSlot(this, [this] {
                QString expression = Expression->text();
                if (GetExpression(Name->text(), expression, report_, environment_, this))
                    Expression->setText(expression);
            }));
}

TRpEvEnvironment* TRpEnvironmentEditor::Edited() const
{
    return LocalCB->isChecked() && environment_ ? environment_ : &globalEnvironment();
}

void TRpEnvironmentEditor::FillGrid()
{
    filling_ = true;
    TRpEvEnvironment& edited = *Edited();
    UDFGrid->setRowCount(edited.count());
    for (int i = 0; i < edited.count(); ++i) {
        UDFGrid->setItem(i, 0, new QTableWidgetItem(edited.name(i)));
        UDFGrid->setItem(i, 1, new QTableWidgetItem(edited.expression(i)));
    }
    filling_ = false;
}

void TRpEnvironmentEditor::CellChanged(int row, int column)
{
    if (filling_)
        return;
    TRpEvEnvironment& edited = *Edited();
    if (row < 0 || row >= edited.count())
        return;
    const QString typed = UDFGrid->item(row, column)->text();
    if (column == 0)
        edited.setName(row, typed);
    else
        edited.setExpression(row, typed);
    // The grid shows what the environment kept: names in capitals, a prepared entry unchanged.
    FillGrid();
}

void TRpEnvironmentEditor::EditRow()
{
    const int row = UDFGrid->currentRow();
    TRpEvEnvironment& edited = *Edited();
    if (row < 0 || row >= edited.count())
        return;
    QString expression = edited.expression(row);
    if (GetExpression(edited.name(row), expression, report_, environment_, this))
        UDFGrid->item(row, 1)->setText(expression);
}

void TRpEnvironmentEditor::ShowNewEntry(bool show)
{
    for (QPushButton* b : {AddBtn, EditBtn, DeleteBtn, VariableOKBtn})
        b->setVisible(!show);
    NewEntryGB->setVisible(show);
    AvailableGB->setEnabled(!show);
    if (show) {
        Name->clear();
        Expression->clear();
        Name->setFocus();
    }
}

void TRpEnvironmentEditor::NewOK()
{
    if (!Name->text().trimmed().isEmpty())
        Edited()->addFunction(Name->text().trimmed(), Expression->text());
    ShowNewEntry(false);
    FillGrid();
}

void TRpEnvironmentEditor::DeleteRow()
{
    const int row = UDFGrid->currentRow();
    TRpEvEnvironment& edited = *Edited();
    if (row < 0 || row >= edited.count())
        return;
    edited.deleteFunction(edited.name(row));
    FillGrid();
}

} // namespace lb::report::ui
