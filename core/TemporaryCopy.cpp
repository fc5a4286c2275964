// A copy written under a temporary name beside its target, checked there, then renamed over the target.
#include "core/TemporaryCopy.h"

#include "core/Leftovers.h"
#include "platform/sys/DurableFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace lb::core {

namespace {

lb::FileFailure noFileBeside(const QString& target)
{
    return lb::FileFailure::ofFolder(QFileInfo(target).absolutePath(), QStringLiteral("Cannot write beside %1").arg(target));
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

lb::FileResult TemporaryCopy::write(const QString& source)
{
    if (path_.isEmpty())
        return noFileBeside(target_);
    return lb::DurableFile::writeCopy(source, path_);
}

lb::FileResult TemporaryCopy::writeAndReadBack(const QString& source)
{
    if (lb::FileResult written = write(source); !written.ok())
        return written;
    if (!lb::DurableFile::sameContents(path_, source))
        return lb::FileFailure::other(QStringLiteral("The copy %1 differs from %2").arg(target_, source));
    return {};
}

lb::FileResult TemporaryCopy::replaceTarget()
{
    if (path_.isEmpty())
        return noFileBeside(target_);
    if (lb::FileResult replaced = lb::DurableFile::replaceFile(path_, target_); !replaced.ok())
        return replaced;
    path_.clear();
    Leftovers::removeJournalsOf(target_);
    return {};
}

} // namespace lb::core
