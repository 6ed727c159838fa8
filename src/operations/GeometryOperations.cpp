// Operations that move pixels: mirror, flip, turns, rotation, resampling,
// skew, crop, canvas expansion, thumbnails and the circular distortions.
#include "OperationRegistry.h"

namespace vops {

using vimg::Image;

namespace {

Parameter Method(long long fallback) {
    return IntegerArg("method", 1, 16, fallback);
}
Parameter Overflow(long long fallback) {
    return IntegerArg("overflow", 1, 6, fallback);
}
Parameter Size(std::string name) {
    return IntegerArg(std::move(name), 1, 1000000);
}
Parameter Coordinate(std::string name) {
    return IntegerArg(std::move(name), -1000000, 1000000);
}
Parameter Border(std::string name) {
    return IntegerArg(std::move(name), 0, 1000000);
}

int32_t Int(const Arguments& a, size_t i) {
    return static_cast<int32_t>(a.Integer(i));
}
float Float(const Arguments& a, size_t i) {
    return static_cast<float>(a.Number(i));
}

Operation PlainOperation(const char* name, bool (Image::*call)()) {
    return {name, {}, [call](Image& img, const Arguments&, RunContext&) { return (img.*call)(); }};
}

// The quarter and half turns, in place.
Operation TurnOperation(const char* name, bool (Image::*call)(Image*)) {
    return {name, {}, [call](Image& img, const Arguments&, RunContext&) { return (img.*call)(nullptr); }};
}

} // namespace

void RegisterGeometryOperations(OperationRegistry& r) {
    r.Add(PlainOperation("Mirror", &Image::Mirror));
    r.Add(PlainOperation("Flip", &Image::Flip));
    r.Add(TurnOperation("RotateLeft", &Image::RotateLeft));
    r.Add(TurnOperation("RotateRight", &Image::RotateRight));
    r.Add(TurnOperation("Rotate180", &Image::Rotate180));
    r.Add({"Rotate",
           {{1, {NumberArg("degrees", -1e6, 1e6)}}},
           [](Image& img, const Arguments& a, RunContext&) { return img.Rotate(Float(a, 0)); }});
    r.Add({"Rotate2",
           {{1,
             {NumberArg("degrees", -1e6, 1e6), Method(Image::IM_BILINEAR), Overflow(Image::OM_BACKGROUND),
              Omittable(ColourArg("colour")), FlagArg("optimizeRightAngles", true),
              FlagArg("keepSize", false)}}},
           [](Image& img, const Arguments& a, RunContext&) {
               const vimg::RGBQUAD colour = a.Given(3) ? a.Colour(3) : vimg::RGBQUAD{};
               return img.Rotate2(Float(a, 0), nullptr, static_cast<Image::InterpolationMethod>(a.Integer(1)),
                                  static_cast<Image::OverflowMethod>(a.Integer(2)),
                                  a.Given(3) ? &colour : nullptr, a.Flag(4), a.Flag(5));
           }});
    r.Add({"Resample",
           {{2, {Size("width"), Size("height"), IntegerArg("mode", 0, 2, 1)}}},
           [](Image& img, const Arguments& a, RunContext&) {
               return img.Resample(Int(a, 0), Int(a, 1), Int(a, 2));
           }});
    r.Add({"Resample2",
           {{2,
             {Size("width"), Size("height"), Method(Image::IM_BICUBIC2), Overflow(Image::OM_REPEAT),
              FlagArg("disableAveraging", false)}}},
           [](Image& img, const Arguments& a, RunContext&) {
               return img.Resample2(Int(a, 0), Int(a, 1),
                                    static_cast<Image::InterpolationMethod>(a.Integer(2)),
                                    static_cast<Image::OverflowMethod>(a.Integer(3)), nullptr, a.Flag(4));
           }});
    r.Add({"Skew",
           {{2,
             {NumberArg("xGain", -1000, 1000), NumberArg("yGain", -1000, 1000),
              IntegerArg("xPivot", -1000000, 1000000, 0), IntegerArg("yPivot", -1000000, 1000000, 0),
              FlagArg("interpolate", false)}}},
           [](Image& img, const Arguments& a, RunContext&) {
               return img.Skew(Float(a, 0), Float(a, 1), Int(a, 2), Int(a, 3), a.Flag(4));
           }});
    // Top and bottom count from the top row.
    r.Add({"Crop",
           {{4, {Coordinate("left"), Coordinate("top"), Coordinate("right"), Coordinate("bottom")}}},
           [](Image& img, const Arguments& a, RunContext&) {
               return img.Crop(Int(a, 0), Int(a, 1), Int(a, 2), Int(a, 3));
           }});
    r.Add({"CropRotatedRectangle",
           {{5,
             {Coordinate("left"), Coordinate("top"), Size("width"), Size("height"),
              NumberArg("radians", -100, 100)}}},
           [](Image& img, const Arguments& a, RunContext&) {
               return img.CropRotatedRectangle(Int(a, 0), Int(a, 1), Int(a, 2), Int(a, 3), Float(a, 4));
           }});
    // A new size with the picture centred, or four border widths.
    r.Add({"Expand",
           {{3, {Size("width"), Size("height"), ColourArg("colour")}},
            {5, {Border("left"), Border("top"), Border("right"), Border("bottom"), ColourArg("colour")}}},
           [](Image& img, const Arguments& a, RunContext&) {
               if (a.size() == 3) return img.Expand(Int(a, 0), Int(a, 1), a.Colour(2));
               return img.Expand(Int(a, 0), Int(a, 1), Int(a, 2), Int(a, 3), a.Colour(4));
           }});
    r.Add({"Thumbnail",
           {{2, {Size("width"), Size("height"), ColourArg("colour", vimg::RGBQUAD{})}}},
           [](Image& img, const Arguments& a, RunContext&) {
               return img.Thumbnail(Int(a, 0), Int(a, 1), a.Colour(2));
           }});
    r.Add({"QIShrink",
           {{2, {Size("width"), Size("height")}}},
           [](Image& img, const Arguments& a, RunContext&) { return img.QIShrink(Int(a, 0), Int(a, 1)); }});
    r.Add({"CircleTransform",
           {{1,
             {IntegerArg("type", 0, 4), IntegerArg("radius", 0, 1000000, 0),
              NumberArg("factor", -1e6, 1e6, 0.0)}}},
           [](Image& img, const Arguments& a, RunContext&) {
               return img.CircleTransform(static_cast<int>(a.Integer(0)), Int(a, 1), Float(a, 2));
           }});
}

} // namespace vops
