#include "CameraMemory.h"

#include <cstring>
#include <utility>

#include <QComboBox>

#include "CameraCalls.h"
#include "CameraLibrary.h"
#include "CaptureControl.h"
#include "Profile.h"

namespace {

const QString kCameraSection = QStringLiteral("Camera");
const QString kChosen = QStringLiteral("Chosen");
const QString kStored = QStringLiteral("Stored");
const char* const kGainNames[3] = {"GainRed", "GainGreen", "GainBlue"};

} // namespace

QString CCameraMemory::Section(const KXCameraIdentity& id) {
    const QString name = QString::fromUtf8(id.name, static_cast<qsizetype>(strnlen(id.name, sizeof id.name)));
    // Section names end at ']' and may not hold '/' or '\' in an INI file.
    QString safe = name;
    for (QChar& c : safe)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char('[') || c == QLatin1Char(']'))
            c = QLatin1Char('_');
    return QString::asprintf("Camera %04x:%04x ", id.id >> 16, id.id & 0xffff) + safe;
}

int CCameraMemory::ChosenRow() const {
    return m_profile.GetProfileInt(kCameraSection, kChosen, -1);
}

void CCameraMemory::StoreChosenRow(int row) {
    m_profile.WriteProfileInt(kCameraSection, kChosen, row);
}

void CCameraMemory::Restore(const KXCameraIdentity& id, QComboBox* resolutions, CCaptureControl& capture,
                            CameraCalls& calls) {
    if (id.type < 0) return;
    const QString section = Section(id);
    const QString previous = std::exchange(m_current, section);
    if (m_profile.GetProfileInt(section, kStored, 0) != 1) {
        if (!previous.isEmpty() && previous != section) {
            capture.SetDefaultSettings();
            const int unity = kxcam::CameraLibrary::kUnityGain;
            calls.SetGain(unity, unity, unity);
        }
        return;
    }
    const auto number = [&](const char* entry, int fallback, int low, int high) {
        const int value = m_profile.GetProfileInt(section, QString::fromLatin1(entry), fallback);
        return value >= low && value <= high ? value : fallback;
    };
    if (resolutions) {
        const int row =
            resolutions->findText(m_profile.GetProfileString(section, QStringLiteral("Resolution")));
        if (row >= 0) resolutions->setCurrentIndex(row);
    }
    capture.m_captureBaseName = m_profile.GetProfileString(section, QStringLiteral("CaptureName"));
    const int format = number("Format", capture.m_captureFormat, KXCAMERA_JPEG, KXCAMERA_RAW);
    if (format == KXCAMERA_JPEG || format == KXCAMERA_BMP || format == KXCAMERA_RAW)
        capture.m_captureFormat = format;
    capture.m_seriesCount = number("Count", capture.m_seriesCount, 1, 50);
    capture.m_seriesInterval = number("Interval", capture.m_seriesInterval, 1, 60);
    capture.m_timestampNames = number("TimeStamp", capture.m_timestampNames, 0, 1);
    int gains[3];
    calls.GetGain(&gains[0], &gains[1], &gains[2]);
    for (int c = 0; c < 3; ++c)
        gains[c] = number(kGainNames[c], gains[c], 0, 255);
    calls.SetGain(gains[0], gains[1], gains[2]);
}

void CCameraMemory::Store(const KXCameraIdentity& id, const QComboBox* resolutions,
                          const CCaptureControl& capture, CameraCalls& calls) {
    if (id.type < 0) return;
    const QString section = Section(id);
    m_current = section;
    m_profile.WriteProfileInt(section, kStored, 1);
    if (resolutions && resolutions->currentIndex() >= 0)
        m_profile.WriteProfileString(section, QStringLiteral("Resolution"), resolutions->currentText());
    m_profile.WriteProfileString(section, QStringLiteral("CaptureName"), capture.m_captureBaseName);
    m_profile.WriteProfileInt(section, QStringLiteral("Format"), capture.m_captureFormat);
    m_profile.WriteProfileInt(section, QStringLiteral("Count"), capture.m_seriesCount);
    m_profile.WriteProfileInt(section, QStringLiteral("Interval"), capture.m_seriesInterval);
    m_profile.WriteProfileInt(section, QStringLiteral("TimeStamp"), capture.m_timestampNames);
    int gains[3];
    calls.GetGain(&gains[0], &gains[1], &gains[2]);
    for (int c = 0; c < 3; ++c)
        m_profile.WriteProfileInt(section, QString::fromLatin1(kGainNames[c]), gains[c]);
    m_profile.Flush();
}
