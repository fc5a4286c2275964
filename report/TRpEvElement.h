// The base of the elements of a compiled report expression.
#pragma once

#include "report/TRpEvResult.h"

namespace lb::report {

class TRpFiFo;

// An element computes its value from the queue it stands in: operators and functions take
// their operands and arguments from the elements that follow them (prefix order).
class TRpEvElement {
public:
    TRpEvElement() = default;
    virtual ~TRpEvElement() = default;
    TRpEvElement(const TRpEvElement&) = delete;
    TRpEvElement& operator=(const TRpEvElement&) = delete;

    // True only for the aggregate functions (SUM, AVERAGE, MAX, MIN, COUNT).
    bool isAggregate() const { return isAggregate_; }

    // Fills `result`; the base leaves it as it is.
    virtual void value(TRpFiFo& queue, TRpEvResult& result) { (void)queue; (void)result; }
    // Starts an aggregation span again; the base does nothing.
    virtual void reset() {}

protected:
    bool isAggregate_ = false;
};

} // namespace lb::report
