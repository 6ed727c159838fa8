#include "CodecTestSupport.h"
#include "CodecRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vimg;

TEST(UnknownType, CodecsAreTriedInTheFixedOrder) {
    const std::vector<uint32_t> order = {FORMAT_BMP,  FORMAT_JPG, FORMAT_ICO, FORMAT_GIF,
                                         FORMAT_PNG,  FORMAT_TIF, FORMAT_TGA, FORMAT_PCX,
                                         FORMAT_WBMP, FORMAT_WMF, FORMAT_JP2};
    std::vector<uint32_t> tried;
    for (const CodecEntry* e : CodecRegistry::ProbeOrder()) tried.push_back(e->type);
    std::vector<uint32_t> expected;
    std::copy_if(order.begin(), order.end(), std::back_inserter(expected),
                 [&](uint32_t t) { return std::find(tried.begin(), tried.end(), t) != tried.end(); });
    EXPECT_EQ(tried, expected);
    for (uint32_t t : {FORMAT_ICO, FORMAT_GIF, FORMAT_TGA, FORMAT_PCX, FORMAT_WBMP, FORMAT_JP2})
        EXPECT_NE(std::find(tried.begin(), tried.end(), t), tried.end()) << t;
    EXPECT_EQ(tried.back(), FORMAT_JP2) << "the content-detecting reader comes last";
}

TEST(UnknownType, EveryFormatIsRecognisedAsItself) {
    // Readers early in the order (TGA has no signature) must not take other formats' files.
    Image grey = testsupport::Pattern(27, 19, 8, 1);
    grey.SetGrayPalette();
    grey.SetJpegQuality(100);
    Image mono = testsupport::Pattern(27, 19, 1, 2);
    mono.SetGrayPalette();
    Image colour = testsupport::Pattern(27, 19, 24, 3);
    colour.SetJpegQuality(100);
    const struct {
        Image* img;
        uint32_t type;
    } cases[] = {
        {&grey, FORMAT_BMP},  {&grey, FORMAT_ICO}, {&grey, FORMAT_GIF}, {&colour, FORMAT_TGA},
        {&grey, FORMAT_TGA},  {&mono, FORMAT_PCX}, {&colour, FORMAT_PCX}, {&mono, FORMAT_WBMP},
        {&colour, FORMAT_JP2}, {&grey, FORMAT_JPC}, {&grey, FORMAT_PGX}, {&mono, FORMAT_PNM},
        {&colour, FORMAT_PNM}, {&colour, FORMAT_RAS}, {&mono, FORMAT_RAS},
    };
    for (const auto& c : cases) {
        const std::vector<uint8_t> bytes = testsupport::EncodeBytes(*c.img, c.type);
        ASSERT_FALSE(bytes.empty()) << c.type << ": " << c.img->GetLastError();
        Image img;
        ASSERT_TRUE(testsupport::DecodeBytes(img, bytes, FORMAT_UNKNOWN)) << c.type;
        EXPECT_EQ(img.GetType(), c.type);
        EXPECT_EQ(testsupport::RgbaByTransparency(img), testsupport::RgbaByTransparency(*c.img)) << c.type;
    }
    Image none;
    EXPECT_FALSE(testsupport::DecodeBytes(none, {'n', 'o', 'i', 'm', 'a', 'g', 'e'}, FORMAT_UNKNOWN));
    EXPECT_STREQ(none.GetLastError(), "Decode: Unknown or wrong format");
}

// When every reader refuses a file, the failure names the format its first
// bytes announce and that reader's reason.
TEST(UnknownType, RefusedFilesNameTheFormatTheyLookLike) {
    Image colour = testsupport::Pattern(27, 19, 24, 3);
    const std::pair<uint32_t, const char*> cases[] = {
        {FORMAT_PNG, "Decode: the content looks like PNG but cannot be read: "},
        {FORMAT_RAS, "Decode: the content looks like RAS but cannot be read: "},
        {FORMAT_GIF, "Decode: the content looks like GIF but cannot be read: "},
    };
    for (const auto& [type, start] : cases) {
        const std::vector<uint8_t> bytes = testsupport::EncodeBytes(colour, type);
        // Only the signature and a few bytes of the header.
        const std::vector<uint8_t> head(bytes.begin(), bytes.begin() + 12);
        Image asked, sniffed;
        EXPECT_FALSE(testsupport::DecodeBytes(asked, head, type));
        EXPECT_FALSE(testsupport::DecodeBytes(sniffed, head, FORMAT_UNKNOWN));
        EXPECT_EQ(std::string(sniffed.GetLastError()), start + std::string(asked.GetLastError())) << type;
    }
}
