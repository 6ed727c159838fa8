// One camera behind the library: the simulated camera or a V4L2 device.
// A started device delivers frames from a thread of its own to a FrameConsumer.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include "KXCamera.h"

class QWidget;

namespace kxcam {

using Clock = std::chrono::steady_clock;

// An entry of the resolution list; an empty size is a placeholder that cannot
// be started (the first entry for camera type 0).
struct Resolution {
    QSize size;
    QString label;
};

class FrameConsumer {
public:
    virtual ~FrameConsumer() = default;
    // picture: RGB32, the frame as the camera saw it (before gains);
    // raw: the bytes as the device delivered them, empty when the picture is raw.
    // Called on the device's thread.
    virtual void OnFrame(const QImage& picture, const QByteArray& raw, Clock::time_point when) = 0;
};

class CameraDevice {
public:
    virtual ~CameraDevice() = default;

    virtual KXCameraIdentity Identity() const = 0;
    virtual std::vector<Resolution> Resolutions() const = 0;
    // Prepares the device for the resolution list entry; false when it cannot.
    virtual bool Open(int resolutionIndex) = 0;
    virtual void Close() = 0;
    // Starts delivering frames to consumer until Stop; false when it cannot.
    virtual bool Start(FrameConsumer* consumer) = 0;
    virtual void Stop() = 0;
    // Size of the frames the opened device delivers.
    virtual QSize FrameSize() const = 0;
    // The device's settings dialogs (1: camera settings, 2: exposure).
    virtual void ShowSettings(int which, QWidget* parent) = 0;
    // A white balance done by the device itself; false when the library must
    // balance by its colour gains.
    virtual bool OneShotWhiteBalance() { return false; }
    // Long-exposure timing: exposure in rows and the time of one row.
    virtual uint32_t ExposureRows() const { return m_exposureRows; }
    virtual uint32_t RowTimeMicroseconds() const { return m_rowTime; }
    virtual void SetExposureRows(uint32_t rows) { m_exposureRows = rows; }
    // How long one frame of the preview is exposed; 0 when the device cannot tell.
    virtual std::chrono::microseconds FrameExposure() const { return {}; }
    // The exposure a reset goes back to.
    virtual uint32_t DefaultExposureRows() const { return kDefaultExposureRows; }
    // A key pressed on the preview (int: Qt::Key, Qt::KeyboardModifiers); true
    // when the device used it.
    virtual bool KeyPress(int /*key*/, int /*modifiers*/) { return false; }

    static constexpr uint32_t kDefaultExposureRows = 1500;

protected:
    uint32_t m_exposureRows = kDefaultExposureRows;
    uint32_t m_rowTime = 1000;
};

} // namespace kxcam
