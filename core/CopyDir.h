// Recursive copy of one folder into another, for the backups and the year switch.
#pragma once

#include <QString>

namespace lb::core {

// Copies every file and subfolder of `source` into `target` (made with its parents when
// missing), replacing files of the same name. Each file is copied under a temporary name
// in its target folder and renamed over the old one only when the copy is complete, so an
// interrupted copy never leaves a damaged file in place of a sound one.
// Returns false when `source` is empty or not a readable folder, or when any file or folder
// could not be copied (the others are still copied); `failed`, when given, receives the
// paths that failed. True when everything was copied.
bool CopyDir(const QString& source, const QString& target, QStringList* failed = nullptr);

} // namespace lb::core
