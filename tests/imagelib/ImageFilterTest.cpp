// Neighbourhood filters: the row-pointer paths against the per-pixel
// definitions (checked accessors, out-of-range colour at the borders), and
// the fixed cases the processing commands rely on.
#include "Image.h"
#include "ImageTestSupport.h"
#include "RandomSequence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace testsupport;
using vimg::Image;
using vimg::RGBQUAD;
using vimg::RandomSequence;

namespace {

uint8_t Clamp(int64_t v) {
    return static_cast<uint8_t>(std::clamp<int64_t>(v, 0, 255));
}
uint8_t Grey(RGBQUAD c) {
    return static_cast<uint8_t>((306 * c.rgbRed + 601 * c.rgbGreen + 117 * c.rgbBlue) >> 10);
}

void Region(const Image& img, int& x0, int& y0, int& x1, int& y1) {
    x0 = 0, y0 = 0, x1 = static_cast<int>(img.GetWidth()), y1 = static_cast<int>(img.GetHeight());
    if (img.SelectionIsValid()) {
        vimg::RECT r;
        img.SelectionGetBox(r);
        x0 = r.left, y0 = r.bottom, x1 = r.right, y1 = r.top;
    }
}

// Every selected pixel of the working region becomes f(x, y) of the unchanged source.
Image RefWindow(const Image& src, const std::function<RGBQUAD(int, int)>& f) {
    Image out(src);
    int x0, y0, x1, y1;
    Region(src, x0, y0, x1, y1);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (src.SelectionIsInside(x, y)) out.SetPixelColor(x, y, f(x, y));
    return out;
}

Image RefFilter(const Image& src, const std::vector<int32_t>& k, int K, int div, int off) {
    const int lo = -(K / 2), hi = K - K / 2 - 1;
    if (src.GetBpp() == 8 && src.IsGrayScale()) {
        Image out(src);
        if (div == 0) div = 1;
        int x0, y0, x1, y1;
        Region(src, x0, y0, x1, y1);
        const int w = static_cast<int>(src.GetWidth()), h = static_cast<int>(src.GetHeight());
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                if (!src.SelectionIsInside(x, y) || y + lo < 0 || y + hi >= h || x + lo < 0 || x + hi >= w)
                    continue;
                int64_t sum = 0;
                size_t i = 0;
                for (int dy = lo; dy <= hi; ++dy)
                    for (int dx = lo; dx <= hi; ++dx)
                        sum += int64_t{k[i++]} * src.GetPixelIndex(x + dx, y + dy);
                out.SetPixelIndex(x, y, Clamp(off + sum / div));
            }
        return out;
    }
    return RefWindow(src, [&](int x, int y) {
        int64_t s[3] = {};
        for (int dy = lo; dy <= hi; ++dy)
            for (int dx = lo; dx <= hi; ++dx) {
                const RGBQUAD c = src.GetPixelColor(x + dx, y + dy, false);
                const int64_t kw = k[static_cast<size_t>((dx + K / 2) + K * (dy + K / 2))];
                s[0] += kw * c.rgbBlue, s[1] += kw * c.rgbGreen, s[2] += kw * c.rgbRed;
            }
        const auto fin = [&](int64_t v) { return Clamp(div ? off + v / div : off + v); };
        return RGBQUAD{fin(s[0]), fin(s[1]), fin(s[2]), 0};
    });
}

// op 0 minimum, 1 maximum, 2 edge.
Image RefMorph(const Image& src, int K, int op) {
    const int lo = -(K / 2), hi = K - K / 2 - 1;
    return RefWindow(src, [&](int x, int y) {
        int mn[3] = {255, 255, 255}, mx[3] = {0, 0, 0};
        for (int dy = lo; dy <= hi; ++dy)
            for (int dx = lo; dx <= hi; ++dx) {
                const RGBQUAD c = src.GetPixelColor(x + dx, y + dy, false);
                const int v[3] = {c.rgbBlue, c.rgbGreen, c.rgbRed};
                for (int i = 0; i < 3; ++i)
                    mn[i] = std::min(mn[i], v[i]), mx[i] = std::max(mx[i], v[i]);
            }
        int r[3];
        for (int i = 0; i < 3; ++i)
            r[i] = op == 0 ? mn[i] : op == 1 ? mx[i] : 255 - (mx[i] - mn[i]);
        return Rgb(r[2], r[1], r[0]);
    });
}

