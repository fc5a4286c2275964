// The application object: catches every error that escapes an event handler.
#include "platform/ui/LbApplication.h"

#include "platform/sys/Errors.h"
#include "platform/ui/AccessKeys.h"
#include "platform/ui/ButtonKeys.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/FocusSelection.h"
#include "platform/ui/MultiLineKeys.h"

#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>
#include <QtGlobal>

namespace lb::ui {

namespace {

LbApplication::ErrorHandler& handler()
{
    static LbApplication::ErrorHandler value;
    return value;
}

} // namespace

LbApplication::LbApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    AccessKeys::guard(*this);
    ButtonKeys::install(*this);
    MultiLineKeys::install(*this);
}

bool LbApplication::notify(QObject* receiver, QEvent* event)
{
    return guarded(receiver, [&] {
        if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut)
            return QApplication::notify(receiver, event);
        // The selection comes after the box placed its cursor itself, on a box that outlived
        // its focus change.
        const QPointer<QObject> alive(receiver);
        const bool delivered = QApplication::notify(receiver, event);
        if (alive)
            FocusSelection::delivered(*receiver, *event);
        return delivered;
    });
}

QTranslator* LbApplication::installQtTranslations()
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qt_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}

void LbApplication::setErrorHandler(ErrorHandler value) { handler() = std::move(value); }

void LbApplication::reportError(QObject* sender, const std::exception& error)
{
    // The handler runs inside the event loop; an error of its own must not end the program.
    try {
        if (handler()) {
            handler()(sender, error);
            return;
        }
        const auto* own = dynamic_cast<const lb::Error*>(&error);
        Dialogs::error(own ? own->message() : QString::fromLocal8Bit(error.what()));
    } catch (const std::exception& second) {
        qCritical("Error while reporting an error: %s", second.what());
    } catch (...) {
        qCritical("Unknown error while reporting an error");
    }
}

bool LbApplication::guarded(QObject* receiver, const std::function<bool()>& deliver)
{
    try {
        return deliver();
    } catch (const lb::Abort&) {
        return true;
    } catch (const std::exception& error) {
        reportError(receiver, error);
    } catch (...) {
        reportError(receiver, lb::Error(QStringLiteral("Unknown exception")));
    }
    return true;
}

} // namespace lb::ui
