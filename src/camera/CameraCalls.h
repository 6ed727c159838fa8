// The camera library's functions as the camera control calls them. The
// default forwards to the library; tests derive to see or replace the calls.
#pragma once

#include <cstdint>

#include "KXCamera.h"

class CameraCalls {
public:
    virtual ~CameraCalls() = default;
    virtual int Init(uint8_t resolution, QWidget* display, CMessageTarget* owner) {
        return KXCameraInit(resolution, display, owner);
    }
    virtual void UnInit() { KXCameraUnInit(); }
    virtual void Play() { KXCameraPlay(); }
    virtual void Stop() { KXCameraStop(); }
    virtual void Setup1() { KXCameraSetup1(); }
    virtual void Setup2() { KXCameraSetup2(); }
    virtual void GetImageSize(int* width, int* height) { KXCameraGetImageSize(width, height); }
    virtual void SetVideoMessage(unsigned message) { KXCameraSetVideoMessage(message); }
    virtual void DisplayEnable(int enable) { KXCameraDisplayEnable(enable); }
    virtual KXCameraIdentity GetCameraID() { return KXCameraGetCameraID(); }
    virtual void SetCamera(int index) { KXCamera_SetCamera(index); }
    virtual void ReflashCamera() { KXCamera_ReflashCamera(); }
    virtual void Registerpixel(QComboBox* list) { KXCamera_Registerpixel(list); }
    virtual void SetAWBState(int state) { KXCameraSetAWBState(state); }
    virtual void GetGain(int* red, int* green, int* blue) { KXCameraGetGain(red, green, blue); }
    virtual void SetGain(int red, int green, int blue) { KXCameraSetGain(red, green, blue); }
    virtual void SetExposureTime(int reset) { LEKXCameraSetExposureTime(reset); }
    virtual void CancelLongExposure(int refresh) { LEKXCameraCancelLongExposure(refresh); }
    virtual void GetExposureTime(uint32_t* rows) { LEKXCameraGetExposureTime(rows); }
    virtual void GetRowTime(uint32_t* microseconds) { LEKXCameraGetRowTime(microseconds); }
    virtual int CaptureFile(const char* name, uint8_t format) { return KXCameraCaptureFile(name, format); }
    virtual void SetStillPixelSize(double micrometres) { KXCameraSetStillPixelSize(micrometres); }
    virtual void SetStillTime(int64_t msecsSinceEpoch) { KXCameraSetStillTime(msecsSinceEpoch); }
    virtual int StartRecord(const char* name, int keyInterval, int realTime) {
        return KXCameraStartRecord(name, keyInterval, realTime);
    }
    virtual void StopRecord() { KXCameraStopRecord(); }
    virtual int RecordFailed() { return KXCameraRecordFailed(); }
    virtual const char* GetLastError() { return KXCameraGetLastError(); }
    virtual void CodeChoose() { KXCameraCodeChoose(); }
    virtual void Pause() { LEKXCameraPause(); }
    virtual void StartLongExpTime() { LEKXCameraStartLongExpTime(); }
};
