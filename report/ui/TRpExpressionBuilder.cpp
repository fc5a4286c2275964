// Expression builder: its panels, the insertions they make and the validation.
#include "report/ui/TRpExpressionBuilder.h"

#include "platform/db/DataSet.h"
#include "platform/sys/TextFormat.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/GuardSlot.h"
#include "platform/ui/Modal.h"
#include "report/TCustomRpReport.h"
#include "report/TRpEvEnvironment.h"
#include "report/TRpEvaluator.h"
#include "report/TRpFunctionLibrary.h"
#include "report/ui/TRpEnvironmentEditor.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace lb::report::ui {

namespace {

QString withoutLineBreaks(QString text)
{
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    return text;
}

QPushButton* button(const QString& name, const QString& caption, QWidget* parent)
{
    auto* made = new QPushButton(caption, parent);
    made->setObjectName(name);
    return made;
}

} // namespace

bool GetExpression(const QString& heading, QString& expression, TCustomRpReport* report,
                   TRpEvEnvironment* environment, QWidget* parent)
{
    TRpExpressionBuilder builder(report, environment, parent);
    if (!heading.isEmpty())
        builder.Heading->setText(heading);
    builder.Expression->setPlainText(expression);
    builder.Expression->selectAll();
    if (lb::ui::Modal::exec(builder) != QDialog::Accepted)
        return false;
    expression = withoutLineBreaks(builder.Expression->toPlainText());
    return true;
}

