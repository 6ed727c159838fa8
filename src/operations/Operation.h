// One processing operation by name: the argument forms it accepts, a check of
// given arguments that runs nothing, and the call into the image library.
#pragma once

#include "Arguments.h"
#include "Image.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vops {

// A refusal found while running (the image has no palette, an image argument
// cannot be read). Run turns it into Outcome::Status::Refused.
class OperationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads an image named as an argument; false with the image's last error set.
using ImageLoader = std::function<bool(vimg::Image& image, const std::string& path)>;

struct RunOptions {
    std::optional<uint32_t> seed; // makes Noise and Jitter repeatable
    ImageLoader loadImage;        // unset: the library's Load, which tells the format by content
};

struct Outcome {
    enum class Status {
        Done,
        Failed, // the library refused or stopped; the image's last error says why
        Refused // the arguments do not fit this image
    };
    Status status = Status::Done;
    std::string error;                                // names the operation
    std::vector<std::unique_ptr<vimg::Image>> images; // results of operations that make several images
    std::string report;                               // text results (Mean, Histogram)

    bool Ok() const { return status == Status::Done; }
};

// One accepted argument list: `required` leading positions must be present
// (each may still be empty when its parameter may be omitted); a `repeated`
// parameter takes every position after `parameters`, up to `maxCount` in all.
struct Signature {
    size_t required = 0;
    std::vector<Parameter> parameters;
    std::optional<Parameter> repeated;
    size_t maxCount = 0; // only with `repeated`

    size_t MaxCount() const { return repeated ? maxCount : parameters.size(); }
};

struct CheckResult {
    Arguments arguments;
    std::string error; // empty when the arguments are fine
    explicit operator bool() const { return error.empty(); }
};

// What an operation's call sees besides the image and its arguments.
class RunContext {
public:
    RunContext(const RunOptions& options, Outcome& outcome) : m_options(options), m_outcome(outcome) {}
    // Loads the image named by argument `i`; throws OperationError when it cannot.
    std::unique_ptr<vimg::Image> LoadImage(const Arguments& args, size_t i) const;
    void SeedRandom() const;
    void AddImage(std::unique_ptr<vimg::Image> image) { m_outcome.images.push_back(std::move(image)); }
    void Report(const std::string& text) { m_outcome.report += text; }

private:
    const RunOptions& m_options;
    Outcome& m_outcome;
};

struct Operation {
    // Returns the library's result; false leaves the reason in the image's last error.
    using RunFunction = std::function<bool(vimg::Image& image, const Arguments& args, RunContext& context)>;
    // Rules between arguments (a kernel's size and its weights); returns "" when they hold.
    using CheckFunction = std::function<std::string(const Arguments& args)>;

    std::string name;
    std::vector<Signature> forms; // none: the operation takes no arguments
    RunFunction run;
    CheckFunction check;
    int imagesMade = 0; // > 0: the image stays as it is and this many new images are the result

    // The argument list for messages, e.g. "width,height[,mode]".
    std::string Usage() const;
    // Checks typed values (one per argument) without running anything: types,
    // ranges, readable files and the rules between arguments.
    CheckResult Check(std::vector<Value> values) const;
    // The same for arguments given as text (empty text: left out).
    CheckResult Parse(const std::vector<std::string>& texts) const;
    // Runs on `image` with arguments this operation checked. No exception
    // leaves it; the image's progress and escape work as in the library call.
    Outcome Run(vimg::Image& image, const Arguments& args, const RunOptions& options = {}) const;

private:
    const Signature* FormFor(size_t count) const;
};

// Parameter makers for the operation tables.
Parameter IntegerArg(std::string name, double min, double max);
Parameter IntegerArg(std::string name, double min, double max, long long fallback);
Parameter NumberArg(std::string name, double min, double max);
Parameter NumberArg(std::string name, double min, double max, double fallback);
Parameter FlagArg(std::string name, bool fallback);
Parameter ColourArg(std::string name);
Parameter ColourArg(std::string name, vimg::RGBQUAD fallback);
Parameter FileArg(std::string name);
Parameter Omittable(Parameter p); // may be left out with no fallback

} // namespace vops
