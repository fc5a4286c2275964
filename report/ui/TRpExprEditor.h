// The design-time editor of an expression control: the label editor's, on the expression and
// its mask.
#pragma once

#include "report/ui/TRpLabelEditor.h"

namespace lb::report {
class TRpExpr;
}

namespace lb::report::ui {

class TRpExprEditor : public TRpLabelEditor {
public:
    explicit TRpExprEditor(TRpExpr& control);

    QString EditedClass() const override { return QStringLiteral("TRpExpr"); }
    QString ValueText() const override;
    QString ControlName() const override { return QStringLiteral("RPEXPR"); }
    QString Description() const override { return QStringLiteral("Expression Control"); }
    void SetValueText(const QString& text) override;
    bool Edit(QWidget* parent) override;

private:
    TRpExpr& expr_;
};

} // namespace lb::report::ui
