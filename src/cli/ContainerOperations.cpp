// Process steps that work on the container itself: palettes, alpha, fill, resolution.
#include "Operations.h"

namespace vimg::cli {
namespace {

const OperationRegistrar registrar{
    {"Clear", 0, 1, "[value]",
     [](Image& img, const OpArgs& a, OpContext&) {
         img.Clear(static_cast<uint8_t>(a.integer(0, 0, 255, 0)));
         return true;
     }},
    {"SetGrayPalette", 0, 0, "",
     [](Image& img, const OpArgs&, OpContext&) {
         if (!img.IsIndexed()) throw ArgumentError("the image has no palette");
         img.SetGrayPalette();
         return true;
     }},
    {"SetStdPalette", 0, 0, "",
     [](Image& img, const OpArgs&, OpContext&) {
         if (!img.IsIndexed()) throw ArgumentError("the image has no palette");
         img.SetStdPalette();
         return true;
     }},
    {"SwapIndex", 2, 2, "a,b",
     [](Image& img, const OpArgs& a, OpContext&) {
         img.SwapIndex(static_cast<uint8_t>(a.integer(0, 0, 255)), static_cast<uint8_t>(a.integer(1, 0, 255)));
         return true;
     }},
    {"AlphaStrip", 0, 0, "",
     [](Image& img, const OpArgs&, OpContext&) {
         img.AlphaStrip();
         return true;
     }},
    {"AlphaDelete", 0, 0, "",
     [](Image& img, const OpArgs&, OpContext&) {
         img.AlphaDelete();
         return true;
     }},
    {"SetTransColor", 1, 1, "#rrggbb",
     [](Image& img, const OpArgs& a, OpContext&) {
         img.SetTransColor(a.colour(0));
         return true;
     }},
    {"SetDPI", 1, 2, "x[,y]",
     [](Image& img, const OpArgs& a, OpContext&) {
         const auto x = static_cast<int32_t>(a.integer(0, 1, 1000000));
         img.SetXDPI(x);
         img.SetYDPI(static_cast<int32_t>(a.integer(1, 1, 1000000, x)));
         return true;
     }},
};

} // namespace
} // namespace vimg::cli
