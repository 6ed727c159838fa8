#include "MosaicStitcher.h"

#include <algorithm>
#include <numeric>
#include <random>

#include <gtest/gtest.h>

#include "Image.h"
#include "ImageMat.h"
#include "MosaicPlacement.h"
#include "SlidePictures.h"

using vimg::Image;
using vimg::compose::ImageMat;
using vimg::compose::MosaicPlacement;
using vimg::compose::MosaicStitcher;

namespace {

struct TileSet {
    std::vector<Image> images;
    std::vector<cv::Point2d> truth; // corner on the specimen, per image
};

// A 3 x 3 grid with 20 % overlap, up to 8 px off the grid, in shuffled order.
TileSet ShuffledGrid(const cv::Mat& specimen, cv::Size size) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> off(-8, 8);
    std::vector<int> order(9);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), random);
    TileSet set;
    for (int k : order) {
        const cv::Point2d at(40 + (k % 3) * size.width * 0.8 + off(random),
                             40 + (k / 3) * size.height * 0.8 + off(random));
        Image image;
        std::string error;
        EXPECT_TRUE(
            ImageMat::ToImage(stitchtest::View(specimen, at.x, at.y, size, 0.25, 2.0, 20 + k), image, error));
        set.images.push_back(std::move(image));
        set.truth.push_back(at);
    }
    return set;
}

std::vector<const Image*> Pointers(const TileSet& set) {
    std::vector<const Image*> p;
    for (const Image& image : set.images)
        p.push_back(&image);
    return p;
}

} // namespace

TEST(MosaicStitcher, PlacesShuffledGridAndComposesTheSpecimen) {
    const cv::Mat specimen = stitchtest::Specimen({1300, 1000}, 21);
    const cv::Size size(400, 300);
    TileSet set = ShuffledGrid(specimen, size);
    set.images[0].SetPixelSize(0.65);
    MosaicStitcher::Settings settings;
    settings.flatField = true;
    MosaicStitcher stitcher(settings);
    Image mosaic;
    std::vector<MosaicStitcher::TileResult> tiles;
    ASSERT_TRUE(stitcher.Stitch(Pointers(set), mosaic, tiles)) << stitcher.LastError();
    EXPECT_EQ(stitcher.Progress(), 100);
    // The truth is known up to where the mosaic starts: the first tile fixes that.
    const cv::Point2d origin = set.truth[0] - tiles[0].position;
    for (size_t i = 0; i < tiles.size(); ++i) {
        ASSERT_TRUE(tiles[i].placed) << i;
        EXPECT_LT(cv::norm(tiles[i].position + origin - set.truth[i]), 0.5) << i;
        EXPECT_GT(tiles[i].correlation, 0.8);
    }
    EXPECT_DOUBLE_EQ(mosaic.GetPixelSize(), 0.65);
    // The composed mosaic is the specimen where the tiles lay (vignetting blended, so a correlation).
    const cv::Mat made = ImageMat::ToBgr(mosaic);
    const cv::Point corner(static_cast<int>(std::lround(origin.x)), static_cast<int>(std::lround(origin.y)));
    const cv::Rect inner(200, 150, made.cols - 400, made.rows - 300);
    cv::Mat score;
    cv::matchTemplate(specimen(inner + corner), made(inner), score, cv::TM_CCOEFF_NORMED);
    EXPECT_GT(score.at<float>(0, 0), 0.97);
}

