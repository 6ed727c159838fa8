#include "HelperFiles.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace vimg::cli {

std::string HelperPath(const char* name) {
    char self[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof(self) - 1);
    if (n <= 0) return {};
    std::string dir(self, static_cast<size_t>(n));
    dir.erase(dir.find_last_of('/') + 1);
    for (const std::string& candidate : {dir + name, dir + VISTOREL_HELPER_DIR + "/" + name})
        if (access(candidate.c_str(), F_OK) == 0) return candidate;
    return {};
}

int RunMergeHelper(char** argv) {
    const std::string helper = HelperPath("vistorel-img-merge");
    if (helper.empty()) {
        std::fprintf(stderr, "vistorel-img: the merging helper vistorel-img-merge is not installed\n");
        return 1;
    }
    execv(helper.c_str(), argv);
    std::fprintf(stderr, "vistorel-img: cannot start %s: %s\n", helper.c_str(), std::strerror(errno));
    return 1;
}

} // namespace vimg::cli
