#include "SimCamera.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include <QCoreApplication>
#include <QSettings>

#include "Profile.h"
#include "SimSettingsDialog.h"
#include "SimStageScript.h"

namespace kxcam {

namespace {

constexpr int kDefaultType = 2;
const QSize kSizes[] = {{640, 480}, {1280, 960}, {2048, 1536}};

// Whether cameras started from now on are stepped, and the started ones that are.
struct SteppedCameras {
    std::mutex mutex;
    bool stepped = false;
    std::vector<SimCamera*> started;
};

SteppedCameras& Stepped() {
    static SteppedCameras cameras;
    return cameras;
}

} // namespace

SimCamera::SimCamera(int type) : m_type(type) {
    // Long exposures of about 4 s by default: types 10 and 12 count 40 ms per
    // exposure unit, type 11 row time x exposure x 318 microseconds.
    if (type == 11) m_rowTime = 10;
    m_exposureRows = DefaultExposureRows();
}

SimCamera::~SimCamera() { Stop(); }

int SimCamera::ConfiguredType(bool* forced) {
    bool ok = false;
    const int fromEnv = qEnvironmentVariable("VISTOREL_SIM_CAMERA_TYPE").trimmed().toInt(&ok);
    if (forced) *forced = ok;
    if (ok) return fromEnv;
    const QSettings profile(CProfile::StandardPath(), QSettings::IniFormat);
    const int fromProfile =
        profile.value(QStringLiteral("Camera/SimulatedType")).toString().trimmed().toInt(&ok);
    return ok ? fromProfile : kDefaultType;
}

uint32_t SimCamera::DefaultExposureRows() const {
    return m_type == 10 || m_type == 12 ? 100 : kDefaultExposureRows;
}

KXCameraIdentity SimCamera::Identity() const {
    KXCameraIdentity id{};
    id.id = 0;
    id.type = m_type;
    // The name is the camera's identity (calibrations and remembered settings are
    // stored under it, stills carry it), so it stays the same in every language.
    std::snprintf(id.name, sizeof id.name, "Simulierte Kamera (Typ %d)", m_type);
    return id;
}

std::vector<Resolution> SimCamera::Resolutions() const {
    std::vector<Resolution> list;
    // Type 0 cameras start only after the user picked a size.
    if (m_type == 0) list.push_back({QSize(), QCoreApplication::translate("SimCamera", "Auflösung wählen")});
    for (const QSize& s : kSizes)
        list.push_back({s, QStringLiteral("%1 x %2").arg(s.width()).arg(s.height())});
    return list;
}

bool SimCamera::Open(int resolutionIndex) {
    const std::vector<Resolution> list = Resolutions();
    if (resolutionIndex < 0 || resolutionIndex >= static_cast<int>(list.size()) ||
        list[resolutionIndex].size.isEmpty())
        return false;
    Stop();
    m_size = list[resolutionIndex].size;
    m_picture = std::make_unique<SimPicture>(m_size);
    return true;
}

void SimCamera::Close() {
    Stop();
    m_picture.reset();
}

bool SimCamera::Start(FrameConsumer* consumer) {
    if (!m_picture || !consumer) return false;
    if (m_running.exchange(true)) return true;
    Stage(); // the home position is worked out here, not on the device thread
    m_script = SimStageScript::FromEnvironment();
    SteppedCameras& stepped = Stepped();
    {
        std::lock_guard lock(stepped.mutex);
        if (stepped.stepped) {
            m_steppedConsumer = consumer;
            m_steppedFrame = 0;
            stepped.started.push_back(this);
            return true;
        }
    }
    m_thread = std::thread([this, consumer] { Run(consumer); });
    return true;
}

void SimCamera::Stop() {
    m_running = false;
    if (m_thread.joinable()) m_thread.join();
    SteppedCameras& stepped = Stepped();
    std::lock_guard lock(stepped.mutex);
    std::erase(stepped.started, this);
    m_steppedConsumer = nullptr;
}

void SimCamera::SetStepped(bool on) {
    SteppedCameras& stepped = Stepped();
    std::lock_guard lock(stepped.mutex);
    stepped.stepped = on;
}

int SimCamera::Step(Clock::time_point when) {
    SteppedCameras& stepped = Stepped();
    std::lock_guard lock(stepped.mutex);
    for (SimCamera* camera : stepped.started) {
        camera->Render(camera->m_steppedFrame++, camera->m_steppedImage);
        camera->m_steppedConsumer->OnFrame(camera->m_steppedImage, QByteArray(), when);
    }
    return static_cast<int>(stepped.started.size());
}

StagePosition SimCamera::Stage() const {
    std::lock_guard lock(m_stageMutex);
    if (!m_stage) m_stage = SimPicture::Home();
    return *m_stage;
}

void SimCamera::SetStage(StagePosition stage) {
    std::lock_guard lock(m_stageMutex);
    m_stage = SimPicture::Clamped(stage);
}

bool SimCamera::KeyPress(int key, int modifiers) {
    const bool fine = modifiers & Qt::ShiftModifier;
    const int step = fine ? SimPicture::kFieldWidth / 100 : SimPicture::kFieldWidth / 10;
    const double focusStep = fine ? 0.25 : 2.0;
    StagePosition s = Stage();
    switch (key) {
    case Qt::Key_Left:
        s.x -= step;
        break;
    case Qt::Key_Right:
        s.x += step;
        break;
    case Qt::Key_Up:
        s.y -= step;
        break;
    case Qt::Key_Down:
        s.y += step;
        break;
    case Qt::Key_PageUp:
        s.z -= focusStep;
        break;
    case Qt::Key_PageDown:
        s.z += focusStep;
        break;
    default:
        return false;
    }
    SetStage(s);
    return true;
}

void SimCamera::Render(uint64_t n, QImage& frame) {
    StagePosition stage = Stage();
    if (m_script->Poll(stage)) SetStage(stage);
    m_picture->Render(n, Stage(), frame);
}

void SimCamera::Run(FrameConsumer* consumer) {
    const Clock::time_point start = Clock::now();
    QImage frame;
    for (uint64_t n = 0; m_running; ++n) {
        Render(n, frame);
        consumer->OnFrame(frame, QByteArray(), Clock::now());
        // Scheduled from the start, so late frames do not slow the rate.
        const Clock::time_point next = start + (n + 1) * kFrameInterval;
        while (m_running && Clock::now() < next)
            std::this_thread::sleep_for(
                std::min<Clock::duration>(next - Clock::now(), std::chrono::milliseconds(10)));
    }
}

void SimCamera::ShowSettings(int which, QWidget* parent) {
    SimSettingsDialog dialog(which, this, parent);
    dialog.exec();
}

} // namespace kxcam
