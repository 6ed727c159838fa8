// process steps of the geometry and colour operations, against ImageMagick
// where it does the same thing.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

using testsupport::Quote;
using testsupport::ReferenceRGBA;

namespace {

std::string Cli(const std::string& args) { return std::string(VISTOREL_CLI) + " " + args + " 2>&1"; }

class GeometryColourCli : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testsupport::HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
        src = dir.file("src.bmp");
        ASSERT_EQ(testsupport::Run(testsupport::Convert() + " -seed 3 -size 45x31 plasma: -type truecolor BMP3:" + Quote(src)), 0);
    }
    int Process(const std::string& out, const std::string& steps, std::string* text = nullptr) {
        return testsupport::Run(Cli("process " + Quote(src) + " " + Quote(out) + " " + steps), text);
    }
    testsupport::TempDir dir;
    std::string src;
};

} // namespace

TEST_F(GeometryColourCli, TurnsMirrorFlipAndCropMatchImageMagick) {
    const std::pair<const char*, const char*> cases[] = {
        {"Mirror", "-flop"},           {"Flip", "-flip"},         {"RotateLeft", "-rotate -90"},
        {"RotateRight", "-rotate 90"}, {"Rotate180", "-rotate 180"}, {"Rotate2:90", "-rotate 90"},
        {"Crop:5,3,30,13", "-crop 25x10+5+3 +repage"}};
    for (const auto& [step, im] : cases) {
        const std::string ours = dir.file("ours.bmp"), theirs = dir.file("theirs.png");
        std::string text;
        ASSERT_EQ(Process(ours, step, &text), 0) << step << ": " << text;
        ASSERT_EQ(testsupport::Run(testsupport::Convert() + " " + Quote(src) + " " + im + " " + Quote(theirs)), 0);
        int w1 = 0, h1 = 0, w2 = 0, h2 = 0;
        const auto a = ReferenceRGBA(ours, &w1, &h1), b = ReferenceRGBA(theirs, &w2, &h2);
        ASSERT_FALSE(a.empty());
        EXPECT_EQ(w1, w2) << step;
        EXPECT_EQ(h1, h2) << step;
        EXPECT_EQ(a, b) << step;
    }
}

TEST_F(GeometryColourCli, StepsWithArgumentsProduceTheirSizes) {
    const std::pair<const char*, std::pair<int, int>> cases[] = {
        {"Resample:80,60,1", {80, 60}},      {"Resample2:20,10,2,5", {20, 10}}, {"Rotate2:12.345,2,5", {50, 40}},
        {"Skew:0.055,-0.025,0,0,1", {45, 31}}, {"CircleTransform:4,0,1", {45, 31}},
        {"Expand:10,10,10,10,#ff0000", {65, 51}}, {"Thumbnail:20,20,#00ff0080", {20, 20}}, {"QIShrink:15,10", {15, 10}},
        {"Mirror Resample:90,62,0 Crop:0,0,45,31", {45, 31}}};
    for (const auto& [steps, size] : cases) {
        const std::string out = dir.file("out.bmp");
        std::string text;
        ASSERT_EQ(Process(out, steps, &text), 0) << steps << ": " << text;
        int w = 0, h = 0;
        ASSERT_FALSE(ReferenceRGBA(out, &w, &h).empty());
        EXPECT_EQ(w, size.first) << steps;
        EXPECT_EQ(h, size.second) << steps;
    }
    // Expand paints its border with the given colour.
    ASSERT_EQ(Process(dir.file("e.bmp"), "Expand:10,10,10,10,#ff0000"), 0);
    const auto border = ReferenceRGBA(dir.file("e.bmp"));
    EXPECT_EQ(border[0], 255);
    EXPECT_EQ(border[1], 0);
    EXPECT_EQ(border[2], 0);
}

TEST_F(GeometryColourCli, SplitsWriteNumberedFilesAndCombineJoinsThem) {
    ASSERT_EQ(Process(dir.file("ch.bmp"), "SplitCMYK"), 0);
    for (int i = 1; i <= 4; ++i) EXPECT_TRUE(std::filesystem::exists(dir.file("ch-" + std::to_string(i) + ".bmp"))) << i;
    ASSERT_EQ(Process(dir.file("rgb.bmp"), "SplitRGB"), 0);
    std::string text;
    ASSERT_EQ(testsupport::Run(Cli("process " + Quote(dir.file("rgb-1.bmp")) + " " + Quote(dir.file("joined.bmp")) +
                                   " Combine:" + dir.file("rgb-2.bmp") + "," + dir.file("rgb-3.bmp") + ",0"),
                               &text),
              0)
        << text;
    EXPECT_EQ(ReferenceRGBA(dir.file("joined.bmp")), ReferenceRGBA(src));
    // Mix with operation 7 (subtract) of the picture from itself gives black.
    ASSERT_EQ(Process(dir.file("black.bmp"), "Mix:" + src + ",7,0,0,0"), 0);
    const auto black = ReferenceRGBA(dir.file("black.bmp"));
    ASSERT_FALSE(black.empty());
    for (size_t i = 0; i < black.size(); i += 4)
        ASSERT_EQ(black[i] | black[i + 1] | black[i + 2], 0) << "pixel " << i / 4;
    ASSERT_EQ(Process(dir.file("fft.bmp"), "FFT2"), 0);
    int w = 0, h = 0;
    ASSERT_FALSE(ReferenceRGBA(dir.file("fft-2.bmp"), &w, &h).empty());
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 32);
}

TEST_F(GeometryColourCli, WrongArgumentsAreRefused) {
    const std::string out = dir.file("x.bmp");
    std::string text;
    EXPECT_EQ(Process(out, "Resample:0,10", &text), 2);
    EXPECT_EQ(Process(out, "Rotate2:abc", &text), 2);
    EXPECT_NE(text.find("must be a number"), std::string::npos) << text;
    EXPECT_EQ(Process(out, "Resample2:10,10,17", &text), 2);
    EXPECT_EQ(Process(out, "Expand:1,2,3,#ff0000", &text), 2);
    EXPECT_EQ(Process(out, "Mix:" + dir.file("missing.bmp") + ",1", &text), 2);
    EXPECT_NE(text.find("cannot read"), std::string::npos) << text;
    EXPECT_EQ(Process(out, "CircleTransform:9", &text), 2);
    // A refusal by the operation itself is a failure too.
    EXPECT_EQ(Process(out, "QIShrink:100,10", &text), 1);
    EXPECT_NE(text.find("QIShrink can't enlarge image"), std::string::npos) << text;
    EXPECT_EQ(Process(out, "SplitRGB Mirror", &text), 2);
}
