// The operations `vistorel-img process` can run, each registered by name from
// the file of its topic through a static OperationRegistrar.
#pragma once

#include "Image.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace vimg::cli {

// Thrown for a missing or malformed argument; the message is shown to the user.
class ArgumentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The comma-separated arguments of one STEP.
class OpArgs {
public:
    explicit OpArgs(std::vector<std::string> values) : m_values(std::move(values)) {}
    size_t size() const { return m_values.size(); }
    bool has(size_t i) const { return i < m_values.size() && !m_values[i].empty(); }
    const std::string& text(size_t i) const;
    long long integer(size_t i, long long lo, long long hi) const;
    long long integer(size_t i, long long lo, long long hi, long long fallback) const;
    double number(size_t i, double lo, double hi) const;
    double number(size_t i, double lo, double hi, double fallback) const;
    bool flag(size_t i, bool fallback = false) const;
    // #rrggbb or #rrggbbaa
    RGBQUAD colour(size_t i) const;
    RGBQUAD colour(size_t i, RGBQUAD fallback) const;

private:
    std::vector<std::string> m_values;
};

struct OpContext {
    uint32_t seed = 0;
    bool seeded = false;
    // Operations that produce several images put them here (written as OUT-1, OUT-2, ...).
    std::vector<std::unique_ptr<Image>> outputs;
};

struct Operation {
    std::string name;
    size_t minArgs = 0;
    size_t maxArgs = 0;
    std::string usage; // argument list shown in error messages, e.g. "width,height[,mode]"
    std::function<bool(Image& image, const OpArgs& args, OpContext& ctx)> run;
};

class OperationTable {
public:
    static OperationTable& Instance();
    void Add(Operation op);
    const Operation* Find(const std::string& name) const;
    std::vector<std::string> Names() const;

private:
    std::vector<Operation> m_ops;
};

struct OperationRegistrar {
    OperationRegistrar(std::initializer_list<Operation> ops);
};

// Loads an image named as an argument (other input of Mix, Combine, ...).
std::unique_ptr<Image> LoadArgumentImage(const std::string& path);

} // namespace vimg::cli
