#include "FakeV4l2Device.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <linux/videodev2.h>

namespace camtest {

std::vector<uint8_t> FakeV4l2Io::YuyvFrame(uint64_t n, uint32_t w, uint32_t h) {
    std::vector<uint8_t> bytes(size_t(w) * h * 2);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; x += 2) {
            uint8_t* p = &bytes[(size_t(y) * w + x) * 2];
            p[0] = uint8_t((x * 3 + y + n) & 0xff);   // Y0: the full range, out-of-range values too
            p[1] = uint8_t((y * 5 + n * 7) & 0xff);   // U
            p[2] = uint8_t((x * 3 + y + 1 + n) & 0xff); // Y1
            p[3] = uint8_t((x * 2 + 255 - y) & 0xff);  // V
        }
    return bytes;
}

int FakeV4l2Io::Fail(int error) {
    errno = error;
    return -1;
}

int FakeV4l2Io::Open(const std::string& path) {
    std::lock_guard lock(m_mutex);
    if (!devices.count(path) || unplugged) return Fail(ENOENT);
    ++openCount;
    m_handles[m_nextFd].path = path;
    return m_nextFd++;
}

int FakeV4l2Io::Close(int fd) {
    std::lock_guard lock(m_mutex);
    return m_handles.erase(fd) ? 0 : Fail(EBADF);
}

std::vector<std::string> FakeV4l2Io::DevicePaths() {
    std::vector<std::string> paths;
    for (const auto& d : devices) paths.push_back(d.first);
    return paths;
}

bool FakeV4l2Io::UsbIds(const std::string& path, uint16_t* vendor, uint16_t* product) {
    auto it = devices.find(path);
    if (it == devices.end()) return false;
    *vendor = it->second.vendor;
    *product = it->second.product;
    return true;
}

void* FakeV4l2Io::Mmap(size_t length, int fd, int64_t offset) {
    std::lock_guard lock(m_mutex);
    auto it = m_handles.find(fd);
    const size_t index = size_t(offset >> 20);
    if (it == m_handles.end() || index >= it->second.buffers.size() ||
        length > it->second.buffers[index].size())
        return nullptr;
    return it->second.buffers[index].data();
}

void FakeV4l2Io::Unplug() {
    {
        std::lock_guard lock(m_mutex);
        unplugged = true;
    }
    m_unplug.notify_all();
}

int FakeV4l2Io::Poll(int fd, int timeoutMs) {
    std::unique_lock lock(m_mutex);
    auto it = m_handles.find(fd);
    if (it == m_handles.end()) return 0;
    // The device makes a frame every 20 ms (50 a second), like a camera; an unplug ends the wait.
    const auto now = std::chrono::steady_clock::now();
    const auto until = std::min(std::max(it->second.nextFrame, now), now + std::chrono::milliseconds(timeoutMs));
    if (m_unplug.wait_until(lock, until, [this] { return unplugged.load(); })) return 1;
    it = m_handles.find(fd); // the handle may have closed meanwhile
    if (it == m_handles.end() || !it->second.streaming || it->second.queued.empty() ||
        std::chrono::steady_clock::now() < it->second.nextFrame)
        return 0;
    it->second.nextFrame = std::chrono::steady_clock::now() + std::chrono::milliseconds(20);
    return 1;
}

