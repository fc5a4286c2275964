// Recursive copy of one folder into another, and the single-file copy under it, for backups and year switches.
#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace lb::core {

// How one file of a folder copy goes over its target (absolute paths); true when the target
// holds what it should, else false with the reason in `error` (a disk without room worded by
// lb::FileWrite::failure).
using FileCopier = std::function<bool(const QString& source, const QString& target, QString* error)>;

// A file or folder of the source that a folder copy could not copy, and why.
struct CopyFailure {
    QString path;
    QString reason;
    bool operator==(const CopyFailure&) const = default;
};

// Copies every file and subfolder of `source` into `target` (made with its parents when
// missing), replacing files of the same name through copyFile(), or through `copy` when one is
// given. Leftovers of killed copies and compactions and database journals
// (Leftovers::isLeftover) are not copied.
// Returns false when `source` is empty or not a readable folder, or when any file or folder
// could not be copied (the others are still copied); `failed`, when given, receives what
// failed, each with its reason. True when everything was copied and is on the disk.
bool CopyDir(const QString& source, const QString& target, QList<CopyFailure>* failed = nullptr, const FileCopier& copy = {});

// Copies one file over `target` (its folder must exist) with lb::DurableFile::copyFile, so that
// a power cut or a kill at any moment leaves either the old target or the complete copy, and a
// copy the disk garbled never takes the target's place (it is read back before the rename).
// Journal files of the old target are then removed, so that they are never played into the
// copy. False with the reason in `error` on failure; the target is then as it was.
bool copyFile(const QString& source, const QString& target, QString* error = nullptr);

} // namespace lb::core
