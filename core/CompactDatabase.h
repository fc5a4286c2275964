// Compaction of the database file into a checked copy that replaces it.
#pragma once

#include <QString>

namespace lb::core {

// Compacts `dbFile` and replaces it with the compacted copy. The caller must have closed every
// connection to the file first (the copy replaces the file, not its contents). On failure it
// shows "压缩数据库失败\r原因：可能此数据库正在被其他程序打开。" (caption "提示", error icon),
// leaves the file as it was and returns false; true when the compacted copy replaced the file.
bool CompactDatabase(const QString& dbFile);

// The same without the message: DatabaseError (or FileOpenError) on failure, file unchanged.
// A file this process may not write is refused. Leftovers of an earlier compaction beside the
// file are removed first; the copy is written to a temporary file beside `dbFile`, checked,
// flushed, then renamed over it, and the folder flushed.
void compactDatabaseFile(const QString& dbFile);

// Opens `path` as a database and runs the engine's integrity check; DatabaseError when the
// file is not a sound database.
void checkDatabaseFile(const QString& path);

} // namespace lb::core
