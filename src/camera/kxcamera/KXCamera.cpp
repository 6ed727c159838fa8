// The C functions of the camera library, each a call into CameraLibrary.
#include "KXCamera.h"

#include <QFile>

#include "CameraLibrary.h"

using kxcam::CameraLibrary;

namespace {

CameraLibrary& Lib() { return CameraLibrary::Instance(); }

} // namespace

extern "C" {

int KXCameraInit(uint8_t resolution, QWidget* display, CMessageTarget* owner) {
    return Lib().Init(resolution, display, owner);
}
void KXCameraUnInit() { Lib().UnInit(); }
void KXCameraPlay() { Lib().Play(); }
void KXCameraStop() { Lib().Stop(); }
void KXCameraSetup1() { Lib().ShowSettings(1); }
void KXCameraSetup2() { Lib().ShowSettings(2); }

void KXCameraGetImageSize(int* width, int* height) {
    const QSize size = Lib().ImageSize();
    if (size.isEmpty()) return; // the caller's values stay
    if (width) *width = size.width();
    if (height) *height = size.height();
}

void KXCameraSetVideoMessage(unsigned message) { Lib().SetVideoMessage(message); }
void KXCameraDisplayEnable(int enable) { Lib().EnableDisplay(enable != 0); }
KXCameraIdentity KXCameraGetCameraID() { return Lib().Identity(); }
void KXCamera_SetCamera(int index) { Lib().Select(index); }
void KXCamera_ReflashCamera() { Lib().Refresh(); }
void KXCamera_Registerpixel(QComboBox* list) { Lib().FillResolutions(list); }

void KXCameraSetAWBState(int state) {
    if (state) Lib().RequestWhiteBalance();
}

void KXCameraGetGain(int* red, int* green, int* blue) { Lib().GetGains(red, green, blue); }
void KXCameraSetGain(int red, int green, int blue) { Lib().SetGains(red, green, blue); }

int KXCameraCaptureFile(const char* name, uint8_t format) {
    return name ? Lib().CaptureFile(QFile::decodeName(name), format) : 0;
}

void KXCameraSetStillPixelSize(double micrometres) { Lib().SetStillPixelSize(micrometres); }

void KXCameraSetStillTime(int64_t msecsSinceEpoch) {
    Lib().SetStillTime(msecsSinceEpoch > 0 ? QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch) : QDateTime());
}

int KXCameraStartRecord(const char* name, int keyInterval, int realTime) {
    return name ? Lib().StartRecord(QFile::decodeName(name), keyInterval, realTime != 0) : 0;
}

void KXCameraStopRecord() { Lib().StopRecord(); }
int KXCameraRecordFailed() { return Lib().RecordFailed() ? 1 : 0; }

const char* KXCameraGetLastError() {
    static QByteArray text;
    text = Lib().LastError().toUtf8();
    return text.constData();
}
void KXCameraCodeChoose() { Lib().ChooseCodec(nullptr); }
void LEKXCameraPause() { Lib().Pause(); }
void LEKXCameraStartLongExpTime() { Lib().StartLongExposure(); }

void LEKXCameraSetExposureTime(int reset) {
    if (reset) Lib().ResetExposure();
}

void LEKXCameraCancelLongExposure(int refresh) { Lib().CancelLongExposure(refresh != 0); }

void LEKXCameraGetExposureTime(uint32_t* rows) {
    if (rows) *rows = Lib().ExposureRows();
}

void LEKXCameraGetRowTime(uint32_t* microseconds) {
    if (microseconds) *microseconds = Lib().RowTime();
}

} // extern "C"
