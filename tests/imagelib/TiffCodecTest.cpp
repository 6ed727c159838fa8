// TIFF codec: compressions, layouts and orientations against ImageMagick, the
// writer's photometric and compression rules, multipage files and bad input.
#include "CodecTestSupport.h"
#include "MemFile.h"

#include "codecs/ImageTIF.h"
#include "IOFile.h"

#include <tiffio.h>

#include <cmath>
#include <sstream>

using namespace testsupport;
using testsupport::Convert;
using testsupport::Quote;
using testsupport::ReadFile;
using testsupport::TempDir;
using vimg::Image;
using vimg::ImageTIF;

namespace {

std::string MakeTif(const TempDir& dir, const std::string& name, const std::string& source,
                    const std::string& options) {
    return MakeWithImageMagick(dir, name, source + " " + options);
}

Image LoadTif(const std::string& file, int frame = 0) {
    Image img;
    img.SetFrame(frame);
    EXPECT_TRUE(img.Load(file.c_str(), vimg::FORMAT_TIF)) << file << ": " << img.GetLastError();
    return img;
}

// One directory's tags as libtiff reads them.
struct Tags {
    uint16_t compression = 0, photometric = 0, samples = 0, bits = 0, predictor = 1, page = 0, pages = 0;
    uint32_t subfile = 0;
    std::string pageName;
    std::vector<uint8_t> firstRow;
};

Tags ReadTags(const std::string& file, int dir = 0) {
    Tags t;
    TIFF* tif = TIFFOpen(file.c_str(), "r");
    if (!tif) {
        ADD_FAILURE() << "libtiff cannot open " << file;
        return t;
    }
    EXPECT_TRUE(TIFFSetDirectory(tif, static_cast<tdir_t>(dir)));
    TIFFGetField(tif, TIFFTAG_COMPRESSION, &t.compression);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &t.photometric);
    TIFFGetField(tif, TIFFTAG_SAMPLESPERPIXEL, &t.samples);
    TIFFGetField(tif, TIFFTAG_BITSPERSAMPLE, &t.bits);
    TIFFGetField(tif, TIFFTAG_PREDICTOR, &t.predictor);
    TIFFGetField(tif, TIFFTAG_SUBFILETYPE, &t.subfile);
    TIFFGetField(tif, TIFFTAG_PAGENUMBER, &t.page, &t.pages);
    char* name = nullptr;
    if (TIFFGetField(tif, TIFFTAG_PAGENAME, &name) && name) t.pageName = name;
    t.firstRow.resize(static_cast<size_t>(TIFFScanlineSize64(tif)));
    if (!t.firstRow.empty()) TIFFReadScanline(tif, t.firstRow.data(), 0, 0);
    TIFFClose(tif);
    return t;
}

} // namespace

