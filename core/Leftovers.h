// What killed or failed copies and compactions leave behind in the books' folders, and its removal.
#pragma once

#include <QString>
#include <QStringList>

namespace lb::core {

class Leftovers {
public:
    // Prefixes of the temporary files the program writes beside the database and the copies:
    // a compaction's copy, a new database being made (a copy's own is DurableFile's "~cp").
    static QString compactionPrefix() { return QStringLiteral("~SM"); }
    static QString newDatabasePrefix() { return QStringLiteral("~kvdb"); }

    // True for a name no finished command leaves behind: one of the temporary files above
    // (with any engine journal of its own), or a journal of the database engine ("-journal",
    // "-wal", "-shm"). Copies never take such files.
    static bool isLeftover(const QString& fileName);

    // Removes the leftovers in `folder` and its subfolders. A journal whose database file lies
    // beside it is kept: it may be what rolls that database back to its last commit, and the
    // engine deletes it when it next opens the database. Returns what could not be removed.
    // Only the holder of the single-instance lock may call it: the files of a running copy or
    // compaction look the same.
    static QStringList removeFrom(const QString& folder);

    // removeFrom() over the folders the program writes in its program folder: works, BAK,
    // BAK0 to BAK6, LASTBAK, THISYEAR and the year folders (four digits).
    static QStringList removeFromProgramFolder();

    // Removes the journal files of `databaseFile` (called after the file was replaced by a
    // copy: a journal of the old file would be played into the new one).
    static void removeJournalsOf(const QString& databaseFile);
};

} // namespace lb::core
