#include "ImagePCX.h"

#include "../DecodeLimit.h"
#include "../File.h"
#include "../PixelLoop.h"
#include "ByteOrder.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vimg {

namespace {

constexpr size_t kHeaderSize = 128;
constexpr uint32_t kDcxMagic = 0x3ADE68B1;
constexpr size_t kDcxMaxPages = 1023;

// Appends one plane line, run-length coded (runs stay inside the line).
void PackLine(const uint8_t* src, size_t n, std::vector<uint8_t>& out) {
    for (size_t i = 0; i < n;) {
        size_t run = 1;
        while (i + run < n && run < 63 && src[i + run] == src[i]) ++run;
        if (run > 1 || (src[i] & 0xC0) == 0xC0) out.push_back(static_cast<uint8_t>(0xC0 | run));
        out.push_back(src[i]);
        i += run;
    }
}

} // namespace

bool ImagePCX::Decode(File* stream) {
    if (!stream) return false;
    const int32_t start = stream->Tell();
    const int64_t size = stream->Size();
    uint8_t magic[4];
    if (stream->Read(magic, 4, 1) != 1 || bytes::Le32(magic) != kDcxMagic) {
        stream->Seek(start, 0);
        return DecodePage(stream, size);
    }
    // A DCX file: a table of up to 1023 page offsets, ended by 0; each page is a PCX picture.
    std::vector<uint32_t> pages;
    for (uint8_t entry[4]; pages.size() < kDcxMaxPages && stream->Read(entry, 4, 1) == 1;) {
        const uint32_t offset = bytes::Le32(entry);
        if (offset == 0) break;
        if (offset < 8 || start + static_cast<int64_t>(offset) >= size)
            return Fail("corrupted DCX page table");
        pages.push_back(offset);
    }
    if (pages.empty()) return Fail("DCX file without pages");
    info.frameCount = static_cast<int32_t>(pages.size());
    if (info.frame < 0 || info.frame >= info.frameCount) return Fail("no such page in the DCX file");
    const int64_t pageStart = start + static_cast<int64_t>(pages[static_cast<size_t>(info.frame)]);
    // A page ends where the next one starts (the 256-colour palette sits at its end).
    int64_t pageEnd = size;
    for (uint32_t offset : pages)
        if (start + static_cast<int64_t>(offset) > pageStart)
            pageEnd = std::min<int64_t>(pageEnd, start + offset);
    const int32_t frame = info.frame, frames = info.frameCount;
    if (!stream->Seek(static_cast<int32_t>(pageStart), 0)) return Fail("corrupted DCX page table");
    const bool ok = DecodePage(stream, pageEnd);
    info.frame = frame;
    info.frameCount = frames;
    return ok;
}

