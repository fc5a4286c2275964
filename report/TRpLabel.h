// A fixed text on a band; print commands set its caption (page totals, names, headings).
#pragma once

#include "report/TRpCustomLabel.h"

namespace lb::report {

class TRpLabel : public TRpCustomLabel {
public:
    TRpLabel() = default;
    // An empty caption prints nothing.
    void SetCaption(const QString& caption) { SetCaptionText(caption); }
};

} // namespace lb::report
