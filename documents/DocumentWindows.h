// Registers the document windows with the main window's registry.
#pragma once

// The entry forms by their class names ("Tfrindetail", "Tfrgetdetail", ...) and the sales list
// ("Tfroutlist", which opens the sales entry form and posted view itself). Call once at
// start-up.
void registerDocumentWindows();
