// Moving the rows of one external table into another, field by field in order.
#include "platform/office/BatchMove.h"

#include "platform/sys/TextFormat.h"

#include <QDate>
#include <cmath>
#include <optional>

namespace lb::office {

namespace {

bool isNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double: return true;
    default: return false;
    }
}

QString textOf(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("T") : QStringLiteral("F");
    if (value.typeId() == QMetaType::QDate)
        return lb::fmt::dateToStr(value.toDate());
    if (isNumber(value))
        return lb::fmt::floatToStr(value.toDouble());
    return value.toString();
}

std::optional<double> numberOf(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? 1.0 : 0.0;
    if (isNumber(value))
        return value.toDouble();
    if (value.typeId() == QMetaType::QString) {
        double number = 0;
        if (lb::fmt::tryStrToFloat(value.toString().trimmed(), number))
            return number;
    }
    return std::nullopt;
}

} // namespace

QVariant BatchMove::convert(const QVariant& value, const ExternalField& field)
{
    if (!value.isValid())
        return {};
    switch (field.type) {
    case ExternalFieldType::Text: return textOf(value);
    case ExternalFieldType::Number: {
        const auto number = numberOf(value);
        return number ? QVariant(*number) : QVariant();
    }
    case ExternalFieldType::Integer: {
        const auto number = numberOf(value);
        if (!number || !std::isfinite(*number) || std::fabs(*number) > 9.0e18)
            return {};
        return qint64(std::llround(*number));
    }
    case ExternalFieldType::Logical: {
        if (value.typeId() == QMetaType::Bool)
            return value.toBool();
        if (const auto number = numberOf(value))
            return *number != 0;
        const QString text = value.toString().trimmed().toUpper();
        if (text == QLatin1String("T") || text == QLatin1String("Y") || text == QLatin1String("TRUE"))
            return true;
        if (text == QLatin1String("F") || text == QLatin1String("N") || text == QLatin1String("FALSE"))
            return false;
        return {};
    }
    case ExternalFieldType::Date: {
        if (value.typeId() == QMetaType::QDate)
            return value;
        QDate date;
        if (lb::fmt::tryStrToDate(value.toString().trimmed(), date))
            return date;
        return {};
    }
    }
    return {};
}

int BatchMove::append(const ExternalTable& source, ExternalTable& destination)
{
    const size_t width = destination.fields.size();
    for (const std::vector<QVariant>& from : source.rows) {
        std::vector<QVariant> row(width);
        for (size_t i = 0; i < width && i < from.size(); ++i)
            row[i] = convert(from[i], destination.fields[i]);
        destination.rows.push_back(std::move(row));
    }
    return int(source.rows.size());
}

} // namespace lb::office