Image RefMedian(const Image& src, int K) {
    const int lo = -(K / 2), hi = K - K / 2 - 1;
    return RefWindow(src, [&](int x, int y) {
        std::vector<RGBQUAD> cells;
        for (int dy = lo; dy <= hi; ++dy)
            for (int dx = lo; dx <= hi; ++dx)
                cells.push_back(src.GetPixelColor(x + dx, y + dy, false));
        std::stable_sort(cells.begin(), cells.end(), [](RGBQUAD a, RGBQUAD b) { return Grey(a) < Grey(b); });
        return cells[cells.size() / 2];
    });
}

Image RefContour(const Image& src) {
    return RefWindow(src, [&](int x, int y) {
        const RGBQUAD c = src.GetPixelColor(x, y, false);
        const int centre[3] = {c.rgbBlue, c.rgbGreen, c.rgbRed};
        int m[3] = {0, 0, 0};
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy) {
                const RGBQUAD n = src.GetPixelColor(x + dx, y + dy, false);
                const int v[3] = {n.rgbBlue, n.rgbGreen, n.rgbRed};
                for (int i = 0; i < 3; ++i)
                    if (v[i] - centre[i] > m[i]) m[i] = v[i];
            }
        return Rgb(255 - m[2], 255 - m[1], 255 - m[0]);
    });
}

// Each row draws from the stream of its row number.
Image RefJitter(const Image& src, int radius, uint64_t seed) {
    Image out(src);
    int x0, y0, x1, y1;
    Region(src, x0, y0, x1, y1);
    for (int y = y0; y < y1; ++y) {
        RandomSequence random(seed, static_cast<uint64_t>(y));
        for (int x = x0; x < x1; ++x) {
            if (!src.SelectionIsInside(x, y)) continue;
            const int dx = static_cast<int>((random.Unit() - 0.5) * 2 * radius);
            const int dy = static_cast<int>((random.Unit() - 0.5) * 2 * radius);
            int sx = x + dx, sy = y + dy;
            if (!src.IsInside(sx, sy)) sx = x, sy = y;
            if (src.IsIndexed())
                out.SetPixelIndex(x, y, src.GetPixelIndex(sx, sy));
            else
                out.SetPixelColor(x, y, src.GetPixelColor(sx, sy, false));
            if (src.AlphaIsValid()) out.AlphaSet(x, y, src.AlphaGet(sx, sy));
        }
    }
    return out;
}

Image RefNoise(const Image& src, int level, uint64_t seed) {
    Image out(src);
    int x0, y0, x1, y1;
    Region(src, x0, y0, x1, y1);
    for (int y = y0; y < y1; ++y) {
        RandomSequence random(seed, static_cast<uint64_t>(y));
        for (int x = x0; x < x1; ++x) {
            if (!src.SelectionIsInside(x, y)) continue;
            RGBQUAD c = out.GetPixelColor(x, y, false);
            c.rgbRed = Clamp(c.rgbRed + static_cast<int>((random.Unit() - 0.5) * level));
            c.rgbGreen = Clamp(c.rgbGreen + static_cast<int>((random.Unit() - 0.5) * level));
            c.rgbBlue = Clamp(c.rgbBlue + static_cast<int>((random.Unit() - 0.5) * level));
            out.SetPixelColor(x, y, c);
        }
    }
    return out;
}

