// A picture change as a list of steps: each names an operation of the
// operation layer and carries its typed arguments. Commands and parameter
// dialogs make step lists; the document's job runs them on a worker thread.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "Arguments.h"

namespace vimg {
class Image;
} // namespace vimg

class CImageSteps {
public:
    struct Step {
        std::string operation;           // a name of the operation layer
        std::vector<vops::Value> values; // its arguments
    };

    CImageSteps() = default;
    CImageSteps(std::initializer_list<Step> steps) : m_steps(steps) {}

    CImageSteps& Add(std::string operation, std::vector<vops::Value> values = {});
    const std::vector<Step>& Steps() const { return m_steps; }
    bool Empty() const { return m_steps.empty(); }

    // "" when every step names a known operation whose arguments it accepts;
    // else the first refusal in the operation layer's words.
    std::string Check() const;
    // Runs the steps on `image` with the image's progress and escape flag.
    // "" when every step ran, else the operation layer's text: a refused
    // argument leaves the image as it was, a failed library call as the
    // library left it.
    std::string Run(vimg::Image& image) const;

    static vops::Value Int(long long v) { return vops::Value{v}; }
    static vops::Value Num(double v) { return vops::Value{v}; }
    static vops::Value Flag(bool v) { return vops::Value{v}; }

private:
    std::vector<Step> m_steps;
};
