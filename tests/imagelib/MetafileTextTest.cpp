// The metafile player's text state and records, seen through a renderer that
// records what it is asked to draw.
#include "CodecTestSupport.h"
#include "MetafileBytes.h"
#include "codecs/MetafileTextRenderer.h"

#include <gtest/gtest.h>

using namespace vimg;
using namespace metafilebytes;

namespace {

struct RecordingRenderer : MetafileTextRenderer {
    std::vector<MetafileTextRun> runs;
    double Draw(const MetafileTextRun& run, Image&) override {
        runs.push_back(run);
        return 10.0 * static_cast<double>(run.text.size()); // ten pixels a character
    }
};

class MetafileText : public ::testing::Test {
protected:
    void SetUp() override { MetafileTextRenderer::Install(renderer); }
    void TearDown() override { MetafileTextRenderer::Install(nullptr); }

    // Plays `body` (the end record is added) on a 192 x 96 picture of 1000 x 500 logical units.
    std::vector<MetafileTextRun> PlayWmf(Bytes body, Image* out = nullptr) {
        Wmf(body, 0x0000, {});
        Image img;
        EXPECT_TRUE(testsupport::DecodeBytes(img, PlaceableWmf(1000, 500, 500, body, 4), FORMAT_WMF))
            << img.GetLastError();
        if (out) out->Transfer(img);
        return std::exchange(renderer->runs, {});
    }
    std::vector<MetafileTextRun> PlayEmf(Bytes records) {
        Emf(records, 14, {0, 0, 20});
        Image img;
        EXPECT_TRUE(testsupport::DecodeBytes(img, SmallEmf(records), FORMAT_WMF)) << img.GetLastError();
        return std::exchange(renderer->runs, {});
    }

    std::shared_ptr<RecordingRenderer> renderer = std::make_shared<RecordingRenderer>();
};

constexpr double kScale = 0.192; // logical units to pixels in PlayWmf
const RGBQUAD kRed{0, 0, 255, 0}, kGreen{0, 255, 0, 0}, kBlue{255, 0, 0, 0}, kWhite{255, 255, 255, 0};

// TextOut: length, the padded string, y, x.
void TextOut(Bytes& body, const std::string& text, int x, int y) {
    Bytes tail;
    tail.raw(Ansi(text)).u16(static_cast<uint32_t>(y)).u16(static_cast<uint32_t>(x));
    Wmf(body, 0x0521, {static_cast<int>(text.size())}, tail.v);
}

// ExtTextOutW / ExtTextOutA with the string at 76 and the advances (if any) after it.
void ExtTextOut(Bytes& records, const std::u16string& text, int x, int y, std::vector<int> dx = {},
                bool wide = true, int options = 0, std::vector<int> rect = {0, 0, 0, 0}) {
    Bytes tail;
    for (char16_t c : text) wide ? tail.u16(c) : tail.raw({static_cast<uint8_t>(c)});
    while (tail.v.size() % 4) tail.v.push_back(0);
    const int offDx = dx.empty() ? 0 : 76 + static_cast<int>(tail.v.size());
    for (int d : dx) tail.u32(static_cast<uint32_t>(d));
    Emf(records, wide ? 84 : 83,
        {0, 0, 0, 0, 1, 0, 0, x, y, static_cast<int>(text.size()), 76, options, rect[0], rect[1], rect[2],
         rect[3], offDx},
        tail.v);
}

} // namespace

TEST_F(MetafileText, WmfTextCarriesFontColourAndAlignment) {
    Bytes body;
    Wmf(body, 0x02FB, {}, WmfFont(-100, 700, true, "Arial", 450));
    Wmf(body, 0x012D, {0});
    Wmf(body, 0x0209, {0x00FF, 0}); // red text
    Wmf(body, 0x0102, {1});         // transparent background
    Wmf(body, 0x012E, {6 | 24});    // centre, baseline
    TextOut(body, "Hello", 500, 250);
    const auto runs = PlayWmf(body);
    ASSERT_EQ(runs.size(), 1u);
    const MetafileTextRun& r = runs[0];
    EXPECT_EQ(r.text, u"Hello");
    EXPECT_NEAR(r.x, 500 * kScale, 1e-9);
    EXPECT_NEAR(r.y, 250 * kScale, 1e-9);
    EXPECT_NEAR(r.font.height, -100 * kScale, 1e-9); // the sign keeps character height apart from cell height
    EXPECT_EQ(r.font.weight, 700);
    EXPECT_TRUE(r.font.italic);
    EXPECT_FALSE(r.font.underline);
    EXPECT_EQ(r.font.face, "Arial");
    EXPECT_EQ(r.font.escapement, 450);
    EXPECT_EQ(r.colour, kRed);
    EXPECT_FALSE(r.opaque);
    EXPECT_EQ(r.hAlign, MetafileTextRun::HAlign::Centre);
    EXPECT_EQ(r.vAlign, MetafileTextRun::VAlign::Baseline);
    EXPECT_TRUE(r.advances.empty());
    EXPECT_FALSE(r.clipped);
}

