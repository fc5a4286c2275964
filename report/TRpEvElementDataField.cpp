// A dataset field named in a report expression: reading it by its declared type.
#include "report/TRpEvElementDataField.h"

#include "platform/db/DataSet.h"
#include "platform/sys/Errors.h"
#include "report/TRpEvMessages.h"

namespace lb::report {

TRpEvElementDataField::TRpEvElementDataField(lb::db::DataSet* dataSet, const QString& fieldName,
                                             const QString& written)
    : dataSet_(dataSet), fieldName_(fieldName), written_(written)
{
}

void TRpEvElementDataField::value(TRpFiFo&, TRpEvResult& result)
{
    lb::db::Field* field = dataSet_ ? dataSet_->findField(fieldName_) : nullptr;
    if (!field) {
        result.setError(rpFormat(msg::UnknownFunction, written_));
        return;
    }
    try {
        switch (field->dataType()) {
        case lb::db::FieldType::Text:
        case lb::db::FieldType::Date:
        case lb::db::FieldType::DateTime:
            result.kind = rkString;
            result.setStrValue(field->asString());
            break;
        case lb::db::FieldType::Integer:
            result.kind = rkInteger;
            // Wider values wrap to the evaluator's 32-bit integers.
            result.intValue = static_cast<qint32>(static_cast<quint32>(field->asInteger()));
            break;
        case lb::db::FieldType::Float:
            result.kind = rkDouble;
            result.doubleValue = field->asFloat();
            break;
        case lb::db::FieldType::Boolean:
            result.kind = rkBoolean;
            result.boolValue = field->asBoolean();
            break;
        case lb::db::FieldType::Memo:
            result.setError(rpFormat(msg::FieldUnknownType, field->fieldName()));
            break;
        }
    } catch (const lb::Error& e) {
        result.setError(e.message());
    }
}

} // namespace lb::report
