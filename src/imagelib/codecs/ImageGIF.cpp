#include "ImageGIF.h"

#include "../DecodeLimit.h"
#include "../File.h"
#include "ByteOrder.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace vimg {

namespace {

constexpr int kMaxBits = 12;
constexpr int32_t kMaxMaxCode = 1 << kMaxBits; // 4096: no code is ever that large
constexpr int32_t kHashSize = 5003;
constexpr size_t kPacketSize = 254;

// Reads the data sub-blocks that follow an image descriptor or an extension
// label as one byte sequence; the terminator or the end of the file ends it.
struct SubBlocks {
    File* stream;
    int left = 0;
    bool done = false;
    bool fileEnded = false; // the file ended before the terminator

    int32_t Next() {
        while (!done && left == 0) {
            const int32_t n = stream->GetC();
            if (n <= 0) {
                done = true;
                fileEnded = n < 0;
            } else {
                left = n;
            }
        }
        if (done) return -1;
        const int32_t c = stream->GetC();
        if (c < 0) {
            done = fileEnded = true;
            return -1;
        }
        --left;
        return c;
    }
    // Skips what is left, through the terminator.
    void Drain() {
        while (!done) {
            if (left > 0) {
                uint8_t skip[256];
                if (stream->Read(skip, 1, static_cast<size_t>(left)) != static_cast<size_t>(left))
                    done = true;
                left = 0;
            }
            const int32_t n = stream->GetC();
            if (n <= 0) done = true;
            else left = n;
        }
    }
};

// Standard GIF LZW expansion into `out` (pixels in stream order); returns the
// number of pixels decoded. A broken or short code stream ends early; what was
// decoded stays. Minimum code sizes above 8 (up to 12, as browsers and other
// readers take them) give literal codes beyond 255, of which the pixel keeps
// the low byte; at 12 the table never grows and every code is a literal.
size_t ExpandLzw(SubBlocks& blocks, int minCodeSize, uint8_t* out, size_t count) {
    const int32_t clear = 1 << minCodeSize, eoi = clear + 1;
    std::vector<uint16_t> prefix(kMaxMaxCode);
    std::vector<uint8_t> suffix(kMaxMaxCode), stack(kMaxMaxCode + 1);
    int codeSize = minCodeSize + 1;
    int32_t next = clear + 2, prev = -1;
    uint8_t first = 0;
    uint32_t accum = 0;
    int bits = 0;
    size_t pos = 0;
    while (pos < count) {
        while (bits < codeSize) {
            const int32_t c = blocks.Next();
            if (c < 0) return pos;
            accum |= static_cast<uint32_t>(c) << bits;
            bits += 8;
        }
        const int32_t code = static_cast<int32_t>(accum & ((1u << codeSize) - 1));
        accum >>= codeSize;
        bits -= codeSize;
        if (code == clear) {
            codeSize = minCodeSize + 1;
            next = clear + 2;
            prev = -1;
            continue;
        }
        if (code == eoi) return pos;
        if (prev < 0) {
            if (code >= clear) return pos;
            out[pos++] = static_cast<uint8_t>(code);
            prev = code;
            first = static_cast<uint8_t>(code);
            continue;
        }
        if (code > next || (code == next && next >= kMaxMaxCode)) return pos;
        size_t sp = 0;
        int32_t walk = code;
        if (code == next) {
            stack[sp++] = first; // the string of prev followed by its own first byte
            walk = prev;
        }
        while (walk >= clear) {
            stack[sp++] = suffix[static_cast<size_t>(walk)];
            walk = prefix[static_cast<size_t>(walk)];
        }
        stack[sp++] = static_cast<uint8_t>(walk);
        first = static_cast<uint8_t>(walk);
        while (sp > 0 && pos < count) out[pos++] = stack[--sp];
        if (next < kMaxMaxCode) {
            prefix[static_cast<size_t>(next)] = static_cast<uint16_t>(prev);
            suffix[static_cast<size_t>(next)] = first;
            ++next;
            if (next == (1 << codeSize) && codeSize < kMaxBits) ++codeSize;
        }
        prev = code;
    }
    return pos;
}

// Row of the picture that the i-th decoded row of an interlaced image fills.
std::vector<uint32_t> InterlacedRows(uint32_t height) {
    std::vector<uint32_t> rows;
    rows.reserve(height);
    static const uint32_t start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (uint32_t y = start[pass]; y < height; y += step[pass]) rows.push_back(y);
    return rows;
}

struct Descriptor {
    uint32_t left = 0, top = 0, width = 0, height = 0;
    uint8_t flags = 0;
};

bool ReadDescriptor(File* stream, Descriptor& d) {
    uint8_t b[9];
    if (stream->Read(b, 9, 1) != 1) return false;
    d.left = bytes::Le16(b);
    d.top = bytes::Le16(b + 2);
    d.width = bytes::Le16(b + 4);
    d.height = bytes::Le16(b + 6);
    d.flags = b[8];
    return true;
}

// Skips an extension's or an image's sub-blocks.
void SkipBlocks(File* stream) {
    SubBlocks blocks{stream};
    blocks.Drain();
}

// Counts the image descriptors from the current position; reports the first
// one and the right and bottom edges of all of them. Stray bytes between
// blocks are skipped, as other readers do.
int32_t CountFrames(File* stream, Descriptor& firstImage, uint32_t& right, uint32_t& bottom) {
    int32_t count = 0;
    for (;;) {
        const int32_t tag = stream->GetC();
        if (tag < 0 || tag == 0x3B) break;
        if (tag == 0x21) {
            if (stream->GetC() < 0) break;
            SkipBlocks(stream);
        } else if (tag == 0x2C) {
            Descriptor d;
            if (!ReadDescriptor(stream, d)) break;
            if (count == 0) firstImage = d;
            right = std::max(right, d.left + d.width);
            bottom = std::max(bottom, d.top + d.height);
            ++count;
            if (d.flags & 0x80) {
                const int32_t bytes = 3 * (2 << (d.flags & 7));
                if (!stream->Seek(bytes, 1)) break;
            }
            if (stream->GetC() < 0) break; // minimum code size
            SkipBlocks(stream);
        }
    }
    return count;
}

// One canvas pixel: palette index and colour; alpha 0 marks a pixel no frame has covered.
struct CanvasPixel {
    uint8_t index = 0;
    RGBQUAD colour;
};

uint32_t DepthForColours(uint32_t colours) { return colours <= 2 ? 1 : (colours <= 16 ? 4 : 8); }

} // namespace

