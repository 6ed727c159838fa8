// Process steps on colour channels: splitting into channel images, combining
// them, mixing with another image and the Fourier transform.
#include "Operations.h"

namespace vimg::cli {
namespace {

// Runs a Split* operation and hands its images to the context as OUT-1, OUT-2, ...
template <typename SplitFn> bool SplitStep(const Image& img, OpContext& ctx, size_t count, SplitFn split) {
    std::vector<std::unique_ptr<Image>> parts;
    for (size_t i = 0; i < count; ++i)
        parts.push_back(std::make_unique<Image>());
    if (!split(img, parts)) return false;
    for (auto& p : parts)
        ctx.outputs.push_back(std::move(p));
    return true;
}

using Parts = std::vector<std::unique_ptr<Image>>;
using SplitThree = bool (Image::*)(Image*, Image*, Image*) const;

// The step of a Split* operation that makes three channel images.
template <SplitThree split> bool SplitThreeStep(Image& img, const OpArgs&, OpContext& ctx) {
    return SplitStep(img, ctx, 3,
                     [](const Image& i, Parts& p) { return (i.*split)(p[0].get(), p[1].get(), p[2].get()); });
}

const OperationRegistrar registrar{
    {"SplitRGB", 0, 0, "", SplitThreeStep<&Image::SplitRGB>},
    {"SplitYUV", 0, 0, "", SplitThreeStep<&Image::SplitYUV>},
    {"SplitYIQ", 0, 0, "", SplitThreeStep<&Image::SplitYIQ>},
    {"SplitXYZ", 0, 0, "", SplitThreeStep<&Image::SplitXYZ>},
    {"SplitHSL", 0, 0, "", SplitThreeStep<&Image::SplitHSL>},
    {"SplitCMYK", 0, 0, "",
     [](Image& img, const OpArgs&, OpContext& ctx) {
         return SplitStep(img, ctx, 4, [](const Image& i, Parts& p) {
             return i.SplitCMYK(p[0].get(), p[1].get(), p[2].get(), p[3].get());
         });
     }},
    {"Combine", 3, 4, "FILE2,FILE3,[FILE4],space 0..4",
     [](Image& img, const OpArgs& a, OpContext&) {
         const size_t spaceArg = a.size() - 1;
         const auto space = static_cast<int>(a.integer(spaceArg, 0, 4));
         const auto c2 = LoadArgumentImage(a.text(0));
         const auto c3 = LoadArgumentImage(a.text(1));
         std::unique_ptr<Image> alpha;
         if (a.size() == 4 && a.has(2)) alpha = LoadArgumentImage(a.text(2));
         const Image first(img);
         return img.Combine(&first, c2.get(), c3.get(), alpha.get(), space);
     }},
    {"Mix", 2, 5, "FILE,op 0..9[,xOffset,yOffset[,mixAlpha 0|1]]",
     [](Image& img, const OpArgs& a, OpContext&) {
         const auto other = LoadArgumentImage(a.text(0));
         return img.Mix(*other, static_cast<int>(a.integer(1, 0, 9)),
                        static_cast<int32_t>(a.integer(2, -1000000, 1000000, 0)),
                        static_cast<int32_t>(a.integer(3, -1000000, 1000000, 0)), a.flag(4, false));
     }},
    {"MixFrom", 3, 3, "FILE,x,y",
     [](Image& img, const OpArgs& a, OpContext&) {
         const auto other = LoadArgumentImage(a.text(0));
         img.MixFrom(*other, static_cast<int32_t>(a.integer(1, -1000000, 1000000)),
                     static_cast<int32_t>(a.integer(2, -1000000, 1000000)));
         return true;
     }},
    // The input is the real part; OUT-1 receives the real and OUT-2 the imaginary result.
    {"FFT2", 0, 4, "[IMAGINARY_FILE][,direction 1|-1[,forceFFT 0|1[,magnitude 0|1]]]",
     [](Image& img, const OpArgs& a, OpContext& ctx) {
         std::unique_ptr<Image> imag;
         if (a.has(0)) imag = LoadArgumentImage(a.text(0));
         const auto direction = static_cast<int>(a.integer(1, -1, 1, 1));
         if (direction == 0) throw ArgumentError("direction must be 1 (forward) or -1 (inverse)");
         auto re = std::make_unique<Image>();
         auto im = std::make_unique<Image>();
         if (!img.FFT2(&img, imag.get(), re.get(), im.get(), direction, a.flag(2, true), a.flag(3, true)))
             return false;
         ctx.outputs.push_back(std::move(re));
         ctx.outputs.push_back(std::move(im));
         return true;
     }},
};

} // namespace
} // namespace vimg::cli
