#include "V4l2Io.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <libv4l2.h>
#include <poll.h>
#include <sys/mman.h>

namespace kxcam {

namespace {

// Reads a hexadecimal id file of sysfs.
bool ReadHex(const std::filesystem::path& file, uint16_t* value) {
    std::ifstream in(file);
    unsigned v = 0;
    if (!(in >> std::hex >> v) || v > 0xffff) return false;
    *value = static_cast<uint16_t>(v);
    return true;
}

class SystemIo : public V4l2Io {
public:
    int Open(const std::string& path) override {
        return v4l2_open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    }
    int Close(int fd) override { return v4l2_close(fd); }
    int Ioctl(int fd, unsigned long request, void* arg) override {
        int rc;
        do rc = v4l2_ioctl(fd, request, arg);
        while (rc == -1 && errno == EINTR);
        return rc;
    }
    void* Mmap(size_t length, int fd, int64_t offset) override {
        void* p = v4l2_mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, fd, offset);
        return p == MAP_FAILED ? nullptr : p;
    }
    int Munmap(void* address, size_t length) override { return v4l2_munmap(address, length); }
    int Poll(int fd, int timeoutMs) override {
        pollfd p{fd, POLLIN, 0};
        return poll(&p, 1, timeoutMs);
    }
    std::vector<std::string> DevicePaths() override {
        std::vector<std::pair<int, std::string>> found;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator("/dev", ec)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("video", 0) != 0 || name.size() == 5) continue;
            const std::string digits = name.substr(5);
            if (!std::all_of(digits.begin(), digits.end(), ::isdigit) || digits.size() > 4) continue;
            found.emplace_back(std::stoi(digits), entry.path().string());
        }
        std::sort(found.begin(), found.end());
        std::vector<std::string> paths;
        for (auto& f : found) paths.push_back(f.second);
        return paths;
    }
    bool UsbIds(const std::string& path, uint16_t* vendor, uint16_t* product) override {
        // /sys/class/video4linux/videoN/device is the USB interface; its parent the device.
        std::error_code ec;
        const auto node = std::filesystem::path(path).filename();
        auto dir =
            std::filesystem::canonical(std::filesystem::path("/sys/class/video4linux") / node / "device", ec);
        for (int up = 0; !ec && up < 3 && !dir.empty(); ++up, dir = dir.parent_path())
            if (ReadHex(dir / "idVendor", vendor) && ReadHex(dir / "idProduct", product)) return true;
        return false;
    }
};

} // namespace

V4l2Io& V4l2Io::System() {
    static SystemIo io;
    return io;
}

} // namespace kxcam
