// `vistorel-img process` checks every step, values included, before the first one runs.
#include "Image.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

using testsupport::Quote;

TEST(ProcessChecksStepsFirst, ABadValueInALaterStepStopsBeforeAnyWork) {
    testsupport::TempDir dir;
    const std::string in = dir.file("in.bmp"), out = dir.file("out.bmp");
    vimg::Image img(30, 20, 24, 0);
    img.Clear(77);
    ASSERT_TRUE(img.Save(in.c_str(), vimg::FORMAT_BMP));
    const auto process = [&](const std::string& input, const std::string& steps, std::string* text) {
        return testsupport::Run(std::string(VISTOREL_CLI) + " process " + Quote(input) + " " + Quote(out) +
                                    " " + steps + " 2>&1",
                                text);
    };
    std::string text;
    EXPECT_EQ(process(in, "Resample:3000,3000,1 Gamma:0", &text), 2);
    EXPECT_EQ(text, "vistorel-img: Gamma: argument 1 (gamma) must lie in 0.001..1000, got 0\n");
    // Mean prints while it runs: nothing printed means nothing ran.
    EXPECT_EQ(process(in, "Mean Threshold:256", &text), 2);
    EXPECT_EQ(text, "vistorel-img: Threshold: argument 1 (level) must lie in 0..255, got 256\n");
    EXPECT_EQ(process(in, "Mean Mix:" + dir.file("missing.bmp") + ",1", &text), 2);
    EXPECT_EQ(text.find("77.000"), std::string::npos) << text;
    // The steps are checked before the input is even read.
    EXPECT_EQ(process(dir.file("no-input.bmp"), "Mirror Gamma:0", &text), 2);
    EXPECT_NE(text.find("Gamma: argument 1 (gamma)"), std::string::npos) << text;
    EXPECT_FALSE(std::filesystem::exists(out));
    // The same steps with good values run in order.
    EXPECT_EQ(process(in, "Mean Threshold:100", &text), 0) << text;
    EXPECT_EQ(text, "77.000\n");
}
