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
    // the checked bytes before it replaces the target (copyFile). On failure the target is as
    // it was.
    static lb::FileResult backUp(const QString& database, const QString& target);

    // What a folder copy of the works folder does when the books kept from before a restore
    // are damaged: the backup at close leaves them out and takes the rest; year-end and the
    // copy of this year's books before last year's are loaded copy nothing.
    enum class DamagedPrevious { HeldBack, StopsTheCopy };

    // Replaces `database` with a copy of `source`: the copy is written beside the database
    // under a temporary name, flushed and checked in full with checkProgramFile(); the old file
    // is kept as `database` + ".prev" (copyFile, read back); then the copy is renamed over the
    // database and the old file's journals are removed. On failure the database is as it was.
    // Every connection to `database` must be closed.
    static lb::FileResult replace(const QString& source, const QString& database);

    // Runs `work` with the company row and the connection of `dm` closed, then connects again
    // and reopens the company row, also when `work` throws (its error goes on).
    static void whileDisconnected(Tfrdm& dm, const std::function<void()>& work);

    // After replace() put another file in place of the books, on the connection again: the
    // upgrade of a file of an older installation, and the display formats of its options.
    static void booksReplaced(Tfrdm& dm);
};

// The copies of the works folder (lb::AppPaths::worksFolder) into backup folders: BAK and the
// weekday folder at close, LASTBAK, THISYEAR. Each is one call of into(), a CopyDir in which
// every file is copied, but the books kept from before a restore (the database file +
// ".prev") only when they differ from the folder's copy, and then only when they pass the
// full check, made once for all the copies of one object. A damaged one leaves the folder's
// copy as it was (with the rest of the folder, as `ifDamaged` says), its failure a damaged file
// whose text names it, says where it is and what the user does with it.
class WorksFolderCopy {
public:
    explicit WorksFolderCopy(DatabaseFiles::DamagedPrevious ifDamaged);
    CopyResult into(const QString& target) const;

private:
    FileCopier choose_;
};

} // namespace lb::core