TEST(TiffCodec, CompressionsAndLayoutsMatchImageMagick) {
    TempDir dir;
    const std::string colour = "-size 53x37 -seed 4 plasma:fractal -depth 8";
    const std::string grey = colour + " -colorspace Gray";
    const std::string mono = colour + " -monochrome";
    struct Variant {
        std::string name, source, options;
        uint32_t bpp;
        uint16_t compression;
        int tolerance;
    } variants[] = {
        {"none.tif", colour, "-compress None", 24, COMPRESSION_NONE, 0},
        {"lzw.tif", colour, "-compress LZW", 24, COMPRESSION_LZW, 0},
        {"packbits.tif", colour, "-compress RLE", 24, COMPRESSION_PACKBITS, 0},
        {"deflate.tif", colour, "-compress Zip", 24, COMPRESSION_ADOBE_DEFLATE, 0},
        {"jpeg.tif", colour, "-compress JPEG -quality 90", 24, COMPRESSION_JPEG, 2},
        {"g3.tif", mono, "-compress Fax", 1, COMPRESSION_CCITTFAX3, 0},
        {"g4.tif", mono, "-compress Group4", 1, COMPRESSION_CCITTFAX4, 0},
        {"tiled.tif", colour, "-define tiff:tile-geometry=16x16 -compress LZW", 24, COMPRESSION_LZW, 0},
        {"tiled-grey.tif", grey, "-depth 8 -define tiff:tile-geometry=16x16", 8, COMPRESSION_NONE, 0},
        // 16 bits round v × 255 / 65535; ImageMagick truncates v / 257.
        {"rgb16.tif", colour, "-depth 16 -compress Zip", 24, COMPRESSION_ADOBE_DEFLATE, 1},
        {"grey16.tif", grey, "-depth 16", 8, COMPRESSION_NONE, 1},
        {"grey8.tif", grey, "-depth 8 -compress LZW", 8, COMPRESSION_LZW, 0},
        {"grey4.tif", grey, "-depth 4", 4, COMPRESSION_NONE, 0},
        {"grey2.tif", grey, "-depth 2", 8, COMPRESSION_NONE, 0},
        {"palette.tif", colour, "-colors 50 -type Palette", 8, COMPRESSION_NONE, 0},
        {"palette4.tif", colour, "-colors 12 -type Palette -depth 4", 4, COMPRESSION_NONE, 0},
        {"miniswhite1.tif", mono, "-depth 1 -define quantum:polarity=min-is-white", 1, COMPRESSION_NONE, 0},
        {"miniswhite8.tif", grey, "-depth 8 -define quantum:polarity=min-is-white", 8, COMPRESSION_NONE, 0},
        {"rgba.tif", colour + " -alpha set -channel A -fx 'i/w' +channel", "-compress LZW", 24,
         COMPRESSION_LZW, 1},
        {"greyalpha.tif", grey + " -alpha set -channel A -fx 'j/h' +channel", "-depth 8", 8, COMPRESSION_NONE,
         1},
        {"cmyk.tif", colour, "-colorspace CMYK", 24, COMPRESSION_NONE, 2},
        {"cmyk-jpeg.tif", colour, "-colorspace CMYK -compress JPEG -quality 95", 24, COMPRESSION_JPEG, 2},
        {"cmyk16.tif", colour, "-colorspace CMYK -depth 16 -compress Zip", 24, COMPRESSION_ADOBE_DEFLATE, 1},
        {"cmyka16.tif", colour + " -colorspace CMYK -alpha set -channel A -fx 'i/w' +channel", "-depth 16",
         24, COMPRESSION_NONE, 1},
        // ImageMagick reads L*a*b* with another white point than our D65 one; far
        // bluish colours differ most. Swapped or unsigned a/b would be far off.
        {"lab.tif", colour, "-colorspace Lab", 24, COMPRESSION_NONE, 24},
    };
    for (const Variant& v : variants) {
        const std::string file = MakeTif(dir, v.name, v.source, v.options);
        const Image img = LoadTif(file);
        EXPECT_EQ(img.GetBpp(), v.bpp) << v.name;
        EXPECT_EQ(img.GetCodecOption(vimg::FORMAT_TIF), v.compression) << v.name;
        int w = 0, h = 0;
        const std::vector<uint8_t> ref = testsupport::ReferenceRGBA(file, &w, &h);
        EXPECT_LE(MaxDiff(ToRGBA(img), ref, true), v.tolerance) << v.name;
    }
    const Image white = LoadTif(dir.file("miniswhite1.tif"));
    EXPECT_EQ(white.GetPaletteColor(0), (vimg::RGBQUAD{255, 255, 255, 0}));
}

