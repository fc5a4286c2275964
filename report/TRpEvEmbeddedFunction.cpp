// A named expression of an environment: evaluation guarded against recursion.
#include "report/TRpEvEmbeddedFunction.h"

#include "report/TRpEvMessages.h"
#include "report/TRpEvaluator.h"

namespace lb::report {

TRpEvEmbeddedFunction::TRpEvEmbeddedFunction(const QString& expression)
    : expression_(expression), evaluator_(std::make_unique<TRpEvaluator>())
{
}

TRpEvEmbeddedFunction::~TRpEvEmbeddedFunction() = default;

void TRpEvEmbeddedFunction::value(TRpFiFo&, TRpEvResult& result)
{
    if (inUse_) {
        result.setError(QString::fromLatin1(msg::RecursiveCall));
        return;
    }
    if (!evaluator_->prepared()) {
        result.setError(QString::fromLatin1(msg::NotPrepared));
        return;
    }
    inUse_ = true;
    result = evaluator_->value();
    inUse_ = false;
}

void TRpEvEmbeddedFunction::reset()
{
    evaluator_->reset();
}

} // namespace lb::report
