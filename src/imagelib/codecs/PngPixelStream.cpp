#include "PngPixelStream.h"

#include "../ChannelOrder.h"
#include "../File.h"
#include "../Image.h"
#include "../RowRunner.h"
#include "ByteOrder.h"
#include "SampleScale.h"

#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <system_error>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vimg {

namespace {

std::atomic<bool> enabled{true};

constexpr uint32_t kIDAT = 0x49444154;
constexpr uint32_t kIEND = 0x49454E44;
constexpr uint32_t kIHDR = 0x49484452;
// Compressed data read at a time, and inflated rows handed over at a time (at least one row).
constexpr size_t kInputBytes = 256 * 1024;
constexpr size_t kBatchBytes = 256 * 1024;
// Buffers in the rings between the two threads; more for rows, so that the
// inflating goes on while the unfiltering thread is held up (first touches of
// the picture's pages, other processes).
constexpr size_t kInputSlots = 4;
constexpr size_t kBatchSlots = 8;
// Image data from which on inflating gets a thread of its own.
constexpr uint64_t kHelperFrom = 1u << 20;
// Rows from this length on stay with libpng, keeping the buffers' sizes within 32 bits.
constexpr uint64_t kLongestRow = uint64_t{1} << 28;
// Bytes the pixel-wise unfiltering may read and rewrite (unchanged) behind a row.
constexpr size_t kSlack = 8;

bool IsLetter(uint8_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

inline uint8_t Paeth(int a, int b, int c) {
    const int p = b - c, q = a - c;
    const int pa = std::abs(p), pb = std::abs(q), pc = std::abs(p + q);
    return static_cast<uint8_t>((pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c));
}

// Undoes the row filter in place; N is the distance to the same byte of the left pixel.
template <size_t N> void UnfilterRow(uint8_t filter, uint8_t* cur, const uint8_t* prev, size_t bytes) {
    switch (filter) {
    case 1:
        for (size_t i = N; i < bytes; ++i)
            cur[i] = static_cast<uint8_t>(cur[i] + cur[i - N]);
        break;
    case 2:
        for (size_t i = 0; i < bytes; ++i)
            cur[i] = static_cast<uint8_t>(cur[i] + prev[i]);
        break;
    case 3:
        for (size_t i = 0; i < N; ++i)
            cur[i] = static_cast<uint8_t>(cur[i] + (prev[i] >> 1));
        for (size_t i = N; i < bytes; ++i)
            cur[i] = static_cast<uint8_t>(cur[i] + ((cur[i - N] + prev[i]) >> 1));
        break;
    case 4:
        for (size_t i = 0; i < N; ++i)
            cur[i] = static_cast<uint8_t>(cur[i] + prev[i]);
        for (size_t i = N; i < bytes; ++i)
            cur[i] = static_cast<uint8_t>(cur[i] + Paeth(cur[i - N], prev[i], prev[i - N]));
        break;
    default:
        break;
    }
}

#if defined(__SSE2__)
// The same for pixels of 3 to 8 bytes, a pixel at a time in the low N bytes of
// a 64-bit lane. The predictors' bytes above N are zero, so each 8-byte store
// writes the next pixel's bytes back unchanged; a row may be read and
// rewritten up to kSlack bytes past its end. The next pixel is loaded before
// the store that overlaps it, as loading it after would wait for the store.
template <size_t N> void UnfilterPixels(uint8_t filter, uint8_t* cur, const uint8_t* prev, size_t bytes) {
    static_assert(N >= 3 && N <= 8);
    const auto load = [](const uint8_t* p) { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)); };
    const auto store = [](uint8_t* p, __m128i v) { _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v); };
    const __m128i mask = _mm_cvtsi64_si128(N == 8 ? -1 : static_cast<int64_t>((uint64_t{1} << (8 * N)) - 1));
    const __m128i zero = _mm_setzero_si128(), ones = _mm_set1_epi8(1);
    __m128i a = zero, c = zero; // left and upper left pixels
    __m128i x = load(cur);
    switch (filter) {
    case 1:
        for (size_t i = 0; i < bytes; i += N) {
            const __m128i next = load(cur + i + N);
            const __m128i r = _mm_add_epi8(x, a);
            store(cur + i, r);
            a = _mm_and_si128(r, mask);
            x = next;
        }
        break;
    case 2:
        UnfilterRow<N>(filter, cur, prev, bytes);
        break;
    case 3:
        for (size_t i = 0; i < bytes; i += N) {
            const __m128i b = _mm_and_si128(load(prev + i), mask);
            // avg_epu8 rounds up; the filter rounds down.
            const __m128i mean = _mm_sub_epi8(_mm_avg_epu8(a, b), _mm_and_si128(_mm_xor_si128(a, b), ones));
            const __m128i next = load(cur + i + N);
            const __m128i r = _mm_add_epi8(x, mean);
            store(cur + i, r);
            a = _mm_and_si128(r, mask);
            x = next;
        }
        break;
    case 4:
        for (size_t i = 0; i < bytes; i += N) {
            const __m128i b = _mm_and_si128(load(prev + i), mask);
            const __m128i a16 = _mm_unpacklo_epi8(a, zero), b16 = _mm_unpacklo_epi8(b, zero),
                          c16 = _mm_unpacklo_epi8(c, zero);
            const __m128i p = _mm_sub_epi16(b16, c16), q = _mm_sub_epi16(a16, c16), pq = _mm_add_epi16(p, q);
            const __m128i pa = _mm_max_epi16(p, _mm_sub_epi16(zero, p));
            const __m128i pb = _mm_max_epi16(q, _mm_sub_epi16(zero, q));
            const __m128i pc = _mm_max_epi16(pq, _mm_sub_epi16(zero, pq));
            const __m128i least = _mm_min_epi16(pc, _mm_min_epi16(pa, pb));
            const __m128i takeA = _mm_cmpeq_epi16(pa, least), takeB = _mm_cmpeq_epi16(pb, least);
            const __m128i bOrC = _mm_or_si128(_mm_and_si128(takeB, b16), _mm_andnot_si128(takeB, c16));
            const __m128i pred = _mm_or_si128(_mm_and_si128(takeA, a16), _mm_andnot_si128(takeA, bOrC));
            const __m128i next = load(cur + i + N);
            const __m128i r = _mm_add_epi8(x, _mm_packus_epi16(pred, pred));
            store(cur + i, r);
            a = _mm_and_si128(r, mask);
            c = b;
            x = next;
        }
        break;
    default:
        break;
    }
}
#else
template <size_t N> void UnfilterPixels(uint8_t filter, uint8_t* cur, const uint8_t* prev, size_t bytes) {
    UnfilterRow<N>(filter, cur, prev, bytes);
}
#endif

