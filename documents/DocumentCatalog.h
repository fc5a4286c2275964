// The configuration of every document window, by its class name.
#pragma once

#include "documents/EntryFormConfig.h"

#include <QString>

// A window's quirks are entries here, not code: the entry form, list and posted view frames
// take their boxes, columns, keys and texts from these configurations.
class DocumentCatalog {
public:
    // "Tfroutdetail": the sales entry form.
    static EntryFormConfig salesEntryForm();
};
