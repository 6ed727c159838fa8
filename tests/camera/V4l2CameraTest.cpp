#include <cstdlib>
#include <fstream>
#include <mutex>

#include <QCheckBox>
#include <QComboBox>
#include <QSlider>
#include <QSpinBox>

#include <linux/videodev2.h>

#include <gtest/gtest.h>

#include "CameraLibrary.h"
#include "CameraTestSupport.h"
#include "FakeV4l2Device.h"
#include "FrameConverter.h"
#include "KXCamera.h"
#include "TestSupport.h"
#include "V4l2Camera.h"
#include "V4l2SettingsDialog.h"

using camtest::FakeDevice;
using camtest::FakeV4l2Io;
using camtest::WaitFor;
using kxcam::FrameConverter;
using kxcam::V4l2Camera;

namespace {

// Keeps what a camera delivers.
class Collector : public kxcam::FrameConsumer {
public:
    void OnFrame(const QImage& picture, const QByteArray& raw, kxcam::Clock::time_point) override {
        std::lock_guard lock(mutex);
        pictures.push_back(picture);
        raws.push_back(raw);
    }
    size_t Count() {
        std::lock_guard lock(mutex);
        return pictures.size();
    }
    std::mutex mutex;
    std::vector<QImage> pictures;
    std::vector<QByteArray> raws;
};

// A JPEG made by cjpeg from a generated picture, and the same stream with its
// Huffman tables taken out, as Motion-JPEG cameras send it.
struct MjpegSample {
    std::vector<uint8_t> withTables, withoutTables;
    std::string file;
};

MjpegSample MakeMjpeg(const testsupport::TempDir& dir, int w, int h) {
    MjpegSample s;
    const std::string ppm = dir.file("frame.ppm");
    s.file = dir.file("frame.jpg");
    {
        std::ofstream out(ppm, std::ios::binary);
        out << "P6\n" << w << " " << h << "\n255\n";
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) out << char(x * 255 / w) << char(y * 255 / h) << char((x ^ y) & 0xff);
    }
    if (testsupport::Run("cjpeg -quality 85 " + testsupport::Quote(ppm) + " > " +
                         testsupport::Quote(s.file)) != 0)
        return s;
    s.withTables = testsupport::ReadFile(s.file);
    const auto& j = s.withTables;
    s.withoutTables.assign(j.begin(), j.begin() + 2);
    size_t pos = 2;
    while (pos + 4 <= j.size() && j[pos] == 0xff) {
        const uint8_t marker = j[pos + 1];
        const size_t length = size_t(j[pos + 2]) << 8 | j[pos + 3];
        if (marker == 0xda) break; // the scan and the rest go over whole
        if (marker != 0xc4)
            s.withoutTables.insert(s.withoutTables.end(), j.begin() + pos, j.begin() + pos + 2 + length);
        pos += 2 + length;
    }
    s.withoutTables.insert(s.withoutTables.end(), j.begin() + pos, j.end());
    return s;
}

FakeDevice Microscope() {
    FakeDevice d;
    d.formats = {{V4L2_PIX_FMT_YUYV, {{640, 480}, {320, 240}}},
                 {V4L2_PIX_FMT_MJPEG, {{1280, 960}, {640, 480}, {64, 48}}},
                 {V4L2_PIX_FMT_NV12, {{1920, 1080}}}}; // neither ours nor libv4l2's: not offered
    d.controls = {
        {V4L2_CID_BRIGHTNESS, V4L2_CTRL_TYPE_INTEGER, "Brightness", -64, 64, 1, 0, {}},
        {V4L2_CID_AUTO_WHITE_BALANCE, V4L2_CTRL_TYPE_BOOLEAN, "White Balance, Automatic", 0, 1, 1, 1, {}},
        {V4L2_CID_POWER_LINE_FREQUENCY,
         V4L2_CTRL_TYPE_MENU,
         "Power Line Frequency",
         0,
         2,
         1,
         1,
         {"Disabled", "50 Hz", "60 Hz"}},
        {V4L2_CID_EXPOSURE_ABSOLUTE, V4L2_CTRL_TYPE_INTEGER, "Exposure Time, Absolute", 3, 2047, 1, 250, {}}};
    return d;
}

