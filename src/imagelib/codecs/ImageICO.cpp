#include "ImageICO.h"

#include "../File.h"
#include "ByteOrder.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace vimg {

namespace {

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint64_t Stride(uint64_t width, uint32_t bits) { return ((width * bits + 31) / 32) * 4; }

// Bytes a bitmap entry takes by its header: header, palette, pixels and AND mask.
uint64_t BitmapBytes(const uint8_t* header) {
    const uint64_t headerSize = bytes::Le32(header), width = bytes::Le32(header + 4);
    const int32_t h2 = static_cast<int32_t>(bytes::Le32(header + 8));
    const uint32_t bits = bytes::Le16(header + 14);
    if (width > 65536 || bits == 0 || bits > 32 || h2 == INT32_MIN) return 0;
    const uint64_t height = static_cast<uint64_t>(h2 < 0 ? -h2 : h2) / 2;
    const uint32_t used = bytes::Le32(header + 32);
    const uint64_t colours = bits > 8 ? 0 : (used == 0 || used > (1u << bits) ? (1u << bits) : used);
    return headerSize + 4 * colours + (Stride(width, bits) + Stride(width, 1)) * height;
}

} // namespace

bool ImageICO::Decode(File* stream) {
    if (!stream) return false;
    const int32_t start = stream->Tell();
    uint8_t dir[6];
    if (stream->Read(dir, 6, 1) != 1) return Fail("Not an ICO file");
    const uint32_t kind = bytes::Le16(dir + 2), count = bytes::Le16(dir + 4);
    if (bytes::Le16(dir) != 0 || (kind != 1 && kind != 2) || count == 0) return Fail("Not an ICO file");
    std::vector<uint8_t> entries(static_cast<size_t>(count) * 16);
    if (stream->Read(entries.data(), 1, entries.size()) != entries.size())
        return Fail("ICO: the file ends inside the icon directory");
    info.frameCount = static_cast<int32_t>(count);
    char text[96];
    if (info.frame < 0 || info.frame >= info.frameCount) {
        std::snprintf(text, sizeof(text), "ICO: there is no image %d (the file holds %d)", info.frame,
                      info.frameCount);
        return Fail(text);
    }

    const uint8_t* e = entries.data() + static_cast<size_t>(info.frame) * 16;
    const uint32_t size = bytes::Le32(e + 8), offset = bytes::Le32(e + 12);
    // The entry's size is only a hint: writers get it wrong both ways (the
    // mask left out, or counted with a different row length). The image takes
    // what its own header declares, as far as the file reaches.
    const int64_t available = static_cast<int64_t>(stream->Size()) - start - offset;
    if (available < 8) {
        std::snprintf(text, sizeof(text), "ICO: image %d lies beyond the end of the file", info.frame);
        return Fail(text);
    }
    if (info.escape == -1) {
        head.biWidth = e[0] ? e[0] : 256;
        head.biHeight = e[1] ? e[1] : 256;
        return true;
    }
    // Cursors (kind 2) keep the entry's hot spot where icons keep planes and bit count.
    const int32_t hotX = kind == 2 ? bytes::Le16(e + 4) : -1, hotY = kind == 2 ? bytes::Le16(e + 6) : -1;
    std::vector<uint8_t> data(
        static_cast<size_t>(std::min<int64_t>(std::max<uint32_t>(size, 40), available)));
    if (!stream->Seek(static_cast<int32_t>(start + static_cast<int64_t>(offset)), 0) ||
        stream->Read(data.data(), 1, data.size()) != data.size())
        return Fail("ICO: cannot read the image data");
    const bool isPng = std::memcmp(data.data(), kPngSignature, 8) == 0;
    if (!isPng && data.size() >= 40) {
        const uint64_t declared =
            std::min<uint64_t>(BitmapBytes(data.data()), static_cast<uint64_t>(available));
        if (declared > data.size()) {
            const size_t have = data.size();
            data.resize(static_cast<size_t>(declared));
            if (stream->Read(data.data() + have, 1, data.size() - have) != data.size() - have)
                return Fail("ICO: cannot read the image data");
        }
    }

    if (isPng) {
        // Entries stored as PNG go through the PNG codec.
        Image png;
        png.CopyInfo(*this);
        png.SetFrame(0);
        if (!png.Decode(data.data(), static_cast<uint32_t>(data.size()), FORMAT_PNG))
            return Fail(png.GetLastError());
        const int32_t frame = info.frame, frames = info.frameCount;
        Transfer(png);
        info.type = FORMAT_ICO;
        info.frame = frame;
        info.frameCount = frames;
        SetHotSpot(hotX, hotY);
        return true;
    }
    if (!DecodeBitmap(data.data(), data.size())) return false;
    SetHotSpot(hotX, hotY);
    return true;
}