void ImageGIF::SetComment(const char* text) {
    m_comment = text ? text : "";
    if (m_comment.size() > 255) m_comment.resize(255);
}

bool ImageGIF::Decode(File* stream) {
    if (!stream) return false;
    uint8_t lsd[13];
    if (stream->Read(lsd, 13, 1) != 1 || std::memcmp(lsd, "GIF8", 4) != 0) return Fail("not a GIF file");
    uint32_t screenW = bytes::Le16(lsd + 6), screenH = bytes::Le16(lsd + 8);
    const uint8_t screenFlags = lsd[10];
    if (info.escape == -1) {
        head.biWidth = static_cast<int32_t>(screenW);
        head.biHeight = static_cast<int32_t>(screenH);
        return true;
    }

    std::vector<RGBQUAD> globalPalette;
    if (screenFlags & 0x80) {
        const uint32_t n = 2u << (screenFlags & 7);
        uint8_t rgb[768];
        if (stream->Read(rgb, 3, n) != n) return Fail("GIF file ends in its colour table");
        globalPalette.resize(n);
        for (uint32_t i = 0; i < n; ++i)
            globalPalette[i] = RGBQUAD{rgb[3 * i + 2], rgb[3 * i + 1], rgb[3 * i], 0};
    }

    const int32_t dataStart = stream->Tell();
    Descriptor firstImage;
    uint32_t right = 0, bottom = 0;
    info.frameCount = CountFrames(stream, firstImage, right, bottom);
    if (info.frameCount <= 0) return Fail("GIF file without an image");
    if (info.frame < 0 || info.frame >= info.frameCount) {
        char text[96];
        std::snprintf(text, sizeof(text), "GIF: there is no frame %d (the file holds %d)", info.frame,
                      info.frameCount);
        return Fail(text);
    }
    if (!stream->Seek(dataStart, 0)) return Fail("cannot seek in the GIF file");
    // A logical screen smaller than the images (or 0 x 0) grows to hold them.
    screenW = std::max(screenW, right);
    screenH = std::max(screenH, bottom);
    if (screenW == 0 || screenH == 0) return Fail("GIF image of size 0");
    // Without any colour table the indexes are grey levels.
    std::vector<RGBQUAD> greyPalette(256);
    for (uint32_t i = 0; i < 256; ++i) {
        const auto v = static_cast<uint8_t>(i);
        greyPalette[i] = RGBQUAD{v, v, v, 0};
    }

    // Many local-palette tiles without a global palette form one true-colour picture.
    const bool mosaic = info.frameCount > 1 && globalPalette.empty() &&
                        (firstImage.left != 0 || firstImage.top != 0 || firstImage.width != screenW ||
                         firstImage.height != screenH);
    const int32_t target = mosaic ? info.frameCount - 1 : info.frame;

    // Canvas, its copy for "restore to previous", the frame and the result.
    const uint64_t screenPixels = static_cast<uint64_t>(screenW) * screenH;
    // One LZW code gives at most 4096 pixels: a screen far beyond what the
    // file could cover is a forged header.
    if (!DecodeLimit::CheckData(*this, stream, screenW, screenH, screenPixels, 4096)) return false;
    if (screenPixels * (2 * sizeof(CanvasPixel) + 5) > GetMaxMemory()) {
        SetLastError("IMAGE_MAX_MEMORY exceeded");
        return false;
    }
    std::vector<CanvasPixel> canvas, saved;
    std::vector<uint8_t> pixels;
    try {
        canvas.resize(static_cast<size_t>(screenPixels));
    } catch (const std::bad_alloc&) {
        return Fail("GIF: cannot allocate the canvas");
    }

    // Graphic control of the coming image, and disposal of the previous one.
    uint8_t gceFlags = 0;
    uint32_t gceDelay = 0;
    int32_t gceTrans = -1;
    int32_t prevDisposal = 0;
    Descriptor prevRect;
    bool prevDrawn = false;
    // The palette all drawn frames share; cleared when they differ.
    std::vector<RGBQUAD> sharedPalette;
    bool paletteMixed = false;
    bool badCodeSize = false; // an image was left out for its LZW code size
    int32_t frameIndex = 0;

    for (;;) {
        const int32_t tag = stream->GetC();
        if (tag == 0x21) {
            const int32_t label = stream->GetC();
            SubBlocks blocks{stream};
            if (label == 0xF9) {
                uint8_t b[4];
                int got = 0;
                for (; got < 4; ++got) {
                    const int32_t c = blocks.Next();
                    if (c < 0) break;
                    b[got] = static_cast<uint8_t>(c);
                }
                if (got == 4) {
                    gceFlags = b[0];
                    gceDelay = bytes::Le16(b + 1);
                    gceTrans = (b[0] & 1) ? b[3] : -1;
                }
            } else if (label == 0xFE || label == 0xFF) {
                // Comment text, or an application identifier followed by its data.
                uint8_t data[256];
                const int32_t n = stream->GetC();
                if (n <= 0 || stream->Read(data, 1, static_cast<size_t>(n)) != static_cast<size_t>(n)) {
                    blocks.done = true;
                } else if (label == 0xFE) {
                    SetComment(
                        std::string(reinterpret_cast<const char*>(data), static_cast<size_t>(n)).c_str());
                } else if (n == 11) {
                    const int32_t m = stream->GetC();
                    if (m <= 0 || stream->Read(data, 1, static_cast<size_t>(m)) != static_cast<size_t>(m))
                        blocks.done = true;
                    else if (m > 2)
                        m_loops = bytes::Le16(data + 1);
                }
            }
            blocks.Drain();
            continue;
        }
        if (tag < 0 || tag == 0x3B) return Fail("GIF file ends before the image"); // counted, so not expected
        if (tag != 0x2C) continue; // a stray byte between blocks

        Descriptor d;
        if (!ReadDescriptor(stream, d)) return Fail("GIF file ends in an image descriptor");
        std::vector<RGBQUAD> palette = globalPalette.empty() ? greyPalette : globalPalette;
        bool cut = false; // the file ends inside this image
        if (d.flags & 0x80) {
            const uint32_t n = 2u << (d.flags & 7);
            uint8_t rgb[768];
            cut = stream->Read(rgb, 3, n) != n;
            palette.resize(cut ? 0 : n);
            for (uint32_t i = 0; i < palette.size(); ++i)
                palette[i] = RGBQUAD{rgb[3 * i + 2], rgb[3 * i + 1], rgb[3 * i], 0};
        }
        const int32_t minCodeSize = cut ? -1 : stream->GetC();
        cut = minCodeSize < 0;
        // Up to 12 bits the codes can be read; a larger size leaves the image out.
        const bool codeSizeOk = minCodeSize >= 0 && minCodeSize <= kMaxBits;
        badCodeSize = badCodeSize || minCodeSize > kMaxBits;
        SubBlocks blocks{stream};
        const int32_t disposal = (gceFlags >> 2) & 7;

        // Dispose of the previous frame before drawing this one.
        if (prevDrawn && prevDisposal == 2) {
            for (uint32_t y = prevRect.top; y < prevRect.top + prevRect.height; ++y)
                for (uint32_t x = prevRect.left; x < prevRect.left + prevRect.width; ++x)
                    canvas[static_cast<size_t>(y) * screenW + x] = CanvasPixel{};
        } else if (prevDrawn && prevDisposal == 3 && !saved.empty()) {
            canvas = saved;
        }

        const bool fits = d.width > 0 && d.height > 0 && d.left + d.width <= screenW &&
                          d.top + d.height <= screenH && !palette.empty();
        prevDrawn = false;
        if (fits && codeSizeOk) {
            if (info.escape) return Fail("Cancelled");
            pixels.assign(static_cast<size_t>(d.width) * d.height, 0);
            const size_t decoded = ExpandLzw(blocks, minCodeSize, pixels.data(), pixels.size());
            if (info.escape) return Fail("Cancelled");
            // Pixels after the end of a cut file keep index 0, as other readers leave them.
            cut = decoded < pixels.size() && blocks.fileEnded;
            if (decoded > 0 || !cut) {
                if (disposal == 3) saved = canvas;
                const std::vector<uint32_t> rows =
                    (d.flags & 0x40) ? InterlacedRows(d.height) : std::vector<uint32_t>();
                for (uint32_t i = 0; i < d.height; ++i) {
                    const uint32_t y = rows.empty() ? i : rows[i];
                    const uint8_t* src = pixels.data() + static_cast<size_t>(i) * d.width;
                    CanvasPixel* dst = canvas.data() + static_cast<size_t>(d.top + y) * screenW + d.left;
                    for (uint32_t x = 0; x < d.width; ++x) {
                        const uint8_t index = src[x];
                        if (static_cast<int32_t>(index) == gceTrans) continue;
                        // Indexes beyond the palette show its first colour.
                        RGBQUAD c = index < palette.size() ? palette[index] : palette[0];
                        c.rgbReserved = 255;
                        dst[x] = CanvasPixel{index < palette.size() ? index : uint8_t{0}, c};
                    }
                }
                if (sharedPalette.empty())
                    sharedPalette = palette;
                else if (sharedPalette != palette)
                    paletteMixed = true;
                prevDrawn = true;
                prevRect = d;
                prevDisposal = disposal;
            }
        }

        if (frameIndex == target) {
            blocks.Drain();
            if (sharedPalette.empty()) { // nothing drawn
                if (cut) return Fail("GIF file ends before its image data");
                return Fail(badCodeSize ? "bad GIF LZW code size" : "GIF frame has no pixels to show");
            }
            SetTruncated(cut);
            const bool transparentFound = std::any_of(
                canvas.begin(), canvas.end(), [](const CanvasPixel& p) { return p.colour.rgbReserved == 0; });
            bool indexed = !mosaic && !paletteMixed && (!transparentFound || gceTrans >= 0);
            if (indexed && gceTrans >= 0)
                indexed = std::none_of(canvas.begin(), canvas.end(), [&](const CanvasPixel& p) {
                    return p.colour.rgbReserved != 0 && p.index == gceTrans;
                });
            const uint32_t colours = static_cast<uint32_t>(sharedPalette.size());
            const uint32_t depth = indexed ? (gceTrans >= 0 ? 8 : DepthForColours(colours)) : 24;
            const RGBQUAD transColour = gceTrans >= 0 && static_cast<uint32_t>(gceTrans) < palette.size()
                                            ? palette[gceTrans]
                                            : RGBQUAD{};
            if (!Create(screenW, screenH, depth, FORMAT_GIF)) return false; // Create names the cause
            if (indexed) {
                RGBQUAD* pal = GetPalette();
                const uint32_t n = GetNumColors();
                for (uint32_t i = 0; i < n; ++i)
                    pal[i] = i < colours ? sharedPalette[i]
                                         : (gceTrans >= 0 ? RGBQUAD{255, 255, 255, 0} : RGBQUAD{});
            } else if (transparentFound && !mosaic) {
                AlphaCreate();
            }
            for (uint32_t y = 0; y < screenH; ++y) {
                const CanvasPixel* src = canvas.data() + static_cast<size_t>(y) * screenW;
                const int32_t row = static_cast<int32_t>(screenH - 1 - y);
                uint8_t* dst = GetBits(static_cast<uint32_t>(row));
                for (uint32_t x = 0; x < screenW; ++x) {
                    const CanvasPixel& p = src[x];
                    const bool clear = p.colour.rgbReserved == 0;
                    if (indexed) {
                        BlindSetPixelIndex(static_cast<int32_t>(x), row,
                                           clear ? static_cast<uint8_t>(std::max(gceTrans, 0)) : p.index);
                        continue;
                    }
                    const RGBQUAD c = clear && mosaic ? transColour : p.colour;
                    dst[3 * x] = c.rgbBlue;
                    dst[3 * x + 1] = c.rgbGreen;
                    dst[3 * x + 2] = c.rgbRed;
                    if (pAlpha) AlphaSet(static_cast<int32_t>(x), row, clear ? 0 : 255);
                }
            }
            if (indexed) {
                info.transIndex = gceTrans;
            } else if (mosaic && gceTrans >= 0) {
                SetTransColor(transColour);
                info.transIndex = 0;
            } else {
                info.transIndex = -1;
            }
            info.frame = target;
            info.frameDelay = gceDelay;
            m_disposal = disposal;
            return true;
        }
        blocks.Drain();
        gceFlags = 0;
        gceDelay = 0;
        gceTrans = -1;
        ++frameIndex;
    }
}


