#include "DibBlock.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "MemFile.h"
#include "codecs/ImageBMP.h"

namespace vimg::display {

namespace {

constexpr uint32_t BI_RGB = 0, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6;

uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// Bytes an uncompressed DIB needs (header, masks, palette, rows); 0 when the
// header does not describe one (compressed data, or a header the reader
// refuses on its own).
uint64_t UncompressedSize(const uint8_t* block, size_t size) {
    if (size < 16) return 0;
    const uint32_t headerSize = U32(block);
    uint64_t width = 0, height = 0, bits = 0, compression = BI_RGB, colours = 0;
    uint64_t entrySize = 4;
    if (headerSize == 12) {
        width = U16(block + 4);
        height = U16(block + 6);
        bits = U16(block + 10);
        entrySize = 3;
    } else if (headerSize >= 40 && size >= 40) {
        width = static_cast<uint64_t>(std::max<int64_t>(0, static_cast<int32_t>(U32(block + 4))));
        const auto h = static_cast<int64_t>(static_cast<int32_t>(U32(block + 8)));
        height = static_cast<uint64_t>(h < 0 ? -h : h);
        bits = U16(block + 14);
        compression = U32(block + 16);
        colours = U32(block + 32);
    } else {
        return 0;
    }
    uint64_t masks = 0;
    if (compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS) {
        if (headerSize == 40) masks = compression == BI_BITFIELDS ? 12 : 16;
    } else if (compression != BI_RGB) {
        return 0;
    }
    if (bits <= 8) colours = std::min<uint64_t>(colours ? colours : (uint64_t{1} << bits), 256);
    else colours = 0;
    const uint64_t stride = ((width * bits + 31) / 32) * 4;
    return headerSize + masks + colours * entrySize + stride * height;
}

} // namespace

std::unique_ptr<CGlobalMemory> CopyToHandle(const Image& image) {
    if (!image.IsValid()) return nullptr;
    const uint32_t size = image.GetSize();
    std::unique_ptr<CGlobalMemory> block = CGlobalMemory::Alloc(size);
    if (!block) return nullptr;
    uint8_t* bytes = block->Lock();
    if (!bytes) return nullptr;
    std::memcpy(bytes, image.GetDIB(), size);
    block->Unlock();
    return block;
}

bool CreateFromHANDLE(Image& image, HGLOBAL handle) {
    image.Destroy();
    uint8_t* bytes = handle ? handle->Lock() : nullptr;
    if (!bytes) {
        image.SetLastError("empty or unlockable memory block");
        return false;
    }
    const size_t size = handle->Size();
    const uint64_t needed = UncompressedSize(bytes, size);
    if (needed > size || size > UINT32_MAX) {
        handle->Unlock();
        image.SetLastError(needed > size ? "DIB block too short for its pixel rows" : "DIB block too large");
        return false;
    }
    // The bitmap reader takes a block without a file header as it is; a tiny
    // core-header block is padded so the reader's first look at 40 bytes fits.
    std::vector<uint8_t> padded;
    uint8_t* data = bytes;
    if (size < 64) {
        padded.assign(bytes, bytes + size);
        padded.resize(64);
        data = padded.data();
    }
    ImageBMP bmp;
    MemFile file(data, static_cast<uint32_t>(std::max<size_t>(size, padded.size())));
    const bool ok = bmp.Decode(&file);
    handle->Unlock();
    if (!ok) {
        image.SetLastError(bmp.GetLastError()[0] ? bmp.GetLastError() : "cannot read the DIB block");
        return false;
    }
    image.Transfer(bmp);
    image.SetDecodedType(FORMAT_UNKNOWN);
    return true;
}

} // namespace vimg::display
