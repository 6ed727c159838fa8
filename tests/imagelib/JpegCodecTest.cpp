// JPEG codec and EXIF reader: decoding against ImageMagick, EXIF fields against
// exiftool, writer options, EXIF carried over on saving, and hostile input.
#include "CodecTestSupport.h"
#include "MemFile.h"

#include "codecs/ExifReader.h"
#include "codecs/ImageJPG.h"
#include "IOFile.h"

#include <cmath>
#include <cstring>

using namespace testsupport;
using testsupport::Convert;
using testsupport::Quote;
using testsupport::ReadFile;

using testsupport::TempDir;
using vimg::ExifInfo;
using vimg::Image;
using vimg::ImageJPG;

namespace {

// A minimal EXIF block (APP1 segment) with IFD0 entries and an optional EXIF sub-directory.
struct ExifEntry {
    uint16_t tag, format;
    uint32_t count;
    std::vector<uint8_t> value; // the bytes in the block's byte order
};

class ExifBuilder {
public:
    explicit ExifBuilder(bool motorola) : m_mm(motorola) {}
    std::vector<uint8_t> U16(uint32_t v) const {
        return m_mm ? std::vector<uint8_t>{uint8_t(v >> 8), uint8_t(v)}
                    : std::vector<uint8_t>{uint8_t(v), uint8_t(v >> 8)};
    }
    std::vector<uint8_t> U32(uint32_t v) const {
        std::vector<uint8_t> b = U16(m_mm ? v >> 16 : v), c = U16(m_mm ? v : v >> 16);
        b.insert(b.end(), c.begin(), c.end());
        return b;
    }
    std::vector<uint8_t> Rational(uint32_t n, uint32_t d) const {
        std::vector<uint8_t> b = U32(n), c = U32(d);
        b.insert(b.end(), c.begin(), c.end());
        return b;
    }
    // The TIFF-structured body: header, IFD0, then the sub-directory, then out-of-line values.
    std::vector<uint8_t> Body(const std::vector<ExifEntry>& ifd0, const std::vector<ExifEntry>& sub) const {
        const uint32_t ifd0Size = 2 + 12 * uint32_t(ifd0.size() + (sub.empty() ? 0 : 1)) + 4;
        const uint32_t subOffset = 8 + ifd0Size;
        const uint32_t subSize = sub.empty() ? 0 : 2 + 12 * uint32_t(sub.size()) + 4;
        uint32_t dataOffset = subOffset + subSize;
        std::vector<uint8_t> out = {uint8_t(m_mm ? 'M' : 'I'), uint8_t(m_mm ? 'M' : 'I')};
        Append(out, U16(42));
        Append(out, U32(8));
        std::vector<uint8_t> data;
        auto writeDir = [&](std::vector<ExifEntry> entries, bool link) {
            if (link) entries.push_back({0x8769, 4, 1, U32(subOffset)});
            Append(out, U16(uint32_t(entries.size())));
            for (const ExifEntry& e : entries) {
                Append(out, U16(e.tag));
                Append(out, U16(e.format));
                Append(out, U32(e.count));
                if (e.value.size() <= 4) {
                    std::vector<uint8_t> v = e.value;
                    v.resize(4, 0);
                    Append(out, v);
                } else {
                    Append(out, U32(dataOffset + uint32_t(data.size())));
                    Append(data, e.value);
                }
            }
            Append(out, U32(0));
        };
        writeDir(ifd0, !sub.empty());
        if (!sub.empty()) writeDir(sub, false);
        Append(out, data);
        return out;
    }
    static std::vector<uint8_t> Segment(const std::vector<uint8_t>& body) {
        std::vector<uint8_t> seg = {0xFF, 0xE1, 0, 0, 'E', 'x', 'i', 'f', 0, 0};
        Append(seg, body);
        const size_t len = seg.size() - 2;
        seg[2] = uint8_t(len >> 8);
        seg[3] = uint8_t(len);
        return seg;
    }
    static void Append(std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
        a.insert(a.end(), b.begin(), b.end());
    }

private:
    bool m_mm;
};

std::vector<uint8_t> Text(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end() + 1); }

