// vistorel-img starts its text renderer only when a metafile first draws text:
// the text must still reach the picture.
#include "Image.h"
#include "MetafileBytes.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace metafilebytes;
using testsupport::Quote;

TEST(MetafileTextCli, ConvertDrawsTheTextOfAMetafile) {
    Bytes body;
    Wmf(body, 0x02FB, {}, WmfFont(-150, 700, false, "DejaVu Sans"));
    Wmf(body, 0x012D, {0});
    Wmf(body, 0x0209, {0x00FF, 0}); // red text
    Bytes text;
    text.raw(Ansi("Hello")).u16(250).u16(100); // y, x
    Wmf(body, 0x0521, {5}, text.v);
    Wmf(body, 0x0000, {});
    const std::vector<uint8_t> wmf = PlaceableWmf(1000, 500, 500, body, 1);

    testsupport::TempDir dir;
    const std::string in = dir.file("text.wmf"), out = dir.file("text.ppm");
    std::ofstream(in, std::ios::binary).write(reinterpret_cast<const char*>(wmf.data()),
                                             static_cast<std::streamsize>(wmf.size()));
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