bool ImagePCX::DecodePage(File* stream, int64_t end) {
    uint8_t h[kHeaderSize];
    if (stream->Read(h, kHeaderSize, 1) != 1 || h[0] != 0x0A) return Fail("Error: Not a PCX file");
    if (h[2] > 1) return Fail("PCX file has unknown encoding scheme");
    const uint32_t bits = h[3], planes = h[65], bytesPerLine = bytes::Le16(h + 66);
    const uint32_t xmin = bytes::Le16(h + 4), ymin = bytes::Le16(h + 6), xmax = bytes::Le16(h + 8),
                   ymax = bytes::Le16(h + 10);
    if (planes > 4) return Fail("Can't handle image with more than 4 planes");
    if (xmax < xmin || ymax < ymin || planes == 0) return Fail("corrupted PCX");
    const uint32_t width = xmax - xmin + 1, height = ymax - ymin + 1;
    // Supported layouts: 1 bit in 1 to 4 planes, packed 2, 4 or 8 bits in one plane, 8 bits in 3 or 4 planes.
    const bool bitPlanes = bits == 1;
    const bool packed = (bits == 2 || bits == 4 || bits == 8) && planes == 1;
    const bool rgb = bits == 8 && (planes == 3 || planes == 4);
    if (!bitPlanes && !packed && !rgb) return Fail("Can't read PCX image");
    if (static_cast<uint64_t>(bytesPerLine) * 8 < static_cast<uint64_t>(width) * bits)
        return Fail("corrupted PCX");

    if (info.escape == -1) {
        head.biWidth = static_cast<int32_t>(width);
        head.biHeight = static_cast<int32_t>(height);
        return true;
    }

    const uint64_t lineBytes = static_cast<uint64_t>(bytesPerLine) * planes;
    const uint64_t total = lineBytes * height;
    if (h[2] == 0 ? !DecodeLimit::CheckData(*this, stream, width, height, total)
                  : !DecodeLimit::CheckPixels(*this, width, height))
        return false;
    const int64_t remaining = end - stream->Tell();
    // A run byte pair gives at most 63 bytes.
    if (remaining <= 0 || total > static_cast<uint64_t>(remaining) * 63)
        return Fail("corrupted PCX: the run-length data is too short for the size in the header");

    const uint32_t depth = rgb ? 24 : (bits * planes == 1 ? 1 : (bits * planes <= 4 ? 4 : 8));
    if (!Create(width, height, depth, FORMAT_PCX)) return Fail("Can't read PCX image");
    const int32_t hdpi = bytes::Le16(h + 12), vdpi = bytes::Le16(h + 14);
    SetXDPI(hdpi);
    SetYDPI(vdpi);
    if (planes == 4 && rgb) AlphaCreate();

    std::vector<uint8_t> line(static_cast<size_t>(lineBytes));
    uint32_t pending = 0; // bytes of a run that belong to the next lines
    uint8_t pendingValue = 0;
    for (uint32_t r = 0; r < height; ++r) {
        if (info.escape) return Fail("Cancelled");
        size_t filled = 0;
        while (filled < line.size()) {
            if (pending) {
                const size_t n = std::min<size_t>(pending, line.size() - filled);
                std::memset(&line[filled], pendingValue, n);
                filled += n;
                pending -= static_cast<uint32_t>(n);
                continue;
            }
            const int32_t c = stream->GetC();
            if (c < 0) return Fail("corrupted PCX");
            if (h[2] == 1 && (c & 0xC0) == 0xC0) {
                const int32_t v = stream->GetC();
                if (v < 0) return Fail("corrupted PCX");
                pending = static_cast<uint32_t>(c & 0x3F);
                pendingValue = static_cast<uint8_t>(v);
                const uint64_t left = (static_cast<uint64_t>(height) - r) * lineBytes - filled;
                if (pending > left) return Fail("repeat count spans end of image");
            } else {
                line[filled++] = static_cast<uint8_t>(c);
            }
        }
        const uint32_t y = height - 1 - r;
        uint8_t* dst = GetBits(y);
        for (uint32_t x = 0; x < width; ++x) {
            if (rgb) {
                dst[3 * x] = line[2 * bytesPerLine + x];
                dst[3 * x + 1] = line[bytesPerLine + x];
                dst[3 * x + 2] = line[x];
                if (planes == 4)
                    AlphaSet(static_cast<int32_t>(x), static_cast<int32_t>(y), line[3 * bytesPerLine + x]);
                continue;
            }
            uint32_t index = 0;
            if (bitPlanes) {
                for (uint32_t p = 0; p < planes; ++p)
                    index |= static_cast<uint32_t>((line[p * bytesPerLine + x / 8] >> (7 - x % 8)) & 1) << p;
            } else {
                const uint32_t bit = x * bits;
                index = (line[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
            }
            BlindSetPixelIndex(static_cast<int32_t>(x), static_cast<int32_t>(y), static_cast<uint8_t>(index));
        }
    }

    if (depth == 8) {
        // The 256-colour palette follows the pixels after a 12 byte.
        uint8_t tail[769];
        if (end < 769 || !stream->Seek(static_cast<int32_t>(end - 769), 0) ||
            stream->Read(tail, 769, 1) != 1 || tail[0] != 0x0C)
            return Fail("bad color map signature");
        for (uint32_t i = 0; i < 256; ++i)
            SetPaletteColor(static_cast<uint8_t>(i), tail[1 + 3 * i], tail[2 + 3 * i], tail[3 + 3 * i]);
    } else if (depth == 1 && planes == 1) {
        // Monochrome: set bits are black. The header map is not used: files
        // hold CGA settings, the EGA default palette or leftovers there.
        SetPaletteColor(0, 255, 255, 255);
        SetPaletteColor(1, 0, 0, 0);
    } else if (depth != 24) {
        for (uint32_t i = 0; i < 16; ++i)
            SetPaletteColor(static_cast<uint8_t>(i), h[16 + 3 * i], h[17 + 3 * i], h[18 + 3 * i]);
    }
    return true;
}

bool ImagePCX::Encode(File* stream) {
    if (EncodeSafeCheck(stream)) return false;
    const uint32_t bpp = GetBpp(), width = GetWidth(), height = GetHeight();
    if (width > 65535 || height > 65535) return Fail("cannot write PCX header");
    // 1 bit: one plane; 4 bits: four bit planes; 8 bits: one byte plane and a
    // trailing palette; 24 bits: red, green and blue planes.
    const uint32_t bits = (bpp == 1 || bpp == 4) ? 1 : 8;
    const uint32_t planes = bpp == 4 ? 4 : (bpp == 24 ? 3 : 1);
    const uint32_t bytesPerLine = ((width * bits + 7) / 8 + 1) & ~1u;

    uint8_t h[kHeaderSize] = {0x0A, 5, 1, static_cast<uint8_t>(bits)};
    bytes::PutLe16(h + 8, width - 1);
    bytes::PutLe16(h + 10, height - 1);
    bytes::PutLe16(h + 12, static_cast<uint32_t>(GetXDPI()));
    bytes::PutLe16(h + 14, static_cast<uint32_t>(GetYDPI()));
    if (bpp <= 4) {
        for (uint32_t i = 0; i < GetNumColors(); ++i) {
            const RGBQUAD c = GetPaletteColor(static_cast<uint8_t>(i));
            h[16 + 3 * i] = c.rgbRed;
            h[17 + 3 * i] = c.rgbGreen;
            h[18 + 3 * i] = c.rgbBlue;
        }
    }
    h[65] = static_cast<uint8_t>(planes);
    bytes::PutLe16(h + 66, bytesPerLine);
    bytes::PutLe16(h + 68, bpp == 8 && IsGrayScale() ? 2 : 1);
    // Monochrome pictures store the darker colour as set bits: readers that
    // ignore the header map show set bits as black.
    const bool invert = bpp == 1 && GreyWeightSum(GetPaletteColor(0)) < GreyWeightSum(GetPaletteColor(1));
    if (invert) {
        for (int i = 0; i < 3; ++i) std::swap(h[16 + i], h[19 + i]);
    }
    if (stream->Write(h, kHeaderSize, 1) != 1) return Fail("cannot write PCX header");

    std::vector<uint8_t> plane(bytesPerLine), out;
    bool ok = true;
    for (uint32_t r = 0; ok && r < height; ++r) {
        const uint32_t y = height - 1 - r;
        const uint8_t* row = GetBits(y);
        out.clear();
        for (uint32_t p = 0; p < planes; ++p) {
            std::fill(plane.begin(), plane.end(), 0);
            for (uint32_t x = 0; x < width; ++x) {
                if (bpp == 24) plane[x] = row[3 * x + 2 - p];
                else if (bpp == 8) plane[x] = row[x];
                else if (((BlindGetPixelIndex(static_cast<int32_t>(x), static_cast<int32_t>(y)) ^
                           (invert ? 1 : 0)) >>
                          p) &
                         1)
                    plane[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
            PackLine(plane.data(), plane.size(), out);
        }
        ok = stream->Write(out.data(), 1, out.size()) == out.size();
    }
    if (ok && bpp == 8) {
        uint8_t tail[769] = {0x0C};
        for (uint32_t i = 0; i < 256; ++i) {
            const RGBQUAD c = GetPaletteColor(static_cast<uint8_t>(i));
            tail[1 + 3 * i] = c.rgbRed;
            tail[2 + 3 * i] = c.rgbGreen;
            tail[3 + 3 * i] = c.rgbBlue;
        }
        ok = stream->Write(tail, 769, 1) == 1;
    }
    if (!ok) return Fail("Write Error");
    return true;
}

} // namespace vimg
