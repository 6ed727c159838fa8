#include "CalibrationTags.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vimg {

namespace {

constexpr char kPixelSizePrefix[] = "Pixel size: ";

bool Usable(double micrometres) { return std::isfinite(micrometres) && micrometres > 0; }

} // namespace

std::string PixelSizeText(double micrometres) {
    char text[64];
    std::snprintf(text, sizeof text, "%s%.9g um", kPixelSizePrefix, micrometres);
    return text;
}

double ParsePixelSizeText(const char* text) {
    if (!text) return 0;
    const size_t prefix = std::strlen(kPixelSizePrefix);
    if (std::strncmp(text, kPixelSizePrefix, prefix) != 0) return 0;
    char* end = nullptr;
    const double value = std::strtod(text + prefix, &end);
    if (end == text + prefix || std::strncmp(end, " um", 3) != 0) return 0;
    return Usable(value) ? value : 0;
}

std::string ImageJDescription() { return "ImageJ=\nunit=um\n"; }

double ImageJPixelSize(const char* description, float resolution, bool centimetres) {
    if (!description || std::strncmp(description, "ImageJ=", 7) != 0) return 0;
    if (!std::isfinite(resolution) || resolution <= 0) return 0;
    const char* unit = std::strstr(description, "\nunit=");
    if (!unit) return 0;
    unit += 6;
    const size_t length = std::strcspn(unit, "\n");
    const auto is = [&](const char* name) {
        return length == std::strlen(name) && std::strncmp(unit, name, length) == 0;
    };
    // ImageJ converts a centimetre resolution only for "um" and "µm"; for
    // "micron" it takes the resolution as pixels per micron.
    const bool micro = is("um") || is("\xC2\xB5m");
    if (!micro && !is("micron") && !is("microns")) return 0;
    const double value = micro && centimetres ? 1.0e4 / resolution : 1.0 / resolution;
    return Usable(value) ? value : 0;
}

double PixelsPerCentimetre(double micrometres) { return Usable(micrometres) ? 1.0e4 / micrometres : 0; }

double MicrometresFromPixelsPerCentimetre(double pixelsPerCm) {
    return std::isfinite(pixelsPerCm) && pixelsPerCm > 0 ? 1.0e4 / pixelsPerCm : 0;
}

std::vector<uint8_t> CalibrationExif(double micrometres, const char* camera) {
    struct Entry {
        uint16_t tag, type;
        uint32_t count;
        std::vector<uint8_t> data; // the value's bytes
    };
    const auto ascii = [](uint16_t tag, const std::string& text) {
        std::vector<uint8_t> bytes(text.begin(), text.end());
        bytes.push_back(0);
        return Entry{tag, 2, static_cast<uint32_t>(bytes.size()), bytes};
    };
    const auto u32 = [](std::vector<uint8_t>& out, uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    std::vector<Entry> entries; // in ascending tag order
    const bool calibrated = Usable(micrometres);
    if (calibrated) entries.push_back(ascii(0x010E, PixelSizeText(micrometres)));
    if (camera && camera[0] != '\0') entries.push_back(ascii(0x0110, camera));
    if (calibrated) {
        // Pixels per centimetre as a fraction over 1000.
        const double perCm = std::fmin(std::round(PixelsPerCentimetre(micrometres) * 1000.0), 4294967295.0);
        std::vector<uint8_t> rational;
        u32(rational, static_cast<uint32_t>(std::fmax(perCm, 1.0)));
        u32(rational, 1000);
        entries.push_back(Entry{0x011A, 5, 1, rational});
        entries.push_back(Entry{0x011B, 5, 1, rational});
        entries.push_back(Entry{0x0128, 3, 1, {3, 0, 0, 0}}); // centimetres
    }
    std::vector<uint8_t> out = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0};
    const auto u16 = [&out](uint16_t v) {
        out.push_back(static_cast<uint8_t>(v));
        out.push_back(static_cast<uint8_t>(v >> 8));
    };
    u16(static_cast<uint16_t>(entries.size()));
    // Values longer than four bytes follow the directory and its next-directory link.
    uint32_t dataOffset = static_cast<uint32_t>(8 + 2 + 12 * entries.size() + 4);
    std::vector<uint8_t> data;
    for (const Entry& e : entries) {
        u16(e.tag);
        u16(e.type);
        u32(out, e.count);
        if (e.data.size() <= 4) {
            std::vector<uint8_t> inline4 = e.data;
            inline4.resize(4, 0);
            out.insert(out.end(), inline4.begin(), inline4.end());
        } else {
            u32(out, dataOffset + static_cast<uint32_t>(data.size()));
            data.insert(data.end(), e.data.begin(), e.data.end());
            if (data.size() % 2) data.push_back(0); // values start on word boundaries
        }
    }
    u32(out, 0); // no second directory
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

} // namespace vimg
