#include "DialogResample.h"

#include <QCoreApplication>

#include "Image.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "NumericEdit.h"
#include "ParameterValues.h"
#include "Resource.h"
#include "ShadedButtons.h"
#include "TranslatedTables.h"

namespace {

using K = DialogControlKind;

const DialogTemplate kTemplate{
    IDD_RESAMPLE, QT_TRANSLATE_NOOP("ResampleDialog", "Resample"), 210, 124,
    {{IDC_RES_BY_FACTOR, K::RadioButton, QT_TRANSLATE_NOOP("ResampleDialog", "Size factor"), 10, 10, 100, 10,
      DS_GROUP},
     {IDC_RES_FACTOR, K::Edit, "", 120, 8, 50, 13},
     {IDC_RES_BY_SIZE, K::RadioButton, QT_TRANSLATE_NOOP("ResampleDialog", "Pixel Width x Height"), 10, 28,
      100, 10},
     {IDC_RES_WIDTH, K::Edit, "", 120, 26, 36, 13},
     {0, K::Static, QT_TRANSLATE_NOOP("ResampleDialog", "x"), 159, 28, 8, 8},
     {IDC_RES_HEIGHT, K::Edit, "", 168, 26, 36, 13},
     {IDC_RES_KEEP_ASPECT, K::CheckBox, QT_TRANSLATE_NOOP("ResampleDialog", "Maintain original aspect ratio"),
      10, 46, 190, 10},
     {0, K::Static, QT_TRANSLATE_NOOP("ResampleDialog", "Interpolation:"), 10, 66, 60, 8},
     {IDC_RES_INTERPOLATION, K::ComboBox, "", 80, 64, 124, 13},
     {IDOK, K::DefPushButton, "OK", 98, 102, 50, 14},
     {IDCANCEL, K::PushButton, QT_TRANSLATE_NOOP("ResampleDialog", "Abbrechen"), 154, 102, 50, 14}}};

} // namespace

CDialogResample::CDialogResample(QWidget* parent)
    : CTemplateDialog(resources::TranslatedTables::Instance().Dialog({"ResampleDialog", kTemplate}), parent) {
    ShadeButtons(*this, {IDOK, IDCANCEL});
    SubclassDlgItem(IDC_RES_FACTOR, new CNumericEdit(CNumericEdit::Kind::Real));
    SubclassDlgItem(IDC_RES_WIDTH, new CNumericEdit(CNumericEdit::Kind::Unsigned));
    SubclassDlgItem(IDC_RES_HEIGHT, new CNumericEdit(CNumericEdit::Kind::Unsigned));
    Bind(IDC_RES_FACTOR, &m_factor);
    Bind(IDC_RES_WIDTH, &m_pixelWidth);
    Bind(IDC_RES_HEIGHT, &m_pixelHeight);
    Bind(IDC_RES_KEEP_ASPECT, &m_keepAspect);
    Bind(IDC_RES_INTERPOLATION, &m_interpolation);
}

void CDialogResample::SetImageSize(int w, int h) {
    m_imageWidth = w;
    m_imageHeight = h;
    m_ratio = h > 0 ? static_cast<float>(w) / static_cast<float>(h) : 1.0f;
    m_factor = 2.0f;
    m_pixelWidth = 100;
    m_pixelHeight = dialogvalues::TruncSize(100.0 / m_ratio);
}

void CDialogResample::OnInitDialog() {
    SetItems(IDC_RES_INTERPOLATION,
             {QCoreApplication::translate("ResampleDialog", "Nearest neighbour"),
              QCoreApplication::translate("ResampleDialog", "Bilinear (pixel corner)"),
              QCoreApplication::translate("ResampleDialog", "Bilinear 2 (pixel center)"),
              QCoreApplication::translate("ResampleDialog", "Bicubic (hard)"),
              QCoreApplication::translate("ResampleDialog", "Bicubic 2 (soft)"),
              QCoreApplication::translate("ResampleDialog", "BSpline (blur)"),
              QCoreApplication::translate("ResampleDialog", "Lanzcos (sharp)"),
              QCoreApplication::translate("ResampleDialog", "Hermite")});
    m_interpolation = 2;
    m_keepAspect = true;
    CTemplateDialog::OnInitDialog();
    CheckDlgButton(IDC_RES_BY_FACTOR, true);
}

