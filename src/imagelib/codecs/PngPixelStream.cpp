#include "PngPixelStream.h"

#include "../File.h"
#include "../Image.h"

#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

namespace vimg {

namespace {

std::atomic<bool> enabled{true};

constexpr uint32_t kIDAT = 0x49444154;
constexpr uint32_t kIEND = 0x49454E44;
constexpr uint32_t kIHDR = 0x49484452;
// Compressed data read per round, and the inflated rows unfiltered per round (at least one row).
constexpr size_t kInputBytes = 256 * 1024;
constexpr size_t kRowBytesPerRound = 256 * 1024;

uint32_t BigEndian32(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

bool IsLetter(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Rounded v × 255 / 65535, the rounding of png_set_scale_16.
inline uint8_t Scale16(const uint8_t* p) {
    const uint32_t v = uint32_t{p[0]} << 8 | p[1];
    return static_cast<uint8_t>((v * 255u + 32895u) >> 16);
}

inline uint8_t Paeth(int a, int b, int c) {
    const int p = b - c, q = a - c;
    const int pa = std::abs(p), pb = std::abs(q), pc = std::abs(p + q);
    return static_cast<uint8_t>((pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c));
}

// Undoes the row filter in place; N is the distance to the same byte of the left pixel.
template <size_t N>
void UnfilterRow(uint8_t filter, uint8_t* cur, const uint8_t* prev, size_t bytes) {
    switch (filter) {
    case 1:
        for (size_t i = N; i < bytes; ++i) cur[i] = static_cast<uint8_t>(cur[i] + cur[i - N]);
        break;
    case 2:
        for (size_t i = 0; i < bytes; ++i) cur[i] = static_cast<uint8_t>(cur[i] + prev[i]);
        break;
    case 3:
        for (size_t i = 0; i < N; ++i) cur[i] = static_cast<uint8_t>(cur[i] + (prev[i] >> 1));
        for (size_t i = N; i < bytes; ++i)
            cur[i] = static_cast<uint8_t>(cur[i] + ((cur[i - N] + prev[i]) >> 1));
        break;
    case 4:
        for (size_t i = 0; i < N; ++i) cur[i] = static_cast<uint8_t>(cur[i] + prev[i]);
        for (size_t i = N; i < bytes; ++i)
            cur[i] = static_cast<uint8_t>(cur[i] + Paeth(cur[i - N], prev[i], prev[i - N]));
        break;
    default:
        break;
    }
}

void Unfilter(size_t pixelBytes, uint8_t filter, uint8_t* cur, const uint8_t* prev, size_t bytes) {
    switch (pixelBytes) {
    case 1: UnfilterRow<1>(filter, cur, prev, bytes); break;
    case 2: UnfilterRow<2>(filter, cur, prev, bytes); break;
    case 3: UnfilterRow<3>(filter, cur, prev, bytes); break;
    case 4: UnfilterRow<4>(filter, cur, prev, bytes); break;
    case 6: UnfilterRow<6>(filter, cur, prev, bytes); break;
    default: UnfilterRow<8>(filter, cur, prev, bytes); break;
    }
}

// One unfiltered row into the picture's row (grey, or BGR) and alpha plane row.
void ConvertRow(const uint8_t* src, uint32_t width, int bitDepth, int colorType, uint8_t* dst, uint8_t* alpha) {
    const bool wide = bitDepth == 16;
    switch (colorType) {
    case 0:
        if (!wide) std::memcpy(dst, src, width);
        else
            for (uint32_t x = 0; x < width; ++x) dst[x] = Scale16(src + 2 * x);
        break;
    case 2:
        if (!wide) {
            for (uint32_t x = 0; x < width; ++x, src += 3, dst += 3) {
                dst[0] = src[2];
                dst[1] = src[1];
                dst[2] = src[0];
            }
        } else {
            for (uint32_t x = 0; x < width; ++x, src += 6, dst += 3) {
                dst[0] = Scale16(src + 4);
                dst[1] = Scale16(src + 2);
                dst[2] = Scale16(src);
            }
        }
        break;
    case 4: // 16 bits only: grey and alpha
        for (uint32_t x = 0; x < width; ++x, src += 4, dst += 3) {
            dst[0] = dst[1] = dst[2] = Scale16(src);
            alpha[x] = Scale16(src + 2);
        }
        break;
    default: // 6
        if (!wide) {
            for (uint32_t x = 0; x < width; ++x, src += 4, dst += 3) {
                dst[0] = src[2];
                dst[1] = src[1];
                dst[2] = src[0];
                alpha[x] = src[3];
            }
        } else {
            for (uint32_t x = 0; x < width; ++x, src += 8, dst += 3) {
                dst[0] = Scale16(src + 4);
                dst[1] = Scale16(src + 2);
                dst[2] = Scale16(src);
                alpha[x] = Scale16(src + 6);
            }
        }
        break;
    }
}

size_t Channels(int colorType) {
    switch (colorType) {
    case 0: return 1;
    case 2: return 3;
    case 4: return 2;
    default: return 4;
    }
}

} // namespace

bool PngPixelStream::Takes(int bitDepth, int colorType, bool interlaced, bool hasTrns) {
    if (interlaced || hasTrns || (bitDepth != 8 && bitDepth != 16)) return false;
    return colorType == 0 || colorType == 2 || colorType == 6 || (colorType == 4 && bitDepth == 16);
}

void PngPixelStream::SetEnabled(bool on) { enabled = on; }

bool PngPixelStream::Enabled() { return enabled; }

PngPixelStream::PngPixelStream(File* stream, int depth, int type)
    : file(stream), bitDepth(depth), colorType(type) {}

PngPixelStream::~PngPixelStream() = default;

bool PngPixelStream::Fail(const char* text) {
    if (error.empty()) error = text;
    return false;
}

bool PngPixelStream::ReadExactly(uint8_t* buffer, size_t count) {
    if (file->Read(buffer, 1, count) != count) return Fail("PNG: the file ends early");
    position += static_cast<int64_t>(count);
    return true;
}

bool PngPixelStream::ReadChunkHeader(uint32_t& length, uint32_t& type) {
    uint8_t header[8];
    if (!ReadExactly(header, sizeof(header))) return false;
    length = BigEndian32(header);
    type = BigEndian32(header + 4);
    if (length > 0x7FFFFFFFu) return Fail("PNG: chunk length out of range");
    // Checked before anything of it is read, so a damaged length fails at once.
    if (fileSize >= 0 && int64_t{length} + 4 > fileSize - position)
        return Fail("PNG: a chunk runs past the end of the file");
    chunkCrc = crc32_gzip_refl(0, header + 4, 4);
    return true;
}

bool PngPixelStream::FinishChunk() {
    uint8_t stored[4];
    if (!ReadExactly(stored, sizeof(stored))) return false;
    if (BigEndian32(stored) != chunkCrc) return Fail("PNG: CRC error in the image data");
    return true;
}

// Fills the input buffer from the IDAT chunks, crossing into following ones;
// leaves it empty once a chunk of another type follows.
bool PngPixelStream::Refill() {
    size_t filled = 0;
    while (!imageDataEnded && filled < input.size()) {
        if (chunkLeft == 0) {
            if (!FinishChunk()) return false;
            uint32_t length = 0, type = 0;
            if (!ReadChunkHeader(length, type)) return false;
            if (type != kIDAT) {
                imageDataEnded = true;
                nextLength = length;
                nextType = type;
                break;
            }
            chunkLeft = length;
            continue;
        }
        const size_t n = std::min<size_t>(chunkLeft, input.size() - filled);
        if (!ReadExactly(input.data() + filled, n)) return false;
        chunkCrc = crc32_gzip_refl(chunkCrc, input.data() + filled, n);
        chunkLeft -= static_cast<uint32_t>(n);
        filled += n;
    }
    inflater->next_in = input.data();
    inflater->avail_in = static_cast<uint32_t>(filled);
    return true;
}

// Inflates exactly `size` bytes of row data into `out`.
bool PngPixelStream::Inflate(uint8_t* out, size_t size) {
    inflate_state& z = *inflater;
    z.next_out = out;
    z.avail_out = static_cast<uint32_t>(size);
    while (z.avail_out > 0) {
        if (z.avail_in == 0 && !Refill()) return false;
        const uint32_t inBefore = z.avail_in, outBefore = z.avail_out;
        const int status = isal_inflate(&z);
        if (status == ISAL_INCORRECT_CHECKSUM) return Fail("PNG: the image data fails its Adler-32 check");
        if (status < 0 || status == ISAL_NEED_DICT) return Fail("PNG: the image data is damaged (inflate)");
        if (z.avail_out == 0) break;
        const bool stuck = z.avail_in == inBefore && z.avail_out == outBefore && imageDataEnded;
        if (z.block_state == ISAL_BLOCK_FINISH || stuck) return Fail("PNG: not enough image data");
    }
    return true;
}

bool PngPixelStream::ReadRows(Image& image) {
    const uint32_t width = image.GetWidth(), height = image.GetHeight();
    const size_t pixelBytes = Channels(colorType) * static_cast<size_t>(bitDepth) / 8;
    const size_t rowBytes = pixelBytes * width;
    const size_t stride = rowBytes + 1; // with the filter type byte
    const size_t rowsPerRound = std::clamp<size_t>(kRowBytesPerRound / stride, 1, height);
    std::vector<uint8_t> rows(rowsPerRound * stride);
    std::vector<uint8_t> above(rowBytes, 0); // the row before the round, none (zeros) for the first

    for (uint32_t first = 0; first < height; first += static_cast<uint32_t>(rowsPerRound)) {
        const size_t count = std::min<size_t>(rowsPerRound, height - first);
        if (!Inflate(rows.data(), count * stride)) return false;
        for (size_t i = 0; i < count; ++i) {
            if (image.GetEscape()) return false;
            const uint32_t k = first + static_cast<uint32_t>(i);
            uint8_t* raw = rows.data() + i * stride;
            if (raw[0] > 4) return Fail("PNG: bad filter type in the image data");
            const uint8_t* prev = i == 0 ? above.data() : raw - stride + 1;
            Unfilter(pixelBytes, raw[0], raw + 1, prev, rowBytes);
            const uint32_t y = height - 1 - k;
            uint8_t* alpha = (colorType & 4) ? image.AlphaGetPointer(0, static_cast<int32_t>(y)) : nullptr;
            ConvertRow(raw + 1, width, bitDepth, colorType, image.GetBits(y), alpha);
        }
        std::memcpy(above.data(), rows.data() + (count - 1) * stride + 1, rowBytes);
    }
    return true;
}

// After the last row: libpng inflates the rest of the stream and skips the rest
// of the IDAT chunks, CRCs checked. Surplus data, and damage inside it, are
// only warned about there, so they are accepted here too; a wrong checksum or
// a stream that lacks its end is not.
bool PngPixelStream::DrainImageData() {
    inflate_state& z = *inflater;
    uint8_t scratch[4096];
    bool damaged = false;
    while (z.block_state != ISAL_BLOCK_FINISH && !damaged) {
        if (z.avail_in == 0 && !Refill()) return false;
        const uint32_t inBefore = z.avail_in;
        z.next_out = scratch;
        z.avail_out = sizeof(scratch);
        const int status = isal_inflate(&z);
        if (status == ISAL_INCORRECT_CHECKSUM) return Fail("PNG: the image data fails its Adler-32 check");
        damaged = status < 0 || status == ISAL_NEED_DICT;
        if (!damaged && z.block_state != ISAL_BLOCK_FINISH && z.avail_out == sizeof(scratch) &&
            z.avail_in == inBefore && imageDataEnded)
            return Fail("PNG: not enough image data");
    }
    while (!imageDataEnded) {
        z.avail_in = 0;
        if (!Refill()) return false;
    }
    return true;
}

// The chunks after the image data up to IEND, as png_read_end takes them:
// critical ones have their CRC checked and are otherwise ignored (a second
// IHDR is refused), ancillary ones are skipped.
bool PngPixelStream::ReadTrailingChunks() {
    for (;;) {
        const uint32_t length = nextLength, type = nextType;
        for (int shift = 24; shift >= 0; shift -= 8)
            if (!IsLetter(static_cast<uint8_t>(type >> shift))) return Fail("PNG: invalid chunk type");
        const bool critical = (type & 0x20000000u) == 0;
        if (type == kIHDR) return Fail("PNG: a second IHDR chunk");
        uint32_t left = length;
        while (left > 0) {
            const size_t n = std::min<size_t>(left, input.size());
            if (!ReadExactly(input.data(), n)) return false;
            chunkCrc = crc32_gzip_refl(chunkCrc, input.data(), n);
            left -= static_cast<uint32_t>(n);
        }
        if (critical) {
            if (!FinishChunk()) return false;
        } else {
            uint8_t stored[4];
            if (!ReadExactly(stored, sizeof(stored))) return false;
        }
        if (type == kIEND) return true;
        if (!ReadChunkHeader(nextLength, nextType)) return false;
    }
}

bool PngPixelStream::Read(Image& image) {
    bool ok = false;
    try {
        input.resize(kInputBytes);
        inflater = std::make_unique<inflate_state>();
        isal_inflate_init(inflater.get());
        inflater->crc_flag = ISAL_ZLIB;
        // libpng has read the first IDAT chunk's header; read it again to take its CRC.
        const int32_t here = file->Tell();
        const int32_t size = file->Size();
        if (here < 8 || !file->Seek(-8, 1)) {
            Fail("PNG: cannot return to the image data");
        } else {
            position = here - 8;
            fileSize = size;
            uint32_t type = 0;
            ok = ReadChunkHeader(chunkLeft, type) && (type == kIDAT || Fail("PNG: image data expected")) &&
                 ReadRows(image) && DrainImageData() && ReadTrailingChunks();
        }
    } catch (const std::bad_alloc&) {
        Fail("PNG: out of memory");
    }
    if (!ok) image.SetLastError(error.c_str());
    return ok;
}

} // namespace vimg
