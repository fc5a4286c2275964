// Compaction of the database file into a checked copy that replaces it.
#pragma once

#include <QString>
#include <functional>

namespace lb::core {

struct Reporter;

// Compacts `dbFile` and replaces it with the compacted copy. The caller must have closed every
// connection to the file first (the copy replaces the file, not its contents). On failure it
// shows "压缩数据库失败\r原因：可能此数据库正在被其他程序打开。" (caption "提示", error icon),
// with the disk without room or the folder that may not be written (lb::FileWrite::failure) as
// the cause instead when that stopped it, logs the failure into the text log as `who`'s (the
// window or command that compacts), leaves the file as it was and returns false; true when the
// compacted copy replaced the file.
bool CompactDatabase(const QString& dbFile, const Reporter& who);

// Writes the compacted copy of the database `source` into `copy`, a file that must not exist
// yet: the engine's VACUUM INTO, which carries rows and index entries over as they are.
void writeCompactedCopy(const QString& source, const QString& copy);

// The step of compactDatabaseFile() that writes the copy.
using CompactedCopyWriter = std::function<void(const QString& source, const QString& copy)>;

// The same as CompactDatabase without the message: DatabaseError (or FileOpenError) on
// failure, file unchanged; a copy that could not be written or put in place gives an
// lb::FileWriteError (a disk without room or a folder that may not be written in the words of
// lb::FileWrite::failure). A
// file this process may not write is refused. Leftovers of an earlier compaction beside the
// file are removed first; the copy is written by `writeCopy` to a temporary file beside
// `dbFile` (a TemporaryCopy), checked in full (DatabaseCheck::Full), flushed, then renamed
// over it, and the folder flushed.
void compactDatabaseFile(const QString& dbFile, const CompactedCopyWriter& writeCopy = writeCompactedCopy);

// Compacts the books before they are copied over backups (CompactDatabase, which shows its
// message on failure) and makes sure that what will be copied is sound: a compacted file has
// passed the full check on its way in; books the compaction could not compact are checked in
// full here, a failure logged as `who`'s. True when the file as it now is has passed the full
// check in this call; false when it failed it, and must replace no copy.
bool compactForBackup(const QString& dbFile, const Reporter& who);

// How far checkDatabaseFile looks. Full: the engine's integrity check, every page and every
// index entry matched against its row. Pages: the engine's quick check, every page of every
// table and index read and its structure checked, but index entries not matched against rows
// (on the books of a busy year a sixth of the time). A file that replaces the books or a
// backup must pass the full check; Pages serves only a first look that replaces nothing.
enum class DatabaseCheck { Full, Pages };

// Opens `path` as a database and checks it; DatabaseError when the file is not a sound database.
void checkDatabaseFile(const QString& path, DatabaseCheck check = DatabaseCheck::Full);

} // namespace lb::core
