// The registry of work windows and window-less commands that the main window opens by key.
#include "core/WindowRegistry.h"

#include "platform/sys/Errors.h"

namespace lb::core {

WindowRegistry& WindowRegistry::instance()
{
    static WindowRegistry registry;
    return registry;
}

void WindowRegistry::registerWindow(const QString& key, Factory factory)
{
    commands_.erase(key);
    windows_[key] = std::move(factory);
    emit changed(key);
}

void WindowRegistry::registerCommand(const QString& key, Command command)
{
    windows_.erase(key);
    commands_[key] = std::move(command);
    emit changed(key);
}

void WindowRegistry::unregister(const QString& key)
{
    if (windows_.erase(key) + commands_.erase(key) != 0)
        emit changed(key);
}

lb::ui::WorkWindow* WindowRegistry::create(const QString& key, QWidget* owner) const
{
    auto found = windows_.find(key);
    if (found == windows_.end())
        throw lb::Error(QStringLiteral("No window is registered as '%1'").arg(key));
    return found->second(owner);
}

void WindowRegistry::run(const QString& key) const
{
    auto found = commands_.find(key);
    if (found == commands_.end())
        throw lb::Error(QStringLiteral("No command is registered as '%1'").arg(key));
    found->second();
}

} // namespace lb::core