TEST_F(MetafileText, ExtTextOutClipsFillsAndSpaces) {
    Bytes body;
    Wmf(body, 0x0201, {0xFF00, 0}); // green background
    Bytes tail;
    tail.raw(Ansi("abc")).u16(50).u16(60).u16(70);
    Wmf(body, 0x0A32, {100, 150, 3, 6, 50, 50, 300, 200}, tail.v); // opaque and clipped
    Wmf(body, 0x0A32, {100, 150, 3, 0}, Ansi("xyz")); // no rectangle, no advances
    Image img;
    const auto runs = PlayWmf(body, &img);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_NEAR(runs[0].x, 150 * kScale, 1e-9);
    EXPECT_NEAR(runs[0].y, 100 * kScale, 1e-9);
    EXPECT_TRUE(runs[0].opaque); // the default background mode
    EXPECT_EQ(runs[0].background, kGreen);
    ASSERT_TRUE(runs[0].clipped);
    EXPECT_NEAR(runs[0].clipLeft, 50 * kScale, 1e-9);
    EXPECT_NEAR(runs[0].clipTop, 50 * kScale, 1e-9);
    EXPECT_NEAR(runs[0].clipRight, 300 * kScale, 1e-9);
    EXPECT_NEAR(runs[0].clipBottom, 200 * kScale, 1e-9);
    ASSERT_EQ(runs[0].advances.size(), 3u);
    EXPECT_NEAR(runs[0].advances[2], 70 * kScale, 1e-9);
    EXPECT_EQ(runs[1].text, u"xyz");
    EXPECT_FALSE(runs[1].clipped);
    EXPECT_TRUE(runs[1].advances.empty());
    // The opaque rectangle is filled by the player itself, renderer or not.
    const auto at = [&](int x, int y) { return img.GetPixelColor(x, 95 - y, false); };
    EXPECT_EQ(at(30, 20), kGreen);
    EXPECT_EQ(at(60, 20), kWhite);
    MetafileTextRenderer::Install(nullptr);
    PlayWmf(body, &img);
    EXPECT_EQ(at(30, 20), kGreen);
}

TEST_F(MetafileText, UpdateCurrentPositionFollowsTheText) {
    Bytes body;
    Wmf(body, 0x0214, {100, 100}); // move to (100, 100)
    Wmf(body, 0x012E, {1});        // TA_UPDATECP
    TextOut(body, "ab", 0, 0);     // the record's point is ignored; 20 px wide
    Bytes tail;
    tail.raw(Ansi("cd")).u16(30).u16(40);
    Wmf(body, 0x0A32, {0, 0, 2, 0}, tail.v); // 70 logical units wide
    Wmf(body, 0x012E, {1 | 2});                 // right-aligned: moves back
    TextOut(body, "e", 0, 0);
    Wmf(body, 0x012E, {1 | 6}); // centred: stays
    TextOut(body, "f", 0, 0);
    TextOut(body, "g", 0, 0);
    Wmf(body, 0x012E, {0});
    TextOut(body, "h", 10, 20);
    const auto runs = PlayWmf(body);
    ASSERT_EQ(runs.size(), 6u);
    const double start = 100 * kScale;
    const double expected[] = {start, start + 20, start + 20 + 70 * kScale, start + 10 + 70 * kScale,
                               start + 10 + 70 * kScale, 10 * kScale};
    for (size_t i = 0; i < 6; ++i) EXPECT_NEAR(runs[i].x, expected[i], 1e-6) << "run " << i;
    EXPECT_NEAR(runs[4].y, start, 1e-6);
    EXPECT_EQ(runs[2].hAlign, MetafileTextRun::HAlign::Right);
}

