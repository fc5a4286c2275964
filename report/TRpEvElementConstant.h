// A numeric constant of a report expression (an integer or a double).
#pragma once

#include "report/TRpEvElement.h"

namespace lb::report {

class TRpEvElementConstant : public TRpEvElement {
public:
    explicit TRpEvElementConstant(const TRpEvResult& constant) : constant_(constant) {}
    void value(TRpFiFo&, TRpEvResult& result) override { result = constant_; }
    void setConstant(const TRpEvResult& constant) { constant_ = constant; }

private:
    TRpEvResult constant_;
};

} // namespace lb::report
