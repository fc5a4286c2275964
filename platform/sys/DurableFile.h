// File copies and renames that are on the disk when they return, so a power cut cannot leave an empty copy.
#pragma once

#include "platform/sys/FileWrite.h"

#include <QString>

namespace lb {

// Every copy or rename that replaces the database or a backup goes through here. A file is
// written under a temporary name in its target folder, flushed, renamed over the target, and
// the folder is flushed so that the rename itself survives a power cut. Each step returns its
// FileResult (a disk without room worded by FileWrite::failure), never half-written targets.
class DurableFile {
public:
    // Prefix of the temporary files a copy writes; a name with it is a leftover of a copy that
    // was killed, and may be removed whenever no copy is running.
    static QString temporaryPrefix() { return QStringLiteral("~cp"); }

    // Writes the file's data and size to the disk.
    static FileResult flushFile(const QString& path);
    // Writes the folder's entries (names made, renamed or removed in it) to the disk.
    static FileResult flushFolder(const QString& folder);

    // Writes a copy of `source` into the file `copy`, which must exist (a temporary file
    // reserved beside what it is to replace) and is emptied first, gives it the source's
    // permissions, made writable by its owner, and flushes it. No rename: the caller puts it in
    // place with replaceFile().
    static FileResult writeCopy(const QString& source, const QString& copy);

    // True when both files can be read and hold the same bytes.
    static bool sameContents(const QString& first, const QString& second);

    // Flushes `from`, renames it over `to` (same file system), then flushes the folder of `to`.
    static FileResult replaceFile(const QString& from, const QString& to);
};

} // namespace lb
