#include "V4l2Camera.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <linux/videodev2.h>

#include "CameraLog.h"
#include "FrameConverter.h"
#include "V4l2SettingsDialog.h"

namespace kxcam {

namespace {

// Sizes offered by devices that give a range rather than a list.
const QSize kStepwiseSizes[] = {{320, 240}, {640, 480}, {800, 600}, {1024, 768}, {1280, 960}, {1280, 1024},
                                {1600, 1200}, {2048, 1536}, {2592, 1944}};

// Our own readers first; a format libv4l2 converts to RGB24 otherwise.
int FormatRank(uint32_t format) {
    switch (format) {
    case V4L2_PIX_FMT_MJPEG: return 0;
    case V4L2_PIX_FMT_YUYV: return 1;
    case V4L2_PIX_FMT_RGB24: return 2;
    default: return -1;
    }
}

QString FourCc(uint32_t f) {
    const char text[4] = {char(f & 0xff), char((f >> 8) & 0xff), char((f >> 16) & 0xff), char(f >> 24)};
    return QString::fromLatin1(text, 4);
}

} // namespace

V4l2Camera::V4l2Camera(V4l2Io& io, std::string path, QString card, uint16_t vendor, uint16_t product,
                       std::vector<Mode> modes)
    : m_io(io), m_path(std::move(path)), m_card(std::move(card)), m_vendor(vendor), m_product(product),
      m_modes(std::move(modes)) {}

V4l2Camera::~V4l2Camera() { Close(); }

std::vector<V4l2Camera::Mode> V4l2Camera::Modes(V4l2Io& io, int fd) {
    std::vector<Mode> modes;
    for (uint32_t i = 0; i < 64; ++i) {
        v4l2_fmtdesc desc{};
        desc.index = i;
        desc.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        if (io.Ioctl(fd, VIDIOC_ENUM_FMT, &desc) < 0) break;
        if (FormatRank(desc.pixelformat) < 0) continue;
        std::vector<QSize> sizes;
        for (uint32_t j = 0; j < 256; ++j) {
            v4l2_frmsizeenum size{};
            size.index = j;
            size.pixel_format = desc.pixelformat;
            if (io.Ioctl(fd, VIDIOC_ENUM_FRAMESIZES, &size) < 0) break;
            if (size.type == V4L2_FRMSIZE_TYPE_DISCRETE) {
                sizes.emplace_back(size.discrete.width, size.discrete.height);
            } else {
                for (const QSize& s : kStepwiseSizes)
                    if (uint32_t(s.width()) >= size.stepwise.min_width &&
                        uint32_t(s.width()) <= size.stepwise.max_width &&
                        uint32_t(s.height()) >= size.stepwise.min_height &&
                        uint32_t(s.height()) <= size.stepwise.max_height)
                        sizes.push_back(s);
                break;
            }
        }
        for (const QSize& s : sizes) {
            if (s.width() <= 0 || s.height() <= 0 || s.width() > 16384 || s.height() > 16384) continue;
            auto same = std::find_if(modes.begin(), modes.end(), [&](const Mode& m) { return m.size == s; });
            if (same == modes.end()) modes.push_back({s, desc.pixelformat});
            else if (FormatRank(desc.pixelformat) < FormatRank(same->pixelFormat))
                same->pixelFormat = desc.pixelformat;
        }
    }
    std::sort(modes.begin(), modes.end(), [](const Mode& a, const Mode& b) {
        return int64_t(a.size.width()) * a.size.height() < int64_t(b.size.width()) * b.size.height();
    });
    return modes;
}

std::vector<std::unique_ptr<CameraDevice>> V4l2Camera::Enumerate(V4l2Io& io) {
    std::vector<std::unique_ptr<CameraDevice>> cameras;
    for (const std::string& path : io.DevicePaths()) {
        const int fd = io.Open(path);
        if (fd < 0) continue;
        v4l2_capability cap{};
        if (io.Ioctl(fd, VIDIOC_QUERYCAP, &cap) == 0) {
            const uint32_t caps =
                (cap.capabilities & V4L2_CAP_DEVICE_CAPS) ? cap.device_caps : cap.capabilities;
            if ((caps & V4L2_CAP_VIDEO_CAPTURE) && (caps & V4L2_CAP_STREAMING)) {
                std::vector<Mode> modes = Modes(io, fd);
                uint16_t vendor = 0, product = 0;
                io.UsbIds(path, &vendor, &product);
                const auto* card = reinterpret_cast<const char*>(cap.card);
                if (!modes.empty())
                    cameras.push_back(std::make_unique<V4l2Camera>(
                        io, path, QString::fromUtf8(card, qsizetype(strnlen(card, sizeof cap.card))), vendor,
                        product, std::move(modes)));
            }
        }
        io.Close(fd);
    }
    return cameras;
}

KXCameraIdentity V4l2Camera::Identity() const {
    KXCameraIdentity id{};
    id.id = uint32_t(m_vendor) << 16 | m_product;
    id.type = 2; // white balance by gains, no long exposure
    const QByteArray name = m_card.toUtf8().left(sizeof id.name - 1);
    std::memcpy(id.name, name.constData(), size_t(name.size()));
    return id;
}

std::vector<Resolution> V4l2Camera::Resolutions() const {
    std::vector<Resolution> list;
    for (const Mode& m : m_modes)
        list.push_back({m.size, QStringLiteral("%1 x %2").arg(m.size.width()).arg(m.size.height())});
    return list;
}

bool V4l2Camera::Open(int resolutionIndex) {
    if (resolutionIndex < 0 || resolutionIndex >= int(m_modes.size())) return false;
    Close();
    const Mode& mode = m_modes[resolutionIndex];
    m_fd = m_io.Open(m_path);
    if (m_fd < 0) {
        qCWarning(lcKxCamera) << "cannot open" << m_path.c_str() << strerror(errno);
        return false;
    }
    v4l2_format fmt{};
    fmt.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    fmt.fmt.pix.width = uint32_t(mode.size.width());
    fmt.fmt.pix.height = uint32_t(mode.size.height());
    fmt.fmt.pix.pixelformat = mode.pixelFormat;
    fmt.fmt.pix.field = V4L2_FIELD_NONE;
    if (m_io.Ioctl(m_fd, VIDIOC_S_FMT, &fmt) < 0 || FormatRank(fmt.fmt.pix.pixelformat) < 0 ||
        fmt.fmt.pix.width == 0 || fmt.fmt.pix.height == 0 || fmt.fmt.pix.width > 16384 ||
        fmt.fmt.pix.height > 16384) {
        qCWarning(lcKxCamera) << m_path.c_str() << "refuses" << mode.size << FourCc(mode.pixelFormat);
        Close();
        return false;
    }
    // The driver may adjust the size; frames come in what it chose.
    m_size = QSize(int(fmt.fmt.pix.width), int(fmt.fmt.pix.height));
    m_format = fmt.fmt.pix.pixelformat;
    m_bytesPerLine = int(fmt.fmt.pix.bytesperline);
    if (m_format == V4L2_PIX_FMT_YUYV && m_bytesPerLine < m_size.width() * 2)
        m_bytesPerLine = m_size.width() * 2;
    if (m_format == V4L2_PIX_FMT_RGB24 && m_bytesPerLine < m_size.width() * 3)
        m_bytesPerLine = m_size.width() * 3;

    v4l2_requestbuffers req{};
    req.count = kBufferCount;
    req.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    req.memory = V4L2_MEMORY_MMAP;
    if (m_io.Ioctl(m_fd, VIDIOC_REQBUFS, &req) < 0 || req.count < 2) {
        qCWarning(lcKxCamera) << m_path.c_str() << "gives no streaming buffers";
        Close();
        return false;
    }
    for (uint32_t i = 0; i < std::min<uint32_t>(req.count, 16); ++i) {
        v4l2_buffer buf{};
        buf.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buf.memory = V4L2_MEMORY_MMAP;
        buf.index = i;
        if (m_io.Ioctl(m_fd, VIDIOC_QUERYBUF, &buf) < 0 || buf.length == 0 || buf.length > kMaxBufferBytes) {
            Close();
            return false;
        }
        void* start = m_io.Mmap(buf.length, m_fd, buf.m.offset);
        if (!start) {
            Close();
            return false;
        }
        m_buffers.push_back({start, buf.length});
    }
    return true;
}

void V4l2Camera::ReleaseBuffers() {
    for (const Buffer& b : m_buffers) m_io.Munmap(b.start, b.length);
    m_buffers.clear();
    if (m_fd >= 0) {
        v4l2_requestbuffers req{};
        req.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        req.memory = V4L2_MEMORY_MMAP;
        m_io.Ioctl(m_fd, VIDIOC_REQBUFS, &req);
    }
}

void V4l2Camera::Close() {
    Stop();
    ReleaseBuffers();
    if (m_fd >= 0) m_io.Close(m_fd);
    m_fd = -1;
}

bool V4l2Camera::Start(FrameConsumer* consumer) {
    if (m_fd < 0 || m_buffers.empty() || !consumer) return false;
    if (m_running) return true;
    for (uint32_t i = 0; i < m_buffers.size(); ++i) {
        v4l2_buffer buf{};
        buf.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buf.memory = V4L2_MEMORY_MMAP;
        buf.index = i;
        if (m_io.Ioctl(m_fd, VIDIOC_QBUF, &buf) < 0) return false;
    }
    v4l2_buf_type type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (m_io.Ioctl(m_fd, VIDIOC_STREAMON, &type) < 0) {
        qCWarning(lcKxCamera) << m_path.c_str() << "does not stream:" << strerror(errno);
        return false;
    }
    m_running = true;
    m_thread = std::thread([this, consumer] { Run(consumer); });
    return true;
}

void V4l2Camera::Stop() {
    if (!m_thread.joinable()) return;
    m_running = false;
    m_thread.join();
    v4l2_buf_type type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    m_io.Ioctl(m_fd, VIDIOC_STREAMOFF, &type);
}

void V4l2Camera::Run(FrameConsumer* consumer) {
    int failures = 0;
    while (m_running) {
        if (m_io.Poll(m_fd, 200) <= 0) continue;
        v4l2_buffer buf{};
        buf.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buf.memory = V4L2_MEMORY_MMAP;
        if (m_io.Ioctl(m_fd, VIDIOC_DQBUF, &buf) < 0) {
            if (errno == EAGAIN) continue;
            // Unplugged or broken: the device is quiet from now on.
            qCWarning(lcKxCamera) << m_path.c_str() << "stopped delivering:" << strerror(errno);
            break;
        }
        if (buf.index >= m_buffers.size()) continue;
        const auto* data = static_cast<const uint8_t*>(m_buffers[buf.index].start);
        const size_t used = std::min<size_t>(buf.bytesused ? buf.bytesused : m_buffers[buf.index].length,
                                             m_buffers[buf.index].length);
        QImage picture;
        if (!(buf.flags & V4L2_BUF_FLAG_ERROR)) {
            switch (m_format) {
            case V4L2_PIX_FMT_MJPEG: picture = FrameConverter::FromMjpeg(data, used); break;
            case V4L2_PIX_FMT_YUYV:
                picture =
                    FrameConverter::FromYuyv(data, used, m_size.width(), m_size.height(), m_bytesPerLine);
                break;
            case V4L2_PIX_FMT_RGB24:
                if (used >= size_t(m_bytesPerLine) * m_size.height())
                    picture =
                        QImage(data, m_size.width(), m_size.height(), m_bytesPerLine, QImage::Format_RGB888)
                            .convertToFormat(QImage::Format_RGB32);
                break;
            }
        }
        const QByteArray raw(reinterpret_cast<const char*>(data), qsizetype(used));
        m_io.Ioctl(m_fd, VIDIOC_QBUF, &buf);
        if (picture.isNull() || picture.size() != m_size) {
            // Damaged frames happen on a busy bus; a long run of them is worth a note.
            if (++failures == 25) qCWarning(lcKxCamera) << m_path.c_str() << "delivers unreadable frames";
            continue;
        }
        failures = 0;
        consumer->OnFrame(picture, raw, Clock::now());
    }
}

std::vector<V4l2Camera::Control> V4l2Camera::Controls(int which) const {
    std::vector<Control> list;
    if (m_fd < 0) return list;
    // The next control after `after` in the extended query's terms; the plain
    // query stands in when the driver does not know the extended one.
    bool extended = true;
    const auto next = [&](uint32_t after, v4l2_query_ext_ctrl& q) {
        if (extended) {
            q = {};
            q.id = after | V4L2_CTRL_FLAG_NEXT_CTRL;
            if (m_io.Ioctl(m_fd, VIDIOC_QUERY_EXT_CTRL, &q) == 0) return true;
            if (errno != ENOTTY) return false;
            extended = false;
        }
        v4l2_queryctrl plain{};
        plain.id = after | V4L2_CTRL_FLAG_NEXT_CTRL;
        if (m_io.Ioctl(m_fd, VIDIOC_QUERYCTRL, &plain) != 0) return false;
        q = {};
        q.id = plain.id;
        q.type = plain.type;
        std::memcpy(q.name, plain.name, sizeof plain.name);
        q.minimum = plain.minimum;
        q.maximum = plain.maximum;
        q.step = static_cast<uint64_t>(std::max(1, plain.step));
        q.default_value = plain.default_value;
        q.flags = plain.flags;
        return true;
    };
    v4l2_query_ext_ctrl q{};
    uint32_t after = 0;
    for (int guard = 0; guard < 512 && next(after, q); ++guard) {
        after = q.id;
        const bool cameraClass = V4L2_CTRL_ID2CLASS(q.id) == V4L2_CTRL_CLASS_CAMERA;
        const bool usable = !(q.flags & V4L2_CTRL_FLAG_DISABLED) &&
                            (q.type == V4L2_CTRL_TYPE_INTEGER || q.type == V4L2_CTRL_TYPE_BOOLEAN ||
                             q.type == V4L2_CTRL_TYPE_MENU || q.type == V4L2_CTRL_TYPE_BUTTON);
        // Integer controls hold 32 bits; a driver's wider range is not believed.
        const bool inRange = q.minimum <= q.maximum && q.minimum >= INT32_MIN && q.maximum <= INT32_MAX &&
                             q.default_value >= q.minimum && q.default_value <= q.maximum;
        if ((which == 2 && !cameraClass) || !usable || !inRange) continue;
        Control c;
        c.id = q.id;
        c.type = q.type;
        c.name = QString::fromUtf8(q.name, qsizetype(strnlen(q.name, sizeof q.name)));
        c.minimum = static_cast<int>(q.minimum);
        c.maximum = static_cast<int>(q.maximum);
        c.step = static_cast<int>(std::clamp<uint64_t>(q.step, 1, INT32_MAX));
        c.defaultValue = static_cast<int>(q.default_value);
        v4l2_control value{q.id, 0};
        c.value = m_io.Ioctl(m_fd, VIDIOC_G_CTRL, &value) == 0 ? value.value : c.defaultValue;
        if (q.type == V4L2_CTRL_TYPE_MENU) {
            for (int64_t i = q.minimum; i <= q.maximum && i - q.minimum < 64; ++i) {
                v4l2_querymenu m{};
                m.id = q.id;
                m.index = uint32_t(i);
                const auto* text = reinterpret_cast<const char*>(m.name);
                c.menu << (m_io.Ioctl(m_fd, VIDIOC_QUERYMENU, &m) == 0
                               ? QString::fromUtf8(text, qsizetype(strnlen(text, sizeof m.name)))
                               : QString());
            }
        }
        list.push_back(c);
    }
    return list;
}

bool V4l2Camera::SetControl(uint32_t id, int value) {
    if (m_fd < 0) return false;
    v4l2_control c{id, value};
    return m_io.Ioctl(m_fd, VIDIOC_S_CTRL, &c) == 0;
}

bool V4l2Camera::OneShotWhiteBalance() { return SetControl(V4L2_CID_DO_WHITE_BALANCE, 1); }

void V4l2Camera::ShowSettings(int which, QWidget* parent) {
    V4l2SettingsDialog dialog(this, which, parent);
    dialog.exec();
}

} // namespace kxcam
