// Recursive copy of one folder into another, and the single-file copy under it, for backups and year switches.
#pragma once

#include "platform/sys/FileWrite.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace lb::core {

// What a folder copy does with one file of the source, decided before anything is written.
class CopyChoice {
public:
    enum class Action {
        Copy,     // copied over its target
        Skip,     // the target holds it already
        HoldBack, // not copied, and reported, while the other files are copied
        Refuse,   // nothing is copied: every target file stays as it was
    };
    static CopyChoice copy() { return CopyChoice(Action::Copy, std::nullopt); }
    static CopyChoice skip() { return CopyChoice(Action::Skip, std::nullopt); }
    static CopyChoice holdBack(lb::FileFailure why) { return CopyChoice(Action::HoldBack, std::move(why)); }
    static CopyChoice refuse(lb::FileFailure why) { return CopyChoice(Action::Refuse, std::move(why)); }

    Action action() const { return action_; }
    // Why the file is held back or the copy refused; none for the others.
    const std::optional<lb::FileFailure>& why() const { return why_; }

private:
    CopyChoice(Action action, std::optional<lb::FileFailure> why) : action_(action), why_(std::move(why)) {}
    Action action_;
    std::optional<lb::FileFailure> why_;
};

// A copier's choice for the file `source` of a folder copy and its `target` (absolute paths).
using FileCopier = std::function<CopyChoice(const QString& source, const QString& target)>;

// A file or folder of the source that a folder copy could not copy, and why.
struct CopyFailure {
    QString path;
    lb::FileFailure failure;
    bool operator==(const CopyFailure&) const = default;
};

// The outcome of a folder copy: complete, or what could not be copied and why. A caller cannot
// leave it unread.
class [[nodiscard]] CopyResult {
public:
    CopyResult() = default; // complete
    explicit CopyResult(QList<CopyFailure> failed) : failed_(std::move(failed)) {}

    bool ok() const { return failed_.isEmpty(); }
    // What could not be copied, each with why, in the order of the copy.
    const QList<CopyFailure>& failed() const { return failed_; }
    // Their failures, for lb::FileFailure::shown and the log.
    QList<lb::FileFailure> failures() const;

private:
    QList<CopyFailure> failed_;
};

// Copies every file and subfolder of `source` into `target` (made with its parents when
// missing), replacing files of the same name; files of the target that the source lacks stay.
// Leftovers of killed copies and compactions and database journals (Leftovers::isLeftover)
// are not copied. `choose`, when given, says what becomes of each file; without it every file
// is copied.
// Staged, so that a failure leaves no target file changed: every choice is made and every
// folder read first; then each copy is written beside its target under a temporary name,
// flushed and read back; only when all are ready are they renamed over their targets (with the
// old targets' journals removed). A refusal, or any failure before the renames, removes the
// temporary files and changes no file of the target (folders made for the copy stay, empty); a
// file held back leaves only its own target as it was. A kill during the renames may leave some
// files new and others old.
// Fails when `source` is empty or not a readable folder, or when anything could not be copied,
// with what failed, each with why (a folder that could not be made, or a file that could not be
// written beside its target, for want of room or of the right to write there named as such);
// complete when everything was copied and is on the disk.
CopyResult CopyDir(const QString& source, const QString& target, const FileCopier& choose = {});

// Copies one file over `target` (its folder must exist) through a TemporaryCopy read back
// before it takes the place, so that a power cut or a kill at any moment leaves either the old
// target or the complete copy, and a copy the disk garbled never takes the target's place.
// Journal files of the old target are then removed, so that they are never played into the
// copy. On failure the target is as it was.
lb::FileResult copyFile(const QString& source, const QString& target);

} // namespace lb::core
