// Conversions between images and the platform layer's bitmaps and icons.
#pragma once

#include <memory>

#include "Bitmap.h"
#include "DeviceContext.h"
#include "Icon.h"
#include "Image.h"

namespace vimg::display {

// With a device context: a device bitmap (32 bits) showing the image's
// colours. Without one: a bitmap of the image's own depth holding its pixel
// bytes and palette. Null for an empty image.
std::unique_ptr<CBitmap> MakeBitmap(const Image& image, const CDeviceContext* dc);

// Replaces the image with the bitmap's pixels: same size, its depth (32-bit
// bitmaps become 24-bit images), its colour table as palette. False with
// "GetDIBits failed" for a missing or empty bitmap.
bool CreateFromHBITMAP(Image& image, const CBitmap* bitmap);

// The icon's colour bitmap, with an alpha plane from its mask: masked-out
// pixels become transparent. False when either bitmap cannot be read or the
// mask's size differs from the colour bitmap's.
bool CreateFromHICON(Image& image, const CIcon& icon);

// A 24-bit image of a Qt picture (a rendering, another program's clipboard
// picture); null for an empty picture or when the image cannot be made.
std::unique_ptr<Image> FromQImage(const QImage& picture);

} // namespace vimg::display
