// What a measured value is of: the quantities the shapes measure, with their
// display labels in one table.
#pragma once

#include <array>
#include <cstddef>

#include <QString>

namespace kxvm {

// In the order of the results table's value columns.
// The grey-level statistics of an area shape come last.
enum class Quantity {
    Length,
    Width,
    Height,
    Diameter,
    DiameterX,
    DiameterY,
    Area,
    Perimeter,
    Angle,
    X,
    Y,
    Mean,
    StdDev,
    Min,
    Max,
    IntDen,
    RawIntDen
};
inline constexpr size_t kQuantityCount = static_cast<size_t>(Quantity::RawIntDen) + 1;

// How the calibration converts a value: a plain number (an angle in degrees),
// a length, an area, a coordinate or a grey value (never converted).
enum class Dimension { Plain, Length, Area, Position, Grey };

// Every quantity, in column order.
const std::array<Quantity, kQuantityCount>& AllQuantities();
// "Länge", "Fläche", ...: the German text through Qt's translation system.
QString QuantityLabel(Quantity quantity);
Dimension DimensionOf(Quantity quantity);

} // namespace kxvm
