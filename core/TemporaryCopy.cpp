// A copy written under a temporary name beside its target, checked there, then renamed over the target.
#include "core/TemporaryCopy.h"

#include "core/Leftovers.h"
#include "platform/sys/DurableFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace lb::core {

namespace {

bool noFileBeside(const QString& target, QString* error)
{
    if (error)
        *error = QStringLiteral("Cannot write beside %1").arg(target);
    return false;
}

} // namespace

TemporaryCopy::TemporaryCopy(const QString& target, const QString& prefix)
    : target_(target)
{
    QTemporaryFile reserve(QFileInfo(target).absolutePath() + QLatin1Char('/') + prefix + QStringLiteral("XXXXXX"));
    reserve.setAutoRemove(false);
    if (reserve.open())
        path_ = reserve.fileName();
}

TemporaryCopy::~TemporaryCopy()
{
    if (path_.isEmpty())
        return;
    QFile::remove(path_);
    Leftovers::removeJournalsOf(path_);
}

bool TemporaryCopy::write(const QString& source, QString* error)
{
    return path_.isEmpty() ? noFileBeside(target_, error) : lb::DurableFile::writeCopy(source, path_, error);
}

bool TemporaryCopy::replaceTarget(QString* error)
{
    if (path_.isEmpty())
        return noFileBeside(target_, error);
    if (!lb::DurableFile::replaceFile(path_, target_, error))
        return false;
    path_.clear();
    Leftovers::removeJournalsOf(target_);
    return true;
}

} // namespace lb::core
