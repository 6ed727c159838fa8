#include "ImageBMP.h"

#include "../DecodeLimit.h"
#include "../File.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

namespace vimg {

namespace {

constexpr uint16_t kSignature = 19778; // "BM"
constexpr uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
void Put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

constexpr int32_t kCalibratedPelsPerMetre = 50000;

int32_t PelsToDpi(int32_t pels) {
    const double dpi = std::floor(static_cast<double>(pels) * 0.0254 + 0.5);
    return static_cast<int32_t>(std::clamp(dpi, -1.0, 1.0e6));
}

// Moves forward by `bytes`, never beyond the end of the stream.
void Skip(File* stream, uint64_t bytes) {
    const int32_t pos = stream->Tell();
    const int32_t size = stream->Size();
    if (pos < 0 || size < 0) return;
    const uint64_t target =
        std::min<uint64_t>(static_cast<uint64_t>(pos) + bytes, static_cast<uint64_t>(size));
    stream->Seek(static_cast<int32_t>(target), 0);
}

// Places the bits of `value` selected by `mask` at the top of a byte, the way a
// 5-bit channel becomes the top five bits of its 8-bit value.
struct Channel {
    uint32_t mask = 0;
    int shift = 0; // position of the mask's lowest bit
    int bits = 0;  // number of set bits (at most 8 are kept)

