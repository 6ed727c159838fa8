// The command-line tool's helpers: the program that merges pictures (OpenCV)
// and the module that draws metafile text (Qt). vistorel-img itself links
// neither library, so that loading dozens of their shared libraries does not
// add start-up time and memory to every conversion.
#pragma once

#include <string>

namespace vimg::cli {

// Path of helper file `name`: beside the running program (the build tree)
// or in the helper folder relative to it (an installed tree); empty when
// neither exists.
std::string HelperPath(const char* name);

// Replaces this process with the merging helper, same arguments; returns only
// when that fails (after saying why), with the exit status to use.
int RunMergeHelper(char** argv);

} // namespace vimg::cli