// A small JPEG from our own writer, with `segment` inserted right after its start marker.
std::vector<uint8_t> JpegWith(const std::vector<uint8_t>& segment) {
    Image img(16, 8, 24);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            img.SetPixelColor(x, y, vimg::RGBQUAD{uint8_t(x * 16), uint8_t(y * 30), 128, 0});
    uint8_t* buf = nullptr;
    int32_t size = 0;
    EXPECT_TRUE(img.Encode(buf, size, vimg::FORMAT_JPG)) << img.GetLastError();
    std::vector<uint8_t> bytes(buf, buf + size);
    Image::FreeMemory(buf);
    bytes.insert(bytes.begin() + 2, segment.begin(), segment.end());
    return bytes;
}

// The EXIF record our reader makes of `bytes`.
ExifInfo ReadExif(std::vector<uint8_t> bytes, bool* found = nullptr, std::string* error = nullptr) {
    vimg::MemFile file(bytes.data(), uint32_t(bytes.size()));
    ImageJPG jpg;
    const bool ok = jpg.DecodeExif(&file);
    if (found) *found = ok;
    if (error) *error = jpg.GetExifReader() ? jpg.GetExifReader()->GetLastError() : "";
    EXPECT_EQ(file.Tell(), 0) << "DecodeExif seeks back";
    return jpg.GetExifInfo();
}

std::string ExifTool(const std::string& file, const std::string& tag) {
    std::string out;
    testsupport::Run("exiftool -s3 -n -" + tag + " " + Quote(file), &out);
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
    return out;
}

} // namespace

TEST(JpegCodec, DecodesLikeImageMagick) {
    TempDir dir;
    struct Variant {
        const char* name;
        const char* options;
        int tolerance;
    } variants[] = {
        {"baseline.jpg", "-quality 90", 1},
        {"progressive.jpg", "-interlace Plane -quality 85", 1},
        {"grey.jpg", "-colorspace Gray -quality 90", 0},
        {"h1v1.jpg", "-sampling-factor 1x1 -quality 95", 1},
        {"restart.jpg", "-define jpeg:restart-interval=2 -quality 80", 1},
        {"cmyk.jpg", "-colorspace CMYK -quality 95", 2},
    };
    for (const Variant& v : variants) {
        const std::string file = dir.file(v.name);
        Make(Convert() + " -size 67x45 -seed 7 plasma:fractal " + v.options + " " + Quote(file));
        EXPECT_LE(DiffToReference(file, vimg::FORMAT_JPG), v.tolerance) << v.name;
    }
}

TEST(JpegCodec, DecodeOptionsScaleAndSizeOnly) {
    TempDir dir;
    const std::string file = dir.file("a.jpg");
    Make(Convert() + " -size 80x48 gradient:red-blue " + Quote(file));

    Image scaled;
    scaled.SetJpegScale(4);
    ASSERT_TRUE(scaled.Load(file.c_str(), vimg::FORMAT_JPG));
    EXPECT_EQ(scaled.GetWidth(), 20u);
    EXPECT_EQ(scaled.GetHeight(), 12u);

    Image size;
    size.SetEscape(-1);
    ASSERT_TRUE(size.Load(file.c_str(), vimg::FORMAT_JPG));
    EXPECT_EQ(size.GetWidth(), 80u);
    EXPECT_FALSE(size.IsValid());

    Image grey;
    grey.SetCodecOption(ImageJPG::DECODE_GRAYSCALE, vimg::FORMAT_JPG);
    ASSERT_TRUE(grey.Load(file.c_str(), vimg::FORMAT_JPG));
    EXPECT_EQ(grey.GetBpp(), 8u);
    EXPECT_TRUE(grey.IsGrayScale());

    Image quant;
    quant.SetCodecOption(ImageJPG::DECODE_QUANTIZE | ImageJPG::DECODE_ONEPASS, vimg::FORMAT_JPG);
    quant.SetJpegQuality(16);
    ASSERT_TRUE(quant.Load(file.c_str(), vimg::FORMAT_JPG)) << quant.GetLastError();
    EXPECT_EQ(quant.GetBpp(), 8u);
    int maxIndex = 0;
    for (uint32_t y = 0; y < quant.GetHeight(); ++y)
        for (uint32_t x = 0; x < quant.GetWidth(); ++x)
            maxIndex = std::max<int>(maxIndex, quant.GetPixelIndex(x, y));
    EXPECT_LT(maxIndex, 16);
}

