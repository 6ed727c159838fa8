#include "WorkerOperation.h"

#include <algorithm>
#include <initializer_list>

#include "Image.h"
#include "OperationRegistry.h"
#include "Resource.h"

namespace {

using Step = CWorkerOperation::Step;
using vops::Value;

Value Int(long long v) {
    return Value{v};
}
Value Num(double v) {
    return Value{v};
}
Value Flag(bool v) {
    return Value{v};
}

Step Filter(int size, int divisor, int offset, std::initializer_list<int> kernel) {
    Step s{"Filter", {Int(size), Int(divisor), Int(offset)}};
    for (int k : kernel)
        s.values.push_back(Int(k));
    return s;
}

Step Light(long long brightness, long long contrast) {
    return {"Light", {Int(brightness), Int(contrast)}};
}

Step Circle(int type, double factor) {
    return {"CircleTransform", {Int(type), Int(0), Num(factor)}};
}

uint8_t Byte(int32_t v) {
    return static_cast<uint8_t>(v);
}

// The rotation dialog's interpolation list, in its order.
constexpr int kRotateMethods[] = {vimg::Image::IM_NEAREST_NEIGHBOUR,
                                  vimg::Image::IM_BILINEAR,
                                  vimg::Image::IM_BICUBIC,
                                  vimg::Image::IM_BICUBIC2,
                                  vimg::Image::IM_BSPLINE,
                                  vimg::Image::IM_LANCZOS,
                                  vimg::Image::IM_HERMITE};
// The resample dialog's list from its third entry on (the first two are Resample's modes 1 and 0).
constexpr int kResampleMethods[] = {vimg::Image::IM_BILINEAR, vimg::Image::IM_BICUBIC,
                                    vimg::Image::IM_BICUBIC2, vimg::Image::IM_BSPLINE,
                                    vimg::Image::IM_LANCZOS,  vimg::Image::IM_HERMITE};

Step Rotate(const CWorkerOperation::Params& p, const vimg::Image& image) {
    const int method = p[1] >= 0 && p[1] < 7 ? kRotateMethods[p[1]] : vimg::Image::IM_BILINEAR;
    int overflow = vimg::Image::OM_BACKGROUND;
    Value colour; // left out: the background rule's own colour
    switch (p[2]) {
    case 0:
        colour = image.GetPixelColor(0, 0, true);
        break;
    case 1:
        colour = vimg::RGBQUAD{0, 0, 0, 0};
        break;
    case 3:
        overflow = vimg::Image::OM_WRAP;
        break;
    case 4:
        overflow = vimg::Image::OM_REPEAT;
        break;
    case 5:
        overflow = vimg::Image::OM_MIRROR;
        break;
    case 6:
        overflow = vimg::Image::OM_TRANSPARENT;
        break;
    default:
        break;
    }
    return {"Rotate2", {Num(p[0] * 0.001), Int(method), Int(overflow), colour, Flag(true), Flag(p[3] != 0)}};
}

Step Resample(const CWorkerOperation::Params& p) {
    if (p[2] == 0) return {"Resample", {Int(p[0]), Int(p[1]), Int(1)}};
    if (p[2] == 1) return {"Resample", {Int(p[0]), Int(p[1]), Int(0)}};
    const int method = p[2] >= 2 && p[2] < 8 ? kResampleMethods[p[2] - 2] : vimg::Image::IM_BICUBIC2;
    return {"Resample2", {Int(p[0]), Int(p[1]), Int(method), Int(vimg::Image::OM_REPEAT), Flag(false)}};
}

} // namespace

