// The row runner: every row once, escape and failures reported, and every
// operation family giving the same bits on 1, 2 and 8 threads.
#include "Image.h"
#include "ImageTestSupport.h"
#include "ReduceBitDepth.h"
#include "RowRunner.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

using namespace testsupport;
using vimg::Image;
using vimg::RowProgress;
using vimg::RowRunner;

namespace {

// Restores the machine-sized pool when a test ends.
struct ThreadCount {
    explicit ThreadCount(unsigned n) { RowRunner::SetThreadCount(n); }
    ~ThreadCount() { RowRunner::SetThreadCount(0); }
};

constexpr unsigned kCounts[] = {1, 2, 8};

TEST(RowRunner, RunsEveryRowOnceAndReportsEscapeAndFailures) {
    Image img(4, 4, 24);
    for (unsigned threads : kCounts) {
        ThreadCount count(threads);
        std::vector<std::atomic<int>> seen(1000);
        EXPECT_TRUE(RowRunner::Run(RowProgress{&img, 1000}, 0, 1000, true, [&](int32_t y) { ++seen[y]; }));
        for (int y = 0; y < 1000; ++y)
            ASSERT_EQ(seen[y].load(), 1) << "row " << y << ", " << threads << " threads";
        // Progress comes from the calling thread before each row it starts.
        if (threads == 1) {
            EXPECT_EQ(img.GetProgress(), 99);
        }
        EXPECT_LE(img.GetProgress(), 99);

        // A row that throws stops the loop; the text lands in the image and no thread dies.
        img.SetLastError("");
        EXPECT_FALSE(RowRunner::Run(RowProgress{&img, 1000}, 0, 1000, true, [](int32_t y) {
            if (y == 517) throw std::runtime_error("row 517 broke");
        }));
        EXPECT_STREQ(img.GetLastError(), "row 517 broke");
        EXPECT_FALSE(RowRunner::Run(RowProgress{&img, 1000}, 0, 1000, true, [](int32_t) {
            throw std::bad_alloc();
        }));
        EXPECT_STREQ(img.GetLastError(), "out of memory");

        // Escape stops before the next row; without the check the loop ignores it.
        std::atomic<int> rows{0};
        img.SetEscape(1);
        EXPECT_FALSE(RowRunner::Run(RowProgress{&img, 1000}, 0, 1000, true, [&](int32_t) { ++rows; }));
        EXPECT_EQ(rows.load(), 0);
        EXPECT_TRUE(RowRunner::Run(RowProgress{&img, 1000}, 0, 1000, true, [&](int32_t) { ++rows; }, false));
        EXPECT_EQ(rows.load(), 1000);
        img.SetEscape(0);

        // A loop inside a row runs on that row's thread instead of waiting for the pool.
        std::atomic<int> inner{0};
        EXPECT_TRUE(RowRunner::Run(RowProgress{}, 0, 64, true, [&](int32_t) {
            RowRunner::Run(RowProgress{}, 0, 64, true, [&](int32_t) { ++inner; });
        }));
        EXPECT_EQ(inner.load(), 64 * 64);
    }
}

struct Family {
    std::string name;
    std::function<bool(Image&)> run;
};

std::vector<Family> Families() {
    const int32_t sharpen[9] = {0, -1, 0, -1, 5, -1, 0, -1, 0};
    std::vector<Family> f = {
        {"Filter", [=](Image& i) { return i.Filter(sharpen, 3, 1, 0); }},
        {"FilterDivided", [](Image& i) {
             const int32_t box[9] = {1, 1, 1, 1, 1, 1, 1, 1, 1};
             return i.Filter(box, 3, 9, 0);
         }},
        {"Median", [](Image& i) { return i.Median(3); }},
        {"Median5", [](Image& i) { return i.Median(5); }},
        {"Flip", [](Image& i) { return i.Flip(); }},
        {"RotateRight", [](Image& i) { return i.RotateRight(); }},
        {"Resample2Bilinear", [](Image& i) { return i.Resample2(105, 100, Image::IM_BILINEAR); }},
        {"Erode", [](Image& i) { return i.Erode(3); }},
        {"Edge", [](Image& i) { return i.Edge(3); }},
        {"Contour", [](Image& i) { return i.Contour(); }},
        {"UnsharpMask", [](Image& i) { return i.UnsharpMask(3.0f, 0.7f, 2); }},
        {"Jitter", [](Image& i) { return i.Jitter(3, 11); }},
        {"Noise", [](Image& i) { return i.Noise(40, 12); }},
        {"Light", [](Image& i) { return i.Light(20, 15); }},
        {"Gamma", [](Image& i) { return i.Gamma(1.7f); }},
        {"Negative", [](Image& i) { return i.Negative(); }},
        {"Threshold", [](Image& i) { return i.Threshold(120); }},
        {"Colorize", [](Image& i) { return i.Colorize(40, 120, 0.6f); }},
        {"HistogramEqualize", [](Image& i) { return i.HistogramEqualize(); }},
        {"HistogramStretch", [](Image& i) { return i.HistogramStretch(1); }},
        {"Repair", [](Image& i) { return i.Repair(0.25f, 2, 0); }},
        {"Mirror", [](Image& i) { return i.Mirror(); }},
        {"Rotate180", [](Image& i) { return i.Rotate180(); }},
        {"Rotate", [](Image& i) { return i.Rotate(17.0f); }},
        {"Rotate2", [](Image& i) { return i.Rotate2(23.0f, nullptr, Image::IM_BICUBIC2); }},
        {"Resample", [](Image& i) { return i.Resample(230, 170, 2); }},
        {"Resample2", [](Image& i) { return i.Resample2(150, 260); }},
        {"QIShrink", [](Image& i) { return i.QIShrink(97, 61); }},
        {"Crop", [](Image& i) { return i.Crop(5, 7, 190, 170); }},
        {"Expand", [](Image& i) { return i.Expand(3, 4, 5, 6, Rgb(9, 8, 7)); }},
        {"Skew", [](Image& i) { return i.Skew(0.2f, 0.1f, 10, 10, true); }},
        {"CircleTransform", [](Image& i) { return i.CircleTransform(2, 0, 30.0f); }},
        {"GrayScale", [](Image& i) { return i.GrayScale(); }},
        {"SplitHSL+Combine",
         [](Image& i) {
             Image h, s, l;
             return i.SplitHSL(&h, &s, &l) && i.Combine(&h, &s, &l, nullptr, Image::CS_HSL);
         }},
        {"DecreaseBpp", [](Image& i) { return i.DecreaseBpp(4, false); }},
        {"DecreaseBppDiffused", [](Image& i) { return i.DecreaseBpp(8, true); }},
        {"IncreaseBpp", [](Image& i) { return i.IsIndexed() ? i.IncreaseBpp(24) : i.DecreaseBpp(8, false); }},
        {"Dither", [](Image& i) { return i.Dither(1); }},
        {"ReduceBitDepth", [](Image& i) { return vimg::ReduceBitDepth(i, 8, false, true, 200); }},
        {"Mix",
         [](Image& i) {
             const Image other = RandomImage(i.GetWidth(), i.GetHeight(), 24, 99);
             return i.Mix(other, Image::OpScreen, 3, -2);
         }},
        {"FFT2",
         [](Image& i) {
             Image grey(i);
             Image re, im;
             return grey.GrayScale() && i.FFT2(&grey, nullptr, &re, &im, 1, false, true) && (i = re, true);
         }},
    };
    return f;
}

// 200 rows keep every thread of eight busy; a selection and an alpha plane on
// the 24-bit subject take the masked and alpha paths.
std::vector<Image> Subjects() {
    std::vector<Image> v;
    Image rgb = SmoothImage(211, 200, 3);
    rgb.AlphaCreate();
    for (int32_t y = 0; y < 200; ++y)
        for (int32_t x = 0; x < 211; ++x) rgb.AlphaSet(x, y, static_cast<uint8_t>(x * 7 + y));
    v.push_back(rgb);
    Image masked = SmoothImage(211, 200, 4);
    AddSelection(masked);
    v.push_back(masked);
    v.push_back(RandomImage(211, 200, 8, 5));
    return v;
}

TEST(RowRunner, EveryOperationFamilyGivesTheSameBitsOnOneTwoAndEightThreads) {
    const std::vector<Image> subjects = Subjects();
    for (const Family& family : Families()) {
        for (size_t s = 0; s < subjects.size(); ++s) {
            std::vector<Image> results;
            for (unsigned threads : kCounts) {
                ThreadCount count(threads);
                Image img(subjects[s]);
                const bool ok = family.run(img);
                ASSERT_TRUE(ok || s == 2)
                    << family.name << " failed on subject " << s << ": " << img.GetLastError();
                results.push_back(std::move(img));
            }
            EXPECT_TRUE(SamePixels(results[0], results[1]))
                << family.name << ", subject " << s << ", 2 threads";
            EXPECT_TRUE(SamePixels(results[0], results[2]))
                << family.name << ", subject " << s << ", 8 threads";
        }
    }
}

} // namespace
