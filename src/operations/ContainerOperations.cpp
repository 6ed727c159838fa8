// Operations on the container itself: palettes, alpha, fill, resolution.
#include "OperationRegistry.h"

namespace vops {

using vimg::Image;

namespace {

void RequirePalette(const Image& img) {
    if (!img.IsIndexed()) throw OperationError("the image has no palette");
}

} // namespace

void RegisterContainerOperations(OperationRegistry& r) {
    r.Add({"Clear", {{0, {IntegerArg("value", 0, 255, 0)}}}, [](Image& img, const Arguments& a, RunContext&) {
               img.Clear(static_cast<uint8_t>(a.Integer(0)));
               return true;
           }});
    r.Add({"SetGrayPalette", {}, [](Image& img, const Arguments&, RunContext&) {
               RequirePalette(img);
               img.SetGrayPalette();
               return true;
           }});
    r.Add({"SetStdPalette", {}, [](Image& img, const Arguments&, RunContext&) {
               RequirePalette(img);
               img.SetStdPalette();
               return true;
           }});
    r.Add({"SwapIndex",
           {{2, {IntegerArg("a", 0, 255), IntegerArg("b", 0, 255)}}},
           [](Image& img, const Arguments& a, RunContext&) {
               img.SwapIndex(static_cast<uint8_t>(a.Integer(0)), static_cast<uint8_t>(a.Integer(1)));
               return true;
           }});
    r.Add({"AlphaStrip", {}, [](Image& img, const Arguments&, RunContext&) {
               img.AlphaStrip();
               return true;
           }});
    r.Add({"AlphaDelete", {}, [](Image& img, const Arguments&, RunContext&) {
               img.AlphaDelete();
               return true;
           }});
    r.Add({"SetTransColor", {{1, {ColourArg("colour")}}}, [](Image& img, const Arguments& a, RunContext&) {
               img.SetTransColor(a.Colour(0));
               return true;
           }});
    // The vertical resolution defaults to the horizontal one.
    r.Add({"SetDPI",
           {{1, {IntegerArg("x", 1, 1000000), Omittable(IntegerArg("y", 1, 1000000))}}},
           [](Image& img, const Arguments& a, RunContext&) {
               const auto x = static_cast<int32_t>(a.Integer(0));
               img.SetXDPI(x);
               img.SetYDPI(a.Given(1) ? static_cast<int32_t>(a.Integer(1)) : x);
               return true;
           }});
}

} // namespace vops
