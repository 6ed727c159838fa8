#include "DialogColorize.h"

#include <algorithm>

#include <QColorDialog>
#include <QComboBox>
#include <QLabel>

#include "DocumentList.h"
#include "DropDownHeight.h"

#include "Image.h"
#include "KXViewDoc.h"
#include "Resource.h"
#include "Resources.h"
#include "ShadeButton.h"

CDialogColorize::CDialogColorize(CKXViewDoc* document, QWidget* parent)
    : CTemplateDialog(*resources::Dialog(IDD_COLORIZE), parent), m_activeDocument(document),
      m_preview(GetDlgItem<QLabel>(IDC_COL_PREVIEW)),
      m_documentList(GetDlgItem<QComboBox>(IDC_COL_DOCUMENT)) {
    FitDropDowns(this);
    for (int id : {IDOK, IDCANCEL, IDC_CHOOSE_COLOUR})
        static_cast<CShadeButton*>(SubclassDlgItem(id, new CShadeButton))->SetStandardShade();
    // Bytes refuse what is not 0..255; the signed shifts take any integer.
    Bind(IDC_COL_HUE, &m_hue);
    Bind(IDC_COL_SATURATION, &m_saturation);
    Bind(IDC_COL_BLEND, &m_blend);
    Bind(IDC_COL_RED, &m_red);
    Bind(IDC_COL_GREEN, &m_green);
    Bind(IDC_COL_BLUE, &m_blue);
}

void CDialogColorize::OnInitDialog() {
    CTemplateDialog::OnInitDialog();
    CheckDlgButton(IDC_COL_HSL, true);
    documentlist::Fill(m_documentList, {m_activeDocument});
    m_documentList->setCurrentIndex(0);
    UpdatePreview();
}

void CDialogColorize::UpdatePreview() {
    m_chosen = documentlist::Selected(m_documentList);
    m_preview.MakeThumbnail(m_chosen);
    m_preview.Show(m_preview.Thumbnail());
}

void CDialogColorize::OnChange(int id) {
    if (id == IDC_COL_DOCUMENT) UpdatePreview();
}

void CDialogColorize::OnClicked(int id) {
    if (id == IDC_CHOOSE_COLOUR) OnChooseColour();
}

QColor CDialogColorize::CurrentColour() const {
    if (IsDlgButtonChecked(IDC_COL_HSL)) {
        const vimg::RGBQUAD hsl{128, m_saturation, m_hue, 0}; // blue = L, green = S, red = H
        const vimg::RGBQUAD rgb = vimg::Image::HSLtoRGB(hsl);
        return QColor(rgb.rgbRed, rgb.rgbGreen, rgb.rgbBlue);
    }
    // Each component modulo 256, as a byte holds it: -50 becomes 206.
    return QColor(static_cast<uint8_t>(m_red), static_cast<uint8_t>(m_green), static_cast<uint8_t>(m_blue));
}

std::optional<QColor> CDialogColorize::ChooseColour(const QColor& initial) {
    QColorDialog chooser(initial, this);
    if (chooser.exec() != QDialog::Accepted) return std::nullopt;
    return chooser.selectedColor();
}

void CDialogColorize::OnChooseColour() {
    if (!UpdateData(true)) return;
    const std::optional<QColor> chosen = ChooseColour(CurrentColour());
    if (!chosen || !chosen->isValid()) return;
    if (IsDlgButtonChecked(IDC_COL_HSL)) {
        const vimg::RGBQUAD rgb{static_cast<uint8_t>(chosen->blue()), static_cast<uint8_t>(chosen->green()),
                                static_cast<uint8_t>(chosen->red()), 0};
        const vimg::RGBQUAD hsl = vimg::Image::RGBtoHSL(rgb);
        m_hue = hsl.rgbRed;
        m_saturation = hsl.rgbGreen;
    } else {
        m_red = chosen->red();
        m_green = chosen->green();
        m_blue = chosen->blue();
    }
    UpdateData(false);
}

void CDialogColorize::OnOK() {
    m_mode = IsDlgButtonChecked(IDC_COL_HSL) ? MODE_HSL : MODE_RGB;
    CTemplateDialog::OnOK();
}

CImageSteps CDialogColorize::Steps() const {
    if (m_mode == MODE_HSL) {
        // The library takes blends above 1 as 1.
        const double blend = std::min(1.0, m_blend * 0.01);
        return {{"Colorize", {CImageSteps::Int(m_hue), CImageSteps::Int(m_saturation), CImageSteps::Num(blend)}}};
    }
    return {{"ShiftRGB", {CImageSteps::Int(m_red), CImageSteps::Int(m_green), CImageSteps::Int(m_blue)}}};
}
