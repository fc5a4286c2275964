// Expression control: evaluation per print, accumulation per detail, text of each value kind.
#include "report/TRpExpr.h"

#include "platform/sys/TextFormat.h"
#include "report/TCustomRpReport.h"
#include "report/TRpController.h"
#include "report/TRpSubDetail.h"

namespace lb::report {

TRpExpr::TRpExpr()
{
    SetExpression(QString());
}

TRpExpr::~TRpExpr() = default;

void TRpExpr::SetExpression(const QString& expression)
{
    expression_ = expression;
    SetCaptionText(expression.isEmpty() ? QStringLiteral("(none)") : expression);
}

void TRpExpr::Prepare()
{
    TRpCustomLabel::Prepare();
    TCustomRpReport& report = *ParentReport();
    evaluator_.setDataSets(report.AllDataSets());
    evaluator_.setEnvironment(&report.Functions());
    evaluator_.prepare(expression_);
    if (auto* subDetail = dynamic_cast<TRpSubDetail*>(Master))
        subDetail->Controller().RegisterControl(this);
    else if (Master == &report || (!Master && evaluator_.isAggregate()))
        report.RegisterControl(this);
    evaluator_.reset();
}

void TRpExpr::Notice(int code)
{
    TRpCustomLabel::Notice(code);
    if (code == 0)
        evaluator_.doAggregate();
}

void TRpExpr::Unprepare()
{
    TRpCustomLabel::Unprepare();
    evaluator_.setDataSets({});
    evaluator_.unprepare();
    SetExpression(expression_);
}

void TRpExpr::ProduceText()
{
    const TRpEvResult value = evaluator_.value();
    switch (value.kind) {
    case rkInteger: SetPrintCaption(fmt::formatFloat(Mask, value.intValue), true); break;
    case rkDouble: SetPrintCaption(fmt::formatFloat(Mask, value.doubleValue), true); break;
    case rkBoolean: SetPrintCaption(value.boolValue ? QStringLiteral("True") : QStringLiteral("False")); break;
    case rkString:
    case rkError: SetPrintCaption(value.strValue()); break;
    }
}

void TRpExpr::AfterPrinting()
{
    if (ResetAfterPrint)
        evaluator_.reset();
}

} // namespace lb::report
