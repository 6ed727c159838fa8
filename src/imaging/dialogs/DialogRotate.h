// "Drehen": angle in degrees, interpolation and overflow method, keep size.
#pragma once

#include "ImageSteps.h"
#include "TemplateDialog.h"

namespace vimg {
class Image;
} // namespace vimg

class CDialogRotate : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CDialogRotate(QWidget* parent = nullptr);
    // The steps that apply what was chosen (read after OK).
    CImageSteps Steps(const vimg::Image& image) const; // reads the corner colour

    float m_angle = 12.345f;  // degrees
    int m_interpolation = 1;  // list position 0..6
    int m_overflow = 0;       // list position 0..6
    bool m_keepSize = true;   // "Originalgröße"

    // The first operation parameter: trunc(angle × 1000).
    int AngleParam() const;

protected:
    void OnInitDialog() override;
};
