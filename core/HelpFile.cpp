// The program's manual: where the help command looks for it.
#include "core/HelpFile.h"

#include "platform/sys/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace lb::core {

namespace {
QString& programFileFolderSet()
{
    static QString folder;
    return folder;
}
} // namespace

QString HelpFile::fileName() { return QStringLiteral("kvhelp.html"); }

QStringList HelpFile::places()
{
    const QString setFolder = programFileFolderSet();
    const QDir program(setFolder.isEmpty() ? QCoreApplication::applicationDirPath() : setFolder);
    return {lb::AppPaths::inProgramFolder(fileName()), program.absoluteFilePath(fileName()),
            QDir::cleanPath(program.absoluteFilePath(QStringLiteral("../share/ledgerbox/") + fileName()))};
}

QString HelpFile::find()
{
    for (const QString& place : places())
        if (QFileInfo(place).isFile())
            return place;
    return QString();
}

void HelpFile::setProgramFileFolder(const QString& folder)
{
    programFileFolderSet() = folder;
}

} // namespace lb::core
