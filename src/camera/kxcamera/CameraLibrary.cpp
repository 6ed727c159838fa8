#include "CameraLibrary.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QWidget>

#include "CameraIdTable.h"
#include "CameraLog.h"
#include "MessageTarget.h"
#include "SimCamera.h"
#include "StillWriter.h"
#include "V4l2Camera.h"

Q_LOGGING_CATEGORY(lcKxCamera, "vistorel.kxcamera", QtInfoMsg)

namespace kxcam {

namespace {

int ClampGain(long value) { return static_cast<int>(std::clamp<long>(value, 0, 255)); }

bool SameCamera(const KXCameraIdentity& a, const KXCameraIdentity& b) {
    return a.id == b.id && a.type == b.type && std::strncmp(a.name, b.name, sizeof a.name) == 0;
}

// The message window a frame is announced to: the nearest one around the display.
CMessageTarget* NearestTarget(QWidget* display, CMessageTarget* owner) {
    for (QWidget* w = display; w; w = w->parentWidget())
        if (auto* target = dynamic_cast<CMessageTarget*>(w)) return target;
    return owner;
}

} // namespace

CameraLibrary& CameraLibrary::Instance() {
    static CameraLibrary library;
    return library;
}

CameraLibrary::CameraLibrary() {
    for (auto& g : m_gains) g = kUnityGain;
}

CameraLibrary::~CameraLibrary() { UnInit(); }

std::vector<std::unique_ptr<CameraDevice>> CameraLibrary::AttachedCameras() {
    std::vector<std::unique_ptr<CameraDevice>> list;
    bool forced = false;
    const int simType = SimCamera::ConfiguredType(&forced);
    if (forced) list.push_back(std::make_unique<SimCamera>(simType));
    for (auto& device : V4l2Camera::Enumerate()) list.push_back(std::move(device));
    if (list.empty()) list.push_back(std::make_unique<SimCamera>(simType));
    return list;
}

void CameraLibrary::SetEnumerator(Enumerator enumerator) { m_enumerator = std::move(enumerator); }

void CameraLibrary::SetClock(std::function<Clock::time_point()> now) { m_now = std::move(now); }

void CameraLibrary::Refresh() {
    std::vector<std::unique_ptr<CameraDevice>> found = m_enumerator ? m_enumerator() : AttachedCameras();
    // An opened camera that is still there stays in use, with its state.
    int keep = -1;
    if (m_open && Current()) {
        const KXCameraIdentity current = Current()->Identity();
        for (size_t i = 0; i < found.size(); ++i)
            if (SameCamera(found[i]->Identity(), current)) {
                found[i] = std::move(m_devices[m_current]);
                keep = static_cast<int>(i);
                break;
            }
        if (keep < 0) UnInit();
    }
    m_devices = std::move(found);
    m_current = keep >= 0 ? keep : (m_devices.empty() ? -1 : 0);
    m_deselected = false;
}

void CameraLibrary::Select(int index) {
    if (index < 0) {
        // An opened camera stays open (a caller may keep the library initialised
        // across the change); it only stops being the selected one.
        if (m_open) m_deselected = true;
        else m_current = -1;
        return;
    }
    Refresh();
    if (m_open) return; // the opened camera stays selected
    for (size_t i = 0; i < m_devices.size(); ++i) {
        const uint32_t id = m_devices[i]->Identity().id;
        if (id && CameraIdTable::Lookup(static_cast<uint16_t>(id >> 16),
                                        static_cast<uint16_t>(id & 0xffff)) == index) {
            m_current = static_cast<int>(i);
            return;
        }
    }
}

KXCameraIdentity CameraLibrary::Identity() const {
    if (CameraDevice* device = Current(); device && !m_deselected) return device->Identity();
    KXCameraIdentity none{};
    none.type = -1;
    return none;
}

void CameraLibrary::FillResolutions(QComboBox* list) const {
    if (!list || !Current() || m_deselected) return;
    for (const Resolution& r : Current()->Resolutions()) list->addItem(r.label, r.size);
}

int CameraLibrary::Init(int resolution, QWidget* display, CMessageTarget* owner) {
    CameraDevice* device = m_deselected ? nullptr : Current();
    if (!device) return 0;
    if (m_open) UnInit();
    if (!device->Open(resolution)) {
        qCWarning(lcKxCamera) << "camera" << device->Identity().name << "cannot open resolution"
                              << resolution;
        return 0;
    }
    m_open = true;
    m_owner = owner;
    if (m_display) m_display->removeEventFilter(this);
    m_display = display;
    if (display) {
        display->installEventFilter(this);
        // A click on the picture gives it the keys (the simulated stage's).
        if (display->focusPolicy() == Qt::NoFocus) display->setFocusPolicy(Qt::ClickFocus);
    }
    {
        std::lock_guard lock(m_mutex);
        m_exposure = Exposure::Live;
    }
    return 1;
}

void CameraLibrary::UnInit() {
    Stop();
    if (m_open && Current()) Current()->Close();
    m_open = false;
    if (m_display) m_display->removeEventFilter(this);
    m_display = nullptr;
    m_owner = nullptr;
    m_displayEnabled = false;
}

void CameraLibrary::Play() {
    if (!m_open || m_playing) return;
    m_playing = Current()->Start(this);
    if (!m_playing) qCWarning(lcKxCamera) << "camera" << Current()->Identity().name << "does not start";
}

void CameraLibrary::Stop() {
    if (m_recorder.IsRecording()) m_recorder.Stop();
    if (m_playing && Current()) Current()->Stop();
    m_playing = false;
    {
        std::lock_guard lock(m_mutex);
        m_frame = QImage();
        m_picture = QImage();
        m_raw.clear();
        m_exposureSum.clear();
    }
    if (m_display) m_display->update(); // back to the display's own (empty) face
}

QSize CameraLibrary::ImageSize() const { return m_open && Current() ? Current()->FrameSize() : QSize(); }

void CameraLibrary::EnableDisplay(bool enable) {
    m_displayEnabled = enable;
    if (m_display) m_display->update();
}

void CameraLibrary::ShowSettings(int which) {
    if (CameraDevice* device = Current())
        device->ShowSettings(which, m_display ? m_display->window() : nullptr);
}

void CameraLibrary::RequestWhiteBalance() {
    if (m_open && Current() && Current()->OneShotWhiteBalance()) return;
    m_whiteBalanceRequested = true;
}

void CameraLibrary::GetGains(int* red, int* green, int* blue) const {
    if (red) *red = m_gains[0];
    if (green) *green = m_gains[1];
    if (blue) *blue = m_gains[2];
}

void CameraLibrary::SetGains(int red, int green, int blue) {
    m_gains[0] = ClampGain(red);
    m_gains[1] = ClampGain(green);
    m_gains[2] = ClampGain(blue);
}

void CameraLibrary::BalancedGains(const QImage& picture, int gains[3]) {
    uint64_t sum[3] = {};
    uint64_t count = 0;
    // Every fourth pixel of every fourth row is plenty for a mean.
    for (int y = 0; y < picture.height(); y += 4) {
        const auto* row = reinterpret_cast<const uint32_t*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); x += 4) {
            sum[0] += (row[x] >> 16) & 0xff;
            sum[1] += (row[x] >> 8) & 0xff;
            sum[2] += row[x] & 0xff;
            ++count;
        }
    }
    const double grey = (sum[0] + sum[1] + sum[2]) / 3.0;
    for (int c = 0; c < 3; ++c)
        gains[c] = sum[c] == 0 ? kUnityGain
                               : ClampGain(std::lround(kUnityGain * grey / static_cast<double>(sum[c])));
}

