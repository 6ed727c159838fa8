#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using testsupport::Quote;
using testsupport::ReadFile;

namespace {

std::string Cli(const std::string& args) { return std::string(VISTOREL_CLI) + " " + args + " 2>&1"; }

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testsupport::HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    }
    testsupport::TempDir dir;
};

} // namespace

TEST_F(CliTest, ConvertRoundTripsBitmapsByteExactly) {
    const std::string src = dir.file("src.png");
    ASSERT_EQ(testsupport::Run(testsupport::Convert() + " -seed 5 -size 37x19 plasma: " + Quote(src)), 0);
    const std::pair<const char*, const char*> depths[] = {
        {"1", "-monochrome"}, {"4", "-colors 16 -type palette"}, {"8", "-colors 200 -type palette"},
        {"24", "-type truecolor"}};
    for (const auto& [bits, args] : depths) {
        const std::string im = dir.file(std::string("im") + bits + ".bmp");
        ASSERT_EQ(
            testsupport::Run(testsupport::Convert() + " " + Quote(src) + " " + args + " BMP3:" + Quote(im)),
            0);
        const std::string once = dir.file(std::string("once") + bits + ".bmp");
        const std::string twice = dir.file(std::string("twice") + bits + ".bmp");
        ASSERT_EQ(testsupport::Run(Cli("convert " + Quote(im) + " " + Quote(once))), 0);
        ASSERT_EQ(testsupport::Run(Cli("convert " + Quote(once) + " " + Quote(twice))), 0);
        const auto a = ReadFile(once), b = ReadFile(twice);
        ASSERT_FALSE(a.empty());
        EXPECT_EQ(a, b) << bits << " bits";
        std::string info;
        ASSERT_EQ(testsupport::Run(Cli("info " + Quote(once)), &info), 0);
        EXPECT_NE(info.find(std::string("bpp: ") + bits + "\n"), std::string::npos) << info;
    }
}

TEST_F(CliTest, FailuresExitNonZeroWithLibraryText) {
    std::string out;
    EXPECT_NE(testsupport::Run(Cli("info " + Quote(dir.file("missing.bmp"))), &out), 0);
    EXPECT_NE(out.find("cannot open file: " + dir.file("missing.bmp")), std::string::npos) << out;
    const std::string junk = dir.file("junk.bmp");
    testsupport::WriteFile(junk, std::vector<uint8_t>(64, 0x42));
    EXPECT_NE(testsupport::Run(Cli("info " + Quote(junk)), &out), 0);
    EXPECT_NE(out.find("Error reading BMP info"), std::string::npos) << out;
    EXPECT_NE(testsupport::Run(Cli("convert " + Quote(junk)), &out), 0);
    EXPECT_NE(testsupport::Run(Cli("frobnicate"), &out), 0);
}

TEST_F(CliTest, RgbaDumpIsBottomRowFirst) {
    const std::string src = dir.file("two.bmp");
    // Top row red, bottom row blue.
    ASSERT_EQ(
        testsupport::Run(testsupport::Convert() +
                         " -size 1x2 xc:red -fill blue -draw 'point 0,1' -type truecolor BMP3:" + Quote(src)),
        0);
    const std::string raw = dir.file("two.rgba");
    ASSERT_EQ(testsupport::Run(Cli("rgba " + Quote(src) + " " + Quote(raw))), 0);
    const auto bytes = ReadFile(raw);
    ASSERT_EQ(bytes.size(), 8u);
    EXPECT_EQ(bytes[2], 255); // bottom pixel: blue
    EXPECT_EQ(bytes[4], 255); // top pixel: red
}

TEST_F(CliTest, ProcessRefusesUnknownStepsAndBadArguments) {
    const std::string src = dir.file("p.bmp");
    ASSERT_EQ(testsupport::Run(testsupport::Convert() +
                               " -size 8x8 xc:gray -colors 4 -type palette BMP3:" + Quote(src)),
              0);
    std::string out;
    EXPECT_EQ(
        testsupport::Run(Cli("process " + Quote(src) + " " + Quote(dir.file("o.bmp")) + " NoSuchStep"), &out),
        2);
    EXPECT_NE(out.find("unknown operation 'NoSuchStep'"), std::string::npos) << out;
    EXPECT_EQ(testsupport::Run(
                  Cli("process " + Quote(src) + " " + Quote(dir.file("o.bmp")) + " SwapIndex:1,x"), &out),
              2);
    EXPECT_NE(out.find("whole number"), std::string::npos) << out;
    EXPECT_EQ(testsupport::Run(Cli("process " + Quote(src) + " " + Quote(dir.file("o.bmp")) + " SwapIndex:1"),
                               &out),
              2);
    EXPECT_EQ(
        testsupport::Run(
            Cli("process " + Quote(src) + " " + Quote(dir.file("o.bmp")) + " SetTransColor:#12345"), &out),
        2);
    ASSERT_EQ(
        testsupport::Run(
            Cli("process " + Quote(src) + " " + Quote(dir.file("o.bmp")) + " SetDPI:300 Clear:1"), &out),
        0)
        << out;
    ASSERT_EQ(testsupport::Run(Cli("info " + Quote(dir.file("o.bmp"))), &out), 0);
    EXPECT_NE(out.find("dpi: 300 x 300"), std::string::npos) << out;
}

TEST_F(CliTest, DamageTheLibrariesWorkAroundPrintsNothing) {
    // A flipped byte in a text chunk breaks only that chunk's checksum: libpng
    // warns and goes on, and the picture still opens without a word on stderr.
    const std::string png = dir.file("c.png");
    ASSERT_EQ(testsupport::Run(testsupport::Convert() + " -size 8x8 xc:red -set comment 'hello world' " +
                               Quote(png)),
              0);
    auto bytes = ReadFile(png);
    const std::string needle = "hello";
    const auto at = std::search(bytes.begin(), bytes.end(), needle.begin(), needle.end());
    ASSERT_NE(at, bytes.end());
    *at ^= 1;
    testsupport::WriteFile(png, bytes);
    std::string out;
    ASSERT_EQ(testsupport::Run(std::string(VISTOREL_CLI) + " info " + Quote(png) + " 2>&1 >/dev/null", &out),
              0);
    EXPECT_EQ(out, "");
}

TEST_F(CliTest, UnreadableFileWithAnUnknownExtensionNamesItsFormat) {
    // A GIF screen descriptor without any image behind it.
    const std::string odd = dir.file("picture.dat");
    testsupport::WriteFile(odd, {'G', 'I', 'F', '8', '9', 'a', 9, 0, 7, 0, 0, 0, 0});
    std::string out;
    for (const std::string& args :
         {"info " + Quote(odd), "convert " + Quote(odd) + " " + Quote(dir.file("o.png"))}) {
        EXPECT_NE(testsupport::Run(Cli(args), &out), 0);
        EXPECT_NE(out.find("looks like GIF but cannot be read: GIF file without an image"), std::string::npos)
            << out;
    }
}
