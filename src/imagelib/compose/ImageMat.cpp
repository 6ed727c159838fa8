#include "ImageMat.h"

#include <cstring>

#include <opencv2/imgproc.hpp>

#include "Image.h"

namespace vimg::compose {

cv::Mat ImageMat::ToBgr(const Image& image) {
    if (!image.IsValid() || image.GetWidth() == 0 || image.GetHeight() == 0) return {};
    const int w = static_cast<int>(image.GetWidth()), h = static_cast<int>(image.GetHeight());
    cv::Mat out(h, w, CV_8UC3);
    for (int y = 0; y < h; ++y) {
        uint8_t* dst = out.ptr<uint8_t>(y);
        const uint32_t row = static_cast<uint32_t>(h - 1 - y);
        if (image.GetBpp() == 24) {
            std::memcpy(dst, image.GetBits(row), static_cast<size_t>(w) * 3);
            continue;
        }
        for (int x = 0; x < w; ++x) {
            const RGBQUAD c = image.BlindGetPixelColor(x, static_cast<int32_t>(row), false);
            dst[3 * x] = c.rgbBlue;
            dst[3 * x + 1] = c.rgbGreen;
            dst[3 * x + 2] = c.rgbRed;
        }
    }
    return out;
}

cv::Mat ImageMat::ToGrey(const cv::Mat& bgr) {
    cv::Mat grey;
    cv::cvtColor(bgr, grey, cv::COLOR_BGR2GRAY);
    return grey;
}

bool ImageMat::ToImage(const cv::Mat& bgr, Image& out, std::string& error) {
    CV_Assert(bgr.type() == CV_8UC3);
    Image made;
    if (!made.Create(static_cast<uint32_t>(bgr.cols), static_cast<uint32_t>(bgr.rows), 24)) {
        error = made.GetLastError();
        return false;
    }
    for (int y = 0; y < bgr.rows; ++y)
        std::memcpy(made.GetBits(static_cast<uint32_t>(bgr.rows - 1 - y)), bgr.ptr<uint8_t>(y),
                    static_cast<size_t>(bgr.cols) * 3);
    out.Transfer(made);
    return true;
}

} // namespace vimg::compose