TEST(JpegCodec, DpiFromJfifAndExif) {
    TempDir dir;
    const std::string cm = dir.file("cm.jpg"), inch = dir.file("in.jpg"), aspect = dir.file("aspect.jpg");
    Make(Convert() + " -size 8x8 xc:white -units PixelsPerCentimeter -density 118 " + Quote(cm));
    Make(Convert() + " -size 8x8 xc:white -units PixelsPerInch -density 150x75 " + Quote(inch));
    Make(Convert() + " -size 8x8 xc:white " + Quote(aspect));
    Image img;
    ASSERT_TRUE(img.Load(cm.c_str(), vimg::FORMAT_JPG));
    EXPECT_EQ(img.GetXDPI(), 300);
    ASSERT_TRUE(img.Load(inch.c_str(), vimg::FORMAT_JPG));
    EXPECT_EQ(img.GetXDPI(), 150);
    EXPECT_EQ(img.GetYDPI(), 75);
    // A JFIF header that gives only the pixel aspect ratio says nothing about DPI.
    Image plain;
    ASSERT_TRUE(plain.Load(aspect.c_str(), vimg::FORMAT_JPG));
    EXPECT_EQ(plain.GetXDPI(), 96);

    // The EXIF resolution wins over the JFIF density.
    Make("exiftool -q -overwrite_original -XResolution=200 -YResolution=100 -ResolutionUnit=inches " +
         Quote(inch));
    ASSERT_TRUE(img.Load(inch.c_str(), vimg::FORMAT_JPG));
    EXPECT_EQ(img.GetXDPI(), 200);
    EXPECT_EQ(img.GetYDPI(), 100);
}

