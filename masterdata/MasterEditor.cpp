// The editor of one party-like record (customer, supplier, account, employee, warehouse).
#include "masterdata/MasterEditor.h"

#include "core/Tfrdm.h"
#include "core/Tfrmain.h"
#include "platform/db/Query.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/FocusChain.h"
#include "platform/ui/KeyFilter.h"
#include "platform/sys/Errors.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

// Keys of a box as the platform's key filter names them; nullopt: any key.
std::optional<lb::ui::KeyFilter::Allowed> allowedKeys(KeyFilter filter)
{
    switch (filter) {
    case KeyFilter::Digits: return lb::ui::KeyFilter::Allowed::Digits;
    case KeyFilter::Phone: return lb::ui::KeyFilter::Allowed::DigitsAndMinus;
    case KeyFilter::Price: return lb::ui::KeyFilter::Allowed::DigitsAndPoint;
    case KeyFilter::Any: break;
    }
    return std::nullopt;
}

} // namespace

MasterEditor::MasterEditor(MasterEditorConfig config, QWidget* list)
    : lb::ui::WorkWindow(list), config_(std::move(config))
{
    setWindowTitle(config_.caption);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QGridLayout;
    layout->addLayout(form);
    int row = 0;
    for (const EditorBox& spec : config_.boxes) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(spec.name);
        if (const lb::db::Field* field = dataSet().findField(spec.column); field && field->size() > 0)
            edit->setMaxLength(field->size()); // what is typed is what the column keeps
        if (spec.column.compare(config_.rules.codeColumn, Qt::CaseInsensitive) == 0)
            edit->setMaxLength(config_.rules.codeWidth);
        if (const auto allowed = allowedKeys(spec.filter))
            lb::ui::KeyFilter::install(edit, *allowed);
        form->addWidget(new QLabel(spec.label, this), row, 0);
        form->addWidget(edit, row, 1);
        ++row;
        boxes_.push_back(edit);
    }
    auto* checks = new QHBoxLayout;
    CheckBox1 = new QCheckBox(QStringLiteral("修改"), this);
    CheckBox2 = new QCheckBox(QStringLiteral("新增时复制上一记录"), this);
    checks->addWidget(CheckBox1);
    checks->addWidget(CheckBox2);
    layout->addLayout(checks);

    auto* buttons = new QHBoxLayout;
    auto addButton = [this, buttons](const QString& name, const QString& text, const QString& hint) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(name);
        button->setToolTip(hint);
        buttons->addWidget(button);
        return button;
    };
    QPushButton* first = addButton(QStringLiteral("BitBtn1"), QStringLiteral("|<"), QStringLiteral("首记录"));
    QPushButton* prior = addButton(QStringLiteral("BitBtn3"), QStringLiteral("<"), QStringLiteral("上一条"));
    QPushButton* next = addButton(QStringLiteral("BitBtn4"), QStringLiteral(">"), QStringLiteral("下一条"));
    QPushButton* last = addButton(QStringLiteral("BitBtn2"), QStringLiteral(">|"), QStringLiteral("末记录"));
    Button1 = addButton(QStringLiteral("Button1"), QStringLiteral("保存"), QString());
    Button2 = addButton(QStringLiteral("Button2"), QStringLiteral("新增"), QString());
    Button5 = addButton(QStringLiteral("Button5"), QStringLiteral("返回"), QString());
    layout->addLayout(buttons);

    auto* chain = new lb::ui::FocusChain(this);
    QList<QWidget*> order(boxes_.begin(), boxes_.end());
    order << Button1;
    chain->setOrder(order);
    chain->setArrowKeys(QList<QWidget*>(boxes_.begin(), boxes_.end()));

    connect(CheckBox1, &QCheckBox::clicked, this, &MasterEditor::CheckBox1Click);
    connect(Button1, &QPushButton::clicked, this, &MasterEditor::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &MasterEditor::Button2Click);
    connect(Button5, &QPushButton::clicked, this, &QWidget::close);
    connect(first, &QPushButton::clicked, this, &MasterEditor::BitBtn1Click);
    connect(last, &QPushButton::clicked, this, &MasterEditor::BitBtn2Click);
    connect(prior, &QPushButton::clicked, this, &MasterEditor::BitBtn3Click);
    connect(next, &QPushButton::clicked, this, &MasterEditor::BitBtn4Click);
}

