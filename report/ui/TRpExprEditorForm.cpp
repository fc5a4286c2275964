// Expression editor dialog: the builder opens on the typed expression.
#include "report/ui/TRpExprEditorForm.h"

#include "platform/ui/GuardSlot.h"
#include "report/ui/TRpExpressionBuilder.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace lb::report::ui {

TRpExprEditorForm::TRpExprEditorForm(TCustomRpReport* report, QWidget* parent)
    : TRpLabelEditorForm(parent), report_(report)
{
    setObjectName(QStringLiteral("TRpExprEditorForm"));
    setWindowTitle(QStringLiteral("Expression settings"));
    ValueLabel->setText(QStringLiteral("Expression"));
    auto* form = static_cast<QFormLayout*>(Properties->layout());
    ShowExprBuilder = new QToolButton(Properties);
    ShowExprBuilder->setObjectName(QStringLiteral("ShowExprBuilder"));
    ShowExprBuilder->setText(QStringLiteral("..."));
    form->addRow(QString(), ShowExprBuilder);
    Mask = new QComboBox(Properties);
    Mask->setObjectName(QStringLiteral("Mask"));
    Mask->setEditable(true);
    Mask->addItems({QString(), QStringLiteral("0.00"), QStringLiteral("#,##0.00"), QStringLiteral("0")});
    form->addRow(QStringLiteral("Format mask"), Mask);
    connect(ShowExprBuilder, &QToolButton::clicked, this, lb::ui::guardSlot(this, [this] {
                QString expression = Value->text();
                if (GetExpression(QString(), expression, report_, nullptr, this))
                    Value->setText(expression);
            }));
}

} // namespace lb::report::ui