// ---- writer ----

bool ImageGIF::WriteBytes(File* stream, const uint8_t* data, size_t size) {
    if (stream->Write(data, 1, size) != size) m_writeError = true;
    return !m_writeError;
}

void ImageGIF::EncodeHeader(File* stream) {
    uint8_t h[13] = {'G', 'I', 'F', '8', '9', 'a'};
    bytes::PutLe16(h + 6, GetWidth());
    bytes::PutLe16(h + 8, GetHeight());
    const uint32_t bpp = GetBpp();
    const RGBQUAD* pal = GetPalette();
    h[10] = pal ? static_cast<uint8_t>(0x80 | (((bpp + 7) * 32) % 256) | (bpp - 1)) : 0x11;
    WriteBytes(stream, h, sizeof(h));
    if (pal) EncodeColorTable(stream);
}

void ImageGIF::EncodeColorTable(File* stream) {
    const RGBQUAD* pal = GetPalette();
    uint8_t rgb[768];
    const uint32_t n = GetNumColors();
    for (uint32_t i = 0; i < n; ++i) {
        rgb[3 * i] = pal[i].rgbRed;
        rgb[3 * i + 1] = pal[i].rgbGreen;
        rgb[3 * i + 2] = pal[i].rgbBlue;
    }
    WriteBytes(stream, rgb, 3 * n);
}

