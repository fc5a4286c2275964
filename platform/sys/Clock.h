// The program's clock: the system time, or a time a test has set.
#pragma once

#include <QDate>
#include <QDateTime>

namespace lb {

class Clock {
public:
    // Current local date and time; the set time when one is set.
    static QDateTime now();
    static QDate today() { return now().date(); }

    // Tests fix the clock; an invalid value returns to the system time.
    // The environment variable LEDGERBOX_NOW ("yyyy-MM-dd" or "yyyy-MM-ddTHH:mm:ss") sets it
    // for a whole process, so that a started program can be given a date; a date alone stands
    // for 09:00 of that day.
    static void set(const QDateTime& fixed);
    static void reset() { set(QDateTime()); }
};

} // namespace lb
