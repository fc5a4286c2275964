// Rules of the start of a run that need no window: the database file check and the year-end reminder.
#pragma once

#include <QDate>
#include <QString>

namespace lb::core {

class StartupChecks {
public:
    // The engine is built into the program, so what can be missing is a usable database
    // file: it must exist, open for reading and writing, start with the SQLite header, and lie
    // in a folder where files can be made (the engine's journal). Returns the reason, in the
    // user's words, it cannot be used, or the empty text when it can.
    static QString databaseFileProblem(const QString& path);

    // From 26 to 31 December a run starts with the year-end reminder.
    static bool isYearEndReminderDay(const QDate& today);
    static QString yearEndReminderText();
};

} // namespace lb::core
