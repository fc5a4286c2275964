// A function call of a report expression: arguments and the calculation step.
#include "report/TRpEvElementFunction.h"

#include "report/TRpEvElementArgumentEnd.h"
#include "report/TRpFiFo.h"

namespace lb::report {

void TRpEvElementFunction::value(TRpFiFo& queue, TRpEvResult& result)
{
    getArguments(queue);
    if (queue.aggregating())
        aggregate();
    calculate(result);
    freeArguments();
}

void TRpEvElementFunction::calculate(TRpEvResult& result)
{
    if (calculator_)
        calculator_(name_, arguments_, result);
    else
        result.setError(QString());
}

void TRpEvElementFunction::getArguments(TRpFiFo& queue)
{
    arguments_.clear();
    while (TRpEvElement* element = queue.get()) {
        if (dynamic_cast<TRpEvElementArgumentEnd*>(element))
            return;
        TRpEvResult argument;
        element->value(queue, argument);
        arguments_.push_back(std::move(argument));
    }
}

} // namespace lb::report
