// A camera library stand-in for the camera control tests: it records every
// call in order and answers with a scripted camera.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include <QComboBox>
#include <QWidget>

#include "CameraCalls.h"
#include "CameraControl.h"
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
        id.type = type;
        std::strncpy(id.name, name.c_str(), sizeof id.name - 1);
        return id;
    }
    void SetCamera(int index) override { Log("SetCamera " + std::to_string(index)); if (index < 0) type = -1; else type = typeOnSelect; }
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

    void Log(const std::string& call) { calls->push_back(call); }
    int Count(const std::string& call) const {
        int n = 0;
        for (const auto& c : *calls) n += c == call;
        return n;
    }

    std::vector<std::string>* calls = nullptr; // shared with the test, which outlives the fake
    int type = -1;
    int typeOnSelect = 2;
    std::string name = "Testkamera";
    int initResult = 1;
    int imageWidth = 1280, imageHeight = 960;
    int resolutions = 3;
    int gains[3] = {128, 128, 128};
    uint32_t exposure = 1500, rowTime = 1000;
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
