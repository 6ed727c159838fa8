#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace testsupport;

namespace {

const std::string kCli = VISTOREL_CLI;

int Cli(const std::string& args, std::string* out = nullptr) {
    return testsupport::Run(Quote(kCli) + " " + args + " 2>&1", out);
}

// Number of pixels ImageMagick sees differ between two files.
std::string Differences(const std::string& a, const std::string& b) {
    std::string out;
    testsupport::Run("/usr/bin/compare -metric AE " + Quote(a) + " " + Quote(b) + " null: 2>&1", &out);
    return out;
}

} // namespace

TEST(CliConvert, EveryDialogFormatIsWrittenAndReadBack) {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    TempDir dir;
    const std::string grey = dir.file("grey.pgm"), mono = dir.file("mono.bmp");
    ASSERT_EQ(testsupport::Run(Convert() + " -size 60x40 gradient:black-white -depth 8 " + Quote(grey)), 0);
    ASSERT_EQ(testsupport::Run(Convert() + " -size 60x40 pattern:checkerboard -monochrome " + Quote(mono)),
              0);
    for (const char* ext : {"bmp", "gif", "ico", "tga", "pcx", "wbmp", "jp2", "j2k", "jpc", "j2c", "pgx",
                            "pnm", "pgm", "ppm", "ras"}) {
        const std::string src = std::string(ext) == "wbmp" ? mono : grey;
        const std::string out = dir.file(std::string("out.") + ext), back = dir.file("back.bmp");
        std::string text;
        ASSERT_EQ(Cli("convert " + Quote(src) + " " + Quote(out) + " --quality 100", &text), 0)
            << ext << ": " << text;
        ASSERT_EQ(Cli("convert " + Quote(out) + " " + Quote(back), &text), 0) << ext << ": " << text;
        EXPECT_EQ(Differences(src, back), "0") << ext;
        ASSERT_EQ(Cli("info " + Quote(out), &text), 0);
        EXPECT_NE(text.find("width: 60"), std::string::npos) << ext;
    }
}

TEST(CliConvert, ErrorTextsReachTheUser) {
    TempDir dir;
    const std::string colour = dir.file("colour.ppm");
    WriteFile(colour, {'P', '6', '\n', '2', ' ', '1', '\n', '2', '5', '5', '\n', 255, 0, 0, 0, 255, 0});
    std::string text;
    EXPECT_NE(Cli("convert " + Quote(colour) + " " + Quote(dir.file("out.pgx")), &text), 0);
    EXPECT_NE(text.find("PGX can save only GrayScale images"), std::string::npos) << text;
    EXPECT_NE(Cli("convert " + Quote(colour) + " " + Quote(dir.file("out.wbmp")), &text), 0);
    EXPECT_NE(text.find("Can't save this image as WBMP"), std::string::npos) << text;
}

TEST(CliAnimate, WritesFramesDelaysLoopsAndComment) {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    TempDir dir;
    const std::string a = dir.file("a.ppm"), b = dir.file("b.bmp"), c = dir.file("c.gif");
    ASSERT_EQ(testsupport::Run(Convert() + " -size 30x20 gradient:red-blue -colors 64 -depth 8 " + Quote(a)),
              0);
    ASSERT_EQ(testsupport::Run(
                  Convert() +
                  " -size 30x20 xc:yellow -fill green -draw 'rectangle 5,5 20,12' -type Palette " + Quote(b)),
              0);
    ASSERT_EQ(testsupport::Run(Convert() + " -size 30x20 plasma:fractal -colors 100 -depth 8 " + Quote(c)),
              0);
    const std::string gif = dir.file("anim.gif");
    std::string text;
    ASSERT_EQ(Cli("animate " + Quote(gif) + " " + Quote(a) + " " + Quote(b) + " " + Quote(c) +
                      " --delay 40 --loops 3 --comment hello",
                  &text),
              0)
        << text;
    testsupport::Run("/usr/bin/identify -format '%T %c|' " + Quote(gif), &text);
    EXPECT_EQ(text, "40 hello|40 |40 |")
        << "the comment is written once, after the first frame's control block";
    testsupport::Run("/usr/bin/identify -verbose " + Quote(gif + "[0]") + " | grep Iterations", &text);
    EXPECT_NE(text.find("Iterations: 3"), std::string::npos) << "three plays: " << text;
    int k = 0;
    for (const std::string& frame : {a, b, c}) {
        testsupport::Run(Convert() + " " + Quote(gif) + " -coalesce " + Quote(dir.file("f-%d.png")));
        EXPECT_EQ(Differences(frame, dir.file("f-" + std::to_string(k++) + ".png")), "0");
    }

    const std::string many = dir.file("many.ppm");
    ASSERT_EQ(testsupport::Run(Convert() + " -size 40x40 plasma:fractal " + Quote(many)), 0);
    EXPECT_NE(Cli("animate " + Quote(gif) + " " + Quote(a) + " " + Quote(many), &text), 0);
    EXPECT_NE(text.find("more than 256 colours"), std::string::npos) << text;
}
