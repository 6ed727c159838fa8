#include "LiveMosaic.h"

#include <algorithm>
#include <cmath>

#include <opencv2/imgproc.hpp>

#include "Image.h"
#include "ImageMat.h"
#include "MosaicBlender.h"

namespace vimg::compose {

struct LiveMosaic::State {
    cv::Mat canvas;   // CV_8UC3
    cv::Mat coverage; // CV_8U: 0 empty, up to 255 as sure as a frame's middle
    cv::Rect bounds;  // the covered part of the canvas
    cv::Size frameSize;
    cv::Rect2d field; // in canvas pixels
    bool lost = false;
    std::unique_ptr<TileRegistration> registration;
};

namespace {
constexpr int kMinFrameSide = 32;
}

LiveMosaic::LiveMosaic() : LiveMosaic(Settings{}) {}

LiveMosaic::LiveMosaic(Settings settings) : m_settings(settings), m_state(std::make_unique<State>()) {}

LiveMosaic::~LiveMosaic() = default;

void LiveMosaic::Reset() {
    std::lock_guard<std::mutex> add(m_addMutex);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_state = std::make_unique<State>();
}

LiveMosaic::Report LiveMosaic::AddFrame(const Image& frame) {
    return AddFrame(ImageMat::ToBgr(frame));
}

bool LiveMosaic::Grow(const cv::Rect& need, cv::Point& moved) {
    State& s = *m_state;
    const cv::Rect have(cv::Point(0, 0), s.canvas.size());
    moved = {0, 0};
    if ((need & have) == need) return true;
    // Grow by half a frame beyond what is needed so the canvas is not copied every frame.
    const int mx = s.frameSize.width / 2, my = s.frameSize.height / 2;
    const int left = need.x < 0 ? -need.x + mx : 0, top = need.y < 0 ? -need.y + my : 0;
    const int right = need.br().x > have.width ? need.br().x - have.width + mx : 0;
    const int bottom = need.br().y > have.height ? need.br().y - have.height + my : 0;
    const int64_t pixels = int64_t{have.width + left + right} * (have.height + top + bottom);
    if (pixels > m_settings.maxPixels) return false;
    cv::copyMakeBorder(s.canvas, s.canvas, top, bottom, left, right, cv::BORDER_CONSTANT, cv::Scalar::all(0));
    cv::copyMakeBorder(s.coverage, s.coverage, top, bottom, left, right, cv::BORDER_CONSTANT, cv::Scalar(0));
    s.bounds += cv::Point(left, top);
    s.field.x += left;
    s.field.y += top;
    moved = {left, top};
    return true;
}

void LiveMosaic::Blend(const cv::Mat& bgr, cv::Point at) {
    State& s = *m_state;
    const std::vector<float> rampX = MosaicBlender::Ramp(bgr.cols, m_settings.feather);
    const std::vector<float> rampY = MosaicBlender::Ramp(bgr.rows, m_settings.feather);
    for (int y = 0; y < bgr.rows; ++y) {
        const uint8_t* src = bgr.ptr<uint8_t>(y);
        uint8_t* dst = s.canvas.ptr<uint8_t>(at.y + y) + 3 * at.x;
        uint8_t* cover = s.coverage.ptr<uint8_t>(at.y + y) + at.x;
        for (int x = 0; x < bgr.cols; ++x) {
            const float w = rampX[x] * rampY[y];
            if (cover[x] == 0) {
                // Nothing there yet: the frame is taken whole, however near its edge.
                for (int c = 0; c < 3; ++c)
                    dst[3 * x + c] = src[3 * x + c];
                cover[x] = static_cast<uint8_t>(std::max(1.0f, std::round(255 * w)));
                continue;
            }
            const float have = cover[x] / 255.0f;
            const float alpha = w * (1 - have);
            for (int c = 0; c < 3; ++c)
                dst[3 * x + c] =
                    static_cast<uint8_t>(std::lround(dst[3 * x + c] * (1 - alpha) + src[3 * x + c] * alpha));
            cover[x] = static_cast<uint8_t>(std::lround(255 * (have + alpha)));
        }
    }
    s.bounds = s.bounds.area() ? (s.bounds | cv::Rect(at, bgr.size())) : cv::Rect(at, bgr.size());
}

LiveMosaic::Report LiveMosaic::AddFrame(const cv::Mat& bgr) {
    std::lock_guard<std::mutex> add(m_addMutex);
    Report report;
    State& s = *m_state;
    if (bgr.empty() || bgr.type() != CV_8UC3 || std::min(bgr.cols, bgr.rows) < kMinFrameSide) return report;
    if (s.canvas.empty()) {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (int64_t{bgr.cols} * bgr.rows > m_settings.maxPixels) {
            report.outcome = Outcome::MosaicFull;
            return report;
        }
        s.frameSize = bgr.size();
        TileRegistration::Settings rs;
        rs.minCorrelation = m_settings.minCorrelation;
        rs.minOverlap = m_settings.minOverlap;
        rs.refineSide = m_settings.refineSide;
        s.registration = std::make_unique<TileRegistration>(bgr.size(), rs);
        s.canvas = cv::Mat::zeros(bgr.size(), CV_8UC3);
        s.coverage = cv::Mat::zeros(bgr.size(), CV_8U);
        Blend(bgr, {0, 0});
        s.field = cv::Rect2d(0, 0, bgr.cols, bgr.rows);
        report.outcome = Outcome::Added;
        report.field = ToMosaic(s.field);
        report.correlation = 1;
        report.newArea = 1;
        return report;
    }
    if (bgr.size() != s.frameSize) return report;

    // The reference: the mosaic where the last frame was placed (copied, so the
    // registration runs without holding the lock the UI reads under).
    cv::Mat refGrey, refValid;
    cv::Point refCorner;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        refCorner = {static_cast<int>(std::lround(s.field.x)), static_cast<int>(std::lround(s.field.y))};
        const cv::Rect ref = cv::Rect(refCorner, s.frameSize) & cv::Rect(cv::Point(0, 0), s.canvas.size());
        refCorner = ref.tl();
        cv::cvtColor(s.canvas(ref), refGrey, cv::COLOR_BGR2GRAY);
        cv::compare(s.coverage(ref), 0, refValid, cv::CMP_GT);
    }
    const TileRegistration& registration = *s.registration;
    const TileRegistration::Shift shift = registration.Register(registration.Prepare(refGrey, refValid),
                                                                registration.Prepare(ImageMat::ToGrey(bgr)));
    report.correlation = shift.correlation;
    if (shift.outcome != TileRegistration::Outcome::Placed) {
        report.outcome = shift.outcome == TileRegistration::Outcome::TooLittleOverlap
                             ? Outcome::TooLittleOverlap
                             : Outcome::WeakCorrelation;
        std::lock_guard<std::mutex> lock(m_mutex);
        s.lost = true;
        return report;
    }

