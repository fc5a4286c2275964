// A quoted text of a report expression.
#pragma once

#include "report/TRpEvElement.h"

namespace lb::report {

class TRpEvElementString : public TRpEvElement {
public:
    explicit TRpEvElementString(const QString& text) : text_(rpFitText(text)) {}
    void value(TRpFiFo&, TRpEvResult& result) override
    {
        result.kind = rkString;
        result.setStrValue(text_);
    }
    void setText(const QString& text) { text_ = rpFitText(text); }

private:
    QString text_;
};

} // namespace lb::report
