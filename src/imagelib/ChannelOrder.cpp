#include "ChannelOrder.h"

#if defined(__x86_64__) || defined(__i386__)
#include <tmmintrin.h>
#define VIMG_SHUFFLE 1
#endif

namespace vimg {

namespace {

void SwapScalar(uint8_t* dest, const uint8_t* source, size_t bytes) {
    for (size_t i = 0; i + 3 <= bytes; i += 3) {
        const uint8_t first = source[i];
        dest[i] = source[i + 2];
        dest[i + 1] = source[i + 1];
        dest[i + 2] = first;
    }
}

#ifdef VIMG_SHUFFLE
// Sixteen bytes at a time, advancing by five pixels: the sixteenth byte is put
// back unchanged, so the overlapping next step still sees the original byte.
// Each step loads the next sixteen bytes before storing its own: in place, a
// load right after a store it overlaps would wait for that store.
__attribute__((target("ssse3"))) size_t SwapShuffled(uint8_t* dest, const uint8_t* source, size_t bytes) {
    if (bytes < 16) return 0;
    const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source));
    size_t i = 0;
    for (; i + 31 <= bytes; i += 15) {
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i + 15));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i), _mm_shuffle_epi8(v, order));
        v = next;
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i), _mm_shuffle_epi8(v, order));
    return i + 15;
}

bool HasShuffle() {
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}
#endif

void Swap(uint8_t* dest, const uint8_t* source, size_t pixels) {
    const size_t bytes = pixels * 3;
    size_t done = 0;
#ifdef VIMG_SHUFFLE
    if (HasShuffle()) done = SwapShuffled(dest, source, bytes);
#endif
    SwapScalar(dest + done, source + done, bytes - done);
}

} // namespace

void SwapRedBlue(uint8_t* pixels3, size_t pixels) { Swap(pixels3, pixels3, pixels); }

void CopySwappingRedBlue(uint8_t* dest, const uint8_t* source, size_t pixels) { Swap(dest, source, pixels); }

} // namespace vimg
