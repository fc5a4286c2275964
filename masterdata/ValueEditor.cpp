// The small modal editor of one number of the current row: opening balances and the stock count.
#include "masterdata/ValueEditor.h"

#include "core/Tfrdm.h"
#include "core/Tfrmain.h"
#include "masterdata/MasterRecordRules.h"
#include "platform/db/Query.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/FocusChain.h"
#include "platform/ui/GuardSlot.h"
#include "platform/ui/KeyFilter.h"
#include "platform/ui/WindowPlacement.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lb::masterdata {

ValueEditor::ValueEditor(ValueEditorConfig config, QWidget* parent) : QDialog(parent), config_(std::move(config))
{
    setObjectName(config_.key);
    setWindowTitle(config_.caption);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QGridLayout;
    layout->addLayout(form);
    for (std::size_t i = 0; i < config_.boxes.size(); ++i) {
        const EditorBox& entry = config_.boxes[i];
        auto* label = new QLabel(i == 2 && config_.thirdLabel ? config_.thirdLabel() : entry.label, this);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(entry.name);
        edit->setReadOnly(i < config_.editable.size() && !config_.editable[i]);
        lb::ui::KeyFilter::limitLength(edit, *config_.dataSet(), entry.column);
        installKeyFilter(edit, entry.filter);
        form->addWidget(label, int(i), 0);
        form->addWidget(edit, int(i), 1);
        labels_.push_back(label);
        boxes_.push_back(edit);
    }
    auto* buttons = new QHBoxLayout;
    saveButton = new QPushButton(QStringLiteral("保存"), this);
    cancelButton = new QPushButton(QStringLiteral("取消"), this);
    priorButton = new QPushButton(QStringLiteral("上一条"), this);
    nextButton = new QPushButton(QStringLiteral("下一条"), this);
    for (QPushButton* button : {saveButton, cancelButton, priorButton, nextButton}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);

    auto* chain = new lb::ui::FocusChain(this);
    QList<QWidget*> order(boxes_.begin(), boxes_.end());
    order << saveButton;
    chain->setOrder(order);
    chain->setArrowKeys(QList<QWidget*>(boxes_.begin(), boxes_.end()));

    connect(saveButton, &QPushButton::clicked, this, lb::ui::guardSlot(this, &ValueEditor::save));
    connect(cancelButton, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { reject(); }));
    connect(priorButton, &QPushButton::clicked, this, lb::ui::guardSlot(this, &ValueEditor::prior));
    connect(nextButton, &QPushButton::clicked, this, lb::ui::guardSlot(this, &ValueEditor::next));
    fill();
}

void ValueEditor::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    lb::ui::WindowPlacement::centreOver(*this, frmain);
}

void ValueEditor::fill()
{
    lb::db::Query& rows = *config_.dataSet();
    for (std::size_t i = 0; i < boxes_.size(); ++i)
        boxes_[i]->setText(rows.fieldByName(config_.boxes[i].column).asString());
    boxes_.back()->setFocus();
}

void ValueEditor::save()
{
    lb::db::Query& rows = *config_.dataSet();
    if (config_.checkCode) {
        const MasterRecordRules rules(frdm->ADOCon, config_.rules);
        const MasterRecordRules::Check check =
            rules.checkCode(boxes_.front()->text(), rows.fieldByName(QStringLiteral("intno")).asString());
        if (check != MasterRecordRules::Check::Ok) {
            lb::ui::Dialogs::message(rules.message(check));
            boxes_.front()->setFocus();
            return;
        }
    }
    // The number is checked before the row is put in edit state: a refusal leaves it as it was.
    const double value = lb::db::Field::parseNumber(boxes_.back()->text());
    rows.edit();
    try {
        if (config_.writeAllBoxes) {
            for (std::size_t i = 0; i + 1 < boxes_.size(); ++i)
                rows.fieldByName(config_.boxes[i].column).setAsString(boxes_[i]->text());
        }
        rows.fieldByName(config_.boxes.back().column).setAsFloat(value);
        rows.post();
    } catch (...) {
        rows.cancel();
        throw;
    }
    nextButton->setFocus();
}

void ValueEditor::prior()
{
    config_.dataSet()->prior();
    fill();
}

void ValueEditor::next()
{
    config_.dataSet()->next();
    fill();
}

} // namespace lb::masterdata
