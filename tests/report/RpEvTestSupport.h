// Test helpers for report expressions: a result as one comparable text.
#pragma once

#include "platform/sys/TextFormat.h"
#include "report/TRpEvResult.h"

#include <QString>

namespace lb::report::test {

// "I:7", "D:3.5" (15 significant digits), "S:text", "B:true", "E:message".
inline QString describe(const TRpEvResult& r)
{
    switch (r.kind) {
    case rkInteger: return QStringLiteral("I:") + QString::number(r.intValue);
    case rkDouble: return QStringLiteral("D:") + lb::fmt::floatToStr(r.doubleValue);
    case rkString: return QStringLiteral("S:") + r.strValue();
    case rkBoolean: return r.boolValue ? QStringLiteral("B:true") : QStringLiteral("B:false");
    case rkError: return QStringLiteral("E:") + r.strValue();
    }
    return QString();
}

} // namespace lb::report::test