void ImageGIF::EncodeLoopExtension(File* stream) {
    uint8_t b[19] = {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 0x03, 0x01};
    bytes::PutLe16(b + 16, static_cast<uint32_t>(std::max(m_loops - 1, 0)));
    b[18] = 0;
    WriteBytes(stream, b, sizeof(b));
}

void ImageGIF::EncodeExtension(File* stream) {
    uint8_t b[8] = {0x21, 0xF9, 0x04};
    b[3] = static_cast<uint8_t>(((m_disposal * 4) & 0x1C) | (info.transIndex >= 0 ? 1 : 0));
    bytes::PutLe16(b + 4, info.frameDelay & 0xFFFF);
    b[6] = static_cast<uint8_t>(info.transIndex >= 0 ? info.transIndex : 0);
    b[7] = 0;
    WriteBytes(stream, b, sizeof(b));
}

void ImageGIF::EncodeComment(File* stream) {
    if (m_comment.empty()) return;
    const size_t n = std::min<size_t>(m_comment.size(), 255);
    const uint8_t h[3] = {0x21, 0xFE, static_cast<uint8_t>(n)};
    WriteBytes(stream, h, 3);
    WriteBytes(stream, reinterpret_cast<const uint8_t*>(m_comment.data()), n);
    const uint8_t end = 0;
    WriteBytes(stream, &end, 1);
}

