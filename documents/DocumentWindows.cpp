// Registers the document windows with the main window's registry.
#include "documents/DocumentWindows.h"

#include "core/WindowRegistry.h"
#include "documents/DocumentCatalog.h"
#include "documents/DocumentEntryForm.h"
#include "documents/DocumentListWindow.h"

void registerDocumentWindows()
{
    WindowRegistry& registry = WindowRegistry::instance();
    for (const QString& key : DocumentCatalog::entryFormKeys()) {
        registry.registerWindow(key, [key](QWidget* owner) { return new DocumentEntryForm(DocumentCatalog::entryForm(key), owner); });
    }
    registry.registerWindow(QStringLiteral("Tfroutlist"), [](QWidget* owner) {
        return new DocumentListWindow(DocumentCatalog::salesList(), owner);
    });
}
