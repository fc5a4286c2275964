// The design tools offscreen: the expression builder's insertions and validation, the
// environment editor, the label and expression editors with their size checks.
#include "platform/ui/ScriptedDialogs.h"
#include "platform/ui/ScriptedModals.h"
#include "report/ReportTestSupport.h"
#include "report/TRpEvEnvironment.h"
#include "report/ui/TRpEnvironmentEditor.h"
#include "report/ui/TRpExprEditor.h"
#include "report/ui/TRpExprEditorForm.h"
#include "report/ui/TRpExpressionBuilder.h"
#include "report/ui/TRpLabelEditor.h"
#include "report/ui/TRpLabelEditorForm.h"
#include "support/Typing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QToolButton>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTextCursor>
#include <QTableWidget>
#include <tuple>

namespace lb::report::ui {
namespace {

class EditorsTest : public test::ReportDatabase {
protected:
    void SetUp() override
    {
        ReportDatabase::SetUp();
        items->open();
        test::buildListReport(report, items.get());
    }

    // Clicks Validate with `expression` in the builder and returns the message shown.
    QString validate(const QString& expression)
    {
        TRpExpressionBuilder builder(&report, nullptr);
        builder.Expression->setPlainText(expression);
        lb::ui::ScriptedDialogs dialogs;
        builder.ValidateBtn->click();
        return dialogs.lastText();
    }

