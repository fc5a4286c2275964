// Registers the document windows with the main window's registry.
#pragma once

// The entry forms by their class names ("Tfrindetail", "Tfrgetdetail", ...). Call once at
// start-up.
void registerDocumentWindows();
