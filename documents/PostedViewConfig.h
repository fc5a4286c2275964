// What configures the posted view of a kind: header boxes, line grid, texts.
#pragma once

#include "documents/DocumentWindowConfig.h"

#include <QString>

namespace lb::documents {

// Its header boxes are all shown read-only.
struct PostedViewConfig : DocumentWindowConfig {
    QString noListForCopy;     // 转抄 refused when the view was not opened from the kind's list
};

} // namespace lb::documents
