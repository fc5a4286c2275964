// The temporary file a writer fills beside its destination before renaming it over it.
#pragma once

#include "platform/sys/FileWrite.h"

#include <QString>

namespace lb::office {

// A file named `prefix` followed by six letters or digits, reserved in the folder of the
// destination, so that the finished file replaces the destination in one rename. A writer
// killed before its rename leaves such a file in a folder the user chose: reserving a new one
// first removes the files of that form in the folder that this process is not writing.
class TemporaryBeside {
public:
    // lb::FileWriteError when the destination's folder cannot take a file (one that may not be
    // written named as such).
    TemporaryBeside(const QString& destination, const QString& prefix);
    ~TemporaryBeside(); // removes the file unless it was renamed
    TemporaryBeside(const TemporaryBeside&) = delete;
    TemporaryBeside& operator=(const TemporaryBeside&) = delete;

    const QString& path() const { return path_; }
    const QString& destination() const { return destination_; }

    // Gives the file the mode any new file gets under the process's umask (it was reserved for
    // the owner alone), then flushes it, renames it over the destination and flushes the folder
    // (lb::DurableFile::replaceFile); the failure of the step that failed.
    lb::FileResult renameOverDestination();

private:
    QString destination_;
    QString path_; // empty once renamed
};

} // namespace lb::office