bool ImageGIF::EncodeBody(File* stream, bool localColorMap) {
    const uint32_t bpp = GetBpp();
    uint8_t d[10] = {0x2C};
    bytes::PutLe16(d + 1, static_cast<uint32_t>(info.xOffset));
    bytes::PutLe16(d + 3, static_cast<uint32_t>(info.yOffset));
    bytes::PutLe16(d + 5, GetWidth());
    bytes::PutLe16(d + 7, GetHeight());
    const RGBQUAD* pal = GetPalette();
    d[9] = localColorMap && pal ? static_cast<uint8_t>(0x80 | (bpp - 1)) : 0;
    WriteBytes(stream, d, sizeof(d));
    if (localColorMap && pal) EncodeColorTable(stream);
    const int minCodeSize = static_cast<int>(std::max<uint32_t>(bpp, 2));
    const uint8_t codeSizeByte = static_cast<uint8_t>(minCodeSize);
    WriteBytes(stream, &codeSizeByte, 1);

    m_out = stream;
    m_curX = 0;
    m_curY = static_cast<int32_t>(GetHeight()) - 1;
    m_countDown = static_cast<int64_t>(GetWidth()) * GetHeight();
    switch (GetCodecOption(FORMAT_GIF)) {
    case 1: compressNONE(minCodeSize + 1); break;
    case 2: compressRLE(minCodeSize + 1); break;
    default: compressLZW(minCodeSize + 1); break;
    }
    const uint8_t end = 0;
    WriteBytes(stream, &end, 1);
    if (m_writeError) return Fail("Write Error in GIF file");
    return true;
}

