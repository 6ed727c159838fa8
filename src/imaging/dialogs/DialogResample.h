// "Resample": a size factor or a pixel size, optionally keeping the aspect
// ratio while either side is typed, and the interpolation method.
#pragma once

#include <QSize>

#include "ImageSteps.h"
#include "TemplateDialog.h"

class CDialogResample : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CDialogResample(QWidget* parent = nullptr);
    // The steps that apply what was chosen (read after OK).
    CImageSteps Steps() const;

    // Presets for an image of w × h: ratio w / h, factor 2, width 100 and
    // the height that keeps the ratio.
    void SetImageSize(int w, int h);

    int m_imageWidth = 0;
    int m_imageHeight = 0;
    float m_ratio = 1.0f;         // width / height
    float m_factor = 2.0f;        // "Size factor"
    unsigned m_pixelWidth = 100;  // "Pixel Width x Height"
    unsigned m_pixelHeight = 100;
    bool m_keepAspect = true;     // "Maintain original aspect ratio"
    int m_interpolation = 2;      // list position 0..7
    int m_mode = 1;               // after OK: 1 size factor, 0 pixel size

    // The new size for the operation: by the factor in mode 1, else the pixel size.
    QSize NewSize() const;

protected:
    void OnInitDialog() override;
    void OnOK() override;
    void OnChange(int id) override;
};
