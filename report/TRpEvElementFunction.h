// A function call of a report expression: collects its arguments, then computes its result.
#pragma once

#include "report/TRpEvElement.h"

#include <vector>

namespace lb::report {

class TRpEvElementFunction : public TRpEvElement {
public:
    // What a built-in function computes from its evaluated arguments; `name` is the name it
    // is registered under, for its messages.
    using Calculator = void (*)(const QString& name, const std::vector<TRpEvResult>& arguments,
                                TRpEvResult& result);

    // Without a calculator the function yields an error result with no message.
    explicit TRpEvElementFunction(const QString& name = QString(), Calculator calculator = nullptr)
        : name_(name), calculator_(calculator) {}

    const QString& name() const { return name_; }

    // Takes the following elements as arguments up to the argument end, accumulates when
    // the queue is in an accumulation pass, computes, and drops the arguments.
    void value(TRpFiFo& queue, TRpEvResult& result) override;

    // Takes the current arguments into running values (aggregates only).
    virtual void aggregate() {}
    virtual void calculate(TRpEvResult& result);

    int argumentCount() const { return int(arguments_.size()); }
    const TRpEvResult& argument(int index) const { return arguments_.at(std::size_t(index)); }

protected:
    void getArguments(TRpFiFo& queue);
    void freeArguments() { arguments_.clear(); }

private:
    QString name_;
    Calculator calculator_;
    std::vector<TRpEvResult> arguments_;
};

} // namespace lb::report
