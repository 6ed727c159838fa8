#include "ImageRAS.h"

#include "../DecodeLimit.h"
#include "../File.h"
#include "ByteOrder.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vimg {

namespace {

constexpr uint32_t kMagic = 0x59A66A95;
// Type 0, the old format, reads as the standard one.
constexpr uint32_t kTypeStandard = 1, kTypeRle = 2, kTypeRgb = 3;

// The pixel bytes of the file, plain or with 0x80 escapes (0x80 n v: n + 1 copies of v).
struct ByteSource {
    File* stream;
    bool rle;
    uint32_t repeat = 0;
    uint8_t value = 0;

    bool Read(uint8_t* out, size_t n) {
        if (!rle) return stream->Read(out, 1, n) == n;
        for (size_t i = 0; i < n; ++i) {
            if (repeat == 0) {
                const int32_t c = stream->GetC();
                if (c < 0) return false;
                if (c != 0x80) {
                    out[i] = static_cast<uint8_t>(c);
                    continue;
                }
                const int32_t count = stream->GetC();
                if (count < 0) return false;
                if (count == 0) {
                    out[i] = 0x80;
                    continue;
                }
                const int32_t v = stream->GetC();
                if (v < 0) return false;
                repeat = static_cast<uint32_t>(count) + 1;
                value = static_cast<uint8_t>(v);
            }
            out[i] = value;
            --repeat;
        }
        return true;
    }
};

} // namespace

bool ImageRAS::Decode(File* stream) {
    if (!stream) return false;
    uint8_t h[32];
    if (stream->Read(h, 32, 1) != 1 || bytes::Be32(h) != kMagic) return Fail("error: cannot decode image");
    const uint32_t width = bytes::Be32(h + 4), height = bytes::Be32(h + 8), depth = bytes::Be32(h + 12);
    const uint32_t type = bytes::Be32(h + 20), mapType = bytes::Be32(h + 24), mapLength = bytes::Be32(h + 28);
    if (width == 0 || height == 0 || width > 0x7FFFFFF || height > 0x7FFFFFF ||
        (depth != 1 && depth != 4 && depth != 8 && depth != 24 && depth != 32) || type > kTypeRgb ||
        mapType > 1 || mapLength > 768 || (mapType == 1 && mapLength % 3))
        return Fail("error: cannot decode image");
    if (info.escape == -1) {
        head.biWidth = static_cast<int32_t>(width);
        head.biHeight = static_cast<int32_t>(height);
        return true;
    }
    uint8_t map[768] = {};
    if (mapLength && stream->Read(map, 1, mapLength) != mapLength) return Fail("error: cannot decode image");

    // Rows are padded to 16 bits.
    const uint64_t lineBytes = ((static_cast<uint64_t>(width) * depth + 15) / 16) * 2;
    if (type == kTypeRle ? !DecodeLimit::CheckPixels(*this, width, height)
                         : !DecodeLimit::CheckData(*this, stream, width, height, lineBytes * height))
        return false;
    const int64_t remaining = static_cast<int64_t>(stream->Size()) - stream->Tell();
    // Escapes give at most 256 bytes per 3.
    if (remaining <= 0 || lineBytes * height > static_cast<uint64_t>(remaining) * 86)
        return Fail("RAS: the run-length data is too short for the size in the header");
    const uint32_t bpp = depth <= 8 ? depth : 24;
    if (!Create(width, height, bpp, FORMAT_RAS)) return Fail("Can't allocate memory");
    if (depth == 32 && mapType == 0) AlphaCreate();
    if (bpp <= 8) {
        const uint32_t entries = mapType == 1 ? mapLength / 3 : 0;
        if (entries) {
            for (uint32_t i = 0; i < entries && i < GetNumColors(); ++i)
                SetPaletteColor(static_cast<uint8_t>(i), map[i], map[entries + i], map[2 * entries + i]);
        } else if (bpp == 1) {
            // Without a map a set bit is black.
            SetPaletteColor(0, 255, 255, 255);
            SetPaletteColor(1, 0, 0, 0);
        } else {
            SetGrayPalette();
        }
    }
    const bool rgbOrder = type == kTypeRgb;
    ByteSource source{stream, type == kTypeRle};
    bool padOnly = true;
    std::vector<uint8_t> line(static_cast<size_t>(lineBytes));
    for (uint32_t r = 0; r < height; ++r) {
        if (!source.Read(line.data(), line.size())) break; // short file: the rest stays black
        const uint32_t y = height - 1 - r;
        uint8_t* row = GetBits(y);
        if (bpp <= 8) {
            std::memcpy(row, line.data(), std::min<size_t>(line.size(), GetEffWidth()));
            continue;
        }
        const uint32_t step = depth / 8;
        for (uint32_t x = 0; x < width; ++x) {
            const uint8_t* s = line.data() + static_cast<size_t>(x) * step + (depth == 32 ? 1 : 0);
            row[3 * x] = rgbOrder ? s[2] : s[0];
            row[3 * x + 1] = s[1];
            row[3 * x + 2] = rgbOrder ? s[0] : s[2];
            if (AlphaIsValid()) {
                AlphaSet(static_cast<int32_t>(x), static_cast<int32_t>(y), s[-1]);
                padOnly = padOnly && s[-1] == 0;
            }
        }
    }
    // A fourth byte that is zero everywhere is padding, not transparency.
    if (padOnly) AlphaDelete();
    return true;
}

bool ImageRAS::Encode(File* stream) {
    if (EncodeSafeCheck(stream)) return false;
    const uint32_t width = GetWidth(), height = GetHeight();
    const bool indexed = IsIndexed();
    const uint32_t depth = indexed ? 8 : 24;
    const uint32_t colours = indexed ? GetNumColors() : 0;
    const uint32_t lineBytes = ((width * depth + 15) / 16) * 2;
    uint8_t h[32] = {};
    bytes::PutBe32(h, kMagic);
    bytes::PutBe32(h + 4, width);
    bytes::PutBe32(h + 8, height);
    bytes::PutBe32(h + 12, depth);
    bytes::PutBe32(h + 16, lineBytes * height);
    bytes::PutBe32(h + 20, kTypeStandard);
    bytes::PutBe32(h + 24, colours ? 1 : 0);
    bytes::PutBe32(h + 28, 3 * colours);
    bool ok = stream->Write(h, 32, 1) == 1;
    if (colours) {
        std::vector<uint8_t> map(3 * colours);
        for (uint32_t i = 0; i < colours; ++i) {
            const RGBQUAD c = GetPaletteColor(static_cast<uint8_t>(i));
            map[i] = c.rgbRed;
            map[colours + i] = c.rgbGreen;
            map[2 * colours + i] = c.rgbBlue;
        }
        ok = ok && stream->Write(map.data(), 1, map.size()) == map.size();
    }
    std::vector<uint8_t> line(lineBytes, 0);
    for (uint32_t r = 0; ok && r < height; ++r) {
        const int32_t y = static_cast<int32_t>(height - 1 - r);
        const uint8_t* row = GetBits(static_cast<uint32_t>(y));
        for (uint32_t x = 0; x < width; ++x) {
            if (indexed) line[x] = BlindGetPixelIndex(static_cast<int32_t>(x), y);
            else
                std::memcpy(&line[3 * x], row + 3 * x,
                            3); // blue, green, red as the standard type stores them
        }
        ok = stream->Write(line.data(), 1, line.size()) == line.size();
    }
    if (!ok) return Fail("RAS: writing the pixel data failed");
    return true;
}

} // namespace vimg
