#include "DeviceWatcher.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QSocketNotifier>

#include <libudev.h>

#include "CameraIdTable.h"
#include "CameraLogging.h"
#include "MessageTarget.h"
#include "UserMessages.h"

namespace {

void ShowMessage(const QString& text) {
    // Not modal: the frame goes on starting while the user reads it.
    auto* box = new QMessageBox(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

// Hexadecimal id from a udev property ("04b4") or the PRODUCT triple ("4b4/3001/100").
bool DeviceIds(udev_device* device, uint16_t* vendor, uint16_t* product) {
    bool okVendor = false, okProduct = false;
    const char* v = udev_device_get_property_value(device, "ID_VENDOR_ID");
    const char* p = udev_device_get_property_value(device, "ID_MODEL_ID");
    if (v && p) {
        *vendor = static_cast<uint16_t>(QString::fromLatin1(v).toUInt(&okVendor, 16));
        *product = static_cast<uint16_t>(QString::fromLatin1(p).toUInt(&okProduct, 16));
        if (okVendor && okProduct) return true;
    }
    if (const char* triple = udev_device_get_property_value(device, "PRODUCT")) {
        const QStringList parts = QString::fromLatin1(triple).split(QLatin1Char('/'));
        if (parts.size() >= 2) {
            *vendor = static_cast<uint16_t>(parts[0].toUInt(&okVendor, 16));
            *product = static_cast<uint16_t>(parts[1].toUInt(&okProduct, 16));
            return okVendor && okProduct;
        }
    }
    return false;
}

} // namespace

CDeviceWatcher::CDeviceWatcher() : m_report(ShowMessage) {}

CDeviceWatcher::~CDeviceWatcher() { Unregister(); }

bool CDeviceWatcher::Register(CMessageTarget* frame) {
    Unregister();
    m_frame = frame;
    m_udev = udev_new();
    if (m_udev) m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    const bool ok = m_monitor &&
                    udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "usb", "usb_device") >= 0 &&
                    udev_monitor_enable_receiving(m_monitor) >= 0;
    if (!ok) {
        qCWarning(lcCamera) << "USB devices cannot be watched";
        if (m_monitor) udev_monitor_unref(m_monitor);
        if (m_udev) udev_unref(m_udev);
        m_monitor = nullptr;
        m_udev = nullptr;
        m_report(QCoreApplication::translate("DeviceWatcher",
                                             "Register Camera Listen make a error, Register Fail!"));
        return false;
    }
    m_notifier = new QSocketNotifier(udev_monitor_get_fd(m_monitor), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CDeviceWatcher::OnUdevEvent);
    return true;
}

bool CDeviceWatcher::Unregister() {
    if (!m_monitor) return false;
    delete m_notifier;
    m_notifier = nullptr;
    udev_monitor_unref(m_monitor);
    udev_unref(m_udev);
    m_monitor = nullptr;
    m_udev = nullptr;
    m_frame = nullptr;
    return true;
}

void CDeviceWatcher::OnUdevEvent() {
    udev_device* device = udev_monitor_receive_device(m_monitor);
    if (!device) return;
    const QByteArray action = udev_device_get_action(device);
    uint16_t vendor = 0, product = 0;
    const bool haveIds = DeviceIds(device, &vendor, &product);
    const QString serial = QString::fromLatin1(udev_device_get_property_value(device, "ID_SERIAL_SHORT"));
    udev_device_unref(device);

    DeviceBroadcast record;
    if (action == "add" && haveIds) {
        record.name = InterfaceName(vendor, product, serial);
        DeviceChange(kDeviceArrival, &record);
    } else if (action == "remove") {
        if (haveIds) record.name = InterfaceName(vendor, product, serial);
        DeviceChange(kDeviceRemoveComplete, &record);
    }
}

LRESULT CDeviceWatcher::DeviceChange(WPARAM event, const DeviceBroadcast* record) {
    if (!record || record->deviceType != kDeviceInterface) return 0;
    if (event == kDeviceRemoveComplete) {
        // The device's ids go with the message, so that only the running camera's removal stops it.
        PostMessage(m_frame, UM_CAMERA_REMOVED, DeviceIdOf(record->name));
    } else if (event == kDeviceArrival) {
        PostMessage(m_frame, UM_CAMERA_SELECT, static_cast<WPARAM>(CameraIndex(record->name)));
    }
    return 0;
}

WPARAM CDeviceWatcher::DeviceIdOf(const QString& interfaceName) {
    const qsizetype v = interfaceName.indexOf(QLatin1String("Vid_"));
    const qsizetype p = interfaceName.indexOf(QLatin1String("Pid_"));
    if (v < 0 || p < 0) return 0;
    bool okVendor = false, okProduct = false;
    const uint vendor = interfaceName.mid(v + 4, 4).toUInt(&okVendor, 16);
    const uint product = interfaceName.mid(p + 4, 4).toUInt(&okProduct, 16);
    return okVendor && okProduct ? static_cast<WPARAM>(vendor << 16 | product) : 0;
}

int CDeviceWatcher::CameraIndex(const QString& interfaceName) {
    const qsizetype v = interfaceName.indexOf(QLatin1String("Vid_"));
    const qsizetype p = interfaceName.indexOf(QLatin1String("Pid_"));
    if (v < 0 || p < 0) return -1;
    return kxcam::CameraIdTable::Lookup(interfaceName.mid(v + 4, 4), interfaceName.mid(p + 4, 4));
}

QString CDeviceWatcher::InterfaceName(uint16_t vendor, uint16_t product, const QString& serial) {
    return QStringLiteral("\\\\?\\USB#Vid_%1&Pid_%2#%3#{a5dcbf10-6530-11d2-901f-00c04fb951ed}")
        .arg(vendor, 4, 16, QLatin1Char('0'))
        .arg(product, 4, 16, QLatin1Char('0'))
        .arg(serial.isEmpty() ? QStringLiteral("0") : serial);
}
