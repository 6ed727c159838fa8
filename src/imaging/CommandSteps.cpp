#include "CommandSteps.h"

#include <initializer_list>
#include <map>

#include "Resource.h"

namespace {

using Step = CImageSteps::Step;

Step Filter(int size, int divisor, int offset, std::initializer_list<int> kernel) {
    Step s{"Filter", {CImageSteps::Int(size), CImageSteps::Int(divisor), CImageSteps::Int(offset)}};
    for (int k : kernel)
        s.values.push_back(CImageSteps::Int(k));
    return s;
}

Step Light(long long brightness, long long contrast) {
    return {"Light", {CImageSteps::Int(brightness), CImageSteps::Int(contrast)}};
}

Step Circle(int type, double factor) {
    return {"CircleTransform", {CImageSteps::Int(type), CImageSteps::Int(0), CImageSteps::Num(factor)}};
}

Step Plain(const char* operation) { return {operation, {}}; }

Step WithInt(const char* operation, long long value) { return {operation, {CImageSteps::Int(value)}}; }

const std::map<int, CImageSteps>& Table() {
    static const std::map<int, CImageSteps> table = {
        {ID_IMAGE_LIGHTEN, {Light(20, 0)}},
        {ID_IMAGE_DARKEN, {Light(-20, 0)}},
        {ID_IMAGE_MORE_CONTRAST, {Light(0, 25)}},
        {ID_IMAGE_LESS_CONTRAST, {Light(0, -25)}},
        {ID_FILTER_EMBOSS, {Filter(3, 0, 127, {0, 0, -1, 0, 0, 0, 1, 0, 0})}},
        {ID_FILTER_BLUR, {Filter(3, 9, 0, {1, 1, 1, 1, 1, 1, 1, 1, 1})}},
        {ID_FILTER_SOFTEN, {Filter(3, 16, 0, {1, 1, 1, 1, 8, 1, 1, 1, 1})}},
        {ID_FILTER_SHARPEN, {Filter(3, 7, 0, {-1, -1, -1, -1, 15, -1, -1, -1, -1})}},
        {ID_FILTER_EDGE, {Filter(3, -1, 255, {-1, -1, -1, -1, 8, -1, -1, -1, -1})}},
        {ID_FILTER_GAUSS3, {Filter(3, 16, 0, {1, 2, 1, 2, 4, 2, 1, 2, 1})}},
        {ID_FILTER_GAUSS5,
         {Filter(5, 52, 0, {0, 1, 2, 1, 0, 1, 3, 4, 3, 1, 2, 4, 8, 4, 2, 1, 3, 4, 3, 1, 0, 1, 2, 1, 0})}},
        {ID_FILTER_ERODE, {WithInt("Erode", 2)}},
        {ID_FILTER_DILATE, {WithInt("Dilate", 2)}},
        {ID_FILTER_MEDIAN, {WithInt("Median", 3)}},
        {ID_FILTER_NOISE, {WithInt("Noise", 50)}},
        {ID_FILTER_CONTOUR, {Plain("Contour")}},
        {ID_FILTER_JITTER, {WithInt("Jitter", 2)}},
        // "Weißabgleich" evens the colours out as "Bildschwankungen" does.
        {ID_WHITE_BALANCE, {WithInt("Jitter", 2)}},
        {ID_FILTER_EDGES, {WithInt("Edge", 2)}},
        {ID_HISTOGRAM_STRETCH, {WithInt("HistogramStretch", 0)}},
        {ID_HISTOGRAM_STRETCH1, {WithInt("HistogramStretch", 1)}},
        {ID_HISTOGRAM_STRETCH2, {WithInt("HistogramStretch", 2)}},
        {ID_HISTOGRAM_EQUALIZE, {Plain("HistogramEqualize")}},
        {ID_HISTOGRAM_NORMALIZE, {Plain("HistogramNormalize")}},
        {ID_HISTOGRAM_LOG, {Plain("HistogramLog")}},
        {ID_HISTOGRAM_ROOT, {Plain("HistogramRoot")}},
        {ID_CIRCLE_PINCH, {Circle(1, 100.0)}},
        {ID_CIRCLE_PUNCH, {Circle(0, 100.0)}},
        {ID_CIRCLE_SWIRL, {Circle(2, 100.0)}},
        {ID_CIRCLE_CYLINDER, {Circle(3, 100.0)}},
        {ID_CIRCLE_BATHROOM, {Circle(4, 1.0)}},
        {ID_IMAGE_ROTATE_LEFT, {Plain("RotateLeft")}},
        {ID_IMAGE_ROTATE_RIGHT, {Plain("RotateRight")}},
        {ID_IMAGE_MIRROR, {Plain("Mirror")}},
        {ID_IMAGE_FLIP, {Plain("Flip")}},
        {ID_IMAGE_NEGATIVE, {Plain("Negative")}},
        {ID_IMAGE_GRAYSCALE, {Plain("GrayScale")}},
    };
    return table;
}

} // namespace

const CImageSteps* CCommandSteps::For(int id) {
    const auto found = Table().find(id);
    return found == Table().end() ? nullptr : &found->second;
}

std::vector<int> CCommandSteps::Commands() {
    std::vector<int> ids;
    for (const auto& entry : Table())
        ids.push_back(entry.first);
    return ids;
}