    explicit Channel(uint32_t m) : mask(m) {
        if (m) {
            shift = std::countr_zero(m);
            bits = std::popcount(m);
        }
    }
    uint8_t Extract(uint32_t v) const {
        if (!mask) return 0;
        const uint32_t field = (v & mask) >> shift;
        if (bits >= 8) return static_cast<uint8_t>(field >> (bits - 8));
        return static_cast<uint8_t>(field << (8 - bits));
    }
};

// Both run-length decoders keep a logical row (moved only by end-of-line and
// delta codes) and a write position that runs on through the picture: a run
// that passes the row end continues on the next row, as files written by older
// tools expect. `units` is the row length in the decoder's unit (bytes for
// RLE8, nibbles for RLE4); writes outside the picture are dropped.
struct RleCursor {
    uint64_t units = 0, height = 0;
    uint64_t x = 0, y = 0, pos = 0;
    bool Inside() const { return units && pos / units < height; }
    uint64_t Row() const { return pos / units; }
    uint64_t Column() const { return pos % units; }
    void EndOfLine() {
        x = 0;
        ++y;
        pos = y * units;
    }
    void Delta(uint32_t dx, uint32_t dy) {
        x += dx;
        y += dy;
        pos = y * units + x;
    }
};

} // namespace

bool ImageBMP::Decode(File* stream) {
    if (!stream) return false;
    const int32_t start = stream->Tell();

    uint8_t fileHeader[14];
    if (stream->Read(fileHeader, 14, 1) != 1) return Fail("Not a BMP");
    uint32_t dataOffset = U32(fileHeader + 10);
    if (U16(fileHeader) != kSignature) {
        // A bare bitmap: the information header is at the start.
        stream->Seek(start, 0);
        dataOffset = 0;
    }

    uint8_t raw[40];
    if (stream->Read(raw, 40, 1) != 1) return Fail("Error reading BMP info");
    BITMAPINFOHEADER bih;
    bih.biSize = U32(raw);
    bih.biWidth = static_cast<int32_t>(U32(raw + 4));
    bih.biHeight = static_cast<int32_t>(U32(raw + 8));
    bih.biPlanes = U16(raw + 12);
    bih.biBitCount = U16(raw + 14);
    bih.biCompression = U32(raw + 16);
    bih.biSizeImage = U32(raw + 20);
    bih.biXPelsPerMeter = static_cast<int32_t>(U32(raw + 24));
    bih.biYPelsPerMeter = static_cast<int32_t>(U32(raw + 28));
    bih.biClrUsed = U32(raw + 32);
    bih.biClrImportant = U32(raw + 36);

    bool os2 = false;
    // Channel masks; the version 4 and 5 headers carry them, including alpha.
    uint32_t masks[4] = {0, 0, 0, 0};
    bool headerMasks = false;
    if (bih.biSize == 12) {
        os2 = true;
        bih.biWidth = U16(raw + 4);
        bih.biHeight = U16(raw + 6);
        bih.biPlanes = U16(raw + 8);
        bih.biBitCount = U16(raw + 10);
        bih.biCompression = bih.biSizeImage = bih.biClrUsed = bih.biClrImportant = 0;
        bih.biXPelsPerMeter = bih.biYPelsPerMeter = 0;
        stream->Seek(-28, 1);
    } else if (bih.biSize == 40) {
        // standard header
    } else if (bih.biSize == 64) {
        Skip(stream, 24);
    } else if (bih.biSize == 108 || bih.biSize == 124) {
        uint8_t ext[16];
        if (stream->Read(ext, 16, 1) != 1) return Fail("Error reading BMP info");
        for (int i = 0; i < 4; ++i) masks[i] = U32(ext + 4 * i);
        headerMasks = true;
        Skip(stream, bih.biSize - 56);
    } else if (bih.biSize >= 41) {
        const uint64_t expected =
            ((static_cast<uint64_t>(bih.biBitCount) * static_cast<uint32_t>(bih.biWidth) + 31) / 32) *
            static_cast<uint32_t>(bih.biHeight) * 4;
        if (expected != bih.biSizeImage || bih.biPlanes != 1 || bih.biCompression != BI_RGB ||
            bih.biClrUsed != 0)
            return Fail("Error reading BMP info");
        Skip(stream, bih.biSize - 40);
    } else {
        return Fail("Error reading BMP info");
    }

    // Sizes a hostile header could make overflow or wrap are refused outright.
    if (bih.biWidth <= 0 || bih.biHeight == 0 || bih.biHeight == std::numeric_limits<int32_t>::min())
        return Fail("Error reading BMP info");
    const bool topDown = bih.biHeight < 0;
    const uint32_t width = static_cast<uint32_t>(bih.biWidth);
    const uint32_t height = static_cast<uint32_t>(topDown ? -bih.biHeight : bih.biHeight);
    const uint32_t bpp = bih.biBitCount;

    if (bih.biClrUsed == 0 && bpp <= 8) bih.biClrUsed = 1u << bpp;

    if (info.escape == -1) {
        head.biWidth = static_cast<int32_t>(width);
        head.biHeight = static_cast<int32_t>(height);
        SetLastError("output dimensions returned");
        return true;
    }

    // Uncompressed rows must be in the file; run-length data is bounded by the pixel ceiling.
    const bool runLength = bih.biCompression == BI_RLE8 || bih.biCompression == BI_RLE4;
    const uint64_t rowBytes = ((static_cast<uint64_t>(width) * bpp + 31) / 32) * 4;
    if (runLength ? !DecodeLimit::CheckPixels(*this, width, height)
                  : !DecodeLimit::CheckData(*this, stream, width, height, rowBytes * height))
        return false;
    if (!Create(width, height, bpp, FORMAT_BMP)) return Fail("Can't allocate memory");

    head.biXPelsPerMeter = bih.biXPelsPerMeter;
    head.biYPelsPerMeter = bih.biYPelsPerMeter;
    info.xDpi = PelsToDpi(bih.biXPelsPerMeter);
    info.yDpi = PelsToDpi(bih.biYPelsPerMeter);
    if (info.xDpi < 1) info.xDpi = 96;
    if (info.yDpi < 1) info.yDpi = 96;
    // BMP has no place to say a resolution is a calibration. Print and screen
    // resolutions stay below 50000 pixels per metre (1270 dpi); finer ones
    // are taken as the micrometres per pixel our calibrated stills write.
    SetPixelSize(bih.biXPelsPerMeter >= kCalibratedPelsPerMetre ? 1.0e6 / bih.biXPelsPerMeter : 0.0);
    SetCameraName(nullptr);
    std::memcpy(pDib.get(), &head, sizeof(head));

    if (info.escape) return Fail("Cancelled");

    if (RGBQUAD* pal = GetPalette()) {
        const uint32_t fileEntries = bih.biClrUsed ? bih.biClrUsed : (1u << std::min<uint32_t>(bpp, 8));
        const uint32_t kept = std::min(fileEntries, GetNumColors());
        const uint32_t entrySize = os2 ? 3 : 4;
        std::vector<uint8_t> entries(static_cast<size_t>(kept) * entrySize);
        const size_t got = stream->Read(entries.data(), 1, entries.size());
        entries.resize(got);
        for (uint32_t i = 0; i < kept && (i + 1) * entrySize <= got; ++i) {
            const uint8_t* e = entries.data() + static_cast<size_t>(i) * entrySize;
            pal[i] = RGBQUAD{e[0], e[1], e[2], 0};
        }
        if (fileEntries > kept) Skip(stream, static_cast<uint64_t>(fileEntries - kept) * entrySize);
    }

    if (info.escape) return Fail("Cancelled");

    const auto seekToData = [&] {
        if (dataOffset) stream->Seek(static_cast<int32_t>(static_cast<int64_t>(start) + dataOffset), 0);
    };

    switch (bpp) {
    case 1:
    case 4:
    case 8:
        if (bih.biCompression == BI_RGB) {
            seekToData();
            stream->Read(info.pixels, 1, head.biSizeImage);
        } else if (bih.biCompression == BI_RLE8) {
            seekToData();
            DecodeRle8(stream);
        } else if (bih.biCompression == BI_RLE4) {
            seekToData();
            DecodeRle4(stream);
        } else {
            return Fail("compression type not supported");
        }
        break;
    case 16: {
        if (bih.biCompression != BI_RGB && bih.biCompression != BI_BITFIELDS &&
            bih.biCompression != BI_ALPHABITFIELDS)
            return Fail("unknown compression");
        if (!headerMasks) {
            masks[0] = 0x7C00;
            masks[1] = 0x3E0;
            masks[2] = 0x1F;
            masks[3] = 0;
            if (bih.biCompression != BI_RGB) {
                uint8_t m[12];
                if (stream->Read(m, 12, 1) == 1)
                    for (int i = 0; i < 3; ++i) masks[i] = U32(m + 4 * i);
            }
        } else if (bih.biCompression == BI_RGB) {
            masks[0] = 0x7C00;
            masks[1] = 0x3E0;
            masks[2] = 0x1F;
            masks[3] = 0;
        }
        seekToData();
        // The packed 16-bit rows fit in the start of the 24-bit pixel block.
        const uint32_t srcStride = ((width + 1) / 2) * 4;
        stream->Read(info.pixels, 1, static_cast<size_t>(srcStride) * height);
        if (!ConvertBitFields(info.pixels, srcStride, 2, masks)) return false;
        break;
    }
    case 24:
        if (bih.biCompression != BI_RGB) return Fail("unknown compression");
        seekToData();
        stream->Read(info.pixels, 1, head.biSizeImage);
        break;
    case 32: {
        if (bih.biCompression != BI_RGB && bih.biCompression != BI_BITFIELDS &&
            bih.biCompression != BI_ALPHABITFIELDS)
            return Fail("unknown compression");
        if (bih.biCompression == BI_RGB) {
            masks[0] = 0x00FF0000;
            masks[1] = 0x0000FF00;
            masks[2] = 0x000000FF;
            masks[3] = 0;
        } else if (!headerMasks) {
            masks[0] = 0x00FF0000;
            masks[1] = 0x0000FF00;
            masks[2] = 0x000000FF;
            masks[3] = 0;
            const int n = bih.biCompression == BI_ALPHABITFIELDS ? 4 : 3;
            uint8_t m[16];
            if (stream->Read(m, 4, n) == static_cast<size_t>(n))
                for (int i = 0; i < n; ++i) masks[i] = U32(m + 4 * i);
        }
        seekToData();
        const uint64_t bytes = static_cast<uint64_t>(width) * 4 * height;
        std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[bytes]());
        if (!buffer) return Fail("can't allocate memory");
        stream->Read(buffer.get(), 1, static_cast<size_t>(bytes));
        if (!ConvertBitFields(buffer.get(), width * 4, 4, masks)) return false;
        break;
    }
    default:
        break;
    }

