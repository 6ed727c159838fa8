#include "ProcessCommand.h"

#include "CliArgs.h"
#include "OperationRegistry.h"

#include <cstdio>
#include <memory>
#include <optional>

namespace vimg::cli {

namespace {

struct Step {
    const vops::Operation* op;
    vops::Arguments args;
};

std::vector<std::string> SplitArgs(const std::string& s) {
    std::vector<std::string> parts;
    if (s.empty()) return parts;
    size_t start = 0;
    for (;;) {
        const size_t comma = s.find(',', start);
        parts.push_back(s.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return parts;
}

// OUT with "-n" put before its extension.
std::string NumberedName(const std::string& out, size_t n) {
    const auto dot = out.find_last_of('.');
    const auto slash = out.find_last_of('/');
    const std::string suffix = std::string("-").append(std::to_string(n));
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return out + suffix;
    return out.substr(0, dot) + suffix + out.substr(dot);
}

} // namespace

int ProcessCommand(const std::vector<std::string>& args) {
    std::vector<std::string> positional;
    vops::RunOptions options;
    options.loadImage = [](Image& image, const std::string& path) { return LoadImageFile(image, path); };
    std::optional<uint32_t> type;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--seed" && i + 1 < args.size()) {
            const auto n = ParseInteger(args[++i]);
            if (!n || *n < 0 || *n > 0xFFFFFFFFLL) {
                std::fprintf(stderr, "vistorel-img: bad seed '%s'\n", args[i].c_str());
                return 2;
            }
            options.seed = static_cast<uint32_t>(*n);
        } else if (args[i] == "--type" && i + 1 < args.size()) {
            type = ParseFormat(args[++i]);
            if (!type || *type == 0) {
                std::fprintf(stderr, "vistorel-img: unknown output type '%s'\n", args[i].c_str());
                return 2;
            }
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() < 3) {
        std::fprintf(stderr, "usage: vistorel-img process IN OUT STEP [STEP...] [--seed N] [--type ID|EXT]\n"
                             "steps: NAME or NAME:arg1,arg2,...\n");
        return 2;
    }
    const std::string in = positional[0], out = positional[1];

    // Check every step, values and files included, before doing any work, so a typo costs nothing.
    std::vector<Step> steps;
    for (size_t i = 2; i < positional.size(); ++i) {
        const std::string& text = positional[i];
        const auto colon = text.find(':');
        const std::string name = text.substr(0, colon);
        const vops::Operation* op = vops::BuiltinOperations().Find(name);
        if (!op) {
            std::fprintf(stderr, "vistorel-img: unknown operation '%s'\n", name.c_str());
            return 2;
        }
        vops::CheckResult checked = op->Parse(colon == std::string::npos ? std::vector<std::string>{}
                                                                         : SplitArgs(text.substr(colon + 1)));
        if (!checked) {
            std::fprintf(stderr, "vistorel-img: %s\n", checked.error.c_str());
            return 2;
        }
        if (op->imagesMade > 0 && i + 1 < positional.size()) {
            std::fprintf(stderr, "vistorel-img: %s makes several images and must be the last step\n",
                         name.c_str());
            return 2;
        }
        steps.push_back(Step{op, std::move(checked.arguments)});
    }

    Image img;
    if (!LoadImageFile(img, in)) {
        std::fprintf(stderr, "vistorel-img: %s: %s\n", in.c_str(), img.GetLastError());
        return 1;
    }
    std::vector<std::unique_ptr<Image>> outputs;
    for (const Step& step : steps) {
        vops::Outcome outcome = step.op->Run(img, step.args, options);
        std::fputs(outcome.report.c_str(), stdout);
        if (!outcome.Ok()) {
            std::fprintf(stderr, "vistorel-img: %s\n", outcome.error.c_str());
            return outcome.status == vops::Outcome::Status::Refused ? 2 : 1;
        }
        outputs = std::move(outcome.images);
        // Each step gets its own seed, so two Noise steps add different noise.
        if (options.seed) options.seed = *options.seed + 1;
    }

    const uint32_t outType = type ? *type : FormatFromExtension(out);
    if (outType == 0) {
        std::fprintf(stderr, "vistorel-img: cannot tell the output format of '%s'; use --type\n",
                     out.c_str());
        return 2;
    }
    const auto save = [&](Image& image, const std::string& path) {
        if (image.Save(path.c_str(), outType)) return true;
        std::fprintf(stderr, "vistorel-img: %s: %s\n", path.c_str(),
                     image.GetLastError()[0] ? image.GetLastError() : "cannot write the file");
        return false;
    };
    if (outputs.empty()) return save(img, out) ? 0 : 1;
    for (size_t n = 0; n < outputs.size(); ++n)
        if (outputs[n] && !save(*outputs[n], NumberedName(out, n + 1))) return 1;
    return 0;
}

} // namespace vimg::cli