TRpExpressionBuilder::TRpExpressionBuilder(TCustomRpReport* report, TRpEvEnvironment* environment, QWidget* parent)
    : QDialog(parent), report_(report), environment_(environment ? environment : report ? &report->Functions() : nullptr)
{
    setObjectName(QStringLiteral("TRpExpressionBuilder"));
    setWindowTitle(QStringLiteral("Expression Builder"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QStringLiteral("Expression Builder"), this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    layout->addWidget(title);
    Pages = new QStackedWidget(this);
    layout->addWidget(Pages);

    // Main panel.
    QVBoxLayout* main = nullptr;
    MainPage = NewPage(QString(), main);
    Heading = new QLabel(QStringLiteral("Enter expression:"), MainPage);
    Heading->setObjectName(QStringLiteral("Heading"));
    main->addWidget(Heading);
    Expression = new QPlainTextEdit(MainPage);
    Expression->setObjectName(QStringLiteral("TWordWrapEdit"));
    Expression->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Expression->setMinimumSize(341, 91);
    main->addWidget(Expression);
    auto* insert = new QGroupBox(QStringLiteral("Insert at cursor position"), MainPage);
    auto* grid = new QGridLayout(insert);
    InsertDataFieldBtn = button(QStringLiteral("InsertDataFieldBtn"), QStringLiteral("&Database field"), insert);
    InsertFunctionBtn = button(QStringLiteral("InsertFunctionBtn"), QStringLiteral("&Function"), insert);
    InsertVariableBtn = button(QStringLiteral("InsertVariableBtn"), QStringLiteral("&Variable"), insert);
    grid->addWidget(InsertDataFieldBtn, 0, 0, 1, 4);
    grid->addWidget(InsertFunctionBtn, 0, 4, 1, 4);
    grid->addWidget(InsertVariableBtn, 0, 8, 1, 5);
    const struct {
        const char* name;
        const char* caption;
    } operators[] = {{"AddPlus", "+"}, {"AddMinus", "-"}, {"AddMul", "*"}, {"AddDiv", "/"}, {"AddEqual", "="},
                     {"AddLess", "<"}, {"AddGreater", ">"}, {"AddDistinct", "<>"}, {"AddLessEqual", "<="},
                     {"AddGreaterEqual", ">="}, {"AddNot", "Not"}, {"AddAnd", "And"}, {"AddOr", "Or"}};
    int column = 0;
    for (const auto& op : operators) {
        QPushButton* added = button(QString::fromLatin1(op.name), QString::fromLatin1(op.caption), insert);
        const QString text = QLatin1Char(' ') + QString::fromLatin1(op.caption) + QLatin1Char(' ');
        connect(added, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this, text] { Insert(text); }));
        operators_.append(added);
        grid->addWidget(added, 1, column++);
    }
    main->addWidget(insert);
    auto* mainButtons = new QHBoxLayout;
    ValidateBtn = button(QStringLiteral("ValidateBtn"), QStringLiteral("Valida&te"), MainPage);
    Clear = button(QStringLiteral("Clear"), QStringLiteral("&Clear"), MainPage);
    OK = button(QStringLiteral("OK"), QStringLiteral("OK"), MainPage);
    Cancel = button(QStringLiteral("Cancel"), QStringLiteral("Cancel"), MainPage);
    OK->setDefault(true);
    for (QPushButton* b : {ValidateBtn, Clear, OK, Cancel})
        mainButtons->addWidget(b);
    main->addLayout(mainButtons);

    // Database field panel.
    QVBoxLayout* fields = nullptr;
    DataFieldPage = NewPage(QStringLiteral("Insert database field in expression"), fields);
    fields->addWidget(new QLabel(QStringLiteral("Select dataset"), DataFieldPage));
    AvailableDatasets = new QListWidget(DataFieldPage);
    AvailableDatasets->setObjectName(QStringLiteral("AvailableDatasets"));
    fields->addWidget(AvailableDatasets);
    fields->addWidget(new QLabel(QStringLiteral("Available fields"), DataFieldPage));
    AvailableFields = new QListWidget(DataFieldPage);
    AvailableFields->setObjectName(QStringLiteral("AvailableFields"));
    fields->addWidget(AvailableFields);
    auto* fieldButtons = new QHBoxLayout;
    DataFieldOK = button(QStringLiteral("DataFieldOK"), QStringLiteral("OK"), DataFieldPage);
    QPushButton* fieldCancel = button(QStringLiteral("DataFieldCancel"), QStringLiteral("Cancel"), DataFieldPage);
    fieldButtons->addWidget(DataFieldOK);
    fieldButtons->addWidget(fieldCancel);
    fields->addLayout(fieldButtons);

    // Function panel.
    QVBoxLayout* functions = nullptr;
    FunctionPage = NewPage(QStringLiteral("Select function"), functions);
    auto* lists = new QHBoxLayout;
    Categories = new QListWidget(FunctionPage);
    Categories->setObjectName(QStringLiteral("Categories"));
    Categories->addItems({QStringLiteral("All"), QStringLiteral("Date & time"), QStringLiteral("Math & trig"),
                          QStringLiteral("Statistical"), QStringLiteral("Database"), QStringLiteral("Logical"),
                          QStringLiteral("Information"), QStringLiteral("Other")});
    Functions = new QListWidget(FunctionPage);
    Functions->setObjectName(QStringLiteral("Functions"));
    lists->addWidget(Categories);
    lists->addWidget(Functions);
    functions->addLayout(lists);
    FuncName = new QLabel(FunctionPage);
    FuncName->setObjectName(QStringLiteral("FuncName"));
    FuncDescription = new QLabel(FunctionPage);
    FuncDescription->setObjectName(QStringLiteral("FuncDescription"));
    FuncDescription->setWordWrap(true);
    functions->addWidget(FuncName);
    functions->addWidget(FuncDescription);
    auto* functionButtons = new QHBoxLayout;
    ContinueBtn = button(QStringLiteral("Continue"), QStringLiteral("Continue"), FunctionPage);
    QPushButton* functionCancel = button(QStringLiteral("FunctionCancel"), QStringLiteral("Cancel"), FunctionPage);
    functionButtons->addWidget(ContinueBtn);
    functionButtons->addWidget(functionCancel);
    functions->addLayout(functionButtons);

    QVBoxLayout* params = nullptr;
    FuncParamsPage = NewPage(QStringLiteral("Enter parameters for function"), params);
    params_ = new QWidget(FuncParamsPage);
    params->addWidget(params_);
    auto* paramButtons = new QHBoxLayout;
    ParamsOK = button(QStringLiteral("ParamsOK"), QStringLiteral("OK"), FuncParamsPage);
    QPushButton* paramsCancel = button(QStringLiteral("ParamsCancel"), QStringLiteral("Cancel"), FuncParamsPage);
    paramButtons->addWidget(ParamsOK);
    paramButtons->addWidget(paramsCancel);
    params->addLayout(paramButtons);

    // Variable panel.
    QVBoxLayout* variables = nullptr;
    VariablePage = NewPage(QStringLiteral("Select variable"), variables);
    AvailableVariables = new QListWidget(VariablePage);
    AvailableVariables->setObjectName(QStringLiteral("AvailableVariables"));
    variables->addWidget(AvailableVariables);
    variables->addWidget(new QLabel(QStringLiteral("Value :"), VariablePage));
    VariableValue = new QLabel(VariablePage);
    VariableValue->setObjectName(QStringLiteral("VariableValue"));
    variables->addWidget(VariableValue);
    auto* variableButtons = new QHBoxLayout;
    ModifyVariables = button(QStringLiteral("ModifyVariables"), QStringLiteral("&Modify variables"), VariablePage);
    VariableOK = button(QStringLiteral("VariableOK"), QStringLiteral("OK"), VariablePage);
    QPushButton* variableCancel = button(QStringLiteral("VariableCancel"), QStringLiteral("Cancel"), VariablePage);
    variableButtons->addWidget(ModifyVariables);
    variableButtons->addWidget(VariableOK);
    variableButtons->addWidget(variableCancel);
    variables->addLayout(variableButtons);

    const auto back = [this] { ShowPage(MainPage); };
    connect(InsertDataFieldBtn, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] {
                FillDatasets();
                ShowPage(DataFieldPage);
            }));
    connect(InsertFunctionBtn, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] {
                Categories->setCurrentRow(0);
                FillFunctions();
                ShowPage(FunctionPage);
            }));
    connect(InsertVariableBtn, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] {
                FillVariables();
                ShowPage(VariablePage);
            }));
    connect(ValidateBtn, &QPushButton::clicked, this, lb::ui::guardSlot(this, &TRpExpressionBuilder::ValidateClick));
    connect(Clear, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { Expression->clear(); }));
    connect(OK, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { accept(); }));
    connect(Cancel, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { reject(); }));
    connect(AvailableDatasets, &QListWidget::currentRowChanged, this, lb::ui::guardSlot(this, &TRpExpressionBuilder::FillFields));
    const auto insertField = [this] {
        if (AvailableDatasets->currentItem() && AvailableFields->currentItem())
            Insert(AvailableDatasets->currentItem()->text() + QLatin1Char('.') + AvailableFields->currentItem()->text());
        ShowPage(MainPage);
    };
    connect(DataFieldOK, &QPushButton::clicked, this, lb::ui::guardSlot(this, insertField));
    connect(AvailableFields, &QListWidget::itemDoubleClicked, this, lb::ui::guardSlot(this, insertField));
    connect(fieldCancel, &QPushButton::clicked, this, lb::ui::guardSlot(this, back));
    connect(Categories, &QListWidget::currentRowChanged, this, lb::ui::guardSlot(this, &TRpExpressionBuilder::FillFunctions));
    connect(Functions, &QListWidget::currentRowChanged, this, lb::ui::guardSlot(this, &TRpExpressionBuilder::ShowFunction));
    connect(ContinueBtn, &QPushButton::clicked, this, lb::ui::guardSlot(this, &TRpExpressionBuilder::ContinueClick));
    connect(Functions, &QListWidget::itemDoubleClicked, this, lb::ui::guardSlot(this, &TRpExpressionBuilder::ContinueClick));
    connect(functionCancel, &QPushButton::clicked, this, lb::ui::guardSlot(this, back));
    connect(ParamsOK, &QPushButton::clicked, this, lb::ui::guardSlot(this, &TRpExpressionBuilder::ParamsOKClick));
    connect(paramsCancel, &QPushButton::clicked, this, lb::ui::guardSlot(this, back));
    connect(AvailableVariables, &QListWidget::currentRowChanged, this, lb::ui::guardSlot(this, &TRpExpressionBuilder::ShowVariable));
    const auto insertVariable = [this] {
        if (AvailableVariables->currentItem())
            Insert(AvailableVariables->currentItem()->text());
        ShowPage(MainPage);
    };
    connect(VariableOK, &QPushButton::clicked, this, lb::ui::guardSlot(this, insertVariable));
    connect(AvailableVariables, &QListWidget::itemDoubleClicked, this, lb::ui::guardSlot(this, insertVariable));
    connect(variableCancel, &QPushButton::clicked, this, lb::ui::guardSlot(this, back));
    connect(ModifyVariables, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] {
                ShowEnvironmentEditor(environment_, true, this, report_);
                FillVariables();
            }));
    ShowPage(MainPage);
}