// The kinds of image every filter must handle: 24 bits plain, 24 bits with a
// selection and a transparent colour (outside neighbours take it), a colour
// palette and 4 bits. 70 x 41 pixels gives two threads rows to share.
std::vector<Image> Subjects() {
    std::vector<Image> v;
    v.push_back(RandomImage(70, 41, 24, 1));
    Image sel = RandomImage(70, 41, 24, 2);
    AddSelection(sel);
    sel.SetTransColor(Rgb(10, 200, 30));
    sel.SetTransIndex(0);
    sel.AlphaCreate();
    v.push_back(std::move(sel));
    v.push_back(RandomImage(33, 40, 8, 3));
    v.push_back(RandomImage(21, 9, 4, 4));
    return v;
}

const std::vector<int32_t> kBlur3(9, 1);
const std::vector<int32_t> kEdge3 = {-1, -1, -1, -1, 8, -1, -1, -1, -1};
const std::vector<int32_t> kRelief3 = {0, 0, -1, 0, 0, 0, 1, 0, 0};
// (1, 2, 1) down times (-1, 0, 1) across: a product kernel with negative weights.
const std::vector<int32_t> kSobel3 = {-1, 0, 1, -2, 0, 2, -1, 0, 1};
const std::vector<int32_t> kEdge3x300 = {-300, -300, -300, -300, 2400, -300, -300, -300, -300};
const std::vector<int32_t> kGauss5 = {0, 1, 2, 1, 0, 1, 3, 4, 3, 1, 2, 4, 8,
                                      4, 2, 1, 3, 4, 3, 1, 0, 1, 2, 1, 0};

} // namespace

TEST(ImageFilter, FilterMatchesDefinitionOnEveryKindOfImage) {
    struct Case {
        const std::vector<int32_t>* k;
        int size, div, off;
    };
    const Case cases[] = {{&kBlur3, 3, 9, 0},
                          {&kEdge3, 3, -1, 255},
                          {&kRelief3, 3, 0, 127},
                          {&kGauss5, 5, 52, 0},
                          {&kBlur3, 3, 0, 0},
                          {&kSobel3, 3, 1, 128},
                          // Negative sums truncate towards zero; offsets near the 32-bit ends clamp.
                          {&kEdge3, 3, 7, -3},
                          {&kEdge3, 3, -5, 2000000000},
                          {&kRelief3, 3, 1, -2147483647},
                          // Sums beyond 16 bits: 32-bit lanes and a divided quotient.
                          {&kEdge3x300, 3, 7, -3},
                          {&kEdge3x300, 3, -1300, 40},
                          {&kEdge3x300, 3, 1, 2000000000}};
    std::vector<Image> subjects = Subjects();
    Image grey = RandomImage(40, 37, 8, 9, kGreyPalette);
    AddSelection(grey);
    subjects.push_back(std::move(grey));
    subjects.push_back(RandomImage(40, 37, 8, 10, kGreyPalette));
    for (const Image& s : subjects)
        for (const Case& c : cases) {
            Image fast(s);
            ASSERT_TRUE(fast.Filter(c.k->data(), c.size, c.div, c.off));
            EXPECT_TRUE(SamePixels(fast, RefFilter(s, *c.k, c.size, c.div, c.off)))
                << "bpp " << s.GetBpp() << " size " << c.size << " divisor " << c.div;
        }
    // Weights so large that the sums leave 32 bits.
    const std::vector<int32_t> huge(9, 20000000);
    Image big(subjects[0]);
    ASSERT_TRUE(big.Filter(huge.data(), 3, 180000000, 0));
    EXPECT_TRUE(SamePixels(big, RefFilter(subjects[0], huge, 3, 180000000, 0)));
}

TEST(ImageFilter, GreyFilterLeavesTheBorderAndBlursTheRest) {
    Image img(6, 5, 8, 0);
    img.SetGrayPalette();
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            img.SetPixelIndex(x, y, static_cast<uint8_t>(x == 2 && y == 2 ? 90 : 0));
    const Image before(img);
    ASSERT_TRUE(img.Filter(kBlur3.data(), 3, 9, 0));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool border = x == 0 || y == 0 || x == 5 || y == 4;
            const bool near = std::abs(x - 2) <= 1 && std::abs(y - 2) <= 1;
            const int expected = border ? before.GetPixelIndex(x, y) : (near ? 10 : 0);
            EXPECT_EQ(img.GetPixelIndex(x, y), expected) << x << "," << y;
        }
}

