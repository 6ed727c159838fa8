// Metafile text drawn by the Qt renderer: where the glyphs land and what they cover.
#include "CodecTestSupport.h"
#include "MetafileBytes.h"
#include "QtRenderers.h"
#include "codecs/MetafileTextRenderer.h"

#include <gtest/gtest.h>

using namespace vimg;
using namespace metafilebytes;

namespace {

class QtRendererEnvironment : public testing::Environment {
public:
    void SetUp() override { m_app = display::RegisterQtRenderers(); }
    void TearDown() override {
        MetafileTextRenderer::Install(nullptr);
        m_app.reset();
    }

private:
    std::unique_ptr<QGuiApplication> m_app;
};
const auto* const g_env = testing::AddGlobalTestEnvironment(new QtRendererEnvironment);

// A 200 x 100 picture, one logical unit a pixel, with a 40-pixel font selected;
// `body` sets the rest.
std::vector<uint8_t> TextWmf(const Bytes& records, int escapement = 0) {
    Bytes body;
    Wmf(body, 0x02FB, {}, WmfFont(-40, 400, false, "DejaVu Sans", escapement));
    Wmf(body, 0x012D, {0});
    body.raw(records.v);
    Wmf(body, 0x0000, {});
    return PlaceableWmf(200, 100, 96, body, 1);
}

void TextOut(Bytes& body, const std::string& text, int x, int y) {
    Bytes tail;
    tail.raw(Ansi(text)).u16(static_cast<uint32_t>(y)).u16(static_cast<uint32_t>(x));
    Wmf(body, 0x0521, {static_cast<int>(text.size())}, tail.v);
}

// Bounds of the pixels `hit` picks, y from the top; left > right when there are none.
struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1, count = 0;
};
template <class Hit>
Box Find(const Image& img, Hit hit) {
    Box b;
    const int h = static_cast<int>(img.GetHeight());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < static_cast<int>(img.GetWidth()); ++x)
            if (hit(img.GetPixelColor(x, h - 1 - y, false))) {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
                ++b.count;
            }
    return b;
}
bool Dark(RGBQUAD c) { return c.rgbRed < 128 && c.rgbGreen < 128 && c.rgbBlue < 128; }
bool NotWhite(RGBQUAD c) { return c.rgbRed < 250 || c.rgbGreen < 250 || c.rgbBlue < 250; }

Image Play(const std::vector<uint8_t>& file) {
    Image img;
    EXPECT_TRUE(testsupport::DecodeBytes(img, file, FORMAT_WMF)) << img.GetLastError();
    return img;
}

} // namespace

TEST(QtMetafileText, HelloInBlackOnWhiteLandsInItsBox) {
    Bytes body;
    Wmf(body, 0x0102, {1}); // transparent background
    TextOut(body, "Hello", 20, 30);
    const Image img = Play(TextWmf(body));
    ASSERT_EQ(img.GetWidth(), 200u);
    const Box dark = Find(img, Dark);
    EXPECT_GT(dark.count, 150);
    // Top-left alignment: the H starts at the point, capitals reach below the cell top,
    // nothing goes below the baseline (at 30 plus the ascent, under 40).
    EXPECT_GE(dark.left, 20);
    EXPECT_LE(dark.left, 26);
    EXPECT_GE(dark.top, 30);
    EXPECT_LE(dark.top, 42);
    EXPECT_GT(dark.right, 90);
    EXPECT_LT(dark.right, 150);
    EXPECT_LT(dark.bottom, 70);
    const Box touched = Find(img, NotWhite);
    EXPECT_GE(touched.left, 19);
    EXPECT_GE(touched.top, 29);
    EXPECT_LE(touched.right, 151);
    EXPECT_LE(touched.bottom, 71);
}

