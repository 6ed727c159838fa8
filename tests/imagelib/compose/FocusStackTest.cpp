// Focus stacking on small hand-made stacks: what the merge must do, what it
// must refuse, and the running merge's inner loops against their per-pixel
// definition. enfuse (contrast weight, hard mask) is the outside reference.
#include "FocusStack.h"
#include "MergeLevel.h"
#include "StackFrames.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <opencv2/imgcodecs.hpp>

#include <thread>

using namespace stackframes;
using testsupport::Quote;
using vimg::Image;

namespace {

// Sharp on the left in the first frame, on the right in the second.
struct TwoHalves {
    cv::Mat sharp = Texture(320, 240, 11);
    cv::Mat left = Split(sharp, Blurred(sharp, 3.0), 160);
    cv::Mat right = Split(Blurred(sharp, 3.0), sharp, 160);
};

TEST(FocusStack, LeftSharpAndRightSharpMergeIntoOneSharpEverywhere) {
    const TwoHalves s;
    const Image a = ToImage(s.left), b = ToImage(s.right);
    for (bool align : {true, false}) {
        vimg::FocusStack stack(vimg::FocusStackOptions{align, true});
        Image result, depth;
        ASSERT_TRUE(stack.Merge({&a, &b}, result, &depth)) << stack.GetLastError();
        const cv::Mat merged = ToMat(result);
        const cv::Rect halves[] = {cv::Rect(0, 0, 160, 240), cv::Rect(160, 0, 160, 240)};
        for (const cv::Rect& half : halves)
            EXPECT_GT(Sharpness(merged(half)), 0.9 * Sharpness(s.sharp(half)))
                << half.x << " align " << align;
        EXPECT_GT(Psnr(merged, s.sharp), 34.0) << "align " << align;

        // Depth: the first frame is black, the second white, away from the seam.
        const cv::Mat d = ToMat(depth);
        EXPECT_LT(cv::mean(d(cv::Rect(10, 10, 120, 220)))[0], 20.0);
        EXPECT_GT(cv::mean(d(cv::Rect(190, 10, 120, 220)))[0], 235.0);
    }
}

TEST(FocusStack, AtLeastAsCloseToTheSharpPictureAsEnfuse) {
    if (testsupport::Run("command -v enfuse >/dev/null") != 0) GTEST_SKIP() << "enfuse is not installed";
    const TwoHalves s;
    testsupport::TempDir dir;
    const std::string a = dir.file("a.png"), b = dir.file("b.png"), out = dir.file("enfuse.tif");
    ASSERT_TRUE(cv::imwrite(a, s.left) && cv::imwrite(b, s.right));
    ASSERT_EQ(testsupport::Run(
                  "enfuse --exposure-weight=0 --saturation-weight=0 --contrast-weight=1 --hard-mask -o " +
                  Quote(out) + " " + Quote(a) + " " + Quote(b) + " >/dev/null 2>&1"),
              0);
    const double theirs = Psnr(cv::imread(out, cv::IMREAD_COLOR), s.sharp);
    const Image fa = ToImage(s.left), fb = ToImage(s.right);
    vimg::FocusStack stack;
    Image result;
    ASSERT_TRUE(stack.Merge({&fa, &fb}, result));
    EXPECT_GE(Psnr(ToMat(result), s.sharp), theirs);
}

TEST(FocusStack, IdenticalFramesAndASingleFrameGiveThatFrameBack) {
    const cv::Mat picture = Texture(200, 150, 4);
    const Image frame = ToImage(picture);
    vimg::FocusStack stack;
    Image result;
    ASSERT_TRUE(stack.Merge({&frame}, result));
    EXPECT_EQ(cv::norm(ToMat(result), picture, cv::NORM_INF), 0.0);
    ASSERT_TRUE(stack.Merge({&frame, &frame, &frame}, result));
    EXPECT_EQ(cv::norm(ToMat(result), picture, cv::NORM_INF), 0.0);

    // The preview collapsed one level short is OpenCV's pyrDown of the frame.
    cv::Mat half;
    cv::pyrDown(picture, half, cv::Size(100, 75), cv::BORDER_REFLECT101);
    ASSERT_TRUE(stack.GetResult(result, 1));
    EXPECT_LE(cv::norm(ToMat(result), half, cv::NORM_INF), 1.0);

    // Down to a single pixel: frames too small for a pyramid or for tracking.
    for (const cv::Size size : {cv::Size(1, 1), cv::Size(3, 2), cv::Size(64, 3)}) {
        const cv::Mat tiny = Texture(64, 48, 2)(cv::Rect(cv::Point(0, 0), size)).clone();
        const Image a = ToImage(tiny), b = ToImage(Blurred(tiny, 1.0));
        ASSERT_TRUE(stack.Merge({&a}, result)) << size;
        EXPECT_EQ(cv::norm(ToMat(result), tiny, cv::NORM_INF), 0.0) << size;
        Image depth;
        ASSERT_TRUE(stack.Merge({&a, &b, &a}, result, &depth)) << size;
        EXPECT_EQ(cv::Size(static_cast<int>(depth.GetWidth()), static_cast<int>(depth.GetHeight())), size);
    }

    // A grey palette frame comes back as the same greys in colour.
    Image grey(frame);
    ASSERT_TRUE(grey.GrayScale());
    ASSERT_TRUE(stack.Merge({&grey, &grey}, result));
    Image expected(grey);
    ASSERT_TRUE(expected.IncreaseBpp(24));
    EXPECT_EQ(cv::norm(ToMat(result), ToMat(expected), cv::NORM_INF), 0.0);
}

// Where no frame has detail the frames differ by noise alone; the merge must
// not pick the noisiest of them but average them, leaving less noise than any.
TEST(FocusStack, NoiseDoesNotWinInFlatPlaces) {
    cv::RNG rng(21);
    std::vector<Image> frames;
    std::vector<const Image*> list;
    const cv::Mat flat(120, 160, CV_8UC3, cv::Scalar(90, 140, 200));
    for (int i = 0; i < 6; ++i) {
        cv::Mat noise(flat.size(), CV_16SC3), frame;
        rng.fill(noise, cv::RNG::NORMAL, 0, 4);
        cv::add(flat, noise, frame, cv::noArray(), CV_8UC3);
        frames.push_back(ToImage(frame));
    }
    for (const Image& f : frames)
        list.push_back(&f);
    vimg::FocusStack stack;
    Image result;
    ASSERT_TRUE(stack.Merge(list, result));
    const double merged = cv::norm(ToMat(result), flat, cv::NORM_L2);
    for (const Image& f : frames)
        EXPECT_LT(merged, 0.6 * cv::norm(ToMat(f), flat, cv::NORM_L2));
}

TEST(FocusStack, MisalignedFramesAreAligned) {
    const TwoHalves s;
    // The second frame moved by a few pixels and breathed by 1.5 %.
    cv::Mat motion = cv::getRotationMatrix2D(cv::Point2f(160, 120), 0.0, 1.015);
    motion.at<double>(0, 2) += 4.4;
    motion.at<double>(1, 2) += -2.7;
    cv::Mat moved;
    cv::warpAffine(s.right, moved, motion, s.right.size(), cv::INTER_CUBIC, cv::BORDER_REFLECT);
    const Image a = ToImage(s.left), b = ToImage(moved);
    const cv::Rect inside(12, 12, 296, 216);
    double psnr[2] = {};
    for (bool align : {true, false}) {
        vimg::FocusStack stack(vimg::FocusStackOptions{align, true});
        Image result;
        ASSERT_TRUE(stack.Merge({&a, &b}, result)) << stack.GetLastError();
        psnr[align] = Psnr(ToMat(result)(inside), s.sharp(inside));
    }
    EXPECT_GT(psnr[true], 30.0);
    EXPECT_GT(psnr[true], psnr[false] + 8.0);
}

TEST(FocusStack, BadInputGetsAClearErrorAndLeavesTheResult) {
    const Image frame = ToImage(Texture(64, 48, 1)), other = ToImage(Texture(48, 64, 2));
    vimg::FocusStack stack;
    Image result;
    EXPECT_FALSE(stack.Merge({}, result));
    EXPECT_EQ(stack.GetLastError(), "no frames to stack");
    EXPECT_FALSE(stack.GetResult(result));
    EXPECT_EQ(stack.GetLastError(), "no frames merged yet");

    EXPECT_FALSE(stack.Merge({&frame, &other}, result));
    EXPECT_EQ(stack.GetLastError(), "frame 2: the frame is 48 x 64, the stack is 64 x 48");
    ASSERT_TRUE(stack.Add(frame));
    EXPECT_FALSE(stack.Add(Image()));
    EXPECT_EQ(stack.GetLastError(), "the frame holds no picture");
    EXPECT_EQ(stack.GetFrameCount(), 2);
    ASSERT_TRUE(stack.GetResult(result));
    EXPECT_EQ(cv::norm(ToMat(result), ToMat(frame), cv::NORM_INF), 0.0);

    // Escape stops the next Add and keeps what was merged.
    stack.SetEscape(1);
    EXPECT_FALSE(stack.Add(frame));
    EXPECT_EQ(stack.GetLastError(), "focus stacking stopped");
    EXPECT_EQ(stack.GetFrameCount(), 2);

    // A frame whose working memory would exceed the image memory bound is refused up front.
    const uint64_t bound = Image::GetMaxMemory();
    Image::SetMaxMemory(64 * 48 * 50);
    vimg::FocusStack small;
    EXPECT_FALSE(small.Add(frame));
    EXPECT_NE(small.GetLastError().find("the limit is"), std::string::npos) << small.GetLastError();
    Image::SetMaxMemory(bound);
}

TEST(FocusStack, ResultCanBeReadWhileFramesAreAdded) {
    const TwoHalves s;
    const Image a = ToImage(s.left), b = ToImage(s.right);
    vimg::FocusStack stack;
    ASSERT_TRUE(stack.Add(a));
    std::thread worker([&] {
        for (int i = 0; i < 10; ++i)
            stack.Add(i % 2 ? a : b);
    });
    Image seen;
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(stack.GetResult(seen));
        ASSERT_EQ(seen.GetWidth(), 320u);
    }
    worker.join();
    EXPECT_EQ(stack.GetFrameCount(), 11);
}

