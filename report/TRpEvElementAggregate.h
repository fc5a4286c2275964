// The aggregate functions of report expressions: SUM, AVERAGE, MAX, MIN and COUNT.
#pragma once

#include "report/TRpEvElementFunction.h"

namespace lb::report {

// The running value lives in the element: it grows in accumulation passes (aggregate()),
// is reported on every evaluation (calculate()) and starts again with reset().
class TRpEvElementAggregate : public TRpEvElementFunction {
public:
    enum class Kind { Sum, Average, Max, Min, Count };
    TRpEvElementAggregate(Kind kind, const QString& name);

    // COUNT counts passes itself and takes no argument ("COUNT - Too many arguments").
    void value(TRpFiFo& queue, TRpEvResult& result) override;
    void aggregate() override;
    void calculate(TRpEvResult& result) override;
    void reset() override;

private:
    void addToSum(const TRpEvResult& value);
    void takeExtreme(const TRpEvResult& value);

    Kind kind_;
    TRpEvResult running_;
    bool assigned_ = false;
    int count_ = 0;
    TRpEvResult average_; // integer 0 until the first reset, as the running value of AVERAGE
};

} // namespace lb::report
