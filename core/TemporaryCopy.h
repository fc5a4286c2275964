// A copy written under a temporary name beside its target, checked there, then renamed over the target.
#pragma once

#include "platform/sys/DurableFile.h"

#include <QString>

namespace lb::core {

// The way a copy that its caller checks in full takes the place of the books (a compaction's
// copy, a restore's): it is written and flushed beside the target under a temporary name
// starting with `prefix` (so that one a kill leaves behind is a leftover the next start
// removes), the caller checks it there, and only then is it renamed over the target. A plain
// copy of a file, proven by reading it back, is copyFile(). The temporary file, with any
// journal of its own, is removed on destruction unless it replaced the target.
class TemporaryCopy {
public:
    explicit TemporaryCopy(const QString& target, const QString& prefix = lb::DurableFile::temporaryPrefix());
    ~TemporaryCopy();
    TemporaryCopy(const TemporaryCopy&) = delete;
    TemporaryCopy& operator=(const TemporaryCopy&) = delete;

    // The temporary file, reserved beside the target, there to be written (by write(), or by a
    // writer of the caller's that makes the file itself after removing it, flushed in
    // replaceTarget()) and checked; empty when none could be made beside the target.
    const QString& path() const { return path_; }

    // Writes a flushed copy of `source` straight into the temporary file. False with the reason.
    bool write(const QString& source, QString* error);

    // Renames the temporary file over the target, flushes the folder and removes the journals
    // of the old target, which would otherwise be played into the copy. False with the reason;
    // the target is then as it was.
    bool replaceTarget(QString* error);

private:
    QString target_;
    QString path_;
};

} // namespace lb::core
