// The backup at the close of a run: compaction, then copies of works/ into BAK and a weekday folder.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace lb::core {

class ShutdownBackup {
public:
    // "BAK" followed by the weekday digit, 0 for Sunday to 6 for Saturday: a weekly ring.
    static QString weekdayFolder(const QDate& date);

    // Compacts the database file, whose compacted copy is checked in full on its way in. A
    // failure is reported by the compaction and the backup goes on with the file as it is,
    // checked in full: one that fails the check is not copied at all, so that BAK and the
    // weekday folders keep the last sound copy (compactForBackup). Otherwise copies the works
    // folder into BAK, then into the weekday folder of lb::Clock's date taken after the first
    // copy, each file proven byte for byte the same as its source before it replaces the old
    // copy (copyFile). The books kept from before a restore (`kvdb.mdb.prev`) are copied only
    // when they differ from the folder's copy, and then only when they pass the full check; a
    // damaged one leaves the folder's copy as it was. Every connection to the database must be
    // closed. Returns the backup folders not brought fully up to date (both when the database
    // failed the check); empty when the backup is complete.
    static QStringList run();
};

} // namespace lb::core
