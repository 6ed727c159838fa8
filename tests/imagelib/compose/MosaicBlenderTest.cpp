#include "MosaicBlender.h"

#include <gtest/gtest.h>

#include "Image.h"
#include "ImageMat.h"

using vimg::Image;
using vimg::compose::ImageMat;
using vimg::compose::MosaicBlender;

TEST(MosaicBlender, StripsGiveThePerPixelFeatheredAverage) {
    // Three pictures of different sizes, overlapping, composed in strips of 7 rows.
    std::vector<cv::Mat> pictures;
    cv::RNG rng(3);
    for (cv::Size s : {cv::Size(40, 30), cv::Size(35, 33), cv::Size(50, 20)}) {
        cv::Mat m(s, CV_8UC3);
        rng.fill(m, cv::RNG::UNIFORM, 0, 256);
        pictures.push_back(m);
    }
    const std::vector<MosaicBlender::Placed> placed = {{0, {0, 0}, pictures[0].size()},
                                                       {1, {25.4, 9.6}, pictures[1].size()},
                                                       {2, {10, 30}, pictures[2].size()}};
    Image out;
    std::string error;
    const auto load = [&](int i, cv::Mat& bgr, std::string&) {
        bgr = pictures[i];
        return true;
    };
    ASSERT_TRUE(MosaicBlender(6, 7).Compose(placed, load, out, error)) << error;
    const cv::Mat made = ImageMat::ToBgr(out);
    ASSERT_EQ(made.size(), cv::Size(60, 50));
    // Reference: for each pixel, the weighted mean over the pictures covering it.
    const cv::Point corners[] = {{0, 0}, {25, 10}, {10, 30}};
    for (int y = 0; y < made.rows; ++y)
        for (int x = 0; x < made.cols; ++x)
            for (int c = 0; c < 3; ++c) {
                double sum = 0, weight = 0;
                for (int i = 0; i < 3; ++i) {
                    const cv::Point p = cv::Point(x, y) - corners[i];
                    const cv::Size s = pictures[i].size();
                    if (p.x < 0 || p.y < 0 || p.x >= s.width || p.y >= s.height) continue;
                    const double wx = std::min(1.0, (std::min(p.x, s.width - 1 - p.x) + 1) / 6.0);
                    const double wy = std::min(1.0, (std::min(p.y, s.height - 1 - p.y) + 1) / 6.0);
                    sum += wx * wy * pictures[i].at<cv::Vec3b>(p)[c];
                    weight += wx * wy;
                }
                const int expected = weight > 0 ? static_cast<int>(std::lround(sum / weight)) : 0;
                ASSERT_NEAR(made.at<cv::Vec3b>(y, x)[c], expected, 1) << x << "," << y;
            }
}
