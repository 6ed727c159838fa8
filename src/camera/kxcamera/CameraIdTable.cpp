#include "CameraIdTable.h"

namespace kxcam {

namespace {

struct Row {
    const char* vendor;
    const char* product;
    int index;
};

constexpr Row kRows[] = {
    {"0547", "5911", 1},  {"0547", "4D88", 2},  {"0547", "4D35", 3},  {"0546", "4D33", 4},
    {"0547", "4D33", 4},  {"0547", "E014", 6},  {"0547", "E013", 5},  {"EB1A", "2750", 7},
    {"0547", "6131", 8},  {"0547", "4454", 9},  {"04B4", "3002", 11}, {"04B4", "3001", 10},
    {"0547", "5943", 12}, {"0547", "9310", 14}, {"093A", "2468", 0},
};

} // namespace

int CameraIdTable::Lookup(const QString& vendor, const QString& product) {
    for (const Row& row : kRows)
        if (vendor.compare(QLatin1String(row.vendor), Qt::CaseInsensitive) == 0 &&
            product.compare(QLatin1String(row.product), Qt::CaseInsensitive) == 0)
            return row.index;
    return -1;
}

int CameraIdTable::Lookup(uint16_t vendor, uint16_t product) {
    return Lookup(QStringLiteral("%1").arg(vendor, 4, 16, QLatin1Char('0')),
                  QStringLiteral("%1").arg(product, 4, 16, QLatin1Char('0')));
}

} // namespace kxcam