TEST_F(MetafileText, SavedStatesAndDeletedFontsRestoreTheText) {
    Bytes body;
    Wmf(body, 0x02FB, {}, WmfFont(-50, 400, false, "Courier")); // slot 0
    Wmf(body, 0x001E, {});                                      // save
    Wmf(body, 0x012D, {0});
    Wmf(body, 0x0209, {0, 0xFF}); // blue
    Wmf(body, 0x012E, {8});
    TextOut(body, "A", 0, 0);
    Wmf(body, 0x0127, {-1}); // restore
    TextOut(body, "B", 0, 0);
    Wmf(body, 0x01F0, {0}); // delete the font, then select the empty slot
    Wmf(body, 0x012D, {0});
    TextOut(body, "C", 0, 0);
    const auto runs = PlayWmf(body);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].font.face, "Courier");
    EXPECT_EQ(runs[0].colour, kBlue);
    EXPECT_EQ(runs[0].vAlign, MetafileTextRun::VAlign::Bottom);
    for (size_t i = 1; i < 3; ++i) {
        EXPECT_EQ(runs[i].font.face, "") << i;
        EXPECT_EQ(runs[i].font.height, 16) << i; // the default font, 16 pixels
        EXPECT_EQ(runs[i].colour, (RGBQUAD{0, 0, 0, 0})) << i;
        EXPECT_EQ(runs[i].vAlign, MetafileTextRun::VAlign::Top) << i;
    }
}

TEST_F(MetafileText, EmfWideAndAnsiText) {
    Bytes records;
    Bytes font;
    font.raw({0, 1, 1, 0, 0, 0, 0, 0}); // underline, strike-out
    for (char16_t c : std::u16string(u"Tim\u00E9s")) font.u16(c);
    while (font.v.size() < 8 + 64) font.u16(0);
    Emf(records, 82, {1, -20, 0, 900, 0, 400}, font.v);
    Emf(records, 37, {1});
    Emf(records, 24, {0xFF0000}); // blue
    Emf(records, 22, {8});        // bottom
    ExtTextOut(records, u"\u017Da\u20AC", 50, 25, {10, 12, 14});
    ExtTextOut(records, u"\x80" u"1", 10, 10, {}, false); // Windows-1252 euro sign
    Emf(records, 37, {static_cast<int>(0x8000000D)}); // the stock system font
    ExtTextOut(records, u"z", 0, 0);
    // Without the rectangle field (option 0x100) the advance offset comes right after the options.
    Bytes noRect;
    noRect.u16('o').u16('k').u32(7).u32(9);
    Emf(records, 84, {0, 0, 0, 0, 1, 0, 0, 5, 5, 2, 60, 0x100 | 4, 64}, noRect.v);
    const auto runs = PlayEmf(records);
    ASSERT_EQ(runs.size(), 4u);
    // 100 x 50 reference pixels of the frame onto 96 x 48.
    const double sx = 96 / (2540 * 100 / 2500.0), sy = 48 / (1270 * 50 / 1300.0);
    const MetafileTextRun& r = runs[0];
    EXPECT_EQ(r.text, u"\u017Da\u20AC");
    EXPECT_NEAR(r.x, 50 * sx, 1e-9);
    EXPECT_NEAR(r.y, 25 * sy, 1e-9);
    EXPECT_NEAR(r.font.height, -20 * sy, 1e-9);
    EXPECT_EQ(r.font.face, "Tim\xC3\xA9s");
    EXPECT_EQ(r.font.escapement, 900);
    EXPECT_TRUE(r.font.underline);
    EXPECT_TRUE(r.font.strikeOut);
    EXPECT_EQ(r.colour, kBlue);
    EXPECT_EQ(r.vAlign, MetafileTextRun::VAlign::Bottom);
    ASSERT_EQ(r.advances.size(), 3u);
    EXPECT_NEAR(r.advances[1], 12 * sx, 1e-9);
    EXPECT_EQ(runs[1].text, u"\u20AC1");
    EXPECT_TRUE(runs[1].advances.empty());
    EXPECT_EQ(runs[2].font.face, "");
    EXPECT_NEAR(runs[2].font.height, 16 * sy, 1e-9);
    EXPECT_EQ(runs[3].text, u"ok");
    EXPECT_FALSE(runs[3].clipped);
    ASSERT_EQ(runs[3].advances.size(), 2u);
    EXPECT_NEAR(runs[3].advances[1], 9 * sx, 1e-9);
}

