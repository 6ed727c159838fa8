#pragma once

#include <string>
#include <vector>

namespace vimg::cli {

// vistorel-img process IN OUT STEP [STEP...] [--seed N] [--type ID|EXT]
int ProcessCommand(const std::vector<std::string>& args);

} // namespace vimg::cli
