// Label editor dialog and the check of its sizes.
#include "report/ui/TRpLabelEditorForm.h"

#include "platform/sys/TextFormat.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/GuardSlot.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lb::report::ui {

TRpLabelEditorForm::TRpLabelEditorForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TRpLabelEditorForm"));
    setWindowTitle(QStringLiteral("Text Settings"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* layout = new QVBoxLayout(this);
    Properties = new QGroupBox(QStringLiteral("Properties"), this);
    auto* form = new QFormLayout(Properties);
    Value = new QLineEdit(Properties);
    Value->setObjectName(QStringLiteral("Value"));
    ValueLabel = new QLabel(QStringLiteral("Text"), Properties);
    form->addRow(ValueLabel, Value);
    AutoSize = new QCheckBox(QStringLiteral("Autosize"), Properties);
    AutoSize->setObjectName(QStringLiteral("AutoSize"));
    Stretch = new QCheckBox(QStringLiteral("Stretch"), Properties);
    Stretch->setObjectName(QStringLiteral("Stretch"));
    Transparent = new QCheckBox(QStringLiteral("Transparent"), Properties);
    Transparent->setObjectName(QStringLiteral("Transparent"));
    form->addRow(AutoSize);
    form->addRow(Stretch);
    form->addRow(Transparent);
    Width = new QLineEdit(Properties);
    Width->setObjectName(QStringLiteral("Width"));
    Height = new QLineEdit(Properties);
    Height->setObjectName(QStringLiteral("Height"));
    form->addRow(QStringLiteral("Width"), Width);
    form->addRow(QStringLiteral("Height"), Height);
    layout->addWidget(Properties);
    auto* buttons = new QDialogButtonBox(this);
    OKBtn = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    Button4 = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    Button4->setObjectName(QStringLiteral("Button4"));
    layout->addWidget(buttons);
    connect(OKBtn, &QPushButton::clicked, this, lb::ui::guardSlot(this, &TRpLabelEditorForm::OKBtnClick));
    connect(Button4, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { reject(); }));
}

void TRpLabelEditorForm::OKBtnClick()
{
    for (auto [edit, value] : {std::pair{Width, &width_}, std::pair{Height, &height_}}) {
        if (!fmt::tryStrToFloat(edit->text(), *value) || *value < 0) {
            lb::ui::Dialogs::error(QStringLiteral("'%1' is not a valid size").arg(edit->text()), windowTitle());
            edit->setFocus();
            return;
        }
    }
    accept();
}

} // namespace lb::report::ui
