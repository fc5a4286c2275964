// Copies of the database file out of the books and into them, each checked before it counts.
#pragma once

#include "core/CompactDatabase.h"
#include "core/CopyDir.h"

#include <QString>
#include <functional>

namespace lb::core {

class Tfrdm;

class DatabaseFiles {
public:
    // A file that may stand in for the books: it opens as a database, passes the engine's
    // check (`check`: the full integrity check unless a first look that replaces nothing
    // asks for less) and holds every table of the program (a file of an older installation,
    // without the tables the upgrade adds, passes). lb::DatabaseError otherwise.
    static void checkProgramFile(const QString& path, DatabaseCheck check = DatabaseCheck::Full);
    // The same as a yes or no.
    static bool isProgramFile(const QString& path, DatabaseCheck check = DatabaseCheck::Full);

    // Copies `database` to `target`, whose folder must exist. The database is checked in full
    // first, so that a damaged file never replaces a sound backup; the copy is proven to hold
    // the checked bytes before it replaces the target (copyFile). False with the reason in
    // `error` on failure; the target is then as it was.
    static bool backUp(const QString& database, const QString& target, QString* error = nullptr);

    // The copier of every folder copy of the works folder into a backup folder (BAK, the
    // weekday folders, LASTBAK, THISYEAR), for CopyDir: each file through copyFile(). The books
    // kept from before a restore (`database` + ".prev") are copied only when they differ from
    // the folder's copy, and then only when they pass the full check, made once for all the
    // folder copies of one copier; a damaged one leaves the folder's copy as it was and fails
    // with previousDamaged() as its reason.
    static FileCopier backupCopier(const QString& database);
    // The reason of that failure, as the user is shown it.
    static QString previousDamaged();

    // Replaces `database` with a copy of `source`: the copy is written beside the database
    // under a temporary name, flushed and checked in full with checkProgramFile(); the old file
    // is kept as `database` + ".prev" (copyFile, read back); then the copy is renamed over the
    // database and the old file's journals are removed. False with the reason in `error` on
    // failure, the database as it was. Every connection to `database` must be closed.
    static bool replace(const QString& source, const QString& database, QString* error = nullptr);

    // Runs `work` with the company row and the connection of `dm` closed, then connects again
    // and reopens the company row, also when `work` throws (its error goes on).
    static void whileDisconnected(Tfrdm& dm, const std::function<void()>& work);

    // After replace() put another file in place of the books, on the connection again: the
    // upgrade of a file of an older installation, and the display formats of its options.
    static void booksReplaced(Tfrdm& dm);
};

} // namespace lb::core
