#include "DialogRotate.h"

#include <QCoreApplication>

#include "Image.h"

#include "NumericEdit.h"
#include "ParameterValues.h"
#include "Resource.h"
#include "ShadedButtons.h"
#include "TranslatedTables.h"

namespace {

using K = DialogControlKind;

const DialogTemplate kTemplate{
    IDD_ROTATE, QT_TRANSLATE_NOOP("RotateDialog", "Drehen"), 236, 104,
    {{0, K::Static, QT_TRANSLATE_NOOP("RotateDialog", "Winkel (Grad)"), 10, 12, 80, 8},
     {IDC_ROT_ANGLE, K::Edit, "", 100, 10, 126, 13},
     {0, K::Static, QT_TRANSLATE_NOOP("RotateDialog", "Interpolation method"), 10, 30, 80, 8},
     {IDC_ROT_INTERPOLATION, K::ComboBox, "", 100, 28, 126, 13},
     {0, K::Static, QT_TRANSLATE_NOOP("RotateDialog", "Overflow method"), 10, 48, 80, 8},
     {IDC_ROT_OVERFLOW, K::ComboBox, "", 100, 46, 126, 13},
     {IDC_ROT_KEEP_SIZE, K::CheckBox, QT_TRANSLATE_NOOP("RotateDialog", "Originalgröße"), 10, 66, 100, 10},
     {IDOK, K::DefPushButton, "OK", 120, 84, 50, 14},
     {IDCANCEL, K::PushButton, QT_TRANSLATE_NOOP("RotateDialog", "Abbrechen"), 176, 84, 50, 14}}};

} // namespace

CDialogRotate::CDialogRotate(QWidget* parent)
    : CTemplateDialog(resources::TranslatedTables::Instance().Dialog({"RotateDialog", kTemplate}), parent) {
    ShadeButtons(*this, {IDOK, IDCANCEL});
    SubclassDlgItem(IDC_ROT_ANGLE, new CNumericEdit(CNumericEdit::Kind::Real));
    Bind(IDC_ROT_ANGLE, &m_angle);
    Bind(IDC_ROT_INTERPOLATION, &m_interpolation);
    Bind(IDC_ROT_OVERFLOW, &m_overflow);
    Bind(IDC_ROT_KEEP_SIZE, &m_keepSize);
}

void CDialogRotate::OnInitDialog() {
    SetItems(IDC_ROT_INTERPOLATION, {QCoreApplication::translate("RotateDialog", "Nearest neighbour"),
                                     QCoreApplication::translate("RotateDialog", "Bilinear"),
                                     QCoreApplication::translate("RotateDialog", "Bicubic (hard)"),
                                     QCoreApplication::translate("RotateDialog", "Bicubic 2 (soft)"),
                                     QCoreApplication::translate("RotateDialog", "BSpline (blur)"),
                                     QCoreApplication::translate("RotateDialog", "Lanzcos (sharp)"),
                                     QCoreApplication::translate("RotateDialog", "Hermite")});
    SetItems(IDC_ROT_OVERFLOW, {QCoreApplication::translate("RotateDialog", "Background (or [0,0] color)"),
                                QCoreApplication::translate("RotateDialog", "Hintergrund (oder schwarz)"),
                                QCoreApplication::translate("RotateDialog", "Hintergrund (oder weiss)"),
                                QCoreApplication::translate("RotateDialog", "Wrap"),
                                QCoreApplication::translate("RotateDialog", "Wiederholen"),
                                QCoreApplication::translate("RotateDialog", "Spiegeln"),
                                QCoreApplication::translate("RotateDialog", "Transparent")});
    CTemplateDialog::OnInitDialog();
}

int CDialogRotate::AngleParam() const { return dialogvalues::TruncThousandths(m_angle); }

namespace {

// The interpolation list, in its order.
constexpr int kRotateMethods[] = {vimg::Image::IM_NEAREST_NEIGHBOUR,
                                  vimg::Image::IM_BILINEAR,
                                  vimg::Image::IM_BICUBIC,
                                  vimg::Image::IM_BICUBIC2,
                                  vimg::Image::IM_BSPLINE,
                                  vimg::Image::IM_LANCZOS,
                                  vimg::Image::IM_HERMITE};

} // namespace

CImageSteps CDialogRotate::Steps(const vimg::Image& image) const {
    const int method =
        m_interpolation >= 0 && m_interpolation < 7 ? kRotateMethods[m_interpolation] : vimg::Image::IM_BILINEAR;
    int overflow = vimg::Image::OM_BACKGROUND;
    vops::Value colour; // left out: the background rule's own colour
    switch (m_overflow) {
    case 0:
        colour = image.GetPixelColor(0, 0, true);
        break;
    case 1:
        colour = vimg::RGBQUAD{0, 0, 0, 0};
        break;
    case 3:
        overflow = vimg::Image::OM_WRAP;
        break;
    case 4:
        overflow = vimg::Image::OM_REPEAT;
        break;
    case 5:
        overflow = vimg::Image::OM_MIRROR;
        break;
    case 6:
        overflow = vimg::Image::OM_TRANSPARENT;
        break;
    default:
        break;
    }
    return {{"Rotate2",
             {CImageSteps::Num(AngleParam() * 0.001), CImageSteps::Int(method), CImageSteps::Int(overflow), colour,
              CImageSteps::Flag(true), CImageSteps::Flag(m_keepSize)}}};
}
