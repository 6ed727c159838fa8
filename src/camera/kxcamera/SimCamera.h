// The simulated camera: a microscope's view of a stained section (SimPicture)
// at about 25 frames per second from a thread of its own (or frame by frame on
// demand in tests, see SetStepped). Its camera type comes
// from VISTOREL_SIM_CAMERA_TYPE or the profile entry "Camera" "SimulatedType"
// (default 2), so the program's behaviour for every type can be tried without
// hardware. The stage and focus move from the settings dialog, the arrow and
// Page Up/Down keys on the preview, SetStage, and the stage file of
// SimStageScript.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "CameraDevice.h"
#include "SimPicture.h"
#include "SimStageScript.h"

namespace kxcam {

class SimCamera : public CameraDevice {
public:
    explicit SimCamera(int type);
    ~SimCamera() override;

    // The type chosen by the environment or the profile; `forced` tells whether
    // the environment asked for the simulated camera.
    static int ConfiguredType(bool* forced = nullptr);

    KXCameraIdentity Identity() const override;
    std::vector<Resolution> Resolutions() const override;
    bool Open(int resolutionIndex) override;
    void Close() override;
    bool Start(FrameConsumer* consumer) override;
    void Stop() override;
    QSize FrameSize() const override { return m_size; }
    // Each simulated frame gathers the light of its frame interval.
    std::chrono::microseconds FrameExposure() const override { return kFrameInterval; }
    void ShowSettings(int which, QWidget* parent) override;
    void SetRowTime(uint32_t microseconds) { m_rowTime = microseconds; }
    uint32_t DefaultExposureRows() const override;
    // Arrow keys move the field of view by a tenth of it (with Shift a
    // hundredth), Page Up/Down the focus by 2 micrometres (Shift: 0.25).
    bool KeyPress(int key, int modifiers) override;

    // The stage; new positions are clamped so the field of view stays on the
    // specimen, and show from the next frame on.
    StagePosition Stage() const;
    void SetStage(StagePosition stage);

    // Time between frames: a little under 40 ms, so at least 25 arrive per second.
    static constexpr std::chrono::milliseconds kFrameInterval{39};

    // Tests: simulated cameras started while stepped start no thread and
    // deliver a frame only when Step is called. Step hands every started
    // stepped camera's next frame to its consumer on the calling thread,
    // stamped `when`, and returns how many cameras delivered one.
    static void SetStepped(bool stepped);
    static int Step(Clock::time_point when);

private:
    void Run(FrameConsumer* consumer);
    // Renders frame `n` where the stage is after the stage file's commands.
    void Render(uint64_t n, QImage& frame);

    int m_type;
    QSize m_size;
    std::unique_ptr<SimPicture> m_picture;
    std::thread m_thread;
    std::atomic<bool> m_running{false};
    std::optional<SimStageScript> m_script;
    // A stepped camera's consumer and next frame number; guarded by the steps' mutex.
    FrameConsumer* m_steppedConsumer = nullptr;
    uint64_t m_steppedFrame = 0;
    QImage m_steppedImage;
    mutable std::mutex m_stageMutex;
    mutable std::optional<StagePosition> m_stage; // the specimen's middle until first asked
};

} // namespace kxcam
