// Registers the document windows with the main window's registry.
#pragma once

namespace lb::documents {

// The entry forms ("Tfrindetail", "Tfrgetdetail", ...), the lists ("Tfroutlist", "Tfrinlist", ...,
// which open their entry form and posted view themselves) and the posted views ("Tfrfindetail",
// ..., which the product history opens) by their class names. Call once at start-up.
void registerDocumentWindows();

} // namespace lb::documents
