#include "CliArgs.h"

#include "CodecRegistry.h"
#include "Image.h"

#include <cerrno>
#include <cstdlib>

namespace vimg::cli {

uint32_t FormatFromExtension(const std::string& fileName) { return CodecRegistry::TypeOfFileName(fileName); }

std::optional<uint32_t> ParseFormat(const std::string& text) {
    if (auto n = ParseInteger(text)) {
        if (*n >= 0 && *n < FORMAT_COUNT) return static_cast<uint32_t>(*n);
        return std::nullopt;
    }
    if (const uint32_t type = CodecRegistry::TypeOfExtension(text)) return type;
    return std::nullopt;
}

std::optional<long long> ParseInteger(const std::string& text) {
    if (text.empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end != text.c_str() + text.size()) return std::nullopt;
    return v;
}

bool LoadImageFile(Image& img, const std::string& path, int frame) {
    img.SetFrame(frame);
    img.SetLastError("");
    if (img.Load(path.c_str(), FormatFromExtension(path))) {
        if (img.IsTruncated())
            std::fprintf(stderr,
                         "vistorel-img: %s: warning: the file ends early; only what it holds was read\n",
                         path.c_str());
        return true;
    }
    if (img.GetLastError()[0] == '\0')
        img.SetLastError("cannot read the file: no reader recognised its content");
    return false;
}

const char* FormatName(uint32_t type) {
    const CodecEntry* entry = type ? CodecRegistry::Find(type) : nullptr;
    return entry ? entry->name : "unknown";
}

} // namespace vimg::cli
