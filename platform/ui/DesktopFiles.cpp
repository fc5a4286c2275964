// Opening a file with the desktop's handler for its kind, and saying so when that fails.
#include "platform/ui/DesktopFiles.h"

#include "platform/ui/Dialogs.h"
#include "platform/ui/GuardSlot.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace lb::ui {

void DesktopFiles::open(const QString& path, const QString& failure)
{
    const QString message = failure + QDir::toNativeSeparators(path);
    const QString launcher = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (launcher.isEmpty()) {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
            Dialogs::message(message);
        return;
    }
    // Qt would start xdg-open detached and take its start for success; xdg-open's exit code
    // tells whether a program took the file.
    auto* handler = new QProcess(QCoreApplication::instance());
    handler->setProcessChannelMode(QProcess::ForwardedChannels);
    handler->setStandardInputFile(QProcess::nullDevice());
    QObject::connect(handler, &QProcess::finished, handler,
                     guardSlot(handler, [handler, message](int code, QProcess::ExitStatus status) {
                         handler->deleteLater();
                         if (status != QProcess::NormalExit || code != 0)
                             Dialogs::message(message);
                     }));
    QObject::connect(handler, &QProcess::errorOccurred, handler,
                     guardSlot(handler, [handler, message](QProcess::ProcessError error) {
                         // A handler that started and then failed is reported as it ends.
                         if (error != QProcess::FailedToStart)
                             return;
                         handler->deleteLater();
                         Dialogs::message(message);
                     }));
    handler->start(launcher, {path});
}

} // namespace lb::ui