    if (topDown) {
        FlipRows();
        AlphaFlip();
    }
    return true;
}

bool ImageBMP::ConvertBitFields(const uint8_t* src, uint32_t srcStride, uint32_t bytesPerPixel,
                                const uint32_t masks[4]) {
    const uint32_t width = GetWidth(), height = GetHeight();
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
    if (alpha.mask && !AlphaCreate()) return Fail("can't allocate memory");
    // Backwards over rows and pixels: the 16-bit source may share the buffer with the result.
    for (uint32_t y = height; y-- > 0;) {
        const uint8_t* s = src + static_cast<size_t>(y) * srcStride;
        uint8_t* d = GetBits(y);
        uint8_t* a = alpha.mask ? AlphaGetPointer(0, static_cast<int32_t>(y)) : nullptr;
        for (uint32_t x = width; x-- > 0;) {
            const uint32_t v = bytesPerPixel == 2 ? U16(s + 2 * x) : U32(s + 4 * x);
            const uint8_t b = blue.Extract(v), g = green.Extract(v), r = red.Extract(v);
            d[3 * x] = b;
            d[3 * x + 1] = g;
            d[3 * x + 2] = r;
            if (a) a[x] = alpha.Extract(v);
        }
    }
    return true;
}

void ImageBMP::DecodeRle8(File* stream) {
    const uint32_t stride = info.effWidth;
    uint8_t* bits = info.pixels;
    RleCursor at;
    at.units = (static_cast<uint64_t>(GetWidth()) * GetBpp() + 7) / 8;
    at.height = GetHeight();
    const auto put = [&](uint8_t v) {
        if (at.Inside()) bits[at.Row() * stride + at.Column()] = v;
        ++at.pos;
        ++at.x;
    };
    while (at.y < at.height) {
        const int32_t n = stream->GetC();
        if (n < 0) return;
        if (n > 0) {
            const int32_t v = stream->GetC();
            if (v < 0) return;
            for (int32_t i = 0; i < n; ++i) put(static_cast<uint8_t>(v));
            continue;
        }
        const int32_t c = stream->GetC();
        if (c < 0) return;
        if (c == 0) {
            at.EndOfLine();
        } else if (c == 1) {
            return;
        } else if (c == 2) {
            const int32_t dx = stream->GetC();
            const int32_t dy = stream->GetC();
            if (dx < 0 || dy < 0) return;
            at.Delta(static_cast<uint32_t>(dx), static_cast<uint32_t>(dy));
        } else {
            for (int32_t i = 0; i < c; ++i) {
                const int32_t v = stream->GetC();
                if (v < 0) return;
                put(static_cast<uint8_t>(v));
            }
            if (c & 1) stream->GetC();
        }
    }
}