TEST(TiffCodec, OrientationsAreApplied) {
    TempDir dir;
    const char* names[] = {"TopLeft", "TopRight", "BottomRight", "BottomLeft",
                           "LeftTop", "RightTop", "RightBottom", "LeftBottom"};
    for (int o = 0; o < 8; ++o) {
        for (const char* kind : {"-colorspace Gray -depth 8", "-depth 8", "-monochrome"}) {
            const std::string file = MakeTif(dir, "o.tif", "-size 13x7 -seed 1 plasma:fractal",
                                             std::string(kind) + " -orient " + names[o]);
            const std::string upright = dir.file("upright.png");
            Make(Convert() + " " + Quote(file) + " -auto-orient " + Quote(upright));
            const Image img = LoadTif(file);
            EXPECT_EQ(img.GetWidth(), o >= 4 ? 7u : 13u) << names[o];
            EXPECT_EQ(MaxDiff(ToRGBA(img), testsupport::ReferenceRGBA(upright)), 0)
                << names[o] << " " << kind;
        }
    }
}

TEST(TiffCodec, ResolutionOffsetsAndPages) {
    TempDir dir;
    const std::string cm =
        MakeTif(dir, "cm.tif", "-size 8x8 xc:red", "-units PixelsPerCentimeter -density 118");
    EXPECT_EQ(LoadTif(cm).GetXDPI(), 300);
    const std::string inch =
        MakeTif(dir, "in.tif", "-size 8x8 xc:red", "-units PixelsPerInch -density 200x100");
    TIFF* tif = TIFFOpen(inch.c_str(), "r+");
    ASSERT_TRUE(tif);
    TIFFSetField(tif, TIFFTAG_XPOSITION, 12.7);
    TIFFSetField(tif, TIFFTAG_YPOSITION, 3.2);
    TIFFRewriteDirectory(tif);
    TIFFClose(tif);
    const Image img = LoadTif(inch);
    EXPECT_EQ(img.GetXDPI(), 200);
    EXPECT_EQ(img.GetYDPI(), 100);
    int32_t x = 0, y = 0;
    img.GetOffset(&x, &y);
    EXPECT_EQ(x, 12);
    EXPECT_EQ(y, 3);

    const std::string two = dir.file("two.tif");
    Make(Convert() + " -size 9x9 xc:red -size 9x9 xc:blue " + Quote(two));
    EXPECT_EQ(LoadTif(two, 1).GetPixelColor(0, 0, false), (vimg::RGBQUAD{255, 0, 0, 0}));
    Image third;
    third.SetFrame(2);
    EXPECT_FALSE(third.Load(two.c_str(), vimg::FORMAT_TIF));
    EXPECT_STREQ(third.GetLastError(), "Error: page not present in TIFF file");
    EXPECT_EQ(third.GetNumFrames(), 2);

    Image size;
    size.SetEscape(-1);
    ASSERT_TRUE(size.Load(two.c_str(), vimg::FORMAT_TIF));
    EXPECT_EQ(size.GetWidth(), 9u);
    EXPECT_STREQ(size.GetLastError(), "output dimensions returned");
}

