#include "Operation.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <variant>

namespace vops {

namespace {

std::string Format(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", v);
    return text;
}

std::string Describe(size_t i, const Parameter& p) {
    return "argument " + std::to_string(i + 1) + " (" + p.name + ")";
}

const char* Expected(ArgType type) {
    switch (type) {
    case ArgType::Integer:
        return "a whole number";
    case ArgType::Number:
        return "a number";
    case ArgType::Flag:
        return "0 or 1";
    case ArgType::Colour:
        return "a colour #rrggbb[aa]";
    case ArgType::File:
        return "a file name";
    }
    return "";
}

std::optional<long long> ParseWhole(const std::string& t) {
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(t.c_str(), &end, 10);
    if (errno != 0 || end != t.c_str() + t.size()) return std::nullopt;
    return v;
}

std::optional<double> ParseNumber(const std::string& t) {
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    if (errno != 0 || end != t.c_str() + t.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

// #rrggbb or #rrggbbaa
std::optional<vimg::RGBQUAD> ParseColour(const std::string& t) {
    if ((t.size() != 7 && t.size() != 9) || t[0] != '#') return std::nullopt;
    uint8_t bytes[4] = {};
    for (size_t k = 0; 1 + 2 * k < t.size(); ++k) {
        const std::string part = t.substr(1 + 2 * k, 2);
        if (!std::isxdigit(static_cast<unsigned char>(part[0])) ||
            !std::isxdigit(static_cast<unsigned char>(part[1])))
            return std::nullopt;
        bytes[k] = static_cast<uint8_t>(std::strtol(part.c_str(), nullptr, 16));
    }
    vimg::RGBQUAD c;
    c.rgbRed = bytes[0];
    c.rgbGreen = bytes[1];
    c.rgbBlue = bytes[2];
    c.rgbReserved = bytes[3];
    return c;
}

// Brings a typed value to the parameter's type, or says why it cannot be.
std::string Convert(Value& v, size_t i, const Parameter& p) {
    std::string mustBe = Describe(i, p) + " must be " + Expected(p.type);
    if (const auto* text = std::get_if<std::string>(&v); text && p.type != ArgType::File)
        mustBe += ", not '" + *text + "'";
    switch (p.type) {
    case ArgType::Integer:
        if (!std::holds_alternative<long long>(v)) return mustBe;
        break;
    case ArgType::Number:
        if (const auto* n = std::get_if<long long>(&v)) v = static_cast<double>(*n);
        if (!std::holds_alternative<double>(v) || !std::isfinite(std::get<double>(v))) return mustBe;
        break;
    case ArgType::Flag:
        if (const auto* n = std::get_if<long long>(&v)) {
            if (*n != 0 && *n != 1) return mustBe + ", got " + std::to_string(*n);
            v = *n == 1;
        }
        if (!std::holds_alternative<bool>(v)) return mustBe;
        break;
    case ArgType::Colour:
        if (!std::holds_alternative<vimg::RGBQUAD>(v)) return mustBe;
        break;
    case ArgType::File: {
        if (!std::holds_alternative<std::string>(v)) return mustBe;
        const std::string& path = std::get<std::string>(v);
        std::error_code error;
        if (std::filesystem::is_directory(path, error))
            return Describe(i, p) + ": '" + path + "' is a folder, not a file";
        if (!std::ifstream(path, std::ios::binary)) return Describe(i, p) + ": cannot read '" + path + "'";
        break;
    }
    }
    const double x = p.type == ArgType::Integer  ? static_cast<double>(std::get<long long>(v))
                     : p.type == ArgType::Number ? std::get<double>(v)
                                                 : 0;
    if ((p.type == ArgType::Integer || p.type == ArgType::Number) && (x < p.min || x > p.max))
        return Describe(i, p) + " must lie in " + Format(p.min) + ".." + Format(p.max) + ", got " + Format(x);
    return "";
}

Value FromText(const std::string& t, ArgType type) {
    if (t.empty()) return std::monostate{};
    switch (type) {
    case ArgType::Integer:
    case ArgType::Flag:
        if (const auto v = ParseWhole(t)) return *v;
        break;
    case ArgType::Number:
        if (const auto v = ParseNumber(t)) return *v;
        break;
    case ArgType::Colour:
        if (const auto v = ParseColour(t)) return *v;
        break;
    case ArgType::File:
        return t;
    }
    return t; // left as text: Convert reports it with the expected type
}

const Parameter& ParameterAt(const Signature& form, size_t i) {
    return i < form.parameters.size() ? form.parameters[i] : *form.repeated;
}

} // namespace

std::unique_ptr<vimg::Image> RunContext::LoadImage(const Arguments& args, size_t i) const {
    const std::string& path = args.Text(i);
    auto image = std::make_unique<vimg::Image>();
    image->SetLastError("");
    const bool loaded =
        m_options.loadImage ? m_options.loadImage(*image, path) : image->Load(path.c_str(), 0);
    if (!loaded) {
        const std::string why =
            image->GetLastError()[0] ? image->GetLastError() : "not an image the library reads";
        throw OperationError("cannot read '" + path + "': " + why);
    }
    return image;
}

void RunContext::SeedRandom() const {
    // Noise and Jitter draw from the C library's sequence.
    if (m_options.seed) std::srand(*m_options.seed);
}

const Signature* Operation::FormFor(size_t count) const {
    static const Signature none;
    if (forms.empty()) return count == 0 ? &none : nullptr;
    for (const Signature& f : forms)
        if (count >= f.required && count <= f.MaxCount()) return &f;
    return nullptr;
}

std::string Operation::Usage() const {
    std::string usage;
    for (const Signature& form : forms) {
        if (!usage.empty()) usage += " or ";
        std::string text;
        size_t open = 0;
        for (size_t i = 0; i < form.parameters.size(); ++i) {
            const std::string sep = i == 0 ? "" : ",";
            if (i < form.required) {
                text += sep + form.parameters[i].name;
            } else {
                text += "[" + sep + form.parameters[i].name;
                ++open;
            }
        }
        if (form.repeated) text += (text.empty() ? "" : ",") + form.repeated->name + "...";
        usage += text + std::string(open, ']');
    }
    return usage;
}

CheckResult Operation::Check(std::vector<Value> values) const {
    const auto fail = [&](const std::string& why) { return CheckResult{{}, name + ": " + why}; };
    const Signature* form = FormFor(values.size());
    if (!form) {
        const std::string usage = Usage();
        return fail((usage.empty() ? std::string("takes no arguments") : "takes " + usage) + ", got " +
                    std::to_string(values.size()) + (values.size() == 1 ? " argument" : " arguments"));
    }
    for (size_t i = 0; i < values.size(); ++i) {
        const Parameter& p = ParameterAt(*form, i);
        if (std::holds_alternative<std::monostate>(values[i])) {
            if (!p.MayBeOmitted()) return fail(Describe(i, p) + " is missing");
            values[i] = p.fallback;
            continue;
        }
        if (const std::string why = Convert(values[i], i, p); !why.empty()) return fail(why);
    }
    // Left-out trailing arguments take their fallbacks too, so the call reads every position.
    for (size_t i = values.size(); i < form->parameters.size(); ++i)
        values.push_back(form->parameters[i].fallback);
    CheckResult result{Arguments(name, std::move(values)), ""};
    if (check)
        if (const std::string why = check(result.arguments); !why.empty()) return fail(why);
    return result;
}

CheckResult Operation::Parse(const std::vector<std::string>& texts) const {
    // The type of each position comes from the form that fits the count;
    // when none does, Check reports the count.
    const Signature* form = FormFor(texts.size());
    std::vector<Value> values;
    for (size_t i = 0; i < texts.size(); ++i)
        values.push_back(form ? FromText(texts[i], ParameterAt(*form, i).type) : Value{texts[i]});
    return Check(std::move(values));
}

Outcome Operation::Run(vimg::Image& image, const Arguments& args, const RunOptions& options) const {
    Outcome outcome;
    const auto fail = [&](Outcome::Status status, const std::string& why) {
        outcome.status = status;
        outcome.error = name + ": " + why;
        outcome.images.clear();
        return std::move(outcome);
    };
    if (args.OperationName() != name)
        return fail(Outcome::Status::Refused, "the arguments were not checked for this operation");
    RunContext context(options, outcome);
    try {
        image.SetLastError("");
        if (!run(image, args, context))
            return fail(Outcome::Status::Failed,
                        image.GetLastError()[0] ? image.GetLastError() : "the operation failed");
    } catch (const OperationError& e) {
        return fail(Outcome::Status::Refused, e.what());
    } catch (const std::bad_alloc&) {
        return fail(Outcome::Status::Failed, "not enough memory");
    } catch (const std::exception& e) {
        return fail(Outcome::Status::Failed, e.what());
    }
    return outcome;
}

Parameter IntegerArg(std::string name, double min, double max) {
    return {std::move(name), ArgType::Integer, min, max, {}, false};
}
Parameter IntegerArg(std::string name, double min, double max, long long fallback) {
    return {std::move(name), ArgType::Integer, min, max, fallback, false};
}
Parameter NumberArg(std::string name, double min, double max) {
    return {std::move(name), ArgType::Number, min, max, {}, false};
}
Parameter NumberArg(std::string name, double min, double max, double fallback) {
    return {std::move(name), ArgType::Number, min, max, fallback, false};
}
Parameter FlagArg(std::string name, bool fallback) {
    return {std::move(name), ArgType::Flag, 0, 1, fallback, false};
}
Parameter ColourArg(std::string name) {
    return {std::move(name), ArgType::Colour, 0, 0, {}, false};
}
Parameter ColourArg(std::string name, vimg::RGBQUAD fallback) {
    return {std::move(name), ArgType::Colour, 0, 0, fallback, false};
}
Parameter FileArg(std::string name) {
    return {std::move(name), ArgType::File, 0, 0, {}, false};
}
Parameter Omittable(Parameter p) {
    p.optional = true;
    return p;
}

} // namespace vops
