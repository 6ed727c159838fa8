#include "CaptureTestSupport.h"

#include <algorithm>

#include <QComboBox>

#include "ImageBrowser.h"
#include "PageCapture.h"
#include "UserMessages.h"

namespace camtest {

CaptureFrame::CaptureFrame(bool realLibrary)
    : camera(std::make_unique<CCameraControl>(this, this, notWin2000)) {
    if (!realLibrary) {
        auto scripted = std::make_unique<FakeCameraCalls>();
        fake = scripted.get();
        fake->calls = &calls;
        camera->SetCalls(std::move(scripted));
    }
    camera->SetSleep([](int) {});
    camera->SetErrorReporter([this](const QString& text) { reports.push_back(text); });
    capture = std::make_unique<CCaptureControl>(camera.get(), this, this);
    capture->SetSleep([](int) {});
    capture->SetClock([this] { return now; });
    capture->SetSteadyClock(clock);
    capture->SetFolderOpener([this](const QString& path) { openedFolders.push_back(path); });
    capture->SetMessenger([this](const QString& text) { reports.push_back(text); });
    capture->SetStatusReporter([this](const QString& text) { statusTexts.push_back(text); });
    capture->Browser()->SetReporter([this](const QString& text) { reports.push_back(text); });
    capture->m_capturePath = QString::fromStdString(Folder());
}

CaptureFrame::~CaptureFrame() {
    capture.reset();
    camera.reset();
}

LRESULT CaptureFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    messages.push_back(message);
    LRESULT result = 0;
    if (capture && capture->HandleMessage(message, wParam, lParam, &result)) return result;
    if (camera) camera->HandleMessage(message, wParam, lParam, &result);
    return result;
}

int CaptureFrame::Count(UINT message) const {
    return static_cast<int>(std::count(messages.begin(), messages.end(), message));
}

void CaptureFrame::Start(int type) {
    if (fake) fake->typeOnSelect = type;
    SendMessage(this, UM_DETECT_CAMERAS);
    // A type 0 camera starts only with a chosen resolution.
    if (type == 0) camera->Page()->m_resolutionList->setCurrentIndex(1);
    SendMessage(this, UM_PREVIEW_START);
    calls.clear();
}

std::vector<std::string> CaptureFrame::Stills() const {
    std::vector<std::string> stills;
    for (const std::string& call : calls)
        if (call.rfind("CaptureFile ", 0) == 0) stills.push_back(call.substr(12));
    return stills;
}

} // namespace camtest
