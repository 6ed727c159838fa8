// Helpers for the camera tests: the library on a chosen simulated camera,
// a message window that records what reaches it, and mean colours.
#pragma once

#include <vector>

#include <QImage>
#include <QWidget>

#include "MessageTarget.h"

namespace camtest {

// Makes the library list exactly one simulated camera of `type`.
void UseSimulatedCamera(int type);
// Lists no camera at all.
void UseNoCamera();
// Back to the real list; stops and releases whatever runs.
void ResetLibrary();

// A window that records the numbered messages sent or posted to it.
class RecordingWindow : public QWidget, public CMessageTarget {
public:
    explicit RecordingWindow(QWidget* parent = nullptr) : QWidget(parent) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM) override {
        messages.push_back(message);
        params.push_back(wParam);
        return 0;
    }
    int Count(UINT message) const;
    std::vector<UINT> messages;
    std::vector<WPARAM> params;
};

struct MeanColour {
    double r = 0, g = 0, b = 0;
};
MeanColour Mean(const QImage& image);

// Waits (serving events) until `done` holds or `ms` pass; returns `done()`.
template <class F> bool WaitFor(F done, int ms = 3000);

} // namespace camtest

#include <QTest>

template <class F> bool camtest::WaitFor(F done, int ms) {
    for (int waited = 0; !done() && waited < ms; waited += 10) QTest::qWait(10);
    return done();
}
