// Turns a block of unpadded pixel rows by a quarter inside its own memory, with
// scratch of a few rows and columns instead of a second picture.
#pragma once

#include "RowRunner.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace vimg {

class InPlaceQuarterTurn {
public:
    // For a block of `rows` rows of `cols` pixels of `pixelBytes` (1, 3 or 4)
    // bytes each, one row right after the other. Turned, it holds `cols` rows of
    // `rows` pixels: with `clockwise`, new(x, y) = old(cols - 1 - y, x), else
    // new(x, y) = old(y, rows - 1 - x), y being the row.
    InPlaceQuarterTurn(int32_t rows, int32_t cols, size_t pixelBytes, bool clockwise);

    // Takes the scratch memory; false when it cannot be had or the size is not
    // one of those above. Done apart from Run so that a caller turning several
    // planes can fail before changing any.
    bool Reserve();
    // Turns the block at `pixels` (after Reserve). It cannot stop half way, so
    // the progress reports do not check escape.
    void Run(uint8_t* pixels, const RowProgress& progress);

private:
    template <size_t E>
    void RunAt(uint8_t* pixels, const RowProgress& progress);
    template <size_t E>
    void GatherColumns(uint8_t* pixels, uint32_t j0, uint32_t j1, uint8_t* scratch) const;
    template <size_t E>
    void ShuffleRow(uint8_t* pixels, uint32_t i, uint8_t* scratch) const;
    template <size_t E>
    void ScatterRow(uint8_t* pixels, uint32_t i, uint8_t* scratch) const;
    template <typename Fn>
    void RunParts(const RowProgress& progress, uint32_t count, Fn&& fn);
    // The column of the array being transposed (mirrored or not) that column j holds.
    uint32_t Source(uint32_t j) const { return m_mirror ? m_n - 1 - j : j; }

    uint32_t m_m, m_n, m_a = 1, m_b = 1, m_aInverse = 0;
    size_t m_pixelBytes;
    bool m_mirror, m_flip;
    uint32_t m_blockColumns = 1;
    uint32_t m_parts = 1;
    size_t m_scratchPerPart = 0;
    std::unique_ptr<uint8_t[]> m_scratch;
    std::vector<uint32_t> m_rowFrom, m_columnShift;
};

} // namespace vimg
