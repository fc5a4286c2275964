// The registry of work windows and window-less commands that the main window opens by key.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <map>

class QWidget;

namespace lb::ui {
class WorkWindow;
}

namespace lb::core {

// The main window's menu items, tool buttons and dashboard icons look their window up here by
// the window class's name ("Tfroutlist", "TFrproduct", "Tfrouttotal"), and their window-less
// commands by the command's name ("MonthEnd"). Each folder registers what it provides once at
// start-up, before or after the menus are built: an item whose key is missing stays visible and
// disabled, and turns enabled as soon as its key is registered.
class WindowRegistry : public QObject {
    Q_OBJECT
public:
    // Creates the work window, not yet shown, with `owner` as its opener (the window enables
    // it again when it closes). The window deletes itself when it closes; the caller shows it
    // with showWork(). A factory that needs companions (a summary and its report form)
    // creates them too.
    using Factory = std::function<lb::ui::WorkWindow*(QWidget* owner)>;
    // Runs a command of the main window that opens no work window of its own.
    using Command = std::function<void()>;

    // The one registry of the program.
    static WindowRegistry& instance();

    // Registering a key again replaces its entry.
    void registerWindow(const QString& key, Factory factory);
    void registerCommand(const QString& key, Command command);
    void unregister(const QString& key);

    bool hasWindow(const QString& key) const { return windows_.count(key) != 0; }
    bool hasCommand(const QString& key) const { return commands_.count(key) != 0; }
    bool contains(const QString& key) const { return hasWindow(key) || hasCommand(key); }

    // Creates the window registered under `key`; lb::Error when there is none.
    lb::ui::WorkWindow* create(const QString& key, QWidget* owner) const;
    // Runs the command registered under `key`; lb::Error when there is none.
    void run(const QString& key) const;

signals:
    // A key was registered or removed.
    void changed(const QString& key);

private:
    std::map<QString, Factory> windows_;
    std::map<QString, Command> commands_;
};

} // namespace lb::core
