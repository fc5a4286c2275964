// A file or folder of ours in the system's temporary folder, locked while it lives.
#pragma once

#include <QString>

#include <memory>

namespace lb {

class InstanceLock;
struct TemporaryName;

// Makes an entry named a prefix and six letters or digits in the system's temporary folder
// (QDir::tempPath() when made) and holds a lock on it, which dies with the process, for as long
// as the object lives; freeing the object removes the entry (a folder with all it holds) and
// only then releases the lock. removeAllLeftovers(), at a program's start, removes the entries
// that runs ended without freeing theirs left, and never one whose lock another object holds:
// a running copy of the program, of whichever program folder, keeps what it uses. The program's
// own entries are named by kTemporaryNames below.
class LockedTemporary {
public:
    enum class Kind { File, Folder };

    // Makes the entry: a file (mode 0600, open for reading and writing) or a folder (mode 0700).
    // When the temporary folder cannot take it, isValid() is false and errorString() says why.
    LockedTemporary(Kind kind, const QString& prefix);
    // Makes an entry of the name's kind and prefix.
    explicit LockedTemporary(const TemporaryName& name);
    ~LockedTemporary();
    LockedTemporary(const LockedTemporary&) = delete;
    LockedTemporary& operator=(const LockedTemporary&) = delete;

    bool isValid() const { return lock_ != nullptr; }
    QString errorString() const { return error_; }
    // The entry's full path; empty when it could not be made.
    QString path() const { return path_; }
    // A file's descriptor, open for reading and writing and owned by this object; -1 for a folder.
    int handle() const { return fd_; }

    // Removes from the system's temporary folder every entry named exactly `prefix` and six
    // letters or digits, of the kind given, whose lock it can take; never a symbolic link (nor
    // what it points to) and never another name. A folder's clean-up also removes an empty file
    // of such a name, which earlier versions' locks made when a folder went as they reached it,
    // and which no program makes on purpose; a file's clean-up leaves folders alone.
    static void removeLeftovers(Kind kind, const QString& prefix);
    static void removeLeftovers(const TemporaryName& name);
    // removeLeftovers() of every name in kTemporaryNames: the one clean-up of a program's start.
    static void removeAllLeftovers();

private:
    QString path_;
    QString error_;
    int fd_ = -1;
    std::unique_ptr<InstanceLock> lock_; // says the entry is in use; released once it is removed
    Kind kind_;
};

// The name of the entries of one use: their kind, and the prefix six letters or digits follow.
struct TemporaryName {
    LockedTemporary::Kind kind;
    const char* prefix; // Latin-1
};

// What the program keeps in the system's temporary folder, one name per use, all of them in
// kTemporaryNames. An owner makes its entries from its name and a start removes what killed
// runs left of every name in the list (removeAllLeftovers()), so that what an owner makes is
// what the start looks for; a new use goes into the list beside its name.
// A workbook's staging folder, which its parts are written into before its save.
inline constexpr TemporaryName kWorkbookStaging{LockedTemporary::Kind::Folder, "lb-xlsx-"};
// A report's page store beyond its memory limit.
inline constexpr TemporaryName kReportPages{LockedTemporary::Kind::File, "RPF"};
inline constexpr TemporaryName kTemporaryNames[] = {kWorkbookStaging, kReportPages};

} // namespace lb
