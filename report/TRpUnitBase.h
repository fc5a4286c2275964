// Measures kept in tenths of a millimetre ("Native") and read and written in a chosen unit.
#pragma once

#include <vector>

namespace lb::report {

enum class TRpUnit { MM, Inches, Pixels, Characters, Native };

// Base of the band size, the page and the printable size: stored values are native (tenths of
// a millimetre); the accessors of the derived classes read and write them in `Units`.
class TRpUnitBase {
public:
    // `pixelsPerInch` is the screen's; the engine lays pages out at 96.
    explicit TRpUnitBase(double pixelsPerInch = 96);
    virtual ~TRpUnitBase() = default;

    // The measurement system read once when the engine starts (the U.S. system means inches);
    // new unit objects start in Inches under it and in MM otherwise.
    static bool InchSystem();
    static void SetInchSystem(bool inches);

    // Value `v` in native units expressed in `unit`, and the reverse. `horizontal` matters only
    // for Characters, whose width and height differ.
    double FromNative(TRpUnit unit, bool horizontal, double v) const;
    double ToNative(TRpUnit unit, bool horizontal, double v) const;

    TRpUnit Units() const { return units_; }
    void SetUnits(TRpUnit units) { units_ = units; }
    double PixelsPerInch() const { return pixelsPerInch_; }
    // Percent; Pixels scale with it. Only 1 to 300 is taken: other values keep the old zoom.
    int Zoom() const { return zoom_; }
    void SetZoom(int zoom)
    {
        if (zoom >= 1 && zoom <= 300)
            zoom_ = zoom;
    }
    // Absolute font size (points) of the sized control's parent, for Characters.
    double FontSize() const { return fontSize_; }
    void SetFontSize(double size) { fontSize_ = size; }

    // The stored "Values", native, in index order.
    const std::vector<double>& Values() const { return values_; }
    void SetValues(const std::vector<double>& values);

protected:
    TRpUnitBase(double pixelsPerInch, std::vector<double> values);
    double Get(int index, bool horizontal) const { return FromNative(units_, horizontal, values_[index]); }
    void Set(int index, bool horizontal, double v) { values_[index] = ToNative(units_, horizontal, v); }

    std::vector<double> values_;

private:
    double CharacterSize(bool horizontal) const;

    double pixelsPerInch_;
    TRpUnit units_;
    int zoom_ = 100;
    double fontSize_ = 10;
};

} // namespace lb::report
