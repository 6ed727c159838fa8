// A small seedable random generator (PCG32: 64-bit linear congruential state,
// permuted 32-bit output) for the operations that add randomness. It is plain
// integer arithmetic, so a seed gives the same numbers on every platform and
// standard library. `stream` picks one of 2^63 independent sequences of the
// same seed; Noise and Jitter give each row its own, so rows can run on any
// thread in any order and still draw the same numbers.
#pragma once

#include <cstdint>

namespace vimg {

class RandomSequence {
public:
    explicit RandomSequence(uint64_t seed, uint64_t stream = 0) : m_increment((stream << 1u) | 1u) {
        Next();
        m_state += seed;
        Next();
    }

    uint32_t Next() {
        const uint64_t old = m_state;
        m_state = old * 6364136223846793005ULL + m_increment;
        const auto xorShifted = static_cast<uint32_t>(((old >> 18u) ^ old) >> 27u);
        const auto rotation = static_cast<uint32_t>(old >> 59u);
        return (xorShifted >> rotation) | (xorShifted << ((32u - rotation) & 31u));
    }

    // 0..1 in steps of 1/32767, the scale the classic rand()-based formulas use.
    double Unit() { return static_cast<double>(Next() & 0x7FFF) / 32767.0; }

private:
    uint64_t m_state = 0;
    uint64_t m_increment;
};

} // namespace vimg
