// A still taken again under the same name replaces the old one by renaming
// over it: the kernel's record of the folder shows the name never removed,
// and the folder holds nothing but the still afterwards.
#include <filesystem>
#include <string>
#include <sys/inotify.h>
#include <unistd.h>
#include <vector>

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include "KXCamera.h"
#include "StillWriter.h"
#include "TestSupport.h"

using kxcam::StillWriter;

namespace {

QImage Frame(int w, int h, int shift) {
    QImage frame(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            frame.setPixel(x, y, qRgb((x * 5 + shift) & 255, (y * 7) & 255, (x + y + shift) & 255));
    return frame;
}

struct Event {
    uint32_t mask;
    std::string name;
};

// Every event queued on `fd` so far; the kernel queues them as the calls
// happen, so nothing is waited for.
std::vector<Event> Drain(int fd) {
    std::vector<Event> events;
    alignas(inotify_event) char buffer[8192];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
        for (ssize_t at = 0; at < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
            events.push_back({e->mask, e->len ? std::string(e->name) : std::string()});
            at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
        }
    return events;
}

} // namespace

TEST(StillWriter, ReplacesAStillWithoutItsNameEverMissing) {
    const QImage first = Frame(40, 30, 0), second = Frame(40, 30, 90);
    for (const uint8_t format : {uint8_t{KXCAMERA_RAW}, uint8_t{KXCAMERA_BMP}, uint8_t{KXCAMERA_JPEG}}) {
        testsupport::TempDir dir;
        const QString name = QString::fromStdString(dir.file("still"));
        const std::string path = QFile::encodeName(StillWriter::FileName(name, format)).toStdString();
        const std::string leaf = std::filesystem::path(path).filename().string();
        QString error;
        ASSERT_TRUE(StillWriter::Write(name, format, first, {}, {}, &error)) << error.toStdString();
        const std::vector<uint8_t> before = testsupport::ReadFile(path);

        const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        ASSERT_GE(fd, 0);
        ASSERT_GE(inotify_add_watch(fd, dir.path().c_str(), IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO), 0);
        ASSERT_TRUE(StillWriter::Write(name, format, second, {}, {}, &error)) << error.toStdString();
        const std::vector<Event> events = Drain(fd);
        close(fd);

        int renamedOver = 0;
        for (const Event& e : events) {
            if (e.name != leaf) continue;
            EXPECT_FALSE(e.mask & (IN_DELETE | IN_MOVED_FROM)) << leaf << ": the old still was removed first";
            renamedOver += (e.mask & IN_MOVED_TO) ? 1 : 0;
        }
        EXPECT_EQ(renamedOver, 1) << leaf;
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            names.push_back(entry.path().filename().string());
        EXPECT_EQ(names, std::vector<std::string>{leaf});

        const std::vector<uint8_t> after = testsupport::ReadFile(path);
        EXPECT_NE(after, before) << leaf;
        if (format == KXCAMERA_RAW) {
            ASSERT_EQ(after.size(), 40u * 30u * 3u);
            const QRgb p = second.pixel(7, 5); // B, G, R, rows from the top
            EXPECT_EQ(after[(5 * 40 + 7) * 3], qBlue(p));
            EXPECT_EQ(after[(5 * 40 + 7) * 3 + 1], qGreen(p));
            EXPECT_EQ(after[(5 * 40 + 7) * 3 + 2], qRed(p));
        } else if (format == KXCAMERA_BMP) {
            int w = 0, h = 0;
            const std::vector<uint8_t> rgba = testsupport::ReferenceRGBA(path, &w, &h);
            ASSERT_EQ(w * h, 40 * 30);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const size_t at = (static_cast<size_t>(y) * w + x) * 4;
                    ASSERT_EQ(qRgb(rgba[at], rgba[at + 1], rgba[at + 2]), second.pixel(x, y))
                        << x << "," << y;
                }
        }
    }
}
