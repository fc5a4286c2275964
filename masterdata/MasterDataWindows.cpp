// Registers the windows and commands of master data and stock with the main window's registry.
#include "masterdata/MasterDataWindows.h"

#include "core/Tfrmain.h"
#include "core/WindowRegistry.h"
#include "masterdata/MasterCatalog.h"
#include "masterdata/MasterListWindow.h"
#include "masterdata/StockMenu.h"
#include "masterdata/TFrcproduct.h"

namespace lb::masterdata {

using lb::core::WindowRegistry;

void registerMasterDataWindows()
{
    WindowRegistry& registry = WindowRegistry::instance();
    for (const QString& key : MasterCatalog::keys()) {
        if (key == QLatin1String("TFrproductp"))
            continue; // the stock commands open it in their modes
        registry.registerWindow(key, [key](QWidget* owner) {
            frmain->PickMode = lb::core::PickCode::None; // the menu opens lists, never pickers
            return new MasterListWindow(MasterCatalog::byKey(key), owner);
        });
    }
    registry.registerCommand(QStringLiteral("StockTake"), [] { StockMenu::stockTake(); });
    registry.registerCommand(QStringLiteral("StockGainLoss"), [] { StockMenu::gainAndLoss(); });
    registry.registerCommand(QStringLiteral("StockValue"), [] { StockMenu::stockValue(); });
    registry.registerCommand(QStringLiteral("StockUpdate"), [] { StockMenu::updateStock(); });
    registry.registerWindow(QStringLiteral("TFrcproduct"), [](QWidget* owner) {
        frmain->PickMode = lb::core::PickCode::None;
        return new TFrcproduct(owner);
    });
}

} // namespace lb::masterdata