TEST(V4l2Enumeration, CaptureDevicesWithTheirSizesAndBestFormats) {
    FakeV4l2Io io;
    io.devices["/dev/video0"] = Microscope();
    FakeDevice meta;
    meta.capture = false;
    meta.formats = {{V4L2_PIX_FMT_YUYV, {{640, 480}}}};
    io.devices["/dev/video1"] = meta;
    auto cameras = V4l2Camera::Enumerate(io);
    ASSERT_EQ(cameras.size(), 1u);
    auto* camera = static_cast<V4l2Camera*>(cameras[0].get());
    EXPECT_EQ(camera->Path(), "/dev/video0");
    const KXCameraIdentity id = camera->Identity();
    EXPECT_EQ(id.id, 0x05474d88u);
    EXPECT_EQ(id.type, 2);
    EXPECT_STREQ(id.name, "Fake Microscope");
    std::vector<QString> labels;
    for (const auto& r : camera->Resolutions()) labels.push_back(r.label);
    EXPECT_EQ(labels, (std::vector<QString>{"64 x 48", "320 x 240", "640 x 480", "1280 x 960"}));
    EXPECT_EQ(io.openCount, 2); // every node was looked at, and closed again
}

TEST(V4l2Streaming, YuyvFramesArriveConvertedWithTheirBytes) {
    FakeV4l2Io io;
    io.devices["/dev/video0"] = Microscope();
    auto cameras = V4l2Camera::Enumerate(io);
    auto* camera = static_cast<V4l2Camera*>(cameras[0].get());
    ASSERT_TRUE(camera->Open(1)); // 320 x 240: YUYV only
    EXPECT_EQ(camera->PixelFormat(), uint32_t(V4L2_PIX_FMT_YUYV));
    EXPECT_EQ(camera->FrameSize(), QSize(320, 240));
    Collector frames;
    ASSERT_TRUE(camera->Start(&frames));
    ASSERT_TRUE(WaitFor([&] { return frames.Count() >= 5; }));
    camera->Stop();
    const std::vector<uint8_t> expected = FakeV4l2Io::YuyvFrame(0, 320, 240);
    ASSERT_EQ(frames.raws[0].size(), qsizetype(expected.size()));
    EXPECT_EQ(std::memcmp(frames.raws[0].constData(), expected.data(), expected.size()), 0);
    // Each pixel as the per-pixel definition gives it.
    const QImage& first = frames.pictures[0];
    for (int y = 0; y < 240; y += 3)
        for (int x = 0; x < 320; ++x) {
            const uint8_t* pair = &expected[(size_t(y) * 320 + (x & ~1)) * 2];
            uint8_t r, g, b;
            FrameConverter::YuvToRgb(pair[(x & 1) * 2], pair[1], pair[3], &r, &g, &b);
            const QRgb p = first.pixel(x, y);
            ASSERT_EQ(qRed(p), r) << x << "," << y;
            ASSERT_EQ(qGreen(p), g);
            ASSERT_EQ(qBlue(p), b);
        }
    EXPECT_NE(frames.pictures[0], frames.pictures[4]); // the frames differ
    camera->Close();
}

TEST(FrameConversion, YuyvAgreesWithFfmpegsConversion) {
    testsupport::TempDir dir;
    // Luma over the whole byte range; chroma smooth, since the reference
    // interpolates it between pixel pairs.
    std::vector<uint8_t> yuyv(64 * 32 * 2);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; x += 2) {
            uint8_t* p = &yuyv[(size_t(y) * 64 + x) * 2];
            p[0] = uint8_t((x * 8 + y * 3) & 0xff);
            p[1] = uint8_t(40 + y * 5);
            p[2] = uint8_t((x * 8 + y * 3 + 5) & 0xff);
            p[3] = uint8_t(30 + x * 3);
        }
    testsupport::WriteFile(dir.file("in.yuv"), yuyv);
    ASSERT_EQ(
        testsupport::Run("ffmpeg -v error -f rawvideo -pix_fmt yuyv422 -s 64x32 -i " +
                         testsupport::Quote(dir.file("in.yuv")) +
                         " -sws_flags accurate_rnd+full_chroma_int+bitexact -f rawvideo -pix_fmt rgb24 " +
                         testsupport::Quote(dir.file("out.rgb"))),
        0);
    const std::vector<uint8_t> ref = testsupport::ReadFile(dir.file("out.rgb"));
    ASSERT_EQ(ref.size(), 64u * 32 * 3);
    const QImage ours = FrameConverter::FromYuyv(yuyv.data(), yuyv.size(), 64, 32, 128);
    int worst = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; x += 2) { // at the pixels that carry their own chroma
            const QRgb p = ours.pixel(x, y);
            const uint8_t* q = &ref[(size_t(y) * 64 + x) * 3];
            worst = std::max(
                {worst, std::abs(qRed(p) - q[0]), std::abs(qGreen(p) - q[1]), std::abs(qBlue(p) - q[2])});
        }
    EXPECT_LE(worst, 4); // the reference's chroma is interpolated; a wrong coefficient is off by tens
}

