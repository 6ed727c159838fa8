// Conversions between the library's bottom-up BGR bitmaps and OpenCV matrices
// with the top row first, the order every compose class works in.
#pragma once

#include <string>

#include <opencv2/core.hpp>

namespace vimg {
class Image;
}

namespace vimg::compose {

class ImageMat {
public:
    // A top-down 8-bit BGR copy of any valid image (palette, grey and 32-bit
    // pictures through their colours); empty when the image is not valid.
    static cv::Mat ToBgr(const Image& image);
    // 8-bit luminance of a BGR matrix.
    static cv::Mat ToGrey(const cv::Mat& bgr);
    // Replaces `out` with a 24-bit copy of a top-down 8-bit BGR matrix; false
    // with the reason in `error` when the image cannot be allocated.
    static bool ToImage(const cv::Mat& bgr, Image& out, std::string& error);
};

} // namespace vimg::compose
