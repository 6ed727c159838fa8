// A V4L2 device layer of our own for the V4L2 camera tests: capture devices
// with chosen formats, sizes and controls that stream generated frames from
// "memory-mapped" buffers, and can be unplugged mid-stream.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "V4l2Io.h"

namespace camtest {

struct FakeFormat {
    uint32_t fourcc;
    std::vector<std::pair<uint32_t, uint32_t>> sizes;
};

struct FakeControl {
    uint32_t id;
    uint32_t type;
    std::string name;
    int minimum, maximum, step, defaultValue;
    std::vector<std::string> menu;
};

struct FakeDevice {
    std::string card = "Fake Microscope";
    bool capture = true;
    uint16_t vendor = 0x0547, product = 0x4d88;
    std::vector<FakeFormat> formats;
    std::vector<FakeControl> controls;
    // MJPEG frames handed out in turn; YUYV frames are made from the frame number.
    std::vector<std::vector<uint8_t>> mjpegFrames;
};

class FakeV4l2Io : public kxcam::V4l2Io {
public:
    std::map<std::string, FakeDevice> devices;
    std::atomic<bool> unplugged{false};
    // Pulls the device out: a waiting poll answers at once, and the next
    // buffer asked for fails with ENODEV (counted in lostAnswers).
    void Unplug();
    std::atomic<int> lostAnswers{0};
    std::map<uint32_t, int> controlValues;
    // Whether the driver answers VIDIOC_QUERY_EXT_CTRL (older ones know only VIDIOC_QUERYCTRL).
    bool extendedQueries = true;

    // The YUYV bytes of frame n at w x h (rows w * 2 bytes).
    static std::vector<uint8_t> YuyvFrame(uint64_t n, uint32_t w, uint32_t h);

    int Open(const std::string& path) override;
    int Close(int fd) override;
    int Ioctl(int fd, unsigned long request, void* arg) override;
    void* Mmap(size_t length, int fd, int64_t offset) override;
    int Munmap(void*, size_t) override { return 0; }
    int Poll(int fd, int timeoutMs) override;
    std::vector<std::string> DevicePaths() override;
    bool UsbIds(const std::string& path, uint16_t* vendor, uint16_t* product) override;

    int openCount = 0;

private:
    struct Handle {
        std::string path;
        uint32_t fourcc = 0, width = 0, height = 0;
        std::vector<std::vector<uint8_t>> buffers;
        std::deque<uint32_t> queued;
        bool streaming = false;
        uint64_t frame = 0;
        std::chrono::steady_clock::time_point nextFrame{};
    };
    int Fail(int error);
    std::mutex m_mutex;
    std::condition_variable m_unplug;
    std::map<int, Handle> m_handles;
    int m_nextFd = 100;
};

} // namespace camtest