void CDialogResample::OnChange(int id) {
    // Each handler works only from a typed value that reads back; a side
    // cleared to be typed anew is left as it is.
    bool ok = false;
    if (id == IDC_RES_WIDTH || id == IDC_RES_HEIGHT) {
        GetDlgItemText(id).trimmed().toUInt(&ok);
        if (ok && IsDlgButtonChecked(IDC_RES_KEEP_ASPECT) && m_ratio > 0) {
            UpdateDataQuietly();
            const double ratio = m_ratio;
            if (id == IDC_RES_WIDTH) m_pixelHeight = dialogvalues::TruncSize(m_pixelWidth / ratio);
            else m_pixelWidth = dialogvalues::TruncSize(m_pixelHeight * ratio);
            UpdateDataExcept(id);
        }
        CheckDlgButton(IDC_RES_BY_SIZE, true);
    } else if (id == IDC_RES_FACTOR) {
        // "1." or "1.50": the user is still typing the decimals.
        const QString text = GetDlgItemText(IDC_RES_FACTOR).trimmed();
        if (text.endsWith('.') || (text.contains('.') && text.endsWith('0'))) return;
        text.toFloat(&ok);
        if (!ok) return;
        UpdateDataQuietly();
        const double factor = std::fabs(static_cast<double>(m_factor));
        m_pixelWidth = dialogvalues::TruncSize(factor * m_imageWidth);
        m_pixelHeight = dialogvalues::TruncSize(factor * m_imageHeight);
        UpdateDataExcept(id);
        CheckDlgButton(IDC_RES_BY_FACTOR, true);
    }
}

void CDialogResample::OnOK() {
    m_interpolation = GetCurSel(IDC_RES_INTERPOLATION);
    m_mode = IsDlgButtonChecked(IDC_RES_BY_FACTOR) ? 1 : 0;
    CTemplateDialog::OnOK();
}

QSize CDialogResample::NewSize() const {
    // Sizes beyond int stay as large as QSize allows; the operation refuses them.
    auto side = [](unsigned v) {
        return static_cast<int>(std::min<unsigned>(v, std::numeric_limits<int>::max()));
    };
    if (m_mode != 1) return QSize(side(m_pixelWidth), side(m_pixelHeight));
    const double factor = std::fabs(static_cast<double>(m_factor));
    return QSize(side(dialogvalues::TruncSize(factor * m_imageWidth)),
                 side(dialogvalues::TruncSize(factor * m_imageHeight)));
}

namespace {

// The list from its third entry on (the first two are Resample's modes 1 and 0).
constexpr int kResampleMethods[] = {vimg::Image::IM_BILINEAR, vimg::Image::IM_BICUBIC,
                                    vimg::Image::IM_BICUBIC2, vimg::Image::IM_BSPLINE,
                                    vimg::Image::IM_LANCZOS,  vimg::Image::IM_HERMITE};

} // namespace

CImageSteps CDialogResample::Steps() const {
    const QSize size = NewSize();
    const vops::Value w = CImageSteps::Int(size.width()), h = CImageSteps::Int(size.height());
    if (m_interpolation == 0) return {{"Resample", {w, h, CImageSteps::Int(1)}}};
    if (m_interpolation == 1) return {{"Resample", {w, h, CImageSteps::Int(0)}}};
    const int method = m_interpolation >= 2 && m_interpolation < 8 ? kResampleMethods[m_interpolation - 2]
                                                                   : vimg::Image::IM_BICUBIC2;
    return {{"Resample2",
             {w, h, CImageSteps::Int(method), CImageSteps::Int(vimg::Image::OM_REPEAT), CImageSteps::Flag(false)}}};
}
