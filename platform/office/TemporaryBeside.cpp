// The temporary file a writer fills beside its destination before renaming it over it.
#include "platform/office/TemporaryBeside_p.h"

#include "platform/sys/DurableFile.h"
#include "platform/sys/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryFile>
#include <sys/stat.h>

namespace lb::office {

namespace {

// The temporaries of this process not yet renamed or removed, by absolute path.
QSet<QString>& beingWritten()
{
    static QSet<QString> paths;
    return paths;
}

// The mode a file created now gets: read and write for all, less the process's umask. The
// kernel shows the umask in the process's status; without it, the umask can only be read by
// setting it and setting it back.
mode_t newFileMode()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly | QIODevice::Text)) {
        for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
            bool known = false;
            const mode_t mask = mode_t(line.startsWith("Umask:") ? line.mid(6).trimmed().toUInt(&known, 8) : 0);
            if (known)
                return 0666 & ~mask;
        }
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

TemporaryBeside::TemporaryBeside(const QString& destination, const QString& prefix)
    : destination_(QFileInfo(destination).absoluteFilePath())
{
    const QDir folder = QFileInfo(destination_).absoluteDir();
    // Only one instance of the program runs, so a file of this form that it is not writing
    // now was left by a run that ended before its rename.
    const QRegularExpression leftover(QStringLiteral("^%1[A-Za-z0-9]{6}$").arg(QRegularExpression::escape(prefix)));
    for (const QString& name : folder.entryList({prefix + QLatin1Char('*')}, QDir::Files | QDir::Hidden | QDir::System))
        if (leftover.match(name).hasMatch() && !beingWritten().contains(folder.absoluteFilePath(name)))
            QFile::remove(folder.absoluteFilePath(name));

    QTemporaryFile reserve(folder.absoluteFilePath(prefix + QStringLiteral("XXXXXX")));
    reserve.setAutoRemove(false);
    if (!reserve.open())
        throw lb::FileWriteError(
            lb::FileFailure::ofFolder(folder.absolutePath(), QStringLiteral("Cannot create a file in %1").arg(folder.absolutePath())));
    path_ = reserve.fileName();
    beingWritten().insert(path_);
}

TemporaryBeside::~TemporaryBeside()
{
    if (path_.isEmpty())
        return;
    QFile::remove(path_);
    beingWritten().remove(path_);
}

lb::FileResult TemporaryBeside::renameOverDestination()
{
    // The reserved file is the owner's alone; the finished one gets the permissions of any
    // file the user makes. A file system without permissions (a memory stick) refuses them,
    // which does not keep the file from its place.
    ::chmod(QFile::encodeName(path_).constData(), newFileMode());
    lb::FileResult replaced = DurableFile::replaceFile(path_, destination_);
    // Renamed, though the folder's flush after it may have failed: the file is no longer ours.
    if (!QFileInfo::exists(path_)) {
        beingWritten().remove(path_);
        path_.clear();
    }
    return replaced;
}

} // namespace lb::office
