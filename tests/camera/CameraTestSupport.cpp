#include "CameraTestSupport.h"

#include <algorithm>

#include "CameraLibrary.h"
#include "KXCamera.h"
#include "SimCamera.h"

namespace camtest {

void UseSimulatedCamera(int type) {
    auto& lib = kxcam::CameraLibrary::Instance();
    lib.UnInit();
    lib.SetEnumerator([type] {
        std::vector<std::unique_ptr<kxcam::CameraDevice>> list;
        list.push_back(std::make_unique<kxcam::SimCamera>(type));
        return list;
    });
    lib.Refresh();
    lib.SetGains(128, 128, 128);
}

void UseNoCamera() {
    auto& lib = kxcam::CameraLibrary::Instance();
    lib.UnInit();
    lib.SetEnumerator([] { return std::vector<std::unique_ptr<kxcam::CameraDevice>>(); });
    lib.Refresh();
}

void ResetLibrary() {
    auto& lib = kxcam::CameraLibrary::Instance();
    lib.UnInit();
    lib.SetEnumerator({});
    lib.SetGains(128, 128, 128);
}

int RecordingWindow::Count(UINT message) const {
    return static_cast<int>(std::count(messages.begin(), messages.end(), message));
}

MeanColour Mean(const QImage& image) {
    MeanColour m;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    double n = 0;
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb p = rgb.pixel(x, y);
            m.r += qRed(p);
            m.g += qGreen(p);
            m.b += qBlue(p);
            ++n;
        }
    if (n > 0) {
        m.r /= n;
        m.g /= n;
        m.b /= n;
    }
    return m;
}

} // namespace camtest