QWidget* TRpExpressionBuilder::NewPage(const QString& title, QVBoxLayout*& layout)
{
    auto* page = new QWidget(Pages);
    layout = new QVBoxLayout(page);
    if (!title.isEmpty())
        layout->addWidget(new QLabel(title, page));
    Pages->addWidget(page);
    return page;
}

void TRpExpressionBuilder::ShowPage(QWidget* page)
{
    Pages->setCurrentWidget(page);
    if (page == MainPage)
        Expression->setFocus();
}

QPushButton* TRpExpressionBuilder::OperatorButton(const QString& caption) const
{
    for (QPushButton* op : operators_) {
        if (op->text() == caption)
            return op;
    }
    return nullptr;
}

void TRpExpressionBuilder::Insert(const QString& text)
{
    Expression->textCursor().insertText(text);
    Expression->setFocus();
}

void TRpExpressionBuilder::FillDatasets()
{
    AvailableDatasets->clear();
    AvailableFields->clear();
    if (!report_)
        return;
    for (db::DataSet* dataSet : report_->DataSets())
        AvailableDatasets->addItem(dataSet->name());
}

void TRpExpressionBuilder::FillFields()
{
    AvailableFields->clear();
    const int row = AvailableDatasets->currentRow();
    if (!report_ || row < 0)
        return;
    const QList<db::DataSet*> dataSets = report_->DataSets();
    if (row >= dataSets.size())
        return;
    db::DataSet* dataSet = dataSets[row];
    for (int i = 0; i < dataSet->fieldCount(); ++i)
        AvailableFields->addItem(dataSet->field(i).fieldName());
}

