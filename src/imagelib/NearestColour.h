// Nearest palette entry for many colours at once. Gives exactly the answer of
// Image::GetNearestIndex (squared RGB distance, lowest index on a tie) but
// searches only the entries that can win inside the colour's cell of the RGB
// cube.
#pragma once

#include "ImageTypes.h"

#include <cstdint>
#include <vector>

namespace vimg {

class NearestColour {
public:
    // Searches entries 0 .. count - 1 of `palette` (count at most 256).
    NearestColour(const RGBQUAD* palette, uint32_t count);
    uint8_t Find(uint8_t red, uint8_t green, uint8_t blue) const;

private:
    static constexpr int kShift = 4; // cells of 16 x 16 x 16 values
    static constexpr int kCells = 256 >> kShift;

    std::vector<RGBQUAD> m_palette;
    std::vector<uint32_t> m_cellStart; // candidates of cell c: m_candidates[start[c] .. start[c + 1])
    std::vector<uint8_t> m_candidates;
};

} // namespace vimg
