// The one place where the views put an image's pixels on a device context.
// Only the part of the destination inside the context's clip box is composed,
// so a paint costs the visible pixels, not the picture's.
#pragma once

#include <QRect>

class CDeviceContext;

namespace vimg {
class Image;
}

namespace picture {

// Draws `image` scaled into `dest` (device coordinates): nearest pixel, or
// bilinear when `smooth`. Pixels with an alpha value or the transparent
// index are blended over what the context already shows. False when nothing
// was drawn (empty image or destination, disabled image, nothing visible).
bool Draw(CDeviceContext& dc, const vimg::Image& image, const QRect& dest, bool smooth);

} // namespace picture
