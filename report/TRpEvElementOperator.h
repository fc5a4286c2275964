// A binary operator of a report expression: relations, arithmetic, and/or.
#pragma once

#include "report/TRpEvElement.h"

namespace lb::report {

enum TRpOperator : quint8 {
    opLess = 0, opLessOrEqual, opGreater, opGreaterOrEqual, opEqual, opUnequal,
    opPlus, opMinus, opOr, opMul, opDiv, opAnd
};

class TRpEvElementOperator : public TRpEvElement {
public:
    explicit TRpEvElementOperator(TRpOperator op) : op_(op) {}
    TRpOperator op() const { return op_; }

    // Computes the next two elements as left and right operand (both, always), brings
    // operands of different kinds together (integer with double gives doubles, any other
    // mix gives texts) and applies the operator. An error operand passes through, the left
    // one first. Integer arithmetic is 32-bit and wraps; "/" always gives a double.
    void value(TRpFiFo& queue, TRpEvResult& result) override;

    // Applies the operator to two computed operands.
    static TRpEvResult apply(TRpOperator op, TRpEvResult left, TRpEvResult right);

private:
    TRpOperator op_;
};

} // namespace lb::report
