// A dataset field named in a report expression: yields the field's value in the current row.
#pragma once

#include "report/TRpEvElement.h"

#include <QPointer>

namespace lb::db {
class DataSet;
}

namespace lb::report {

class TRpEvElementDataField : public TRpEvElement {
public:
    // `dataSet` is not owned. `fieldName` is the field's name in the dataset; `written` the
    // name as the expression has it, for messages.
    TRpEvElementDataField(lb::db::DataSet* dataSet, const QString& fieldName, const QString& written);

    // The field is looked up by name on every evaluation, so that a dataset reopened since
    // compilation (whose fields were rebuilt) is read correctly. Text fields give rkString,
    // integer fields rkInteger, float fields rkDouble, Yes/No fields rkBoolean, date and
    // date-time fields rkString with the field's text; memo fields give the error
    // "Field %s is of unknown type". A field or dataset gone since compilation gives
    // "Unknown function : %s" with the name as written; a failed read gives its message.
    void value(TRpFiFo& queue, TRpEvResult& result) override;

private:
    QPointer<lb::db::DataSet> dataSet_;
    QString fieldName_;
    QString written_;
};

} // namespace lb::report
