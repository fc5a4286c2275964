// A copy written under a temporary name beside its target, checked there, then renamed over the target.
#pragma once

#include "platform/sys/DurableFile.h"

#include <QString>

namespace lb::core {

// The way a copy takes the place of its target: it is written and flushed beside the target
// under a temporary name starting with `prefix` (so that one a kill leaves behind is a leftover
// the next start removes), proven there (read back, or checked in full by the caller, as a
// compaction's or a restore's copy of the books is), and only then renamed over the target.
// The temporary file, with any journal of its own, is removed on destruction unless it
// replaced the target.
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

    // Writes a flushed copy of `source` straight into the temporary file, for a caller that
    // checks it in full.
    lb::FileResult write(const QString& source);
    // The same, then reads the copy back and compares it byte for byte with `source`: what the
    // disk was given is not always what it holds.
    lb::FileResult writeAndReadBack(const QString& source);

    // Renames the temporary file over the target, flushes the folder and removes the journals
    // of the old target, which would otherwise be played into the copy. On failure the target
    // is as it was.
    lb::FileResult replaceTarget();

private:
    QString target_;
    QString path_;
};

} // namespace lb::core
