// Registers the summary, statement and product history windows with the main window's registry.
#pragma once

namespace lb::summaries {

// Called once at start-up (app/main.cpp): the six document-kind summaries ("Tfrouttotal",
// ...), the customer and supplier summaries and statements and the journal ("Tfrcusttotal",
// ..., "Tfrbanktotal"), and the product history "Tfrdetail", which the product list's pop-up
// opens for its current product.
void registerSummaryWindows();

} // namespace lb::summaries