TEST(TiffCodec, WriterRoundTrips) {
    TempDir dir;
    const Image colour =
        LoadTif(MakeTif(dir, "src.tif", "-size 41x27 -seed 6 plasma:fractal", "-compress None"));
    Image rgba(colour);
    ASSERT_TRUE(rgba.AlphaCreate());
    for (int x = 0; x < 41; ++x) rgba.AlphaSet(x, 5, static_cast<uint8_t>(x * 6));
    Image grey(41, 27, 8), pal8(41, 27, 8), pal4(41, 27, 4), grey4(41, 27, 4);
    grey.SetGrayPalette();
    pal8.SetStdPalette();
    pal4.SetStdPalette();
    grey4.SetGrayPalette();
    for (int y = 0; y < 27; ++y)
        for (int x = 0; x < 41; ++x) {
            grey.SetPixelIndex(x, y, static_cast<uint8_t>(x * y));
            pal8.SetPixelIndex(x, y, static_cast<uint8_t>(x + 3 * y));
            pal4.SetPixelIndex(x, y, static_cast<uint8_t>((x + y) % 16));
            grey4.SetPixelIndex(x, y, static_cast<uint8_t>((x * y) % 16));
        }
    Image greyAlpha(grey);
    ASSERT_TRUE(greyAlpha.AlphaCreate());
    greyAlpha.AlphaSet(3, 3, 7);
    struct Case {
        Image* img;
        uint32_t option;
        uint16_t compression, photometric;
    } cases[] = {
        {&rgba, COMPRESSION_LZW, COMPRESSION_LZW, PHOTOMETRIC_RGB},
        {const_cast<Image*>(&colour), COMPRESSION_PACKBITS, COMPRESSION_PACKBITS, PHOTOMETRIC_RGB},
        {const_cast<Image*>(&colour), COMPRESSION_ADOBE_DEFLATE, COMPRESSION_ADOBE_DEFLATE, PHOTOMETRIC_RGB},
        {&grey, 0, COMPRESSION_LZW, PHOTOMETRIC_MINISBLACK},
        {&grey4, 0, COMPRESSION_LZW, PHOTOMETRIC_MINISBLACK},
        {&pal8, 0, COMPRESSION_LZW, PHOTOMETRIC_PALETTE},
        {&pal4, COMPRESSION_NONE, COMPRESSION_NONE, PHOTOMETRIC_PALETTE},
        {&greyAlpha, COMPRESSION_LZW, COMPRESSION_LZW, PHOTOMETRIC_MINISBLACK},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string file = dir.file("rt" + std::to_string(n++) + ".tif");
        c.img->SetCodecOption(c.option, vimg::FORMAT_TIF);
        c.img->SetXDPI(240);
        ASSERT_TRUE(c.img->Save(file.c_str(), vimg::FORMAT_TIF)) << c.img->GetLastError();
        const Image back = LoadTif(file);
        EXPECT_EQ(MaxDiff(ToRGBA(back), ToRGBA(*c.img)), 0) << file;
        EXPECT_EQ(MaxDiff(testsupport::ReferenceRGBA(file), ToRGBA(*c.img), true), 0) << file;
        EXPECT_EQ(back.GetXDPI(), 240);
        EXPECT_EQ(back.GetCodecOption(vimg::FORMAT_TIF), c.compression);
        const Tags t = ReadTags(file);
        EXPECT_EQ(t.compression, c.compression) << file;
        EXPECT_EQ(t.photometric, c.photometric) << file;
        EXPECT_EQ(t.subfile, 0u);
        EXPECT_EQ(t.predictor, c.compression == COMPRESSION_LZW && c.img->GetBpp() >= 8 ? 2 : 1) << file;
    }

    // 24-bit images default to JPEG compression at the image's quality.
    Image jpegDefault(colour);
    jpegDefault.SetCodecOption(0, vimg::FORMAT_TIF);
    const std::string jpegFile = dir.file("jpeg.tif");
    ASSERT_TRUE(jpegDefault.Save(jpegFile.c_str(), vimg::FORMAT_TIF)) << jpegDefault.GetLastError();
    EXPECT_EQ(ReadTags(jpegFile).compression, COMPRESSION_JPEG);
    EXPECT_LE(MaxDiff(ToRGBA(LoadTif(jpegFile)), ToRGBA(colour)), 40);

    // An LZW file read and saved again stays LZW.
    const std::string lzw = MakeTif(dir, "lzw.tif", "-size 20x20 plasma:fractal", "-compress LZW");
    Image reread = LoadTif(lzw);
    const std::string again = dir.file("again.tif");
    ASSERT_TRUE(reread.Save(again.c_str(), vimg::FORMAT_TIF));
    EXPECT_EQ(ReadTags(again).compression, COMPRESSION_LZW);
}

