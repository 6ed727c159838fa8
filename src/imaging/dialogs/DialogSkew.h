// "Skew": pivot, skew in pixels along x and y, shown also as slope and angle,
// and whether to interpolate.
#pragma once

#include "ImageSteps.h"
#include "TemplateDialog.h"

class CDialogSkew : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CDialogSkew(QWidget* parent = nullptr);
    // The steps that apply what was chosen (read after OK).
    CImageSteps Steps() const;

    // The image the skew applies to; slopes are skew / width and skew / height.
    void SetImageSize(int w, int h);

    int m_imageWidth = 0;
    int m_imageHeight = 0;
    int m_pivotX = 0;
    int m_pivotY = 0;
    float m_skewX = 5.5f;   // pixels
    float m_skewY = -5.0f;
    float m_slopeX = 0;     // shown, computed from the skews
    float m_slopeY = 0;
    float m_angleX = 0;     // degrees
    float m_angleY = 0;
    bool m_interpolation = true; // "Freischalten Interpolation"

    // The first two operation parameters: trunc(slope × 1000).
    int SlopeXParam() const;
    int SlopeYParam() const;

protected:
    void OnInitDialog() override;
    void OnChange(int id) override;

private:
    void ComputeSlopes();
};
