#include "HistogramCounts.h"

#include <algorithm>
#include <climits>

#include "Image.h"

void CHistogramCounts::Count(vimg::Image& image) {
    const long most = image.Histogram(m_red.data(), m_green.data(), m_blue.data(), m_gray.data());
    m_max = static_cast<int32_t>(std::clamp<long>(most, 0, INT32_MAX));
    m_counted = true;
}
