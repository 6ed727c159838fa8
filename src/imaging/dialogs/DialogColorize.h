// "Colorize..." (template 149): a colour as hue and saturation with a blend
// (HSL mode) or as signed red, green and blue shifts (RGB mode), picked by
// typing or with the colour chooser; the preview shows the chosen
// document's thumbnail as it is.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include <QColor>

#include "ImageSteps.h"
#include "TemplateDialog.h"
#include "ThumbnailPreview.h"

class CKXViewDoc;
class QComboBox;

class CDialogColorize : public CTemplateDialog {
    Q_OBJECT
public:
    enum Mode { MODE_RGB = 0, MODE_HSL = 1 };

    // document: the active document, the only entry of the list.
    explicit CDialogColorize(CKXViewDoc* document, QWidget* parent = nullptr);
    // The steps that apply what was chosen (read after OK).
    CImageSteps Steps() const;

    // The colour the chooser starts from in the selected mode.
    QColor CurrentColour() const;
    const CThumbnailPreview& Preview() const { return m_preview; }

    // Presets of the caller; read after OK.
    uint8_t m_hue = 12;
    uint8_t m_saturation = 50;
    uint8_t m_blend = 50;
    int m_red = 50;
    int m_green = 0;
    int m_blue = -50;
    int m_mode = MODE_HSL; // set on OK from the radio buttons
    CKXViewDoc* m_chosen = nullptr;

protected:
    void OnInitDialog() override;
    void OnOK() override;
    void OnChange(int id) override;
    void OnClicked(int id) override;
    // The system colour chooser, fully expanded; nothing when cancelled.
    virtual std::optional<QColor> ChooseColour(const QColor& initial);

private:
    void UpdatePreview();
    void OnChooseColour();

    CKXViewDoc* m_activeDocument;
    CThumbnailPreview m_preview;
    QComboBox* m_documentList;
};
