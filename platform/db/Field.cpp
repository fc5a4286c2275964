// A field of a dataset: conversions between the stored value and the typed reads and writes.
#include "platform/db/Field.h"

#include "platform/db/DataSet.h"
#include "platform/db/Statement.h"
#include "platform/sys/Errors.h"
#include "platform/sys/ExactAmount.h"
#include "platform/sys/TextFormat.h"

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

namespace lb::db {

namespace {

const QString dateFormat = QStringLiteral("yyyy-MM-dd");
const QString dateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

bool isNullValue(const QVariant& raw)
{
    return !raw.isValid() || raw.isNull();
}

bool isText(const QVariant& raw)
{
    return raw.typeId() == QMetaType::QString;
}

bool isTextType(FieldType type)
{
    return type == FieldType::Text || type == FieldType::Memo;
}

// Stored empty text in a column that is no text column reads as null.
bool readsAsNull(const FieldDef& def, const QVariant& raw)
{
    if (isNullValue(raw))
        return true;
    return !isTextType(def.type) && isText(raw) && raw.toString().trimmed().isEmpty();
}

// Reads are lenient: other programs may have written anything into the file, and a value that
// does not fit its column reads as zero, false or no date rather than raising where a grid
// paints or a total is added up. Writes stay strict (see Field::setValue).
double toFloat(const FieldDef& def, const QVariant& raw)
{
    if (readsAsNull(def, raw))
        return 0;
    if (isText(raw)) {
        double value = 0;
        return fmt::tryStrToFloat(raw.toString(), value) ? value : 0;
    }
    return raw.toDouble();
}

// A double as a whole number; NaN and values beyond 64 bits (whose conversion the language
// leaves undefined) give 0.
qint64 roundToInteger(double value)
{
    const double rounded = std::nearbyint(value);
    constexpr double limit = 9223372036854775808.0; // 2^63
    return std::isfinite(rounded) && rounded >= -limit && rounded < limit ? qint64(rounded) : 0;
}

qint64 toInteger(const FieldDef& def, const QVariant& raw)
{
    if (readsAsNull(def, raw))
        return 0;
    if (raw.typeId() == QMetaType::Double)
        return roundToInteger(raw.toDouble());
    if (isText(raw)) {
        qint64 value = 0;
        if (fmt::tryStrToInt(raw.toString().trimmed(), value))
            return value;
        return roundToInteger(toFloat(def, raw));
    }
    return raw.toLongLong();
}

std::optional<bool> parseBoolean(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    const QChar c = t[0].toUpper();
    if (c == QLatin1Char('T') || c == QLatin1Char('Y') || t == QLatin1String("1") || t == QLatin1String("-1"))
        return true;
    if (c == QLatin1Char('F') || c == QLatin1Char('N') || t == QLatin1String("0"))
        return false;
    return std::nullopt;
}

bool toBooleanStrict(const QString& text)
{
    const std::optional<bool> value = parseBoolean(text);
    if (!value)
        throw ConvertError(QStringLiteral("'%1' is not a valid boolean value").arg(text));
    return *value;
}

bool toBoolean(const FieldDef& def, const QVariant& raw)
{
    if (readsAsNull(def, raw))
        return false;
    if (isText(raw))
        return parseBoolean(raw.toString()).value_or(false);
    return raw.toDouble() != 0;
}

QDate toDate(const FieldDef& def, const QVariant& raw)
{
    if (readsAsNull(def, raw))
        return QDate();
    if (raw.typeId() == QMetaType::QDate)
        return raw.toDate();
    const QString text = raw.toString().trimmed();
    QDate date = QDate::fromString(text.left(10), dateFormat);
    if (!date.isValid())
        fmt::tryStrToDate(text, date);
    return date;
}

QDateTime toDateTime(const FieldDef& def, const QVariant& raw)
{
    if (readsAsNull(def, raw))
        return QDateTime();
    const QString text = raw.toString().trimmed();
    QDateTime value = QDateTime::fromString(text, dateTimeFormat);
    if (value.isValid())
        return value;
    const QDate date = QDate::fromString(text, dateFormat);
    if (date.isValid())
        return date.startOfDay();
    try {
        return fmt::strToDateTime(text);
    } catch (const ConvertError&) {
        return QDateTime();
    }
}

QString toText(const FieldDef& def, const QVariant& raw)
{
    if (isNullValue(raw))
        return QString();
    switch (def.type) {
    case FieldType::Text:
    case FieldType::Memo:
        if (raw.typeId() == QMetaType::Double)
            return fmt::floatToStr(raw.toDouble());
        return raw.toString();
    case FieldType::Integer:
        return readsAsNull(def, raw) ? QString() : QString::number(toInteger(def, raw));
    case FieldType::Float:
        return readsAsNull(def, raw) ? QString() : fmt::floatToStr(toFloat(def, raw));
    case FieldType::Boolean:
        return toBoolean(def, raw) ? QStringLiteral("True") : QStringLiteral("False");
    case FieldType::Date:
        return readsAsNull(def, raw) ? QString() : fmt::dateToStr(toDate(def, raw));
    case FieldType::DateTime:
        return readsAsNull(def, raw) ? QString() : fmt::dateTimeToStr(toDateTime(def, raw));
    }
    return QString();
}

QString toDisplay(const FieldDef& def, const QVariant& raw)
{
    if ((def.type == FieldType::Float || def.type == FieldType::Integer) && !def.displayFormat.isEmpty()) {
        if (readsAsNull(def, raw))
            return QString();
        return fmt::formatFloat(def.displayFormat, toFloat(def, raw));
    }
    return toText(def, raw);
}

// A date stored as the layer writes it, 'yyyy-MM-dd' and nothing else, read without Qt's parser
// of date formats, which a list printing a year of lines would run for every one of them.
std::optional<QDate> storedIsoDate(const char* text, qsizetype bytes)
{
    if (bytes != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    int parts[3] = {};
    const int starts[3] = {0, 5, 8};
    const int ends[3] = {4, 7, 10};
    for (int p = 0; p < 3; ++p) {
        for (int i = starts[p]; i < ends[p]; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return std::nullopt;
            parts[p] = parts[p] * 10 + (text[i] - '0');
        }
    }
    const QDate date(parts[0], parts[1], parts[2]);
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

// The text a non-text value gets when it is written into a text column.
QString textOfValue(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return fmt::floatToStr(value.toDouble());
    case QMetaType::QDate:
        return fmt::dateToStr(value.toDate());
    case QMetaType::QDateTime:
        return fmt::dateTimeToStr(value.toDateTime());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return value.toString();
    }
}

[[noreturn]] void invalidConversion(const FieldDef& def, const QVariant& value)
{
    throw ConvertError(QStringLiteral("Invalid value '%1' for field '%2'").arg(value.toString(), def.name));
}

[[noreturn]] void outOfRange(const FieldDef& def, double value, const QString& lowest, const QString& highest)
{
    throw ConvertError(QStringLiteral("%1 is not a valid value for field '%2'. The allowed range is %3 to %4")
                           .arg(fmt::floatToStr(value), def.name, lowest, highest));
}

// Integer columns are long integers: a value outside their range is refused rather than
// stored, as the windows and reports that read it hold it in 32 bits and would wrap it.
template <typename Number>
qint64 inIntegerRange(const FieldDef& def, Number value)
{
    constexpr qint64 lowest = std::numeric_limits<qint32>::min();
    constexpr qint64 highest = std::numeric_limits<qint32>::max();
    if (!(value >= Number(lowest) && value <= Number(highest)))
        outOfRange(def, double(value), QString::number(lowest), QString::number(highest));
    return qint64(value);
}

// Number columns hold money and quantities: Inf, NaN and figures too large to keep whole cents
// are refused rather than stored, where every later sum would inherit them.
double exactAmount(const FieldDef& def, double value)
{
    if (!isExactAmount(value))
        outOfRange(def, value, fmt::floatToStr(-kMaxExactAmount), fmt::floatToStr(kMaxExactAmount));
    return value;
}

} // namespace

Field::Field(DataSet& owner, FieldDef def, int column)
    : owner_(owner), def_(std::move(def)), column_(column)
{
}

Field::~Field() = default;

void Field::setDisplayFormat(const QString& format)
{
    owner_.setDisplayFormat(def_.name, format);
}

void Field::setDisplayLabel(const QString& label)
{
    owner_.setDisplayLabel(def_.name, label);
}

QVariant Field::raw() const
{
    return owner_.columnValue(column_);
}

bool Field::isNull() const
{
    return readsAsNull(def_, raw());
}

QVariant Field::value() const
{
    const QVariant stored = raw();
    if (readsAsNull(def_, stored))
        return QVariant();
    switch (def_.type) {
    case FieldType::Text:
    case FieldType::Memo:
        return toText(def_, stored);
    case FieldType::Integer:
        return toInteger(def_, stored);
    case FieldType::Float:
        return toFloat(def_, stored);
    case FieldType::Boolean:
        return toBoolean(def_, stored);
    case FieldType::Date:
        return toDate(def_, stored);
    case FieldType::DateTime:
        return toDateTime(def_, stored);
    }
    return QVariant();
}

struct Field::NumberTexts {
    struct Text {
        quint64 bits = 0;
        bool made = false;
        bool formatted = false;
        QString text;
    };
    QString format; // the display format the formatted texts were made with
    std::array<Text, 64> texts;
};

QString Field::numberText(double value, bool display) const
{
    const bool formatted = display && !def_.displayFormat.isEmpty();
    if (!numberTexts_)
        numberTexts_ = std::make_unique<NumberTexts>();
    if (formatted && numberTexts_->format != def_.displayFormat) {
        *numberTexts_ = NumberTexts{};
        numberTexts_->format = def_.displayFormat;
    }
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    NumberTexts::Text& slot = numberTexts_->texts[size_t((bits * 0x9E3779B97F4A7C15ull) >> 58)];
    if (!slot.made || slot.bits != bits || slot.formatted != formatted)
        slot = {bits, true, formatted, formatted ? fmt::formatFloat(def_.displayFormat, value) : fmt::floatToStr(value)};
    return slot.text;
}

bool Field::storedText(const RowValues::Stored& cell, bool display, QString& text) const
{
    using Stored = RowValues::Stored;
    if (cell.kind == Stored::Null) {
        text = QString();
        return true;
    }
    switch (def_.type) {
    case FieldType::Text:
    case FieldType::Memo:
        if (cell.kind != Stored::Text)
            return false;
        text = QString::fromUtf8(cell.utf8, cell.bytes);
        return true;
    case FieldType::Integer:
        if (cell.kind != Stored::Integer) // a fraction is rounded by the general conversion
            return false;
        text = display && !def_.displayFormat.isEmpty() ? numberText(double(cell.integer), true) : QString::number(cell.integer);
        return true;
    case FieldType::Float:
        if (cell.kind != Stored::Integer && cell.kind != Stored::Real)
            return false;
        text = numberText(cell.kind == Stored::Real ? cell.real : double(cell.integer), display);
        return true;
    case FieldType::Date:
        if (cell.kind != Stored::Text || !storedIsoDate(cell.utf8, cell.bytes))
            return false;
        text = QString::fromLatin1(cell.utf8, cell.bytes); // what dateToStr makes of that date
        return true;
    case FieldType::Boolean:
    case FieldType::DateTime:
        return false;
    }
    return false;
}

// The reads a list, a grid or a print does on every row take the stored text or number as it
// lies in the row; anything else (a value assigned since, text in a number column, a number in a
// text column) goes through the QVariant and the general conversions.
QString Field::textOfRow(int row, bool display) const
{
    const RowValues* values = owner_.rowValues(row, column_);
    QString text;
    if (values && storedText(values->stored(size_t(column_)), display, text))
        return text;
    const QVariant stored = values ? values->at(size_t(column_)) : QVariant();
    return display ? toDisplay(def_, stored) : toText(def_, stored);
}

QString Field::asString() const
{
    return textOfRow(owner_.current_, false);
}

RowValues::Stored Field::stored() const
{
    if (const RowValues* row = owner_.currentValues(column_))
        return row->stored(size_t(column_));
    RowValues::Stored cell;
    cell.kind = RowValues::Stored::Null;
    return cell;
}

double Field::asFloat() const
{
    if (const RowValues* row = owner_.currentValues(column_)) {
        const RowValues::Stored cell = row->stored(size_t(column_));
        switch (cell.kind) {
        case RowValues::Stored::Null:
            return 0;
        case RowValues::Stored::Integer:
            return double(cell.integer);
        case RowValues::Stored::Real:
            return cell.real;
        default:
            break;
        }
    }
    return toFloat(def_, raw());
}

qint64 Field::asInteger() const { return toInteger(def_, raw()); }
bool Field::asBoolean() const { return toBoolean(def_, raw()); }
QDate Field::asDate() const { return toDate(def_, raw()); }
QDateTime Field::asDateTime() const { return toDateTime(def_, raw()); }
QString Field::displayText() const { return textOfRow(owner_.current_, true); }

QString Field::displayTextAt(int row) const
{
    return textOfRow(row, true);
}

QString Field::textAt(int row) const { return textOfRow(row, false); }

bool Field::booleanAt(int row) const { return toBoolean(def_, owner_.rowValue(row, column_)); }

bool Field::matches(int row, const QVariant& value, bool caseInsensitive, bool partial) const
{
    const QVariant stored = owner_.rowValue(row, column_);
    const bool storedNull = readsAsNull(def_, stored);
    if (isNullValue(value))
        return storedNull;
    if (storedNull)
        return false;
    try {
        switch (def_.type) {
        case FieldType::Text:
        case FieldType::Memo: {
            const QString have = toText(def_, stored);
            const QString want = textOfValue(value);
            const Qt::CaseSensitivity cs = caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
            return partial ? have.startsWith(want, cs) : have.compare(want, cs) == 0;
        }
        case FieldType::Integer:
        case FieldType::Float: {
            const double want = isText(value) ? fmt::strToFloat(value.toString()) : value.toDouble();
            return toFloat(def_, stored) == want;
        }
        case FieldType::Boolean:
            return toBoolean(def_, stored) == (isText(value) ? toBooleanStrict(value.toString()) : value.toBool());
        case FieldType::Date:
            return toDate(def_, stored) == (isText(value) ? fmt::strToDate(value.toString()) : value.toDate());
        case FieldType::DateTime:
            return toDateTime(def_, stored)
                == (isText(value) ? fmt::strToDateTime(value.toString()) : value.toDateTime());
        }
    } catch (const ConvertError&) {
        return false; // a value of another kind matches no row
    }
    return false;
}

void Field::store(const QVariant& stored)
{
    owner_.setColumnValue(column_, stored);
    if (onChange_)
        onChange_(*this);
}

void Field::setValue(const QVariant& value)
{
    if (isNullValue(value)) {
        clear();
        return;
    }
    if (isText(value) && !isTextType(def_.type)) {
        setAsString(value.toString());
        return;
    }
    switch (def_.type) {
    case FieldType::Text:
    case FieldType::Memo: {
        QString text = textOfValue(value);
        if (def_.type == FieldType::Text && def_.size > 0 && text.size() > def_.size) {
            // Half a surrogate pair would be stored as a replacement character: drop it whole.
            text.truncate(text.at(def_.size - 1).isHighSurrogate() ? def_.size - 1 : def_.size);
        }
        store(text);
        return;
    }
    case FieldType::Integer:
        if (value.typeId() == QMetaType::Bool)
            store(qint64(value.toBool() ? 1 : 0));
        else if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
            store(inIntegerRange(def_, std::nearbyint(value.toDouble())));
        else if (isNumberValue(value))
            store(inIntegerRange(def_, value.toLongLong()));
        else
            invalidConversion(def_, value);
        return;
    case FieldType::Float:
        if (isNumberValue(value) || value.typeId() == QMetaType::Bool)
            store(exactAmount(def_, value.toDouble()));
        else
            invalidConversion(def_, value);
        return;
    case FieldType::Boolean:
        if (isNumberValue(value) || value.typeId() == QMetaType::Bool)
            store(qint64(value.toDouble() != 0 ? 1 : 0));
        else
            invalidConversion(def_, value);
        return;
    case FieldType::Date:
        if (value.typeId() == QMetaType::QDate && value.toDate().isValid())
            store(value.toDate().toString(dateFormat));
        else if (value.typeId() == QMetaType::QDateTime && value.toDateTime().isValid())
            store(value.toDateTime().date().toString(dateFormat));
        else
            invalidConversion(def_, value);
        return;
    case FieldType::DateTime:
        if (value.typeId() == QMetaType::QDateTime && value.toDateTime().isValid())
            store(value.toDateTime().toString(dateTimeFormat));
        else if (value.typeId() == QMetaType::QDate && value.toDate().isValid())
            store(value.toDate().startOfDay().toString(dateTimeFormat));
        else
            invalidConversion(def_, value);
        return;
    }
}

void Field::setAsString(const QString& value)
{
    if (isTextType(def_.type)) {
        setValue(value);
        return;
    }
    // Empty text clears a number, date or Yes/No field, as typing nothing into a cell does.
    if (value.trimmed().isEmpty()) {
        clear();
        return;
    }
    switch (def_.type) {
    case FieldType::Integer:
        setValue(fmt::strToInt(value.trimmed()));
        return;
    case FieldType::Float:
        setValue(parseNumber(value));
        return;
    case FieldType::Boolean:
        setValue(toBooleanStrict(value));
        return;
    case FieldType::Date:
        setValue(fmt::strToDate(value.trimmed()));
        return;
    case FieldType::DateTime:
        setValue(fmt::strToDateTime(value.trimmed()));
        return;
    default:
        return;
    }
}

double Field::parseNumber(const QString& text)
{
    const double number = fmt::strToFloat(text);
    // A figure too large to keep whole cents is refused as text that is no number is.
    if (!isExactAmount(number))
        throw ConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return number;
}

void Field::setAsFloat(double value) { setValue(value); }
void Field::setAsInteger(qint64 value) { setValue(value); }
void Field::setAsBoolean(bool value) { setValue(value); }
void Field::setAsDate(const QDate& value) { setValue(value.isValid() ? QVariant(value) : QVariant()); }
void Field::setAsDateTime(const QDateTime& value) { setValue(value.isValid() ? QVariant(value) : QVariant()); }

void Field::clear()
{
    store(QVariant());
}

void Field::setText(const QString& text)
{
    if (onSetText_)
        onSetText_(*this, text);
    else
        setAsString(text);
}

} // namespace lb::db
