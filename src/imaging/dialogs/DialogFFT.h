// "FFT..." (template 161): the documents that serve as real and imaginary
// input (either may be none, not both), the direction and the two flags of
// the two-dimensional transform.
#pragma once

#include "TemplateDialog.h"

class CKXViewDoc;

class CDialogFFT : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CDialogFFT(QWidget* parent = nullptr);

    // Read after OK; a null source is replaced by the caller.
    CKXViewDoc* m_realSource = nullptr;
    CKXViewDoc* m_imagSource = nullptr;
    int m_direction = 1;      // -1 with "Umkehr"
    bool m_force = true;      // "Force FFT"
    bool m_magnitude = false; // "Wert berechnen"

protected:
    void OnInitDialog() override;
    void OnOK() override;
};
