// The engine's files as the connections open them, with the file of the last failed write or open noted.
#include "platform/db/FileFailures_p.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <list>
#include <mutex>
#include <sqlite3.h>
#include <unistd.h>
#include <utility>

namespace lb::db {

namespace {

thread_local std::optional<FileFailures::Failed> lastFailure;

sqlite3_vfs* systemVfs = nullptr; // the engine's default, which does the work
sqlite3_vfs notingVfs{};

// What every file opened through notingVfs keeps after the system file's own bytes.
struct Noted {
    const sqlite3_io_methods* methods; // the system file's, which do the work
    const char* path;                  // as the engine gave it, valid while the file is open; null for a temporary file
};

size_t notedOffset = 0; // the system file's size, rounded up for a Noted

Noted& notedOf(sqlite3_file* file)
{
    return *reinterpret_cast<Noted*>(reinterpret_cast<char*>(file) + notedOffset);
}

void note(const char* path, int code = 0)
{
    lastFailure = FileFailures::Failed{path == nullptr, path ? QString::fromUtf8(path) : QString(), code};
}

// Why the file `path`, which the engine was to make, could not be made: the system's answer
// whether its folder may be written (EACCES, EPERM for a folder marked immutable, EROFS), with
// the effective ids that decide it; 0 when it may, or when the file is there already. The
// engine keeps no reason of its own: its open that makes the file fails, it tries again to
// open the file read-only, which finds no file (ENOENT), and that is the code it then gives
// (sqlite3_system_errno); a folder the user may not write it reports as a read-only database
// (SQLITE_READONLY_DIRECTORY), with no code at all.
int whyNotMade(const char* path)
{
    const int kept = errno; // the engine reads its code from errno after the open
    int code = 0;
    const QFileInfo file(QString::fromUtf8(path));
    if (!file.exists()) {
        const QByteArray folder = QFile::encodeName(file.absolutePath());
        if (::faccessat(AT_FDCWD, folder.constData(), W_OK | X_OK, AT_EACCESS) != 0)
            code = errno;
    }
    errno = kept;
    return code;
}

int noteFailure(int rc, sqlite3_file* file)
{
    if (rc != SQLITE_OK)
        note(notedOf(file).path);
    return rc;
}

int noteWrite(sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset)
{
    return noteFailure(notedOf(file).methods->xWrite(file, data, amount, offset), file);
}

int noteTruncate(sqlite3_file* file, sqlite3_int64 size)
{
    return noteFailure(notedOf(file).methods->xTruncate(file, size), file);
}

int noteSync(sqlite3_file* file, int flags)
{
    return noteFailure(notedOf(file).methods->xSync(file, flags), file);
}

// The system file's methods with the three that write wrapped, one table for each table of the
// system's (it has one per kind of locking). The tables are never freed: a file may be closed
// while the program ends.
const sqlite3_io_methods* notingMethods(const sqlite3_io_methods* methods)
{
    static std::mutex guard;
    static auto* tables = new std::list<std::pair<const sqlite3_io_methods*, sqlite3_io_methods>>;
    const std::lock_guard lock(guard);
    for (const auto& [system, noting] : *tables)
        if (system == methods)
            return &noting;
    sqlite3_io_methods noting = *methods;
    noting.xWrite = noteWrite;
    noting.xTruncate = noteTruncate;
    noting.xSync = noteSync;
    return &tables->emplace_back(methods, noting).second;
}

int noteOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags)
{
    const int rc = systemVfs->xOpen(systemVfs, name, file, flags, outFlags);
    // A file the system set up must be closed through its methods even when opening failed.
    if (file->pMethods) {
        notedOf(file) = Noted{file->pMethods, name};
        file->pMethods = notingMethods(file->pMethods);
    }
    if (rc != SQLITE_OK)
        note(name, name && (flags & SQLITE_OPEN_CREATE) ? whyNotMade(name) : 0);
    return rc;
}

} // namespace

const char* FileFailures::vfsName()
{
    static const bool registered = [] {
        systemVfs = sqlite3_vfs_find(nullptr);
        if (!systemVfs)
            return false;
        // Everything but opening is the system's own, its data pointer included.
        notedOffset = (size_t(systemVfs->szOsFile) + alignof(Noted) - 1) / alignof(Noted) * alignof(Noted);
        notingVfs = *systemVfs;
        notingVfs.pNext = nullptr;
        notingVfs.zName = "lb-noting";
        notingVfs.szOsFile = int(notedOffset + sizeof(Noted));
        notingVfs.xOpen = noteOpen;
        return sqlite3_vfs_register(&notingVfs, 0) == SQLITE_OK;
    }();
    return registered ? notingVfs.zName : nullptr;
}

std::optional<FileFailures::Failed> FileFailures::take()
{
    return std::exchange(lastFailure, std::nullopt);
}

QString FileFailures::temporaryFolder(sqlite3* db)
{
    // The engine makes up the name of a temporary file for the asking, in the folder it uses.
    char* name = nullptr;
    if (!db || sqlite3_file_control(db, "main", SQLITE_FCNTL_TEMPFILENAME, &name) != SQLITE_OK || !name)
        return QString();
    const QString folder = QFileInfo(QString::fromUtf8(name)).absolutePath();
    sqlite3_free(name);
    return folder;
}

} // namespace lb::db