bool ImageGIF::Encode(File* stream) {
    if (EncodeSafeCheck(stream)) return false;
    m_writeError = false;
    if (GetBpp() > 8) return EncodeRGB(stream);
    EncodeHeader(stream);
    EncodeExtension(stream);
    EncodeComment(stream);
    // A single picture is placed at the origin of its own screen.
    const int32_t x = info.xOffset, y = info.yOffset;
    info.xOffset = info.yOffset = 0;
    const bool ok = EncodeBody(stream, false);
    info.xOffset = x;
    info.yOffset = y;
    if (!ok) return false;
    const uint8_t trailer = 0x3B;
    WriteBytes(stream, &trailer, 1);
    if (!stream->Flush()) m_writeError = true;
    if (m_writeError) return Fail("Write Error in GIF file");
    return true;
}

bool ImageGIF::EncodeRGB(File* stream) {
    EncodeHeader(stream);
    EncodeComment(stream);
    const uint32_t width = GetWidth(), height = GetHeight();
    const bool transparent = info.transIndex >= 0;
    ImageGIF tile;
    tile.m_disposal = m_disposal;
    tile.SetCodecOption(GetCodecOption(FORMAT_GIF), FORMAT_GIF);
    for (uint32_t top = 0; top < height; top += 15) {
        const uint32_t th = std::min<uint32_t>(15, height - top);
        for (uint32_t left = 0; left < width; left += 17) {
            const uint32_t tw = std::min<uint32_t>(17, width - left);
            if (!tile.Create(tw, th, 8, FORMAT_GIF)) return Fail(tile.GetLastError());
            RGBQUAD* pal = tile.GetPalette();
            if (transparent) {
                pal[0] = GetTransColor();
                pal[0].rgbReserved = 0;
            }
            // Entry 1 + 17 * row + column holds that tile pixel's colour.
            for (uint32_t r = 0; r < th; ++r) {
                const int32_t y = static_cast<int32_t>(height - 1 - top - r);
                for (uint32_t c = 0; c < tw; ++c) {
                    RGBQUAD colour = BlindGetPixelColor(static_cast<int32_t>(left + c), y, false);
                    colour.rgbReserved = 0;
                    pal[1 + 17 * r + c] = colour;
                }
            }
            for (uint32_t r = 0; r < th; ++r) {
                const int32_t y = static_cast<int32_t>(height - 1 - top - r);
                const int32_t tileRow = static_cast<int32_t>(th - 1 - r);
                for (uint32_t c = 0; c < tw; ++c) {
                    RGBQUAD colour = BlindGetPixelColor(static_cast<int32_t>(left + c), y, false);
                    colour.rgbReserved = 0;
                    const uint8_t exact = static_cast<uint8_t>(1 + 17 * r + c);
                    const bool isTransparent = transparent && colour == pal[0];
                    tile.BlindSetPixelIndex(static_cast<int32_t>(c), tileRow, isTransparent ? 0 : exact);
                }
            }
            tile.SetTransIndex(transparent ? 0 : -1);
            tile.SetOffset(static_cast<int32_t>(left), static_cast<int32_t>(top));
            tile.m_writeError = false;
            tile.EncodeExtension(stream);
            if (!tile.EncodeBody(stream, true)) return Fail(tile.GetLastError());
        }
    }
    const uint8_t trailer = 0x3B;
    WriteBytes(stream, &trailer, 1);
    if (!stream->Flush()) m_writeError = true;
    if (m_writeError) return Fail("Write Error in GIF file");
    return true;
}

