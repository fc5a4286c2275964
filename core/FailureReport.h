// One call for a command that failed: the failure logged with its cause, then told to the user.
#pragma once

#include "core/ErrorLog.h"
#include "platform/sys/FileWrite.h"
#include "platform/ui/Dialogs.h"

#include <QList>
#include <QString>
#include <exception>

namespace lb::core {

// What a command that failed tells the user, and in which box.
struct FailureNotice {
    // The command's own words, which the log keeps above the error's cause and words.
    QString message;
    // How the causes the user can act on go with the message (lb::FileFailure::shown).
    lb::FileFailure::Message kind = lb::FileFailure::Message::WhatWasLeftUndone;
    // The box and its caption (empty: the box's own).
    void (*box)(const QString& text, const QString& caption) = &lb::ui::Dialogs::message;
    QString caption = QString();
    // For a message that gives a reason of its own after what failed: the box shows the message,
    // "\r原因：" and this reason, or the causes the user can act on in its place (`kind` then
    // does not apply); the log keeps the message alone above the error's cause and words.
    QString reason = QString();
};

// Logs `error`, which `who` met, with the notice's message into `place` (logError), then shows
// the notice with the error's cause the user can act on (lb::causeOf).
void reportFailure(const Reporter& who, const std::exception& error, const FailureNotice& notice,
                   LogPlace place = LogPlace::Books);
// Logs each of `failures`, which `who` met copying the books' files, into the text log
// (logFailures), then shows the notice with their causes the user can act on.
void reportFailure(const Reporter& who, const QList<lb::FileFailure>& failures, const FailureNotice& notice);

} // namespace lb::core
