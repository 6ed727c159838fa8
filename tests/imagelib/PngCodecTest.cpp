// PNG codec: every colour type and depth against ImageMagick, the composition
// and transparency rules, interlacing, resolution, round trips and bad input.
#include "CodecTestSupport.h"

#include "codecs/ImagePNG.h"

using namespace testsupport;
using testsupport::Convert;
using testsupport::Quote;
using testsupport::ReadFile;
using testsupport::TempDir;
using vimg::Image;

namespace {

// ImageMagick writes bKGD and time chunks unless told not to.
const std::string kPlain = " -define png:exclude-chunk=bKGD,date,time ";

std::string MakePng(const TempDir& dir, const std::string& name, const std::string& source,
                    const std::string& options) {
    return MakeWithImageMagick(dir, name, source + kPlain + options);
}

// ImageMagick's reading of `file` composed over a flat colour.
std::vector<uint8_t> Flattened(const std::string& file, const std::string& colour) {
    const std::string raw = file + ".flat.rgba";
    testsupport::Run(Convert() + " " + Quote(file) + " -background '" + colour +
                     "' -flatten -alpha opaque -depth 8 " + Quote("rgba:" + raw));
    std::vector<uint8_t> bytes = ReadFile(raw);
    std::remove(raw.c_str());
    return bytes;
}

Image LoadPng(const std::string& file) {
    Image img;
    EXPECT_TRUE(img.Load(file.c_str(), vimg::FORMAT_PNG)) << file << ": " << img.GetLastError();
    return img;
}

} // namespace

TEST(PngCodec, OpaqueTypesMatchImageMagick) {
    TempDir dir;
    const std::string grad = "-size 37x23 gradient:black-white";
    const std::string colour = "-size 37x23 -seed 5 plasma:fractal";
    struct Variant {
        std::string name, source, options;
        uint32_t bpp;
        int tolerance;
    } variants[] = {
        {"g1.png", grad, "-define png:color-type=0 -define png:bit-depth=1", 1, 0},
        {"g2.png", grad, "-define png:color-type=0 -define png:bit-depth=2", 4, 0},
        {"g4.png", grad, "-define png:color-type=0 -define png:bit-depth=4", 4, 0},
        {"g8.png", grad, "-define png:color-type=0 -define png:bit-depth=8", 8, 0},
        {"g16.png", grad, "-define png:color-type=0 -define png:bit-depth=16", 8, 1},
        {"rgb8.png", colour, "-define png:color-type=2 -define png:bit-depth=8", 24, 0},
        {"rgb16.png", colour, "-define png:color-type=2 -define png:bit-depth=16", 24, 1},
        {"p1.png", colour, "-colors 2 -define png:color-type=3 -define png:bit-depth=1", 1, 0},
        {"p2.png", colour, "-colors 4 -define png:color-type=3 -define png:bit-depth=2", 4, 0},
        {"p4.png", colour, "-colors 16 -define png:color-type=3 -define png:bit-depth=4", 4, 0},
        {"p8.png", colour, "-colors 200 -define png:color-type=3 -define png:bit-depth=8", 8, 0},
        {"interlaced.png", colour, "-interlace PNG -define png:color-type=2 -define png:bit-depth=8", 24, 0},
        {"interlaced-p4.png", colour,
         "-interlace PNG -colors 9 -define png:color-type=3 -define png:bit-depth=4", 4, 0},
    };
    for (const Variant& v : variants) {
        const std::string file = MakePng(dir, v.name, v.source, v.options);
        EXPECT_LE(DiffToReference(file, vimg::FORMAT_PNG), v.tolerance) << v.name;
        const Image img = LoadPng(file);
        EXPECT_EQ(img.GetBpp(), v.bpp) << v.name;
        EXPECT_EQ(img.GetCodecOption(vimg::FORMAT_PNG), v.name.find("interlaced") == 0 ? 1u : 0u) << v.name;
    }
    // Two-bit grey: four-entry grey palette, values in the nibbles.
    const Image g2 = LoadPng(dir.file("g2.png"));
    EXPECT_EQ(g2.GetPaletteColor(1).rgbRed, 85);
    EXPECT_EQ(g2.GetPaletteColor(3).rgbRed, 255);
    EXPECT_EQ(g2.GetPixelIndex(36, 0), 3);
}