TEST(FrameConversion, DamagedBuffersGiveNoPicture) {
    const std::vector<uint8_t> yuyv = FakeV4l2Io::YuyvFrame(0, 64, 32);
    EXPECT_TRUE(FrameConverter::FromYuyv(yuyv.data(), yuyv.size() - 1, 64, 32, 128).isNull());
    EXPECT_TRUE(FrameConverter::FromYuyv(yuyv.data(), yuyv.size(), 63, 32, 128).isNull());
    EXPECT_TRUE(FrameConverter::FromYuyv(yuyv.data(), yuyv.size(), 64, 32, 100).isNull());
    EXPECT_TRUE(FrameConverter::FromYuyv(nullptr, 0, 64, 32, 128).isNull());
    testsupport::TempDir dir;
    const MjpegSample jpeg = MakeMjpeg(dir, 64, 48);
    ASSERT_FALSE(jpeg.withoutTables.empty());
    for (size_t cut : {size_t(2), size_t(20), jpeg.withoutTables.size() / 3}) {
        std::vector<uint8_t> part(jpeg.withoutTables.begin(), jpeg.withoutTables.begin() + cut);
        const QImage image = FrameConverter::FromMjpeg(part.data(), part.size());
        EXPECT_TRUE(image.isNull() || image.size() == QSize(64, 48)) << cut; // never anything else
    }
    std::vector<uint8_t> noise(5000);
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = uint8_t(i * 131 + 7);
    EXPECT_TRUE(FrameConverter::FromMjpeg(noise.data(), noise.size()).isNull());
}

TEST(V4l2Streaming, MotionJpegWithoutHuffmanTablesDecodes) {
    testsupport::TempDir dir;
    const MjpegSample jpeg = MakeMjpeg(dir, 64, 48);
    ASSERT_FALSE(jpeg.withoutTables.empty());
    ASSERT_LT(jpeg.withoutTables.size(), jpeg.withTables.size());
    FakeV4l2Io io;
    FakeDevice device = Microscope();
    device.mjpegFrames = {jpeg.withoutTables};
    io.devices["/dev/video0"] = device;
    auto cameras = V4l2Camera::Enumerate(io);
    auto* camera = static_cast<V4l2Camera*>(cameras[0].get());
    ASSERT_TRUE(camera->Open(0)); // 64 x 48: MJPEG
    EXPECT_EQ(camera->PixelFormat(), uint32_t(V4L2_PIX_FMT_MJPEG));
    Collector frames;
    ASSERT_TRUE(camera->Start(&frames));
    ASSERT_TRUE(WaitFor([&] { return frames.Count() >= 2; }));
    camera->Close();
    int w = 0, h = 0;
    const std::vector<uint8_t> ref = testsupport::ReferenceRGBA(jpeg.file, &w, &h);
    ASSERT_EQ(QSize(w, h), frames.pictures[0].size());
    int worst = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb p = frames.pictures[0].pixel(x, y);
            const uint8_t* q = &ref[(size_t(y) * w + x) * 4];
            worst = std::max(
                {worst, std::abs(qRed(p) - q[0]), std::abs(qGreen(p) - q[1]), std::abs(qBlue(p) - q[2])});
        }
    EXPECT_LE(worst, 1);
}

TEST(V4l2Streaming, UnpluggingEndsTheStreamQuietlyAndStopStillWorks) {
    FakeV4l2Io io;
    io.devices["/dev/video0"] = Microscope();
    auto cameras = V4l2Camera::Enumerate(io);
    auto* camera = static_cast<V4l2Camera*>(cameras[0].get());
    ASSERT_TRUE(camera->Open(1));
    Collector frames;
    ASSERT_TRUE(camera->Start(&frames));
    ASSERT_TRUE(WaitFor([&] { return frames.Count() >= 1; }));
    io.Unplug();
    // The streaming thread asks for a buffer, learns the device is gone and ends.
    ASSERT_TRUE(WaitFor([&] { return io.lostAnswers >= 1; }));
    const size_t atUnplug = frames.Count();
    camera->Close();
    EXPECT_EQ(io.lostAnswers, 1); // asked once, not again and again
    EXPECT_EQ(frames.Count(), atUnplug);
    EXPECT_FALSE(camera->Open(1)); // gone
}