    TRpReport report;
};

TEST_F(EditorsTest, ValidationShowsTheResultOrTheError)
{
    EXPECT_EQ(QStringLiteral("There are no errors. The result is : 2"), validate("1+1"));
    EXPECT_EQ(QStringLiteral("ERROR: Cannot divide by 0"), validate("1/0"));
    EXPECT_EQ(QStringLiteral("There are no errors. The result is : True"), validate("2<=2"));
    EXPECT_EQ(QStringLiteral("There are no errors. The result is : 朔栎"), validate("'朔'+\n'栎'"));
    // An empty text is a result, not an error.
    EXPECT_EQ(QStringLiteral("There are no errors. The result is : "), validate("''"));
    // Report variables and fields of the report's datasets are known.
    EXPECT_EQ(QStringLiteral("There are no errors. The result is : 0"), validate("PAGENUMBER"));
    EXPECT_EQ(QStringLiteral("ERROR: Unknown function : NOSUCH"), validate("NOSUCH"));
}

TEST_F(EditorsTest, BuilderInsertsFunctionsFieldsVariablesAndOperators)
{
    TRpExpressionBuilder builder(&report, nullptr);
    // IF from the logical functions, with three arguments.
    builder.InsertFunctionBtn->click();
    builder.Categories->setCurrentRow(5);
    EXPECT_FALSE(builder.Functions->findItems("IF", Qt::MatchExactly).isEmpty());
    EXPECT_TRUE(builder.Functions->findItems("SUM", Qt::MatchExactly).isEmpty());
    builder.Functions->setCurrentItem(builder.Functions->findItems("IF", Qt::MatchExactly).first());
    EXPECT_EQ(QStringLiteral("IF(<Exp>, <X>, <Y>)"), builder.FuncName->text());
    builder.ContinueBtn->click();
    ASSERT_EQ(3, builder.ArgumentEdits().size());
    builder.ArgumentEdits()[0]->setText("a");
    builder.ArgumentEdits()[1]->setText("b");
    builder.ArgumentEdits()[2]->setText("c");
    builder.ParamsOK->click();
    EXPECT_EQ(QStringLiteral("IF(a,b,c)"), builder.Expression->toPlainText());
    // TRUE takes no arguments: its bare name.
    builder.Clear->click();
    builder.InsertFunctionBtn->click();
    builder.Functions->setCurrentItem(builder.Functions->findItems("TRUE", Qt::MatchExactly).first());
    builder.ContinueBtn->click();
    EXPECT_EQ(QStringLiteral("TRUE"), builder.Expression->toPlainText());
    // An operator, a field of the report's dataset, a variable.
    builder.OperatorButton("<>")->click();
    builder.InsertDataFieldBtn->click();
    builder.AvailableDatasets->setCurrentRow(0);
    builder.AvailableFields->setCurrentItem(builder.AvailableFields->findItems("amount", Qt::MatchExactly).first());
    builder.DataFieldOK->click();
    builder.OperatorButton("And")->click();
    builder.InsertVariableBtn->click();
    builder.AvailableVariables->setCurrentItem(builder.AvailableVariables->findItems("REPORTTITLE", Qt::MatchExactly).first());
    EXPECT_EQ(QStringLiteral("''"), builder.VariableValue->text());
    builder.VariableOK->click();
    EXPECT_EQ(QStringLiteral("TRUE <> AQitem.amount And REPORTTITLE"), builder.Expression->toPlainText());
}

TEST_F(EditorsTest, GetExpressionGivesTheTextWithoutLineBreaksOnOkOnly)
{
    QString expression = QStringLiteral("1+1");
    {
        lb::ui::ScriptedModals modals;
        modals.then([](QDialog& dialog) {
            auto& builder = dynamic_cast<TRpExpressionBuilder&>(dialog);
            EXPECT_EQ(QStringLiteral("Amount"), builder.Heading->text());
            builder.Expression->setPlainText("SUM(\r\nAQitem.amount)");
            builder.OK->click();
        });
        EXPECT_TRUE(GetExpression(QStringLiteral("Amount"), expression, &report, nullptr, nullptr));
    }
    EXPECT_EQ(QStringLiteral("SUM(AQitem.amount)"), expression);
    lb::ui::ScriptedModals modals;
    modals.then([](QDialog& dialog) {
        auto& builder = dynamic_cast<TRpExpressionBuilder&>(dialog);
        EXPECT_EQ(QStringLiteral("Enter expression:"), builder.Heading->text());
        builder.Expression->setPlainText("2");
        builder.Cancel->click();
    });
    EXPECT_FALSE(GetExpression(QString(), expression, &report, nullptr, nullptr));
    EXPECT_EQ(QStringLiteral("SUM(AQitem.amount)"), expression);
}

TEST_F(EditorsTest, EnvironmentEditorAddsRenamesChangesAndDeletesEntries)
{
    TRpEvEnvironment& functions = report.Functions();
    lb::ui::ScriptedModals modals;
    modals.then([](QDialog& dialog) {
        auto& editor = dynamic_cast<TRpEnvironmentEditor&>(dialog);
        EXPECT_EQ(QStringLiteral("User Defined Functions Edtor"), editor.windowTitle());
        EXPECT_EQ(3, editor.UDFGrid->rowCount());
        editor.AddBtn->click();
        EXPECT_FALSE(editor.AddBtn->isVisibleTo(&editor));
        editor.Name->setText("x");
        editor.Expression->setText("1+2");
        editor.NewOKBtn->click();
        EXPECT_TRUE(editor.AddBtn->isVisibleTo(&editor));
        ASSERT_EQ(4, editor.UDFGrid->rowCount());
        EXPECT_EQ(QStringLiteral("X"), editor.UDFGrid->item(3, 0)->text());
        // Typed into the grid: a new name (kept in capitals) and a new expression.
        editor.UDFGrid->item(3, 0)->setText("total");
        editor.UDFGrid->item(3, 1)->setText("2*3");
        // The second entry deleted.
        editor.UDFGrid->setCurrentCell(1, 0);
        editor.DeleteBtn->click();
        editor.VariableOKBtn->click();
    });
    ShowEnvironmentEditor(&functions, false, nullptr, &report);
    ASSERT_EQ(3, functions.count());
    EXPECT_EQ(QStringLiteral("PAGENUMBER"), functions.name(0));
    EXPECT_EQ(QStringLiteral("REPORTTITLE"), functions.name(1));
    EXPECT_EQ(QStringLiteral("TOTAL"), functions.name(2));
    EXPECT_EQ(QStringLiteral("2*3"), functions.expression(2));
}

TEST_F(EditorsTest, BuilderKeysWorkOnThePanelShown)
{
    TRpExpressionBuilder builder(&report, nullptr);
    builder.show();
    builder.Expression->setPlainText("1+1");
    builder.Expression->setFocus();
    lb::ui::ScriptedDialogs dialogs;
    pressAccessKey(&builder, 'T');
    EXPECT_EQ(QStringLiteral("There are no errors. The result is : 2"), dialogs.lastText());
    // Modify variables belongs to the variable panel: here its key types nothing.
    pressAccessKey(&builder, 'M');
    EXPECT_EQ(QStringLiteral("1+1"), builder.Expression->toPlainText());
    pressAccessKey(&builder, 'C');
    EXPECT_EQ(QString(), builder.Expression->toPlainText());
    const std::tuple<char, QWidget*, const char*> panels[] = {
        {'D', builder.DataFieldPage, "DataFieldCancel"}, {'F', builder.FunctionPage, "FunctionCancel"}};
    for (const auto& [letter, panel, cancel] : panels) {
        pressAccessKey(&builder, letter);
        EXPECT_EQ(panel, builder.Pages->currentWidget()) << letter;
        builder.findChild<QPushButton*>(QLatin1String(cancel))->click();
    }
    pressAccessKey(&builder, 'V');
    EXPECT_EQ(builder.VariablePage, builder.Pages->currentWidget());
    lb::ui::ScriptedModals modals;
    modals.then([](QDialog& editor) { editor.reject(); });
    pressAccessKey(&builder, 'M');
    EXPECT_EQ(QStringList{QStringLiteral("User Defined Functions Edtor")}, modals.titles());
}

TEST_F(EditorsTest, EnvironmentEditorKeysWorkOnTheButtonsShown)
{
    TRpEvEnvironment& functions = report.Functions();
    lb::ui::ScriptedModals modals;
    modals.then([](QDialog& dialog) {
        auto& editor = dynamic_cast<TRpEnvironmentEditor&>(dialog);
        pressAccessKey(&editor, 'G');
        EXPECT_TRUE(editor.GlobalCB->isChecked());
        pressAccessKey(&editor, 'L');
        EXPECT_TRUE(editor.LocalCB->isChecked());
        pressAccessKey(&editor, 'A');
        ASSERT_EQ(editor.Name, editor.focusWidget());
        editor.Name->setText("y");
        // Add is hidden while a new entry is typed: its key types nothing into the name.
        pressAccessKey(&editor, 'A');
        EXPECT_EQ(QStringLiteral("y"), editor.Name->text());
        pressAccessKey(&editor, 'C');
        EXPECT_FALSE(editor.NewEntryGB->isVisibleTo(&editor));
        pressAccessKey(&editor, 'A');
        editor.Name->setText("y");
        editor.Expression->setText("1");
        pressAccessKey(&editor, 'O');
        ASSERT_EQ(4, editor.UDFGrid->rowCount());
        // Edit opens the builder on the current entry; Delete deletes it.
        editor.UDFGrid->setCurrentCell(1, 0);
        pressAccessKey(&editor, 'E');
        pressAccessKey(&editor, 'D');
        editor.VariableOKBtn->click();
    });
    QString edited;
    modals.then([&edited](QDialog& builder) { edited = dynamic_cast<TRpExpressionBuilder&>(builder).Heading->text(); });
    const QString second = functions.name(1);
    ShowEnvironmentEditor(&functions, true, nullptr, &report);
    EXPECT_EQ(second, edited);
    ASSERT_EQ(3, functions.count());
    EXPECT_EQ(QStringLiteral("Y"), functions.name(2));
}

TEST_F(EditorsTest, LabelEditorTakesDecimalSizesChecksThemAndAppliesOnlyChanges)
{
    report.SetUnits(TRpUnit::MM);
    auto* label = report.FirstBand(rbColumnHeader)->Add<TRpLabel>(QStringLiteral("caption"));
    label->SetCaption(QStringLiteral("货品"));
    label->Size().SetUnits(TRpUnit::Native);
    label->Size().SetWidth(1000.0 / 3);
    label->Size().SetUnits(TRpUnit::MM);
    TRpLabelEditor editor(*label);
    EXPECT_EQ(QStringLiteral("RPLABEL"), editor.ControlName());
    EXPECT_EQ(QStringLiteral("Text Control"), editor.Description());
    lb::ui::ScriptedDialogs dialogs;
    lb::ui::ScriptedModals modals;
    modals.then([](QDialog& dialog) {
        auto& form = dynamic_cast<TRpLabelEditorForm&>(dialog);
        EXPECT_EQ(QStringLiteral("Text Settings"), form.windowTitle());
        EXPECT_EQ(QStringLiteral("货品"), form.Value->text());
        form.Value->setText(QStringLiteral("货品名称"));
        form.Height->setText("abc");
        form.OKBtn->click();
        // Refused: the dialog stays and nothing is applied yet.
        EXPECT_TRUE(form.isVisible());
        form.Height->setText("7.25");
        form.Stretch->setChecked(true);
        form.OKBtn->click();
    });
    EXPECT_TRUE(editor.Edit(nullptr));
    EXPECT_EQ(QStringList({"'abc' is not a valid size"}), dialogs.texts());
    EXPECT_EQ(QStringLiteral("货品名称"), label->Caption());
    EXPECT_DOUBLE_EQ(7.25, label->Size().Height());
    EXPECT_TRUE(label->AutoStretch);
    // The width was shown and left: its stored value is exactly as before.
    EXPECT_EQ(1000.0 / 3, label->Size().Values()[TRpPrintableSize::WidthIndex]);
    // Cancel changes nothing.
    lb::ui::ScriptedModals cancel;
    cancel.then([](QDialog& dialog) {
        auto& form = dynamic_cast<TRpLabelEditorForm&>(dialog);
        form.Value->setText(QStringLiteral("x"));
        form.Button4->click();
    });
    EXPECT_FALSE(editor.Edit(nullptr));
    EXPECT_EQ(QStringLiteral("货品名称"), label->Caption());
}

TEST_F(EditorsTest, ExpressionEditorEditsTheExpressionAndItsMask)
{
    auto* expression = report.FirstBand(rbSummary)->Add<TRpExpr>();
    expression->SetExpression(QStringLiteral("SUM(AQitem.amount)"));
    TRpExprEditor editor(*expression);
    EXPECT_EQ(QStringLiteral("RPEXPR"), editor.ControlName());
    EXPECT_EQ(QStringLiteral("Expression Control"), editor.Description());
    lb::ui::ScriptedModals modals;
    modals.then([](QDialog& dialog) {
        auto& form = dynamic_cast<TRpExprEditorForm&>(dialog);
        EXPECT_EQ(QStringLiteral("Expression settings"), form.windowTitle());
        EXPECT_EQ(QStringLiteral("SUM(AQitem.amount)"), form.Value->text());
        form.Mask->setCurrentText("0.00");
        form.ShowExprBuilder->click(); // the builder below answers
        form.OKBtn->click();
    });
    modals.then([](QDialog& dialog) {
        auto& builder = dynamic_cast<TRpExpressionBuilder&>(dialog);
        // The builder opens with the whole expression selected; typing after it.
        builder.Expression->moveCursor(QTextCursor::End);
        builder.OperatorButton("*")->click();
        builder.Insert("2");
        builder.OK->click();
    });
    EXPECT_TRUE(editor.Edit(nullptr));
    EXPECT_EQ(QStringLiteral("SUM(AQitem.amount) * 2"), expression->Expression());
    EXPECT_EQ(QStringLiteral("0.00"), expression->Mask);
}

} // namespace
} // namespace lb::report::ui
