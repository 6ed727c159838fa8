#include "EllipseWarp.h"

#include <cmath>

#include "Image.h"
#include "RowRunner.h"

void SquareToEllipseSource(int j, int i, int width, int height, float& x, float& y) {
    const float cx = static_cast<float>(width) * 0.5f;
    const float cy = static_cast<float>(height) * 0.5f;
    const float r = static_cast<float>(height) / static_cast<float>(width);
    float u = (static_cast<float>(j) - cx) * r;
    float v = static_cast<float>(i) - cy;
    if (u != 0.0f || v != 0.0f) {
        // Stretch each ray from the centre so that the square's edge lands on the circle.
        const float d = std::sqrt(u * u + v * v);
        const float s = std::fabs(v) >= std::fabs(u) ? std::fabs(d / v) : std::fabs(d / u);
        u *= s;
        v *= s;
    }
    x = u / r + cx;
    y = v + cy;
}

bool SquareToEllipse(const vimg::Image& src, vimg::Image& dest) {
    if (!src.IsValid()) return false;
    dest.Copy(src, false, false, true);
    if (!dest.IsValid()) return false;
    const int width = static_cast<int>(src.GetWidth());
    const int height = static_cast<int>(src.GetHeight());
    // Palette images find their index through a shared cache: those rows run one at a time.
    const bool parallel = !dest.IsIndexed();
    return vimg::RowRunner::Run(
        vimg::RowProgress{&dest, height}, 0, height, parallel,
        [&](int32_t i) {
            for (int j = 0; j < width; ++j) {
                float x, y;
                SquareToEllipseSource(j, i, width, height, x, y);
                dest.SetPixelColor(j, i,
                                   src.GetPixelColorInterpolated(x, y, vimg::Image::IM_BILINEAR,
                                                                 vimg::Image::OM_BACKGROUND));
            }
        },
        false);
}
