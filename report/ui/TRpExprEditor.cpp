// Expression editor: the expression and the mask besides the label's properties.
#include "report/ui/TRpExprEditor.h"

#include "platform/ui/Modal.h"
#include "report/TRpExpr.h"
#include "report/ui/TRpExprEditorForm.h"

#include <QComboBox>

namespace lb::report::ui {

TRpExprEditor::TRpExprEditor(TRpExpr& control) : TRpLabelEditor(control), expr_(control) {}

QString TRpExprEditor::ValueText() const
{
    return expr_.Expression();
}

void TRpExprEditor::SetValueText(const QString& text)
{
    expr_.SetExpression(text);
}

bool TRpExprEditor::Edit(QWidget* parent)
{
    TRpExprEditorForm form(expr_.ParentReport(), parent);
    Fill(form);
    form.Mask->setCurrentText(expr_.Mask);
    if (lb::ui::Modal::exec(form) != QDialog::Accepted)
        return false;
    Apply(form);
    if (form.Mask->currentText() != expr_.Mask)
        expr_.Mask = form.Mask->currentText();
    return true;
}

} // namespace lb::report::ui
