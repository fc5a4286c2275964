// The logical negation of a report expression ("not"): takes the next element as its operand.
#pragma once

#include "report/TRpEvElement.h"

namespace lb::report {

class TRpEvElementNot : public TRpEvElement {
public:
    // A boolean operand is negated; any other kind gives the error "Invalid use of NOT".
    void value(TRpFiFo& queue, TRpEvResult& result) override;
};

} // namespace lb::report