TEST(ImageFilter, DivisorZeroAddsTheOffsetToTheRawSum) {
    // Kernel row 0 is the lowest row: -1 weighs the lower-right, +1 the upper-left neighbour.
    Image img(3, 3, 24, 0);
    img.Clear(0);
    img.SetPixelColor(0, 2, Rgb(40, 50, 60));
    img.SetPixelColor(2, 0, Rgb(5, 6, 7));
    ASSERT_TRUE(img.Filter(kRelief3.data(), 3, 0, 127));
    EXPECT_EQ(img.GetPixelColor(1, 1), Rgb(162, 171, 180));

    Image flat(4, 4, 24, 0);
    flat.Clear(20);
    ASSERT_TRUE(flat.Filter(kBlur3.data(), 3, 0, 5));
    EXPECT_EQ(flat.GetPixelColor(1, 1), Rgb(185, 185, 185));
    EXPECT_EQ(flat.GetPixelColor(0, 0), Rgb(185, 185, 185)); // outside neighbours repeat pixel (0, 0)
}

TEST(ImageFilter, MorphologyMedianAndContourMatchDefinitions) {
    for (const Image& s : Subjects()) {
        for (int k : {2, 3, 5}) {
            for (int op = 0; op < 3; ++op) {
                Image fast(s);
                ASSERT_TRUE(op == 0 ? fast.Erode(k) : op == 1 ? fast.Dilate(k) : fast.Edge(k));
                EXPECT_TRUE(SamePixels(fast, RefMorph(s, k, op)))
                    << "bpp " << s.GetBpp() << " op " << op << " k " << k;
            }
            Image med(s);
            ASSERT_TRUE(med.Median(k));
            EXPECT_TRUE(SamePixels(med, RefMedian(s, k))) << "median bpp " << s.GetBpp() << " k " << k;
        }
        Image contour(s);
        ASSERT_TRUE(contour.Contour());
        EXPECT_TRUE(SamePixels(contour, RefContour(s))) << "contour bpp " << s.GetBpp();
    }
}

TEST(ImageFilter, ErodeTwoTakesPixelLeftBelowAndBelowLeft) {
    Image img(3, 3, 24, 0);
    img.Clear(200);
    img.SetPixelColor(0, 0, Rgb(10, 200, 200)); // below-left of (1, 1)
    img.SetPixelColor(1, 0, Rgb(200, 20, 200)); // below
    img.SetPixelColor(0, 1, Rgb(200, 200, 30)); // left
    img.SetPixelColor(2, 2, Rgb(0, 0, 0));      // upper-right: outside the window
    ASSERT_TRUE(img.Erode(2));
    EXPECT_EQ(img.GetPixelColor(1, 1), Rgb(10, 20, 30));
    EXPECT_EQ(img.GetPixelColor(2, 1), Rgb(200, 20, 200));
}

TEST(ImageFilter, SeededJitterAndNoiseMatchDefinitions) {
    for (const Image& s : Subjects()) {
        Image jit(s);
        ASSERT_TRUE(jit.Jitter(3, 77));
        EXPECT_TRUE(SamePixels(jit, RefJitter(s, 3, 77))) << "jitter bpp " << s.GetBpp();
        Image noise(s);
        ASSERT_TRUE(noise.Noise(50, 78));
        EXPECT_TRUE(SamePixels(noise, RefNoise(s, 50, 78))) << "noise bpp " << s.GetBpp();
        Image other(s);
        ASSERT_TRUE(other.Noise(50, 79));
        EXPECT_FALSE(SamePixels(noise, other)) << "another seed, another picture";
    }
}

// The generator is PCG32; these are the first outputs of its published
// reference demo for state 42, stream 54, so every platform draws the same.
TEST(ImageFilter, RandomSequenceMatchesThePublishedPcg32Outputs) {
    RandomSequence random(42, 54);
    const uint32_t expected[] = {0xa15c02b7, 0x7b47f409, 0xba1d3330, 0x83d2f293, 0xbfa4784b, 0xcbed606e};
    for (uint32_t e : expected) EXPECT_EQ(random.Next(), e);
}

