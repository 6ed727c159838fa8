// Watches USB devices come and go (libudev) and turns each event into the
// frame's camera messages: a removal posts 1271 (with the device's ids), an arrival posts 1270 with
// the camera index of the device's vendor and product ids (-1 for none).
// Devices are named as the interface names of the original platform,
// \\?\USB#Vid_vvvv&Pid_pppp#serial#{a5dcbf10-...}, and the ids are read back
// from that name, so the id table is applied to one kind of text only.
#pragma once

#include <functional>

#include <QObject>
#include <QString>

#include "PlatformTypes.h"

class CMessageTarget;
class QSocketNotifier;
struct udev;
struct udev_monitor;

// What one device event carries: the record's size and device type (5: a
// device interface) and the interface name.
struct DeviceBroadcast {
    uint32_t size = 32;
    uint32_t deviceType = 5;
    QString name;
};

class CDeviceWatcher : public QObject {
    Q_OBJECT
public:
    static constexpr WPARAM kDeviceArrival = 0x8000;
    static constexpr WPARAM kDeviceRemoveComplete = 0x8004;
    static constexpr uint32_t kDeviceInterface = 5;

    CDeviceWatcher();
    ~CDeviceWatcher() override;

    // Starts watching for the frame; false (with the message shown) on failure.
    bool Register(CMessageTarget* frame);
    bool Unregister();
    // One device event; result 0 in every case.
    LRESULT DeviceChange(WPARAM event, const DeviceBroadcast* record);

    // The camera index for an interface name: ids after the first "Vid_" and
    // "Pid_" (exact case), looked up in the camera id table.
    static int CameraIndex(const QString& interfaceName);
    // Vendor id << 16 | product id of an interface name; 0 when it names none.
    static WPARAM DeviceIdOf(const QString& interfaceName);
    static QString InterfaceName(uint16_t vendor, uint16_t product, const QString& serial);

    // How failures reach the user (a message box by default).
    void SetReporter(std::function<void(const QString&)> report) { m_report = std::move(report); }

private:
    void OnUdevEvent();

    CMessageTarget* m_frame = nullptr;
    udev* m_udev = nullptr;
    udev_monitor* m_monitor = nullptr;
    QSocketNotifier* m_notifier = nullptr;
    std::function<void(const QString&)> m_report;
};