TEST(QtMetafileText, AlignmentColourAndBackground) {
    Bytes body;
    Wmf(body, 0x0102, {1});
    Wmf(body, 0x0209, {0x00FF, 0}); // red
    Wmf(body, 0x012E, {2 | 8});     // right, bottom
    TextOut(body, "Hello", 180, 90);
    Image img = Play(TextWmf(body));
    const Box ink = Find(img, NotWhite);
    EXPECT_LE(ink.right, 181);
    EXPECT_GE(ink.right, 170);
    EXPECT_LE(ink.bottom, 90);
    EXPECT_GE(ink.bottom, 70);
    EXPECT_GT(ink.count, 150);
    const Box red = Find(img, [](RGBQUAD c) { return c.rgbRed > 200 && c.rgbGreen < 60 && c.rgbBlue < 60; });
    EXPECT_GT(red.count, 50);
    EXPECT_EQ(Find(img, Dark).count, 0);

    // The opaque background fills the text's cells: above the capitals is blue.
    Bytes opaque;
    Wmf(opaque, 0x0201, {0, 0xFF});
    TextOut(opaque, "Hi", 20, 30);
    img = Play(TextWmf(opaque));
    const auto at = [&](int x, int y) { return img.GetPixelColor(x, 99 - y, false); };
    EXPECT_EQ(at(22, 31), (RGBQUAD{255, 0, 0, 0}));
    EXPECT_EQ(at(15, 31), (RGBQUAD{255, 255, 255, 0}));
    EXPECT_EQ(at(22, 25), (RGBQUAD{255, 255, 255, 0}));
}

TEST(QtMetafileText, ClippingSpacingAndRotation) {
    // Clipped at x = 50: the word is cut there.
    Bytes clipped;
    Wmf(clipped, 0x0102, {1});
    Wmf(clipped, 0x0A32, {30, 20, 5, 4, 0, 0, 50, 100}, Ansi("Hello"));
    Box dark = Find(Play(TextWmf(clipped)), Dark);
    EXPECT_GT(dark.count, 50);
    EXPECT_LT(dark.right, 50);

    // Three bars 30 pixels apart by their advances, with white between them.
    Bytes spaced;
    Wmf(spaced, 0x0102, {1});
    Bytes tail;
    tail.raw(Ansi("III")).u16(30).u16(30).u16(30);
    Wmf(spaced, 0x0A32, {30, 20, 3, 0}, tail.v);
    const Image bars = Play(TextWmf(spaced));
    const auto column = [&](int x) {
        int n = 0;
        for (int y = 0; y < 100; ++y) n += Dark(bars.GetPixelColor(x, y, false));
        return n;
    };
    for (int bar = 0; bar < 3; ++bar) {
        int inBar = 0;
        for (int x = 20 + 30 * bar; x < 32 + 30 * bar; ++x) inBar += column(x);
        EXPECT_GT(inBar, 20) << "bar " << bar;
        for (int x = 34 + 30 * bar; x < 48 + 30 * bar; ++x) EXPECT_EQ(column(x), 0) << "gap at " << x;
    }

    // Escapement 90 degrees: the text runs upwards from the point, its top to the left.
    Bytes turned;
    Wmf(turned, 0x0102, {1});
    TextOut(turned, "Hello", 100, 95);
    dark = Find(Play(TextWmf(turned, 900)), Dark);
    EXPECT_GT(dark.bottom - dark.top, 2 * (dark.right - dark.left));
    EXPECT_LE(dark.bottom, 95);
    EXPECT_GE(dark.left, 100);
}

TEST(QtMetafileText, CommandLineDrawsTextWithoutADisplay) {
    testsupport::TempDir dir;
    Bytes body;
    TextOut(body, "Hello", 20, 30);
    const std::string wmf = dir.file("text.wmf"), bmp = dir.file("text.bmp");
    testsupport::WriteFile(wmf, TextWmf(body));
    // A platform that needs a screen, and no screen: the program still renders offscreen.
    std::string out;
    ASSERT_EQ(testsupport::Run("env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb " +
                                   std::string(VISTOREL_CLI) + " convert " + testsupport::Quote(wmf) + " " +
                                   testsupport::Quote(bmp) + " 2>&1",
                               &out),
              0)
        << out;
    Image img;
    ASSERT_TRUE(img.Load(bmp.c_str(), FORMAT_BMP)) << img.GetLastError();
    const Box dark = Find(img, Dark);
    EXPECT_GT(dark.count, 150);
    EXPECT_GE(dark.left, 20);
    EXPECT_LT(dark.right, 150);
}

TEST(QtMetafileText, DamagedFilesRenderWithinThePicture) {
    Bytes body;
    Wmf(body, 0x012E, {1 | 6 | 24});
    TextOut(body, "Hello", 100, 50);
    Bytes tail;
    tail.raw(Ansi("abc")).u16(30).u16(40).u16(50);
    Wmf(body, 0x0A32, {30, 20, 3, 6, 10, 10, 120, 60}, tail.v);
    testsupport::Batter(TextWmf(body, 300), FORMAT_WMF, 200);
}
