#include "ImagePGX.h"

#include "../DecodeLimit.h"
#include "../File.h"
#include "SampleScale.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace vimg {

bool ImagePGX::Decode(File* stream) {
    if (!stream) return false;
    // "PG" byte order, optional sign, depth, width, height, one line.
    char line[128];
    size_t n = 0;
    for (;;) {
        const int32_t c = stream->GetC();
        if (c < 0 || n + 1 >= sizeof(line)) return Fail("error: cannot decode image");
        if (c == '\n') break;
        line[n++] = static_cast<char>(c);
    }
    line[n] = '\0';
    char order[3] = {}, sign = '+';
    unsigned depth = 0, width = 0, height = 0;
    const char* p = line;
    if (std::strncmp(p, "PG", 2) != 0) return Fail("error: cannot decode image");
    p += 2;
    while (*p == ' ') ++p;
    if (std::sscanf(p, "%2s", order) != 1) return Fail("error: cannot decode image");
    p += 2;
    while (*p == ' ') ++p;
    if (*p == '+' || *p == '-') sign = *p++;
    if (std::sscanf(p, "%u %u %u", &depth, &width, &height) != 3) return Fail("error: cannot decode image");
    const bool bigEndian = std::strcmp(order, "ML") == 0;
    if ((!bigEndian && std::strcmp(order, "LM") != 0) || depth < 1 || depth > 16 || width == 0 || height == 0)
        return Fail("error: cannot decode image");
    if (info.escape == -1) {
        head.biWidth = static_cast<int32_t>(width);
        head.biHeight = static_cast<int32_t>(height);
        return true;
    }
    const uint32_t sampleBytes = depth > 8 ? 2 : 1;
    if (!DecodeLimit::CheckData(*this, stream, width, height,
                                static_cast<uint64_t>(width) * height * sampleBytes))
        return false;
    if (!Create(width, height, 8, FORMAT_PGX)) return Fail("Can't allocate memory");
    SetGrayPalette();
    const int32_t offset = sign == '-' ? 1 << (depth - 1) : 0;
    const uint32_t maxval = (1u << depth) - 1;
    std::vector<uint8_t> raw(static_cast<size_t>(width) * sampleBytes);
    for (uint32_t r = 0; r < height; ++r) {
        if (stream->Read(raw.data(), 1, raw.size()) != raw.size()) return Fail("error: cannot decode image");
        uint8_t* row = GetBits(height - 1 - r);
        for (uint32_t x = 0; x < width; ++x) {
            const uint8_t* s = raw.data() + static_cast<size_t>(x) * sampleBytes;
            uint32_t v = sampleBytes == 1 ? s[0] : (bigEndian ? (s[0] << 8) | s[1] : (s[1] << 8) | s[0]);
            v &= maxval;
            // Signed samples: two's complement of `depth` bits, moved up by half the range.
            int32_t value = static_cast<int32_t>(v);
            if (offset && value >= offset) value -= 2 * offset;
            value += offset;
            row[x] = ScaleTo8(static_cast<uint32_t>(value), maxval);
        }
    }
    return true;
}

bool ImagePGX::Encode(File* stream) {
    if (EncodeSafeCheck(stream)) return false;
    // Any palette of grey entries will do; each pixel is written as its grey value.
    bool grey = IsIndexed();
    for (uint32_t i = 0; grey && i < GetNumColors(); ++i) {
        const RGBQUAD c = GetPaletteColor(static_cast<uint8_t>(i));
        grey = c.rgbRed == c.rgbGreen && c.rgbGreen == c.rgbBlue;
    }
    if (!grey) return Fail("PGX can save only GrayScale images");
    const uint32_t width = GetWidth(), height = GetHeight();
    char header[64];
    const int n = std::snprintf(header, sizeof(header), "PG ML +8 %u %u\n", width, height);
    bool ok = stream->Write(header, 1, static_cast<size_t>(n)) == static_cast<size_t>(n);
    std::vector<uint8_t> line(width);
    for (uint32_t r = 0; ok && r < height; ++r) {
        const int32_t y = static_cast<int32_t>(height - 1 - r);
        for (uint32_t x = 0; x < width; ++x)
            line[x] = GetPaletteColor(BlindGetPixelIndex(static_cast<int32_t>(x), y)).rgbRed;
        ok = stream->Write(line.data(), 1, line.size()) == line.size();
    }
    if (!ok) return Fail("PGX: writing the pixel data failed");
    return true;
}

} // namespace vimg
