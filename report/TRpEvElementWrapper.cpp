// A reference to a named expression of an environment: evaluation.
#include "report/TRpEvElementWrapper.h"

#include "report/TRpEvEmbeddedFunction.h"
#include "report/TRpEvMessages.h"

namespace lb::report {

void TRpEvElementWrapper::value(TRpFiFo& queue, TRpEvResult& result)
{
    const std::shared_ptr<TRpEvEmbeddedFunction> entry = entry_.lock();
    if (!entry) {
        result.setError(rpFormat(msg::UnknownFunction, name_));
        return;
    }
    entry->value(queue, result);
}

} // namespace lb::report