TEST(TiffCodec, OneBitPhotometricRule) {
    TempDir dir;
    for (bool blackFirst : {false, true}) {
        Image mono(20, 3, 1);
        const uint8_t first = blackFirst ? 0 : 255;
        mono.SetPaletteColor(0, first, first, first);
        mono.SetPaletteColor(1, 255 - first, 255 - first, 255 - first);
        mono.SetPixelIndex(0, 2, 1); // top-left pixel uses entry 1
        const std::string file = dir.file(blackFirst ? "bw.tif" : "wb.tif");
        ASSERT_TRUE(mono.Save(file.c_str(), vimg::FORMAT_TIF)) << mono.GetLastError();
        const Tags t = ReadTags(file);
        EXPECT_EQ(t.photometric, PHOTOMETRIC_MINISWHITE);
        EXPECT_EQ(t.compression, COMPRESSION_CCITTFAX4);
        // White-first palettes are written as they are; black-first ones inverted.
        EXPECT_EQ(t.firstRow.at(0), blackFirst ? 0x7F : 0x80);
        // The image being saved is left as it was.
        EXPECT_EQ(mono.GetPaletteColor(0).rgbRed, first);
        EXPECT_EQ(mono.GetPixelIndex(0, 2), 1);
        EXPECT_EQ(MaxDiff(ToRGBA(LoadTif(file)), ToRGBA(mono)), 0);
        EXPECT_EQ(MaxDiff(testsupport::ReferenceRGBA(file), ToRGBA(mono)), 0);
    }
}

TEST(TiffCodec, MultipageWriting) {
    TempDir dir;
    Image a(12, 8, 24), b(30, 5, 8), c(7, 7, 1);
    a.Clear(200);
    b.SetGrayPalette();
    b.Clear(60);
    c.SetPaletteColor(0, 255, 255, 255);
    c.SetPaletteColor(1, 0, 0, 0);
    c.SetPixelIndex(3, 3, 1);
    a.SetCodecOption(COMPRESSION_LZW, vimg::FORMAT_TIF);
    Image* pages[] = {&a, &b, &c};

    const std::string file = dir.file("multi.tif");
    Image writer;
    FILE* fp = std::fopen(file.c_str(), "w+b");
    ASSERT_TRUE(writer.Encode(fp, pages, 3, vimg::FORMAT_TIF)) << writer.GetLastError();
    std::fclose(fp);
    for (int i = 0; i < 3; ++i) {
        const Image page = LoadTif(file, i);
        EXPECT_EQ(page.GetNumFrames(), 3);
        EXPECT_EQ(MaxDiff(ToRGBA(page), ToRGBA(*pages[i])), 0) << i;
        const Tags t = ReadTags(file, i);
        EXPECT_EQ(t.subfile, static_cast<uint32_t>(FILETYPE_PAGE));
        EXPECT_EQ(t.page, i + 1);
        EXPECT_EQ(t.pageName, "Page " + std::to_string(i + 1));
    }
    EXPECT_EQ(ReadTags(file, 0).compression, COMPRESSION_LZW);

    // Appending one page at a time into a memory stream.
    vimg::MemFile mem;
    ASSERT_TRUE(mem.Open());
    {
        ImageTIF appender;
        for (Image* p : pages) {
            appender.Ghost(p);
            ASSERT_TRUE(appender.Encode(&mem, true)) << appender.GetLastError();
            appender.Unghost();
        }
    }
    Image last;
    last.SetFrame(2);
    ASSERT_TRUE(last.Decode(mem.GetBuffer(false), static_cast<uint32_t>(mem.Size()), vimg::FORMAT_TIF));
    EXPECT_EQ(last.GetWidth(), 7u);
    EXPECT_EQ(last.GetNumFrames(), 3);

    Image err;
    EXPECT_FALSE(err.Encode(static_cast<vimg::File*>(&mem), pages, 0, vimg::FORMAT_TIF));
    EXPECT_STREQ(err.GetLastError(), "multipage TIFF, no images!");
    Image* withNull[] = {&a, nullptr};
    EXPECT_FALSE(err.Encode(static_cast<vimg::File*>(&mem), withNull, 2, vimg::FORMAT_TIF));
    EXPECT_STREQ(err.GetLastError(), "Bad image pointer");
    EXPECT_FALSE(err.Encode(static_cast<vimg::File*>(nullptr), pages, 3, vimg::FORMAT_TIF));
    EXPECT_STREQ(err.GetLastError(), "invalid file pointer");
}

