#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vimg::cli {

// Format id from a file name's extension (lower-cased); 0 when unknown.
uint32_t FormatFromExtension(const std::string& fileName);
// Format id from "--type": a number 0..15 or an extension such as "png".
std::optional<uint32_t> ParseFormat(const std::string& text);
// Whole decimal integer, or nothing.
std::optional<long long> ParseInteger(const std::string& text);
const char* FormatName(uint32_t type);

} // namespace vimg::cli