TEST(PngCodec, AlphaChannelsAndComposition) {
    TempDir dir;
    const std::string src = "-size 31x17 gradient:'rgba(255,0,0,1)-rgba(0,0,255,0.1)'";
    // RGBA (8 and 16 bits) and 16-bit grey with alpha keep an alpha plane.
    for (const char* v : {"-define png:color-type=6 -define png:bit-depth=8",
                          "-define png:color-type=6 -define png:bit-depth=16",
                          "-colorspace Gray -define png:color-type=4 -define png:bit-depth=16"}) {
        const std::string file = MakePng(dir, "a.png", src, v);
        const Image img = LoadPng(file);
        EXPECT_TRUE(img.AlphaIsValid()) << v;
        EXPECT_EQ(img.GetBpp(), 24u) << v;
        EXPECT_LE(MaxDiff(ToRGBA(img), testsupport::ReferenceRGBA(file), true), 1) << v;
    }
    // 8-bit grey with alpha is composed over the default background (grey 0) or the file's bKGD.
    // Without gamma chunks libpng blends the stored values, as ImageMagick's flatten does.
    const std::string noGamma = " -define png:exclude-chunk=date,time,gAMA,cHRM,sRGB ";
    const std::string ga = MakePng(dir, "ga.png", src,
                                   " -define png:exclude-chunk=bKGD,date,time,gAMA,cHRM,sRGB -colorspace Gray"
                                   " -define png:color-type=4 -define png:bit-depth=8");
    Image img = LoadPng(ga);
    EXPECT_FALSE(img.AlphaIsValid());
    EXPECT_EQ(img.GetBpp(), 8u);
    EXPECT_LE(MaxDiff(ToRGBA(img), Flattened(ga, "black")), 1);

    const std::string bkgd = dir.file("bkgd.png");
    Make(Convert() + " " + src + " -colorspace Gray -background white" + noGamma +
         "-define png:color-type=4 -define png:bit-depth=8 " + Quote(bkgd));
    EXPECT_LE(MaxDiff(ToRGBA(LoadPng(bkgd)), Flattened(bkgd, "white")), 1);

    // An RGBA file's bKGD becomes the transparent colour.
    const std::string rgbaBkgd = dir.file("rgba-bkgd.png");
    Make(Convert() + " " + src + " -background '#102030' -define png:color-type=6 " + Quote(rgbaBkgd));
    const vimg::RGBQUAD tc = LoadPng(rgbaBkgd).GetTransColor();
    EXPECT_EQ(tc, (vimg::RGBQUAD{0x30, 0x20, 0x10, 0}));

    // RGB with a tRNS colour is composed over the default 192 grey.
    const std::string rgbTrns =
        MakePng(dir, "rgbt.png", "-size 20x10 xc:red -fill lime -draw 'rectangle 0,0 9,9'",
                "-transparent lime -define png:color-type=2");
    const Image composed = LoadPng(rgbTrns);
    EXPECT_EQ(composed.GetPixelColor(0, 9, false), (vimg::RGBQUAD{192, 192, 192, 0}));
    EXPECT_EQ(composed.GetPixelColor(19, 9, false), (vimg::RGBQUAD{0, 0, 255, 0}));
}

TEST(PngCodec, PaletteTransparencyRoundTrips) {
    TempDir dir;
    // Palette alpha 0 and 128: palette alpha on, later entries opaque.
    Image pal(6, 4, 4);
    pal.SetStdPalette();
    for (int i = 2; i < 16; ++i) {
        vimg::RGBQUAD c = pal.GetPaletteColor(static_cast<uint8_t>(i));
        c.rgbReserved = 255;
        pal.SetPaletteColor(static_cast<uint8_t>(i), c);
    }
    pal.SetPaletteColor(0, 10, 20, 30, 0);
    pal.SetPaletteColor(1, 40, 50, 60, 128);
    pal.AlphaPaletteEnable(true);
    for (int x = 0; x < 6; ++x) pal.SetPixelIndex(x, 1, static_cast<uint8_t>(x));
    const std::string f1 = dir.file("pa.png");
    ASSERT_TRUE(pal.Save(f1.c_str(), vimg::FORMAT_PNG)) << pal.GetLastError();
    Image back = LoadPng(f1);
    EXPECT_TRUE(back.AlphaPaletteIsEnabled());
    EXPECT_EQ(back.GetPaletteColor(0).rgbReserved, 0);
    EXPECT_EQ(back.GetPaletteColor(1).rgbReserved, 128);
    EXPECT_EQ(back.GetPaletteColor(2).rgbReserved, 255);
    EXPECT_EQ(back.GetTransIndex(), -1);
    EXPECT_LE(MaxDiff(ToRGBA(back), testsupport::ReferenceRGBA(f1), true), 0);
    EXPECT_EQ(MaxDiff(ToRGBA(back), ToRGBA(pal)), 0);

    // One transparent entry 0: transparent index 0, no palette alpha.
    Image one(5, 5, 8);
    one.SetGrayPalette();
    one.SetTransIndex(0);
    one.SetPixelIndex(2, 2, 200);
    const std::string f2 = dir.file("ti.png");
    ASSERT_TRUE(one.Save(f2.c_str(), vimg::FORMAT_PNG));
    back = LoadPng(f2);
    EXPECT_EQ(back.GetTransIndex(), 0);
    EXPECT_FALSE(back.AlphaPaletteIsEnabled());
    EXPECT_LE(MaxDiff(ToRGBA(back), testsupport::ReferenceRGBA(f2), true), 0);
}

