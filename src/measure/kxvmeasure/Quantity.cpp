#include "Quantity.h"

#include <QCoreApplication>

namespace kxvm {

namespace {

struct QuantityRow {
    Quantity quantity;
    const char* label; // UTF-8 source text of the translation
    Dimension dimension;
};

constexpr QuantityRow kQuantities[] = {
    {Quantity::Length, QT_TRANSLATE_NOOP("Quantity", "Länge"), Dimension::Length},
    {Quantity::Width, QT_TRANSLATE_NOOP("Quantity", "Breite"), Dimension::Length},
    {Quantity::Height, QT_TRANSLATE_NOOP("Quantity", "Höhe"), Dimension::Length},
    {Quantity::Diameter, QT_TRANSLATE_NOOP("Quantity", "Durchmesser"), Dimension::Length},
    {Quantity::DiameterX, QT_TRANSLATE_NOOP("Quantity", "Durchmesser X"), Dimension::Length},
    {Quantity::DiameterY, QT_TRANSLATE_NOOP("Quantity", "Durchmesser Y"), Dimension::Length},
    {Quantity::Area, QT_TRANSLATE_NOOP("Quantity", "Fläche"), Dimension::Area},
    {Quantity::Perimeter, QT_TRANSLATE_NOOP("Quantity", "Umfang"), Dimension::Length},
    {Quantity::Angle, QT_TRANSLATE_NOOP("Quantity", "Winkel"), Dimension::Plain},
    {Quantity::X, QT_TRANSLATE_NOOP("Quantity", "X"), Dimension::Position},
    {Quantity::Y, QT_TRANSLATE_NOOP("Quantity", "Y"), Dimension::Position},
    {Quantity::Mean, QT_TRANSLATE_NOOP("Quantity", "Mittelwert"), Dimension::Grey},
    {Quantity::StdDev, QT_TRANSLATE_NOOP("Quantity", "Standardabweichung"), Dimension::Grey},
    {Quantity::Min, QT_TRANSLATE_NOOP("Quantity", "Min"), Dimension::Grey},
    {Quantity::Max, QT_TRANSLATE_NOOP("Quantity", "Max"), Dimension::Grey},
    // Integrated density: the grey values' sum over the calibrated area of a
    // pixel (area times mean), and the plain sum.
    {Quantity::IntDen, QT_TRANSLATE_NOOP("Quantity", "IntDen"), Dimension::Area},
    {Quantity::RawIntDen, QT_TRANSLATE_NOOP("Quantity", "RawIntDen"), Dimension::Grey},
};

constexpr bool RowsInEnumOrder() {
    for (size_t i = 0; i < std::size(kQuantities); ++i)
        if (static_cast<size_t>(kQuantities[i].quantity) != i) return false;
    return true;
}
static_assert(RowsInEnumOrder() && std::size(kQuantities) == kQuantityCount,
              "one row per quantity, in the enumeration's order");

const QuantityRow& RowOf(Quantity quantity) {
    return kQuantities[static_cast<size_t>(quantity)];
}

} // namespace

const std::array<Quantity, kQuantityCount>& AllQuantities() {
    static const std::array<Quantity, kQuantityCount> all = [] {
        std::array<Quantity, kQuantityCount> list{};
        for (size_t i = 0; i < list.size(); ++i)
            list[i] = kQuantities[i].quantity;
        return list;
    }();
    return all;
}

QString QuantityLabel(Quantity quantity) {
    return QCoreApplication::translate("Quantity", RowOf(quantity).label);
}

Dimension DimensionOf(Quantity quantity) {
    return RowOf(quantity).dimension;
}

} // namespace kxvm
