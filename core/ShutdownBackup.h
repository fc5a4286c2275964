// The backup at the close of a run: compaction, then copies of works/ into BAK and a weekday folder.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

class ShutdownBackup {
public:
    // "BAK" followed by the weekday digit, 0 for Sunday to 6 for Saturday: a weekly ring.
    static QString weekdayFolder(const QDate& date);

    // Compacts the database file (a failure is reported by the compaction and the copies go
    // on), copies the works folder into BAK, then into the weekday folder of lb::Clock's date
    // taken after the first copy. Every connection to the database must be closed. Returns
    // the paths that could not be copied; empty when the backup is complete.
    static QStringList run();
};
