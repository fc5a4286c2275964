// The compiled form of a report expression: its elements in prefix order with a read position.
#pragma once

#include "report/TRpEvElement.h"

#include <memory>
#include <vector>

namespace lb::report {

class TRpFiFo {
public:
    void put(std::unique_ptr<TRpEvElement> element) { elements_.push_back(std::move(element)); }
    void start() { position_ = 0; }
    // The element at the read position, advancing it; nullptr at the end.
    TRpEvElement* get();
    // Computes the next element into `result`: an operand or an argument.
    void evaluateNext(TRpEvResult& result);

    // Set while the owner runs an accumulation pass (TRpEvaluator::doAggregate).
    bool aggregating() const { return aggregating_; }
    void setAggregating(bool value) { aggregating_ = value; }

    bool isEmpty() const { return elements_.empty(); }
    const std::vector<std::unique_ptr<TRpEvElement>>& elements() const { return elements_; }

private:
    std::vector<std::unique_ptr<TRpEvElement>> elements_;
    std::size_t position_ = 0;
    bool aggregating_ = false;
};

} // namespace lb::report
