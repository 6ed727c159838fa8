// Focus stacking: frames of one scene taken at different focus positions
// merge into one picture sharp everywhere, plus a depth map saying which frame
// was sharpest where. Frames are merged one at a time into a running result,
// so memory does not grow with the number of frames (about 110 bytes per
// pixel), and a live camera can feed frames as they come and show the result
// in between.
//
// Use from a worker thread: Add frames, then GetResult / GetDepthMap. Those two
// may also be called from another thread at any time (they wait while an Add
// commits its frame, a few milliseconds). SetEscape from any thread stops a
// running Add or Merge (it stays set until SetEscape(0)); progress is the
// percentage of a Merge done.
#pragma once

#include "RelaxedInt.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace vimg {

class Image;

struct FocusStackOptions {
    bool align = true;       // bring every frame onto the first (shift and the scale of focus breathing)
    bool smoothDepth = true; // depth map smoothed where the focus evidence is weak
};

class FocusStack {
public:
    explicit FocusStack(FocusStackOptions options = {});
    ~FocusStack();
    FocusStack(const FocusStack&) = delete;
    FocusStack& operator=(const FocusStack&) = delete;

    // Forgets every frame; the next one added becomes the reference.
    void Reset();
    // Merges one frame (any bit depth; it must have the size of the first).
    // On failure (bad frame, escape) the running result is unchanged and
    // GetLastError says why.
    bool Add(const Image& frame);
    int32_t GetFrameCount() const;

    // The merged picture so far, 24-bit, with the first frame's calibration,
    // resolution and camera name. With `halvings` > 0 the merge is collapsed
    // that many levels short: a picture halved that many times (sizes rounded
    // up; calibration and resolution scaled to match) at a quarter of the cost
    // per halving, for a live preview shown smaller than the camera frame.
    bool GetResult(Image& result, int halvings = 0) const;
    // 8-bit grey depth map: 0 for the first frame, 255 for the last one merged
    // so far, the frame numbers in between evenly spread.
    bool GetDepthMap(Image& depth) const;

    // The whole job of a list: Reset, Add each frame in order, then the result
    // and (when `depth` is given) the depth map. Progress runs from 0 to 100.
    bool Merge(const std::vector<const Image*>& frames, Image& result, Image* depth = nullptr);

    std::string GetLastError() const;
    int32_t GetProgress() const { return m_progress; }
    void SetEscape(int32_t escape) { m_escape = escape; }
    int32_t GetEscape() const { return m_escape; }

private:
    struct State;
    bool Fail(const std::string& text) const;
    // Makes a picture of the stack's size (halved `halvings` times) and depth,
    // has `fill` write it from the merged state (under the state mutex) and
    // gives it the first frame's calibration; errors become the last error.
    bool Publish(uint32_t bpp, int halvings, const std::function<void(const State&, Image&)>& fill,
                 Image& out) const;

    FocusStackOptions m_options;
    std::unique_ptr<State> m_state;
    std::mutex m_addMutex;           // one Add at a time
    mutable std::mutex m_stateMutex; // the merged state and the error text
    mutable std::string m_lastError;
    RelaxedInt m_progress = 0;
    RelaxedInt m_escape = 0;
};

} // namespace vimg
