// Where the program keeps its files: the program folder, works/, the backups and the text log.
#include "platform/sys/AppPaths.h"

#include <QDir>

namespace lb {

namespace {
QString& overrideFolder()
{
    static QString folder;
    return folder;
}
} // namespace

QString AppPaths::programFolder()
{
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    const QString fromEnv = qEnvironmentVariable("LEDGERBOX_HOME");
    if (!fromEnv.isEmpty())
        return QDir::cleanPath(QDir::current().absoluteFilePath(fromEnv));
    // A relative XDG_DATA_HOME is to be ignored, as the base directory rules say.
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty() || QDir::isRelativePath(dataHome))
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(dataHome + QStringLiteral("/ledgerbox"));
}

void AppPaths::setProgramFolder(const QString& folder)
{
    overrideFolder() = folder.isEmpty() ? QString() : QDir::cleanPath(folder);
}

QString AppPaths::databaseFile() { return inProgramFolder(QStringLiteral("works/kvdb.mdb")); }

QString AppPaths::worksFolder() { return inProgramFolder(QStringLiteral("works")); }

QString AppPaths::inProgramFolder(const QString& name) { return programFolder() + QLatin1Char('/') + name; }

QString AppPaths::errorLogFile() { return inProgramFolder(QStringLiteral("ledgerbox.txt")); }

} // namespace lb
