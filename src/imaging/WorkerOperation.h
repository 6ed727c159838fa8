// The operations the document's worker thread runs: each worker op number
// (the menu command that started it) with its five integer parameters
// becomes one or more named steps of the operation layer, checked and run on
// the image in place with the image's progress and escape flag.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "Arguments.h"

namespace vimg {
class Image;
} // namespace vimg

class CWorkerOperation {
public:
    using Params = std::array<int32_t, 5>;

    struct Step {
        std::string operation;           // a name of the operation layer
        std::vector<vops::Value> values; // its arguments
    };

    // The steps of worker op `command`; `image` is read where the op needs a
    // value of it (the rotation's corner colour). Unknown ops have no steps.
    static std::vector<Step> StepsFor(int command, const Params& p, const vimg::Image& image);

    // Runs the steps on `image`. Returns "" when every step ran (or the op was
    // unknown), else the operation layer's text: a refused argument leaves the
    // image as it was, a failed library call as the library left it.
    static std::string Run(vimg::Image& image, int command, const Params& p);
};
