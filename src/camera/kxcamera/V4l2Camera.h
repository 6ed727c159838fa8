// A USB video class camera through V4L2: its frame sizes form the resolution
// list, frames stream from memory-mapped buffers on a thread of the camera
// (Motion JPEG or YUYV read here, other formats converted by libv4l2), and
// its controls appear in the settings dialogs.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <QStringList>

#include "CameraDevice.h"
#include "V4l2Io.h"

namespace kxcam {

class V4l2Camera : public CameraDevice {
public:
    struct Mode {
        QSize size;
        uint32_t pixelFormat = 0;
    };
    struct Control {
        uint32_t id = 0;
        uint32_t type = 0; // V4L2_CTRL_TYPE_*
        QString name;
        int minimum = 0, maximum = 0, step = 1, defaultValue = 0, value = 0;
        QStringList menu; // entries of a menu control, by value from minimum
    };

    V4l2Camera(V4l2Io& io, std::string path, QString card, uint16_t vendor, uint16_t product,
               std::vector<Mode> modes);
    ~V4l2Camera() override;

    // Every capture device that streams, with its modes.
    static std::vector<std::unique_ptr<CameraDevice>> Enumerate(V4l2Io& io = V4l2Io::System());
    // The devices's sizes, each with the format it is best read in.
    static std::vector<Mode> Modes(V4l2Io& io, int fd);

    KXCameraIdentity Identity() const override;
    std::vector<Resolution> Resolutions() const override;
    bool Open(int resolutionIndex) override;
    void Close() override;
    bool Start(FrameConsumer* consumer) override;
    void Stop() override;
    QSize FrameSize() const override { return m_size; }
    void ShowSettings(int which, QWidget* parent) override;
    // Through the device's white-balance button control, where it has one.
    bool OneShotWhiteBalance() override;

    // Controls of the opened device (integer, boolean, menu and button ones):
    // every one (1) or the camera class's (2). Asked with VIDIOC_QUERY_EXT_CTRL,
    // or VIDIOC_QUERYCTRL where the driver lacks it.
    std::vector<Control> Controls(int which) const;
    bool SetControl(uint32_t id, int value);
    uint32_t PixelFormat() const { return m_format; }
    const std::string& Path() const { return m_path; }

    static constexpr int kBufferCount = 4;
    // A buffer this large is not a frame of ours.
    static constexpr uint32_t kMaxBufferBytes = 64u << 20;

private:
    struct Buffer {
        void* start = nullptr;
        size_t length = 0;
    };
    void Run(FrameConsumer* consumer);
    void ReleaseBuffers();

    V4l2Io& m_io;
    std::string m_path;
    QString m_card;
    uint16_t m_vendor;
    uint16_t m_product;
    std::vector<Mode> m_modes;
    int m_fd = -1;
    QSize m_size;
    uint32_t m_format = 0;
    int m_bytesPerLine = 0;
    std::vector<Buffer> m_buffers;
    std::thread m_thread;
    std::atomic<bool> m_running{false};
};

} // namespace kxcam