// A run's pixels take the nibbles in stream order (high, then low) whatever the
// position of its first pixel in the picture.
void ImageBMP::DecodeRle4(File* stream) {
    const uint32_t stride = info.effWidth;
    uint8_t* bits = info.pixels;
    RleCursor at;
    at.units = (static_cast<uint64_t>(GetWidth()) * GetBpp() + 3) / 4;
    at.height = GetHeight();
    const auto put = [&](uint8_t nibble) {
        if (at.Inside()) {
            const uint64_t column = at.Column();
            uint8_t& byte = bits[at.Row() * stride + column / 2];
            byte = (column & 1) ? static_cast<uint8_t>((byte & 0xF0) | nibble)
                                : static_cast<uint8_t>((byte & 0x0F) | (nibble << 4));
        }
        ++at.pos;
        ++at.x;
    };
    while (at.y < at.height) {
        const int32_t n = stream->GetC();
        if (n < 0) return;
        if (n > 0) {
            const int32_t v = stream->GetC();
            if (v < 0) return;
            for (int32_t i = 0; i < n; ++i) put(static_cast<uint8_t>((i & 1) ? (v & 0x0F) : (v >> 4)));
            continue;
        }
        const int32_t c = stream->GetC();
        if (c < 0) return;
        if (c == 1) {
            return;
        } else if (c == 2) {
            const int32_t dx = stream->GetC();
            const int32_t dy = stream->GetC();
            if (dx < 0 || dy < 0) return;
            at.Delta(static_cast<uint32_t>(dx), static_cast<uint32_t>(dy));
        } else if (c == 0) {
            at.EndOfLine();
        } else {
            int32_t v = 0;
            for (int32_t i = 0; i < c; ++i) {
                if ((i & 1) == 0) {
                    v = stream->GetC();
                    if (v < 0) return;
                }
                put(static_cast<uint8_t>((i & 1) ? (v & 0x0F) : (v >> 4)));
            }
            // The run's bytes are padded to an even count.
            if (((c + 1) / 2) & 1) stream->GetC();
        }
    }
}

bool ImageBMP::Encode(File* stream) {
    if (EncodeSafeCheck(stream)) return false;
    const uint32_t paletteSize = GetPaletteSize();
    uint8_t fileHeader[14] = {};
    Put16(fileHeader, kSignature);
    Put32(fileHeader + 2, GetSize() + 14);
    Put32(fileHeader + 10, 14 + 40 + paletteSize);
    uint8_t infoHeader[40];
    BITMAPINFOHEADER h = head;
    h.biSize = 40;
    if (info.pixelSizeUm > 0) {
        // A calibrated picture: its pixel size as pixels per metre.
        const double perMetre = std::clamp(std::round(1.0e6 / info.pixelSizeUm), 1.0, 2147483647.0);
        h.biXPelsPerMeter = h.biYPelsPerMeter = static_cast<int32_t>(perMetre);
    }
    std::memcpy(infoHeader, &h, 40);
    const auto* block = static_cast<const uint8_t*>(pDib.get());
    const size_t rest = static_cast<size_t>(GetSize()) - 40;
    if (stream->Write(fileHeader, 14, 1) != 1 || stream->Write(infoHeader, 40, 1) != 1 ||
        stream->Write(block + 40, 1, rest) != rest) {
        SetLastError("Write Error");
        return false;
    }
    return true;
}

} // namespace vimg