// The running merge's row loops against the rule written per pixel.
TEST(MergeLevel, RowLoopsFollowThePerPixelRule) {
    const cv::Size size(37, 11);
    cv::RNG rng(9);
    vimg::MergeLevel level;
    cv::Mat chosen(size, CV_32FC3, cv::Scalar::all(0)), sum = chosen.clone();
    cv::Mat best(size, CV_32F, cv::Scalar(-1)), measureSum(size, CV_32F, cv::Scalar(0)),
        winner = measureSum.clone();
    const int frames = 5;
    for (int f = 0; f < frames; ++f) {
        cv::Mat band(size, CV_32FC3), measure(size, CV_32F);
        rng.fill(band, cv::RNG::NORMAL, 0, 20);
        rng.fill(measure, cv::RNG::UNIFORM, 0, 50);
        if (f == 0)
            level.Start(band, measure, 0.2f, true);
        else
            level.Add(band, measure, static_cast<float>(f));
        for (int y = 0; y < size.height; ++y)
            for (int x = 0; x < size.width; ++x) {
                sum.at<cv::Vec3f>(y, x) += band.at<cv::Vec3f>(y, x);
                measureSum.at<float>(y, x) += measure.at<float>(y, x);
                if (measure.at<float>(y, x) > best.at<float>(y, x)) {
                    best.at<float>(y, x) = measure.at<float>(y, x);
                    chosen.at<cv::Vec3f>(y, x) = band.at<cv::Vec3f>(y, x);
                    winner.at<float>(y, x) = static_cast<float>(f);
                }
            }
    }
    EXPECT_EQ(cv::norm(level.Best(), best, cv::NORM_INF), 0.0);
    EXPECT_EQ(cv::norm(level.Winner(), winner, cv::NORM_INF), 0.0);
    cv::Mat blended(size, CV_32FC3, cv::Scalar::all(1.5));
    level.AddBlendTo(frames, blended);
    double worst = 0;
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x) {
            const float w =
                vimg::MergeLevel::SelectionWeight(best.at<float>(y, x), measureSum.at<float>(y, x) / frames,
                                                  vimg::MergeLevel::NoiseRise(0.2f, frames));
            const cv::Vec3f expected = cv::Vec3f::all(1.5f) + w * chosen.at<cv::Vec3f>(y, x) +
                                       (1 - w) * sum.at<cv::Vec3f>(y, x) / frames;
            worst = std::max(worst, cv::norm(blended.at<cv::Vec3f>(y, x) - expected));
        }
    EXPECT_LT(worst, 1e-4);
}

