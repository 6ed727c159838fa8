#include "LiveMosaic.h"

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "Image.h"
#include "ImageMat.h"
#include "SlidePictures.h"

using vimg::Image;
using vimg::compose::ImageMat;
using vimg::compose::LiveMosaic;

TEST(LiveMosaic, GrowsAlongTheStagePathAndRecoversAfterAJump) {
    const cv::Mat specimen = stitchtest::Specimen({1100, 800}, 31);
    const cv::Size size(320, 240);
    LiveMosaic live;
    EXPECT_FALSE(live.CurrentField().valid);
    // Right, then down, then left (also into negative mosaic coordinates). Frames without
    // vignetting, so the composed mosaic can be compared with the specimen itself.
    std::vector<cv::Point2d> path;
    for (int i = 0; i < 8; ++i)
        path.push_back({300 + 55.3 * i, 200 + 3.1 * i});
    for (int i = 1; i < 6; ++i)
        path.push_back({300 + 55.3 * 7, 221.7 + 50.7 * i});
    for (int i = 1; i < 10; ++i)
        path.push_back({687.1 - 70.2 * i, 475.2});
    int added = 0;
    for (size_t k = 0; k < path.size(); ++k) {
        const LiveMosaic::Report r =
            live.AddFrame(stitchtest::View(specimen, path[k].x, path[k].y, size, 0.0, 2.0, k));
        ASSERT_TRUE(r.outcome == LiveMosaic::Outcome::Added || r.outcome == LiveMosaic::Outcome::Placed) << k;
        added += r.outcome == LiveMosaic::Outcome::Added;
        const LiveMosaic::Field f = live.CurrentField();
        EXPECT_FALSE(f.lost);
        EXPECT_EQ(f.rect, r.field);
    }
    EXPECT_GT(added, 10);

    // The field's place in the mosaic against the specimen: the mosaic's corner is
    // where the leftmost and topmost fields started.
    const LiveMosaic::Field last = live.CurrentField();
    Image mosaic;
    std::string error;
    ASSERT_TRUE(live.GetMosaic(mosaic, error)) << error;
    const cv::Point2d origin = path.back() - last.rect.tl();
    EXPECT_NEAR(origin.x, 687.1 - 70.2 * 9, 1.0);
    EXPECT_NEAR(origin.y, 200, 1.0);
    const cv::Mat made = ImageMat::ToBgr(mosaic);
    EXPECT_EQ(made.size(), live.MosaicSize());
    const cv::Rect probe(cv::Point(300, 10), cv::Size(300, 220)); // covered by the first row of fields
    cv::Mat score;
    cv::matchTemplate(specimen(probe + cv::Point(cvRound(origin.x), cvRound(origin.y))), made(probe), score,
                      cv::TM_CCOEFF_NORMED);
    EXPECT_GT(score.at<float>(0, 0), 0.95);

    // A jump to an unrelated place is refused and changes nothing; coming back works.
    const cv::Size before = live.MosaicSize();
    const LiveMosaic::Report jump = live.AddFrame(stitchtest::View(specimen, 700, 20, size));
    EXPECT_TRUE(jump.outcome == LiveMosaic::Outcome::TooLittleOverlap ||
                jump.outcome == LiveMosaic::Outcome::WeakCorrelation);
    EXPECT_TRUE(live.CurrentField().lost);
    EXPECT_EQ(live.MosaicSize(), before);
    const LiveMosaic::Report back =
        live.AddFrame(stitchtest::View(specimen, path.back().x + 10, path.back().y, size));
    EXPECT_EQ(back.outcome, LiveMosaic::Outcome::Placed);
    EXPECT_FALSE(live.CurrentField().lost);

    Image preview;
    cv::Rect2d field;
    ASSERT_TRUE(live.GetPreview(200, 200, preview, field, error)) << error;
    EXPECT_LE(preview.GetWidth(), 200u);
    EXPECT_LE(preview.GetHeight(), 200u);
    EXPECT_NEAR(field.width / last.rect.width, static_cast<double>(preview.GetWidth()) / before.width, 0.01);
}

TEST(LiveMosaic, RefusesFramesOfAnotherSizeOrEmpty) {
    const cv::Mat specimen = stitchtest::Specimen({600, 500}, 32);
    LiveMosaic live;
    EXPECT_EQ(live.AddFrame(cv::Mat()).outcome, LiveMosaic::Outcome::BadFrame);
    EXPECT_EQ(live.AddFrame(Image()).outcome, LiveMosaic::Outcome::BadFrame);
    EXPECT_EQ(live.AddFrame(specimen(cv::Rect(0, 0, 320, 240)).clone()).outcome, LiveMosaic::Outcome::Added);
    EXPECT_EQ(live.AddFrame(specimen(cv::Rect(0, 0, 321, 240)).clone()).outcome,
              LiveMosaic::Outcome::BadFrame);
    LiveMosaic::Settings small;
    small.maxPixels = 1000;
    EXPECT_EQ(LiveMosaic(small).AddFrame(specimen(cv::Rect(0, 0, 320, 240)).clone()).outcome,
              LiveMosaic::Outcome::MosaicFull);
}

TEST(LiveMosaic, UiThreadReadsWhileWorkerAddsFrames) {
    const cv::Mat specimen = stitchtest::Specimen({900, 500}, 33);
    std::vector<cv::Mat> frames;
    for (int k = 0; k < 12; ++k)
        frames.push_back(stitchtest::View(specimen, 20 + 40.5 * k, 100, {320, 240}, 0, 2, k));
    LiveMosaic live;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (const cv::Mat& f : frames)
            live.AddFrame(f);
        done = true;
    });
    // What the UI reads must always be whole: the field inside the preview it came with.
    int reads = 0;
    while (!done || reads == 0) {
        Image preview;
        cv::Rect2d field;
        std::string error;
        if (live.GetPreview(160, 120, preview, field, error)) {
            EXPECT_GE(field.x, -0.5);
            EXPECT_LE(field.x + field.width, preview.GetWidth() + 0.5);
            ++reads;
        }
    }
    worker.join();
    EXPECT_NEAR(live.CurrentField().rect.x, 40.5 * 11, 1.0);
}
