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
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lb::masterdata {

MasterEditor::MasterEditor(MasterEditorConfig config, QWidget* list)
    : RecordEditor(list), config_(std::move(config))
{
    setObjectName(config_.key);
    setWindowTitle(config_.caption);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QGridLayout;
    layout->addLayout(form);
    int row = 0;
    for (const EditorBox& entry : config_.boxes) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(entry.name);
        lb::ui::KeyFilter::limitLength(edit, records(), entry.column);
        if (entry.column.compare(config_.rules.codeColumn, Qt::CaseInsensitive) == 0)
            edit->setMaxLength(config_.rules.codeWidth);
        installKeyFilter(edit, entry.filter);
        form->addWidget(new QLabel(entry.label, this), row, 0);
        form->addWidget(edit, row, 1);
        ++row;
        boxes_.push_back(edit);
    }
    addControls(layout);

    auto* chain = new lb::ui::FocusChain(this);
    QList<QWidget*> order(boxes_.begin(), boxes_.end());
    order << Button1;
    chain->setOrder(order);
    chain->setArrowKeys(QList<QWidget*>(boxes_.begin(), boxes_.end()));
}

lb::db::Query& MasterEditor::records() const
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
    if (frmain->AddMode) {
        clearBoxes(false);
        CheckBox1->setChecked(true);
    } else {
        for (std::size_t i = 0; i < boxes_.size(); ++i)
            boxes_[i]->setText(records().fieldByName(config_.boxes[i].column).asString());
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
    frmain->AddMode = true;
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
    const bool adding = frmain->AddMode;
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
        frmain->EditIntno = rules.insert(records(), values);
    } else {
        // The record being changed, also if the list's row moved meanwhile.
        lb::db::Query& list = records();
        if (list.fieldByName(QStringLiteral("intno")).asString() != frmain->EditIntno
            && !list.locate(QStringLiteral("intno"), frmain->EditIntno))
            throw lb::Abort(); // the record is gone: nothing to change
        MasterRecordRules::update(list, values);
    }
    frmain->AddMode = false;
    lb::ui::Dialogs::message(QStringLiteral("数据保存完毕！ "));
    Button2->setFocus();
}

} // namespace lb::masterdata
