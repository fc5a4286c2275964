// The value of a report expression, printed as text; aggregates add up the details printed.
#pragma once

#include "report/TRpCustomLabel.h"
#include "report/TRpEvaluator.h"

namespace lb::report {

class TRpExpr : public TRpCustomLabel {
public:
    TRpExpr();
    ~TRpExpr() override;

    const QString& Expression() const { return expression_; }
    // The layout shows the expression, or "(none)" for an empty one.
    void SetExpression(const QString& expression);
    // A number mask for numeric values.
    QString Mask;
    // The report or sub-detail band whose details the aggregates count (not owned). With
    // none, an expression holding an aggregate counts the report's details.
    TRpComponent* Master = nullptr;
    // Starts the aggregates again after each print (a page subtotal).
    bool ResetAfterPrint = false;

    TRpEvaluator& Evaluator() { return evaluator_; }

    void Prepare() override;
    void Notice(int code) override;
    void Unprepare() override;

protected:
    void ProduceText() override;
    void AfterPrinting() override;

private:
    QString expression_;
    TRpEvaluator evaluator_;
};

} // namespace lb::report
