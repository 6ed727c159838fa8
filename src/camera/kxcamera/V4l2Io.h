// The device calls the V4L2 camera makes. The system's goes through libv4l2
// (which also converts pixel formats the program does not read itself);
// tests put a device of their own behind the same calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kxcam {

class V4l2Io {
public:
    virtual ~V4l2Io() = default;
    virtual int Open(const std::string& path) = 0;
    virtual int Close(int fd) = 0;
    // Returns -1 with errno set on failure, like ioctl(2).
    virtual int Ioctl(int fd, unsigned long request, void* arg) = 0;
    virtual void* Mmap(size_t length, int fd, int64_t offset) = 0; // null on failure
    virtual int Munmap(void* address, size_t length) = 0;
    // Waits up to timeoutMs for a frame; > 0 when one is ready.
    virtual int Poll(int fd, int timeoutMs) = 0;
    // Video device nodes, in number order.
    virtual std::vector<std::string> DevicePaths() = 0;
    // USB vendor and product of a device node; false when it is not on USB.
    virtual bool UsbIds(const std::string& path, uint16_t* vendor, uint16_t* product) = 0;

    static V4l2Io& System();
};

} // namespace kxcam
