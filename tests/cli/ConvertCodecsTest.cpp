// vistorel-img convert with JPEG, PNG and TIFF: page selection, multipage
// output and EXIF carried between JPEG files.
#include "TestSupport.h"

#include <gtest/gtest.h>

using testsupport::Convert;
using testsupport::Quote;

using testsupport::TempDir;

namespace {

int Cli(const std::string& args, std::string* out = nullptr) {
    return testsupport::Run(std::string(VISTOREL_CLI) + " " + args + " 2>&1", out);
}

std::string Identify(const std::string& format, const std::string& file) {
    std::string out;
    testsupport::Run("/usr/bin/identify -format " + Quote(format) + " " + Quote(file), &out);
    return out;
}

} // namespace

TEST(ConvertCodecs, MultipageTiffAndPageSelection) {
    TempDir dir;
    const std::string red = dir.file("red.png"), blue = dir.file("blue.jpg"), grey = dir.file("grey.tif");
    ASSERT_EQ(testsupport::Run(Convert() + " -size 10x6 xc:red " + Quote(red)), 0);
    ASSERT_EQ(testsupport::Run(Convert() + " -size 12x7 xc:blue " + Quote(blue)), 0);
    ASSERT_EQ(testsupport::Run(Convert() + " -size 5x5 xc:gray50 -colorspace Gray " + Quote(grey)), 0);
    const std::string multi = dir.file("multi.tif");
    std::string out;
    ASSERT_EQ(Cli("convert " + Quote(red) + " " + Quote(blue) + " " + Quote(grey) + " " + Quote(multi) +
                      " --multipage",
                  &out),
              0)
        << out;
    EXPECT_EQ(Identify("%w ", multi), "10 12 5 ");

    const std::string page = dir.file("page.png");
    ASSERT_EQ(Cli("convert " + Quote(multi) + " " + Quote(page) + " --frame 1", &out), 0) << out;
    EXPECT_EQ(Identify("%w %[fx:p{0,0}.b>0.9 && p{0,0}.r<0.1]", page), "12 1");
    EXPECT_NE(Cli("convert " + Quote(multi) + " " + Quote(page) + " --frame 3", &out), 0);
    EXPECT_NE(out.find("Error: page not present in TIFF file"), std::string::npos) << out;

    // Several inputs without --multipage are refused, and so is a format without pages.
    EXPECT_NE(Cli("convert " + Quote(red) + " " + Quote(blue) + " " + Quote(multi)), 0);
    EXPECT_NE(
        Cli("convert " + Quote(red) + " " + Quote(blue) + " " + Quote(dir.file("x.png")) + " --multipage",
            &out),
        0);
    EXPECT_NE(out.find("Multipage Encode, Unsupported operation for this format"), std::string::npos) << out;
}

TEST(ConvertCodecs, JpegToJpegKeepsExif) {
    TempDir dir;
    const std::string in = dir.file("in.jpg"), out = dir.file("out.jpg"), png = dir.file("out.png");
    ASSERT_EQ(testsupport::Run(Convert() + " -size 16x16 xc:orange " + Quote(in)), 0);
    ASSERT_EQ(testsupport::Run("exiftool -q -overwrite_original -Model=Scope -Orientation#=8 " + Quote(in)),
              0);
    std::string text;
    ASSERT_EQ(Cli("convert " + Quote(in) + " " + Quote(out) + " --quality 70", &text), 0) << text;
    testsupport::Run("exiftool -s3 -n -Model -Orientation " + Quote(out), &text);
    EXPECT_EQ(text, "Scope\n8\n");
    ASSERT_EQ(Cli("convert " + Quote(out) + " " + Quote(png), &text), 0) << text;
    EXPECT_EQ(Identify("%m %w", png), "PNG 16");
}
