#include <QCoreApplication>

#include <gtest/gtest.h>

#include "CameraControl.h"
#include "CameraIdTable.h"
#include "CameraTestSupport.h"
#include "DeviceWatcher.h"
#include "FakeCameraCalls.h"
#include "UserMessages.h"

namespace {

TEST(CameraIdTable, RowsMatchWithoutRegardToCaseAndTheFirstWins) {
    EXPECT_EQ(CDeviceWatcher::CameraIndex(QStringLiteral("\\\\?\\USB#Vid_04b4&Pid_3001#5&1#{a5dcbf10}")), 10);
    EXPECT_EQ(CDeviceWatcher::CameraIndex(QStringLiteral("\\\\?\\USB#VID_04B4&PID_3001#5&1#{a5dcbf10}")), -1);
    EXPECT_EQ(CDeviceWatcher::CameraIndex(QStringLiteral("\\\\?\\USB#Vid_0546&Pid_4d33#x")), 4);
    EXPECT_EQ(CDeviceWatcher::CameraIndex(QStringLiteral("\\\\?\\USB#Vid_0547&Pid_4D33#x")), 4);
    EXPECT_EQ(CDeviceWatcher::CameraIndex(QStringLiteral("\\\\?\\USB#Vid_093a&Pid_2468#x")), 0);
    EXPECT_EQ(CDeviceWatcher::CameraIndex(QStringLiteral("\\\\?\\USB#Vid_0547&Pid_E013#x")), 5);
    EXPECT_EQ(CDeviceWatcher::CameraIndex(QStringLiteral("\\\\?\\USB#Vid_046d&Pid_0825#x")), -1);
    EXPECT_EQ(CDeviceWatcher::CameraIndex(QStringLiteral("USB#Vid_04")), -1); // cut short
    EXPECT_EQ(kxcam::CameraIdTable::Lookup(uint16_t(0x0547), uint16_t(0x9310)), 14);
    // The names made from udev's ids read back to the same row.
    EXPECT_EQ(
        CDeviceWatcher::CameraIndex(CDeviceWatcher::InterfaceName(0x04b4, 0x3002, QStringLiteral("A1"))), 11);
}

TEST(DeviceWatcher, EventsBecomePostedCameraMessages) {
    camtest::RecordingWindow frame;
    CDeviceWatcher watcher;
    std::vector<QString> reports;
    watcher.SetReporter([&](const QString& text) { reports.push_back(text); });
    if (!watcher.Register(&frame)) {
        // No netlink here: the failure is reported, and events cannot be posted.
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(reports[0], QStringLiteral("Register Camera Listen make a error, Register Fail!"));
        GTEST_SKIP() << "udev monitor unavailable";
    }
    DeviceBroadcast record;
    record.name = CDeviceWatcher::InterfaceName(0x0547, 0x4d88, QString());
    EXPECT_EQ(watcher.DeviceChange(CDeviceWatcher::kDeviceArrival, &record), 0);
    record.name = CDeviceWatcher::InterfaceName(0x1234, 0x5678, QString());
    watcher.DeviceChange(CDeviceWatcher::kDeviceArrival, &record);
    watcher.DeviceChange(CDeviceWatcher::kDeviceRemoveComplete, &record); // any device
    DeviceBroadcast other = record;
    other.deviceType = 3;
    watcher.DeviceChange(CDeviceWatcher::kDeviceRemoveComplete, &other); // not a device interface
    watcher.DeviceChange(0x0007, &record);                                // not an arrival or removal
    EXPECT_EQ(watcher.DeviceChange(CDeviceWatcher::kDeviceArrival, nullptr), 0);
    EXPECT_TRUE(frame.messages.empty()); // posted
    QCoreApplication::processEvents();
    ASSERT_EQ(frame.messages, (std::vector<UINT>{UM_CAMERA_SELECT, UM_CAMERA_SELECT, UM_CAMERA_REMOVED}));
    EXPECT_EQ(static_cast<int>(frame.params[0]), 2);
    EXPECT_EQ(static_cast<int>(frame.params[1]), -1);
    EXPECT_TRUE(watcher.Unregister());
    EXPECT_FALSE(watcher.Unregister());
}

TEST(DeviceWatcher, OnlyUnpluggingTheRunningCameraStopsItsPreview) {
    camtest::TestFrame frame;
    frame.fake->typeOnSelect = 2;
    frame.fake->id = 0x05474d88;
    ASSERT_EQ(SendMessage(&frame, UM_DETECT_CAMERAS), MSG_DONE);
    ASSERT_EQ(SendMessage(&frame, UM_PREVIEW_START), MSG_DONE);
    CDeviceWatcher watcher;
    watcher.SetReporter([](const QString&) {});
    if (!watcher.Register(&frame)) GTEST_SKIP() << "udev monitor unavailable";
    // A mouse (or a memory stick) goes: the live picture stays.
    DeviceBroadcast mouse;
    mouse.name = CDeviceWatcher::InterfaceName(0x046d, 0xc077, QString());
    watcher.DeviceChange(CDeviceWatcher::kDeviceRemoveComplete, &mouse);
    ASSERT_TRUE(camtest::WaitFor([&] { return frame.Count(UM_CAMERA_REMOVED) == 1; }));
    EXPECT_EQ(frame.control->m_cameraState, 0);
    // The camera goes: the preview stops.
    DeviceBroadcast camera;
    camera.name = CDeviceWatcher::InterfaceName(0x0547, 0x4d88, QStringLiteral("A1"));
    watcher.DeviceChange(CDeviceWatcher::kDeviceRemoveComplete, &camera);
    ASSERT_TRUE(camtest::WaitFor([&] { return frame.control->m_cameraState == 2; }));
    EXPECT_EQ(frame.control->m_cameraType, -1);
}

} // namespace
