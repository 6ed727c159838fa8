#include "CliArgs.h"

#include "Image.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cstdlib>

namespace vimg::cli {

namespace {
struct ExtensionRow {
    const char* ext;
    uint32_t type;
};
constexpr ExtensionRow kExtensions[] = {
    {"bmp", 1}, {"jpg", 3},  {"jpeg", 3}, {"gif", 2},  {"png", 4},  {"ico", 5},  {"tiff", 6},
    {"tif", 6}, {"tga", 7},  {"pcx", 8},  {"wbmp", 9}, {"wmf", 10}, {"emf", 10}, {"jp2", 11},
    {"j2k", 11}, {"jpc", 12}, {"j2c", 12}, {"pgx", 13}, {"pnm", 14}, {"pgm", 14}, {"ppm", 14},
    {"ras", 15}};
constexpr const char* kNames[] = {"unknown", "BMP", "GIF", "JPG",  "PNG", "ICO", "TIF", "TGA",
                                  "PCX",     "WBMP", "WMF", "JP2", "JPC", "PGX", "PNM", "RAS"};

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}
} // namespace

uint32_t FormatFromExtension(const std::string& fileName) {
    const auto dot = fileName.find_last_of('.');
    const auto slash = fileName.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return 0;
    const std::string ext = Lower(fileName.substr(dot + 1));
    for (const auto& row : kExtensions)
        if (ext == row.ext) return row.type;
    return 0;
}

std::optional<uint32_t> ParseFormat(const std::string& text) {
    if (auto n = ParseInteger(text)) {
        if (*n >= 0 && *n <= 15) return static_cast<uint32_t>(*n);
        return std::nullopt;
    }
    const std::string ext = Lower(text);
    for (const auto& row : kExtensions)
        if (ext == row.ext) return row.type;
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
            std::fprintf(stderr, "vistorel-img: %s: warning: the file ends early; the missing part is black\n",
                         path.c_str());
        return true;
    }
    if (img.GetLastError()[0] == '\0') img.SetLastError("cannot read the file: no reader recognised its content");
    return false;
}

const char* FormatName(uint32_t type) { return type < 16 ? kNames[type] : "unknown"; }

} // namespace vimg::cli
