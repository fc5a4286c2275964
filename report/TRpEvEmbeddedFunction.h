// A named expression of an environment: its text and its own evaluator.
#pragma once

#include "report/TRpEvElement.h"

#include <memory>

namespace lb::report {

class TRpEvaluator;

class TRpEvEmbeddedFunction : public TRpEvElement {
public:
    explicit TRpEvEmbeddedFunction(const QString& expression);
    ~TRpEvEmbeddedFunction() override;

    const QString& expression() const { return expression_; }
    TRpEvaluator& evaluator() const { return *evaluator_; }

    // The value of the entry's expression. An entry whose evaluator is not prepared gives the
    // error "Evaluator not prepared" (expressions never raise while evaluated).
    void value(TRpFiFo& queue, TRpEvResult& result) override;
    void reset() override;

private:
    QString expression_;
    std::unique_ptr<TRpEvaluator> evaluator_;
    // Set while the entry computes its value, so that an entry reached again through its
    // own expression answers "Recursive calls not allowed" instead of recursing.
    bool inUse_ = false;
};

} // namespace lb::report