std::vector<Step> CWorkerOperation::StepsFor(int command, const Params& p, const vimg::Image& image) {
    switch (command) {
    case ID_IMAGE_COLORIZE:
        if (Byte(p[0]) != 0) {
            // The library takes blends above 1 as 1.
            const double blend = std::min(1.0, Byte(p[3]) * 0.01);
            return {{"Colorize", {Int(Byte(p[1])), Int(Byte(p[2])), Num(blend)}}};
        }
        return {{"ShiftRGB", {Int(p[1]), Int(p[2]), Int(p[3])}}};
    case ID_IMAGE_LIGHTEN:
        return {Light(20, 0)};
    case ID_IMAGE_DARKEN:
        return {Light(-20, 0)};
    case ID_IMAGE_MORE_CONTRAST:
        return {Light(p[0], 25)};
    case ID_IMAGE_LESS_CONTRAST:
        return {Light(p[0], -25)};
    case ID_IMAGE_USER_LIGHT:
        return {Light(p[0], p[1])};
    case ID_FILTER_EMBOSS:
        return {Filter(3, 0, 127, {0, 0, -1, 0, 0, 0, 1, 0, 0})};
    case ID_FILTER_BLUR:
        return {Filter(3, 9, 0, {1, 1, 1, 1, 1, 1, 1, 1, 1})};
    case ID_FILTER_SOFTEN:
        return {Filter(3, 16, 0, {1, 1, 1, 1, 8, 1, 1, 1, 1})};
    case ID_FILTER_SHARPEN:
        return {Filter(3, 7, 0, {-1, -1, -1, -1, 15, -1, -1, -1, -1})};
    case ID_FILTER_EDGE:
        return {Filter(3, -1, 255, {-1, -1, -1, -1, 8, -1, -1, -1, -1})};
    case ID_FILTER_GAUSS3:
        return {Filter(3, 16, 0, {1, 2, 1, 2, 4, 2, 1, 2, 1})};
    case ID_FILTER_GAUSS5:
        return {
            Filter(5, 52, 0, {0, 1, 2, 1, 0, 1, 3, 4, 3, 1, 2, 4, 8, 4, 2, 1, 3, 4, 3, 1, 0, 1, 2, 1, 0})};
    case ID_FILTER_ERODE:
        return {{"Erode", {Int(2)}}};
    case ID_FILTER_DILATE:
        return {{"Dilate", {Int(2)}}};
    case ID_FILTER_MEDIAN:
        return {{"Median", {Int(3)}}};
    case ID_FILTER_NOISE:
        return {{"Noise", {Int(50)}}};
    case ID_FILTER_CONTOUR:
        return {{"Contour", {}}};
    case ID_FILTER_JITTER:
        return {{"Jitter", {Int(2)}}};
    case ID_FILTER_EDGES:
        return {{"Edge", {Int(2)}}};
    case ID_HISTOGRAM_STRETCH:
        return {{"HistogramStretch", {Int(0)}}};
    case ID_HISTOGRAM_STRETCH1:
        return {{"HistogramStretch", {Int(1)}}};
    case ID_HISTOGRAM_STRETCH2:
        return {{"HistogramStretch", {Int(2)}}};
    case ID_HISTOGRAM_EQUALIZE:
        return {{"HistogramEqualize", {}}};
    case ID_HISTOGRAM_NORMALIZE:
        return {{"HistogramNormalize", {}}};
    case ID_HISTOGRAM_LOG:
        return {{"HistogramLog", {}}};
    case ID_HISTOGRAM_ROOT:
        return {{"HistogramRoot", {}}};
    case ID_IMAGE_GAMMA:
        return {{"Gamma", {Num(p[0] * 0.001)}}};
    case ID_CIRCLE_PINCH:
        return {Circle(1, 100.0)};
    case ID_CIRCLE_PUNCH:
        return {Circle(0, 100.0)};
    case ID_CIRCLE_SWIRL:
        return {Circle(2, 100.0)};
    case ID_CIRCLE_CYLINDER:
        return {Circle(3, 100.0)};
    case ID_CIRCLE_BATHROOM:
        return {Circle(4, 1.0)};
    case ID_IMAGE_SKEW:
        return {{"Skew", {Num(p[0] * 0.001), Num(p[1] * 0.001), Int(p[2]), Int(p[3]), Flag(p[4] != 0)}}};
    case ID_IMAGE_ROTATE_LEFT:
        return {{"RotateLeft", {}}};
    case ID_IMAGE_ROTATE_RIGHT:
        return {{"RotateRight", {}}};
    case ID_IMAGE_MIRROR:
        return {{"Mirror", {}}};
    case ID_IMAGE_FLIP:
        return {{"Flip", {}}};
    case ID_IMAGE_NEGATIVE:
        return {{"Negative", {}}};
    case ID_IMAGE_GRAYSCALE:
        return {{"GrayScale", {}}};
    case ID_IMAGE_ROTATE:
        return {Rotate(p, image)};
    case ID_IMAGE_RESAMPLE:
        return {Resample(p)};
    case ID_IMAGE_DECREASE_BPP: {
        // The optimised palette alone takes the colour count; the reduction
        // also switches the alpha palette off when it is no longer valid.
        const bool optimised = p[1] == 1;
        return {{"DecreaseBpp", {Int(p[0]), Flag(p[2] != 0), Flag(optimised), Int(optimised ? p[3] : 0)}}};
    }
    case ID_IMAGE_INCREASE_BPP:
        return {{"IncreaseBpp", {Int(p[0])}}};
    case ID_IMAGE_DITHER:
        return {{"Dither", {Int(p[0])}}};
    case ID_IMAGE_THRESHOLD:
        return {{"Threshold", {Int(Byte(p[0]))}}};
    default:
        return {};
    }
}

std::string CWorkerOperation::Run(vimg::Image& image, int command, const Params& p) {
    for (const Step& step : StepsFor(command, p, image)) {
        const vops::Operation* op = vops::BuiltinOperations().Find(step.operation);
        if (!op) return step.operation + ": no such operation";
        const vops::CheckResult checked = op->Check(step.values);
        if (!checked) return checked.error;
        const vops::Outcome outcome = op->Run(image, checked.arguments);
        if (!outcome.Ok()) return outcome.error;
    }
    return {};
}
