// vistorel-img loads its Qt text module only when a metafile first draws text:
// the text must still reach the picture, and a tool installed without its
// helpers must say what is missing instead of failing silently or crashing.
#include "Image.h"
#include "MetafileBytes.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace metafilebytes;
using testsupport::Quote;

namespace {

// A placeable metafile that draws "Hello" in red, written to `path`.
void WriteTextMetafile(const std::string& path) {
    Bytes body;
    Wmf(body, 0x02FB, {}, WmfFont(-150, 700, false, "DejaVu Sans"));
    Wmf(body, 0x012D, {0});
    Wmf(body, 0x0209, {0x00FF, 0}); // red text
    Bytes text;
    text.raw(Ansi("Hello")).u16(250).u16(100); // y, x
    Wmf(body, 0x0521, {5}, text.v);
    Wmf(body, 0x0000, {});
    const std::vector<uint8_t> wmf = PlaceableWmf(1000, 500, 500, body, 1);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(wmf.data()),
                                               static_cast<std::streamsize>(wmf.size()));
}

} // namespace

TEST(MetafileTextCli, ConvertDrawsTheTextOfAMetafile) {
    testsupport::TempDir dir;
    const std::string in = dir.file("text.wmf"), out = dir.file("text.ppm");
    WriteTextMetafile(in);
    ASSERT_EQ(testsupport::Run(std::string(VISTOREL_CLI) + " convert " + Quote(in) + " " + Quote(out)), 0);

    vimg::Image img;
    ASSERT_TRUE(img.Load(out.c_str(), vimg::FORMAT_PNM)) << img.GetLastError();
    int red = 0;
    for (int32_t y = 0; y < static_cast<int32_t>(img.GetHeight()); ++y)
        for (int32_t x = 0; x < static_cast<int32_t>(img.GetWidth()); ++x) {
            const vimg::RGBQUAD c = img.GetPixelColor(x, y);
            if (c.rgbRed > 200 && c.rgbGreen < 80 && c.rgbBlue < 80) ++red;
        }
    EXPECT_GT(red, 50);
}

TEST(MetafileTextCli, WithoutItsHelpersTheToolSaysWhatIsMissing) {
    testsupport::TempDir dir;
    const std::string lone = dir.file("vistorel-img"), in = dir.file("text.wmf"), out = dir.file("text.ppm");
    std::filesystem::copy_file(VISTOREL_CLI, lone);
    WriteTextMetafile(in);
    std::string said;
    ASSERT_EQ(testsupport::Run(Quote(lone) + " convert " + Quote(in) + " " + Quote(out) + " 2>&1", &said), 0);
    EXPECT_NE(said.find("metafile text stays undrawn"), std::string::npos) << said;
    vimg::Image img;
    EXPECT_TRUE(img.Load(out.c_str(), vimg::FORMAT_PNM)) << img.GetLastError();

    EXPECT_EQ(testsupport::Run(Quote(lone) + " stack " + Quote(dir.file("s.png")) + " " + Quote(out) + " " +
                                   Quote(out) + " 2>&1",
                               &said),
              1);
    EXPECT_NE(said.find("vistorel-img-merge is not installed"), std::string::npos) << said;
}