void Unfilter(size_t pixelBytes, uint8_t filter, uint8_t* cur, const uint8_t* prev, size_t bytes) {
    switch (pixelBytes) {
    case 1:
        UnfilterRow<1>(filter, cur, prev, bytes);
        break;
    case 2:
        UnfilterRow<2>(filter, cur, prev, bytes);
        break;
    case 3:
        UnfilterPixels<3>(filter, cur, prev, bytes);
        break;
    case 4:
        UnfilterPixels<4>(filter, cur, prev, bytes);
        break;
    case 6:
        UnfilterPixels<6>(filter, cur, prev, bytes);
        break;
    default:
        UnfilterPixels<8>(filter, cur, prev, bytes);
        break;
    }
}

size_t Channels(int colorType) {
    switch (colorType) {
    case 0:
        return 1;
    case 2:
        return 3;
    case 4:
        return 2;
    default:
        return 4;
    }
}

// Big-endian 16-bit samples to 8 bits, rounded as ScaleTo8: with h and l the
// high and low byte, v / 257 = h + (l - h) / 257, which rounds to h + 1 when
// l - h > 128 and to h - 1 when l - h < -128.
void Scale16Row(const uint8_t* src, size_t samples, uint8_t* dst) {
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i lowByte = _mm_set1_epi16(0xFF), up = _mm_set1_epi16(128), down = _mm_set1_epi16(-128);
    for (; i + 16 <= samples; i += 16) {
        __m128i rounded[2];
        for (int k = 0; k < 2; ++k) {
            // Little-endian lanes: the sample's high byte is the lane's low one.
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 2 * i + 16 * k));
            const __m128i h = _mm_and_si128(v, lowByte), d = _mm_sub_epi16(_mm_srli_epi16(v, 8), h);
            rounded[k] = _mm_add_epi16(_mm_sub_epi16(h, _mm_cmpgt_epi16(d, up)), _mm_cmplt_epi16(d, down));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_packus_epi16(rounded[0], rounded[1]));
    }
