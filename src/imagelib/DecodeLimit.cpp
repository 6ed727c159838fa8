#include "DecodeLimit.h"

#include "File.h"
#include "Image.h"

#include <atomic>
#include <cstdio>

namespace vimg {

namespace {

std::atomic<uint64_t> g_maxPixels{DecodeLimit::kDefaultMaxPixels};
thread_local int t_scopes = 0;

} // namespace

void DecodeLimit::SetMaxPixels(uint64_t pixels) { g_maxPixels = pixels; }

uint64_t DecodeLimit::MaxPixels() { return g_maxPixels; }

bool DecodeLimit::CheckPixels(Image& img, uint64_t width, uint64_t height) {
    const uint64_t limit = g_maxPixels;
    // Each factor fits in 32 bits in every caller, so the product cannot wrap.
    if (width <= 0xFFFFFFFFu && height <= 0xFFFFFFFFu && width * height <= limit) return true;
    char text[160];
    std::snprintf(text, sizeof(text), "image too large: %llu x %llu exceeds the limit of %llu pixels",
                  static_cast<unsigned long long>(width), static_cast<unsigned long long>(height),
                  static_cast<unsigned long long>(limit));
    img.SetLastError(text);
    return false;
}

bool DecodeLimit::CheckData(Image& img, File* stream, uint64_t width, uint64_t height, uint64_t needed,
                            uint32_t maxExpansion) {
    const int32_t size = stream->Size(), pos = stream->Tell();
    const uint64_t held = (size >= 0 && pos >= 0 && size > pos) ? static_cast<uint64_t>(size - pos) : 0;
    return CheckHeld(img, held, width, height, needed, maxExpansion);
}

bool DecodeLimit::CheckHeld(Image& img, uint64_t held, uint64_t width, uint64_t height, uint64_t needed,
                            uint32_t maxExpansion) {
    if (!CheckPixels(img, width, height)) return false;
    const uint64_t reach = held * maxExpansion;
    if (needed <= reach) return true;
    if (needed <= kSmallData || needed / 2 <= reach) {
        // Only uncompressed data is known to be short; compressed data may still fill the picture.
        if (maxExpansion <= 1) img.SetTruncated(true);
        return true;
    }
    char text[200];
    if (maxExpansion <= 1)
        std::snprintf(
            text, sizeof(text),
            "file too short for its header: %llu x %llu needs %llu bytes of pixel data, the file holds %llu",
            static_cast<unsigned long long>(width), static_cast<unsigned long long>(height),
            static_cast<unsigned long long>(needed), static_cast<unsigned long long>(held));
    else
        std::snprintf(
            text, sizeof(text),
            "file too short for its header: %llu x %llu cannot come from the %llu bytes of compressed "
            "data the file holds",
            static_cast<unsigned long long>(width), static_cast<unsigned long long>(height),
            static_cast<unsigned long long>(held));
    img.SetLastError(text);
    return false;
}

DecodeLimit::Scope::Scope() { ++t_scopes; }

DecodeLimit::Scope::~Scope() { --t_scopes; }

bool DecodeLimit::Active() { return t_scopes > 0; }

} // namespace vimg