TEST(MosaicStitcher, TileWithoutOverlapIsReportedNotPlaced) {
    const cv::Mat specimen = stitchtest::Specimen({2200, 1000}, 22);
    const cv::Size size(400, 300);
    TileSet set = ShuffledGrid(specimen, size);
    // Replace one tile by a view of a far part of the specimen.
    std::string error;
    ASSERT_TRUE(ImageMat::ToImage(stitchtest::View(specimen, 1700, 500, size), set.images[4], error));
    MosaicStitcher::Settings settings;
    settings.grid = {3, 3, 0.2};
    MosaicStitcher stitcher(settings);
    Image mosaic;
    std::vector<MosaicStitcher::TileResult> tiles;
    ASSERT_TRUE(stitcher.Stitch(Pointers(set), mosaic, tiles)) << stitcher.LastError();
    EXPECT_FALSE(tiles[4].placed);
    const size_t anchor = 0;
    const cv::Point2d origin = set.truth[anchor] - tiles[anchor].position;
    for (size_t i = 0; i < tiles.size(); ++i)
        if (i != 4) {
            ASSERT_TRUE(tiles[i].placed) << i;
            EXPECT_LT(cv::norm(tiles[i].position + origin - set.truth[i]), 0.5) << i;
        }
}

TEST(MosaicStitcher, BadInputGetsAClearError) {
    const cv::Mat specimen = stitchtest::Specimen({500, 400}, 23);
    Image a, b, tiny, empty;
    std::string error;
    ASSERT_TRUE(ImageMat::ToImage(specimen(cv::Rect(0, 0, 300, 200)), a, error));
    ASSERT_TRUE(ImageMat::ToImage(specimen(cv::Rect(150, 100, 300, 200)), b, error));
    ASSERT_TRUE(ImageMat::ToImage(specimen(cv::Rect(0, 0, 10, 10)), tiny, error));
    Image mosaic;
    std::vector<MosaicStitcher::TileResult> tiles;
    const auto failure = [&](std::vector<const Image*> pictures, MosaicStitcher::Settings settings = {}) {
        MosaicStitcher stitcher(settings);
        EXPECT_FALSE(stitcher.Stitch(pictures, mosaic, tiles));
        EXPECT_FALSE(mosaic.IsValid());
        return stitcher.LastError();
    };
    EXPECT_EQ(failure({&a}), "stitching needs at least two pictures");
    EXPECT_EQ(failure({&a, &empty}), "picture 2 is empty");
    EXPECT_NE(failure({&a, &tiny}).find("too small"), std::string::npos);
    MosaicStitcher::Settings grid;
    grid.grid = {3, 3, 0.2};
    EXPECT_EQ(failure({&a, &b}, grid), "a grid of 3 x 3 holds 9 pictures, not 2");
    grid.grid = {0, 0, 1.5};
    EXPECT_NE(failure({&a, &b}, grid).find("grid hint out of range"), std::string::npos);
    // Two pictures of unrelated specimens: nothing to place.
    Image other;
    ASSERT_TRUE(ImageMat::ToImage(stitchtest::Specimen({300, 200}, 99), other, error));
    EXPECT_EQ(failure({&a, &other}), "no two pictures overlap clearly enough to be placed");
}

TEST(MosaicPlacement, DropsThePairThatDisagreesAndSpreadsSmallErrors) {
    // A 2 x 2 square measured all round, one pair 40 px off; small noise elsewhere.
    std::vector<MosaicPlacement::Pair> pairs = {{0, 1, {100.2, 0}, 0.9}, {2, 3, {99.8, 0}, 0.9},
                                                {0, 2, {0, 80.1}, 0.9},  {1, 3, {0, 79.9}, 0.9},
                                                {0, 3, {140, 80}, 0.95}, {1, 2, {-100, 80}, 0.9}};
    const MosaicPlacement::Result r = MosaicPlacement(2.0).Solve(5, pairs);
    ASSERT_EQ(r.dropped.size(), 1u);
    EXPECT_EQ(r.dropped[0].a, 0);
    EXPECT_EQ(r.dropped[0].b, 3);
    EXPECT_FALSE(r.placed[4]); // measured against nothing
    EXPECT_NEAR(r.positions[3].x - r.positions[0].x, 100, 0.2);
    EXPECT_NEAR(r.positions[3].y - r.positions[0].y, 80, 0.2);
    EXPECT_LE(r.worstResidual, 2.0);
}
