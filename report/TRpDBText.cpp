// Database text: the field's display text, masked numbers and dates, memo lines.
#include "report/TRpDBText.h"

#include "platform/db/DataSet.h"
#include "platform/sys/TextFormat.h"

namespace lb::report {

void TRpDBText::SetDataField(const QString& field)
{
    dataField_ = field;
    SetCaptionText(field);
}

void TRpDBText::Prepare()
{
    TRpCustomLabel::Prepare();
    fieldIndex_ = -1;
    memo_ = false;
    if (dataSet_ && dataSet_->active() && !dataField_.isEmpty()) {
        for (int i = 0; i < dataSet_->fieldCount(); ++i) {
            if (dataSet_->field(i).fieldName().compare(dataField_, Qt::CaseInsensitive) == 0) {
                fieldIndex_ = i;
                foundName_ = dataSet_->field(i).fieldName();
                memo_ = dataSet_->field(i).dataType() == db::FieldType::Memo;
                break;
            }
        }
    }
}

void TRpDBText::Unprepare()
{
    TRpCustomLabel::Unprepare();
    fieldIndex_ = -1;
    foundName_.clear();
    SetCaptionText(dataField_.isEmpty() ? Name() : dataField_);
}

db::Field* TRpDBText::CurrentField() const
{
    if (fieldIndex_ < 0 || !dataSet_ || !dataSet_->active())
        return nullptr;
    // A dataset reopened during the run (a detail query following its master) has new fields:
    // the index is checked against the name and the field looked up again when it moved.
    if (fieldIndex_ < dataSet_->fieldCount()) {
        const QString& name = dataSet_->field(fieldIndex_).fieldName();
        // The field found still shares the name held from it (the same characters at the same
        // address, which nothing can change while it is held), cheaper to see than comparing
        // them for every record; a field made since is compared by its name.
        const bool found = name.constData() == foundName_.constData() && name.size() == foundName_.size();
        if (found || name.compare(dataField_, Qt::CaseInsensitive) == 0)
            return &dataSet_->field(fieldIndex_);
    }
    return dataSet_->findField(dataField_);
}

void TRpDBText::ProduceText()
{
    db::Field* field = CurrentField();
    if (!field) {
        Lines.clear();
        SetPrintCaption(QString());
        return;
    }
    if (memo_) {
        Lines = field->asString().split(QLatin1Char('\n'));
        for (QString& line : Lines) {
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
        }
        SetPrintCaption(QString());
        return;
    }
    const bool number = field->dataType() == db::FieldType::Integer || field->dataType() == db::FieldType::Float;
    if (Mask.isEmpty() || field->dataType() == db::FieldType::Text) {
        SetPrintCaption(field->displayText(), number);
        return;
    }
    switch (field->dataType()) {
    case db::FieldType::Integer:
    case db::FieldType::Float:
        SetPrintCaption(fmt::formatFloat(Mask, field->asFloat()), true);
        break;
    case db::FieldType::Date:
    case db::FieldType::DateTime:
        SetPrintCaption(field->isNull() ? QString() : fmt::formatDateTime(Mask, field->asDateTime()));
        break;
    default:
        break; // no masked form: the previous text stays
    }
}

double TRpDBText::NeededHeight()
{
    ProduceText();
    FormatLines();
    return LineCount() * LineHeight();
}

} // namespace lb::report