TEST(TiffCodec, BadInput) {
    TempDir dir;
    Image bad;
    EXPECT_FALSE(DecodeBytes(bad, {'I', 'I', 42, 0, 0xFF, 0xFF, 0xFF, 0x7F}, vimg::FORMAT_TIF));
    EXPECT_STREQ(bad.GetLastError(), "Error encountered while opening TIFF file");

    MemoryCap cap(16u << 20);
    for (const char* options :
         {"-compress LZW", "-compress JPEG", "-define tiff:tile-geometry=16x16 -colorspace Gray",
          "-monochrome -compress Group4", "-colors 20 -type Palette"}) {
        const std::string file = MakeTif(dir, "f.tif", "-size 48x32 -seed 8 plasma:fractal", options);
        const std::vector<uint8_t> bytes = ReadFile(file);
        for (size_t cut = 0; cut < bytes.size(); cut += 53)
            ExpectSaneOutcome({bytes.begin(), bytes.begin() + static_cast<long>(cut)}, vimg::FORMAT_TIF,
                              "cut " + std::to_string(cut));
        for (unsigned seed = 0; seed < 600; ++seed)
        ExpectSaneOutcome(Corrupt(bytes, seed, 4), vimg::FORMAT_TIF, "seed " + std::to_string(seed));
    }
}

namespace {

// The raw samples of `file` in reading order: ImageMagick's 16-bit values
// brought back to `bits` (exact for 12 bits), or Pillow's numbers.
std::vector<double> RawSamples(const std::string& file, const char* how, int bits = 0) {
    std::string text;
    if (std::string(how) == "pillow") {
        const std::string script = "import sys; from PIL import Image; im = Image.open(sys.argv[1]); "
                                   "print(' '.join(repr(float(v)) for v in im.getdata()))";
        EXPECT_EQ(testsupport::Run("/usr/bin/python3 -c " + Quote(script) + " " + Quote(file), &text), 0);
    } else {
        const std::string raw = file + ".raw";
        EXPECT_EQ(testsupport::Run(Convert() + " " + Quote(file) + " -depth 16 -endian LSB " +
                                   Quote(std::string(how) + ":" + raw)),
                  0);
        const std::vector<uint8_t> bytes = ReadFile(raw);
        std::vector<double> out;
        const double top = std::ldexp(1.0, bits) - 1;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            out.push_back(std::floor((bytes[i] | (bytes[i + 1] << 8)) * top / 65535.0 + 0.5));
        return out;
    }
    std::vector<double> out;
    std::istringstream in(text);
    for (double v; in >> v;) out.push_back(v);
    return out;
}

} // namespace

