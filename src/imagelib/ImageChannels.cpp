// Splitting an image into 8-bit grey channel images in several colour spaces,
// and recombining three (or four) channel images into one 24-bit image.
#include "Image.h"

#include "PixelLoop.h"
#include "RowRunner.h"

#include <array>
#include <memory>

namespace vimg {

namespace {

// Fills up to four destinations with one byte each of convert(colour) per
// pixel. Works on row pointers; palette images are read through their palette.
template <typename Convert>
bool SplitInto(const Image& src, const std::array<Image*, 4>& dests, Convert convert) {
    if (!src.IsValid()) return false;
    if (!dests[0] && !dests[1] && !dests[2] && !dests[3]) return false;
    const uint32_t w = src.GetWidth(), h = src.GetHeight();
    std::array<Image, 4> parts;
    for (size_t i = 0; i < 4; ++i) {
        if (!dests[i]) continue;
        if (!parts[i].Create(w, h, 8, 0)) return false;
        parts[i].SetGrayPalette();
    }
    const RGBQUAD* pal = src.GetPalette();
    for (uint32_t y = 0; y < h; ++y) {
        const uint8_t* s = src.GetBits(y);
        std::array<uint8_t*, 4> rows{};
        for (size_t i = 0; i < 4; ++i)
            if (dests[i]) rows[i] = parts[i].GetBits(y);
        for (uint32_t x = 0; x < w; ++x) {
            RGBQUAD c;
            if (pal)
                c = pal[src.BlindGetPixelIndex(static_cast<int32_t>(x), static_cast<int32_t>(y))];
            else
                c = RGBQUAD{s[3 * x], s[3 * x + 1], s[3 * x + 2], 0};
            const std::array<uint8_t, 4> v = convert(c);
            for (size_t i = 0; i < 4; ++i)
                if (rows[i]) rows[i][x] = v[i];
        }
    }
    for (size_t i = 0; i < 4; ++i)
        if (dests[i]) dests[i]->Transfer(parts[i]);
    return true;
}

// The red, green and blue bytes of a converted colour.
template <RGBQUAD (*Convert)(RGBQUAD)> std::array<uint8_t, 4> Components(RGBQUAD c) {
    const RGBQUAD t = Convert(c);
    return {t.rgbRed, t.rgbGreen, t.rgbBlue, 0};
}

RGBQUAD Identity(RGBQUAD c) {
    return c;
}

// A channel image's value at a pixel: its palette index, or the grey level of
// a true-colour image (which has no index to give).
uint8_t ChannelValue(const Image& img, int32_t x, int32_t y) {
    return img.IsIndexed() ? img.BlindGetPixelIndex(x, y) : img.GetPixelGray(x, y);
}

} // namespace

bool Image::SplitRGB(Image* r, Image* g, Image* b) const {
    return SplitInto(*this, {r, g, b, nullptr}, Components<Identity>);
}

bool Image::SplitYUV(Image* y, Image* u, Image* v) const {
    return SplitInto(*this, {y, u, v, nullptr}, Components<RGBtoYUV>);
}

bool Image::SplitYIQ(Image* y, Image* i, Image* q) const {
    return SplitInto(*this, {y, i, q, nullptr}, Components<RGBtoYIQ>);
}

bool Image::SplitXYZ(Image* x, Image* y, Image* z) const {
    return SplitInto(*this, {x, y, z, nullptr}, Components<RGBtoXYZ>);
}

bool Image::SplitHSL(Image* h, Image* s, Image* l) const {
    return SplitInto(*this, {h, s, l, nullptr}, Components<RGBtoHSL>);
}

bool Image::SplitCMYK(Image* c, Image* m, Image* y, Image* k) const {
    return SplitInto(*this, {c, m, y, k}, [](RGBQUAD q) {
        return std::array<uint8_t, 4>{
            static_cast<uint8_t>(255 - q.rgbRed), static_cast<uint8_t>(255 - q.rgbGreen),
            static_cast<uint8_t>(255 - q.rgbBlue),
            GreyOf(q)};
    });
}

// The channel images are not changed: where one differs in size from c1, a
// resized copy is read instead.
bool Image::Combine(const Image* c1, const Image* c2, const Image* c3, const Image* alpha, int colorSpace) {
    if (!c1 || !c2 || !c3 || !c1->IsValid() || !c2->IsValid() || !c3->IsValid()) return false;
    if (alpha && !alpha->IsValid()) return false;
    const uint32_t w = c1->GetWidth(), h = c1->GetHeight();
    std::array<std::unique_ptr<Image>, 3> resized;
    const auto fit = [&](const Image* img, size_t slot) -> const Image* {
        if (!img || (img->GetWidth() == w && img->GetHeight() == h)) return img;
        resized[slot] = std::make_unique<Image>(*img, true, false, false);
        if (!resized[slot]->Resample(static_cast<int32_t>(w), static_cast<int32_t>(h), 1)) return nullptr;
        return resized[slot].get();
    };
    const Image* p2 = fit(c2, 0);
    const Image* p3 = fit(c3, 1);
    const Image* pa = fit(alpha, 2);
    if (!p2 || !p3 || (alpha && !pa)) return false;

    Image tmp;
    if (!tmp.Create(w, h, 24, 0)) return false;
    tmp.SetXDPI(c1->GetXDPI());
    tmp.SetYDPI(c1->GetYDPI());
    if (pa && !tmp.AlphaCreate()) return false;
    // Rows of tmp are independent; the channels are only read. No escape: the
    // picture is rebuilt whole or not at all.
    RowRunner::Run(
        RowProgress{this, static_cast<int32_t>(h)}, 0, static_cast<int32_t>(h), true,
        [&](int32_t iy) {
            const auto y = static_cast<uint32_t>(iy);
            uint8_t* d = tmp.GetBits(y);
            uint8_t* a = pa ? tmp.pAlpha.get() + static_cast<size_t>(y) * w : nullptr;
            for (uint32_t x = 0; x < w; ++x) {
                const auto ix = static_cast<int32_t>(x);
                RGBQUAD c{ChannelValue(*p3, ix, iy), ChannelValue(*p2, ix, iy), ChannelValue(*c1, ix, iy), 0};
                switch (colorSpace) {
                case CS_HSL:
                    c = HSLtoRGB(c);
                    break;
                case CS_YUV:
                    c = YUVtoRGB(c);
                    break;
                case CS_YIQ:
                    c = YIQtoRGB(c);
                    break;
                case CS_XYZ:
                    c = XYZtoRGB(c);
                    break;
                default:
                    break;
                }
                d[3 * x] = c.rgbBlue;
                d[3 * x + 1] = c.rgbGreen;
                d[3 * x + 2] = c.rgbRed;
                if (a) a[x] = ChannelValue(*pa, ix, iy);
            }
        },
        false);
    info.progress = 0;
    return Transfer(tmp);
}

} // namespace vimg