void TRpExpressionBuilder::FillFunctions()
{
    Functions->clear();
    const int category = std::max(Categories->currentRow(), 0);
    const TRpFunctionLibrary& library = functionLibrary();
    for (int i = 0; i < library.count(); ++i) {
        const TRpLibraryEntry& entry = library.getEntry(i);
        if (category == 0 || entry.arguments.startsWith(QString::number(category)))
            Functions->addItem(entry.name);
    }
}

void TRpExpressionBuilder::ShowFunction()
{
    FuncName->clear();
    FuncDescription->clear();
    if (!Functions->currentItem())
        return;
    const TRpLibraryEntry* entry = functionLibrary().find(Functions->currentItem()->text());
    if (!entry)
        return;
    const qsizetype bar = entry->description.indexOf(QLatin1Char('|'));
    if (bar < 0) {
        FuncDescription->setText(entry->description);
    } else {
        FuncName->setText(entry->description.left(bar));
        FuncDescription->setText(entry->description.mid(bar + 1));
    }
}

void TRpExpressionBuilder::ContinueClick()
{
    if (!Functions->currentItem())
        return;
    const TRpLibraryEntry* entry = functionLibrary().find(Functions->currentItem()->text());
    if (!entry)
        return;
    chosenFunction_ = entry->name;
    const QString letters = entry->arguments.mid(1);
    if (letters.isEmpty()) {
        Insert(entry->name);
        ShowPage(MainPage);
        return;
    }
    delete params_;
    params_ = new QWidget(FuncParamsPage);
    static_cast<QVBoxLayout*>(FuncParamsPage->layout())->insertWidget(1, params_);
    auto* grid = new QGridLayout(params_);
    argumentEdits_.clear();
    const QString syntax = FuncName->text();
    for (int i = 0; i < letters.size(); ++i) {
        const QChar letter = letters[i].toUpper();
        const char* kind = letter == 'B' ? "Argument %1 - logical value"
                           : letter == 'N' ? "Argument %1 - numeric value"
                           : letter == 'S' ? "Argument %1 - text Value"
                                           : "Argument %1 - value";
        grid->addWidget(new QLabel(QString::fromLatin1(kind).arg(i + 1), params_), i, 0);
        auto* edit = new QLineEdit(params_);
        edit->setObjectName(QStringLiteral("Argument%1").arg(i + 1));
        grid->addWidget(edit, i, 1);
        argumentEdits_.append(edit);
        auto* more = new QToolButton(params_);
        more->setText(QStringLiteral("..."));
        grid->addWidget(more, i, 2);
        connect(more, &QToolButton::clicked, this, lb::ui::guardSlot(this, [this, edit, i, syntax] {
                    QString argument = edit->text();
                    if (GetExpression(QStringLiteral("Enter %1. parameter for %2").arg(i + 1).arg(syntax), argument,
                                      report_, environment_, this))
                        edit->setText(argument);
                }));
    }
    ShowPage(FuncParamsPage);
}

