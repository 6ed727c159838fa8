// The typed argument list of one operation: what a dialog fills in, or what
// the command line's text becomes once parsed.
#pragma once

#include "ImageTypes.h"

#include <string>
#include <variant>
#include <vector>

namespace vops {

enum class ArgType { Integer, Number, Flag, Colour, File };

// One argument; std::monostate stands for one left out (an empty field).
using Value = std::variant<std::monostate, long long, double, bool, vimg::RGBQUAD, std::string>;

// What one argument position takes.
struct Parameter {
    std::string name; // shown in errors and dialog labels
    ArgType type = ArgType::Integer;
    double min = 0; // inclusive bounds of Integer and Number
    double max = 0;
    Value fallback{};      // used when the argument is left out
    bool optional = false; // may be left out without a fallback (the operation asks `Given`)

    bool MayBeOmitted() const { return optional || !std::holds_alternative<std::monostate>(fallback); }
};

// Arguments that an Operation has checked: every value has its parameter's
// type and range, and left-out arguments carry their fallbacks.
class Arguments {
public:
    Arguments() = default;

    size_t size() const { return m_values.size(); }
    bool Given(size_t i) const { return i < m_values.size() && m_values[i].index() != 0; }
    long long Integer(size_t i) const { return Get<long long>(i); }
    double Number(size_t i) const { return Get<double>(i); }
    bool Flag(size_t i) const { return Get<bool>(i); }
    vimg::RGBQUAD Colour(size_t i) const { return Get<vimg::RGBQUAD>(i); }
    const std::string& Text(size_t i) const { return Get<std::string>(i); }
    const std::string& OperationName() const { return m_operation; }

private:
    friend struct Operation;
    Arguments(std::string operation, std::vector<Value> values)
        : m_operation(std::move(operation)), m_values(std::move(values)) {}

    // Throws std::bad_variant_access when an operation reads a position its
    // parameters do not give that type: a fault in the table, reported by Run.
    template <typename T> const T& Get(size_t i) const { return std::get<T>(m_values.at(i)); }

    std::string m_operation;
    std::vector<Value> m_values;
};

} // namespace vops
