#pragma once

#include <string>
#include <vector>

namespace vimg::cli {

// vistorel-img stack OUT IN... [--depth-map FILE] [--align on|off]
int StackCommand(const std::vector<std::string>& args);

} // namespace vimg::cli
