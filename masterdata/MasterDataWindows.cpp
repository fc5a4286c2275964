// Registers the windows and commands of master data and stock with the main window's registry.
#include "masterdata/MasterDataWindows.h"

#include "core/WindowRegistry.h"
#include "masterdata/MasterCatalog.h"
#include "masterdata/MasterListWindow.h"
#include "masterdata/TFrcproduct.h"

void registerMasterDataWindows()
{
    WindowRegistry& registry = WindowRegistry::instance();
    for (const QString& key : MasterCatalog::keys()) {
        registry.registerWindow(key, [key](QWidget* owner) { return new MasterListWindow(MasterCatalog::byKey(key), owner); });
    }
    registry.registerWindow(QStringLiteral("TFrcproduct"), [](QWidget* owner) { return new TFrcproduct(owner); });
}
