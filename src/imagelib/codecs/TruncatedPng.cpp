#include "TruncatedPng.h"

#include "../File.h"
#include "ByteOrder.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace vimg {

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr uint32_t kIHDR = 0x49484452, kIDAT = 0x49444154, kIEND = 0x49454E44;
// Pieces in which chunk data is read, so that a declared length allocates nothing the file lacks.
constexpr size_t kPiece = 64 * 1024;
// The rebuilt image data goes into one chunk.
constexpr uint64_t kLargestChunk = 0x7FFFFFFF;

// Appends up to `length` bytes of the stream to `out`; false when the file ends first.
bool Append(File* stream, std::vector<uint8_t>& out, uint64_t length) {
    while (length > 0) {
        const size_t have = out.size(), n = static_cast<size_t>(std::min<uint64_t>(length, kPiece));
        out.resize(have + n);
        const size_t got = stream->Read(out.data() + have, 1, n);
        out.resize(have + got);
        if (got < n) return false;
        length -= n;
    }
    return true;
}

// Samples per pixel by the colour type's bits: 1 palette, 2 colour, 4 alpha.
uint32_t Channels(uint8_t colourType) {
    if (colourType & 1) return 1;
    return ((colourType & 2) ? 3 : 1) + ((colourType & 4) ? 1 : 0);
}

} // namespace

bool TruncatedPng::ReadChunks(File* stream) {
    if (!Append(stream, m_front, 8) || std::memcmp(m_front.data(), kSignature, 8) != 0) return false;
    bool inImageData = false;
    for (;;) {
        const size_t at = m_front.size();
        if (!Append(stream, m_front, 8)) { // cut between chunks or inside a header
            m_front.resize(at);
            return inImageData;
        }
        const uint32_t length = bytes::Be32(&m_front[at]), type = bytes::Be32(&m_front[at + 4]);
        if (length > kLargestChunk) return false;
        if (type == kIDAT) {
            m_front.resize(at);
            if (m_width == 0) return false; // image data before the header chunk
            inImageData = true;
            uint8_t crc[4];
            if (!Append(stream, m_imageData, length) || stream->Read(crc, 1, 4) != 4) return true;
            continue;
        }
        if (inImageData) {
            // Chunks after the image data are left out; the file is cut when it ends before
            // the end of IEND (all rows may still be there).
            m_front.resize(at);
            const int64_t left = static_cast<int64_t>(stream->Size()) - stream->Tell();
            if (left < int64_t{length} + 4) return true;
            if (type == kIEND || !stream->Seek(static_cast<int32_t>(length + 4), 1)) return false;
            continue;
        }
        if (type == kIEND || !Append(stream, m_front, uint64_t{length} + 4)) return false;
        if (type == kIHDR && length == 13) {
            const uint8_t* h = &m_front[at + 8];
            m_width = bytes::Be32(h);
            m_height = bytes::Be32(h + 4);
            m_pixelBits = h[8] * Channels(h[9]);
            m_interlaced = h[12] == 1;
            if (m_width == 0 || m_height == 0 || h[8] == 0 || h[8] > 16) return false;
        }
    }
}

uint64_t TruncatedPng::WholeRows(uint64_t bytes) const {
    // Adam7: first column and row of each pass and the steps between them.
    static const uint32_t x0[7] = {0, 4, 0, 2, 0, 1, 0}, dx[7] = {8, 8, 4, 4, 2, 2, 1};
    static const uint32_t y0[7] = {0, 0, 4, 0, 2, 0, 1}, dy[7] = {8, 8, 8, 4, 4, 2, 2};
    const auto count = [](uint32_t size, uint32_t first, uint32_t step) -> uint64_t {
        return size > first ? (uint64_t{size} - first + step - 1) / step : 0;
    };
    uint64_t total = 0;
    for (int pass = 0; pass < (m_interlaced ? 7 : 1); ++pass) {
        const uint64_t w = m_interlaced ? count(m_width, x0[pass], dx[pass]) : m_width;
        const uint64_t h = m_interlaced ? count(m_height, y0[pass], dy[pass]) : m_height;
        if (w == 0 || h == 0) continue;                     // an empty pass has no rows at all
        const uint64_t row = (w * m_pixelBits + 7) / 8 + 1; // with its filter type byte
        const uint64_t rows = std::min(h, (bytes - total) / row);
        total += rows * row;
        if (rows < h) break;
    }
    return total;
}

bool TruncatedPng::Rebuild(File* stream, int32_t start, uint64_t memoryLimit) {
    m_front.clear();
    m_imageData.clear();
    m_png.clear();
    m_width = m_height = 0;
    if (start < 0 || !stream->Seek(start, 0) || !ReadChunks(stream)) return false;
    const uint64_t raw = RawSize();
    if (raw == 0 || raw > memoryLimit || raw > kLargestChunk) return false;

    std::vector<uint8_t> rows;
    try {
        rows.assign(static_cast<size_t>(raw), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return false;
    z.next_in = m_imageData.data();
    z.avail_in = static_cast<uInt>(m_imageData.size());
    z.next_out = rows.data();
    z.avail_out = static_cast<uInt>(raw);
    int status = Z_OK;
    do {
        status = inflate(&z, Z_NO_FLUSH);
    } while (status == Z_OK && z.avail_in > 0 && z.avail_out > 0);
    const uint64_t whole = WholeRows(raw - z.avail_out);
    inflateEnd(&z);
    if (whole == 0) return false;
    // A row that was cut short is left out whole, as other readers do.
    std::fill(rows.begin() + static_cast<std::ptrdiff_t>(whole), rows.end(), uint8_t{0});

    // Stored without compression: the result lives only until it is decoded.
    uLong packed = compressBound(static_cast<uLong>(raw));
    if (packed > kLargestChunk) return false;
    try {
        m_png = m_front;
        m_png.resize(m_front.size() + 8 + packed);
    } catch (const std::bad_alloc&) {
        return false;
    }
    uint8_t* chunk = m_png.data() + m_front.size();
    if (compress2(chunk + 8, &packed, rows.data(), static_cast<uLong>(raw), 0) != Z_OK) return false;
    bytes::PutBe32(chunk, static_cast<uint32_t>(packed));
    bytes::PutBe32(chunk + 4, kIDAT);
    m_png.resize(m_front.size() + 8 + packed);
    const uLong crc = crc32(0, chunk + 4, static_cast<uInt>(packed + 4));
    // The chunk's CRC, then IEND.
    uint8_t end[16] = {0, 0, 0, 0, 0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
    bytes::PutBe32(end, static_cast<uint32_t>(crc));
    m_png.insert(m_png.end(), end, end + sizeof(end));
    return true;
}

} // namespace vimg
