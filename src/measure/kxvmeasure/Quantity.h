// What a measured value is of: the quantities the shapes measure, with their
// display labels in one table.
#pragma once

#include <array>
#include <cstddef>

#include <QString>

namespace kxvm {

// In the order of the results table's value columns.
enum class Quantity { Length, Width, Height, Diameter, DiameterX, DiameterY, Area, Perimeter, Angle, X, Y };
inline constexpr size_t kQuantityCount = static_cast<size_t>(Quantity::Y) + 1;

// How the calibration converts a value: a plain number (an angle in degrees),
// a length, an area or a coordinate.
enum class Dimension { Plain, Length, Area, Position };

// Every quantity, in column order.
const std::array<Quantity, kQuantityCount>& AllQuantities();
// "Länge", "Fläche", ...: the German text through Qt's translation system.
QString QuantityLabel(Quantity quantity);
Dimension DimensionOf(Quantity quantity);

} // namespace kxvm
