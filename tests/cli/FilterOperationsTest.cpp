// `vistorel-img process` with the filter, tone and depth steps: arguments as
// the menu commands pass them, repeatable random steps, and refused input.
#include "Image.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using testsupport::Quote;
using testsupport::TempDir;

namespace {

std::string Process(const std::string& in, const std::string& out, const std::string& steps) {
    return std::string(VISTOREL_CLI) + " process " + Quote(in) + " " + Quote(out) + " " + steps + " 2>&1";
}

// A 40 x 30 colour gradient written as BMP.
std::string WriteInput(const TempDir& dir) {
    vimg::Image img(40, 30, 24, 0);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            vimg::RGBQUAD c;
            c.rgbRed = static_cast<uint8_t>(x * 6);
            c.rgbGreen = static_cast<uint8_t>(y * 8);
            c.rgbBlue = static_cast<uint8_t>((x * y) % 256);
            img.SetPixelColor(x, y, c);
        }
    const std::string path = dir.file("in.bmp");
    EXPECT_TRUE(img.Save(path.c_str(), vimg::FORMAT_BMP));
    return path;
}

} // namespace

TEST(FilterOperations, StepsRunWithTheMenuArguments) {
    TempDir dir;
    const std::string in = WriteInput(dir), out = dir.file("out.bmp");
    const char* steps[] = {"Filter:3,9,0,1,1,1,1,1,1,1,1,1",
                           "Erode:2",
                           "Dilate",
                           "Edge:2",
                           "Median:3",
                           "Contour",
                           "Light:20,0",
                           "Gamma:1.23",
                           "Threshold:128",
                           "Negative",
                           "GrayScale",
                           "Colorize:12,50,0.5",
                           "ShiftRGB:50,0,-50",
                           "HistogramStretch:1",
                           "HistogramEqualize",
                           "HistogramNormalize",
                           "HistogramLog",
                           "HistogramRoot",
                           "Repair:0.25,2,0",
                           "DecreaseBpp:4,1,0,16",
                           "IncreaseBpp:24",
                           "Dither:7",
                           "Noise:50",
                           "Jitter:2"};
    for (const char* step : steps) {
        std::string text;
        EXPECT_EQ(testsupport::Run(Process(in, out, step), &text), 0) << step << ": " << text;
    }
    // The step gives the same pixels as the library call.
    ASSERT_EQ(testsupport::Run(Process(in, out, "Filter:3,9,0,1,1,1,1,1,1,1,1,1")), 0);
    vimg::Image viaCli(out.c_str(), vimg::FORMAT_BMP), direct(in.c_str(), vimg::FORMAT_BMP);
    const int32_t blur[9] = {1, 1, 1, 1, 1, 1, 1, 1, 1};
    ASSERT_TRUE(direct.Filter(blur, 3, 9, 0));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(viaCli.GetPixelColor(x, y), direct.GetPixelColor(x, y));
}

TEST(FilterOperations, DepthStepsChangeTheDepth) {
    TempDir dir;
    const std::string in = WriteInput(dir), out = dir.file("out.bmp");
    const std::pair<const char*, uint32_t> cases[] = {
        {"DecreaseBpp:4,1,0,16", 4}, {"DecreaseBpp:8,0,1,200", 8},
        {"DecreaseBpp:1", 1},        {"Dither:0", 1},
        {"Threshold:100", 1},        {"GrayScale", 8}};
    for (const auto& [step, bpp] : cases) {
        ASSERT_EQ(testsupport::Run(Process(in, out, step)), 0) << step;
        vimg::Image result(out.c_str(), vimg::FORMAT_BMP);
        EXPECT_EQ(result.GetBpp(), bpp) << step;
    }
    ASSERT_EQ(testsupport::Run(Process(in, out, "DecreaseBpp:4,0,1,8")), 0);
    vimg::Image eight(out.c_str(), vimg::FORMAT_BMP);
    int used[16] = {};
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            used[eight.GetPixelIndex(x, y)] = 1;
    for (int i = 8; i < 16; ++i)
        EXPECT_EQ(used[i], 0) << "index " << i;
}

TEST(FilterOperations, SeededRandomStepsRepeat) {
    TempDir dir;
    const std::string in = WriteInput(dir);
    for (const char* step : {"Noise:50", "Jitter:3"}) {
        ASSERT_EQ(testsupport::Run(Process(in, dir.file("a.bmp"), std::string(step) + " --seed 7")), 0);
        ASSERT_EQ(testsupport::Run(Process(in, dir.file("b.bmp"), std::string(step) + " --seed 7")), 0);
        ASSERT_EQ(testsupport::Run(Process(in, dir.file("c.bmp"), std::string(step) + " --seed 8")), 0);
        EXPECT_EQ(testsupport::ReadFile(dir.file("a.bmp")), testsupport::ReadFile(dir.file("b.bmp"))) << step;
        EXPECT_NE(testsupport::ReadFile(dir.file("a.bmp")), testsupport::ReadFile(dir.file("c.bmp"))) << step;
    }
}

TEST(FilterOperations, BadArgumentsAndFlatImagesAreReported) {
    TempDir dir;
    const std::string in = WriteInput(dir), out = dir.file("out.bmp");
    std::string text;
    EXPECT_EQ(testsupport::Run(Process(in, out, "Filter:3,9,0,1,1,1"), &text), 2);
    EXPECT_NE(text.find("needs 9 weights"), std::string::npos) << text;
    EXPECT_EQ(testsupport::Run(Process(in, out, "DecreaseBpp:3")), 2);
    EXPECT_EQ(testsupport::Run(Process(in, out, "Gamma:0")), 2);
    EXPECT_EQ(testsupport::Run(Process(in, out, "Dither:9")), 2);
    // A flat image cannot be equalised: the step fails with the library's reason.
    vimg::Image flat(8, 8, 24, 0);
    flat.Clear(90);
    const std::string flatPath = dir.file("flat.bmp");
    ASSERT_TRUE(flat.Save(flatPath.c_str(), vimg::FORMAT_BMP));
    EXPECT_EQ(testsupport::Run(Process(flatPath, out, "HistogramEqualize"), &text), 1);
    EXPECT_NE(text.find("single grey level"), std::string::npos) << text;
}