QImage CameraLibrary::ApplyGains(const QImage& picture, const int gains[3]) {
    if (gains[0] == kUnityGain && gains[1] == kUnityGain && gains[2] == kUnityGain) return picture;
    uint32_t lut[3][256];
    for (int c = 0; c < 3; ++c)
        for (int v = 0; v < 256; ++v) lut[c][v] = std::min(255, (v * gains[c] + kUnityGain / 2) / kUnityGain);
    QImage out(picture.size(), QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        const auto* src = reinterpret_cast<const uint32_t*>(picture.constScanLine(y));
        auto* dst = reinterpret_cast<uint32_t*>(out.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const uint32_t s = src[x];
            dst[x] = 0xff000000u | lut[0][(s >> 16) & 0xff] << 16 | lut[1][(s >> 8) & 0xff] << 8 |
                     lut[2][s & 0xff];
        }
    }
    return out;
}

void CameraLibrary::OnFrame(const QImage& picture, const QByteArray& raw, Clock::time_point when) {
    if (m_whiteBalanceRequested.exchange(false)) {
        int balanced[3];
        BalancedGains(picture, balanced);
        SetGains(balanced[0], balanced[1], balanced[2]);
    }
    const int gains[3] = {m_gains[0], m_gains[1], m_gains[2]};
    QImage frame = ApplyGains(picture, gains);
    {
        std::lock_guard lock(m_mutex);
        switch (m_exposure) {
        case Exposure::Live:
            break;
        case Exposure::Paused:
        case Exposure::Held:
            return;
        case Exposure::Exposing: {
            // The long exposure is the mean of the frames that arrive during it.
            const size_t n = static_cast<size_t>(frame.width()) * frame.height() * 3;
            if (m_exposureSum.size() != n) {
                m_exposureSum.assign(n, 0);
                m_exposureFrames = 0;
            }
            uint32_t* acc = m_exposureSum.data();
            for (int y = 0; y < frame.height(); ++y) {
                const auto* src = reinterpret_cast<const uint32_t*>(frame.constScanLine(y));
                for (int x = 0; x < frame.width(); ++x, acc += 3) {
                    acc[0] += (src[x] >> 16) & 0xff;
                    acc[1] += (src[x] >> 8) & 0xff;
                    acc[2] += src[x] & 0xff;
                }
            }
            ++m_exposureFrames;
            m_exposureLast = when;
            if (when - m_exposureStart < m_exposureLength) return;
            EndExposure(frame);
            break;
        }
        }
        m_frame = frame;
        m_picture = picture;
        m_raw = raw;
    }
    if (m_recorder.IsRecording()) m_recorder.Push(frame, when);
    if (!m_notifyPending.exchange(true))
        QMetaObject::invokeMethod(this, [this] { DeliverToDisplay(); }, Qt::QueuedConnection);
}

