// "Gamma..." (template 152): the correction from the edit or the slider
// (position = gamma x 100, range 0 to 1000) with a thumbnail of its effect.
// The operation takes trunc(gamma x 1000).
#pragma once

#include "ImageSteps.h"
#include "TemplateDialog.h"
#include "ThumbnailPreview.h"

class CBitmapSlider;
class CKXViewDoc;
class QComboBox;

class CDialogGamma : public CTemplateDialog {
    Q_OBJECT
public:
    // document: the active document, the only entry of the list.
    explicit CDialogGamma(CKXViewDoc* document, QWidget* parent = nullptr);
    // The steps that apply what was chosen (read after OK).
    CImageSteps Steps() const;

    // The operation's parameter: trunc(gamma x 1000) in single precision.
    int GammaParameter() const;
    void UpdatePreview();
    const CThumbnailPreview& Preview() const { return m_preview; }

    float m_gamma = 1.23f; // preset by the caller, read after OK
    CKXViewDoc* m_chosen = nullptr;
    CBitmapSlider* m_slider;
    QComboBox* m_documentList;

protected:
    void OnInitDialog() override;
    void OnChange(int id) override;
    void OnSliderMoved(int id, int pos) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ReadBackAndPreview();

    CKXViewDoc* m_activeDocument;
    CThumbnailPreview m_preview;
    bool m_reading = false;
};
