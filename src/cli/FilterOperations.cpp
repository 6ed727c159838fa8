// Process steps for the pixel filters, tone and histogram operations and the
// depth conversions, with the arguments the menu commands pass.
#include "Operations.h"

#include "ReduceBitDepth.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace vimg::cli {
namespace {

// Noise and Jitter take a seed: --seed N gives the first random step N, the
// next N + 1 and so on, so repeated steps differ but runs repeat.
uint32_t NextSeed(OpContext& ctx) { return ctx.seed++; }

int32_t Int(const OpArgs& a, size_t i, long long lo, long long hi, long long fallback) {
    return static_cast<int32_t>(a.integer(i, lo, hi, fallback));
}

// The 5 x 5 Filter step allows 3 + 25 arguments; larger kernels up to 15 x 15.
constexpr int32_t kMaxKernel = 15;

const OperationRegistrar registrar{
    {"Filter", 4, 3 + kMaxKernel* kMaxKernel, "size,divisor,offset,k1,...,k(size*size)",
     [](Image& img, const OpArgs& a, OpContext&) {
         const int32_t size = Int(a, 0, 1, kMaxKernel, 3);
         if (a.size() != 3 + static_cast<size_t>(size * size))
             throw ArgumentError("a kernel of size " + std::to_string(size) + " needs " +
                                 std::to_string(size * size) + " weights");
         std::vector<int32_t> kernel;
         for (size_t i = 3; i < a.size(); ++i)
             kernel.push_back(Int(a, i, -1000000, 1000000, 0));
         return img.Filter(kernel.data(), size, Int(a, 1, -1000000, 1000000, 0),
                           Int(a, 2, -100000, 100000, 0));
     }},
    {"Erode", 0, 1, "[size]",
     [](Image& img, const OpArgs& a, OpContext&) { return img.Erode(Int(a, 0, 1, 31, 2)); }},
    {"Dilate", 0, 1, "[size]",
     [](Image& img, const OpArgs& a, OpContext&) { return img.Dilate(Int(a, 0, 1, 31, 2)); }},
    {"Edge", 0, 1, "[size]",
     [](Image& img, const OpArgs& a, OpContext&) { return img.Edge(Int(a, 0, 1, 31, 2)); }},
    {"Median", 0, 1, "[size]",
     [](Image& img, const OpArgs& a, OpContext&) { return img.Median(Int(a, 0, 1, 31, 3)); }},
    {"Contour", 0, 0, "", [](Image& img, const OpArgs&, OpContext&) { return img.Contour(); }},
    {"Jitter", 0, 1, "[radius]",
     [](Image& img, const OpArgs& a, OpContext& ctx) {
         return img.Jitter(Int(a, 0, 0, 10000, 2), NextSeed(ctx));
     }},
    {"Noise", 1, 1, "level",
     [](Image& img, const OpArgs& a, OpContext& ctx) {
         return img.Noise(Int(a, 0, 0, 10000, 0), NextSeed(ctx));
     }},
    {"UnsharpMask", 0, 3, "[radius[,amount[,threshold]]]",
     [](Image& img, const OpArgs& a, OpContext&) {
         return img.UnsharpMask(static_cast<float>(a.number(0, 0.01, 100, 5)),
                                static_cast<float>(a.number(1, -10, 10, 0.5)), Int(a, 2, 0, 255, 0));
     }},
    {"Light", 1, 2, "brightness[,contrast]",
     [](Image& img, const OpArgs& a, OpContext&) {
         return img.Light(Int(a, 0, -1000, 1000, 0), Int(a, 1, -1000, 1000, 0));
     }},
    {"Gamma", 1, 1, "gamma",
     [](Image& img, const OpArgs& a, OpContext&) {
         return img.Gamma(static_cast<float>(a.number(0, 0.001, 1000)));
     }},
    {"Lut", 1, 1, "tablefile (256 bytes, or 768/1024: red, green, blue[, alpha])",
     [](Image& img, const OpArgs& a, OpContext&) {
         std::ifstream in(a.text(0), std::ios::binary);
         if (!in) throw ArgumentError("cannot read '" + a.text(0) + "'");
         const std::vector<uint8_t> t((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
         if (t.size() == 256) return img.Lut(t.data());
         if (t.size() == 768) return img.Lut(t.data(), t.data() + 256, t.data() + 512);
         if (t.size() == 1024) return img.Lut(t.data(), t.data() + 256, t.data() + 512, t.data() + 768);
         throw ArgumentError("a table file holds 256, 768 or 1024 bytes");
     }},
    {"Threshold", 1, 1, "level",
     [](Image& img, const OpArgs& a, OpContext&) {
         return img.Threshold(static_cast<uint8_t>(a.integer(0, 0, 255)));
     }},
    {"Negative", 0, 0, "", [](Image& img, const OpArgs&, OpContext&) { return img.Negative(); }},
    {"GrayScale", 0, 0, "", [](Image& img, const OpArgs&, OpContext&) { return img.GrayScale(); }},
    {"Colorize", 2, 3, "hue,saturation[,blend]",
     [](Image& img, const OpArgs& a, OpContext&) {
         return img.Colorize(static_cast<uint8_t>(a.integer(0, 0, 255)),
                             static_cast<uint8_t>(a.integer(1, 0, 255)),
                             static_cast<float>(a.number(2, 0, 1, 1)));
     }},
    {"ShiftRGB", 3, 3, "red,green,blue",
     [](Image& img, const OpArgs& a, OpContext&) {
         return img.ShiftRGB(Int(a, 0, -255, 255, 0), Int(a, 1, -255, 255, 0), Int(a, 2, -255, 255, 0));
     }},
    {"HuePalette", 0, 1, "[correction]",
     [](Image& img, const OpArgs& a, OpContext&) {
         if (!img.IsIndexed()) throw ArgumentError("the image has no palette");
         return img.HuePalette(static_cast<float>(a.number(0, -100, 100, 1)));
     }},
    {"Mean", 0, 0, "",
     [](Image& img, const OpArgs&, OpContext&) {
         std::printf("%.3f\n", static_cast<double>(img.Mean()));
         return img.IsValid();
     }},
    {"Histogram", 0, 1, "[colorspace]",
     [](Image& img, const OpArgs& a, OpContext&) {
         long r[256], g[256], b[256], grey[256];
         img.Histogram(r, g, b, grey, Int(a, 0, 0, 4, 0));
         for (int i = 0; i < 256; ++i)
             std::printf("%d %ld %ld %ld %ld\n", i, r[i], g[i], b[i], grey[i]);
         return img.IsValid();
     }},
    {"HistogramStretch", 0, 1, "[method]",
     [](Image& img, const OpArgs& a, OpContext&) { return img.HistogramStretch(Int(a, 0, 0, 2, 0)); }},
    {"HistogramEqualize", 0, 0, "",
     [](Image& img, const OpArgs&, OpContext&) { return img.HistogramEqualize(); }},
    {"HistogramNormalize", 0, 0, "",
     [](Image& img, const OpArgs&, OpContext&) { return img.HistogramNormalize(); }},
    {"HistogramLog", 0, 0, "", [](Image& img, const OpArgs&, OpContext&) { return img.HistogramLog(); }},
    {"HistogramRoot", 0, 0, "", [](Image& img, const OpArgs&, OpContext&) { return img.HistogramRoot(); }},
    {"Repair", 0, 3, "[radius[,iterations[,colorspace]]]",
     [](Image& img, const OpArgs& a, OpContext&) {
         return img.Repair(static_cast<float>(a.number(0, -10, 10, 0.25)), Int(a, 1, 0, 1000, 1),
                           Int(a, 2, 0, 4, 0));
     }},
    {"DecreaseBpp", 1, 4, "bits[,errordiffusion[,optimisedpalette[,colours]]]",
     [](Image& img, const OpArgs& a, OpContext&) {
         const auto bits = static_cast<uint32_t>(a.integer(0, 1, 8));
         if (bits != 1 && bits != 4 && bits != 8) throw ArgumentError("bits must be 1, 4 or 8");
         return ReduceBitDepth(img, bits, a.flag(1), a.flag(2),
                               static_cast<uint32_t>(a.integer(3, 0, 256, 0)));
     }},
    {"IncreaseBpp", 1, 1, "bits",
     [](Image& img, const OpArgs& a, OpContext&) {
         return img.IncreaseBpp(static_cast<uint32_t>(a.integer(0, 1, 24)));
     }},
    {"Dither", 0, 1, "[method]",
     [](Image& img, const OpArgs& a, OpContext&) { return img.Dither(Int(a, 0, 0, 7, 0)); }},
};

} // namespace
} // namespace vimg::cli