int FakeV4l2Io::Ioctl(int fd, unsigned long request, void* arg) {
    std::lock_guard lock(m_mutex);
    auto hit = m_handles.find(fd);
    if (hit == m_handles.end()) return Fail(EBADF);
    Handle& h = hit->second;
    FakeDevice& dev = devices[h.path];
    switch (request) {
    case VIDIOC_QUERYCAP: {
        auto* cap = static_cast<v4l2_capability*>(arg);
        *cap = {};
        std::strncpy(reinterpret_cast<char*>(cap->card), dev.card.c_str(), sizeof cap->card - 1);
        cap->device_caps = dev.capture ? V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING : V4L2_CAP_META_CAPTURE;
        cap->capabilities = cap->device_caps | V4L2_CAP_DEVICE_CAPS;
        return 0;
    }
    case VIDIOC_ENUM_FMT: {
        auto* desc = static_cast<v4l2_fmtdesc*>(arg);
        if (desc->index >= dev.formats.size()) return Fail(EINVAL);
        desc->pixelformat = dev.formats[desc->index].fourcc;
        return 0;
    }
    case VIDIOC_ENUM_FRAMESIZES: {
        auto* size = static_cast<v4l2_frmsizeenum*>(arg);
        for (const FakeFormat& f : dev.formats)
            if (f.fourcc == size->pixel_format && size->index < f.sizes.size()) {
                size->type = V4L2_FRMSIZE_TYPE_DISCRETE;
                size->discrete.width = f.sizes[size->index].first;
                size->discrete.height = f.sizes[size->index].second;
                return 0;
            }
        return Fail(EINVAL);
    }
    case VIDIOC_S_FMT: {
        auto* fmt = static_cast<v4l2_format*>(arg);
        for (const FakeFormat& f : dev.formats) {
            if (f.fourcc != fmt->fmt.pix.pixelformat) continue;
            // Like a driver: an unknown size becomes the format's first.
            auto size = f.sizes.front();
            for (const auto& s : f.sizes)
                if (s.first == fmt->fmt.pix.width && s.second == fmt->fmt.pix.height) size = s;
            h.fourcc = f.fourcc;
            h.width = fmt->fmt.pix.width = size.first;
            h.height = fmt->fmt.pix.height = size.second;
            fmt->fmt.pix.bytesperline = f.fourcc == V4L2_PIX_FMT_YUYV ? size.first * 2 : 0;
            fmt->fmt.pix.sizeimage = size.first * size.second * 2;
            return 0;
        }
        return Fail(EINVAL);
    }
    case VIDIOC_REQBUFS: {
        auto* req = static_cast<v4l2_requestbuffers*>(arg);
        if (h.streaming) return Fail(EBUSY);
        h.buffers.assign(req->count, std::vector<uint8_t>(size_t(h.width) * h.height * 2));
        h.queued.clear();
        return 0;
    }
    case VIDIOC_QUERYBUF: {
        auto* buf = static_cast<v4l2_buffer*>(arg);
        if (buf->index >= h.buffers.size()) return Fail(EINVAL);
        buf->length = uint32_t(h.buffers[buf->index].size());
        buf->m.offset = buf->index << 20;
        return 0;
    }
    case VIDIOC_QBUF: {
        auto* buf = static_cast<v4l2_buffer*>(arg);
        if (buf->index >= h.buffers.size()) return Fail(EINVAL);
        h.queued.push_back(buf->index);
        return 0;
    }
    case VIDIOC_DQBUF: {
        auto* buf = static_cast<v4l2_buffer*>(arg);
        if (unplugged) {
            ++lostAnswers;
            return Fail(ENODEV);
        }
        if (!h.streaming) return Fail(EINVAL);
        if (h.queued.empty()) return Fail(EAGAIN);
        const uint32_t index = h.queued.front();
        h.queued.pop_front();
        std::vector<uint8_t>& target = h.buffers[index];
        std::vector<uint8_t> frame;
        if (h.fourcc == V4L2_PIX_FMT_YUYV) frame = YuyvFrame(h.frame, h.width, h.height);
        else if (!dev.mjpegFrames.empty()) frame = dev.mjpegFrames[h.frame % dev.mjpegFrames.size()];
        const size_t n = std::min(frame.size(), target.size());
        std::memcpy(target.data(), frame.data(), n);
        buf->index = index;
        buf->bytesused = uint32_t(n);
        buf->sequence = uint32_t(h.frame++);
        buf->flags = 0;
        return 0;
    }
    case VIDIOC_STREAMON: h.streaming = true; return 0;
    case VIDIOC_STREAMOFF:
        h.streaming = false;
        h.queued.clear();
        return 0;
    case VIDIOC_QUERY_EXT_CTRL: {
        if (!extendedQueries) return Fail(ENOTTY);
        auto* q = static_cast<v4l2_query_ext_ctrl*>(arg);
        const uint32_t after = q->id & ~(V4L2_CTRL_FLAG_NEXT_CTRL | V4L2_CTRL_FLAG_NEXT_COMPOUND);
        const FakeControl* found = nullptr;
        for (const FakeControl& c : dev.controls)
            if ((q->id & V4L2_CTRL_FLAG_NEXT_CTRL) ? (c.id > after && (!found || c.id < found->id))
                                                   : c.id == after)
                found = &c;
        if (!found) return Fail(EINVAL);
        *q = {};
        q->id = found->id;
        q->type = found->type;
        std::strncpy(q->name, found->name.c_str(), sizeof q->name - 1);
        q->minimum = found->minimum;
        q->maximum = found->maximum;
        q->step = static_cast<uint64_t>(found->step);
        q->default_value = found->defaultValue;
        q->elems = 1;
        return 0;
    }
    case VIDIOC_QUERYCTRL: {
        auto* q = static_cast<v4l2_queryctrl*>(arg);
        const bool next = q->id & V4L2_CTRL_FLAG_NEXT_CTRL;
        const uint32_t after = q->id & ~V4L2_CTRL_FLAG_NEXT_CTRL;
        const FakeControl* found = nullptr;
        for (const FakeControl& c : dev.controls)
            if (next ? (c.id > after && (!found || c.id < found->id)) : c.id == after) found = &c;
        if (!found) return Fail(EINVAL);
        *q = {};
        q->id = found->id;
        q->type = found->type;
        std::strncpy(reinterpret_cast<char*>(q->name), found->name.c_str(), sizeof q->name - 1);
        q->minimum = found->minimum;
        q->maximum = found->maximum;
        q->step = found->step;
        q->default_value = found->defaultValue;
        return 0;
    }
    case VIDIOC_QUERYMENU: {
        auto* m = static_cast<v4l2_querymenu*>(arg);
        for (const FakeControl& c : dev.controls)
            if (c.id == m->id && m->index < c.menu.size() && !c.menu[m->index].empty()) {
                std::strncpy(reinterpret_cast<char*>(m->name), c.menu[m->index].c_str(), sizeof m->name - 1);
                return 0;
            }
        return Fail(EINVAL);
    }
    case VIDIOC_G_CTRL:
    case VIDIOC_S_CTRL: {
        auto* v = static_cast<v4l2_control*>(arg);
        for (const FakeControl& c : dev.controls) {
            if (c.id != v->id) continue;
            if (request == VIDIOC_G_CTRL) {
                v->value = controlValues.count(c.id) ? controlValues[c.id] : c.defaultValue;
                return 0;
            }
            if (v->value < c.minimum || v->value > c.maximum) return Fail(ERANGE);
            controlValues[c.id] = v->value;
            return 0;
        }
        return Fail(EINVAL);
    }
    default:
        return Fail(ENOTTY);
    }
}

} // namespace camtest
