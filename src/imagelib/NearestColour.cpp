#include "NearestColour.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace vimg {

namespace {

// Smallest and largest squared distance between value v and the range lo..hi.
void AxisRange(int v, int lo, int hi, int64_t& nearest, int64_t& farthest) {
    const int n = v < lo ? lo - v : (v > hi ? v - hi : 0);
    const int f = std::max(std::abs(v - lo), std::abs(v - hi));
    nearest += static_cast<int64_t>(n) * n;
    farthest += static_cast<int64_t>(f) * f;
}

} // namespace

NearestColour::NearestColour(const RGBQUAD* palette, uint32_t count)
    : m_palette(palette, palette + std::min<uint32_t>(count, 256)) {
    const int size = 1 << kShift;
    std::vector<int64_t> nearest(m_palette.size()), farthest(m_palette.size());
    m_cellStart.reserve(kCells * kCells * kCells + 1);
    for (int r = 0; r < kCells; ++r)
        for (int g = 0; g < kCells; ++g)
            for (int b = 0; b < kCells; ++b) {
                m_cellStart.push_back(static_cast<uint32_t>(m_candidates.size()));
                // An entry can be nearest for some colour of the cell only if its
                // nearest point is no farther than the best farthest point.
                int64_t bound = INT64_MAX;
                for (size_t i = 0; i < m_palette.size(); ++i) {
                    nearest[i] = farthest[i] = 0;
                    AxisRange(m_palette[i].rgbRed, r * size, r * size + size - 1, nearest[i], farthest[i]);
                    AxisRange(m_palette[i].rgbGreen, g * size, g * size + size - 1, nearest[i], farthest[i]);
                    AxisRange(m_palette[i].rgbBlue, b * size, b * size + size - 1, nearest[i], farthest[i]);
                    bound = std::min(bound, farthest[i]);
                }
                for (size_t i = 0; i < m_palette.size(); ++i)
                    if (nearest[i] <= bound) m_candidates.push_back(static_cast<uint8_t>(i));
            }
    m_cellStart.push_back(static_cast<uint32_t>(m_candidates.size()));
}

uint8_t NearestColour::Find(uint8_t red, uint8_t green, uint8_t blue) const {
    const size_t cell =
        (static_cast<size_t>(red >> kShift) * kCells + (green >> kShift)) * kCells + (blue >> kShift);
    int best = 200000;
    uint8_t answer = 0;
    for (uint32_t k = m_cellStart[cell]; k < m_cellStart[cell + 1]; ++k) {
        const RGBQUAD& p = m_palette[m_candidates[k]];
        const int dr = p.rgbRed - red, dg = p.rgbGreen - green, db = p.rgbBlue - blue;
        const int d = dr * dr + dg * dg + db * db;
        if (d == 0) return m_candidates[k];
        if (d < best) {
            best = d;
            answer = m_candidates[k];
        }
    }
    return answer;
}

} // namespace vimg
