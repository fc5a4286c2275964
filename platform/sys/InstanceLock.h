// The single-instance guard: an operating-system lock on a file, released when its process dies.
#pragma once

#include <QString>

namespace lb {

// Holds an exclusive lock on a file for as long as the object lives. The lock belongs to the
// open file, not to the file's contents: the system drops it when the holder ends in any way,
// killed included, so a lock file left behind (empty, or holding anything at all) never keeps
// a later copy from starting. An existing folder takes a lock as well, as a file that may not
// be written does.
class InstanceLock {
public:
    enum class State {
        Held,          // this object holds the lock
        HeldElsewhere, // another open of the file holds it: another copy is running
        Unavailable,   // the file can be neither made nor opened; nothing is guarded
    };

    explicit InstanceLock(const QString& path);
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
