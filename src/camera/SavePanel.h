// The save panel (template 240) in a docking pane of camera mode: starts and
// stops capture series and video recording, opens the capture folder, picks
// the video compressor and opens the capture configuration dialog. Every
// action is a message posted to the main frame; the frame reports finished
// captures (1231) and the camera state (1270) back.
#pragma once

#include "MessageTarget.h"
#include "TemplateDialog.h"

class CCaptureControl;
class QPushButton;

class CSavePanel : public CTemplateDialog, public CMessageTarget {
    Q_OBJECT
public:
    CSavePanel(const CCaptureControl* capture, CMessageTarget* frame, QWidget* parent = nullptr);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // A series of several stills has started: "Speichern" stops it now.
    void ShowSeriesRunning();
    // The recording did not start, or ended on a failure: back to idle.
    void ShowVideoStopped();

    int m_recording = 0;
    int m_seriesRunning = 0;
    QPushButton* m_stillButton;
    QPushButton* m_videoButton;
    QPushButton* m_configButton;
    QPushButton* m_compressorButton;
    QPushButton* m_folderButton;

private:
    void OnStill();
    void OnVideo();
    void ApplyCameraState(int state);
    WPARAM Self() { return reinterpret_cast<WPARAM>(this); }

    const CCaptureControl* m_capture;
    CMessageTarget* m_frame;
};
