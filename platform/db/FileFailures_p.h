// The engine's files as the connections open them, with the file of the last failed write or open noted.
#pragma once

#include <QString>
#include <optional>

struct sqlite3;

namespace lb::db {

// The engine reports a full disk without saying which of its files it was writing: the books,
// their journal, a copy it writes (VACUUM INTO), or a temporary file of its own (a sort larger
// than its cache, a statement's journal) in its temporary folder, often on another disk. Files
// opened through vfsName() are the system's own files, with every failed write, truncation,
// flush or opening noted for the thread that made it.
class FileFailures {
public:
    // The engine's file system that notes failures, for sqlite3_open_v2; registered at the
    // first call. Null (the engine's default) when it could not be registered.
    static const char* vfsName();

    // The file that failed: its path, or none for a temporary file of the engine.
    struct Failed {
        bool temporary = false;
        QString path;
        // For a file the engine was to make that could not be made (its journal in a folder that
        // may not be written), the system's reason (EACCES, EPERM, EROFS) as the folder answers
        // it; 0 otherwise. The engine's own code for that failure is that of a later call.
        int code = 0;
    };
    // The failure noted last on this thread, taken: the next call answers nothing until another
    // file fails.
    static std::optional<Failed> take();

    // The folder where the engine of `db` puts its temporary files: the first usable of
    // SQLITE_TMPDIR, TMPDIR, /var/tmp, /usr/tmp and /tmp, as the engine itself answers.
    static QString temporaryFolder(sqlite3* db);
};

} // namespace lb::db
