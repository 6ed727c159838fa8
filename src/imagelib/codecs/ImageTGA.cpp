#include "ImageTGA.h"

#include "../DecodeLimit.h"
#include "../File.h"
#include "ByteOrder.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vimg {

namespace {

// Pixels of the file one at a time, from plain or run-length data.
struct PixelSource {
    File* stream;
    uint32_t size;  // bytes per pixel
    bool rle;
    uint32_t repeat = 0, literal = 0;
    uint8_t value[4] = {};

    bool Next(uint8_t* out) {
        if (!rle) return stream->Read(out, size, 1) == 1;
        if (repeat == 0 && literal == 0) {
            const int32_t h = stream->GetC();
            if (h < 0) return false;
            if (h & 0x80) {
                repeat = static_cast<uint32_t>(h & 0x7F) + 1;
                if (stream->Read(value, size, 1) != 1) return false;
            } else {
                literal = static_cast<uint32_t>(h) + 1;
            }
        }
        if (repeat) {
            --repeat;
            std::memcpy(out, value, size);
            return true;
        }
        --literal;
        return stream->Read(out, size, 1) == 1;
    }
};

// A 15/16-bit, 24-bit or 32-bit colour of the file (blue first).
RGBQUAD Colour(const uint8_t* p, uint32_t bits) {
    if (bits <= 16) {
        const uint32_t v = bytes::Le16(p);
        const auto expand = [](uint32_t c) { return static_cast<uint8_t>((c << 3) | (c >> 2)); };
        return RGBQUAD{expand(v & 31), expand((v >> 5) & 31), expand((v >> 10) & 31), 255};
    }
    return RGBQUAD{p[0], p[1], p[2], bits == 32 ? p[3] : uint8_t{255}};
}

} // namespace

bool ImageTGA::Decode(File* stream) {
    if (!stream) return false;
    uint8_t h[18];
    if (stream->Read(h, 18, 1) != 1) return Fail("Not a TGA");
    const uint8_t idLength = h[0], mapType = h[1], imageType = h[2];
    const uint32_t mapFirst = bytes::Le16(h + 3), mapLength = bytes::Le16(h + 5), mapBits = h[7];
    const uint32_t width = bytes::Le16(h + 12), height = bytes::Le16(h + 14), bits = h[16];
    const uint8_t descriptor = h[17];

    const uint32_t kind = imageType & 7; // 1 mapped, 2 true colour, 3 grey
    if ((imageType & ~8u) < 1 || (imageType & ~8u) > 3) return Fail("Unknown TGA image type");
    if (mapType > 1 || width == 0 || height == 0 || (descriptor & 0xC0)) return Fail("bad TGA header");
    const bool depthOk = kind == 1   ? (bits == 8 && mapType == 1 && mapLength > 0 &&
                                      (mapBits == 15 || mapBits == 16 || mapBits == 24 || mapBits == 32))
                         : kind == 2 ? (bits == 15 || bits == 16 || bits == 24 || bits == 32)
                                     : (bits == 8 || bits == 16); // 16: grey then alpha byte
    if (!depthOk) return Fail("bad TGA header");

    if (info.escape == -1) {
        head.biWidth = static_cast<int32_t>(width);
        head.biHeight = static_cast<int32_t>(height);
        return true;
    }

    // Skip the identification field and read the colour map.
    if (idLength && !stream->Seek(idLength, 1)) return Fail("corrupted TGA");
    std::vector<RGBQUAD> map;
    if (mapType == 1) {
        const uint32_t entryBytes = (mapBits + 7) / 8;
        std::vector<uint8_t> raw(static_cast<size_t>(mapLength) * entryBytes);
        if (stream->Read(raw.data(), 1, raw.size()) != raw.size()) return Fail("corrupted TGA");
        if (kind == 1)
            for (uint32_t i = 0; i < mapLength; ++i)
                map.push_back(Colour(raw.data() + i * entryBytes, mapBits));
    }

    const bool rle = imageType & 8;
    const uint32_t pixelBytes = (bits + 7) / 8;
    const uint64_t pixels = static_cast<uint64_t>(width) * height;
    if (!rle && !DecodeLimit::CheckData(*this, stream, width, height, pixels * pixelBytes)) return false;
    // Nothing this small can hold the pixels declared (run-length packets give at most 128 per 2 bytes).
    const int64_t remaining = static_cast<int64_t>(stream->Size()) - stream->Tell();
    if (rle && !DecodeLimit::CheckPixels(*this, width, height)) return false;
    if (remaining <= 0 || pixels > static_cast<uint64_t>(remaining) * 128)
        return Fail("corrupted TGA: the run-length data is too short for the size in the header");

    if (!Create(width, height, kind == 2 ? 24 : 8, FORMAT_TGA)) return Fail("TGA Create failed");
    if (kind == 1) {
        RGBQUAD* pal = GetPalette();
        for (uint32_t i = 0; i < map.size() && mapFirst + i < 256; ++i) {
            pal[mapFirst + i] = map[i];
            pal[mapFirst + i].rgbReserved = 0;
        }
    } else if (kind == 3) {
        SetGrayPalette();
    }
    const bool alpha = (descriptor & 0x0F) != 0 && ((kind == 2 && bits == 32) || (kind == 3 && bits == 16));
    if (alpha) AlphaCreate();

    const bool topFirst = descriptor & 0x20, rightToLeft = descriptor & 0x10;
    PixelSource source{stream, pixelBytes, rle};
    uint8_t px[4];
    for (uint32_t r = 0; r < height; ++r) {
        if (info.escape) return Fail("Cancelled");
        const uint32_t y = topFirst ? height - 1 - r : r;
        uint8_t* row = GetBits(y);
        for (uint32_t i = 0; i < width; ++i) {
            if (!source.Next(px)) {
                // The file ends here. As other readers, leave out the row it holds only
                // part of; the rows not read stay black, and transparent with alpha.
                SetTruncated(true);
                std::memset(row, 0, GetEffWidth());
                for (uint32_t k = r; alpha && k < height; ++k)
                    std::memset(AlphaGetPointer(0, static_cast<int32_t>(topFirst ? height - 1 - k : k)), 0,
                                width);
                return true;
            }
            const uint32_t x = rightToLeft ? width - 1 - i : i;
            if (kind != 2) {
                row[x] = px[0];
                if (alpha) AlphaSet(static_cast<int32_t>(x), static_cast<int32_t>(y), px[1]);
                continue;
            }
            const RGBQUAD c = Colour(px, bits);
            row[3 * x] = c.rgbBlue;
            row[3 * x + 1] = c.rgbGreen;
            row[3 * x + 2] = c.rgbRed;
            if (alpha) AlphaSet(static_cast<int32_t>(x), static_cast<int32_t>(y), c.rgbReserved);
        }
    }
    return true;
}