bool ImageICO::DecodeBitmap(const uint8_t* data, size_t size) {
    if (size < 40) return Fail("ICO: the bitmap header is cut short");
    const uint32_t headerSize = bytes::Le32(data);
    const int32_t w = static_cast<int32_t>(bytes::Le32(data + 4));
    int32_t h2 = static_cast<int32_t>(bytes::Le32(data + 8));
    // A negative height stores the rows top first.
    const bool topDown = h2 < 0 && h2 != INT32_MIN;
    if (topDown) h2 = -h2;
    const uint32_t bits = bytes::Le16(data + 14), compression = bytes::Le32(data + 16);
    uint32_t colours = bytes::Le32(data + 32);
    if (headerSize < 40 || headerSize > size || w <= 0 || w > 65536 || h2 <= 1 || h2 > 131072 ||
        compression != 0)
        return Fail("ICO: bad bitmap header");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return Fail("ICO: unsupported bit depth");
    const uint32_t width = static_cast<uint32_t>(w), height = static_cast<uint32_t>(h2) / 2;
    if (bits <= 8 && (colours == 0 || colours > (1u << bits))) colours = 1u << bits;
    if (bits > 8) colours = 0;

    const uint64_t paletteBytes = static_cast<uint64_t>(colours) * 4;
    const uint64_t xorStride = Stride(width, bits), andStride = Stride(width, 1);
    const uint64_t pixelsAt = headerSize + paletteBytes;
    const uint64_t maskAt = pixelsAt + xorStride * height;
    if (maskAt > size) return Fail("ICO: the image data is shorter than its header declares");
    const bool haveMask = maskAt + andStride * height <= size;

    if (!Create(width, height, bits == 32 ? 24 : bits, FORMAT_ICO)) return false; // Create left its text
    for (uint32_t i = 0; i < colours; ++i) {
        const uint8_t* c = data + headerSize + 4 * i;
        SetPaletteColor(static_cast<uint8_t>(i), c[2], c[1], c[0]);
    }
    bool anyAlpha = false;
    // File row i holds image row rowOf(i).
    const auto rowOf = [&](uint32_t i) { return topDown ? height - 1 - i : i; };
    for (uint32_t i = 0; i < height; ++i) {
        const uint8_t* src = data + pixelsAt + xorStride * i;
        uint8_t* dst = GetBits(rowOf(i));
        if (bits != 32) {
            std::memcpy(dst, src, std::min<uint64_t>(xorStride, GetEffWidth()));
            continue;
        }
        for (uint32_t x = 0; x < width; ++x) {
            std::memcpy(dst + 3 * x, src + 4 * x, 3);
            anyAlpha = anyAlpha || src[4 * x + 3] != 0;
        }
    }
    if (bits == 32 && anyAlpha) {
        AlphaCreate();
        for (uint32_t i = 0; i < height; ++i)
            for (uint32_t x = 0; x < width; ++x)
                AlphaSet(static_cast<int32_t>(x), static_cast<int32_t>(rowOf(i)),
                         data[pixelsAt + xorStride * i + 4 * x + 3]);
        return true;
    }
    if (!haveMask) return true;
    // The AND mask: a set bit marks a transparent pixel.
    for (uint32_t i = 0; i < height; ++i) {
        const uint8_t* m = data + maskAt + andStride * i;
        for (uint32_t x = 0; x < width; ++x) {
            if (!((m[x / 8] >> (7 - x % 8)) & 1)) continue;
            if (!AlphaIsValid() && !AlphaCreate()) return true;
            AlphaSet(static_cast<int32_t>(x), static_cast<int32_t>(rowOf(i)), 0);
        }
    }
    return true;
}

bool ImageICO::Encode(File* stream) {
    if (EncodeSafeCheck(stream)) return false;
    const uint32_t width = GetWidth(), height = GetHeight(), bpp = GetBpp();
    if (width > 255 || height > 255) return Fail("Can't save this image as icon");
    const uint32_t bits = (bpp == 24 && AlphaIsValid()) ? 32 : bpp;
    const uint32_t colours = GetNumColors();
    const uint64_t xorStride = Stride(width, bits), andStride = Stride(width, 1);
    const uint32_t bytesInRes =
        static_cast<uint32_t>(40 + 4 * colours + (xorStride + andStride) * height);

    std::vector<uint8_t> out(22 + static_cast<size_t>(bytesInRes), 0);
    bytes::PutLe16(&out[2], 1);
    bytes::PutLe16(&out[4], 1);
    uint8_t* e = &out[6];
    e[0] = static_cast<uint8_t>(width);
    e[1] = static_cast<uint8_t>(height);
    e[2] = static_cast<uint8_t>(colours < 256 ? colours : 0);
    bytes::PutLe16(e + 4, 1);
    bytes::PutLe16(e + 6, bits);
    bytes::PutLe32(e + 8, bytesInRes);
    bytes::PutLe32(e + 12, 22);
    uint8_t* bih = &out[22];
    bytes::PutLe32(bih, 40);
    bytes::PutLe32(bih + 4, width);
    bytes::PutLe32(bih + 8, height * 2);
    bytes::PutLe16(bih + 12, 1);
    bytes::PutLe16(bih + 14, bits);
    bytes::PutLe32(bih + 20, static_cast<uint32_t>((xorStride + andStride) * height));
    bytes::PutLe32(bih + 32, colours);
    uint8_t* pal = bih + 40;
    for (uint32_t i = 0; i < colours; ++i) {
        const RGBQUAD c = GetPaletteColor(static_cast<uint8_t>(i));
        pal[4 * i] = c.rgbBlue;
        pal[4 * i + 1] = c.rgbGreen;
        pal[4 * i + 2] = c.rgbRed;
    }
    uint8_t* pixels = pal + 4 * colours;
    uint8_t* mask = pixels + xorStride * height;
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t* dst = pixels + xorStride * y;
        const uint8_t* src = GetBits(y);
        if (bits == 32) {
            for (uint32_t x = 0; x < width; ++x) {
                std::memcpy(dst + 4 * x, src + 3 * x, 3);
                dst[4 * x + 3] = AlphaGet(static_cast<int32_t>(x), static_cast<int32_t>(y));
            }
        } else {
            std::memcpy(dst, src, xorStride);
        }
        for (uint32_t x = 0; x < width; ++x)
            if (IsTransparent(static_cast<int32_t>(x), static_cast<int32_t>(y)))
                mask[andStride * y + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
    if (stream->Write(out.data(), 1, out.size()) != out.size()) return Fail("Write Error");
    return true;
}

} // namespace vimg
