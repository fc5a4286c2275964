// The operator password transform and the administrator's factory password.
#include "core/ScramblePassword.h"

namespace lb::core {

QString ScramblePassword(const QString& text)
{
    QString result;
    result.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int position = int(i) + 1;
        // 7 is prime to 676 = 26 * 26, so equal positions keep distinct characters apart.
        const int value = (7 * int(text[i].unicode()) + 29 * position + 11) % 676;
        result += QChar(u'A' + value / 26);
        result += QChar(u'a' + value % 26);
    }
    return result;
}

} // namespace lb::core
