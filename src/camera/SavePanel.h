// The save panel (template 240) in a docking pane of camera mode: starts and
// stops capture series and video recording, opens the capture folder, picks
// the video compressor and opens the capture configuration dialog. Every
// action is a message posted to the main frame; the frame reports finished
// captures (1231) and the camera state (1270) back. "EDF" and "Panorama"
// switch live merging of the preview on and off (LiveToggled).
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
    // Live merging runs (IDC_SAVE_EDF or IDC_SAVE_PANORAMA) or not (0): its
    // button is checked, and it excludes the other one, stills and video.
    void ShowLive(int control);
    int Live() const { return m_live; }

    int m_recording = 0;
    int m_seriesRunning = 0;
    QPushButton* m_stillButton;
    QPushButton* m_videoButton;
    QPushButton* m_configButton;
    QPushButton* m_compressorButton;
    QPushButton* m_folderButton;
    QPushButton* m_edfButton;
    QPushButton* m_panoramaButton;

signals:
    // "EDF" or "Panorama" (the control id) pressed to start (on) or stop live merging.
    void LiveToggled(int control, bool on);

private:
    void OnStill();
    void OnVideo();
    void ApplyCameraState(int state);
    // Live merging only while the camera runs and nothing is being captured.
    void UpdateLiveButtons();
    WPARAM Self() { return reinterpret_cast<WPARAM>(this); }

    const CCaptureControl* m_capture;
    CMessageTarget* m_frame;
    int m_cameraState = 2;
    int m_live = 0;
};
