#include "FocusStack.h"

#include "FocusMeasure.h"
#include "FrameAligner.h"
#include "FramePyramid.h"
#include "Image.h"
#include "MergeLevel.h"

#include <algorithm>
#include <cmath>
#include <new>

#include <opencv2/imgproc.hpp>

namespace vimg {

namespace {

constexpr const char* kStopped = "focus stacking stopped";

// Rough bytes per pixel of a running merge: the merged state (kept and summed
// coefficients, best and summed measures) and the frame being merged (its
// float copy, pyramid, measures and scratch), pyramids counting 4/3.
constexpr uint64_t kBytesPerPixel = 110;

// Relative spread (deviation / mean) of the focus measure of level `l` on
// frames of pure noise, measured on Gaussian noise: 0.22 on the finest level,
// less on each coarser one, whose measure sums more samples.
float NoiseSpread(size_t l) {
    return 0.22f * std::pow(0.6f, static_cast<float>(l));
}

// The image's rows as a matrix (bottom row first, as stored; every picture
// of a stack is flipped alike, so the merge never notices).
cv::Mat Wrap(const Image& img, int type) {
    return cv::Mat(static_cast<int>(img.GetHeight()), static_cast<int>(img.GetWidth()), type, img.GetBits(),
                   img.GetEffWidth());
}

} // namespace

struct FocusStack::State {
    // Work on the frame being added; only Add and Reset touch these.
    FrameAligner aligner;
    FramePyramid pyramid;
    FocusMeasure measure;

    // The merged state, guarded by the state mutex.
    int32_t count = 0;
    cv::Size size;
    std::vector<MergeLevel> levels;
    cv::Mat lowSum;
    // Buffers of GetResult (the merged pyramid collapsed level by level),
    // reused under the state mutex.
    mutable std::vector<cv::Mat> collapse;
    mutable cv::Mat low;
    // The first frame's calibration, carried over to the result.
    double pixelSize = 0;
    std::string camera;
    int32_t xDpi = 96, yDpi = 96;

