// Registers the document windows with the main window's registry.
#include "documents/DocumentWindows.h"

#include "core/WindowRegistry.h"
#include "documents/DocumentCatalog.h"
#include "documents/DocumentEntryForm.h"

void registerDocumentWindows()
{
    WindowRegistry& registry = WindowRegistry::instance();
    for (const QString& key : DocumentCatalog::entryFormKeys()) {
        registry.registerWindow(key, [key](QWidget* owner) { return new DocumentEntryForm(DocumentCatalog::entryForm(key), owner); });
    }
}
