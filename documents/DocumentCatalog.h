// The configuration of every document window, by its class name.
#pragma once

#include "documents/DocumentListConfig.h"
#include "documents/EntryFormConfig.h"
#include "documents/PostedViewConfig.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace lb::documents {

// A window's quirks are entries here, not code: the entry form, list and posted view frames
// take their boxes, columns, keys and texts from these configurations.
class DocumentCatalog {
public:
    // "Tfroutdetail": the sales entry form.
    static EntryFormConfig salesEntryForm();
    // "Tfrindetail": the purchase entry form.
    static EntryFormConfig purchaseEntryForm();
    // "Tfrgetdetail": the receipt entry form.
    static EntryFormConfig receiptEntryForm();
    // "Tfroutbackdetail", "Tfrinbackdetail": the sales-return and purchase-return entry forms.
    static EntryFormConfig salesReturnEntryForm();
    static EntryFormConfig purchaseReturnEntryForm();
    // "Tfrputdetail": the payment entry form.
    static EntryFormConfig paymentEntryForm();
    // "Tfrdhdetail": the purchase-order entry form.
    static EntryFormConfig orderEntryForm();
    // "Tfrfoutdetail": the posted sales view.
    static PostedViewConfig salesPostedView();
    // "Tfroutlist": the sales list, opening the sales entry form and posted view.
    static DocumentListConfig salesList();
    // The posted views of the other kinds ("Tfrfgetdetail", "Tfrfputdetail", "Tfrfindetail",
    // "Tfrfoutbackdetail", "Tfrfinbackdetail", "Tfrfdhdetail").
    static PostedViewConfig receiptPostedView();
    static PostedViewConfig paymentPostedView();
    static PostedViewConfig purchasePostedView();
    static PostedViewConfig salesReturnPostedView();
    static PostedViewConfig purchaseReturnPostedView();
    static PostedViewConfig orderPostedView();
    // Every kind's list ("Tfroutlist", "Tfrgetlist", "Tfrinlist", "Tfrinbacklist",
    // "Tfroutbacklist", "Tfrputlist", "Tfrdhlist") with the entry form and posted view it opens.
    static std::vector<DocumentListConfig> lists();
    // The posted views' class names, and the configuration of one; lb::Error for another name.
    static QStringList postedViewKeys();
    static PostedViewConfig postedView(const QString& key);

    // The entry forms' class names, and the configuration of one; lb::Error for another name.
    static QStringList entryFormKeys();
    static EntryFormConfig entryForm(const QString& key);
};

} // namespace lb::documents
