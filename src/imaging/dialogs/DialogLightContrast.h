// The brightness or contrast dialog of "Anwender Helligkeit" (mode 1) and
// "Anwender Kontrast" (mode 2), template 188: a value from the edit or the
// slider (position = value + 100) and a live thumbnail of the change.
#pragma once

#include "Image.h"
#include "ImageSteps.h"
#include "TemplateDialog.h"
#include "ThumbnailPreview.h"

class CBitmapSlider;
class CKXViewDoc;
class QComboBox;
class QLabel;

class CDialogLightContrast : public CTemplateDialog {
    Q_OBJECT
public:
    enum Mode { MODE_BRIGHTNESS = 1, MODE_CONTRAST = 2 };

    // document: the active document, the only entry of the list.
    CDialogLightContrast(int mode, CKXViewDoc* document, QWidget* parent = nullptr);
    // The steps that apply what was chosen (read after OK).
    CImageSteps Steps() const;

    // Recomputes the thumbnail of the chosen document and its preview.
    void UpdatePreview();

    QLabel* m_preview;
    CBitmapSlider* m_slider;
    QComboBox* m_documentList;
    int m_value = 0;      // the caller sets it before showing; read after OK
    float m_scale = 1.0f; // of the thumbnail
    const CBitmap* m_previewBitmap = nullptr;
    vimg::Image m_thumbnail;
    CKXViewDoc* m_chosen = nullptr;
    int m_mode;

protected:
    void OnInitDialog() override;
    void OnChange(int id) override;
    void OnSliderMoved(int id, int pos) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ReadBackAndPreview();

    CKXViewDoc* m_activeDocument;
    CThumbnailPreview m_thumbPreview;
    bool m_reading = false;
};
