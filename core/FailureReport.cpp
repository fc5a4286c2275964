// One call for a command that failed: the failure logged with its cause, then told to the user.
#include "core/FailureReport.h"

namespace lb::core {

namespace {

// The notice's text, given what lb::FileFailure::shown makes of a message and the causes.
template <class Shown>
QString noticeText(const FailureNotice& notice, const Shown& shown)
{
    if (notice.reason.isEmpty())
        return shown(notice.message, notice.kind);
    return notice.message + QStringLiteral("\r原因：") + shown(notice.reason, lb::FileFailure::Message::AnotherCause);
}

} // namespace

void reportFailure(const Reporter& who, const std::exception& error, const FailureNotice& notice, LogPlace place)
{
    logError(who, error, notice.message, place);
    notice.box(noticeText(notice, [&](const QString& message, lb::FileFailure::Message kind) {
                   return lb::FileFailure::shown(message, error, kind);
               }),
               notice.caption);
}

void reportFailure(const Reporter& who, const QList<lb::FileFailure>& failures, const FailureNotice& notice)
{
    logFailures(who, notice.message, failures);
    notice.box(noticeText(notice, [&](const QString& message, lb::FileFailure::Message kind) {
                   return lb::FileFailure::shown(message, failures, kind);
               }),
               notice.caption);
}

} // namespace lb::core
