// The camera library: plain C functions the main frame calls on the UI thread.
// Behind them sit a simulated camera and real V4L2 (USB video class) cameras.
// Frames are drawn into the display window given to KXCameraInit; each frame
// shown is announced to the nearest message window above the display with the
// message set by KXCameraSetVideoMessage.
#pragma once

#include <cstdint>

class QWidget;
class QComboBox;
class CMessageTarget;

extern "C" {

// What KXCameraGetCameraID reports: type -1 means no camera is selected.
struct KXCameraIdentity {
    uint32_t id;      // USB vendor id << 16 | product id; 0 for the simulated camera
    int32_t type;     // camera type; decides the program's behaviour for this camera
    char name[64];    // shown to the user
};

// Still formats of KXCameraCaptureFile.
enum : uint8_t { KXCAMERA_JPEG = 1, KXCAMERA_BMP = 2, KXCAMERA_RAW = 4 };

int KXCameraInit(uint8_t resolution, QWidget* display, CMessageTarget* owner);
void KXCameraUnInit();
void KXCameraPlay();
void KXCameraStop();
void KXCameraSetup1();
void KXCameraSetup2();
void KXCameraGetImageSize(int* width, int* height);
void KXCameraSetVideoMessage(unsigned message);
void KXCameraDisplayEnable(int enable);
KXCameraIdentity KXCameraGetCameraID();
void KXCamera_SetCamera(int index);
void KXCamera_ReflashCamera();
void KXCamera_Registerpixel(QComboBox* list);
void KXCameraSetAWBState(int state);
void KXCameraGetGain(int* red, int* green, int* blue);
void KXCameraSetGain(int red, int green, int blue);
// Writes name.JPG, name.BMP or name.RAW; returns 1 when the file was written.
int KXCameraCaptureFile(const char* name, uint8_t format);
// The calibration written into the stills that follow: micrometres per
// pixel, 0 for none. The camera's name goes with them.
void KXCameraSetStillPixelSize(double micrometres);
// The time the next still carries, in milliseconds since 1970 (UTC); a still
// with none set (or 0) carries the time it is written.
void KXCameraSetStillTime(int64_t msecsSinceEpoch);
// Writes name.mov (Motion JPEG) or name.mp4 (H.264, see KXCameraCodeChoose);
// keyInterval is the distance of H.264 key frames, realTime 1 stamps frames
// with their delivery times. Returns 1 when recording started.
int KXCameraStartRecord(const char* name, int keyInterval, int realTime);
void KXCameraStopRecord();
// 1 when the running recording could not write (disk full, device gone).
int KXCameraRecordFailed();
// Why the last still, recording start or running recording failed (UTF-8;
// valid until the next call of a camera function).
const char* KXCameraGetLastError();
void KXCameraCodeChoose();
void LEKXCameraPause();
void LEKXCameraStartLongExpTime();
void LEKXCameraSetExposureTime(int reset);
void LEKXCameraCancelLongExposure(int refresh);
void LEKXCameraGetExposureTime(uint32_t* rows);
void LEKXCameraGetRowTime(uint32_t* microseconds);

} // extern "C"