void CameraLibrary::EndExposure(QImage& frame) {
    const uint32_t count = static_cast<uint32_t>(m_exposureFrames);
    const uint32_t* mean = m_exposureSum.data();
    for (int y = 0; y < frame.height(); ++y) {
        auto* dst = reinterpret_cast<uint32_t*>(frame.scanLine(y));
        for (int x = 0; x < frame.width(); ++x, mean += 3)
            dst[x] = 0xff000000u | (mean[0] + count / 2) / count << 16 | (mean[1] + count / 2) / count << 8 |
                     (mean[2] + count / 2) / count;
    }
    m_exposure = Exposure::Held;
    m_heldExposure = std::chrono::duration_cast<std::chrono::microseconds>(m_exposureLast - m_exposureStart);
    m_exposureSum.clear();
}

void CameraLibrary::DeliverToDisplay() {
    m_notifyPending = false;
    if (!m_playing || !m_displayEnabled || !m_display) return;
    m_display->update();
    ++m_framesShown;
    if (m_videoMessage) SendMessage(NearestTarget(m_display, m_owner), m_videoMessage, m_framesShown, 0);
}

bool CameraLibrary::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched == m_display && Current() && m_open) {
        const auto* key = static_cast<QKeyEvent*>(event);
        return Current()->KeyPress(key->key(), static_cast<int>(key->modifiers()));
    }
    if (event->type() != QEvent::Paint || watched != m_display || !m_displayEnabled) return false;
    const QImage frame = CurrentFrame();
    if (frame.isNull()) return false;
    QPainter painter(m_display);
    painter.drawImage(m_display->rect(), frame);
    return true;
}

QImage CameraLibrary::CurrentFrame() const {
    std::lock_guard lock(m_mutex);
    return m_frame;
}

int CameraLibrary::CaptureFile(const QString& name, uint8_t format) {
    QImage frame;
    QImage picture;
    QByteArray raw;
    {
        std::lock_guard lock(m_mutex);
        // A still asked for before the exposure's end gets what it gathered so
        // far, not the picture from before the exposure.
        if (m_exposure == Exposure::Exposing && m_exposureFrames > 0 &&
            m_exposureSum.size() == size_t(m_frame.width()) * m_frame.height() * 3) {
            QImage exposed(m_frame.size(), QImage::Format_RGB32);
            EndExposure(exposed);
            m_frame = exposed;
            m_picture = exposed;
            m_raw.clear();
        }
        frame = m_frame;
        picture = m_picture;
        raw = m_raw;
        m_lastStillExposure = m_exposure == Exposure::Held ? m_heldExposure
                              : Current()                  ? Current()->FrameExposure()
                                                           : std::chrono::microseconds{};
    }
    // Raw bytes are the camera's own: the device's buffer, else the picture before gains.
    QString error;
    const KXCameraIdentity id = Identity();
    const int gains[3] = {m_gains[0], m_gains[1], m_gains[2]};
    // A time handed in is for this still only; later ones from other callers carry their own.
    const QDateTime taken = std::exchange(m_stillTime, QDateTime());
    const StillWriter::Stamp stamp{
        QString::fromUtf8(id.name, static_cast<qsizetype>(strnlen(id.name, sizeof id.name))),
        m_stillPixelSize, taken.isValid() ? taken : QDateTime::currentDateTime(),
        static_cast<double>(m_lastStillExposure.count()) / 1e6,
        QString::asprintf("Gain R %.3f G %.3f B %.3f", gains[0] / double(kUnityGain),
                          gains[1] / double(kUnityGain), gains[2] / double(kUnityGain))};
    const bool ok = format == KXCAMERA_RAW
                        ? StillWriter::Write(name, format, picture, raw, stamp, &error)
                        : StillWriter::Write(name, format, frame, QByteArray(), stamp, &error);
    if (!ok) {
        qCWarning(lcKxCamera) << "still" << name << "not written:" << error;
        m_lastError = error;
    }
    return ok ? 1 : 0;
}

