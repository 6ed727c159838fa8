#pragma once

#include <string>
#include <vector>

namespace vimg::cli {

// vistorel-img stitch OUT IN... [--grid CxR] [--overlap P] [--positions FILE] [--flat-field]
int StitchCommand(const std::vector<std::string>& args);

} // namespace vimg::cli