void TRpExpressionBuilder::ParamsOKClick()
{
    QStringList arguments;
    for (QLineEdit* edit : argumentEdits_)
        arguments.append(edit->text());
    Insert(chosenFunction_ + QLatin1Char('(') + arguments.join(QLatin1Char(',')) + QLatin1Char(')'));
    ShowPage(MainPage);
}

void TRpExpressionBuilder::FillVariables()
{
    AvailableVariables->clear();
    if (environment_) {
        for (int i = 0; i < environment_->count(); ++i)
            AvailableVariables->addItem(environment_->name(i));
    }
    TRpEvEnvironment& global = globalEnvironment();
    for (int i = 0; i < global.count(); ++i)
        AvailableVariables->addItem(global.name(i));
}

void TRpExpressionBuilder::ShowVariable()
{
    VariableValue->clear();
    if (!AvailableVariables->currentItem())
        return;
    const QString name = AvailableVariables->currentItem()->text();
    for (TRpEvEnvironment* environment : {environment_, &globalEnvironment()}) {
        if (!environment)
            continue;
        for (int i = 0; i < environment->count(); ++i) {
            if (environment->name(i) == name) {
                VariableValue->setText(environment->expression(i));
                return;
            }
        }
    }
}

QString TRpExpressionBuilder::ValidationText() const
{
    TRpEvEnvironment& global = globalEnvironment();
    global.prepare();
    if (environment_)
        environment_->prepare();
    TRpEvaluator evaluator;
    TRpDataSetList dataSets;
    if (report_)
        dataSets = report_->DataSets();
    evaluator.setDataSets(dataSets);
    evaluator.setEnvironment(environment_);
    const TRpEvResult result = evaluator.calc(withoutLineBreaks(Expression->toPlainText()));
    if (environment_)
        environment_->unprepare();
    global.unprepare();
    QString text;
    switch (result.kind) {
    case rkInteger: text = QString::number(result.intValue); break;
    case rkDouble: text = fmt::floatToStr(result.doubleValue); break;
    case rkString: text = result.strValue(); break;
    case rkBoolean: text = result.boolValue ? QStringLiteral("True") : QStringLiteral("False"); break;
    case rkError: return QStringLiteral("ERROR: ") + result.strValue();
    }
    // An empty text is a valid result too.
    return QStringLiteral("There are no errors. The result is : ") + text;
}

void TRpExpressionBuilder::ValidateClick()
{
    lb::ui::Dialogs::message(ValidationText(), windowTitle());
}

} // namespace lb::report::ui
