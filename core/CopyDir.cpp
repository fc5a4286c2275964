// Recursive copy of one folder into another, and the single-file copy under it, for backups and year switches.
#include "core/CopyDir.h"

#include "core/Leftovers.h"
#include "core/TemporaryCopy.h"
#include "platform/sys/DurableFile.h"

#include <QDir>
#include <QFileInfo>

#include <memory>
#include <vector>

namespace lb::core {

namespace {

// A folder of the target to make, or a file of the source with what becomes of it, in the
// order of the walk over the source; `failure` once it failed or was held back.
struct Entry {
    QString source;
    QString target;
    bool folder = false;
    CopyChoice::Action action = CopyChoice::Action::Copy;
    std::optional<lb::FileFailure> failure;
};

// Lists `source` into `entries`, parents before what they hold, and asks `choose` about every
// file. Nothing is written.
void walk(const QString& source, const QString& target, const FileCopier& choose, std::vector<Entry>& entries)
{
    const QFileInfo from(source);
    const QFileInfo to(target);
    if (!from.isReadable() || !from.isExecutable()) {
        entries.push_back({source, target, true, CopyChoice::Action::Refuse,
                           lb::FileFailure::other(QStringLiteral("Cannot read the folder %1").arg(source))});
        return;
    }
    if (to.exists() && !to.isDir()) {
        entries.push_back({source, target, true, CopyChoice::Action::Refuse,
                           lb::FileFailure::other(QStringLiteral("Cannot make the folder %1").arg(target))});
        return;
    }
    entries.push_back({source, target, true, CopyChoice::Action::Copy, std::nullopt});
    const QFileInfoList found =
        QDir(source).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : found) {
        const QString file = entry.absoluteFilePath();
        const QString over = target + QLatin1Char('/') + entry.fileName();
        if (entry.isDir() && !entry.isSymLink()) {
            walk(file, over, choose, entries);
        } else if (Leftovers::isLeftover(entry.fileName())) {
            continue;
        } else if (QFileInfo(over).isDir()) {
            // The rename would fail only after other files had taken their places.
            entries.push_back({file, over, false, CopyChoice::Action::Refuse,
                               lb::FileFailure::other(QStringLiteral("Cannot replace the folder %1").arg(over))});
        } else {
            const CopyChoice choice = choose ? choose(file, over) : CopyChoice::copy();
            entries.push_back({file, over, false, choice.action(), choice.why()});
        }
    }
}

// Makes the target's folder of `entry` (flushing the entry in its parent when it is new).
lb::FileResult makeFolder(const Entry& entry)
{
    const bool made = !QFileInfo(entry.target).isDir();
    if (!QDir().mkpath(entry.target))
        return lb::FileFailure::ofFolder(entry.target, QStringLiteral("Cannot make the folder %1").arg(entry.target));
    return made ? lb::DurableFile::flushFolder(QFileInfo(entry.target).absolutePath()) : lb::FileResult();
}

// Carries out the copy `entries` describes, staged; marks what failed in them.
void copyStaged(std::vector<Entry>& entries)
{
    for (const Entry& entry : entries)
        if (entry.action == CopyChoice::Action::Refuse)
            return;
    // Removed by their destructors, on every way out, unless renamed over their targets.
    std::vector<std::pair<Entry*, std::unique_ptr<TemporaryCopy>>> staged;
    for (Entry& entry : entries) {
        if (entry.action != CopyChoice::Action::Copy)
            continue;
        lb::FileResult ready;
        if (entry.folder) {
            ready = makeFolder(entry);
        } else {
            staged.emplace_back(&entry, std::make_unique<TemporaryCopy>(entry.target));
            ready = staged.back().second->writeAndReadBack(entry.source);
        }
        if (!ready.ok()) {
            entry.failure = ready.failure();
            return;
        }
    }
    for (auto& [entry, copy] : staged)
        if (lb::FileResult replaced = copy->replaceTarget(); !replaced.ok())
            entry->failure = replaced.failure();
}

} // namespace

QList<lb::FileFailure> CopyResult::failures() const
{
    QList<lb::FileFailure> failures;
    for (const CopyFailure& each : failed_)
        failures << each.failure;
    return failures;
}

lb::FileResult copyFile(const QString& source, const QString& target)
{
    TemporaryCopy copy(target);
    if (lb::FileResult written = copy.writeAndReadBack(source); !written.ok())
        return written;
    return copy.replaceTarget();
}

CopyResult CopyDir(const QString& source, const QString& target, const FileCopier& choose)
{
    QList<CopyFailure> failures;
    const QFileInfo info(source);
    if (source.isEmpty() || !info.isDir() || !info.isReadable() || !QDir(source).isReadable()) {
        failures << CopyFailure{source, lb::FileFailure::other(QStringLiteral("No folder to copy at %1").arg(source))};
    } else {
        std::vector<Entry> entries;
        walk(info.absoluteFilePath(), target, choose, entries);
        copyStaged(entries);
        for (const Entry& entry : entries)
            if (entry.failure)
                failures << CopyFailure{entry.source, *entry.failure};
    }
    return CopyResult(failures);
}

} // namespace lb::core