bool ImageGIF::Encode(File* stream, Image** images, int32_t count, bool localColorMap) {
    if (!stream) return Fail("invalid file pointer");
    if (!images || count <= 0 || !images[0]) return Fail("multipage GIF, no images!");
    for (int32_t i = 1; i < count; ++i)
        if (!images[i]) return Fail("Bad image pointer");
    // Frames are written as palette images; a deeper one has no palette to store.
    for (int32_t i = 0; i < count; ++i) {
        if (!images[i]->IsValid()) return Fail("Bad image pointer");
        if (images[i]->GetBpp() > 8) return Fail("multipage GIF, frames must have 8 bits or less");
    }

    ImageGIF writer;
    writer.m_comment = m_comment;
    writer.m_disposal = m_disposal;
    writer.m_loops = m_loops;
    writer.Ghost(images[0]);
    writer.EncodeHeader(stream);
    if (m_loops != 1) writer.EncodeLoopExtension(stream);
    writer.EncodeExtension(stream);
    writer.EncodeComment(stream);
    bool ok = writer.EncodeBody(stream, false);
    for (int32_t i = 1; ok && i < count; ++i) {
        writer.Unghost();
        writer.Ghost(images[i]);
        // A frame whose colours differ from the global palette carries its own.
        const bool local = localColorMap || !images[i]->IsSamePalette(*images[0], false) ||
                           images[i]->GetBpp() != images[0]->GetBpp();
        writer.EncodeExtension(stream);
        ok = writer.EncodeBody(stream, local);
    }
    writer.Unghost();
    if (!ok) return Fail(writer.GetLastError());
    const uint8_t trailer = 0x3B;
    writer.WriteBytes(stream, &trailer, 1);
    if (!stream->Flush()) writer.m_writeError = true;
    if (writer.m_writeError) return Fail("Write Error in GIF file");
    return true;
}

// ---- code streams ----

int32_t ImageGIF::NextPixel() {
    if (m_countDown <= 0) return -1;
    --m_countDown;
    const int32_t index = BlindGetPixelIndex(m_curX, m_curY);
    if (++m_curX == static_cast<int32_t>(GetWidth())) {
        m_curX = 0;
        --m_curY;
    }
    return index;
}

void ImageGIF::StartCodes(int initBits) {
    m_initBits = initBits;
    m_nBits = initBits;
    m_maxCode = (1 << m_nBits) - 1;
    m_clearCode = 1 << (initBits - 1);
    m_eofCode = m_clearCode + 1;
    m_freeEnt = m_clearCode + 2;
    m_clearFlag = false;
    m_curAccum = 0;
    m_curBits = 0;
    m_aCount = 0;
}

void ImageGIF::FlushPacket() {
    if (m_aCount == 0) return;
    const uint8_t n = static_cast<uint8_t>(m_aCount);
    WriteBytes(m_out, &n, 1);
    WriteBytes(m_out, m_accum, static_cast<size_t>(m_aCount));
    m_aCount = 0;
}

void ImageGIF::Output(int32_t code) {
    m_curAccum |= static_cast<uint32_t>(code) << m_curBits;
    m_curBits += m_nBits;
    while (m_curBits >= 8) {
        m_accum[m_aCount++] = static_cast<uint8_t>(m_curAccum & 0xFF);
        if (static_cast<size_t>(m_aCount) >= kPacketSize) FlushPacket();
        m_curAccum >>= 8;
        m_curBits -= 8;
    }
    // Widen the codes once the decoder's next free code no longer fits.
    if (m_freeEnt > m_maxCode || m_clearFlag) {
        if (m_clearFlag) {
            m_nBits = m_initBits;
            m_maxCode = (1 << m_nBits) - 1;
            m_clearFlag = false;
        } else {
            ++m_nBits;
            m_maxCode = m_nBits == kMaxBits ? kMaxMaxCode : (1 << m_nBits) - 1;
        }
    }
    if (code == m_eofCode) {
        while (m_curBits > 0) {
            m_accum[m_aCount++] = static_cast<uint8_t>(m_curAccum & 0xFF);
            if (static_cast<size_t>(m_aCount) >= kPacketSize) FlushPacket();
            m_curAccum >>= 8;
            m_curBits -= 8;
        }
        m_curBits = 0;
        FlushPacket();
        if (!m_out->Flush() || m_out->Error()) m_writeError = true;
    }
}

void ImageGIF::ClearBlock() {
    std::fill(std::begin(m_htab), std::end(m_htab), -1);
    m_freeEnt = m_clearCode + 2;
    m_clearFlag = true;
    Output(m_clearCode);
}

