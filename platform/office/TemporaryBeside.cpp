// The temporary file a writer fills beside its destination before renaming it over it.
#include "platform/office/TemporaryBeside_p.h"

#include "platform/sys/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryFile>
#include <cstdio>

namespace lb::office {

namespace {

// The temporaries of this process not yet renamed or removed, by absolute path.
QSet<QString>& beingWritten()
{
    static QSet<QString> paths;
    return paths;
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
        throw lb::FileOpenError(QStringLiteral("Cannot create a file in %1").arg(folder.absolutePath()));
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

bool TemporaryBeside::renameOverDestination()
{
    if (std::rename(QFile::encodeName(path_).constData(), QFile::encodeName(destination_).constData()) != 0)
        return false;
    beingWritten().remove(path_);
    path_.clear();
    return true;
}

} // namespace lb::office
