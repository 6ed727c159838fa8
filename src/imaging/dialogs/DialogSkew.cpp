#include "DialogSkew.h"

#include "Image.h"

#include <cmath>

#include "NumericEdit.h"
#include "ParameterValues.h"
#include "Resource.h"
#include "ShadedButtons.h"
#include "TranslatedTables.h"

namespace {

using K = DialogControlKind;

constexpr double kDegreesPerRadian = 57.29577950560105;

const DialogTemplate kTemplate{
    IDD_SKEW, QT_TRANSLATE_NOOP("SkewDialog", "Skew"), 264, 132,
    {{0, K::GroupBox, QT_TRANSLATE_NOOP("SkewDialog", "Pivot"), 8, 6, 70, 52},
     {0, K::Static, "x :", 16, 22, 14, 8},
     {IDC_SKW_PIVOT_X, K::Edit, "", 32, 20, 38, 13},
     {0, K::Static, "y :", 16, 38, 14, 8},
     {IDC_SKW_PIVOT_Y, K::Edit, "", 32, 36, 38, 13},
     {0, K::GroupBox, QT_TRANSLATE_NOOP("SkewDialog", "Skew"), 86, 6, 170, 68},
     {0, K::Static, QT_TRANSLATE_NOOP("SkewDialog", "Winkel"), 136, 16, 40, 8},
     {0, K::Static, QT_TRANSLATE_NOOP("SkewDialog", "Slope"), 180, 16, 70, 8},
     {0, K::Static, "x :", 92, 30, 12, 8},
     {IDC_SKW_SKEW_X, K::Edit, "", 104, 28, 30, 13},
     {IDC_SKW_ANGLE_X, K::Edit, "", 136, 28, 40, 13, DS_READONLY},
     {IDC_SKW_SLOPE_X, K::Edit, "", 180, 28, 70, 13, DS_READONLY},
     {0, K::Static, "y :", 92, 50, 12, 8},
     {IDC_SKW_SKEW_Y, K::Edit, "", 104, 48, 30, 13},
     {IDC_SKW_ANGLE_Y, K::Edit, "", 136, 48, 40, 13, DS_READONLY},
     {IDC_SKW_SLOPE_Y, K::Edit, "", 180, 48, 70, 13, DS_READONLY},
     {IDC_SKW_INTERPOLATION, K::CheckBox, QT_TRANSLATE_NOOP("SkewDialog", "Freischalten Interpolation"), 8,
      84, 140, 10},
     {IDOK, K::DefPushButton, "OK", 150, 110, 50, 14},
     {IDCANCEL, K::PushButton, QT_TRANSLATE_NOOP("SkewDialog", "Abbrechen"), 206, 110, 50, 14}}};

} // namespace

CDialogSkew::CDialogSkew(QWidget* parent)
    : CTemplateDialog(resources::TranslatedTables::Instance().Dialog({"SkewDialog", kTemplate}), parent) {
    ShadeButtons(*this, {IDOK, IDCANCEL});
    SubclassDlgItem(IDC_SKW_PIVOT_X, new CNumericEdit(CNumericEdit::Kind::Integer));
    SubclassDlgItem(IDC_SKW_PIVOT_Y, new CNumericEdit(CNumericEdit::Kind::Integer));
    SubclassDlgItem(IDC_SKW_SKEW_X, new CNumericEdit(CNumericEdit::Kind::Real));
    SubclassDlgItem(IDC_SKW_SKEW_Y, new CNumericEdit(CNumericEdit::Kind::Real));
    Bind(IDC_SKW_PIVOT_X, &m_pivotX);
    Bind(IDC_SKW_PIVOT_Y, &m_pivotY);
    Bind(IDC_SKW_SKEW_X, &m_skewX);
    Bind(IDC_SKW_SKEW_Y, &m_skewY);
    Bind(IDC_SKW_ANGLE_X, &m_angleX);
    Bind(IDC_SKW_ANGLE_Y, &m_angleY);
    Bind(IDC_SKW_SLOPE_X, &m_slopeX);
    Bind(IDC_SKW_SLOPE_Y, &m_slopeY);
    Bind(IDC_SKW_INTERPOLATION, &m_interpolation);
}

void CDialogSkew::SetImageSize(int w, int h) {
    m_imageWidth = w;
    m_imageHeight = h;
    ComputeSlopes();
}

void CDialogSkew::ComputeSlopes() {
    // An empty side has no slope (and no division by zero).
    m_slopeX = m_imageWidth > 0 ? m_skewX / static_cast<float>(m_imageWidth) : 0.0f;
    m_slopeY = m_imageHeight > 0 ? m_skewY / static_cast<float>(m_imageHeight) : 0.0f;
    m_angleX = static_cast<float>(std::atan(m_slopeX) * kDegreesPerRadian);
    m_angleY = static_cast<float>(std::atan(m_slopeY) * kDegreesPerRadian);
}

void CDialogSkew::OnInitDialog() {
    ComputeSlopes();
    CTemplateDialog::OnInitDialog();
}

void CDialogSkew::OnChange(int id) {
    if (id != IDC_SKW_SKEW_X && id != IDC_SKW_SKEW_Y) return;
    // Half-typed text ("-", "") keeps the last skew that read back.
    UpdateDataQuietly();
    ComputeSlopes();
    UpdateDataExcept(id);
}

int CDialogSkew::SlopeXParam() const { return dialogvalues::TruncThousandths(m_slopeX); }

int CDialogSkew::SlopeYParam() const { return dialogvalues::TruncThousandths(m_slopeY); }

CImageSteps CDialogSkew::Steps() const {
    return {{"Skew",
             {CImageSteps::Num(SlopeXParam() * 0.001), CImageSteps::Num(SlopeYParam() * 0.001),
              CImageSteps::Int(m_pivotX), CImageSteps::Int(m_pivotY), CImageSteps::Flag(m_interpolation)}}};
}
