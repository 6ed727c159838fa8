// "Kombinieren ..." (template 159): one plane (grey, red, green or blue) of a
// document for each of three channels and optionally the alpha channel, and
// the colour space they are combined in.
#pragma once

#include "TemplateDialog.h"

class CKXViewDoc;

class CDialogCombine : public CTemplateDialog {
    Q_OBJECT
public:
    // Plane indices of the channel lists.
    enum Plane { PLANE_GREY = 0, PLANE_RED = 1, PLANE_GREEN = 2, PLANE_BLUE = 3 };

    explicit CDialogCombine(QWidget* parent = nullptr);

    // Read after OK. The alpha source is null for "(None)".
    CKXViewDoc* m_source1 = nullptr;
    CKXViewDoc* m_source2 = nullptr;
    CKXViewDoc* m_source3 = nullptr;
    CKXViewDoc* m_alphaSource = nullptr;
    int m_plane1 = PLANE_RED;
    int m_plane2 = PLANE_GREEN;
    int m_plane3 = PLANE_BLUE;
    int m_alphaPlane = PLANE_GREY;
    int m_colourSpace = 0; // 0 RGB, 1 HSL, 2 YUV, 3 YIQ, 4 XYZ

protected:
    void OnInitDialog() override;
    void OnOK() override;
};
