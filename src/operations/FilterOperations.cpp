// The pixel filters, tone and histogram operations and the depth conversions,
// with the arguments the menu commands pass.
#include "OperationRegistry.h"

#include "ReduceBitDepth.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace vops {

using vimg::Image;

namespace {

int32_t Int(const Arguments& a, size_t i) {
    return static_cast<int32_t>(a.Integer(i));
}
float Float(const Arguments& a, size_t i) {
    return static_cast<float>(a.Number(i));
}

// A 3 x 3 kernel is 3 + 9 arguments; kernels go up to 15 x 15.
constexpr long long kMaxKernel = 15;

// Erode, Dilate, Edge and Median: one optional window size.
Operation WindowOperation(const char* name, long long fallback, bool (Image::*call)(int32_t)) {
    return {name,
            {{0, {IntegerArg("size", 1, 31, fallback)}}},
            [call](Image& img, const Arguments& a, RunContext&) { return (img.*call)(Int(a, 0)); }};
}

// Operations without arguments that return the library's result.
Operation PlainOperation(const char* name, bool (Image::*call)()) {
    return {name, {}, [call](Image& img, const Arguments&, RunContext&) { return (img.*call)(); }};
}

// A tone table holds 256 bytes for all channels, 768 for red, green and blue, or 1024 with alpha.
bool TableSizeFits(uintmax_t size) {
    return size == 256 || size == 768 || size == 1024;
}

} // namespace

