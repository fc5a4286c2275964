// The logical negation of a report expression.
#include "report/TRpEvElementNot.h"

#include "report/TRpEvMessages.h"
#include "report/TRpFiFo.h"

namespace lb::report {

void TRpEvElementNot::value(TRpFiFo& queue, TRpEvResult& result)
{
    queue.evaluateNext(result);
    if (result.kind == rkBoolean)
        result.boolValue = !result.boolValue;
    else
        result.setError(QString::fromLatin1(msg::InvalidNot));
}

} // namespace lb::report
