// A small disk of the test's own, for what only a real disk shows: writes through the C library's streams filling it, a read-only disk.
#pragma once

#include <QByteArray>
#include <QString>

// Mounts a memory disk of `bytes` on the folder `folder` (which must exist), read-only when
// `readOnly`, seen by the calling thread alone: it first gets a mount namespace of its own, so
// that nothing outside the test sees the disk, and the disk goes with the object. ok() is false
// when the system allows no such thing (no administrator's rights, no namespaces); the test then
// skips. Unlike FullDisk it stops every writer, a library's fwrite() too.
class ScratchDisk {
public:
    ScratchDisk(const QString& folder, qint64 bytes, bool readOnly = false);
    ~ScratchDisk();
    ScratchDisk(const ScratchDisk&) = delete;
    ScratchDisk& operator=(const ScratchDisk&) = delete;

    bool ok() const { return ok_; }
    // Fills the disk with one file until it has no room left.
    void fill() const;

private:
    QByteArray folder_;
    bool ok_ = false;
};