void ImageGIF::compressLZW(int initBits) {
    StartCodes(initBits);
    int hshift = 0;
    for (int32_t f = kHashSize; f < 65536; f *= 2) ++hshift;
    hshift = 8 - hshift;
    std::fill(std::begin(m_htab), std::end(m_htab), -1);
    Output(m_clearCode);

    int32_t ent = NextPixel();
    if (ent < 0) ent = 0;
    for (int32_t c = NextPixel(); c >= 0; c = NextPixel()) {
        const int32_t key = (c << kMaxBits) + ent;
        int32_t i = (c << hshift) ^ ent;
        bool hit = false;
        if (m_htab[i] == key) {
            hit = true;
        } else if (m_htab[i] >= 0) {
            const int32_t disp = i == 0 ? 1 : kHashSize - i;
            do {
                i -= disp;
                if (i < 0) i += kHashSize;
                if (m_htab[i] == key) {
                    hit = true;
                    break;
                }
            } while (m_htab[i] >= 0);
        }
        if (hit) {
            ent = m_codetab[i];
            continue;
        }
        Output(ent);
        ent = c;
        if (m_freeEnt < kMaxMaxCode) {
            m_codetab[i] = static_cast<uint16_t>(m_freeEnt++);
            m_htab[i] = key;
        } else {
            ClearBlock();
        }
    }
    Output(ent);
    Output(m_eofCode);
}

void ImageGIF::compressNONE(int initBits) {
    StartCodes(initBits);
    Output(m_clearCode);
    for (int32_t c = NextPixel(); c >= 0; c = NextPixel()) {
        Output(c);
        // The decoder adds a string for every code; restart before its table is full.
        if (m_freeEnt < kMaxMaxCode - 1) {
            ++m_freeEnt;
        } else {
            m_freeEnt = m_clearCode + 2;
            m_clearFlag = true;
            Output(m_clearCode);
        }
    }
    Output(m_eofCode);
}

// Writes `code` while keeping m_freeEnt equal to the decoder's next free code
// after it has read this code (it adds a string for every code but the first
// after a clear, until the table is full).
void ImageGIF::EmitRleCode(tag_RLE& rle, int32_t code) {
    if (!rle.firstAfterClear && rle.freeCode < kMaxMaxCode) ++rle.freeCode;
    rle.firstAfterClear = false;
    m_freeEnt = rle.freeCode;
    Output(code);
}

// A run is a literal followed by codes the decoder has not seen yet: each
// such code means "the previous string and its first byte", so the strings
// grow c, cc, ccc, ... and k new codes after the literal cover 1 + 2 + ... + (k + 1)
// pixels. A remainder shorter than the longest string is one code already built.
void ImageGIF::EmitRun(tag_RLE& rle, uint8_t colour, uint32_t length) {
    while (length > 0) {
        if (rle.freeCode >= kMaxMaxCode - 1) {
            m_freeEnt = m_clearCode + 2;
            m_clearFlag = true;
            Output(m_clearCode);
            rle.freeCode = m_clearCode + 2;
            rle.firstAfterClear = true;
        }
        EmitRleCode(rle, colour);
        --length;
        if (length == 0) return;
        const int32_t firstNew = rle.freeCode;
        // Largest m with m (m + 1) / 2 <= length + 1; k = m - 1 new codes.
        uint64_t m = 1;
        while ((m + 1) * (m + 2) / 2 <= static_cast<uint64_t>(length) + 1) ++m;
        int64_t k = std::min<int64_t>(static_cast<int64_t>(m) - 1, kMaxMaxCode - firstNew);
        for (int64_t i = 0; i < k; ++i) EmitRleCode(rle, firstNew + static_cast<int32_t>(i));
        length -= static_cast<uint32_t>((k + 1) * (k + 2) / 2 - 1);
        if (length > 0 && length <= static_cast<uint32_t>(k + 1)) {
            EmitRleCode(rle, length == 1 ? colour : firstNew + static_cast<int32_t>(length) - 2);
            length = 0;
        }
    }
}

void ImageGIF::compressRLE(int initBits) {
    StartCodes(initBits);
    tag_RLE rle;
    rle.freeCode = m_clearCode + 2;
    Output(m_clearCode);
    int32_t colour = NextPixel();
    uint32_t run = colour >= 0 ? 1 : 0;
    for (int32_t c = NextPixel(); c >= 0; c = NextPixel()) {
        if (c == colour) {
            ++run;
            continue;
        }
        EmitRun(rle, static_cast<uint8_t>(colour), run);
        colour = c;
        run = 1;
    }
    if (run > 0) EmitRun(rle, static_cast<uint8_t>(colour), run);
    m_freeEnt = rle.freeCode;
    Output(m_eofCode);
}

} // namespace vimg
