#include "ImageBitmap.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "DrawSampler.h"

namespace vimg::display {

namespace {

QList<QRgb> ColourTable(const Image& image) {
    QList<QRgb> table;
    const RGBQUAD* palette = image.GetPalette();
    for (uint32_t i = 0; palette && i < image.GetNumColors(); ++i)
        table.append(qRgb(palette[i].rgbRed, palette[i].rgbGreen, palette[i].rgbBlue));
    return table;
}

// The image's colours as a 32-bit picture, through the drawing sampler at natural size.
QImage DeviceImage(const Image& image) {
    const int w = static_cast<int>(image.GetWidth()), h = static_cast<int>(image.GetHeight());
    QImage out(w, h, QImage::Format_RGB32);
    if (out.isNull()) return out;
    const QRect all(0, 0, w, h);
    const DrawSampler sampler(image, all, all, false, false);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<uint32_t*>(out.scanLine(y));
        sampler.SampleRow(y, line, nullptr);
        for (int x = 0; x < w; ++x)
            line[x] |= 0xFF000000u;
    }
    return out;
}

// The pixel bytes in a QImage of the image's own depth (rows top first).
QImage SectionImage(const Image& image) {
    const int w = static_cast<int>(image.GetWidth()), h = static_cast<int>(image.GetHeight());
    const uint32_t bpp = image.GetBpp();
    const QImage::Format format = bpp == 1   ? QImage::Format_Mono
                                  : bpp <= 8 ? QImage::Format_Indexed8
                                             : QImage::Format_BGR888;
    QImage out(w, h, format);
    if (out.isNull()) return out;
    if (bpp <= 8) out.setColorTable(ColourTable(image));
    for (int y = 0; y < h; ++y) {
        const uint8_t* src = image.GetBits(static_cast<uint32_t>(h - 1 - y));
        uint8_t* dst = out.scanLine(y);
        if (bpp == 4) {
            for (int x = 0; x < w; ++x)
                dst[x] = static_cast<uint8_t>((src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F);
        } else {
            const size_t bytes =
                bpp == 1 ? (static_cast<size_t>(w) + 7) / 8 : static_cast<size_t>(w) * (bpp / 8);
            std::memcpy(dst, src, bytes);
        }
    }
    return out;
}

} // namespace

std::unique_ptr<CBitmap> MakeBitmap(const Image& image, const CDeviceContext* dc) {
    if (!image.IsValid()) return nullptr;
    QImage picture = dc ? DeviceImage(image) : SectionImage(image);
    if (picture.isNull()) return nullptr;
    return std::make_unique<CBitmap>(std::move(picture), dc ? 32 : static_cast<int>(image.GetBpp()));
}

bool CreateFromHBITMAP(Image& image, const CBitmap* bitmap) {
    image.Destroy();
    if (!bitmap || bitmap->IsNull()) {
        image.SetLastError("GetDIBits failed");
        return false;
    }
    const int w = bitmap->Width(), h = bitmap->Height(), bits = bitmap->BitsPixel();
    if (!image.Create(static_cast<uint32_t>(w), static_cast<uint32_t>(h), static_cast<uint32_t>(bits), 0))
        return false;
    const QImage& source = bitmap->Image();
    if (bits <= 8) {
        const QList<QRgb> table = source.colorTable();
        const uint32_t count = std::min<uint32_t>(image.GetNumColors(), static_cast<uint32_t>(table.size()));
        std::vector<RGBQUAD> palette(image.GetNumColors());
        for (uint32_t i = 0; i < count; ++i)
            palette[i] =
                RGBQUAD{static_cast<uint8_t>(qBlue(table[i])), static_cast<uint8_t>(qGreen(table[i])),
                        static_cast<uint8_t>(qRed(table[i])), 0};
        image.SetPalette(palette.data(), image.GetNumColors());
    }
    for (int y = 0; y < h; ++y) {
        const uint8_t* src = source.constScanLine(y);
        uint8_t* dst = image.GetBits(static_cast<uint32_t>(h - 1 - y));
        switch (bits) {
        case 1:
            std::memcpy(dst, src, (static_cast<size_t>(w) + 7) / 8);
            break;
        case 4:
            for (int x = 0; x < w; ++x)
                dst[x >> 1] = static_cast<uint8_t>(dst[x >> 1] | ((src[x] & 0x0F) << ((x & 1) ? 0 : 4)));
            break;
        case 8:
            std::memcpy(dst, src, static_cast<size_t>(w));
            break;
        case 24:
            std::memcpy(dst, src, static_cast<size_t>(w) * 3);
            break;
        default: {
            const auto* px = reinterpret_cast<const QRgb*>(src);
            for (int x = 0; x < w; ++x) {
                dst[3 * x] = static_cast<uint8_t>(qBlue(px[x]));
                dst[3 * x + 1] = static_cast<uint8_t>(qGreen(px[x]));
                dst[3 * x + 2] = static_cast<uint8_t>(qRed(px[x]));
            }
        }
        }
    }
    return true;
}

bool CreateFromHICON(Image& image, const CIcon& icon) {
    if (!CreateFromHBITMAP(image, &icon.colour)) return false;
    Image mask;
    if (!CreateFromHBITMAP(mask, &icon.mask)) {
        image.Destroy();
        image.SetLastError("GetDIBits failed");
        return false;
    }
    // Set mask bits mark transparent pixels: grey, then inverted, they are the alpha plane.
    if (!mask.GrayScale() || !mask.Negative() || !image.AlphaSet(mask)) {
        image.Destroy();
        image.SetLastError("icon mask does not fit its colour bitmap");
        return false;
    }
    return true;
}

std::unique_ptr<Image> FromQImage(const QImage& picture) {
    if (picture.isNull()) return nullptr;
    const QImage bgr = picture.convertToFormat(QImage::Format_BGR888);
    auto image = std::make_unique<Image>();
    // Qt rows run top down, the library's bottom up.
    if (!image->CreateFromArray(bgr.constBits(), static_cast<uint32_t>(bgr.width()),
                                static_cast<uint32_t>(bgr.height()), 24,
                                static_cast<uint32_t>(bgr.bytesPerLine()), true))
        return nullptr;
    return image;
}

} // namespace vimg::display
