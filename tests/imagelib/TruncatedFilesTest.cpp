#include "CodecTestSupport.h"
#include "codecs/ByteOrder.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vimg;
using namespace testsupport;

namespace {

// Pillow's reading of a cut file, with its tolerance for such files switched
// on, as RGBA rows top first; empty when it cannot read the file.
std::vector<uint8_t> PillowReadingCut(const std::string& file) {
    const std::string raw = file + ".cut.rgba";
    const std::string script =
        "import sys; from PIL import Image, ImageFile; "
        "ImageFile.LOAD_TRUNCATED_IMAGES = True; "
        "open(sys.argv[2], 'wb').write(Image.open(sys.argv[1]).convert('RGBA').tobytes())";
    if (Run("/usr/bin/python3 -c " + Quote(script) + " " + Quote(file) + " " + Quote(raw) + " 2>/dev/null") !=
        0)
        return {};
    auto bytes = ReadFile(raw);
    std::remove(raw.c_str());
    return bytes;
}

std::vector<uint8_t> Head(const std::vector<uint8_t>& bytes, size_t percent) {
    return std::vector<uint8_t>(bytes.begin(),
                                bytes.begin() + static_cast<long>(bytes.size() * percent / 100));
}

} // namespace

// Files cut inside their pixel data decode to the whole rows they hold, the
// rest black (transparent where the picture has alpha), and say they are
// truncated; Pillow, told to read cut files, gives the same pixels.
TEST(TruncatedFiles, PngTgaAndRasKeepTheRowsTheyHoldLikePillow) {
    if (!HaveImageMagick() || !HavePillow()) GTEST_SKIP() << "ImageMagick or Pillow is not installed";
    TempDir dir;
    const std::string noise = "-size 61x47 gradient:red-blue +noise Random -depth 8 -strip ";
    const std::string alpha = "-alpha set -channel A -fx i/w +channel ";
    const std::pair<const char*, std::string> files[] = {
        {"rgb.png", noise},
        {"interlaced.png", noise + "-interlace PNG"},
        {"palette.png", noise + "-colors 200"},
        {"alpha.png", noise + alpha},
        {"alpha_interlaced.png", noise + alpha + "-interlace PNG"},
        {"grey2.png", noise + "-colorspace gray -depth 2 -interlace PNG"},
        {"plain.tga", noise},
        {"rle_alpha.tga", noise + alpha + "-compress RLE"},
        {"plain.ras", noise},
        {"mapped.ras", noise + "-colors 100"},
    };
    for (const auto& [name, args] : files) {
        const std::vector<uint8_t> whole = ReadFile(MakeWithImageMagick(dir, name, args));
        Image complete;
        ASSERT_TRUE(complete.Load(dir.file(name).c_str())) << name;
        EXPECT_FALSE(complete.IsTruncated()) << name;
        for (size_t percent : {40, 75, 99}) {
            const std::string cut = dir.file(std::to_string(percent) + name);
            WriteFile(cut, Head(whole, percent));
            Image img;
            ASSERT_TRUE(img.Load(cut.c_str())) << cut << ": " << img.GetLastError();
            EXPECT_TRUE(img.IsTruncated()) << cut;
            const std::vector<uint8_t> ref = PillowReadingCut(cut);
            ASSERT_EQ(ref.size(), size_t{61} * 47 * 4) << "Pillow could not read " << cut;
            EXPECT_EQ(MaxDiff(ToRGBA(img), ref), 0) << cut;
        }
    }
}

// A PNG cut in the chunks behind its image data has every row; Pillow gives up on it.
TEST(TruncatedFiles, PngCutBehindItsImageDataKeepsEveryRow) {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    TempDir dir;
    const std::string file = MakeWithImageMagick(
        dir, "text.png", "-size 20x10 gradient:red-blue -set comment 'behind the pixels'");
    const std::vector<uint8_t> whole = ReadFile(file);
    Image complete;
    ASSERT_TRUE(complete.Load(file.c_str()));
    const size_t idat =
        std::search(whole.begin(), whole.end(), std::begin("IDAT"), std::end("IDAT") - 1) - whole.begin();
    const size_t after = idat + 4 + bytes::Be32(&whole[idat - 4]) + 4; // behind the IDAT chunk's CRC
    for (size_t keep : {after, after + 9, whole.size() - 3}) {
        Image img;
        ASSERT_TRUE(DecodeBytes(
            img, std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<long>(keep)), FORMAT_PNG))
            << keep << " of " << whole.size() << ": " << img.GetLastError();
        EXPECT_TRUE(img.IsTruncated());
        EXPECT_EQ(ToRGBA(img), ToRGBA(complete)) << keep;
    }
}

// Pillow drops what it decoded of a cut GIF; browsers show it. The pixels up
// to the cut are those of the complete file, the rest takes index 0.
TEST(TruncatedFiles, GifKeepsThePixelsUpToTheCut) {
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    TempDir dir;
    const std::vector<uint8_t> whole = ReadFile(MakeWithImageMagick(
        dir, "noise.gif", "-size 61x47 gradient:red-blue +noise Random -colors 64 -interlace none"));
    Image complete;
    ASSERT_TRUE(DecodeBytes(complete, whole, FORMAT_GIF));
    EXPECT_FALSE(complete.IsTruncated());
    const std::vector<uint8_t> full = ToRGBA(complete);
    const RGBQUAD first = complete.GetPaletteColor(0);
    for (size_t percent : {30, 70, 99}) {
        Image img;
        ASSERT_TRUE(DecodeBytes(img, Head(whole, percent), FORMAT_GIF))
            << percent << ": " << img.GetLastError();
        EXPECT_TRUE(img.IsTruncated()) << percent;
        const std::vector<uint8_t> ours = ToRGBA(img);
        ASSERT_EQ(ours.size(), full.size());
        size_t same = 0;
        while (same < ours.size() && ours[same] == full[same])
            ++same;
        EXPECT_GT(same, full.size() * percent / 200) << percent;
        for (size_t i = same / 4 + 1; i < ours.size() / 4; ++i)
            ASSERT_EQ(std::vector<uint8_t>(ours.begin() + 4 * i, ours.begin() + 4 * i + 3),
                      (std::vector<uint8_t>{first.rgbRed, first.rgbGreen, first.rgbBlue}))
                << percent << "% pixel " << i;
    }
    // Cut just behind the image's minimum code size: nothing to show.
    size_t pos = 13 + ((whole[10] & 0x80) ? 3u * (2u << (whole[10] & 7)) : 0);
    while (whole[pos] == 0x21) { // extensions: label, sub-blocks, terminator
        pos += 2;
        while (whole[pos] != 0)
            pos += whole[pos] + 1u;
        ++pos;
    }
    ASSERT_EQ(whole[pos], 0x2C);
    Image none;
    EXPECT_FALSE(DecodeBytes(
        none, std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<long>(pos) + 11), FORMAT_GIF));
    EXPECT_STREQ(none.GetLastError(), "GIF file ends before its image data");
}
