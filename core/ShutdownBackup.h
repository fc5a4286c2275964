// The backup at the close of a run: compaction, then copies of works/ into BAK and a weekday folder.
#pragma once

#include <QDate>
#include <QList>
#include <QString>

namespace lb::core {

class ShutdownBackup {
public:
    // A backup folder that was not brought fully up to date, and why, in the user's words:
    // a disk without room (lb::FileWrite::failure), books that failed the check, a damaged
    // `kvdb.mdb.prev` with what to do about it, or the files that could not be copied; several
    // reasons joined by "; ".
    struct Incomplete {
        QString folder;
        QString why;
        bool operator==(const Incomplete&) const = default;
    };

    // "BAK" followed by the weekday digit, 0 for Sunday to 6 for Saturday: a weekly ring.
    static QString weekdayFolder(const QDate& date);

    // The first line of the warning that lists the folders not brought fully up to date.
    static QString incompleteText();
    // The warning: that line, then a line for each folder that names it once: why, where that
    // names the folder already (a disk without room in it), else the folder, ": " and why.
    static QString warning(const QList<Incomplete>& incomplete);

    // The text that books failing the full check give as the reason of both folders.
    static QString booksFailedTheCheck();

    // Compacts the database file, whose compacted copy is checked in full on its way in. A
    // failure is reported by the compaction and the backup goes on with the file as it is,
    // checked in full: one that fails the check is not copied at all, so that BAK and the
    // weekday folders keep the last sound copy (compactForBackup). Otherwise copies the works
    // folder into BAK, then into the weekday folder of lb::Clock's date taken after the first
    // copy, through WorksFolderCopy: each file proven byte for byte the same as its
    // source before it replaces the old copy, a damaged `kvdb.mdb.prev` held back while the
    // rest of the folder is copied, and a folder whose copy failed otherwise left as it was. Every connection to the database must be closed. Returns the backup
    // folders not brought fully up to date, with why (both when the database failed the
    // check); empty when the backup is complete. Every failure of a copy is logged
    // (lb::core::logFailures) with the folder, as "ShutdownBackup"'s, and so is a failed compaction.
    static QList<Incomplete> run();
};

} // namespace lb::core
