#include "ImagePNM.h"

#include "../ChannelOrder.h"
#include "../DecodeLimit.h"
#include "../File.h"
#include "SampleScale.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace vimg {

namespace {

// Header and plain-text samples: decimal numbers separated by white space and comments.
bool ReadNumber(File* stream, uint32_t& value) {
    int32_t c = stream->GetC();
    for (;;) {
        if (c == '#') {
            while (c >= 0 && c != '\n' && c != '\r') c = stream->GetC();
        } else if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') {
            c = stream->GetC();
        } else {
            break;
        }
    }
    if (c < '0' || c > '9') return false;
    uint64_t v = 0;
    while (c >= '0' && c <= '9') {
        v = v * 10 + static_cast<uint32_t>(c - '0');
        if (v > 0xFFFFFFFFull) return false;
        c = stream->GetC();
    }
    value = static_cast<uint32_t>(v);
    // The single white-space byte after the maximum value is consumed here too.
    return true;
}

// One bit of a plain bitmap: the next 0 or 1, white space optional.
bool ReadBit(File* stream, uint32_t& bit) {
    for (;;) {
        const int32_t c = stream->GetC();
        if (c < 0) return false;
        if (c == '0' || c == '1') {
            bit = static_cast<uint32_t>(c - '0');
            return true;
        }
        if (c == '#') {
            int32_t d = c;
            while (d >= 0 && d != '\n' && d != '\r') d = stream->GetC();
        } else if (!std::strchr(" \t\n\r\v\f", c)) {
            return false;
        }
    }
}

} // namespace

bool ImagePNM::Decode(File* stream) {
    if (!stream) return false;
    uint8_t magic[2];
    if (stream->Read(magic, 2, 1) != 1 || magic[0] != 'P' || magic[1] < '1' || magic[1] > '6')
        return Fail("error: cannot decode image");
    const int kind = magic[1] - '0';
    const bool bitmap = kind == 1 || kind == 4, colour = kind == 3 || kind == 6, plain = kind <= 3;
    uint32_t width = 0, height = 0, maxval = 1;
    if (!ReadNumber(stream, width) || !ReadNumber(stream, height) ||
        (!bitmap && !ReadNumber(stream, maxval)) || width == 0 || height == 0 || maxval == 0 ||
        maxval > 65535)
        return Fail("error: cannot decode image");
    if (info.escape == -1) {
        head.biWidth = static_cast<int32_t>(width);
        head.biHeight = static_cast<int32_t>(height);
        return true;
    }
    const uint32_t channels = colour ? 3 : 1;
    const uint32_t sampleBytes = maxval > 255 ? 2 : 1;
    // Raw files must hold every sample; plain ones at least two bytes per sample.
    const uint64_t samples = static_cast<uint64_t>(width) * height * channels;
    const uint64_t needed =
        plain ? (bitmap ? samples : samples * 2 - 1)
              : (bitmap ? static_cast<uint64_t>((width + 7) / 8) * height : samples * sampleBytes);
    // Plain files have no truncation allowance: their byte count per sample is only a lower bound.
    if (!DecodeLimit::CheckData(*this, stream, width, height, plain ? needed * 2 : needed)) return false;

    if (!Create(width, height, bitmap ? 1 : (colour ? 24 : 8), FORMAT_PNM))
        return Fail("Can't allocate memory");
    if (bitmap) {
        // A set bit is black.
        SetPaletteColor(0, 255, 255, 255);
        SetPaletteColor(1, 0, 0, 0);
    } else if (!colour) {
        SetGrayPalette();
    }
    if (!plain && kind != 4) return DecodeRaw(stream, width, height, channels, maxval);
    const auto scale = [maxval](uint32_t v) { return ScaleTo8(v, maxval); };
    for (uint32_t r = 0; r < height; ++r) {
        if (info.escape) return Fail("Cancelled");
        const uint32_t y = height - 1 - r;
        uint8_t* row = GetBits(y);
        if (kind == 4) {
            if (stream->Read(row, 1, (width + 7) / 8) != (width + 7) / 8)
                return Fail("error: cannot decode image");
            continue;
        }
        for (uint32_t x = 0; x < width; ++x) {
            for (uint32_t c = 0; c < channels; ++c) {
                uint32_t v = 0;
                if (kind == 1) {
                    if (!ReadBit(stream, v)) return Fail("error: cannot decode image");
                    BlindSetPixelIndex(static_cast<int32_t>(x), static_cast<int32_t>(y),
                                       static_cast<uint8_t>(v));
                    continue;
                }
                if (!ReadNumber(stream, v)) return Fail("error: cannot decode image");
                if (colour) row[3 * x + 2 - c] = scale(v);
                else row[x] = scale(v);
            }
        }
    }
    return true;
}

