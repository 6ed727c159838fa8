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
    // 32-bit files keep their first byte of each pixel here until its meaning is known.
    if (depth == 32 && !AlphaCreate()) return Fail("Can't allocate memory");
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
    // Of the four bytes of a 32-bit pixel, whether the first and the last are zero everywhere.
    bool firstZero = true, lastZero = true;
    std::vector<uint8_t> line(static_cast<size_t>(lineBytes));
    uint32_t r = 0; // rows read
    for (; r < height; ++r) {
        if (!source.Read(line.data(), line.size())) {
            // The file ends here: a row it holds only part of is left out, as other readers do.
            SetTruncated(true);
            break;
        }
        const uint32_t y = height - 1 - r;
        uint8_t* row = GetBits(y);
        if (bpp <= 8) {
            std::memcpy(row, line.data(), std::min<size_t>(line.size(), GetEffWidth()));
        } else {
            const uint32_t step = depth / 8;
            // 32-bit pixels are taken as pad (or alpha) first; MovePadLast corrects that afterwards.
            const size_t lead = depth == 32 ? 1 : 0;
            uint8_t* alpha = AlphaIsValid() ? AlphaGetPointer(0, static_cast<int32_t>(y)) : nullptr;
            for (uint32_t x = 0; x < width; ++x) {
                const uint8_t* s = line.data() + static_cast<size_t>(x) * step + lead;
                row[3 * x] = rgbOrder ? s[2] : s[0];
                row[3 * x + 1] = s[1];
                row[3 * x + 2] = rgbOrder ? s[0] : s[2];
                if (alpha) {
                    alpha[x] = s[-1];
                    firstZero = firstZero && s[-1] == 0;
                    lastZero = lastZero && s[2] == 0;
                }
            }
        }
    }
    if (AlphaIsValid()) {
        // The pad byte is zero where it stands. Files of the standard types whose last
        // byte is zero everywhere, and whose first is not, store blue, green, red, pad
        // (as little-endian converters write them); all others pad (or alpha), blue,
        // green, red. A first byte that is zero everywhere is padding, not transparency,
        // and with a colour map it is never transparency.
        const bool padLast = !firstZero && lastZero && !rgbOrder;
        if (padLast) MovePadLast(r);
        if (padLast || firstZero || mapType == 1) AlphaDelete();
    }
    return true;
}

// The first `rows` rows of the file were read as pad, blue, green, red (the pad
// byte in the alpha plane); the file holds blue, green, red, pad: every byte moves one place.
void ImageRAS::MovePadLast(uint32_t rows) {
    const uint32_t width = GetWidth(), height = GetHeight();
    for (uint32_t y = height - rows; y < height; ++y) {
        uint8_t* row = GetBits(y);
        const uint8_t* alpha = AlphaGetPointer(0, static_cast<int32_t>(y));
        for (uint32_t x = 0; x < width; ++x) {
            uint8_t* p = row + 3 * x;
            p[2] = p[1];
            p[1] = p[0];
            p[0] = alpha[x];
        }
    }
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