#endif
    for (; i < samples; ++i)
        dst[i] = ScaleTo8(bytes::Be16(src + 2 * i), 65535);
}

// One unfiltered row into the picture's row (grey, or BGR) and alpha plane row.
// 16-bit rows are first rounded into `narrow` (a row of 8-bit samples).
void ConvertRow(const uint8_t* src, uint32_t width, int bitDepth, int colorType, uint8_t* dst, uint8_t* alpha,
                uint8_t* narrow) {
    if (bitDepth == 16) {
        if (colorType == 0) {
            Scale16Row(src, width, dst);
            return;
        }
        Scale16Row(src, size_t{width} * Channels(colorType), narrow);
        src = narrow;
    }
    switch (colorType) {
    case 0:
        std::memcpy(dst, src, width);
        break;
    case 2:
        CopySwappingRedBlue(dst, src, width);
        break;
    case 4: // 16 bits only: grey and alpha
        for (uint32_t x = 0; x < width; ++x, src += 2, dst += 3) {
            dst[0] = dst[1] = dst[2] = src[0];
            alpha[x] = src[1];
        }
        break;
    default: // 6
        for (uint32_t x = 0; x < width; ++x, src += 4, dst += 3) {
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
            alpha[x] = src[3];
        }
        break;
    }
}

} // namespace

bool PngPixelStream::Takes(uint32_t width, int bitDepth, int colorType, bool interlaced, bool hasTrns) {
    if (interlaced || hasTrns || (bitDepth != 8 && bitDepth != 16)) return false;
    if (!(colorType == 0 || colorType == 2 || colorType == 6 || (colorType == 4 && bitDepth == 16)))
        return false;
    return uint64_t{width} * Channels(colorType) * static_cast<uint64_t>(bitDepth / 8) < kLongestRow;
}

void PngPixelStream::SetEnabled(bool on) {
    enabled = on;
}

bool PngPixelStream::Enabled() {
    return enabled;
}

PngPixelStream::PngPixelStream(File* stream, int depth, int type)
    : file(stream), bitDepth(depth), colorType(type) {}

PngPixelStream::~PngPixelStream() = default;

bool PngPixelStream::Fail(const char* text) {
    const std::lock_guard<std::mutex> lock(mutex);
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
    length = bytes::Be32(header);
    type = bytes::Be32(header + 4);
    if (length > 0x7FFFFFFFu) return Fail("PNG: chunk length out of range");
    // Checked before anything of it is read, so a damaged length fails at once.
    if (fileSize >= 0 && int64_t{length} + 4 > fileSize - position)
        return Fail("PNG: a chunk runs past the end of the file");
    chunkCrc = crc32_gzip_refl(0, header + 4, 4);
    return true;
}

bool PngPixelStream::FinishChunk(const char* crcError) {
    uint8_t stored[4];
    if (!ReadExactly(stored, sizeof(stored))) return false;
    return bytes::Be32(stored) == chunkCrc || Fail(crcError);
}

