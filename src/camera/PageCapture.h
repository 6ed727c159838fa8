// The camera page (tab "Aufnahme", template 170): the camera's name, its
// resolutions and the buttons that send the camera commands to the main
// frame. The frame reports the camera state back with message 1270; from it
// and the frame's camera type the page decides which controls are enabled.
#pragma once

#include <cstdint>

#include "MessageTarget.h"
#include "TemplateDialog.h"

class CCameraControl;
class QComboBox;
class QPushButton;

class CPageCapture : public CTemplateDialog, public CMessageTarget {
    Q_OBJECT
public:
    // state: the frame's camera state the rules read; frame: where commands go.
    CPageCapture(const CCameraControl* state, CMessageTarget* frame, QWidget* parent = nullptr);

    void ApplyEnablingRules();
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    QComboBox* m_resolutionList;
    uint8_t m_lastResolution = 0;
    QPushButton* m_previewButton;
    QPushButton* m_refreshButton;
    QPushButton* m_configButton;
    QPushButton* m_exposureButton;
    QPushButton* m_findButton;
    QPushButton* m_autoWhiteButton;
    QPushButton* m_areaWhiteButton;

private:
    void OnResolutionChosen();
    void OnPreview();
    WPARAM Self() { return reinterpret_cast<WPARAM>(this); }

    const CCameraControl* m_state;
    CMessageTarget* m_frame;
};
