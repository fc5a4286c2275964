// The compiled form of a report expression: reading elements in order.
#include "report/TRpFiFo.h"

namespace lb::report {

TRpEvElement* TRpFiFo::get()
{
    if (position_ >= elements_.size())
        return nullptr;
    return elements_[position_++].get();
}

void TRpFiFo::evaluateNext(TRpEvResult& result)
{
    TRpEvElement* element = get();
    // The compiler always puts an operand behind an operator; an exhausted queue can only
    // come from a caller that changed it, and yields an error rather than a stale value.
    if (!element) {
        result = TRpEvResult::error(QString());
        return;
    }
    result = TRpEvResult();
    element->value(*this, result);
}

} // namespace lb::report
