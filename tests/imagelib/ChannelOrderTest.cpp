#include "ChannelOrder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using vimg::CopySwappingRedBlue;
using vimg::SwapRedBlue;

namespace {

// The rule per pixel, written out plainly.
std::vector<uint8_t> Swapped(const std::vector<uint8_t>& bytes, size_t from, size_t pixels) {
    std::vector<uint8_t> out = bytes;
    for (size_t p = 0; p < pixels; ++p) {
        out[from + 3 * p] = bytes[from + 3 * p + 2];
        out[from + 3 * p + 2] = bytes[from + 3 * p];
    }
    return out;
}

std::vector<uint8_t> Pattern(size_t size, uint8_t seed) {
    std::vector<uint8_t> v(size);
    for (size_t i = 0; i < size; ++i) v[i] = static_cast<uint8_t>(seed + i * 7 + (i >> 3));
    return v;
}

} // namespace

// Every length around the sixteen-byte steps, at every misalignment, in place
// and copied; bytes beside the range (guards) must stay as they were.
TEST(ChannelOrder, EqualsThePerPixelRuleAndStaysInsideTheRange) {
    constexpr size_t kGuard = 32;
    for (size_t offset = 0; offset < 4; ++offset) {
        for (size_t pixels = 0; pixels <= 70; ++pixels) {
            const size_t size = kGuard + offset + 3 * pixels + kGuard;
            const std::vector<uint8_t> original = Pattern(size, static_cast<uint8_t>(pixels));
            const std::vector<uint8_t> expected = Swapped(original, kGuard + offset, pixels);

            std::vector<uint8_t> inPlace = original;
            SwapRedBlue(inPlace.data() + kGuard + offset, pixels);
            ASSERT_EQ(inPlace, expected) << "in place, " << pixels << " pixels at offset " << offset;

            std::vector<uint8_t> copied = Pattern(size, 0xA5);
            const std::vector<uint8_t> before = copied;
            CopySwappingRedBlue(copied.data() + kGuard + offset, original.data() + kGuard + offset, pixels);
            for (size_t i = 0; i < size; ++i) {
                const bool inside = i >= kGuard + offset && i < kGuard + offset + 3 * pixels;
                ASSERT_EQ(copied[i], inside ? expected[i] : before[i])
                    << "copied, " << pixels << " pixels at offset " << offset << ", byte " << i;
            }
        }
    }
}