bool ImageTGA::Encode(File* stream) {
    if (EncodeSafeCheck(stream)) return false;
    const uint32_t bpp = GetBpp();
    if (bpp != 8 && bpp != 24) return Fail("Bit depth must be 8 or 24");
    const bool grey = bpp == 8 && IsGrayScale();
    const bool alpha = bpp == 24 && AlphaIsValid();
    uint8_t h[18] = {};
    h[1] = (bpp == 8 && !grey) ? 1 : 0;
    h[2] = bpp == 24 ? 2 : (grey ? 3 : 1);
    if (h[1]) {
        bytes::PutLe16(h + 5, 256);
        h[7] = 24;
    }
    bytes::PutLe16(h + 12, GetWidth());
    bytes::PutLe16(h + 14, GetHeight());
    h[16] = static_cast<uint8_t>(alpha ? 32 : bpp);
    h[17] = alpha ? 8 : 0; // rows bottom first
    bool ok = stream->Write(h, 18, 1) == 1;
    if (h[1]) {
        uint8_t map[768];
        const RGBQUAD* pal = GetPalette();
        for (uint32_t i = 0; i < 256; ++i) {
            map[3 * i] = pal[i].rgbBlue;
            map[3 * i + 1] = pal[i].rgbGreen;
            map[3 * i + 2] = pal[i].rgbRed;
        }
        ok = ok && stream->Write(map, 1, sizeof(map)) == sizeof(map);
    }
    const uint32_t width = GetWidth();
    std::vector<uint8_t> line(static_cast<size_t>(width) * (alpha ? 4 : bpp / 8));
    for (uint32_t y = 0; ok && y < GetHeight(); ++y) {
        const uint8_t* row = GetBits(y);
        if (alpha) {
            for (uint32_t x = 0; x < width; ++x) {
                std::memcpy(&line[4 * x], row + 3 * x, 3);
                line[4 * x + 3] = AlphaGet(static_cast<int32_t>(x), static_cast<int32_t>(y));
            }
        } else {
            std::memcpy(line.data(), row, line.size());
        }
        ok = stream->Write(line.data(), 1, line.size()) == line.size();
    }
    if (!ok) return Fail("Write Error");
    return true;
}

} // namespace vimg