// Binary grey and colour samples, a whole row at a time. Samples of a maximum
// of 255 are read straight into the picture's row; any other maximum goes
// through a table that holds ScaleTo8 for every value a sample can take.
bool ImagePNM::DecodeRaw(File* stream, uint32_t width, uint32_t height, uint32_t channels, uint32_t maxval) {
    const bool wide = maxval > 255;
    const size_t samplesPerRow = static_cast<size_t>(width) * channels;
    std::vector<uint8_t> table;
    if (maxval != 255) {
        table.resize(wide ? 65536 : 256);
        for (uint32_t v = 0; v < table.size(); ++v) table[v] = ScaleTo8(v, maxval);
    }
    std::vector<uint8_t> raw(wide ? samplesPerRow * 2 : 0);
    for (uint32_t r = 0; r < height; ++r) {
        if (info.escape) return Fail("Cancelled");
        uint8_t* row = GetBits(height - 1 - r);
        if (wide) {
            if (stream->Read(raw.data(), 1, raw.size()) != raw.size())
                return Fail("error: cannot decode image");
            const uint8_t* p = raw.data();
            for (size_t i = 0; i < samplesPerRow; ++i) row[i] = table[(p[2 * i] << 8) | p[2 * i + 1]];
        } else {
            if (stream->Read(row, 1, samplesPerRow) != samplesPerRow)
                return Fail("error: cannot decode image");
            if (!table.empty())
                for (size_t i = 0; i < samplesPerRow; ++i) row[i] = table[row[i]];
        }
        // The file holds red, green, blue; the picture blue, green, red.
        if (channels == 3) SwapRedBlue(row, width);
    }
    return true;
}

bool ImagePNM::Encode(File* stream) {
    if (EncodeSafeCheck(stream)) return false;
    const uint32_t width = GetWidth(), height = GetHeight();
    bool greyPalette = IsIndexed();
    for (uint32_t i = 0; greyPalette && i < GetNumColors(); ++i) {
        const RGBQUAD c = GetPaletteColor(static_cast<uint8_t>(i));
        greyPalette = c.rgbRed == c.rgbGreen && c.rgbGreen == c.rgbBlue;
    }
    if (IsIndexed() && !greyPalette) return Fail("Can save only RGB or GrayScale images");
    const bool colour = !IsIndexed();
    char header[64];
    const int n =
        std::snprintf(header, sizeof(header), "P%c\n%u %u\n255\n", colour ? '6' : '5', width, height);
    bool ok = stream->Write(header, 1, static_cast<size_t>(n)) == static_cast<size_t>(n);
    std::vector<uint8_t> line(static_cast<size_t>(width) * (colour ? 3 : 1));
    uint8_t grey[256] = {};
    for (uint32_t i = 0; !colour && i < GetNumColors(); ++i)
        grey[i] = GetPaletteColor(static_cast<uint8_t>(i)).rgbRed;
    const bool bytePerPixel = GetBpp() == 8;
    for (uint32_t r = 0; ok && r < height; ++r) {
        const int32_t y = static_cast<int32_t>(height - 1 - r);
        const uint8_t* row = GetBits(static_cast<uint32_t>(y));
        uint8_t* out = line.data();
        if (colour) {
            CopySwappingRedBlue(out, row, width);
        } else if (bytePerPixel) {
            for (size_t x = 0; x < line.size(); ++x) out[x] = grey[row[x]];
        } else {
            for (uint32_t x = 0; x < width; ++x)
                out[x] = grey[BlindGetPixelIndex(static_cast<int32_t>(x), y)];
        }
        ok = stream->Write(line.data(), 1, line.size()) == line.size();
    }
    if (!ok) return Fail("PNM: writing the pixel data failed");
    return true;
}

} // namespace vimg