// vistorel-img stack: merged picture and depth map to files, errors named.
TEST(FocusStack, CommandLineWritesResultAndDepthMap) {
    const TwoHalves s;
    testsupport::TempDir dir;
    const std::string a = dir.file("a.png"), b = dir.file("b.png"), out = dir.file("out.png"),
                      depth = dir.file("depth.png"), small = dir.file("small.png");
    ASSERT_TRUE(cv::imwrite(a, s.left) && cv::imwrite(b, s.right) &&
                cv::imwrite(small, s.left(cv::Rect(0, 0, 8, 8))));
    const std::string cli = std::string(VISTOREL_CLI) + " stack ";
    std::string text;
    ASSERT_EQ(testsupport::Run(cli + Quote(out) + " " + Quote(a) + " " + Quote(b) + " --depth-map " +
                                   Quote(depth) + " 2>&1",
                               &text),
              0)
        << text;
    EXPECT_GT(Psnr(cv::imread(out, cv::IMREAD_COLOR), s.sharp), 34.0);
    EXPECT_GT(cv::mean(cv::imread(depth, cv::IMREAD_GRAYSCALE)(cv::Rect(190, 10, 120, 220)))[0], 235.0);

    EXPECT_EQ(testsupport::Run(cli + Quote(dir.file("x.png")) + " " + Quote(a) + " " + Quote(small) + " 2>&1",
                               &text),
              1);
    EXPECT_NE(text.find("the frame is 8 x 8, the stack is 320 x 240"), std::string::npos) << text;
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.png")));
    EXPECT_EQ(testsupport::Run(cli + Quote(out) + " " + Quote(a) + " --align maybe 2>&1", &text), 2);
    EXPECT_NE(text.find("--align takes on or off"), std::string::npos) << text;
    const std::string missing = dir.file("missing.png");
    EXPECT_EQ(testsupport::Run(
                  cli + Quote(dir.file("y.png")) + " " + Quote(a) + " " + Quote(missing) + " 2>&1", &text),
              1);
    EXPECT_NE(text.find(missing), std::string::npos) << text;
    EXPECT_FALSE(std::filesystem::exists(dir.file("y.png")));
}

} // namespace