    std::lock_guard<std::mutex> lock(m_mutex);
    cv::Point2d corner = cv::Point2d(refCorner) + shift.offset;
    const cv::Point at(static_cast<int>(std::lround(corner.x)), static_cast<int>(std::lround(corner.y)));
    const cv::Rect frameRect(at, s.frameSize);
    const cv::Rect inside = frameRect & cv::Rect(cv::Point(0, 0), s.canvas.size());
    const double covered = inside.area() ? cv::countNonZero(s.coverage(inside)) : 0;
    report.newArea = 1 - covered / frameRect.area();
    if (report.newArea >= m_settings.minNewArea) {
        cv::Point moved;
        if (!Grow(frameRect, moved)) {
            report.outcome = Outcome::MosaicFull;
            s.lost = true;
            return report;
        }
        Blend(bgr, at + moved);
        corner += cv::Point2d(moved);
        report.outcome = Outcome::Added;
    } else {
        report.outcome = Outcome::Placed;
    }
    s.field = cv::Rect2d(corner, cv::Size2d(s.frameSize));
    s.lost = false;
    report.field = ToMosaic(s.field);
    return report;
}

cv::Rect2d LiveMosaic::ToMosaic(const cv::Rect2d& canvasRect) const {
    const State& s = *m_state;
    return {canvasRect.x - s.bounds.x, canvasRect.y - s.bounds.y, canvasRect.width, canvasRect.height};
}

LiveMosaic::Field LiveMosaic::CurrentField() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    Field f;
    f.valid = !m_state->canvas.empty();
    if (f.valid) f.rect = ToMosaic(m_state->field);
    f.lost = m_state->lost;
    return f;
}

cv::Size LiveMosaic::MosaicSize() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_state->bounds.size();
}

bool LiveMosaic::GetMosaic(Image& out, std::string& error) const {
    cv::Mat copy;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_state->canvas.empty()) {
            error = "the mosaic is empty";
            return false;
        }
        copy = m_state->canvas(m_state->bounds).clone();
    }
    return ImageMat::ToImage(copy, out, error);
}

bool LiveMosaic::GetPreview(int maxWidth, int maxHeight, Image& out, cv::Rect2d& field,
                            std::string& error) const {
    if (maxWidth < 1 || maxHeight < 1) {
        error = "preview size must be at least 1 x 1";
        return false;
    }
    cv::Mat small;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const State& s = *m_state;
        if (s.canvas.empty()) {
            error = "the mosaic is empty";
            return false;
        }
        const double scale = std::min({1.0, static_cast<double>(maxWidth) / s.bounds.width,
                                       static_cast<double>(maxHeight) / s.bounds.height});
        const cv::Size size(std::max(1, static_cast<int>(s.bounds.width * scale)),
                            std::max(1, static_cast<int>(s.bounds.height * scale)));
        cv::resize(s.canvas(s.bounds), small, size, 0, 0, scale < 1 ? cv::INTER_AREA : cv::INTER_LINEAR);
        const cv::Rect2d f = ToMosaic(s.field);
        const double sx = static_cast<double>(size.width) / s.bounds.width;
        const double sy = static_cast<double>(size.height) / s.bounds.height;
        field = {f.x * sx, f.y * sy, f.width * sx, f.height * sy};
    }
    return ImageMat::ToImage(small, out, error);
}

} // namespace vimg::compose
