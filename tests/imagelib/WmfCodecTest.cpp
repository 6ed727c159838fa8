#include "CodecTestSupport.h"
#include "MetafileBytes.h"

#include <gtest/gtest.h>

using namespace vimg;
using namespace metafilebytes;

namespace {

// A 2 x 2 bottom-up 24-bit bitmap: red, green (bottom row), blue, white (top row).
std::vector<uint8_t> Dib() {
    Bytes b;
    b.u32(40).u32(2).u32(2).u16(1).u16(24).u32(0).u32(16).u32(0).u32(0).u32(0).u32(0);
    b.raw({0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0});
    return b.v;
}

const RGBQUAD kWhite{255, 255, 255, 0}, kRed{0, 0, 255, 0}, kBlue{255, 0, 0, 0}, kGreen{0, 255, 0, 0};

// Logical units 0..1000 x 0..500 on a 96 x 48 picture.
std::vector<uint8_t> SampleWmf(bool placeable = true) {
    Bytes f;
    if (placeable) f.u32(0x9AC6CDD7).u16(0).u16(0).u16(0).u16(1000).u16(500).u16(1000).u32(0).u16(0);
    Bytes body;
    Wmf(body, 0x020B, {0, 0});          // window origin
    Wmf(body, 0x020C, {500, 1000});     // window extent (y, x)
    Wmf(body, 0x02FC, {0, 0x00FF, 0, 0}); // red brush -> slot 0
    Wmf(body, 0x02FA, {5, 0, 0, 0, 0}); // null pen -> slot 1
    Wmf(body, 0x012D, {0});
    Wmf(body, 0x012D, {1});
    Wmf(body, 0x041B, {400, 500, 100, 100}); // rectangle: bottom, right, top, left
    Wmf(body, 0x02FC, {0, 0xFF00, 0, 0});    // green brush -> slot 2
    Wmf(body, 0x012D, {2});
    Wmf(body, 0x0418, {400, 850, 200, 650}); // ellipse
    Wmf(body, 0x02FA, {0, 0, 0, 0, 0xFF});   // blue one-pixel pen -> slot 3
    Wmf(body, 0x012D, {3});
    Wmf(body, 0x0214, {50, 600});            // move to (600, 50)
    Wmf(body, 0x0213, {50, 900});            // line to (900, 50)
    // A square with a square hole (even-odd), red brush again.
    Wmf(body, 0x012D, {0});
    Wmf(body, 0x0538,
        {2, 4, 4, 550, 420, 990, 420, 990, 490, 550, 490, 700, 440, 900, 440, 900, 470, 700, 470});
    // The bitmap stretched over logical (0, 400) .. (100, 500).
    Wmf(body, 0x0F43, {0x0020, 0x00CC, 0, 2, 2, 0, 0, 100, 100, 400, 0}, Dib());
    Wmf(body, 0x0000, {});
    f.u16(1).u16(9).u16(0x0300).u32(static_cast<uint32_t>(9 + body.v.size() / 2)).u16(4).u32(40).u16(0);
    f.raw(body.v);
    return f.v;
}

std::vector<uint8_t> SampleEmf() {
    Bytes records;
    Emf(records, 39, {1, 0, 0x0000FF, 0}); // red brush as object 1
    Emf(records, 37, {1});
    Emf(records, 37, {static_cast<int>(0x80000008)}); // stock null pen
    Emf(records, 43, {10, 10, 50, 40});               // rectangle
    Emf(records, 39, {2, 0, 0xFF0000, 0});            // blue brush as object 2
    Emf(records, 37, {2});
    Bytes tri;
    tri.u16(60).u16(10).u16(95).u16(10).u16(95).u16(45);
    Emf(records, 86, {0, 0, 0, 0, 3}, tri.v); // Polygon16
    const std::vector<uint8_t> dib = Dib();
    // StretchDIBits: bitmap info at 80, bits at 120, drawn over (0, 40) .. (10, 50).
    Emf(records, 81,
        {0, 0, 0, 0, 0, 40, 0, 0, 2, 2, 80, 40, 120, 16, 0, 0xCC0020, 10, 10},
        dib);
    // A path: triangle (20, 42) (55, 42) (55, 49), filled with the blue brush.
    Emf(records, 59, {});
    Emf(records, 27, {20, 42});
    Emf(records, 54, {55, 42});
    Emf(records, 54, {55, 49});
    Emf(records, 61, {});
    Emf(records, 60, {});
    Emf(records, 62, {0, 0, 0, 0});
    // A straight Bezier curve along y = 46 with the stock black pen.
    Emf(records, 37, {static_cast<int>(0x80000007)});
    Bytes curve;
    curve.u16(60).u16(46).u16(70).u16(46).u16(80).u16(46).u16(90).u16(46);
    Emf(records, 85, {0, 0, 0, 0, 4}, curve.v);
    // BitBlt without a source: a blue patch at (70, 47) .. (80, 50).
    Emf(records, 76, {0, 0, 0, 0, 70, 47, 10, 3, 0xF00021, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    Emf(records, 14, {0, 0, 20});
    return SmallEmf(records);
}

} // namespace

TEST(WmfCodec, PlaysShapesLinesAndBitmaps) {
    Image img;
    ASSERT_TRUE(testsupport::DecodeBytes(img, SampleWmf(), FORMAT_UNKNOWN)) << img.GetLastError();
    EXPECT_EQ(img.GetType(), FORMAT_WMF);
    ASSERT_EQ(img.GetWidth(), 96u);
    ASSERT_EQ(img.GetHeight(), 48u);
    EXPECT_EQ(img.GetBpp(), 24u);
    const auto at = [&](int x, int y) { return img.GetPixelColor(x, 47 - y, false); }; // y from the top
    EXPECT_EQ(at(5, 5), kWhite);
    EXPECT_EQ(at(20, 20), kRed);      // inside the rectangle
    EXPECT_EQ(at(47, 37), kRed);
    EXPECT_EQ(at(49, 20), kWhite);    // past its right side
    EXPECT_EQ(at(72, 29), kGreen);    // centre of the ellipse
    EXPECT_EQ(at(63, 20), kWhite);    // outside the ellipse, inside its box corner
    EXPECT_EQ(at(70, 4), kBlue);      // on the line
    EXPECT_EQ(at(70, 6), kWhite);
    EXPECT_EQ(at(55, 44), kRed);      // square ring
    EXPECT_EQ(at(76, 43), kWhite);    // its hole
    EXPECT_EQ(at(2, 40), kBlue);      // bitmap, top left is its top row
    EXPECT_EQ(at(7, 40), kWhite);
    EXPECT_EQ(at(2, 46), kRed);
    EXPECT_EQ(at(7, 46), kGreen);

    // Without the placeable header the window extent gives the size in pixels.
    std::vector<uint8_t> plain = SampleWmf(false);
    ASSERT_TRUE(testsupport::DecodeBytes(img, plain, FORMAT_WMF)) << img.GetLastError();
    EXPECT_EQ(img.GetWidth(), 1000u);
    EXPECT_EQ(img.GetHeight(), 500u);
    EXPECT_EQ(img.GetPixelColor(200, 499 - 200, false), kRed);
}

TEST(WmfCodec, PlaysEnhancedMetafiles) {
    Image img;
    ASSERT_TRUE(testsupport::DecodeBytes(img, SampleEmf(), FORMAT_UNKNOWN)) << img.GetLastError();
    EXPECT_EQ(img.GetType(), FORMAT_WMF);
    ASSERT_EQ(img.GetWidth(), 96u);
    ASSERT_EQ(img.GetHeight(), 48u);
    const auto at = [&](int x, int y) { return img.GetPixelColor(x, 47 - y, false); };
    EXPECT_EQ(at(2, 2), kWhite);
    EXPECT_EQ(at(25, 20), kRed);
    EXPECT_EQ(at(85, 20), kBlue);  // inside the triangle
    EXPECT_EQ(at(65, 35), kWhite); // outside its hypotenuse
    EXPECT_EQ(at(2, 40), kBlue);
    EXPECT_EQ(at(7, 46), kGreen);
    EXPECT_EQ(at(48, 43), kBlue);  // inside the path
    EXPECT_EQ(at(24, 46), kWhite); // outside it
    EXPECT_EQ(at(66, 45), (RGBQUAD{0, 0, 0, 0})); // on the curve
    EXPECT_EQ(at(66, 43), kWhite);
    EXPECT_EQ(at(72, 47), kBlue); // the patch
}

TEST(WmfCodec, ErrorsAndDamage) {
    Image img;
    std::vector<uint8_t> empty = SampleWmf();
    empty[10] = empty[11] = 0; // right = left
    EXPECT_FALSE(testsupport::DecodeBytes(img, empty, FORMAT_WMF));
    EXPECT_STREQ(img.GetLastError(), "empty WMF");
    std::vector<uint8_t> bad = SampleWmf();
    bad[22 + 18] = 0xFF; // first record far longer than the file
    bad[22 + 19] = 0xFF;
    EXPECT_FALSE(testsupport::DecodeBytes(img, bad, FORMAT_WMF));
    EXPECT_STREQ(img.GetLastError(), "corrupted WMF");

    // A picture above the memory bound fails with the container's text.
    const uint64_t old = Image::GetMaxMemory();
    Image::SetMaxMemory(1000);
    EXPECT_FALSE(testsupport::DecodeBytes(img, SampleWmf(), FORMAT_WMF));
    EXPECT_EQ(std::string(img.GetLastError()).rfind("IMAGE_MAX_MEMORY exceeded: ", 0), 0u)
        << img.GetLastError();
    EXPECT_FALSE(testsupport::DecodeBytes(img, SampleEmf(), FORMAT_WMF));
    EXPECT_EQ(std::string(img.GetLastError()).rfind("IMAGE_MAX_MEMORY exceeded: ", 0), 0u)
        << img.GetLastError();
    Image::SetMaxMemory(old);

    Image picture(8, 8, 24);
    uint8_t* buffer = nullptr;
    int32_t size = 0;
    EXPECT_FALSE(picture.Encode(buffer, size, FORMAT_WMF));
    EXPECT_STREQ(picture.GetLastError(), "Save WMF not supported");

    testsupport::Batter(SampleWmf(), FORMAT_WMF, 300);
    testsupport::Batter(SampleEmf(), FORMAT_WMF, 300);
}

TEST(WmfCodec, ManyHugeShapesStopAtTheWorkLimit) {
    // 4096 x 4096 pixels covered 3000 times over: drawing stops at the work limit
    // and the first shapes stay on the picture.
    Bytes body;
    Wmf(body, 0x02FC, {0, 0x00FF, 0, 0});
    Wmf(body, 0x012D, {0});
    for (int i = 0; i < 3000; ++i) Wmf(body, 0x041B, {32000, 32000, 0, 0});
    Wmf(body, 0x0000, {});
    Image img;
    ASSERT_TRUE(testsupport::DecodeBytes(img, PlaceableWmf(32000, 32000, 750, body, 1), FORMAT_WMF))
        << img.GetLastError();
    EXPECT_EQ(img.GetWidth(), 4096u);
    EXPECT_EQ(img.GetPixelColor(2000, 2000, false), kRed);
}
