// A calibration: how many pixels of a picture make one unit of length
// (nm, µm or mm). Without one every value is in pixels.
#pragma once

#include <optional>

#include <QString>

namespace kxvm {

enum class LengthUnit { Pixel, Nanometre, Micrometre, Millimetre };

struct Calibration {
    QString name;
    double pixelsPerUnit = 1.0;
    LengthUnit unit = LengthUnit::Pixel;

    bool IsCalibrated() const { return unit != LengthUnit::Pixel && pixelsPerUnit > 0; }
    // Pixels to the unit; areas with the square.
    double Length(double pixels) const;
    double Area(double squarePixels) const;
    // Micrometres per pixel; 0 without a calibration.
    double MicronsPerPixel() const;
    // From "this many pixels are this long in that unit"; nothing for a
    // length or a pixel count that is not a positive finite number.
    static std::optional<Calibration> FromLine(const QString& name, double pixels, double length,
                                               LengthUnit unit);
    // From a picture's pixel size in micrometres.
    static std::optional<Calibration> FromMicronsPerPixel(const QString& name, double micronsPerPixel);
    bool operator==(const Calibration&) const = default;
};

// "px", "nm", "µm", "mm"; and back (the ASCII "um" is accepted as well).
QString UnitName(LengthUnit unit);
std::optional<LengthUnit> UnitFromName(const QString& name);
// Micrometres in one unit (pixels: 0).
double MicronsPerUnit(LengthUnit unit);

// The scale bar: the largest 1, 2 or 5 times a power of ten that is at most
// `maxLength` (in the calibrated unit); 0 for nothing positive.
double RoundScaleLength(double maxLength);

// A value for the user: about four significant digits, no exponent for
// everyday magnitudes.
QString FormatValue(double value);

} // namespace kxvm