// Fills `buffer` from the IDAT chunks, crossing into following ones; stops
// early once a chunk of another type follows. Only the reading thread calls it.
bool PngPixelStream::ReadImageData(uint8_t* buffer, size_t capacity, size_t& filled) {
    filled = 0;
    while (!imageDataEnded && filled < capacity) {
        if (chunkLeft == 0) {
            if (!FinishChunk("PNG: CRC error in the image data")) return false;
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
        const size_t n = std::min<size_t>(chunkLeft, capacity - filled);
        if (!ReadExactly(buffer + filled, n)) return false;
        chunkCrc = crc32_gzip_refl(chunkCrc, buffer + filled, n);
        chunkLeft -= static_cast<uint32_t>(n);
        filled += n;
    }
    return true;
}

// Gives the inflater the next piece of compressed data: read here, or handed
// over by the reading thread. Sets inputExhausted after the last piece.
bool PngPixelStream::Refill() {
    inflate_state& z = *inflater;
    if (!threaded) {
        size_t filled = 0;
        if (!ReadImageData(inputs[0].data(), inputs[0].size(), filled)) return false;
        z.next_in = inputs[0].data();
        z.avail_in = static_cast<uint32_t>(filled);
        inputExhausted = filled == 0;
        return true;
    }
    std::unique_lock<std::mutex> lock(mutex);
    if (holdingInput) {
        ++inputsTaken;
        holdingInput = false;
        changed.notify_all();
    }
    changed.wait(lock, [this] { return stop || inputsFilled > inputsTaken || inputEnded; });
    if (stop) return false;
    if (inputsFilled > inputsTaken) {
        const size_t slot = inputsTaken % inputs.size();
        z.next_in = inputs[slot].data();
        z.avail_in = static_cast<uint32_t>(inputSizes[slot]);
        holdingInput = true;
    } else {
        z.avail_in = 0;
        inputExhausted = true;
    }
    return true;
}

// The next byte of compressed data; `got` is false after the last one.
bool PngPixelStream::TakeByte(uint8_t& byte, bool& got) {
    inflate_state& z = *inflater;
    while (z.avail_in == 0) {
        got = false;
        if (inputExhausted) return true;
        if (!Refill()) return false;
    }
    byte = *z.next_in++;
    --z.avail_in;
    got = true;
    return true;
}

// The zlib header in front of the deflate data, checked as zlib and libpng
// check it: deflate with a window of at most 32 KiB, no preset dictionary.
bool PngPixelStream::ReadZlibHeader() {
    uint8_t header[2] = {};
    for (uint8_t& byte : header) {
        bool got = false;
        if (!TakeByte(byte, got)) return false;
        if (!got) return Fail("PNG: not enough image data");
    }
    if ((header[0] & 0x0F) != 8 || (header[0] >> 4) > 7 || (header[0] << 8 | header[1]) % 31 != 0 ||
        (header[1] & 0x20) != 0)
        return Fail("PNG: the image data has a bad zlib header");
    headerRead = true;
    return true;
}

// Inflates exactly `size` bytes of row data into `out`.
bool PngPixelStream::Inflate(uint8_t* out, size_t size) {
    inflate_state& z = *inflater;
    if (!headerRead && !ReadZlibHeader()) return false;
    z.next_out = out;
    z.avail_out = static_cast<uint32_t>(size);
    while (z.avail_out > 0) {
        if (z.avail_in == 0 && !inputExhausted && !Refill()) return false;
        const uint32_t inBefore = z.avail_in, outBefore = z.avail_out;
        if (isal_inflate(&z) != ISAL_DECOMP_OK) return Fail("PNG: the image data is damaged (inflate)");
        if (z.avail_out == 0) break;
        const bool stuck = z.avail_in == inBefore && z.avail_out == outBefore && inputExhausted;
        if (z.block_state == ISAL_BLOCK_FINISH || stuck) return Fail("PNG: not enough image data");
    }
    return true;
}

// After the last row: libpng inflates the rest of the stream and skips the rest
// of the IDAT chunks, CRCs checked. Surplus data, and damage inside it, are
// only warned about there, so they are accepted here too; a stream that lacks
// its end or its Adler-32 is not. The Adler-32 of surplus data is taken here.
bool PngPixelStream::DrainImageData() {
    inflate_state& z = *inflater;
    uint8_t scratch[4096];
    bool damaged = false;
    while (z.block_state != ISAL_BLOCK_FINISH && !damaged) {
        if (z.avail_in == 0 && !inputExhausted && !Refill()) return false;
        const uint32_t inBefore = z.avail_in;
        z.next_out = scratch;
        z.avail_out = sizeof(scratch);
        damaged = isal_inflate(&z) != ISAL_DECOMP_OK;
        const size_t produced = sizeof(scratch) - z.avail_out;
        surplusAdler = isal_adler32(surplusAdler, scratch, produced);
        surplusBytes += produced;
        if (!damaged && z.block_state != ISAL_BLOCK_FINISH && produced == 0 && z.avail_in == inBefore &&
            inputExhausted)
            return Fail("PNG: not enough image data");
    }
    if (!damaged) {
        // The stored Adler-32 follows the deflate data at the next byte: first
        // whatever whole bytes the inflater has taken into its bit buffer
        // (lowest first), then the input.
        const int buffered = std::min<int>(z.read_in_length, 64);
        uint64_t bits = z.read_in >> (buffered % 8);
        for (int n = 0; n < 4; ++n) {
            uint8_t byte = 0;
            bool got = true;
            if (n < buffered / 8) {
                byte = static_cast<uint8_t>(bits);
                bits >>= 8;
            } else if (!TakeByte(byte, got)) {
                return false;
            }
            if (!got) return Fail("PNG: not enough image data");
            storedAdler = storedAdler << 8 | byte;
        }
        adlerStored = true;
    }
    while (!inputExhausted) {
        z.avail_in = 0;
        if (!Refill()) return false;
    }
    return true;
}

// Unfilters `count` inflated rows from row `first` on and converts them into the picture.
bool PngPixelStream::UnfilterBatch(Image& image, uint8_t* rows, uint32_t first, size_t count) {
    const uint32_t width = image.GetWidth();
    rowsAdler = isal_adler32(rowsAdler, rows, count * stride);
    for (size_t i = 0; i < count; ++i) {
        if (image.GetEscape()) return false;
        uint8_t* raw = rows + i * stride;
        if (raw[0] > 4) return Fail("PNG: bad filter type in the image data");
        const uint8_t* prev = i == 0 ? above.data() : raw - stride + 1;
        Unfilter(pixelBytes, raw[0], raw + 1, prev, rowBytes);
        const uint32_t y = height - 1 - (first + static_cast<uint32_t>(i));
        uint8_t* alpha = (colorType & 4) ? image.AlphaGetPointer(0, static_cast<int32_t>(y)) : nullptr;
        ConvertRow(raw + 1, width, bitDepth, colorType, image.GetBits(y), alpha, narrow.data());
    }
    std::memcpy(above.data(), rows + (count - 1) * stride + 1, rowBytes);
    return true;
}

bool PngPixelStream::ReadRows(Image& image) {
    for (uint32_t first = 0; first < height; first += static_cast<uint32_t>(rowsPerBatch)) {
        const size_t count = std::min<size_t>(rowsPerBatch, height - first);
        if (!Inflate(batches[0].data(), count * stride) ||
            !UnfilterBatch(image, batches[0].data(), first, count))
            return false;
    }
    return DrainImageData();
}

// The helper thread's part: all rows into the ring of batches, then the rest of the stream.
bool PngPixelStream::InflateRows() {
    for (uint32_t first = 0; first < height; first += static_cast<uint32_t>(rowsPerBatch)) {
        const size_t count = std::min<size_t>(rowsPerBatch, height - first);
        uint8_t* out = nullptr;
        {
            std::unique_lock<std::mutex> lock(mutex);
            changed.wait(lock, [this] { return stop || batchesFilled - batchesTaken < batches.size(); });
            if (stop) return false;
            out = batches[batchesFilled % batches.size()].data();
        }
        if (!Inflate(out, count * stride)) return false;
        const std::lock_guard<std::mutex> lock(mutex);
        ++batchesFilled;
        changed.notify_all();
    }
    return DrainImageData();
}

// This thread reads the file and unfilters while the helper inflates.
bool PngPixelStream::ReadRowsWithHelper(Image& image) {
    threaded = true;
    std::thread helper([this] {
        const bool ok = InflateRows();
        const std::lock_guard<std::mutex> lock(mutex);
        helperDone = true;
        helperOk = ok;
        changed.notify_all();
    });
    bool ok = true;
    uint32_t first = 0;
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        const bool canRead = !inputEnded && inputsFilled - inputsTaken < inputs.size();
        const bool rowsWaiting = batchesFilled > batchesTaken;
        if (canRead && (!rowsWaiting || inputsFilled - inputsTaken < 2)) {
            // Keep the helper supplied first: it sets the pace.
            const size_t slot = inputsFilled % inputs.size();
            lock.unlock();
            size_t filled = 0;
            ok = ReadImageData(inputs[slot].data(), inputs[slot].size(), filled);
            lock.lock();
            if (!ok) break;
            inputSizes[slot] = filled;
            if (filled > 0) ++inputsFilled;
            inputEnded = imageDataEnded;
            changed.notify_all();
        } else if (rowsWaiting) {
            uint8_t* rows = batches[batchesTaken % batches.size()].data();
            lock.unlock();
            const size_t count = std::min<size_t>(rowsPerBatch, height - first);
            ok = UnfilterBatch(image, rows, first, count);
            first += static_cast<uint32_t>(count);
            lock.lock();
            if (!ok) break;
            ++batchesTaken;
            changed.notify_all();
        } else if (helperDone) {
            break;
        } else {
            changed.wait(lock);
        }
    }
    stop = !ok;
    changed.notify_all();
    lock.unlock();
    helper.join();
    return ok && helperOk;
}

