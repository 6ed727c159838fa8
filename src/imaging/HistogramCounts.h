// The red, green, blue and grey histograms of a picture with their largest
// count; empty until counted, and again after the picture changed.
#pragma once

#include <array>
#include <cstdint>

namespace vimg {
class Image;
} // namespace vimg

class CHistogramCounts {
public:
    void Count(vimg::Image& image);
    void Clear() {
        m_max = 0;
        m_counted = false;
    }
    bool Empty() const { return m_max == 0; }
    bool Counted() const { return m_counted; }

    const std::array<long, 256>& Red() const { return m_red; }
    const std::array<long, 256>& Green() const { return m_green; }
    const std::array<long, 256>& Blue() const { return m_blue; }
    const std::array<long, 256>& Gray() const { return m_gray; }
    int32_t Max() const { return m_max; }

private:
    std::array<long, 256> m_red{}, m_green{}, m_blue{}, m_gray{};
    int32_t m_max = 0;
    bool m_counted = false; // a picture without pixels counts as counted, with nothing in it
};
