#include "MosaicBlender.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "Image.h"

namespace vimg::compose {

std::vector<float> MosaicBlender::Ramp(int n, int feather) {
    std::vector<float> ramp(static_cast<size_t>(std::max(n, 0)));
    const float f = static_cast<float>(std::max(feather, 1));
    for (int i = 0; i < n; ++i)
        ramp[i] = std::min(1.0f, static_cast<float>(std::min(i, n - 1 - i) + 1) / f);
    return ramp;
}

int MosaicBlender::FeatherFor(cv::Size size) const {
    return m_feather > 0 ? m_feather : std::max(4, std::min(size.width, size.height) / 8);
}

bool MosaicBlender::Compose(const std::vector<Placed>& pictures, const Loader& load, Image& out,
                            std::string& error, const Progress& progress) const {
    if (pictures.empty()) {
        error = "no pictures to compose";
        return false;
    }
    struct Item {
        Placed placed;
        cv::Point corner;
    };
    std::vector<Item> items;
    int64_t width = 0, height = 0;
    for (const Placed& p : pictures) {
        const cv::Point corner(static_cast<int>(std::lround(p.position.x)),
                               static_cast<int>(std::lround(p.position.y)));
        if (corner.x < 0 || corner.y < 0 || p.size.width <= 0 || p.size.height <= 0) {
            error = "picture placed outside the mosaic";
            return false;
        }
        width = std::max<int64_t>(width, int64_t{corner.x} + p.size.width);
        height = std::max<int64_t>(height, int64_t{corner.y} + p.size.height);
        items.push_back({p, corner});
    }
    if (width > 0x7fffffff / 4 || height > 0x7fffffff / 4) {
        error = "mosaic too large";
        return false;
    }
    Image mosaic;
    if (!mosaic.Create(static_cast<uint32_t>(width), static_cast<uint32_t>(height), 24)) {
        error = mosaic.GetLastError();
        return false;
    }
    std::sort(items.begin(), items.end(),
              [](const Item& a, const Item& b) { return a.corner.y < b.corner.y; });

    const int w = static_cast<int>(width), h = static_cast<int>(height);
    cv::Mat sum(m_stripRows, w, CV_32FC3), weight(m_stripRows, w, CV_32F);
    std::map<size_t, cv::Mat> loaded; // pictures reaching into the current strip
    size_t next = 0;
    for (int top = 0; top < h; top += m_stripRows) {
        const int bottom = std::min(h, top + m_stripRows);
        sum.setTo(0);
        weight.setTo(0);
        while (next < items.size() && items[next].corner.y < bottom) {
            cv::Mat bgr;
            const Placed& p = items[next].placed;
            if (!load(p.index, bgr, error)) return false;
            if (bgr.type() != CV_8UC3 || bgr.size() != p.size) {
                error = "picture " + std::to_string(p.index + 1) + " changed size while the mosaic was built";
                return false;
            }
            loaded[next++] = bgr;
        }
        for (auto it = loaded.begin(); it != loaded.end();) {
            const Item& item = items[it->first];
            const cv::Mat& bgr = it->second;
            const int feather = FeatherFor(bgr.size());
            const std::vector<float> rampX = Ramp(bgr.cols, feather), rampY = Ramp(bgr.rows, feather);
            const int y0 = std::max(top, item.corner.y), y1 = std::min(bottom, item.corner.y + bgr.rows);
            for (int y = y0; y < y1; ++y) {
                const uint8_t* src = bgr.ptr<uint8_t>(y - item.corner.y);
                float* s = sum.ptr<float>(y - top) + 3 * item.corner.x;
                float* wt = weight.ptr<float>(y - top) + item.corner.x;
                const float ry = rampY[y - item.corner.y];
                for (int x = 0; x < bgr.cols; ++x) {
                    const float k = rampX[x] * ry;
                    s[3 * x] += k * src[3 * x];
                    s[3 * x + 1] += k * src[3 * x + 1];
                    s[3 * x + 2] += k * src[3 * x + 2];
                    wt[x] += k;
                }
            }
            if (item.corner.y + bgr.rows <= bottom)
                it = loaded.erase(it);
            else
                ++it;
        }
        for (int y = top; y < bottom; ++y) {
            uint8_t* dst = mosaic.GetBits(static_cast<uint32_t>(h - 1 - y));
            const float* s = sum.ptr<float>(y - top);
            const float* wt = weight.ptr<float>(y - top);
            for (int x = 0; x < w; ++x) {
                if (wt[x] <= 0) continue;
                const float inverse = 1.0f / wt[x];
                for (int c = 0; c < 3; ++c)
                    dst[3 * x + c] = cv::saturate_cast<uint8_t>(s[3 * x + c] * inverse);
            }
        }
        if (progress && !progress(static_cast<double>(bottom) / h)) {
            error = "cancelled";
            return false;
        }
    }
    out.Transfer(mosaic);
    return true;
}

} // namespace vimg::compose