TEST_F(MetafileText, DamagedTextRecordsDrawNothingAndStayInBounds) {
    Bytes body;
    Wmf(body, 0x0521, {200}, Ansi("short"));            // string longer than the record
    Wmf(body, 0x0A32, {0, 0, 3, 4});                    // clipped without a rectangle
    Wmf(body, 0x0A32, {0, 0, 0xFFFF, 0}, Ansi("abc")); // length past the end
    Wmf(body, 0x02FB, {-40, 0, 0});                     // a font too short to read
    Wmf(body, 0x012D, {0});
    TextOut(body, "ok", 0, 0);
    // A face name without its terminator is cut at 32 bytes.
    std::vector<uint8_t> longFace = WmfFont(-40, 400, false, std::string(40, 'F'));
    Wmf(body, 0x02FB, {}, longFace);
    Wmf(body, 0x012D, {1});
    TextOut(body, "ok", 0, 0);
    auto runs = PlayWmf(body);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].font.height, 16); // the unreadable font left the default
    EXPECT_EQ(runs[1].font.face, std::string(32, 'F'));

    Bytes records;
    Emf(records, 84, {0, 0, 0, 0, 1, 0, 0, 5, 5, 3}); // record too short for its fields
    Bytes text;
    text.u16('a').u16('b');
    const auto bad = [&](int count, int offString, int offDx) {
        Emf(records, 84, {0, 0, 0, 0, 1, 0, 0, 5, 5, count, offString, 0, 0, 0, 0, 0, offDx}, text.v);
    };
    bad(2, 0x7FFFFFF0, 0); // string far past the record
    bad(2, 4, 0);          // string inside the record head
    bad(0x40000000, 76, 0); // more characters than bytes
    bad(3, 76, 0);          // one character too many
    bad(2, 76, 80);         // advances past the record: drawn without them
    const auto emfRuns = PlayEmf(records);
    ASSERT_EQ(emfRuns.size(), 1u);
    EXPECT_EQ(emfRuns[0].text, u"ab");
    EXPECT_TRUE(emfRuns[0].advances.empty());

    Bytes sample;
    Wmf(sample, 0x02FB, {}, WmfFont(-100, 700, true, "Arial"));
    Wmf(sample, 0x012D, {0});
    Wmf(sample, 0x012E, {1});
    TextOut(sample, "Hello", 500, 250);
    Bytes tail;
    tail.raw(Ansi("abc")).u16(50).u16(60).u16(70);
    Wmf(sample, 0x0A32, {100, 150, 3, 6, 50, 50, 300, 200}, tail.v);
    Wmf(sample, 0x0000, {});
    testsupport::Batter(PlaceableWmf(1000, 500, 500, sample, 2), FORMAT_WMF, 300);
    Bytes emf;
    Emf(emf, 82, {1, -20, 0, 900, 0, 400}, std::vector<uint8_t>(72, 0x41));
    Emf(emf, 37, {1});
    ExtTextOut(emf, u"text", 50, 25, {10, 12, 14, 16}, true, 6, {5, 5, 60, 30});
    Emf(emf, 14, {0, 0, 20});
    testsupport::Batter(SmallEmf(emf), FORMAT_WMF, 300);
}

TEST_F(MetafileText, TextWithoutRendererLeavesThePictureAlone) {
    MetafileTextRenderer::Install(nullptr);
    Bytes body;
    Wmf(body, 0x02FB, {}, WmfFont(-400, 400, false, "Arial"));
    Wmf(body, 0x012D, {0});
    TextOut(body, "Hello", 100, 100);
    Image img;
    PlayWmf(body, &img);
    ASSERT_TRUE(img.IsValid());
    for (uint32_t y = 0; y < img.GetHeight(); ++y)
        for (uint32_t x = 0; x < img.GetWidth(); ++x)
            ASSERT_EQ(img.GetPixelColor(static_cast<int32_t>(x), static_cast<int32_t>(y), false), kWhite);
}

TEST_F(MetafileText, HugeTextStopsAtTheWorkLimit) {
    // Text a whole 4096 x 4096 picture high, 3000 times: drawing stops after a few.
    Bytes body;
    Wmf(body, 0x02FB, {}, WmfFont(-32000, 400, false, "Arial"));
    Wmf(body, 0x012D, {0});
    for (int i = 0; i < 3000; ++i) TextOut(body, "W", 0, 0);
    Wmf(body, 0x0000, {});
    Image img;
    ASSERT_TRUE(testsupport::DecodeBytes(img, PlaceableWmf(32000, 32000, 750, body, 1), FORMAT_WMF));
    EXPECT_GE(renderer->runs.size(), 1u);
    EXPECT_LT(renderer->runs.size(), 10u);
}