TEST(ExifReader, FieldsMatchExiftoolInBothByteOrders) {
    TempDir dir;
    for (const char* order : {"II", "MM"}) {
        const std::string file = dir.file(std::string(order) + ".jpg");
        Make(Convert() + " -size 40x30 xc:gray " + Quote(file));
        Make("exiftool -q -overwrite_original -ExifByteOrder=" + std::string(order) +
             " -Make=Acme -Model='Microscope Z1' -DateTimeOriginal='2024:05:06 07:08:09' -Orientation#=6"
             " -ISO=2 -ExposureTime=0.004 -FNumber=5.6 -FocalLength=12.5 -EXIF:Flash#=1 -MeteringMode#=5"
             " -ExposureProgram#=2 -ExposureCompensation=-0.5 -SubjectDistance=1.25 -LightSource#=3"
             " -XResolution=240 -YResolution=240 -ResolutionUnit=cm -FocalPlaneXResolution=2000"
             " -FocalPlaneYResolution=2000 -FocalPlaneResolutionUnit#=2 -ExifImageWidth=4000"
             " -ExifImageHeight=3000 -BrightnessValue=1.5 -CompressedBitsPerPixel=4 -UserComment='sample 17'"
             " -ExifVersion=0231 " + Quote(file));
        bool found = false;
        const ExifInfo e = ReadExif(ReadFile(file), &found);
        ASSERT_TRUE(found) << order;
        EXPECT_STREQ(e.cameraMake, ExifTool(file, "Make").c_str());
        EXPECT_STREQ(e.cameraModel, "Microscope Z1");
        EXPECT_STREQ(e.dateTime, "2024:05:06 07:08:09");
        EXPECT_STREQ(e.version, "0231");
        EXPECT_EQ(e.orientation, 6);
        EXPECT_EQ(e.isoEquivalent, 400); // values below 50 are scaled
        EXPECT_NEAR(e.exposureTime, std::stod(ExifTool(file, "ExposureTime")), 1e-6);
        EXPECT_NEAR(e.apertureFNumber, 5.6, 1e-5);
        EXPECT_NEAR(e.focalLength, 12.5, 1e-5);
        EXPECT_EQ(e.flashUsed, 1);
        EXPECT_EQ(e.meteringMode, 5);
        EXPECT_EQ(e.exposureProgram, 2);
        EXPECT_EQ(e.whiteBalance, 3);
        EXPECT_NEAR(e.exposureBias, -0.5, 1e-6);
        EXPECT_NEAR(e.distance, 1.25, 1e-6);
        EXPECT_NEAR(e.xResolution, 240, 1e-6);
        EXPECT_NEAR(e.resolutionUnit, 0.3937, 1e-6);
        EXPECT_NEAR(e.brightness, 1.5, 1e-6);
        EXPECT_EQ(e.compressionLevel, 4);
        EXPECT_NEAR(e.focalPlaneUnits, 1.0, 1e-6);
        EXPECT_NEAR(e.ccdWidth, 4000 * 1.0 / 2000, 1e-5);
        EXPECT_STREQ(e.comments, "sample 17");
        EXPECT_EQ(e.width, 40);
        EXPECT_EQ(e.height, 30);
        EXPECT_EQ(e.isColor, 0);
        EXPECT_EQ(e.process, 0xC0);

        // Resolution in dots per centimetre becomes DPI through the unit.
        Image img;
        ASSERT_TRUE(img.Load(file.c_str(), vimg::FORMAT_JPG));
        EXPECT_EQ(img.GetXDPI(), int(240 / 0.3937f));
    }
}

TEST(ExifReader, CommentsAndDerivedValues) {
    TempDir dir;
    const std::string file = dir.file("c.jpg");
    Make(Convert() + " -size 8x8 xc:red -set comment 'line one\r\nline\x01two' " + Quote(file));
    bool found = true;
    ExifInfo e = ReadExif(ReadFile(file), &found);
    EXPECT_FALSE(found); // a comment without an EXIF block
    EXPECT_STREQ(e.comments, "line one\nline?two");
    EXPECT_EQ(e.isColor, 1);

    // APEX shutter speed and aperture when the direct values are absent.
    ExifBuilder b(false);
    e = ReadExif(JpegWith(ExifBuilder::Segment(b.Body({}, {{0x9201, 10, 1, b.Rational(7, 1)},
                                                            {0x9202, 5, 1, b.Rational(4, 1)}}))));
    EXPECT_NEAR(e.exposureTime, 1.0 / 128, 1e-7);
    EXPECT_NEAR(e.apertureFNumber, 4.0, 1e-6);

    // A long comment marker is cut to the record's size.
    const std::string longText(2000, 'x');
    std::vector<uint8_t> com(longText.size() + 4, 'x');
    com[0] = 0xFF;
    com[1] = 0xFE;
    com[2] = uint8_t((longText.size() + 2) >> 8);
    com[3] = uint8_t(longText.size() + 2);
    e = ReadExif(JpegWith(com));
    EXPECT_EQ(std::strlen(e.comments), sizeof(e.comments) - 1);
}