TEST(V4l2Controls, DialogListsAndSetsControlsAndCancelRestores) {
    FakeV4l2Io io;
    io.devices["/dev/video0"] = Microscope();
    io.devices["/dev/video0"].controls.push_back(
        {V4L2_CID_EXPOSURE_AUTO,
         V4L2_CTRL_TYPE_MENU,
         "Auto Exposure",
         0,
         3,
         1,
         3,
         {"Auto Mode", "Manual Mode", "Shutter Priority Mode", "Aperture Priority Mode"}});
    io.devices["/dev/video0"].controls.push_back({V4L2_CID_WHITE_BALANCE_TEMPERATURE,
                                                  V4L2_CTRL_TYPE_INTEGER,
                                                  "White Balance Temperature",
                                                  2800,
                                                  6500,
                                                  10,
                                                  4600,
                                                  {}});
    auto cameras = V4l2Camera::Enumerate(io);
    auto* camera = static_cast<V4l2Camera*>(cameras[0].get());
    EXPECT_TRUE(camera->Controls(1).empty()); // not opened
    ASSERT_TRUE(camera->Open(2));
    // Every control, by either query; the camera class alone for the exposure dialog.
    for (bool extended : {true, false}) {
        io.extendedQueries = extended;
        const auto all = camera->Controls(1);
        ASSERT_EQ(all.size(), 6u) << extended;
        EXPECT_EQ(all[2].menu, (QStringList{"Disabled", "50 Hz", "60 Hz"}));
        EXPECT_EQ(all[5].name, QStringLiteral("Exposure Time, Absolute"));
        EXPECT_EQ(all[5].minimum, 3);
        EXPECT_EQ(all[5].defaultValue, 250);
        EXPECT_EQ(camera->Controls(2).size(), 2u) << extended; // automatic and absolute exposure
    }
    EXPECT_FALSE(camera->SetControl(V4L2_CID_BRIGHTNESS, 100)); // out of range

    kxcam::V4l2SettingsDialog dialog(camera, 1);
    auto* brightness = qobject_cast<QSlider*>(dialog.Editor(V4L2_CID_BRIGHTNESS));
    auto* awb = qobject_cast<QCheckBox*>(dialog.Editor(V4L2_CID_AUTO_WHITE_BALANCE));
    auto* power = qobject_cast<QComboBox*>(dialog.Editor(V4L2_CID_POWER_LINE_FREQUENCY));
    auto* exposureMode = qobject_cast<QComboBox*>(dialog.Editor(V4L2_CID_EXPOSURE_AUTO));
    auto* exposure = qobject_cast<QSlider*>(dialog.Editor(V4L2_CID_EXPOSURE_ABSOLUTE));
    auto* temperature = qobject_cast<QSlider*>(dialog.Editor(V4L2_CID_WHITE_BALANCE_TEMPERATURE));
    ASSERT_TRUE(brightness && awb && power && exposureMode && exposure && temperature);
    EXPECT_EQ(power->currentText(), QStringLiteral("50 Hz"));
    // Value, range and unit beside the slider.
    ASSERT_NE(dialog.ValueBox(V4L2_CID_EXPOSURE_ABSOLUTE), nullptr);
    EXPECT_EQ(dialog.ValueBox(V4L2_CID_EXPOSURE_ABSOLUTE)->value(), 250);
    EXPECT_EQ(dialog.ValueBox(V4L2_CID_EXPOSURE_ABSOLUTE)->maximum(), 2047);
    EXPECT_EQ(dialog.ValueBox(V4L2_CID_WHITE_BALANCE_TEMPERATURE)->suffix(), QStringLiteral(" K"));
    // Manual controls are greyed while their automatic switch is on.
    EXPECT_FALSE(exposure->isEnabledTo(&dialog));
    EXPECT_FALSE(temperature->isEnabledTo(&dialog));
    EXPECT_TRUE(brightness->isEnabledTo(&dialog));
    exposureMode->setCurrentIndex(exposureMode->findData(V4L2_EXPOSURE_MANUAL));
    awb->setChecked(false);
    EXPECT_TRUE(exposure->isEnabledTo(&dialog));
    EXPECT_TRUE(temperature->isEnabledTo(&dialog));
    EXPECT_EQ(io.controlValues[V4L2_CID_EXPOSURE_AUTO], V4L2_EXPOSURE_MANUAL);
    // Values apply at once, the number and the slider move together.
    dialog.ValueBox(V4L2_CID_EXPOSURE_ABSOLUTE)->setValue(1000);
    EXPECT_EQ(exposure->value(), 1000);
    EXPECT_EQ(io.controlValues[V4L2_CID_EXPOSURE_ABSOLUTE], 1000);
    brightness->setValue(-20);
    EXPECT_EQ(io.controlValues[V4L2_CID_BRIGHTNESS], -20);
    EXPECT_EQ(io.controlValues[V4L2_CID_AUTO_WHITE_BALANCE], 0);
    // "Standard": the device's defaults, the switches back on.
    dialog.RestoreDefaults();
    EXPECT_EQ(io.controlValues[V4L2_CID_BRIGHTNESS], 0);
    EXPECT_EQ(io.controlValues[V4L2_CID_EXPOSURE_ABSOLUTE], 250);
    EXPECT_EQ(io.controlValues[V4L2_CID_EXPOSURE_AUTO], 3);
    EXPECT_EQ(io.controlValues[V4L2_CID_AUTO_WHITE_BALANCE], 1);
    EXPECT_EQ(io.controlValues[V4L2_CID_POWER_LINE_FREQUENCY], 1);
    EXPECT_EQ(brightness->value(), 0);
    EXPECT_FALSE(exposure->isEnabledTo(&dialog));
    brightness->setValue(-20);
    awb->setChecked(false);
    dialog.reject();
    EXPECT_EQ(io.controlValues[V4L2_CID_BRIGHTNESS], 0);
    EXPECT_EQ(io.controlValues[V4L2_CID_AUTO_WHITE_BALANCE], 1);
    camera->Close();
}