lb::db::Query& MasterEditor::dataSet() const
{
    return *config_.dataSet();
}

MasterRecordRules MasterEditor::rules() const
{
    return MasterRecordRules(frdm->ADOCon, config_.rules);
}

QLineEdit* MasterEditor::box(const QString& name) const
{
    for (QLineEdit* edit : boxes_) {
        if (edit->objectName() == name)
            return edit;
    }
    return nullptr;
}

void MasterEditor::showEvent(QShowEvent* event)
{
    lb::ui::WorkWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void MasterEditor::clearBoxes(bool keepTemplate)
{
    box(config_.codeBox)->setText(rules().proposedCode());
    if (keepTemplate)
        return;
    for (QLineEdit* edit : boxes_) {
        if (edit->objectName() != config_.codeBox)
            edit->clear();
    }
}

void MasterEditor::FormShow()
{
    if (frmain->AddMode != QLatin1String("F")) {
        frmain->AddMode = QStringLiteral("T");
        clearBoxes(false);
        CheckBox1->setChecked(true);
    } else {
        for (std::size_t i = 0; i < boxes_.size(); ++i)
            boxes_[i]->setText(dataSet().fieldByName(config_.boxes[i].column).asString());
        CheckBox1->setChecked(false);
    }
    CheckBox1Click();
}

void MasterEditor::CheckBox1Click()
{
    for (QLineEdit* edit : boxes_)
        edit->setReadOnly(!CheckBox1->isChecked());
}

void MasterEditor::Button2Click()
{
    frmain->AddMode = QStringLiteral("T");
    clearBoxes(CheckBox2->isChecked());
    box(config_.codeBox)->setFocus();
    CheckBox1->setChecked(true);
    CheckBox1Click();
}

void MasterEditor::Button1Click()
{
    const MasterRecordRules rules = this->rules();
    QLineEdit* code = box(config_.codeBox);
    QLineEdit* name = box(config_.nameBox);
    const bool adding = frmain->AddMode == QLatin1String("T");
    const MasterRecordRules::Check check = rules.check(adding, code->text(), name->text(), frmain->EditIntno);
    switch (check) {
    case MasterRecordRules::Check::Ok:
        break;
    case MasterRecordRules::Check::EmptyCode:
    case MasterRecordRules::Check::DuplicateCode:
        lb::ui::Dialogs::message(rules.message(check));
        code->setFocus();
        return;
    case MasterRecordRules::Check::DuplicateName:
        lb::ui::Dialogs::message(rules.message(check));
        name->setFocus();
        return;
    case MasterRecordRules::Check::NameTaken:
        if (!lb::ui::Dialogs::confirm(rules.message(check))) {
            name->setFocus();
            return;
        }
        break;
    }
    MasterValues values;
    for (std::size_t i = 0; i < boxes_.size(); ++i)
        values.emplace_back(config_.boxes[i].column, boxes_[i]->text());
    if (adding) {
        frmain->EditIntno = rules.insert(dataSet(), values);
    } else {
        // The record being changed, also if the list's row moved meanwhile.
        lb::db::Query& list = dataSet();
        if (list.fieldByName(QStringLiteral("intno")).asString() != frmain->EditIntno
            && !list.locate(QStringLiteral("intno"), frmain->EditIntno))
            throw lb::Abort(); // the record is gone: nothing to change
        MasterRecordRules::update(list, values);
    }
    frmain->AddMode = QStringLiteral("F");
    lb::ui::Dialogs::message(QStringLiteral("数据保存完毕！ "));
    Button2->setFocus();
}

void MasterEditor::navigate(void (*move)(lb::db::Query&))
{
    lb::db::Query& list = dataSet();
    if (!list.active() || list.isEmpty())
        return;
    move(list);
    frmain->AddMode = QStringLiteral("F");
    frmain->EditIntno = list.fieldByName(QStringLiteral("intno")).asString();
    FormShow();
}

void MasterEditor::BitBtn1Click() { navigate([](lb::db::Query& q) { q.first(); }); }
void MasterEditor::BitBtn2Click() { navigate([](lb::db::Query& q) { q.last(); }); }
void MasterEditor::BitBtn3Click() { navigate([](lb::db::Query& q) { q.prior(); }); }
void MasterEditor::BitBtn4Click() { navigate([](lb::db::Query& q) { q.next(); }); }