// The Adler-32 of all inflated data against the one stored after it (libpng
// does not check it behind damaged surplus data).
bool PngPixelStream::CheckAdler() {
    if (!adlerStored) return true;
    const uLong all = adler32_combine(rowsAdler, surplusAdler, static_cast<z_off_t>(surplusBytes));
    return all == storedAdler || Fail("PNG: the image data fails its Adler-32 check");
}

// The chunks after the image data up to IEND, as png_read_end takes them:
// critical ones have their CRC checked and are otherwise ignored (a second
// IHDR is refused), ancillary ones are skipped.
bool PngPixelStream::ReadTrailingChunks() {
    std::vector<uint8_t>& buffer = inputs[0];
    for (;;) {
        const uint32_t length = nextLength, type = nextType;
        for (int shift = 24; shift >= 0; shift -= 8)
            if (!IsLetter(static_cast<uint8_t>(type >> shift))) return Fail("PNG: invalid chunk type");
        const bool critical = (type & 0x20000000u) == 0;
        if (type == kIHDR) return Fail("PNG: a second IHDR chunk");
        uint32_t left = length;
        while (left > 0) {
            const size_t n = std::min<size_t>(left, buffer.size());
            if (!ReadExactly(buffer.data(), n)) return false;
            chunkCrc = crc32_gzip_refl(chunkCrc, buffer.data(), n);
            left -= static_cast<uint32_t>(n);
        }
        if (critical) {
            if (!FinishChunk("PNG: CRC error in a chunk after the image data")) return false;
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
        height = image.GetHeight();
        pixelBytes = Channels(colorType) * static_cast<size_t>(bitDepth) / 8;
        rowBytes = pixelBytes * image.GetWidth();
        stride = rowBytes + 1;
        rowsPerBatch = std::clamp<size_t>(kBatchBytes / stride, 1, height);
        // With the helper, rings of several batches; a batch holds one row at least.
        const bool helped =
            RowRunner::ThreadCount() > 1 && stride <= kBatchBytes && uint64_t{stride} * height >= kHelperFrom;
        inputs.assign(helped ? kInputSlots : 1, std::vector<uint8_t>(kInputBytes));
        inputSizes.assign(inputs.size(), 0);
        batches.assign(helped ? kBatchSlots : 1, std::vector<uint8_t>(rowsPerBatch * stride + kSlack));
        above.assign(rowBytes + kSlack, 0);
        narrow.assign(bitDepth == 16 ? rowBytes / 2 : 0, 0);
        inflater = std::make_unique<inflate_state>();
        isal_inflate_init(inflater.get());
        // Raw deflate: the zlib header and Adler-32 are taken here, the latter
        // by the unfiltering thread, which has time to spare.
        inflater->crc_flag = ISAL_DEFLATE;

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
                 (helped ? ReadRowsWithHelper(image) : ReadRows(image)) && CheckAdler() &&
                 ReadTrailingChunks();
        }
    } catch (const std::bad_alloc&) {
        Fail("PNG: out of memory");
    } catch (const std::system_error&) {
        Fail("PNG: cannot start a thread");
    }
    if (!ok) image.SetLastError(error.c_str());
    return ok;
}

} // namespace vimg