TEST(V4l2Library, WhiteBalanceByTheDeviceOrByGainsAndRawStillsAreTheDevicesBytes) {
    static FakeV4l2Io io; // outlives the library's cameras
    io.devices["/dev/video0"] = Microscope();
    auto& lib = kxcam::CameraLibrary::Instance();
    lib.UnInit();
    lib.SetEnumerator([] { return V4l2Camera::Enumerate(io); });
    KXCamera_SetCamera(2); // the table row of 0547:4D88
    EXPECT_EQ(KXCameraGetCameraID().id, 0x05474d88u);
    camtest::RecordingWindow window;
    ASSERT_EQ(KXCameraInit(1, &window, nullptr), 1);
    KXCameraPlay();
    KXCameraDisplayEnable(1);
    ASSERT_TRUE(WaitFor([&] { return !lib.CurrentFrame().isNull(); }));
    // No white-balance button on this device: the library balances by gains.
    KXCameraSetGain(128, 128, 128);
    KXCameraSetAWBState(1);
    ASSERT_TRUE(WaitFor([] {
        int r, g, b;
        KXCameraGetGain(&r, &g, &b);
        return r != 128 || g != 128 || b != 128;
    }));
    io.devices["/dev/video0"].controls.push_back(
        {V4L2_CID_DO_WHITE_BALANCE, V4L2_CTRL_TYPE_BUTTON, "White Balance Action", 0, 1, 1, 0, {}});
    KXCameraSetGain(128, 128, 128);
    KXCameraSetAWBState(1);
    EXPECT_EQ(io.controlValues[V4L2_CID_DO_WHITE_BALANCE], 1);
    // Three frames shown since: the last came from a frame that began after the request.
    const uint64_t shown = lib.FramesShown();
    ASSERT_TRUE(WaitFor([&] { return lib.FramesShown() >= shown + 3; }));
    int r, g, b;
    KXCameraGetGain(&r, &g, &b);
    EXPECT_EQ(r + g + b, 3 * 128); // the device did it
    LEKXCameraPause();
    testsupport::TempDir dir;
    ASSERT_EQ(KXCameraCaptureFile(dir.file("still").c_str(), KXCAMERA_RAW), 1);
    const std::vector<uint8_t> raw = testsupport::ReadFile(dir.file("still.RAW"));
    EXPECT_EQ(raw.size(), 320u * 240 * 2);
    // One of the frames the device made.
    bool matches = false;
    for (uint64_t n = 0; n < 200 && !matches; ++n) matches = raw == FakeV4l2Io::YuyvFrame(n, 320, 240);
    EXPECT_TRUE(matches);
    camtest::ResetLibrary();
}

// Runs against the first real camera; skipped on machines without one.
TEST(V4l2RealDevice, FirstCameraStreamsFrames) {
    auto cameras = V4l2Camera::Enumerate();
    if (cameras.empty()) GTEST_SKIP() << "no V4L2 capture device on this machine";
    auto* camera = static_cast<V4l2Camera*>(cameras[0].get());
    ASSERT_FALSE(camera->Resolutions().empty());
    ASSERT_TRUE(camera->Open(0));
    Collector frames;
    ASSERT_TRUE(camera->Start(&frames));
    EXPECT_TRUE(WaitFor([&] { return frames.Count() >= 5; }, 8000));
    camera->Close();
    ASSERT_FALSE(frames.pictures.empty());
    EXPECT_EQ(frames.pictures[0].size(), camera->FrameSize());
}

} // namespace
