// A quarter turn is a transposition of the pixel array combined with a mirror
// (clockwise) or a flip (anticlockwise). The transposition of an m x n array
// inside its own memory is done as three permutations that each keep every
// pixel in its column or in its row (Catanzaro, Keller and Garland, "A
// decomposition for in-place matrix transposition", 2014); with c = gcd(m, n),
// a = m / c and b = n / c:
//   1. column j rotates up by floor(j / b) (only needed when c > 1);
//   2. in row i the pixel from column j moves to column (j m + i0) mod n, i0
//      being the row it started in;
//   3. column j' takes in row i' the pixel from row (i' n + j' - floor(i' / a)) mod m.
// The flip is folded into the first step, the mirror into the first two. Column
// steps work on blocks of neighbouring columns copied out to scratch, so every
// pass reads and writes whole cache lines.
#include "InPlaceQuarterTurn.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <numeric>
#include <utility>

namespace vimg {

namespace {

// Scratch of each column block, per thread: as many columns as fit, at most 64.
constexpr size_t kColumnScratch = 512 * 1024;
constexpr uint32_t kMaxBlockColumns = 64;
// Rows are shuffled as runs of c pixels from this c on; each run costs a few divisions.
constexpr uint32_t kGatherRunsFrom = 16;

} // namespace

InPlaceQuarterTurn::InPlaceQuarterTurn(int32_t rows, int32_t cols, size_t pixelBytes, bool clockwise)
    : m_m(static_cast<uint32_t>(std::max(rows, 0))), m_n(static_cast<uint32_t>(std::max(cols, 0))),
      m_pixelBytes(pixelBytes), m_mirror(clockwise), m_flip(!clockwise) {}

bool InPlaceQuarterTurn::Reserve() {
    if (m_m == 0 || m_n == 0 || (m_pixelBytes != 1 && m_pixelBytes != 3 && m_pixelBytes != 4)) return false;
    const uint32_t c = std::gcd(m_m, m_n);
    m_a = m_m / c;
    m_b = m_n / c;
    // a's inverse mod b (they have no common divisor), by the extended Euclidean algorithm.
    int64_t r0 = m_b, r1 = m_a % m_b, x0 = 0, x1 = 1;
    while (r1 != 0) {
        const int64_t k = r0 / r1;
        r0 = std::exchange(r1, r0 - k * r1);
        x0 = std::exchange(x1, x0 - k * x1);
    }
    m_aInverse = static_cast<uint32_t>((x0 % m_b + m_b) % m_b);
    m_blockColumns = static_cast<uint32_t>(std::clamp<size_t>(kColumnScratch / (size_t{m_m} * m_pixelBytes),
                                                              1, std::min(kMaxBlockColumns, m_n)));
    // A column block after its columns' offsets, or a row.
    m_scratchPerPart = std::max(m_blockColumns * sizeof(size_t) + size_t{m_m} * m_blockColumns * m_pixelBytes,
                                size_t{m_n} * m_pixelBytes) +
                       1; // a four-byte read of the last three-byte pixel
    m_scratchPerPart = (m_scratchPerPart + alignof(size_t) - 1) / alignof(size_t) * alignof(size_t);
    m_parts = std::clamp(RowRunner::ThreadCount(), 1u, std::min(m_m, m_n));
    try {
        m_rowFrom.resize(m_m);
        m_columnShift.resize(m_n);
        m_scratch.reset(new uint8_t[m_scratchPerPart * m_parts]);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void InPlaceQuarterTurn::Run(uint8_t* pixels, const RowProgress& progress) {
    switch (m_pixelBytes) {
    case 1: RunAt<1>(pixels, progress); break;
    case 3: RunAt<3>(pixels, progress); break;
    default: RunAt<4>(pixels, progress); break;
    }
}

template <size_t E>
void InPlaceQuarterTurn::RunAt(uint8_t* pixels, const RowProgress& progress) {
    const int32_t span = progress.hi - progress.lo;
    auto stage = [&](int32_t k) {
        return RowProgress{progress.image, static_cast<int32_t>(m_parts), progress.lo + span * k / 3,
                           progress.lo + span * (k + 1) / 3};
    };
    if (m_b != m_n || m_flip) {
        for (uint32_t i = 0; i < m_m; ++i) m_rowFrom[i] = m_flip ? m_m - 1 - i : i;
        for (uint32_t j = 0; j < m_n; ++j) {
            const uint32_t up = (Source(j) / m_b) % m_m;
            // Flipped, row i takes old row m - 1 - ((i + up) mod m) = (m - 1 - i + m - up) mod m.
            m_columnShift[j] = m_flip ? (m_m - up) % m_m : up;
        }
        RunParts(stage(0), m_n,
                 [&](uint32_t j0, uint32_t j1, uint8_t* s) { GatherColumns<E>(pixels, j0, j1, s); });
    }
    RunParts(stage(1), m_m, [&](uint32_t i0, uint32_t i1, uint8_t* s) {
        for (uint32_t i = i0; i < i1; ++i) {
            if (m_n / m_b >= kGatherRunsFrom)
                ShuffleRow<E>(pixels, i, s);
            else
                ScatterRow<E>(pixels, i, s);
        }
    });
    for (uint32_t i = 0; i < m_m; ++i)
        m_rowFrom[i] = static_cast<uint32_t>((uint64_t{i} * m_n % m_m + m_m - (i / m_a) % m_m) % m_m);
    for (uint32_t j = 0; j < m_n; ++j) m_columnShift[j] = j % m_m;
    RunParts(stage(2), m_n,
             [&](uint32_t j0, uint32_t j1, uint8_t* s) { GatherColumns<E>(pixels, j0, j1, s); });
}

// Splits [0, count) into m_parts runs spread over the pool, each with its own scratch.
template <typename Fn>
void InPlaceQuarterTurn::RunParts(const RowProgress& progress, uint32_t count, Fn&& fn) {
    RowRunner::Run(
        progress, 0, static_cast<int32_t>(m_parts), m_parts > 1,
        [&](int32_t part) {
            const auto p = static_cast<uint64_t>(part);
            fn(static_cast<uint32_t>(count * p / m_parts), static_cast<uint32_t>(count * (p + 1) / m_parts),
               m_scratch.get() + p * m_scratchPerPart);
        },
        false);
}

// Columns j0 <= j < j1 become new(i, j) = old((rowFrom[i] + columnShift[j]) mod m, j),
// a block of columns at a time.
template <size_t E>
void InPlaceQuarterTurn::GatherColumns(uint8_t* pixels, uint32_t j0, uint32_t j1, uint8_t* scratch) const {
    const size_t stride = size_t{m_n} * E;
    // The block's columns' shifts as offsets in bytes (row times line plus column), then the block.
    auto* shift = reinterpret_cast<size_t*>(scratch);
    uint8_t* block = scratch + size_t{m_blockColumns} * sizeof(size_t);
    for (uint32_t jb = j0; jb < j1; jb += m_blockColumns) {
        const uint32_t width = std::min(m_blockColumns, j1 - jb);
        const size_t line = size_t{width} * E;
        const size_t end = size_t{m_m} * line;
        uint8_t* column = pixels + size_t{jb} * E;
        for (uint32_t i = 0; i < m_m; ++i) std::memcpy(block + i * line, column + i * stride, line);
        for (uint32_t k = 0; k < width; ++k) shift[k] = m_columnShift[jb + k] * line + size_t{k} * E;
        // Three-byte pixels move as four bytes but the last of each row: the
        // fourth byte lands where the next pixel is written right after.
        constexpr size_t kMove = E == 3 ? 4 : E;
        const uint32_t wide = E == 3 ? width - 1 : width;
        for (uint32_t i = 0; i < m_m; ++i) {
            uint8_t* d = column + i * stride;
            const size_t from = m_rowFrom[i] * line;
            uint32_t k = 0;
            for (; k < wide; ++k, d += E) {
                size_t r = from + shift[k];
                if (r >= end) r -= end;
                std::memcpy(d, block + r, kMove);
            }
            if (k < width) {
                size_t r = from + shift[k];
                if (r >= end) r -= end;
                std::memcpy(d, block + r, E);
            }
        }
    }
}

// Row i: the pixel of (mirrored) column j, which started in row
// r = (i + floor(j / b)) mod m, goes to column t = (j m + r) mod n. Written as a
// gather in order of t: with j = q b + s (q < c, s < b), t = c ((s a) mod b) + r
// mod n, so q = (t - i) mod c, and s follows from t - r; as t rises by one, q
// and r do too and s stays, until q reaches c or i + q reaches m: a run of
// sources b columns apart.
template <size_t E>
void InPlaceQuarterTurn::ShuffleRow(uint8_t* pixels, uint32_t i, uint8_t* scratch) const {
    uint8_t* row = pixels + size_t{i} * m_n * E;
    std::memcpy(scratch, row, size_t{m_n} * E);
    constexpr size_t kMove = E == 3 ? 4 : E; // as in GatherColumns
    const uint32_t c = m_n / m_b;
    const ptrdiff_t step = (m_mirror ? -1 : 1) * static_cast<ptrdiff_t>(size_t{m_b} * E);
    uint8_t* d = row;
    for (uint32_t t = 0; t < m_n;) {
        const uint32_t q = (t % c + c - i % c) % c;
        const uint64_t iq = uint64_t{i} + q;
        const auto r = static_cast<uint32_t>(iq % m_m);
        const auto u = static_cast<uint32_t>((uint64_t{t} + m_n - r % m_n) % m_n / c);
        const auto sub = static_cast<uint32_t>(uint64_t{u} * m_aInverse % m_b);
        uint32_t run = std::min(c - q, m_n - t);
        if (iq < m_m) run = std::min(run, static_cast<uint32_t>(m_m - iq));
        const uint8_t* from = scratch + size_t{Source(q * m_b + sub)} * E;
        t += run;
        // The row's last pixel takes no fourth byte: that belongs to the next row.
        const uint32_t wide = t == m_n && E == 3 ? run - 1 : run;
        for (uint32_t k = 0; k < wide; ++k, from += step, d += E) std::memcpy(d, from, kMove);
        if (wide < run) std::memcpy(d, from, E);
    }
}

// ShuffleRow as a scatter in the order of j, for short runs (small c).
template <size_t E>
void InPlaceQuarterTurn::ScatterRow(uint8_t* pixels, uint32_t i, uint8_t* scratch) const {
    uint8_t* row = pixels + size_t{i} * m_n * E;
    const uint32_t step = m_m % m_n;
    uint32_t base = 0;            // j m mod n
    uint32_t start = i;           // (i + floor(j / b)) mod m
    uint32_t startModN = i % m_n; // the same mod n
    uint32_t untilNext = m_b;     // columns left before floor(j / b) grows
    for (uint32_t j = 0; j < m_n; ++j) {
        uint32_t to = base + startModN;
        if (to >= m_n) to -= m_n;
        std::memcpy(scratch + size_t{to} * E, row + size_t{Source(j)} * E, E);
        base += step;
        if (base >= m_n) base -= m_n;
        if (--untilNext == 0) {
            untilNext = m_b;
            if (++start == m_m) {
                start = 0;
                startModN = 0;
            } else if (++startModN == m_n) {
                startModN = 0;
            }
        }
    }
    std::memcpy(row, scratch, size_t{m_n} * E);
}

} // namespace vimg
