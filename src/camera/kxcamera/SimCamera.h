// The simulated camera: SimPicture frames at about 25 per second from a thread
// of its own. Its camera type comes from VISTOREL_SIM_CAMERA_TYPE or the
// profile entry "Camera" "SimulatedType" (default 2), so the program's
// behaviour for every type can be tried without hardware.
#pragma once

#include <atomic>
#include <memory>
#include <thread>

#include "CameraDevice.h"

namespace kxcam {

class SimPicture;

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
    void ShowSettings(int which, QWidget* parent) override;
    void SetRowTime(uint32_t microseconds) { m_rowTime = microseconds; }

    // Time between frames: a little under 40 ms, so at least 25 arrive per second.
    static constexpr std::chrono::milliseconds kFrameInterval{39};

private:
    void Run(FrameConsumer* consumer);

    int m_type;
    QSize m_size;
    std::unique_ptr<SimPicture> m_picture;
    std::thread m_thread;
    std::atomic<bool> m_running{false};
};

} // namespace kxcam
