// Calibration (micrometres per pixel) and camera name written into TIFF, PNG,
// JPEG and BMP files, read back by our codecs and by independent readers
// (exiftool, Pillow). ImageJ's own reading is tested with the captured stills.
#include <gtest/gtest.h>

#include <string>

#include "codecs/CalibrationTags.h"
#include "Image.h"
#include "ImageTypes.h"
#include "TestSupport.h"

using testsupport::Quote;

using testsupport::TempDir;

namespace {

vimg::Image Stamped(double micrometres, const char* camera) {
    vimg::Image image;
    image.Create(40, 30, 24, vimg::FORMAT_BMP);
    for (uint32_t y = 0; y < 30; ++y)
        for (uint32_t x = 0; x < 40; ++x) {
            uint8_t* p = image.GetBits(y) + 3 * x;
            p[0] = static_cast<uint8_t>(x * 6);
            p[1] = static_cast<uint8_t>(y * 8);
            p[2] = 100;
        }
    image.SetPixelSize(micrometres);
    image.SetCameraName(camera);
    return image;
}

// exiftool's numeric value of one tag ("-Group:Tag"), empty when missing.
std::string Exif(const std::string& file, const std::string& tag) {
    std::string out;
    if (testsupport::Run("exiftool -s3 -n " + tag + " " + Quote(file) + " 2>/dev/null", &out) != 0) return {};
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

bool HaveExiftool() { return testsupport::Run("exiftool -ver >/dev/null 2>&1") == 0; }

struct Case {
    uint32_t type;
    const char* name;
};

} // namespace

TEST(CalibrationMetadata, TextsParseOnlyWhatTheyWrite) {
    EXPECT_DOUBLE_EQ(vimg::ParsePixelSizeText(vimg::PixelSizeText(0.123456789).c_str()), 0.123456789);
    EXPECT_EQ(vimg::ParsePixelSizeText("Pixel size: 2.5 mm"), 0);
    EXPECT_EQ(vimg::ParsePixelSizeText("Pixel size: -3 um"), 0);
    EXPECT_EQ(vimg::ParsePixelSizeText("A holiday photo"), 0);
    EXPECT_EQ(vimg::ParsePixelSizeText(nullptr), 0);
    // ImageJ's reading: "um" converts a centimetre resolution, "micron" does not.
    EXPECT_DOUBLE_EQ(vimg::ImageJPixelSize("ImageJ=\nunit=um\n", 4000, true), 2.5);
    EXPECT_NEAR(vimg::ImageJPixelSize("ImageJ=1.52i\nunit=micron\n", 0.4f, false), 2.5, 1e-6);
    EXPECT_EQ(vimg::ImageJPixelSize("ImageJ=\nunit=mm\n", 4000, true), 0);
    EXPECT_EQ(vimg::ImageJPixelSize("unit=um\n", 4000, true), 0);
    EXPECT_EQ(vimg::ImageJPixelSize("ImageJ=\nunit=um\n", 0, true), 0);
}

TEST(CalibrationMetadata, EveryStillFormatKeepsPixelSizeAndCamera) {
    TempDir dir;
    for (const Case& c : {Case{vimg::FORMAT_TIF, "s.tif"}, Case{vimg::FORMAT_PNG, "s.png"},
                          Case{vimg::FORMAT_JPG, "s.jpg"}, Case{vimg::FORMAT_BMP, "s.bmp"}}) {
        SCOPED_TRACE(c.name);
        const std::string file = dir.file(c.name);
        vimg::Image image = Stamped(2.5, "Testkamera KX-1");
        ASSERT_TRUE(image.Save(file.c_str(), c.type)) << image.GetLastError();
        // Reading into an image that held another calibration replaces it.
        vimg::Image back = Stamped(7.0, "old camera");
        ASSERT_TRUE(back.Load(file.c_str(), c.type)) << back.GetLastError();
        EXPECT_NEAR(back.GetPixelSize(), 2.5, 1e-6);
        // BMP has no text field: its camera name is lost.
        EXPECT_STREQ(back.GetCameraName(), c.type == vimg::FORMAT_BMP ? "" : "Testkamera KX-1");
    }
}

TEST(CalibrationMetadata, UncalibratedFilesStayUncalibrated) {
    TempDir dir;
    for (const Case& c : {Case{vimg::FORMAT_TIF, "u.tif"}, Case{vimg::FORMAT_PNG, "u.png"},
                          Case{vimg::FORMAT_JPG, "u.jpg"}, Case{vimg::FORMAT_BMP, "u.bmp"}}) {
        SCOPED_TRACE(c.name);
        const std::string file = dir.file(c.name);
        vimg::Image image = Stamped(0, nullptr);
        image.SetXDPI(1200); // the finest common print resolution is no calibration
        image.SetYDPI(1200);
        ASSERT_TRUE(image.Save(file.c_str(), c.type)) << image.GetLastError();
        vimg::Image back = Stamped(7.0, "old camera");
        ASSERT_TRUE(back.Load(file.c_str(), c.type)) << back.GetLastError();
        EXPECT_EQ(back.GetPixelSize(), 0);
        EXPECT_STREQ(back.GetCameraName(), "");
    }
}

TEST(CalibrationMetadata, ExiftoolReadsTheFieldsOtherProgramsUse) {
    if (!HaveExiftool()) GTEST_SKIP() << "exiftool is not installed";
    TempDir dir;
    const auto save = [&](uint32_t type, const char* name) {
        const std::string file = dir.file(name);
        vimg::Image image = Stamped(2.5, "Testkamera KX-1");
        EXPECT_TRUE(image.Save(file.c_str(), type)) << image.GetLastError();
        return file;
    };
    const std::string tif = save(vimg::FORMAT_TIF, "e.tif");
    EXPECT_EQ(Exif(tif, "-IFD0:ResolutionUnit"), "3");
    EXPECT_EQ(Exif(tif, "-IFD0:XResolution"), "4000");
    EXPECT_EQ(Exif(tif, "-IFD0:YResolution"), "4000");
    EXPECT_EQ(Exif(tif, "-IFD0:Model"), "Testkamera KX-1");
    EXPECT_NE(Exif(tif, "-IFD0:ImageDescription").find("unit=um"), std::string::npos);

    const std::string png = save(vimg::FORMAT_PNG, "e.png");
    EXPECT_EQ(Exif(png, "-PNG:PixelUnits"), "1"); // metres
    EXPECT_EQ(Exif(png, "-PNG:PixelsPerUnitX"), "400000");
    EXPECT_EQ(Exif(png, "-PNG:PixelsPerUnitY"), "400000");
    EXPECT_EQ(Exif(png, "-PNG:Description"), "Pixel size: 2.5 um");
    EXPECT_EQ(Exif(png, "-PNG:Source"), "Testkamera KX-1");

    const std::string jpg = save(vimg::FORMAT_JPG, "e.jpg");
    EXPECT_EQ(Exif(jpg, "-JFIF:ResolutionUnit"), "2"); // dots per centimetre
    EXPECT_EQ(Exif(jpg, "-JFIF:XResolution"), "4000");
    EXPECT_EQ(Exif(jpg, "-IFD0:ResolutionUnit"), "3");
    EXPECT_EQ(Exif(jpg, "-IFD0:XResolution"), "4000");
    EXPECT_EQ(Exif(jpg, "-IFD0:Model"), "Testkamera KX-1");
    EXPECT_EQ(Exif(jpg, "-IFD0:ImageDescription"), "Pixel size: 2.5 um");
    EXPECT_EQ(Exif(jpg, "-File:Comment"), "Pixel size: 2.5 um");

    const std::string bmp = save(vimg::FORMAT_BMP, "e.bmp");
    EXPECT_EQ(Exif(bmp, "-File:PixelsPerMeterX"), "400000");
    EXPECT_EQ(Exif(bmp, "-File:PixelsPerMeterY"), "400000");
}

TEST(CalibrationMetadata, PillowSeesTheResolutionAndTheTexts) {
    if (testsupport::Run("/usr/bin/python3 -c 'import PIL' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "Pillow is not installed";
    TempDir dir;
    std::string script = "from PIL import Image\nimport sys\n";
    for (const Case& c : {Case{vimg::FORMAT_TIF, "p.tif"}, Case{vimg::FORMAT_PNG, "p.png"},
                          Case{vimg::FORMAT_JPG, "p.jpg"}, Case{vimg::FORMAT_BMP, "p.bmp"}}) {
        vimg::Image image = Stamped(2.5, "Testkamera KX-1");
        ASSERT_TRUE(image.Save(dir.file(c.name).c_str(), c.type)) << image.GetLastError();
        // Pillow gives dots per inch: 4000 per cm is 10160 per inch.
        script += "im = Image.open(sys.argv[1] + '/" + std::string(c.name) + "')\n"
                  "print('" + c.name + "', round(im.info['dpi'][0]), im.size)\n";
    }
    script +=
        "im = Image.open(sys.argv[1] + '/p.png'); print(im.info['Description'] + '|' + im.info['Source'])\n"
        "im = Image.open(sys.argv[1] + '/p.jpg'); print(im.getexif()[0x0110] + '|' + im.getexif()[0x010E])\n";
    testsupport::WriteFile(dir.file("check.py"), std::vector<uint8_t>(script.begin(), script.end()));
    std::string out;
    ASSERT_EQ(testsupport::Run(
                  "/usr/bin/python3 " + Quote(dir.file("check.py")) + " " + Quote(dir.path().string()), &out),
              0)
        << out;
    for (const char* name : {"p.tif", "p.png", "p.jpg", "p.bmp"})
        EXPECT_NE(out.find(std::string(name) + " 10160 (40, 30)"), std::string::npos) << out;
    EXPECT_NE(out.find("Pixel size: 2.5 um|Testkamera KX-1"), std::string::npos) << out;
    EXPECT_NE(out.find("Testkamera KX-1|Pixel size: 2.5 um"), std::string::npos) << out;
}
