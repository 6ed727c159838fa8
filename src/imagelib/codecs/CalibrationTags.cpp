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

std::vector<uint8_t> CalibrationExif(double micrometres, const char* camera, const CaptureExif& capture) {
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
    const auto rational = [&u32](uint16_t tag, uint32_t numerator, uint32_t denominator) {
        std::vector<uint8_t> bytes;
        u32(bytes, numerator);
        u32(bytes, denominator);
        return Entry{tag, 5, 1, bytes};
    };
    std::vector<Entry> entries; // IFD0, in ascending tag order
    const bool calibrated = Usable(micrometres);
    if (calibrated) entries.push_back(ascii(0x010E, PixelSizeText(micrometres)));
    if (camera && camera[0] != '\0') entries.push_back(ascii(0x0110, camera));
    if (calibrated) {
        // Pixels per centimetre as a fraction over 1000.
        const double perCm = std::fmin(std::round(PixelsPerCentimetre(micrometres) * 1000.0), 4294967295.0);
        const auto perCm1000 = static_cast<uint32_t>(std::fmax(perCm, 1.0));
        entries.push_back(rational(0x011A, perCm1000, 1000));
        entries.push_back(rational(0x011B, perCm1000, 1000));
        entries.push_back(Entry{0x0128, 3, 1, {3, 0, 0, 0}}); // centimetres
    }
    std::vector<Entry> exifEntries; // the EXIF directory, in ascending tag order
    if (Usable(capture.exposureSeconds)) {
        // Whole microseconds; a fraction 1/n where that is exact (1/25 s), as cameras write it.
        const double us = std::fmin(std::round(capture.exposureSeconds * 1e6), 4294967295.0);
        const auto micro = static_cast<uint32_t>(std::fmax(us, 1.0));
        if (1000000 % micro == 0)
            exifEntries.push_back(rational(0x829A, 1, 1000000 / micro));
        else
            exifEntries.push_back(rational(0x829A, micro, 1000000));
    }
    const bool timed = capture.dateTime && std::strlen(capture.dateTime) == 19;
    if (timed) exifEntries.push_back(ascii(0x9003, capture.dateTime));
    if (capture.userComment && capture.userComment[0] != '\0') {
        // Readers take the comment from UserComment before the JPEG comment:
        // the calibration leads it, so the pixel size is read back from either.
        const std::string text =
            (calibrated ? PixelSizeText(micrometres) + "; " : std::string()) + capture.userComment;
        std::vector<uint8_t> bytes = {'A', 'S', 'C', 'I', 'I', 0, 0, 0};
        bytes.insert(bytes.end(), text.begin(), text.end());
        exifEntries.push_back(Entry{0x9286, 7, static_cast<uint32_t>(bytes.size()), bytes});
    }
    if (timed) {
        // The picture's own time too, in front of the link to the EXIF directory.
        entries.push_back(ascii(0x0132, capture.dateTime));
    }
    const bool withExif = !exifEntries.empty();
    if (withExif) entries.push_back(Entry{0x8769, 4, 1, {0, 0, 0, 0}}); // offset set below

    std::vector<uint8_t> out = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0};
    constexpr size_t kTiffStart = 6; // offsets count from the byte-order mark
    const auto u16 = [&out](uint16_t v) {
        out.push_back(static_cast<uint8_t>(v));
        out.push_back(static_cast<uint8_t>(v >> 8));
    };
    // A directory at the end of `out`, its long values right after it; returns
    // where (in `out`) the value of `tag` went, for links set afterwards.
    const auto directory = [&](const std::vector<Entry>& list, uint16_t linkTag) {
        const auto at = static_cast<uint32_t>(out.size() - kTiffStart);
        size_t linkAt = 0;
        u16(static_cast<uint16_t>(list.size()));
        // Values longer than four bytes follow the directory and its next-directory link.
        const uint32_t dataOffset = at + static_cast<uint32_t>(2 + 12 * list.size() + 4);
        std::vector<uint8_t> data;
        for (const Entry& e : list) {
            u16(e.tag);
            u16(e.type);
            u32(out, e.count);
            if (e.tag == linkTag) linkAt = out.size();
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
        u32(out, 0); // no next directory
        out.insert(out.end(), data.begin(), data.end());
        return linkAt;
    };
    const size_t link = directory(entries, 0x8769);
    if (withExif) {
        const auto exifAt = static_cast<uint32_t>(out.size() - kTiffStart);
        for (int i = 0; i < 4; ++i)
            out[link + i] = static_cast<uint8_t>(exifAt >> (8 * i));
        directory(exifEntries, 0);
    }
    return out;
}

} // namespace vimg
