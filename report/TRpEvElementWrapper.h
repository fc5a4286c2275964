// A reference from a compiled expression to a named expression of an environment.
#pragma once

#include "report/TRpEvElement.h"

#include <memory>

namespace lb::report {

class TRpEvEmbeddedFunction;

class TRpEvElementWrapper : public TRpEvElement {
public:
    // The entry stays owned by its environment; the wrapper only watches it.
    TRpEvElementWrapper(std::weak_ptr<TRpEvEmbeddedFunction> entry, const QString& name)
        : entry_(std::move(entry)), name_(name) {}

    // The entry's value; an entry deleted from its environment since compilation gives
    // "Unknown function : %s" with the name.
    void value(TRpFiFo& queue, TRpEvResult& result) override;

private:
    std::weak_ptr<TRpEvEmbeddedFunction> entry_;
    QString name_;
};

} // namespace lb::report
