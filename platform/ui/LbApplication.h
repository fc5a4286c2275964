// The application object: catches every error that escapes an event handler.
#pragma once

#include <QApplication>
#include <exception>
#include <functional>

class QTranslator;

namespace lb::ui {

// An lb::Abort escaping a handler ends the command silently. Any other error (lb::Error,
// std::exception, or anything thrown) goes to the installed error handler with the object
// the event was for; the command is abandoned and the program goes on. Without a handler
// the error's text is shown in an error box. In every window an Alt letter is an access key or
// nothing, never text typed into a box (AccessKeys); a one-line box the focus is put in has its
// text selected (FocusSelection); Enter presses the focused button and Esc the cancel button the
// window named when nothing else took them (ButtonKeys); Tab leaves a multi-line box as any other
// (MultiLineKeys).
class LbApplication : public QApplication {
    Q_OBJECT
public:
    LbApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    using ErrorHandler = std::function<void(QObject* sender, const std::exception& error)>;
    static void setErrorHandler(ErrorHandler handler);
    // Hands an error to the installed handler; for code that catches at a command's start
    // and still wants the program's error report.
    static void reportError(QObject* sender, const std::exception& error);

    // Installs Qt's own Simplified Chinese texts (file, printer and colour dialogs, standard
    // buttons) from the system's Qt translations. Returns the translator, owned by the
    // application object, or nullptr when the translations are not installed.
    static QTranslator* installQtTranslations();

    // Runs `deliver` under the rules above; notify() uses it, and tests call it directly
    // because a test program has its own application object.
    static bool guarded(QObject* receiver, const std::function<bool()>& deliver);
};

} // namespace lb::ui