// Gaussian of sigma = radius over -half..half, half = ceil(3 radius); beyond
// the border the edge pixels repeat. Horizontal sums per window row first.
Image RefUnsharp(const Image& src, float radius, float amount, int threshold) {
    const int half = std::max(1, static_cast<int>(std::ceil(3.0 * radius)));
    std::vector<double> k;
    double total = 0;
    for (int i = -half; i <= half; ++i)
        total += k.emplace_back(std::exp(-(i * i) / (2.0 * radius * radius)));
    for (double& v : k)
        v /= total;
    const int w = static_cast<int>(src.GetWidth()), h = static_cast<int>(src.GetHeight());
    return RefWindow(src, [&](int x, int y) {
        double blur[3] = {};
        for (int j = -half; j <= half; ++j) {
            double row[3] = {};
            for (int i = -half; i <= half; ++i) {
                const RGBQUAD c =
                    src.GetPixelColor(std::clamp(x + i, 0, w - 1), std::clamp(y + j, 0, h - 1), false);
                row[0] += k[static_cast<size_t>(i + half)] * c.rgbBlue;
                row[1] += k[static_cast<size_t>(i + half)] * c.rgbGreen;
                row[2] += k[static_cast<size_t>(i + half)] * c.rgbRed;
            }
            for (int c = 0; c < 3; ++c)
                blur[c] += k[static_cast<size_t>(j + half)] * row[c];
        }
        const RGBQUAD c = src.GetPixelColor(x, y, false);
        const int v[3] = {c.rgbBlue, c.rgbGreen, c.rgbRed};
        int r[3];
        for (int i = 0; i < 3; ++i) {
            const double d = v[i] - blur[i];
            r[i] = std::abs(d) >= threshold ? Clamp(std::lround(v[i] + amount * d)) : v[i];
        }
        return Rgb(r[2], r[1], r[0]);
    });
}

TEST(ImageFilter, UnsharpMaskMatchesDefinitionAndSharpensEdges) {
    for (const Image& s : Subjects()) {
        Image img(s);
        ASSERT_TRUE(img.UnsharpMask(1.5f, 0.7f, 4));
        EXPECT_TRUE(SamePixels(img, RefUnsharp(s, 1.5f, 0.7f, 4))) << "bpp " << s.GetBpp();
    }
    // A step from 80 to 160: the dark side darkens and the bright side brightens next to it.
    Image step(20, 40, 24, 0);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 20; ++x)
            step.SetPixelColor(x, y, x < 10 ? Rgb(80, 80, 80) : Rgb(160, 160, 160));
    Image high(step);
    ASSERT_TRUE(step.UnsharpMask(2.0f, 1.0f, 0));
    EXPECT_LT(step.GetPixelColor(9, 20).rgbRed, 80);
    EXPECT_GT(step.GetPixelColor(10, 20).rgbRed, 160);
    EXPECT_EQ(step.GetPixelColor(0, 20).rgbRed, 80);
    // A threshold above every difference changes nothing.
    const Image before(high);
    ASSERT_TRUE(high.UnsharpMask(2.0f, 1.0f, 200));
    EXPECT_TRUE(SamePixels(high, before));
    EXPECT_FALSE(high.UnsharpMask(0.0f, 1.0f, 0));
}

TEST(ImageFilter, EscapeKeepsUnprocessedRowsAndEmptyImagesFail) {
    const Image src = RandomImage(20, 40, 24, 5);
    Image img(src);
    img.SetEscape(1);
    ASSERT_TRUE(img.Filter(kBlur3.data(), 3, 9, 0));
    EXPECT_TRUE(SamePixels(img, src));
    Image empty;
    EXPECT_FALSE(empty.Filter(kBlur3.data(), 3, 9, 0));
    EXPECT_FALSE(empty.Median(3));
    EXPECT_FALSE(empty.Noise(10));
}
