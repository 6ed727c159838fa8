// "Ellipse umformen": squeezes the whole picture into its inscribed ellipse.
#pragma once

namespace vimg {
class Image;
} // namespace vimg

// Builds into `dest` an image with the header, palette and alpha plane of
// `src` whose pixel (j, i) is src's colour at the square-to-ellipse source
// point of (j, i), bilinear with the background overflow rule. False (with
// dest's last error) when the new image cannot be made.
bool SquareToEllipse(const vimg::Image& src, vimg::Image& dest);

// The source point of pixel (j, i) in an image of that width and height.
void SquareToEllipseSource(int j, int i, int width, int height, float& x, float& y);
