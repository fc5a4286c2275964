// A field of a dataset: one column of the current row, typed by the column's declared type.
#pragma once

#include "platform/db/RowValues.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

namespace lb::db {

class DataSet;

// Declared column types. Text(n)/Memo are text, Double is Float, Long and Counter are Integer,
// Yes/No is Boolean, Date/Time is Date (day only) or DateTime (with time of day).
enum class FieldType { Text, Memo, Integer, Float, Boolean, Date, DateTime };

// What a persistent field list declares, or what the layer derives from a column.
struct FieldDef {
    QString name;
    FieldType type = FieldType::Text;
    int size = 0;             // characters, for Text; 0 otherwise
    QString displayLabel;     // grid title; empty: the name
    QString displayFormat;    // number mask ("0.00", "#.##", "0,.00", ...); empty: plain text
};

// A field lives as long as its dataset holds the same field list (until the dataset is
// reopened with other SQL, or closed when it has no persistent fields). Owned by its dataset.
class Field {
public:
    Field(DataSet& owner, FieldDef def, int column);
    ~Field();
    Field(const Field&) = delete;
    Field& operator=(const Field&) = delete;

    const QString& fieldName() const { return def_.name; }
    FieldType dataType() const { return def_.type; }
    int size() const { return def_.size; }
    DataSet& dataSet() const { return owner_; }

    QString displayLabel() const { return def_.displayLabel.isEmpty() ? def_.name : def_.displayLabel; }
    void setDisplayLabel(const QString& label); // kept by the dataset across reopenings
    const QString& displayFormat() const { return def_.displayFormat; }
    void setDisplayFormat(const QString& format); // kept by the dataset across reopenings
    bool visible() const { return visible_; }
    void setVisible(bool visible) { visible_ = visible; }

    // Reads of the current row. Null, and empty or blank text in a column that is no text
    // column, read as '', 0, false, an invalid date. Reads never raise: what another program
    // wrote that does not fit the column (text in a number column, a word in a Yes/No column)
    // reads as 0, false or an invalid date.
    bool isNull() const;
    QVariant value() const;          // null: an invalid QVariant
    // The current row's value as it was read from the database, without making a QVariant;
    // kind Other for a value assigned since.
    RowValues::Stored stored() const;
    QString asString() const;        // numbers in the 15-significant-digit form, dates "yyyy-mm-dd"
    double asFloat() const;
    qint64 asInteger() const;        // numbers rounded half to even
    bool asBoolean() const;
    QDate asDate() const;
    QDateTime asDateTime() const;
    // Text for display: the display format applied to numbers, dates "yyyy-mm-dd".
    QString displayText() const;
    // The same for any row of the dataset (0-based), for grids drawing rows other than the current.
    QString displayTextAt(int row) const;
    // asString() and asBoolean() of any row, for the text a grid cell is edited with and its
    // check box.
    QString textAt(int row) const;
    bool booleanAt(int row) const;
    // Whether the field's value in `row` equals `value` (text compared case-insensitively and
    // as a prefix when asked), as Locate compares.
    bool matches(int row, const QVariant& value, bool caseInsensitive, bool partial) const;

    // Writes into the current row; the dataset must be in Edit or Insert state
    // (DatabaseError "Dataset not in edit or insert mode" otherwise). Text longer than the
    // column is cut to its size. Strings assigned to number or date fields are converted
    // (ConvertError when they do not convert); an integer field refuses a value outside the
    // long integer range, a number field Inf, NaN and figures at or beyond lb::kMaxExactAmount
    // in magnitude (typed text as text that is no number), with ConvertError, and keeps what
    // it held.
    void setValue(const QVariant& value);
    void setAsString(const QString& value);
    void setAsFloat(double value);
    void setAsInteger(qint64 value);
    void setAsBoolean(bool value);
    void setAsDate(const QDate& value);
    void setAsDateTime(const QDateTime& value);
    void clear(); // set null

    // Text typed into a number field as its value: a decimal number below lb::kMaxExactAmount
    // in magnitude. ConvertError "'x' is not a valid floating point value" for anything else.
    static double parseNumber(const QString& text);

    // Text typed by the user (a grid cell): goes through OnSetText when one is set,
    // otherwise through setAsString.
    void setText(const QString& text);
    using SetTextHandler = std::function<void(Field&, const QString&)>;
    void setOnSetText(SetTextHandler handler) { onSetText_ = std::move(handler); }
    using ChangeHandler = std::function<void(Field&)>;
    void setOnChange(ChangeHandler handler) { onChange_ = std::move(handler); }

    const FieldDef& def() const { return def_; }
    int column() const { return column_; } // index into the row snapshot

private:
    friend class DataSet;
    QVariant raw() const;
    QString textOfRow(int row, bool display) const; // asString (displayText) of any row
    // The text toText (toDisplay with `display`) makes of the value as it lies in the row, for
    // what nearly every value of a list is: a text in a text column, a number in a number column,
    // a stored date in a date column. False where the general conversions must decide (a value
    // assigned since, a value that does not fit its column, a Yes/No value).
    bool storedText(const RowValues::Stored& cell, bool display, QString& text) const;
    // floatToStr, or formatFloat with the display format, of a number. The texts made are kept
    // in 64 slots, one chosen by a hash of the number's bits, as a list's quantities, prices
    // and zero discounts repeat from line to line and making a number's text costs more than
    // the rest of reading it: a number whose slot another took is made again, and a change of
    // the display format empties them all.
    QString numberText(double value, bool display) const;
    struct NumberTexts;
    mutable std::unique_ptr<NumberTexts> numberTexts_; // made at the first number's text
    void store(const QVariant& raw);
    DataSet& owner_;
    FieldDef def_;
    int column_;
    bool visible_ = true;
    SetTextHandler onSetText_;
    ChangeHandler onChange_;
};

} // namespace lb::db
