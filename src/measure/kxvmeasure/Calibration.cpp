#include "Calibration.h"

#include <cmath>

#include <QLocale>

namespace kxvm {

double Calibration::Length(double pixels) const {
    return IsCalibrated() ? pixels / pixelsPerUnit : pixels;
}

double Calibration::Area(double squarePixels) const {
    return IsCalibrated() ? squarePixels / (pixelsPerUnit * pixelsPerUnit) : squarePixels;
}

double Calibration::MicronsPerPixel() const {
    return IsCalibrated() ? MicronsPerUnit(unit) / pixelsPerUnit : 0.0;
}

std::optional<Calibration> Calibration::FromLine(const QString& name, double pixels, double length,
                                                 LengthUnit unit) {
    if (!(pixels > 0) || !(length > 0) || !std::isfinite(pixels) || !std::isfinite(length))
        return std::nullopt;
    if (unit == LengthUnit::Pixel) return std::nullopt;
    const double perUnit = pixels / length;
    if (!std::isfinite(perUnit) || !(perUnit > 0)) return std::nullopt;
    return Calibration{name, perUnit, unit};
}

std::optional<Calibration> Calibration::FromMicronsPerPixel(const QString& name, double micronsPerPixel) {
    if (!(micronsPerPixel > 0) || !std::isfinite(micronsPerPixel)) return std::nullopt;
    // Large pixels read better in mm, very small ones in nm.
    const LengthUnit unit = micronsPerPixel >= 100.0 ? LengthUnit::Millimetre
                            : micronsPerPixel < 0.01 ? LengthUnit::Nanometre
                                                     : LengthUnit::Micrometre;
    return FromLine(name, 1.0, micronsPerPixel / MicronsPerUnit(unit), unit);
}

QString UnitName(LengthUnit unit) {
    switch (unit) {
    case LengthUnit::Nanometre:
        return QStringLiteral("nm");
    case LengthUnit::Micrometre:
        return QStringLiteral("µm");
    case LengthUnit::Millimetre:
        return QStringLiteral("mm");
    case LengthUnit::Pixel:
        break;
    }
    return QStringLiteral("px");
}

std::optional<LengthUnit> UnitFromName(const QString& name) {
    if (name == QLatin1String("px")) return LengthUnit::Pixel;
    if (name == QLatin1String("nm")) return LengthUnit::Nanometre;
    if (name == QStringLiteral("µm") || name == QLatin1String("um")) return LengthUnit::Micrometre;
    if (name == QLatin1String("mm")) return LengthUnit::Millimetre;
    return std::nullopt;
}

double MicronsPerUnit(LengthUnit unit) {
    switch (unit) {
    case LengthUnit::Nanometre:
        return 0.001;
    case LengthUnit::Micrometre:
        return 1.0;
    case LengthUnit::Millimetre:
        return 1000.0;
    case LengthUnit::Pixel:
        break;
    }
    return 0.0;
}

double RoundScaleLength(double maxLength) {
    if (!(maxLength > 0) || !std::isfinite(maxLength)) return 0.0;
    double power = std::pow(10.0, std::floor(std::log10(maxLength)));
    // log10 may land one step off for exact powers of ten.
    if (power > maxLength) power /= 10.0;
    if (power * 10.0 <= maxLength) power *= 10.0;
    for (double step : {5.0, 2.0, 1.0})
        if (step * power <= maxLength * (1 + 1e-12)) return step * power;
    return power;
}

QString FormatValue(double value) {
    if (!std::isfinite(value)) return QStringLiteral("-");
    const double magnitude = std::fabs(value);
    const QLocale locale; // the user's language: a decimal comma in German
    if (magnitude >= 1e7 || (magnitude > 0 && magnitude < 1e-3)) return locale.toString(value, 'g', 4);
    const int decimals = magnitude >= 1000 ? 0 : magnitude >= 100 ? 1 : magnitude >= 10 ? 2 : 3;
    return locale.toString(value, 'f', decimals);
}

} // namespace kxvm