void RegisterFilterOperations(OperationRegistry& r) {
    r.Add({.name = "Filter",
           .forms = {{4,
                      {IntegerArg("size", 1, kMaxKernel, 3), IntegerArg("divisor", -1000000, 1000000, 0),
                       IntegerArg("offset", -100000, 100000, 0)},
                      IntegerArg("weight", -1000000, 1000000, 0),
                      3 + kMaxKernel * kMaxKernel}},
           .run =
               [](Image& img, const Arguments& a, RunContext&) {
                   std::vector<int32_t> kernel;
                   for (size_t i = 3; i < a.size(); ++i)
                       kernel.push_back(Int(a, i));
                   return img.Filter(kernel.data(), Int(a, 0), Int(a, 1), Int(a, 2));
               },
           .check = [](const Arguments& a) -> std::string {
               const long long size = a.Integer(0);
               if (a.size() == static_cast<size_t>(3 + size * size)) return "";
               return "a kernel of size " + std::to_string(size) + " needs " + std::to_string(size * size) +
                      " weights";
           }});
    r.Add(WindowOperation("Erode", 2, &Image::Erode));
    r.Add(WindowOperation("Dilate", 2, &Image::Dilate));
    r.Add(WindowOperation("Edge", 2, &Image::Edge));
    r.Add(WindowOperation("Median", 3, &Image::Median));
    r.Add(PlainOperation("Contour", &Image::Contour));
    r.Add({"Jitter",
           {{0, {IntegerArg("radius", 0, 10000, 2)}}},
           [](Image& img, const Arguments& a, RunContext& c) {
               c.SeedRandom();
               return img.Jitter(Int(a, 0));
           }});
    r.Add({"Noise",
           {{1, {IntegerArg("level", 0, 10000, 0)}}},
           [](Image& img, const Arguments& a, RunContext& c) {
               c.SeedRandom();
               return img.Noise(Int(a, 0));
           }});
    r.Add({"UnsharpMask",
           {{0,
             {NumberArg("radius", 0.01, 100, 5), NumberArg("amount", -10, 10, 0.5),
              IntegerArg("threshold", 0, 255, 0)}}},
           [](Image& img, const Arguments& a, RunContext&) {
               return img.UnsharpMask(Float(a, 0), Float(a, 1), Int(a, 2));
           }});
    r.Add({"Light",
           {{1, {IntegerArg("brightness", -1000, 1000, 0), IntegerArg("contrast", -1000, 1000, 0)}}},
           [](Image& img, const Arguments& a, RunContext&) { return img.Light(Int(a, 0), Int(a, 1)); }});
    r.Add({"Gamma",
           {{1, {NumberArg("gamma", 0.001, 1000)}}},
           [](Image& img, const Arguments& a, RunContext&) { return img.Gamma(Float(a, 0)); }});
    r.Add({.name = "Lut",
           .forms = {{1, {FileArg("tablefile")}}},
           .run =
               [](Image& img, const Arguments& a, RunContext&) {
                   std::ifstream in(a.Text(0), std::ios::binary);
                   const std::vector<uint8_t> t((std::istreambuf_iterator<char>(in)),
                                                std::istreambuf_iterator<char>());
                   if (!in.eof() || !TableSizeFits(t.size()))
                       throw OperationError("cannot read the table '" + a.Text(0) + "'");
                   if (t.size() == 256) return img.Lut(t.data());
                   if (t.size() == 768) return img.Lut(t.data(), t.data() + 256, t.data() + 512);
                   return img.Lut(t.data(), t.data() + 256, t.data() + 512, t.data() + 768);
               },
           .check = [](const Arguments& a) -> std::string {
               std::error_code error;
               if (TableSizeFits(std::filesystem::file_size(a.Text(0), error)) && !error) return "";
               return "a table file holds 256, 768 or 1024 bytes";
           }});
    r.Add(
        {"Threshold", {{1, {IntegerArg("level", 0, 255)}}}, [](Image& img, const Arguments& a, RunContext&) {
             return img.Threshold(static_cast<uint8_t>(a.Integer(0)));
         }});
    r.Add(PlainOperation("Negative", &Image::Negative));
    r.Add(PlainOperation("GrayScale", &Image::GrayScale));
    r.Add({"Colorize",
           {{2, {IntegerArg("hue", 0, 255), IntegerArg("saturation", 0, 255), NumberArg("blend", 0, 1, 1)}}},
           [](Image& img, const Arguments& a, RunContext&) {
               return img.Colorize(static_cast<uint8_t>(a.Integer(0)), static_cast<uint8_t>(a.Integer(1)),
                                   Float(a, 2));
           }});
    r.Add({"ShiftRGB",
           {{3,
             {IntegerArg("red", -255, 255, 0), IntegerArg("green", -255, 255, 0),
              IntegerArg("blue", -255, 255, 0)}}},
           [](Image& img, const Arguments& a, RunContext&) {
               return img.ShiftRGB(Int(a, 0), Int(a, 1), Int(a, 2));
           }});
    r.Add({"HuePalette",
           {{0, {NumberArg("correction", -100, 100, 1)}}},
           [](Image& img, const Arguments& a, RunContext&) {
               if (!img.IsIndexed()) throw OperationError("the image has no palette");
               return img.HuePalette(Float(a, 0));
           }});
    r.Add({"Mean", {}, [](Image& img, const Arguments&, RunContext& c) {
               char line[64];
               std::snprintf(line, sizeof line, "%.3f\n", static_cast<double>(img.Mean()));
               c.Report(line);
               return img.IsValid();
           }});
    r.Add({"Histogram",
           {{0, {IntegerArg("colorspace", 0, 4, 0)}}},
           [](Image& img, const Arguments& a, RunContext& c) {
               long red[256], green[256], blue[256], grey[256];
               img.Histogram(red, green, blue, grey, Int(a, 0));
               for (int i = 0; i < 256; ++i) {
                   char line[96];
                   std::snprintf(line, sizeof line, "%d %ld %ld %ld %ld\n", i, red[i], green[i], blue[i],
                                 grey[i]);
                   c.Report(line);
               }
               return img.IsValid();
           }});
    r.Add({"HistogramStretch",
           {{0, {IntegerArg("method", 0, 2, 0)}}},
           [](Image& img, const Arguments& a, RunContext&) { return img.HistogramStretch(Int(a, 0)); }});
    r.Add(PlainOperation("HistogramEqualize", &Image::HistogramEqualize));
    r.Add(PlainOperation("HistogramNormalize", &Image::HistogramNormalize));
    r.Add(PlainOperation("HistogramLog", &Image::HistogramLog));
    r.Add(PlainOperation("HistogramRoot", &Image::HistogramRoot));
    r.Add({"Repair",
           {{0,
             {NumberArg("radius", -10, 10, 0.25), IntegerArg("iterations", 0, 1000, 1),
              IntegerArg("colorspace", 0, 4, 0)}}},
           [](Image& img, const Arguments& a, RunContext&) {
               return img.Repair(Float(a, 0), Int(a, 1), Int(a, 2));
           }});
    r.Add({.name = "DecreaseBpp",
           .forms = {{1,
                      {IntegerArg("bits", 1, 8), FlagArg("errordiffusion", false),
                       FlagArg("optimisedpalette", false), IntegerArg("colours", 0, 256, 0)}}},
           .run =
               [](Image& img, const Arguments& a, RunContext&) {
                   return vimg::ReduceBitDepth(img, static_cast<uint32_t>(a.Integer(0)), a.Flag(1), a.Flag(2),
                                               static_cast<uint32_t>(a.Integer(3)));
               },
           .check = [](const Arguments& a) -> std::string {
               const long long bits = a.Integer(0);
               return bits == 1 || bits == 4 || bits == 8 ? "" : "bits must be 1, 4 or 8";
           }});
    r.Add(
        {"IncreaseBpp", {{1, {IntegerArg("bits", 1, 24)}}}, [](Image& img, const Arguments& a, RunContext&) {
             return img.IncreaseBpp(static_cast<uint32_t>(a.Integer(0)));
         }});
    r.Add({"Dither", {{0, {IntegerArg("method", 0, 7, 0)}}}, [](Image& img, const Arguments& a, RunContext&) {
               return img.Dither(Int(a, 0));
           }});
}

} // namespace vops
