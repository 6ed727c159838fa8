#include "SimCamera.h"

#include <cstring>

#include <QSettings>

#include "Profile.h"
#include "SimPicture.h"
#include "SimSettingsDialog.h"

namespace kxcam {

namespace {

constexpr int kDefaultType = 2;
const QSize kSizes[] = {{640, 480}, {1280, 960}, {2048, 1536}};

} // namespace

SimCamera::SimCamera(int type) : m_type(type) {}

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

KXCameraIdentity SimCamera::Identity() const {
    KXCameraIdentity id{};
    id.id = 0;
    id.type = m_type;
    std::snprintf(id.name, sizeof id.name, "Simulierte Kamera (Typ %d)", m_type);
    return id;
}

std::vector<Resolution> SimCamera::Resolutions() const {
    std::vector<Resolution> list;
    // Type 0 cameras start only after the user picked a size.
    if (m_type == 0) list.push_back({QSize(), QStringLiteral("Auflösung wählen")});
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
    m_thread = std::thread([this, consumer] { Run(consumer); });
    return true;
}

void SimCamera::Stop() {
    m_running = false;
    if (m_thread.joinable()) m_thread.join();
}

void SimCamera::Run(FrameConsumer* consumer) {
    const Clock::time_point start = Clock::now();
    QImage frame;
    for (uint64_t n = 0; m_running; ++n) {
        m_picture->Render(n, frame);
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
