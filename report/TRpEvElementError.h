// A compilation fault kept in the queue: it yields an error result with its message.
#pragma once

#include "report/TRpEvElement.h"

namespace lb::report {

class TRpEvElementError : public TRpEvElement {
public:
    explicit TRpEvElementError(const QString& message) : message_(message) {}
    void value(TRpFiFo&, TRpEvResult& result) override { result.setError(message_); }

private:
    QString message_;
};

} // namespace lb::report