    // The band whose winners make the depth map: the second finest, whose
    // measure also holds the finest band's and so is steadier under noise.
    size_t DepthLevel() const { return std::min<size_t>(1, levels.size() - 1); }
    // Size of band `l`, or of the low-pass remainder past the last band.
    cv::Size LevelSize(size_t l) const { return l < levels.size() ? levels[l].Best().size() : lowSum.size(); }
};

FocusStack::FocusStack(FocusStackOptions options) : m_options(options), m_state(std::make_unique<State>()) {}

FocusStack::~FocusStack() = default;

void FocusStack::Reset() {
    std::lock_guard addLock(m_addMutex);
    std::lock_guard lock(m_stateMutex);
    m_state = std::make_unique<State>();
    m_lastError.clear();
}

int32_t FocusStack::GetFrameCount() const {
    std::lock_guard lock(m_stateMutex);
    return m_state->count;
}

std::string FocusStack::GetLastError() const {
    std::lock_guard lock(m_stateMutex);
    return m_lastError;
}

bool FocusStack::Fail(const std::string& text) const {
    std::lock_guard lock(m_stateMutex);
    m_lastError = text;
    return false;
}

bool FocusStack::Add(const Image& frame) {
    std::lock_guard addLock(m_addMutex);
    State& s = *m_state;
    if (m_escape) return Fail(kStopped);
    if (!frame.IsValid() || frame.GetWidth() == 0 || frame.GetHeight() == 0)
        return Fail("the frame holds no picture");
    const cv::Size size(static_cast<int>(frame.GetWidth()), static_cast<int>(frame.GetHeight()));
    if (s.count > 0 && size != s.size)
        return Fail("the frame is " + std::to_string(size.width) + " x " + std::to_string(size.height) +
                    ", the stack is " + std::to_string(s.size.width) + " x " + std::to_string(s.size.height));
    const uint64_t needed =
        static_cast<uint64_t>(size.width) * static_cast<uint64_t>(size.height) * kBytesPerPixel;
    if (needed > Image::GetMaxMemory())
        return Fail("focus stacking " + std::to_string(size.width) + " x " + std::to_string(size.height) +
                    " needs about " + std::to_string(needed >> 20) + " MiB, the limit is " +
                    std::to_string(Image::GetMaxMemory() >> 20) + " MiB");

    Image converted;
    const Image* source = &frame;
    if (frame.GetBpp() != 24) {
        converted.Copy(frame, true, false, false);
        if (!converted.IncreaseBpp(24))
            return Fail(std::string("cannot read the frame as colour: ") + converted.GetLastError());
        source = &converted;
    }
    try {
        const cv::Mat bgr = Wrap(*source, CV_8UC3);
        cv::Mat aligned = bgr;
        if (m_options.align) {
            if (s.count == 0) {
                s.aligner.SetReference(bgr);
            } else {
                cv::Mat warp;
                s.aligner.Estimate(bgr, warp);
                aligned = FrameAligner::Apply(bgr, warp);
            }
        }
        if (m_escape) return Fail(kStopped);
        const int levels = s.count == 0 ? FramePyramid::LevelsFor(size) : static_cast<int>(s.levels.size());
        s.pyramid.Build(aligned, levels);
        s.measure.Compute(s.pyramid);
        if (m_escape) return Fail(kStopped);

        std::lock_guard lock(m_stateMutex);
        if (s.count == 0) {
            s.size = size;
            s.levels.assign(static_cast<size_t>(levels), MergeLevel());
            for (size_t l = 0; l < s.levels.size(); ++l)
                s.levels[l].Start(s.pyramid.Band(static_cast<int>(l)), s.measure.Level(static_cast<int>(l)),
                                  NoiseSpread(l), l == s.DepthLevel());
            s.pyramid.LowPass().copyTo(s.lowSum);
            s.pixelSize = frame.GetPixelSize();
            s.camera = frame.GetCameraName();
            s.xDpi = frame.GetXDPI();
            s.yDpi = frame.GetYDPI();
        } else {
            for (size_t l = 0; l < s.levels.size(); ++l)
                s.levels[l].Add(s.pyramid.Band(static_cast<int>(l)), s.measure.Level(static_cast<int>(l)),
                                static_cast<float>(s.count));
            s.lowSum += s.pyramid.LowPass();
        }
        ++s.count;
    } catch (const cv::Exception& e) {
        return Fail(std::string("focus stacking: ") + e.what());
    } catch (const std::bad_alloc&) {
        return Fail("out of memory");
    }
    return true;
}

bool FocusStack::Publish(uint32_t bpp, int halvings, const std::function<void(const State&, Image&)>& fill,
                         Image& out) const {
    std::unique_lock lock(m_stateMutex);
    const State& s = *m_state;
    if (s.count == 0) {
        m_lastError = "no frames merged yet";
        return false;
    }
    try {
        const cv::Size size = s.LevelSize(static_cast<size_t>(std::clamp<int>(halvings, 0, s.levels.size())));
        Image picture;
        if (!picture.Create(static_cast<uint32_t>(size.width), static_cast<uint32_t>(size.height), bpp)) {
            m_lastError = picture.GetLastError();
            return false;
        }
        if (bpp == 8) picture.SetGrayPalette();
        fill(s, picture);
        const double scale = static_cast<double>(s.size.width) / size.width;
        picture.SetPixelSize(s.pixelSize * scale);
        picture.SetCameraName(s.camera.c_str());
        picture.SetXDPI(static_cast<int32_t>(std::lround(s.xDpi / scale)));
        picture.SetYDPI(static_cast<int32_t>(std::lround(s.yDpi / scale)));
        out = std::move(picture);
    } catch (const cv::Exception& e) {
        m_lastError = std::string("focus stacking: ") + e.what();
        return false;
    } catch (const std::bad_alloc&) {
        m_lastError = "out of memory";
        return false;
    }
    return true;
}

bool FocusStack::GetResult(Image& result, int halvings) const {
    return Publish(
        24, halvings,
        [halvings](const State& s, Image& out) {
            // Collapsing stops `halvings` levels early for a smaller picture.
            const auto stop = static_cast<size_t>(std::clamp<int>(halvings, 0, s.levels.size()));
            s.lowSum.convertTo(s.low, CV_32FC3, 1.0 / s.count);
            s.collapse.resize(s.levels.size());
            const cv::Mat* coarser = &s.low;
            for (size_t l = s.levels.size(); l-- > stop;) {
                cv::pyrUp(*coarser, s.collapse[l], s.levels[l].Best().size(), cv::BORDER_REFLECT101);
                s.levels[l].AddBlendTo(s.count, s.collapse[l]);
                coarser = &s.collapse[l];
            }
            cv::Mat target = Wrap(out, CV_8UC3);
            coarser->convertTo(target, CV_8UC3); // rounds to nearest and clamps to 0..255
        },
        result);
}

bool FocusStack::GetDepthMap(Image& depth) const {
    return Publish(
        8, 0,
        [this](const State& s, Image& out) {
            const MergeLevel& level = s.levels[s.DepthLevel()];
            cv::Mat frames = level.Winner();
            if (m_options.smoothDepth && s.count > 1) {
                // Normalised convolution: each winner counts by how far its measure
                // rises above the mean, so places without texture take the depth of
                // textured surroundings instead of a noisy guess.
                cv::Mat confidence = level.Best() - level.MeasureSum() * (1.0 / s.count);
                confidence = cv::max(confidence, 0.0);
                const double floor = 1e-3 * cv::mean(confidence)[0] + 1e-12;
                cv::Mat weighted, weights;
                cv::GaussianBlur(frames.mul(confidence), weighted, cv::Size(0, 0), 3.0, 3.0,
                                 cv::BORDER_REFLECT101);
                cv::GaussianBlur(confidence, weights, cv::Size(0, 0), 3.0, 3.0, cv::BORDER_REFLECT101);
                frames = (weighted + frames * floor) / (weights + floor);
            }
            cv::Mat full;
            cv::resize(frames, full, s.size, 0, 0,
                       m_options.smoothDepth ? cv::INTER_LINEAR : cv::INTER_NEAREST);
            cv::Mat target = Wrap(out, CV_8U);
            full.convertTo(target, CV_8U, s.count > 1 ? 255.0 / (s.count - 1) : 0.0);
        },
        depth);
}

bool FocusStack::Merge(const std::vector<const Image*>& frames, Image& result, Image* depth) {
    Reset();
    m_progress = 0;
    if (frames.empty()) return Fail("no frames to stack");
    for (size_t i = 0; i < frames.size(); ++i) {
        m_progress = static_cast<int32_t>(i * 100 / frames.size());
        if (!frames[i]) return Fail("frame " + std::to_string(i + 1) + " is missing");
        if (!Add(*frames[i])) {
            if (m_escape) return false;
            return Fail("frame " + std::to_string(i + 1) + ": " + GetLastError());
        }
    }
    if (!GetResult(result) || (depth && !GetDepthMap(*depth))) return false;
    m_progress = 100;
    return true;
}

} // namespace vimg
