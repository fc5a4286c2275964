// Unit conversions between native tenths of a millimetre and the report's units.
#include "report/TRpUnitBase.h"

#include <QLocale>

#include <cmath>
#include <optional>

namespace lb::report {

namespace {

std::optional<bool>& inchSystem()
{
    static std::optional<bool> value;
    return value;
}

} // namespace

bool TRpUnitBase::InchSystem()
{
    if (!inchSystem())
        inchSystem() = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    return *inchSystem();
}

void TRpUnitBase::SetInchSystem(bool inches)
{
    inchSystem() = inches;
}

TRpUnitBase::TRpUnitBase(double pixelsPerInch) : TRpUnitBase(pixelsPerInch, {}) {}

TRpUnitBase::TRpUnitBase(double pixelsPerInch, std::vector<double> values)
    : values_(std::move(values)), pixelsPerInch_(pixelsPerInch),
      units_(InchSystem() ? TRpUnit::Inches : TRpUnit::MM)
{
}

void TRpUnitBase::SetValues(const std::vector<double>& values)
{
    // A shorter list (older layouts) leaves the remaining values; extra values are ignored.
    for (size_t i = 0; i < values.size() && i < values_.size(); ++i)
        values_[i] = values[i];
}

double TRpUnitBase::CharacterSize(bool horizontal) const
{
    const double size = std::abs(fontSize_) > 0 ? std::abs(fontSize_) : 10;
    return (horizontal ? 80.0 : 145.3) / size / 2.54;
}

double TRpUnitBase::FromNative(TRpUnit unit, bool horizontal, double v) const
{
    switch (unit) {
    case TRpUnit::MM: return v / 10;
    case TRpUnit::Inches: return v / 254;
    case TRpUnit::Pixels: return v / (254 / pixelsPerInch_) * zoom_ / 100;
    case TRpUnit::Characters: return v / CharacterSize(horizontal) / 10;
    case TRpUnit::Native: break;
    }
    return v;
}

double TRpUnitBase::ToNative(TRpUnit unit, bool horizontal, double v) const
{
    switch (unit) {
    case TRpUnit::MM: return v * 10;
    case TRpUnit::Inches: return v * 254;
    case TRpUnit::Pixels: return 254 / pixelsPerInch_ * v / zoom_ * 100;
    case TRpUnit::Characters: return CharacterSize(horizontal) * v * 10;
    case TRpUnit::Native: break;
    }
    return v;
}

} // namespace lb::report