TEST(PngCodec, WriterRoundTripsKeepPixelsDpiAndInterlacing) {
    TempDir dir;
    const std::string file =
        MakePng(dir, "src.png", "-size 45x29 -seed 9 plasma:fractal", "-define png:color-type=2");
    Image rgb = LoadPng(file);
    Image rgba(rgb);
    ASSERT_TRUE(rgba.AlphaCreate());
    for (int x = 0; x < 45; ++x) rgba.AlphaSet(x, 3, static_cast<uint8_t>(x * 5));
    Image grey(45, 29, 8);
    grey.SetGrayPalette();
    Image mono(45, 29, 1);
    mono.SetPaletteColor(0, 0, 0, 0);
    mono.SetPaletteColor(1, 255, 255, 255);
    for (int y = 0; y < 29; ++y)
        for (int x = 0; x < 45; ++x) {
            grey.SetPixelIndex(x, y, static_cast<uint8_t>(x * y));
            mono.SetPixelIndex(x, y, static_cast<uint8_t>((x + y) & 1));
        }
    int n = 0;
    for (Image* img : {&rgb, &rgba, &grey, &mono}) {
        for (uint32_t interlace : {0u, 1u}) {
            img->SetCodecOption(interlace, vimg::FORMAT_PNG);
            img->SetXDPI(300);
            img->SetYDPI(72);
            const std::string out = dir.file("rt" + std::to_string(n++) + ".png");
            ASSERT_TRUE(img->Save(out.c_str(), vimg::FORMAT_PNG)) << img->GetLastError();
            const Image back = LoadPng(out);
            EXPECT_EQ(MaxDiff(ToRGBA(back), ToRGBA(*img)), 0) << out;
            EXPECT_EQ(MaxDiff(testsupport::ReferenceRGBA(out), ToRGBA(*img)), 0) << out;
            EXPECT_EQ(back.GetCodecOption(vimg::FORMAT_PNG), interlace);
            EXPECT_EQ(back.GetXDPI(), 300);
            EXPECT_EQ(back.GetYDPI(), 72);
        }
    }
}

TEST(PngCodec, ResolutionChunk) {
    TempDir dir;
    const std::string p96 =
        MakePng(dir, "96.png", "-size 4x4 xc:red", "-units PixelsPerCentimeter -density 37.8");
    const std::string p300 = MakePng(dir, "300.png", "-size 4x4 xc:red", "-units PixelsPerInch -density 300");
    const std::string none = MakePng(dir, "none.png", "-size 4x4 xc:red", "-define png:exclude-chunk=pHYs");
    EXPECT_EQ(LoadPng(p96).GetXDPI(), 96);
    EXPECT_EQ(LoadPng(p300).GetYDPI(), 300);
    EXPECT_EQ(LoadPng(none).GetXDPI(), 96);
}

TEST(PngCodec, BadInput) {
    TempDir dir;
    const std::string file = MakePng(dir, "f.png", "-size 64x40 -seed 2 plasma:fractal", "-interlace PNG");
    const std::vector<uint8_t> bytes = ReadFile(file);
    Image bad;
    EXPECT_FALSE(DecodeBytes(bad, {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}, vimg::FORMAT_PNG));
    EXPECT_STREQ(bad.GetLastError(), "Not a PNG file");
    EXPECT_FALSE(DecodeBytes(bad, {bytes.begin(), bytes.begin() + 100}, vimg::FORMAT_PNG));
    EXPECT_STREQ(bad.GetLastError(), "PNG: the file ends early (Read Error)");

    Image img;
    img.SetEscape(1);
    EXPECT_FALSE(img.Load(file.c_str(), vimg::FORMAT_PNG));

    MemoryCap cap(16u << 20);
    for (size_t cut = 0; cut < bytes.size(); cut += 61)
        ExpectSaneOutcome({bytes.begin(), bytes.begin() + static_cast<long>(cut)}, vimg::FORMAT_PNG,
                          "cut " + std::to_string(cut));
    for (unsigned seed = 0; seed < 1500; ++seed)
        ExpectSaneOutcome(Corrupt(bytes, seed, 8), vimg::FORMAT_PNG, "seed " + std::to_string(seed));
}
