// Registers the document windows with the main window's registry.
#include "documents/DocumentWindows.h"

#include "core/WindowRegistry.h"
#include "documents/DocumentCatalog.h"
#include "documents/DocumentEntryForm.h"
#include "documents/DocumentListWindow.h"
#include "documents/PostedDocumentView.h"

using lb::core::WindowRegistry;

namespace lb::documents {

void registerDocumentWindows()
{
    WindowRegistry& registry = WindowRegistry::instance();
    for (const QString& key : DocumentCatalog::entryFormKeys()) {
        registry.registerWindow(key, [key](QWidget* owner) { return new DocumentEntryForm(DocumentCatalog::entryForm(key), owner); });
    }
    for (const DocumentListConfig& list : DocumentCatalog::lists()) {
        registry.registerWindow(list.key, [config = list](QWidget* owner) { return new DocumentListWindow(config, owner); });
        // The product history opens the posted views by their class names.
        registry.registerWindow(list.postedView.key,
                                [view = list.postedView](QWidget* owner) { return new PostedDocumentView(view, owner); });
    }
}

} // namespace lb::documents
