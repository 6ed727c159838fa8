#include "Operations.h"

#include "CliArgs.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace vimg::cli {

const std::string& OpArgs::text(size_t i) const {
    if (i >= m_values.size()) throw ArgumentError("missing argument " + std::to_string(i + 1));
    return m_values[i];
}

long long OpArgs::integer(size_t i, long long lo, long long hi) const {
    const std::string& t = text(i);
    const auto v = ParseInteger(t);
    if (!v) throw ArgumentError("argument " + std::to_string(i + 1) + " must be a whole number, not '" + t + "'");
    if (*v < lo || *v > hi)
        throw ArgumentError("argument " + std::to_string(i + 1) + " must lie in " + std::to_string(lo) + ".." +
                            std::to_string(hi));
    return *v;
}

long long OpArgs::integer(size_t i, long long lo, long long hi, long long fallback) const {
    return has(i) ? integer(i, lo, hi) : fallback;
}

double OpArgs::number(size_t i, double lo, double hi) const {
    const std::string& t = text(i);
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    if (t.empty() || errno != 0 || end != t.c_str() + t.size() || !std::isfinite(v))
        throw ArgumentError("argument " + std::to_string(i + 1) + " must be a number, not '" + t + "'");
    if (v < lo || v > hi)
        throw ArgumentError("argument " + std::to_string(i + 1) + " must lie in " + std::to_string(lo) + ".." +
                            std::to_string(hi));
    return v;
}

double OpArgs::number(size_t i, double lo, double hi, double fallback) const {
    return has(i) ? number(i, lo, hi) : fallback;
}

bool OpArgs::flag(size_t i, bool fallback) const {
    if (!has(i)) return fallback;
    return integer(i, 0, 1) != 0;
}

RGBQUAD OpArgs::colour(size_t i) const {
    const std::string& t = text(i);
    const auto hex = [&](size_t pos) -> uint8_t {
        const std::string part = t.substr(pos, 2);
        char* end = nullptr;
        const long v = std::strtol(part.c_str(), &end, 16);
        if (part.size() != 2 || end != part.c_str() + 2)
            throw ArgumentError("argument " + std::to_string(i + 1) + " must be a colour #rrggbb[aa], not '" + t + "'");
        return static_cast<uint8_t>(v);
    };
    if (t.size() != 7 && t.size() != 9) throw ArgumentError("argument " + std::to_string(i + 1) +
                                                            " must be a colour #rrggbb[aa], not '" + t + "'");
    if (t[0] != '#') throw ArgumentError("argument " + std::to_string(i + 1) + " must start with '#'");
    RGBQUAD c;
    c.rgbRed = hex(1);
    c.rgbGreen = hex(3);
    c.rgbBlue = hex(5);
    c.rgbReserved = t.size() == 9 ? hex(7) : 0;
    return c;
}

RGBQUAD OpArgs::colour(size_t i, RGBQUAD fallback) const { return has(i) ? colour(i) : fallback; }

OperationTable& OperationTable::Instance() {
    static OperationTable table;
    return table;
}

void OperationTable::Add(Operation op) { m_ops.push_back(std::move(op)); }

const Operation* OperationTable::Find(const std::string& name) const {
    for (const Operation& op : m_ops)
        if (op.name == name) return &op;
    return nullptr;
}

std::vector<std::string> OperationTable::Names() const {
    std::vector<std::string> names;
    for (const Operation& op : m_ops) names.push_back(op.name);
    std::sort(names.begin(), names.end());
    return names;
}

OperationRegistrar::OperationRegistrar(std::initializer_list<Operation> ops) {
    for (const Operation& op : ops) OperationTable::Instance().Add(op);
}

std::unique_ptr<Image> LoadArgumentImage(const std::string& path) {
    auto img = std::make_unique<Image>();
    if (!LoadImageFile(*img, path))
        throw ArgumentError("cannot read '" + path + "': " + img->GetLastError());
    return img;
}

} // namespace vimg::cli