TEST(ExifReader, NoExifAndBadValues) {
    TempDir dir;
    const std::string file = dir.file("plain.jpg");
    Make(Convert() + " -size 8x8 xc:blue " + Quote(file));
    bool found = true;
    const ExifInfo plain = ReadExif(ReadFile(file), &found);
    EXPECT_FALSE(found);
    ExifInfo zero;
    std::memset(&zero, 0, sizeof(zero));
    zero.width = zero.height = 8;
    zero.isColor = 1;
    zero.process = 0xC0;
    EXPECT_EQ(std::memcmp(&plain, &zero, sizeof(zero)), 0);

    ExifBuilder b(true);
    std::string error;
    const ExifInfo e =
        ReadExif(JpegWith(ExifBuilder::Segment(b.Body({{0x0112, 3, 1, b.U16(9)}}, {}))), &found, &error);
    EXPECT_TRUE(found);
    EXPECT_EQ(e.orientation, 0);
    EXPECT_EQ(error, "Undefined rotation value");
}

TEST(ExifReader, HostileBlocksFailWithTheirTexts) {
    ExifBuilder b(false);
    const std::vector<uint8_t> good = b.Body({{0x010F, 2, 5, Text("Acme")}}, {});
    struct Case {
        std::vector<uint8_t> body;
        const char* error;
    };
    std::vector<uint8_t> badOrder = good;
    badOrder[0] = 'X';
    std::vector<uint8_t> bad42 = good;
    bad42[2] = 43;
    std::vector<uint8_t> bigDir = good;
    bigDir[8] = 0xFF; // entry count far beyond the block
    std::vector<uint8_t> badFormat = b.Body({{0x010F, 13, 1, {1}}}, {});
    std::vector<uint8_t> badOffset = b.Body({{0x010F, 2, 0x100000, Text("AcmeCorp")}}, {});
    std::vector<uint8_t> badSub = b.Body({{0x8769, 4, 1, b.U32(0x7FFFFF)}}, {});
    // IFD0 (one entry, the link) ends at 26, where the sub-directory links to itself.
    std::vector<uint8_t> selfLoop = b.Body({}, {{0x8769, 4, 1, b.U32(26)}});
    const Case cases[] = {
        {badOrder, "Invalid Exif alignment marker."},
        {bad42, "Invalid Exif start (1)"},
        {bigDir, "Illegally sized directory"},
        {badFormat, "Illegal format code in EXIF dir"},
        {badOffset, "Illegal pointer offset value in EXIF."},
        {badSub, "Illegal subdirectory link"},
    };
    for (const Case& c : cases) {
        bool found = true;
        std::string error;
        ReadExif(JpegWith(ExifBuilder::Segment(c.body)), &found, &error);
        EXPECT_FALSE(found) << c.error;
        EXPECT_EQ(error, c.error);
    }
    std::vector<uint8_t> header = ExifBuilder::Segment(good);
    header[8] = 'x'; // "Exif\0x"
    bool found = true;
    std::string error;
    ReadExif(JpegWith(header), &found, &error);
    EXPECT_EQ(error, "Incorrect Exif header");
    // A directory is read once: links that reach it again (which could multiply
    // the work without end) are refused, and so is a directory that links to itself.
    const uint32_t subOffset = 8 + 2 + 12 * 401 + 4; // after IFD0's 400 entries and the builder's link
    const std::vector<ExifEntry> fan(400, ExifEntry{0x8769, 4, 1, b.U32(subOffset)});
    ReadExif(JpegWith(ExifBuilder::Segment(b.Body(fan, {{0x9000, 7, 4, {'0', '2', '3', '0'}}}))), &found,
             &error);
    EXPECT_FALSE(found);
    EXPECT_EQ(error, "Illegal subdirectory link");
    ReadExif(JpegWith(ExifBuilder::Segment(selfLoop)), &found, &error);
    EXPECT_FALSE(found);
    EXPECT_EQ(error, "Illegal subdirectory link");

    // Random bytes over a whole EXIF block and over the section structure.
    const std::vector<uint8_t> full = JpegWith(ExifBuilder::Segment(
        b.Body({{0x010F, 2, 5, Text("Acme")}, {0x011A, 5, 1, b.Rational(300, 1)}},
               {{0x829A, 5, 1, b.Rational(1, 250)}, {0x9286, 7, 16, Text("ASCII\0\0\0comment")}})));
    for (unsigned seed = 0; seed < 3000; ++seed) ReadExif(Corrupt(full, seed, 2));
}

