#include "ImageWBMP.h"

#include "../DecodeLimit.h"
#include "../File.h"
#include "../PixelLoop.h"

#include <algorithm>
#include <vector>

namespace vimg {

namespace {

// Multi-byte integer: seven bits per byte, high bit set on all but the last.
bool ReadInt(File* stream, uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
        const int32_t c = stream->GetC();
        if (c < 0) return false;
        value = (value << 7) | static_cast<uint32_t>(c & 0x7F);
        if (!(c & 0x80)) return true;
    }
    return false; // longer than any sane size
}

void PutInt(std::vector<uint8_t>& out, uint32_t value) {
    uint8_t groups[5];
    int n = 0;
    do {
        groups[n++] = static_cast<uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value);
    while (n-- > 0) out.push_back(static_cast<uint8_t>(groups[n] | (n ? 0x80 : 0)));
}

} // namespace

bool ImageWBMP::Decode(File* stream) {
    if (!stream) return false;
    uint32_t type = 0, width = 0, height = 0;
    if (!ReadInt(stream, type)) return Fail("Not a WBMP");
    if (type != 0) return Fail("Unsupported WBMP type");
    if (stream->GetC() != 0 || !ReadInt(stream, width) || !ReadInt(stream, height) || width == 0 ||
        height == 0)
        return Fail("Not a WBMP");
    const uint32_t stride = (width + 7) / 8;
    if (!DecodeLimit::CheckData(*this, stream, width, height, static_cast<uint64_t>(stride) * height))
        return false;

    if (info.escape == -1) {
        head.biWidth = static_cast<int32_t>(width);
        head.biHeight = static_cast<int32_t>(height);
        return true;
    }
    if (!Create(width, height, 1, FORMAT_WBMP)) return Fail("WBMP Create failed");
    SetPaletteColor(0, 0, 0, 0);
    SetPaletteColor(1, 255, 255, 255);
    // Rows top first; 1 is white, the same as our palette.
    for (uint32_t r = 0; r < height; ++r)
        if (stream->Read(GetBits(height - 1 - r), 1, stride) != stride) return Fail("Corrupted WBMP");
    return true;
}

bool ImageWBMP::Encode(File* stream) {
    if (EncodeSafeCheck(stream)) return false;
    const uint32_t width = GetWidth(), height = GetHeight();
    if (GetBpp() != 1 || width > 255 || height > 255) return Fail("Can't save this image as WBMP");
    std::vector<uint8_t> out = {0, 0};
    PutInt(out, width);
    PutInt(out, height);
    // Whichever palette entry is lighter becomes white.
    const bool invert = GreyWeightSum(GetPaletteColor(0)) > GreyWeightSum(GetPaletteColor(1));
    const uint32_t stride = (width + 7) / 8;
    for (uint32_t r = 0; r < height; ++r) {
        const uint8_t* row = GetBits(height - 1 - r);
        for (uint32_t i = 0; i < stride; ++i) {
            uint8_t b = invert ? static_cast<uint8_t>(~row[i]) : row[i];
            if (i + 1 == stride && (width & 7)) b &= static_cast<uint8_t>(0xFF << (8 - (width & 7)));
            out.push_back(b);
        }
    }
    if (stream->Write(out.data(), 1, out.size()) != out.size()) return Fail("Write Error");
    return true;
}

} // namespace vimg
