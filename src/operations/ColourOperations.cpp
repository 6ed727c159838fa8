// Operations on colour channels: splitting into channel images, combining
// them, mixing with another image and the Fourier transform.
#include "OperationRegistry.h"

namespace vops {

using vimg::Image;

namespace {

using SplitThree = bool (Image::*)(Image*, Image*, Image*) const;

// A Split* operation: the image stays as it is and the channel images are the result.
Operation SplitOperation(const char* name, SplitThree split) {
    return {.name = name,
            .run =
                [split](Image& img, const Arguments&, RunContext& c) {
                    std::unique_ptr<Image> p[3] = {std::make_unique<Image>(), std::make_unique<Image>(),
                                                   std::make_unique<Image>()};
                    if (!(img.*split)(p[0].get(), p[1].get(), p[2].get())) return false;
                    for (auto& part : p)
                        c.AddImage(std::move(part));
                    return true;
                },
            .imagesMade = 3};
}

Parameter Offset(std::string name, bool withFallback) {
    return withFallback ? IntegerArg(std::move(name), -1000000, 1000000, 0)
                        : IntegerArg(std::move(name), -1000000, 1000000);
}

} // namespace

void RegisterColourOperations(OperationRegistry& r) {
    r.Add(SplitOperation("SplitRGB", &Image::SplitRGB));
    r.Add(SplitOperation("SplitYUV", &Image::SplitYUV));
    r.Add(SplitOperation("SplitYIQ", &Image::SplitYIQ));
    r.Add(SplitOperation("SplitXYZ", &Image::SplitXYZ));
    r.Add(SplitOperation("SplitHSL", &Image::SplitHSL));
    r.Add({.name = "SplitCMYK",
           .run =
               [](Image& img, const Arguments&, RunContext& c) {
                   std::unique_ptr<Image> p[4] = {std::make_unique<Image>(), std::make_unique<Image>(),
                                                  std::make_unique<Image>(), std::make_unique<Image>()};
                   if (!img.SplitCMYK(p[0].get(), p[1].get(), p[2].get(), p[3].get())) return false;
                   for (auto& part : p)
                       c.AddImage(std::move(part));
                   return true;
               },
           .imagesMade = 4});
    // The image is the first channel; the others (and an optional alpha plane) come from files.
    r.Add(
        {"Combine",
         {{3, {FileArg("file2"), FileArg("file3"), IntegerArg("space", 0, 4)}},
          {4,
           {FileArg("file2"), FileArg("file3"), Omittable(FileArg("alphafile")), IntegerArg("space", 0, 4)}}},
         [](Image& img, const Arguments& a, RunContext& c) {
             const size_t spaceArg = a.size() - 1;
             const auto c2 = c.LoadImage(a, 0);
             const auto c3 = c.LoadImage(a, 1);
             std::unique_ptr<Image> alpha;
             if (a.size() == 4 && a.Given(2)) alpha = c.LoadImage(a, 2);
             const Image first(img);
             return img.Combine(&first, c2.get(), c3.get(), alpha.get(),
                                static_cast<int>(a.Integer(spaceArg)));
         }});
    r.Add({"Mix",
           {{2,
             {FileArg("file"), IntegerArg("op", 0, 9), Offset("xOffset", true), Offset("yOffset", true),
              FlagArg("mixAlpha", false)}}},
           [](Image& img, const Arguments& a, RunContext& c) {
               const auto other = c.LoadImage(a, 0);
               return img.Mix(*other, static_cast<int>(a.Integer(1)), static_cast<int32_t>(a.Integer(2)),
                              static_cast<int32_t>(a.Integer(3)), a.Flag(4));
           }});
    r.Add({"MixFrom",
           {{3, {FileArg("file"), Offset("x", false), Offset("y", false)}}},
           [](Image& img, const Arguments& a, RunContext& c) {
               const auto other = c.LoadImage(a, 0);
               img.MixFrom(*other, static_cast<int32_t>(a.Integer(1)), static_cast<int32_t>(a.Integer(2)));
               return true;
           }});
    // The image is the real part; the results are the real and the imaginary part.
    r.Add({.name = "FFT2",
           .forms = {{0,
                      {Omittable(FileArg("imaginaryfile")), IntegerArg("direction", -1, 1, 1),
                       FlagArg("forceFFT", true), FlagArg("magnitude", true)}}},
           .run =
               [](Image& img, const Arguments& a, RunContext& c) {
                   std::unique_ptr<Image> imag;
                   if (a.Given(0)) imag = c.LoadImage(a, 0);
                   auto re = std::make_unique<Image>();
                   auto im = std::make_unique<Image>();
                   if (!img.FFT2(&img, imag.get(), re.get(), im.get(), static_cast<int>(a.Integer(1)),
                                 a.Flag(2), a.Flag(3)))
                       return false;
                   c.AddImage(std::move(re));
                   c.AddImage(std::move(im));
                   return true;
               },
           .check = [](const Arguments& a) -> std::string {
               return a.Integer(1) == 0 ? "direction must be 1 (forward) or -1 (inverse)" : "";
           },
           .imagesMade = 2});
}

} // namespace vops