TEST(JpegCodec, EncoderOptionsAndLimits) {
    TempDir dir;
    Image img(50, 30, 24);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 50; ++x)
            img.SetPixelColor(x, y, vimg::RGBQUAD{uint8_t(x * 5), uint8_t(y * 8), uint8_t(x ^ y), 0});
    img.SetXDPI(300);
    img.SetYDPI(150);
    struct Variant {
        uint32_t options;
        const char* expectMarker; // the frame marker ImageMagick's identify reports through the process
        const char* identify;
    } variants[] = {
        {0, "%[jpeg:sampling-factor]", "2x2,1x1,1x1"},
        {ImageJPG::ENCODE_PROGRESSIVE, "%[interlace]", "JPEG"},
        {ImageJPG::ENCODE_GRAYSCALE, "%[colorspace]", "Gray"},
        {ImageJPG::ENCODE_OPTIMIZE | ImageJPG::ENCODE_BASELINE | ImageJPG::ENCODE_SMOOTHING, "%[colorspace]",
         "sRGB"},
    };
    for (const Variant& v : variants) {
        const std::string file = dir.file("o" + std::to_string(v.options) + ".jpg");
        img.SetCodecOption(v.options, vimg::FORMAT_JPG);
        ASSERT_TRUE(img.Save(file.c_str(), vimg::FORMAT_JPG)) << img.GetLastError();
        std::string out;
        testsupport::Run(
            "/usr/bin/identify -format '" + std::string(v.expectMarker) + " %x %y' " + Quote(file), &out);
        EXPECT_EQ(out, std::string(v.identify) + " 300 150") << v.options;
        EXPECT_LE(DiffToReference(file, vimg::FORMAT_JPG), 0)
            << "our decoder agrees with ImageMagick on our file";
    }

    // Arithmetic coding writes the SOF9 frame marker.
    img.SetCodecOption(ImageJPG::ENCODE_ARITHMETIC, vimg::FORMAT_JPG);
    const std::string arith = dir.file("arith.jpg");
    ASSERT_TRUE(img.Save(arith.c_str(), vimg::FORMAT_JPG)) << img.GetLastError();
    const std::vector<uint8_t> bytes = ReadFile(arith);
    bool sof9 = false;
    for (size_t i = 0; i + 1 < bytes.size(); ++i) sof9 |= bytes[i] == 0xFF && bytes[i + 1] == 0xC9;
    EXPECT_TRUE(sof9);
    Image back;
    ASSERT_TRUE(back.Load(arith.c_str(), vimg::FORMAT_JPG));
    EXPECT_LE(MaxDiff(ToRGBA(back), ToRGBA(img)), 40);

    // Quality steers the size; a grey-palette image is written with one component.
    img.SetCodecOption(0, vimg::FORMAT_JPG);
    img.SetJpegQuality(50);
    uint8_t* low = nullptr;
    int32_t lowSize = 0;
    ASSERT_TRUE(img.Encode(low, lowSize, vimg::FORMAT_JPG));
    img.SetJpegQuality(98);
    uint8_t* high = nullptr;
    int32_t highSize = 0;
    ASSERT_TRUE(img.Encode(high, highSize, vimg::FORMAT_JPG));
    EXPECT_LT(lowSize * 3, highSize * 2);
    Image::FreeMemory(low);
    Image::FreeMemory(high);

    Image grey(10, 10, 8);
    grey.SetGrayPalette();
    const std::string greyFile = dir.file("g.jpg");
    ASSERT_TRUE(grey.Save(greyFile.c_str(), vimg::FORMAT_JPG));
    std::string channels;
    testsupport::Run("/usr/bin/identify -format '%[channels]' " + Quote(greyFile), &channels);
    EXPECT_EQ(channels, "gray");

    Image four(10, 10, 4);
    four.SetStdPalette();
    EXPECT_FALSE(four.Save(dir.file("f.jpg").c_str(), vimg::FORMAT_JPG));
    EXPECT_STREQ(four.GetLastError(), "JPEG can save only RGB or GreyScale images");
}

