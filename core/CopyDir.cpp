// Recursive copy of one folder into another, and the single-file copy under it, for backups and year switches.
#include "core/CopyDir.h"

#include "core/Leftovers.h"
#include "core/TemporaryCopy.h"
#include "platform/sys/DurableFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <vector>

namespace lb::core {

namespace {

void copyTree(const QString& source, const QString& target, const FileCopier& copy, QStringList& failed)
{
    const QFileInfo from(source);
    const bool made = !QFileInfo(target).isDir();
    if (!from.isReadable() || !from.isExecutable() || !QDir().mkpath(target)) {
        failed << source;
        return;
    }
    // A folder made here is an entry of its parent, which must reach the disk with it.
    if (made)
        lb::DurableFile::flushFolder(QFileInfo(target).absolutePath());
    const QDir folder(source);
    const QFileInfoList entries = folder.entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QString to = target + QLatin1Char('/') + entry.fileName();
        if (entry.isDir() && !entry.isSymLink())
            copyTree(entry.absoluteFilePath(), to, copy, failed);
        else if (Leftovers::isLeftover(entry.fileName()))
            continue;
        else if (!(copy ? copy(entry.absoluteFilePath(), to) : copyFile(entry.absoluteFilePath(), to)))
            failed << entry.absoluteFilePath();
    }
}

} // namespace

bool copyFile(const QString& source, const QString& target, QString* error)
{
    TemporaryCopy copy(target);
    if (!copy.write(source, error))
        return false;
    // Read back after the flush: what the disk was given is not always what it holds.
    if (!sameContents(copy.path(), source)) {
        if (error)
            *error = QStringLiteral("The copy %1 differs from %2").arg(target, source);
        return false;
    }
    return copy.replaceTarget(error);
}

bool sameContents(const QString& first, const QString& second)
{
    QFile a(first);
    QFile b(second);
    if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly) || a.size() != b.size())
        return false;
    // Two buffers read into again and again: a block allocated for every read would be mapped
    // and faulted in afresh each time, as large blocks go straight back to the system.
    constexpr qint64 block = 1 << 20;
    std::vector<char> left(block);
    std::vector<char> right(block);
    for (;;) {
        const qint64 got = a.read(left.data(), block);
        if (got < 0 || b.read(right.data(), got) != got)
            return false;
        if (got == 0)
            return b.atEnd();
        if (std::memcmp(left.data(), right.data(), size_t(got)) != 0)
            return false;
    }
}

bool CopyDir(const QString& source, const QString& target, QStringList* failed, const FileCopier& copy)
{
    QStringList failures;
    const QFileInfo info(source);
    if (source.isEmpty() || !info.isDir() || !info.isReadable() || !QDir(source).isReadable())
        failures << source;
    else
        copyTree(info.absoluteFilePath(), target, copy, failures);
    if (failed)
        *failed = failures;
    return failures.isEmpty();
}

} // namespace lb::core
