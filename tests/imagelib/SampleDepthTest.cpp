// One rule for 16-bit samples in every reader: round(v × 255 / 65535).
#include "CodecTestSupport.h"

#include <gtest/gtest.h>

using namespace vimg;
using namespace testsupport;

// Every 16-bit value once (256 x 256 grey), written by ImageMagick in each format.
TEST(SampleDepth, SixteenBitsRoundTheSameWayInEveryReader) {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    TempDir dir;
    std::vector<uint8_t> all(2 * 65536);
    for (uint32_t v = 0; v < 65536; ++v) {
        all[2 * v] = static_cast<uint8_t>(v >> 8);
        all[2 * v + 1] = static_cast<uint8_t>(v);
    }
    WriteFile(dir.file("all.gray"), all);
    for (const char* ext : {"png", "tif", "pgm", "pgx", "jp2", "j2k"}) {
        const std::string file = dir.file(std::string("all.") + ext);
        ASSERT_EQ(testsupport::Run(Convert() + " -size 256x256 -depth 16 -endian MSB " +
                                   Quote("gray:" + dir.file("all.gray")) + " -quality 0 " + Quote(file)),
                  0)
            << ext;
        Image img;
        ASSERT_TRUE(img.Load(file.c_str(), FORMAT_UNKNOWN)) << ext << ": " << img.GetLastError();
        ASSERT_EQ(img.GetWidth(), 256u);
        int bad = 0;
        for (uint32_t v = 0; v < 65536 && bad < 5; ++v) {
            const uint32_t want = (v * 255 + 32767) / 65535;
            const RGBQUAD got =
                img.GetPixelColor(static_cast<int32_t>(v % 256), static_cast<int32_t>(255 - v / 256));
            if ((got.rgbRed != want || got.rgbBlue != want) && ++bad)
                ADD_FAILURE() << ext << " value " << v << ": " << int(got.rgbRed) << " not " << want;
        }
    }
}