TEST(JpegCodec, SavingKeepsTheExifBlock) {
    TempDir dir;
    const std::string in = dir.file("in.jpg"), out = dir.file("out.jpg");
    Make(Convert() + " -size 32x24 gradient:green-yellow -set comment 'kept comment' " + Quote(in));
    Make("exiftool -q -overwrite_original -Orientation#=3 -Model=Z2 -ISO=800 " + Quote(in));

    ImageJPG jpg;
    vimg::IOFile src;
    ASSERT_TRUE(src.Open(in.c_str(), "rb"));
    ASSERT_TRUE(jpg.Decode(&src)) << jpg.GetLastError();
    // Through Save (a write-only file) as the document does.
    FILE* fp = std::fopen(out.c_str(), "wb");
    ASSERT_TRUE(jpg.Encode(fp)) << jpg.GetLastError();
    std::fclose(fp);

    const std::vector<uint8_t> bytes = ReadFile(out);
    ASSERT_GT(bytes.size(), 12u);
    EXPECT_EQ(bytes[2], 0xFF);
    EXPECT_EQ(bytes[3], 0xE1);
    EXPECT_EQ(std::memcmp(bytes.data() + 6, "Exif", 4), 0);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()).find("JFIF"), std::string::npos);
    EXPECT_EQ(ExifTool(out, "Orientation"), "3");
    EXPECT_EQ(ExifTool(out, "Model"), "Z2");
    EXPECT_EQ(ExifTool(out, "ISO"), "800");
    EXPECT_EQ(ExifTool(out, "Comment"), "kept comment");
    EXPECT_LE(DiffToReference(out, vimg::FORMAT_JPG), 0);
    EXPECT_LE(MaxDiff(ToRGBA(jpg), testsupport::ReferenceRGBA(out)), 12);
}

TEST(JpegCodec, TruncatedAndCorruptFiles) {
    TempDir dir;
    const std::string file = dir.file("t.jpg");
    Make(Convert() + " -size 120x90 -seed 3 plasma:fractal -quality 90 " + Quote(file));
    Make("exiftool -q -overwrite_original -Make=Acme -Orientation#=1 " + Quote(file));
    const std::vector<uint8_t> bytes = ReadFile(file);

    // Cut in the image data: the missing end is made up, the size is right.
    std::vector<uint8_t> half(bytes.begin(), bytes.begin() + bytes.size() * 3 / 4);
    Image img;
    ASSERT_TRUE(img.Decode(half.data(), uint32_t(half.size()), vimg::FORMAT_JPG)) << img.GetLastError();
    EXPECT_EQ(img.GetWidth(), 120u);

    Image bad;
    EXPECT_FALSE(DecodeBytes(bad, {}, vimg::FORMAT_JPG));
    EXPECT_STREQ(bad.GetLastError(), "Empty input file");
    EXPECT_FALSE(DecodeBytes(bad, {0x89, 'P', 'N', 'G', 0, 0, 0, 0}, vimg::FORMAT_JPG));
    EXPECT_NE(std::string(bad.GetLastError()).find("Not a JPEG file"), std::string::npos)
        << bad.GetLastError();

    MemoryCap cap(16u << 20);
    for (size_t cut = 0; cut < bytes.size(); cut += 97)
        ExpectSaneOutcome({bytes.begin(), bytes.begin() + static_cast<long>(cut)}, vimg::FORMAT_JPG,
                          "cut " + std::to_string(cut));
    for (unsigned seed = 0; seed < 1500; ++seed)
        ExpectSaneOutcome(Corrupt(bytes, seed, 2), vimg::FORMAT_JPG, "seed " + std::to_string(seed));
}
