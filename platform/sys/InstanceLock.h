// The single-instance guard: an operating-system lock on a file or folder, released when its process dies.
#pragma once

#include <QString>

namespace lb {

// Holds an exclusive lock on a file for as long as the object lives. The lock belongs to the
// open file, not to the file's contents: the system drops it when the holder ends in any way,
// killed included, so a lock file left behind (empty, or holding anything at all) never keeps
// a later copy from starting. A lock file that may not be written takes a lock as well.
class InstanceLock {
public:
    // What the path is to name. A lock file is made when missing; an existing file or folder
    // (an entry another object made and locks while it lives) is only opened, never through a
    // symbolic link, and is locked only while the path still names what was opened.
    enum class Target { LockFile, ExistingFile, ExistingFolder };

    enum class State {
        Held,          // this object holds the lock
        HeldElsewhere, // another open of the file holds it: another copy is running
        Missing,       // an existing entry's path names nothing of its kind (any more): nothing is made
        Unavailable,   // the file can be neither made nor opened; nothing is guarded
    };

    explicit InstanceLock(const QString& path, Target target = Target::LockFile);
    ~InstanceLock(); // releases the lock
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    State state() const { return state_; }
    bool heldElsewhere() const { return state_ == State::HeldElsewhere; }

private:
    int fd_ = -1;
    State state_ = State::Unavailable;
};

} // namespace lb
