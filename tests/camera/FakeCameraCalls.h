// A camera library stand-in for the camera control tests: it records every
// call in order and answers with a scripted camera.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include <QComboBox>
#include <QFile>
#include <QWidget>

#include "CameraCalls.h"
#include "CameraControl.h"
#include "Image.h"
#include "ImageTypes.h"
#include "MessageTarget.h"

namespace camtest {

class FakeCameraCalls : public CameraCalls {
public:
    int Init(uint8_t resolution, QWidget*, CMessageTarget*) override {
        Log("Init " + std::to_string(resolution));
        return initResult;
    }
    void UnInit() override { Log("UnInit"); }
    void Play() override { Log("Play"); }
    void Stop() override { Log("Stop"); }
    void Setup1() override { Log("Setup1"); }
    void Setup2() override { Log("Setup2"); }
    void GetImageSize(int* w, int* h) override {
        Log("GetImageSize");
        *w = imageWidth;
        *h = imageHeight;
    }
    void SetVideoMessage(unsigned m) override { Log("SetVideoMessage " + std::to_string(m)); }
    void DisplayEnable(int e) override { Log("DisplayEnable " + std::to_string(e)); }
    KXCameraIdentity GetCameraID() override {
        KXCameraIdentity id{};
        id.id = this->id;
        id.type = type;
        std::strncpy(id.name, name.c_str(), sizeof id.name - 1);
        return id;
    }
    void SetCamera(int index) override {
        Log("SetCamera " + std::to_string(index));
        if (index < 0)
            type = -1;
        else
            type = typeOnSelect;
    }
    void ReflashCamera() override { Log("Reflash"); type = typeOnSelect; }
    void Registerpixel(QComboBox* list) override {
        Log("Registerpixel");
        for (int i = 0; i < resolutions; ++i) list->addItem(QStringLiteral("R%1").arg(i));
    }
    void SetAWBState(int s) override { Log("AWB " + std::to_string(s)); }
    void GetGain(int* r, int* g, int* b) override {
        *r = gains[0];
        *g = gains[1];
        *b = gains[2];
    }
    void SetGain(int r, int g, int b) override {
        Log("SetGain");
        gains[0] = r;
        gains[1] = g;
        gains[2] = b;
    }
    void SetExposureTime(int r) override { Log("SetExposureTime " + std::to_string(r)); }
    void CancelLongExposure(int r) override { Log("CancelLongExposure " + std::to_string(r)); }
    void GetExposureTime(uint32_t* e) override { *e = exposure; }
    void GetRowTime(uint32_t* r) override { *r = rowTime; }

    // Stills are real files (a small picture; raw ones a few bytes), so names,
    // the browser and the never-overwrite rule can be checked.
    int CaptureFile(const char* name, uint8_t format) override {
        Log("CaptureFile " + std::string(name) + " " + std::to_string(format));
        stillPixelSizes.push_back(stillPixelSize);
        if (!captureError.empty()) {
            lastError = captureError;
            return 0;
        }
        const QString base = QString::fromUtf8(name);
        if (format == KXCAMERA_RAW) {
            QFile raw(base + QStringLiteral(".RAW"));
            return raw.open(QIODevice::WriteOnly) && raw.write("raw") == 3 ? 1 : 0;
        }
        vimg::Image still;
        still.Create(32, 24, 24, format == KXCAMERA_JPEG ? vimg::FORMAT_JPG : vimg::FORMAT_BMP);
        const QString file =
            base + (format == KXCAMERA_JPEG ? QStringLiteral(".JPG") : QStringLiteral(".BMP"));
        return still.Save(QFile::encodeName(file).constData(),
                          format == KXCAMERA_JPEG ? vimg::FORMAT_JPG : vimg::FORMAT_BMP)
                   ? 1
                   : 0;
    }
    void SetStillPixelSize(double micrometres) override { stillPixelSize = micrometres; }
    void SetStillTime(int64_t) override {}
    int StartRecord(const char* name, int keyInterval, int realTime) override {
        Log("StartRecord " + std::string(name) + " " + std::to_string(keyInterval) + " " +
            std::to_string(realTime));
        return recordResult;
    }
    void StopRecord() override { Log("StopRecord"); }
    int RecordFailed() override { return recordFailed; }
    const char* GetLastError() override { return lastError.c_str(); }
    void CodeChoose() override { Log("CodeChoose"); }
    void Pause() override { Log("Pause"); }
    void StartLongExpTime() override { Log("StartLongExpTime"); }

    void Log(const std::string& call) { calls->push_back(call); }
    int Count(const std::string& call) const {
        int n = 0;
        for (const auto& c : *calls) n += c == call;
        return n;
    }

    std::vector<std::string>* calls = nullptr; // shared with the test, which outlives the fake
    int type = -1;
    int typeOnSelect = 2;
    uint32_t id = 0; // vendor << 16 | product; 0 for the simulated camera
    std::string name = "Testkamera";
    int initResult = 1;
    int imageWidth = 1280, imageHeight = 960;
    int resolutions = 3;
    int gains[3] = {128, 128, 128};
    uint32_t exposure = 1500, rowTime = 1000;
    int recordResult = 1;
    int recordFailed = 0;
    std::string captureError; // set: every still fails with this reason
    std::string lastError;
    double stillPixelSize = 0;
    std::vector<double> stillPixelSizes;
};

// The main frame's part in the camera road: a window that hands camera
// messages to its camera control and records every message.
class TestFrame : public QWidget, public CMessageTarget {
public:
    TestFrame();
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int Count(UINT message) const;

    int notWin2000 = 1;
    std::vector<std::string> calls;
    FakeCameraCalls* fake = nullptr;
    std::vector<int> sleeps;
    std::vector<QString> errors;
    std::vector<UINT> messages;
    std::unique_ptr<CCameraControl> control;
};

} // namespace camtest
