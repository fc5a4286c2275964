// Printing a document through its kind's layout, from its entry form or its posted view.
#pragma once

#include "documents/DocumentKinds.h"

#include <QString>

namespace lb::db {
class Query;
}

namespace lb::documents {

class DocumentPrinting {
public:
    // The layout of a kind ("Tfrroutdetail" for sales).
    static QString layoutOf(BillKind kind);

    // Prints document `intno` of `kind`: its header is the current row of the shared header
    // dataset, its lines are `lines`. A sales document prints without its carry-over line,
    // numbered from its first product line, with the page count as digits; the other kinds
    // print every line with "共  N 页"; the sales return heads its specification column by the
    // barcode option. Whatever happens, `lines` afterwards holds all the document's lines in
    // number order with the line current before still current.
    static void print(const DocumentKind& kind, const QString& intno, lb::db::Query& lines);
};

} // namespace lb::documents
