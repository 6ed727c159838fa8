// The stitch command end to end: tiles written by OpenCV's PNG writer from a
// specimen with known corners, the positions file read back.
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>

#include "SlidePictures.h"
#include "TestSupport.h"

using testsupport::Quote;
using testsupport::TempDir;

TEST(StitchCli, WritesMosaicAndPositionsAndRefusesBadArguments) {
    TempDir dir;
    const cv::Mat specimen = stitchtest::Specimen({900, 700}, 41);
    const cv::Point2d truth[] = {{30.0, 40.0}, {351.6, 44.3}, {20.5, 300.0}}; // written in this order
    std::string inputs;
    for (int i = 0; i < 3; ++i) {
        const std::string name = dir.file("t" + std::to_string(i) + ".png");
        ASSERT_TRUE(cv::imwrite(name, stitchtest::View(specimen, truth[i].x, truth[i].y, {400, 300})));
        inputs += " " + Quote(name);
    }
    const std::string cli = Quote(VISTOREL_CLI);
    const std::string csv = dir.file("found.csv");
    std::string out;
    ASSERT_EQ(testsupport::Run(cli + " stitch " + Quote(dir.file("m.png")) + inputs + " --positions " +
                                   Quote(csv) + " 2>&1",
                               &out),
              0)
        << out;
    EXPECT_NE(out.find("registering"), std::string::npos);
    const cv::Mat mosaic = cv::imread(dir.file("m.png"));
    EXPECT_NEAR(mosaic.cols, 351.6 - 20.5 + 400, 1.0);
    EXPECT_NEAR(mosaic.rows, 300.0 - 40.0 + 300, 1.0);
    std::ifstream in(csv);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "file,x,y,correlation");
    std::vector<cv::Point2d> found;
    while (std::getline(in, line)) {
        std::stringstream fields(line);
        std::string file, x, y, c;
        std::getline(fields, file, ',');
        std::getline(fields, x, ',');
        std::getline(fields, y, ',');
        std::getline(fields, c, ',');
        EXPECT_EQ(file, dir.file("t" + std::to_string(found.size()) + ".png"));
        EXPECT_GT(std::stod(c), 0.8);
        found.emplace_back(std::stod(x), std::stod(y));
    }
    ASSERT_EQ(found.size(), 3u);
    for (int i = 1; i < 3; ++i)
        EXPECT_LT(cv::norm((found[i] - found[0]) - (truth[i] - truth[0])), 0.3) << i;

    // A picture of another specimen: left out and named, the rest still written, status 3.
    const std::string stray = dir.file("stray.png");
    ASSERT_TRUE(cv::imwrite(stray, stitchtest::Specimen({400, 300}, 42)));
    ASSERT_EQ(testsupport::Run(cli + " stitch " + Quote(dir.file("m2.png")) + inputs + " " + Quote(stray) +
                                   " --positions " + Quote(csv) + " 2>&1",
                               &out),
              3);
    EXPECT_NE(out.find("stray.png overlaps no other picture"), std::string::npos);
    EXPECT_EQ(cv::imread(dir.file("m2.png")).size(), mosaic.size());
    std::ifstream again(csv);
    std::string last;
    while (std::getline(again, line))
        last = line;
    EXPECT_EQ(last, stray + ",,,");

    const std::string base = cli + " stitch " + Quote(dir.file("x.png"));
    EXPECT_EQ(testsupport::Run(base + inputs + " --grid 3 2>/dev/null"), 2);
    EXPECT_EQ(testsupport::Run(base + inputs + " --overlap 95 2>/dev/null"), 2);
    EXPECT_EQ(testsupport::Run(base + " " + Quote(dir.file("t0.png")) + " 2>/dev/null"), 2);
    EXPECT_EQ(testsupport::Run(base + inputs + " --grid 2x2 2>&1", &out), 1);
    EXPECT_NE(out.find("holds 4 pictures, not 3"), std::string::npos);
    EXPECT_EQ(testsupport::Run(base + inputs + " " + Quote(dir.file("missing.png")) + " 2>&1", &out), 1);
    EXPECT_NE(out.find("missing.png"), std::string::npos);
}
