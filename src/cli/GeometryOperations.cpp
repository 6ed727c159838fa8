// Process steps that move pixels: mirror, flip, turns, rotation, resampling,
// skew, crop, canvas expansion, thumbnails and the circular distortions.
#include "Operations.h"

namespace vimg::cli {
namespace {

Image::InterpolationMethod Method(const OpArgs& a, size_t i, Image::InterpolationMethod fallback) {
    return static_cast<Image::InterpolationMethod>(a.integer(i, 1, 16, fallback));
}

Image::OverflowMethod Overflow(const OpArgs& a, size_t i, Image::OverflowMethod fallback) {
    return static_cast<Image::OverflowMethod>(a.integer(i, 1, 6, fallback));
}

int32_t Size(const OpArgs& a, size_t i) { return static_cast<int32_t>(a.integer(i, 1, 1000000)); }
int32_t Coordinate(const OpArgs& a, size_t i) { return static_cast<int32_t>(a.integer(i, -1000000, 1000000)); }
int32_t Border(const OpArgs& a, size_t i) { return static_cast<int32_t>(a.integer(i, 0, 1000000)); }

const OperationRegistrar registrar{
    {"Mirror", 0, 0, "", [](Image& img, const OpArgs&, OpContext&) { return img.Mirror(); }},
    {"Flip", 0, 0, "", [](Image& img, const OpArgs&, OpContext&) { return img.Flip(); }},
    {"RotateLeft", 0, 0, "", [](Image& img, const OpArgs&, OpContext&) { return img.RotateLeft(); }},
    {"RotateRight", 0, 0, "", [](Image& img, const OpArgs&, OpContext&) { return img.RotateRight(); }},
    {"Rotate180", 0, 0, "", [](Image& img, const OpArgs&, OpContext&) { return img.Rotate180(); }},
    {"Rotate", 1, 1, "degrees",
     [](Image& img, const OpArgs& a, OpContext&) { return img.Rotate(static_cast<float>(a.number(0, -1e6, 1e6))); }},
    {"Rotate2", 1, 6, "degrees[,method 1..16[,overflow 1..6[,#rrggbb[aa][,optimizeRightAngles 0|1[,keepSize 0|1]]]]]",
     [](Image& img, const OpArgs& a, OpContext&) {
         const bool hasColour = a.has(3);
         const RGBQUAD colour = a.colour(3, RGBQUAD{});
         return img.Rotate2(static_cast<float>(a.number(0, -1e6, 1e6)), nullptr, Method(a, 1, Image::IM_BILINEAR),
                            Overflow(a, 2, Image::OM_BACKGROUND), hasColour ? &colour : nullptr, a.flag(4, true),
                            a.flag(5, false));
     }},
    {"Resample", 2, 3, "width,height[,mode 0..2]",
     [](Image& img, const OpArgs& a, OpContext&) {
         return img.Resample(Size(a, 0), Size(a, 1), static_cast<int>(a.integer(2, 0, 2, 1)));
     }},
    {"Resample2", 2, 5, "width,height[,method 1..16[,overflow 1..6[,disableAveraging 0|1]]]",
     [](Image& img, const OpArgs& a, OpContext&) {
         return img.Resample2(Size(a, 0), Size(a, 1), Method(a, 2, Image::IM_BICUBIC2), Overflow(a, 3, Image::OM_REPEAT),
                              nullptr, a.flag(4, false));
     }},
    {"Skew", 2, 5, "xGain,yGain[,xPivot,yPivot[,interpolate 0|1]]",
     [](Image& img, const OpArgs& a, OpContext&) {
         return img.Skew(static_cast<float>(a.number(0, -1000, 1000)), static_cast<float>(a.number(1, -1000, 1000)),
                         static_cast<int32_t>(a.integer(2, -1000000, 1000000, 0)),
                         static_cast<int32_t>(a.integer(3, -1000000, 1000000, 0)), a.flag(4, false));
     }},
    {"Crop", 4, 4, "left,top,right,bottom (top and bottom from the top)",
     [](Image& img, const OpArgs& a, OpContext&) {
         return img.Crop(Coordinate(a, 0), Coordinate(a, 1), Coordinate(a, 2), Coordinate(a, 3));
     }},
    {"CropRotatedRectangle", 5, 5, "left,top,width,height,radians",
     [](Image& img, const OpArgs& a, OpContext&) {
         return img.CropRotatedRectangle(Coordinate(a, 0), Coordinate(a, 1), Size(a, 2), Size(a, 3),
                                         static_cast<float>(a.number(4, -100, 100)));
     }},
    {"Expand", 3, 5, "left,top,right,bottom,#rrggbb or width,height,#rrggbb",
     [](Image& img, const OpArgs& a, OpContext&) {
         if (a.size() == 3) return img.Expand(Size(a, 0), Size(a, 1), a.colour(2));
         if (a.size() != 5) throw ArgumentError("give four border widths and a colour, or a size and a colour");
         return img.Expand(Border(a, 0), Border(a, 1), Border(a, 2), Border(a, 3), a.colour(4));
     }},
    {"Thumbnail", 2, 3, "width,height[,#rrggbb]",
     [](Image& img, const OpArgs& a, OpContext&) {
         return img.Thumbnail(Size(a, 0), Size(a, 1), a.colour(2, RGBQUAD{}));
     }},
    {"QIShrink", 2, 2, "width,height",
     [](Image& img, const OpArgs& a, OpContext&) { return img.QIShrink(Size(a, 0), Size(a, 1)); }},
    {"CircleTransform", 1, 3, "type 0..4[,radius[,factor]]",
     [](Image& img, const OpArgs& a, OpContext&) {
         return img.CircleTransform(static_cast<int>(a.integer(0, 0, 4)),
                                    static_cast<int32_t>(a.integer(1, 0, 1000000, 0)),
                                    static_cast<float>(a.number(2, -1e6, 1e6, 0.0)));
     }},
};

} // namespace
} // namespace vimg::cli
