// The program's clock: the system time, or a time a test has set.
#include "platform/sys/Clock.h"

namespace lb {

namespace {

QDateTime& fixedTime()
{
    static QDateTime fixed = [] {
        const QString text = qEnvironmentVariable("LEDGERBOX_NOW");
        if (text.isEmpty())
            return QDateTime();
        QDateTime value = QDateTime::fromString(text, Qt::ISODate);
        if (!value.isValid())
            value = QDateTime(QDate::fromString(text, Qt::ISODate), QTime(9, 0));
        return value;
    }();
    return fixed;
}

} // namespace

QDateTime Clock::now()
{
    const QDateTime& fixed = fixedTime();
    return fixed.isValid() ? fixed : QDateTime::currentDateTime();
}

void Clock::set(const QDateTime& fixed) { fixedTime() = fixed; }

} // namespace lb
