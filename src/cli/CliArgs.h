#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vimg {
class Image;
}

namespace vimg::cli {

// Format id from a file name's extension (lower-cased); 0 when unknown.
uint32_t FormatFromExtension(const std::string& fileName);
// Format id from "--type": a number 0..15 or an extension such as "png".
std::optional<uint32_t> ParseFormat(const std::string& text);
// Whole decimal integer, or nothing.
std::optional<long long> ParseInteger(const std::string& text);
const char* FormatName(uint32_t type);

// Loads `path` (format from its extension, frame `frame`); on failure the image's
// last error says why, also when the file itself cannot be opened.
bool LoadImageFile(Image& img, const std::string& path, int frame = 0);

} // namespace vimg::cli