int CameraLibrary::StartRecord(const QString& name, int keyInterval, bool realTime) {
    if (!m_playing) {
        m_lastError = QStringLiteral("the camera is not running");
        return 0;
    }
    QString error;
    if (m_recorder.Start(name + VideoRecorder::Extension(m_codec), m_codec, ImageSize(), keyInterval, realTime,
                         &error))
        return 1;
    m_lastError = error;
    return 0;
}

void CameraLibrary::StopRecord() {
    const bool failed = m_recorder.Failed();
    if (!m_recorder.Stop() && m_recorder.FramesWritten() > 0 && failed) m_lastError = m_recorder.Error();
}

QString CameraLibrary::LastError() const {
    return m_recorder.IsRecording() && m_recorder.Failed() ? m_recorder.Error() : m_lastError;
}

void CameraLibrary::ChooseCodec(QWidget* parent) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QCoreApplication::translate("CameraLibrary", "Video Kompression"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* mjpeg = new QRadioButton(QStringLiteral("Motion JPEG (MOV)"), &dialog);
    auto* h264 = new QRadioButton(QStringLiteral("H.264 (MP4)"), &dialog);
    (m_codec == VideoRecorder::Codec::H264Mp4 ? h264 : mjpeg)->setChecked(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(mjpeg);
    layout->addWidget(h264);
    layout->addWidget(buttons);
    if (dialog.exec() == QDialog::Accepted)
        m_codec = h264->isChecked() ? VideoRecorder::Codec::H264Mp4 : VideoRecorder::Codec::MotionJpegMov;
}

void CameraLibrary::Pause() {
    std::lock_guard lock(m_mutex);
    if (m_exposure == Exposure::Live) m_exposure = Exposure::Paused;
}

void CameraLibrary::StartLongExposure() {
    std::lock_guard lock(m_mutex);
    if (m_playing) BeginExposure();
}

void CameraLibrary::BeginExposure() {
    m_exposure = Exposure::Exposing;
    m_exposureStart = m_now ? m_now() : Clock::now();
    m_exposureLength = LongExposureLength(Identity().type, ExposureRows(), RowTime());
    m_exposureSum.clear();
    m_exposureFrames = 0;
}

void CameraLibrary::ResetExposure() {
    if (CameraDevice* device = Current()) device->SetExposureRows(device->DefaultExposureRows());
}

void CameraLibrary::CancelLongExposure(bool refresh) {
    std::lock_guard lock(m_mutex);
    m_exposure = Exposure::Live;
    m_exposureSum.clear();
    if (!refresh && m_playing && Identity().type == 12) BeginExposure();
    if (refresh && m_display) QMetaObject::invokeMethod(m_display, [d = m_display] { if (d) d->update(); });
}

uint32_t CameraLibrary::ExposureRows() const { return Current() ? Current()->ExposureRows() : 0; }

uint32_t CameraLibrary::RowTime() const { return Current() ? Current()->RowTimeMicroseconds() : 0; }

std::chrono::microseconds CameraLibrary::LongExposureLength(int type, uint32_t exposure, uint32_t rowTime) {
    if (type == 10 || type == 12) return std::chrono::microseconds(uint64_t(exposure) * 40000);
    if (type == 11) return std::chrono::microseconds(uint64_t(rowTime) * exposure * 318);
    return std::chrono::microseconds(uint64_t(rowTime) * exposure);
}

} // namespace kxcam