// Scientific cameras write 12-bit, 32-bit integer and floating-point grey; they
// were refused. Integers spanning their type keep its scale, anything else maps
// the picture's own minimum..maximum onto 0..255 and says so.
TEST(TiffCodec, DeepSamplesMapTheirRangeOnto8Bits) {
    if (!testsupport::HaveImageMagick() || !HavePillow()) GTEST_SKIP() << "ImageMagick or Pillow missing";
    TempDir dir;
    const std::string pillow = "from PIL import Image; import sys; ";
    ASSERT_EQ(
        testsupport::Run(
            "/usr/bin/python3 -c " +
            Quote(pillow + "im = Image.new('I', (7, 5)); im.putdata([-1000 + i * 99991 for i in range(35)]); "
                           "im.save(sys.argv[1]); im = Image.new('F', (7, 5)); "
                           "im.putdata([-0.5 + i * 0.137 for i in range(35)]); im.save(sys.argv[2])") +
            " " + Quote(dir.file("i32.tif")) + " " + Quote(dir.file("f32.tif"))),
        0);
    const struct {
        std::string file;
        const char* how;
        int bits;
        bool stretched;
        int tolerance;
    } cases[] = {
        {MakeTif(dir, "g12.tif", "-size 7x5 gradient:gray20-gray70", "-depth 12"), "gray", 12, true, 0},
        {MakeTif(dir, "g12full.tif", "-size 7x5 gradient:black-white", "-depth 12"), "gray", 12, false, 0},
        {MakeTif(dir, "rgb12.tif", "-size 7x5 gradient:'rgb(30,60,90)-rgb(200,150,100)'", "-depth 12"), "rgb",
         12, true, 0},
        {MakeTif(dir, "u32.tif", "-size 7x5 gradient:gray20-gray70", "-depth 32"), "gray", 32, true, 1},
        {dir.file("i32.tif"), "pillow", 32, true, 0},
        {dir.file("f32.tif"), "pillow", 32, true, 0},
    };
    for (const auto& c : cases) {
        const Image img = LoadTif(c.file);
        const std::vector<double> raw = RawSamples(c.file, c.how, c.bits);
        const bool rgb = std::string(c.how) == "rgb";
        ASSERT_EQ(raw.size(), img.GetWidth() * img.GetHeight() * (rgb ? 3u : 1u)) << c.file;
        const double low = *std::min_element(raw.begin(), raw.end()),
                     high = *std::max_element(raw.begin(), raw.end());
        double gotLow = 0, gotHigh = 0;
        EXPECT_EQ(img.GetSampleRange(&gotLow, &gotHigh), c.stretched) << c.file;
        if (c.stretched && c.tolerance == 0) {
            EXPECT_EQ(gotLow, low) << c.file;
            EXPECT_EQ(gotHigh, high) << c.file;
        }
        const double from = c.stretched ? low : 0, to = c.stretched ? high : std::ldexp(1.0, c.bits) - 1;
        const std::vector<uint8_t> ours = ToRGBA(img);
        int bad = 0;
        for (size_t i = 0; i < raw.size() && bad < 5; ++i) {
            const int want = static_cast<int>(std::floor((raw[i] - from) / (to - from) * 255.0 + 0.5));
            const int got = ours[rgb ? (i / 3) * 4 + i % 3 : i * 4];
            if (std::abs(got - want) > c.tolerance && ++bad)
                ADD_FAILURE() << c.file << " sample " << i << " value " << raw[i] << ": " << got << " not "
                              << want;
        }
    }
    std::string info;
    ASSERT_EQ(testsupport::Run(std::string(VISTOREL_CLI) + " info " + Quote(dir.file("g12.tif")), &info), 0);
    EXPECT_NE(info.find("sample range: 819..2874\n"), std::string::npos) << info;
}

// Floating-point pictures often hold not-a-number and infinite samples: they
// stay out of the range; NaN shows black, infinities the range's ends.
TEST(TiffCodec, FloatSamplesThatAreNotNumbers) {
    if (!HavePillow()) GTEST_SKIP() << "Pillow is not installed";
    TempDir dir;
    const std::string file = dir.file("nan.tif");
    ASSERT_EQ(
        testsupport::Run(
            "/usr/bin/python3 -c " +
            Quote("from PIL import Image; import sys; im = Image.new('F', (5, 1)); "
                  "im.putdata([float('nan'), float('inf'), -float('inf'), 1.0, 3.0]); im.save(sys.argv[1])") +
            " " + Quote(file)),
        0);
    const Image img = LoadTif(file);
    double low = 0, high = 0;
    ASSERT_TRUE(img.GetSampleRange(&low, &high));
    EXPECT_EQ(low, 1.0);
    EXPECT_EQ(high, 3.0);
    const int want[5] = {0, 255, 0, 0, 255};
    for (int x = 0; x < 5; ++x) EXPECT_EQ(img.GetPixelIndex(x, 0), want[x]) << x;
}
