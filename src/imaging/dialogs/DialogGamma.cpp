#include "DialogGamma.h"

#include "Image.h"

#include <algorithm>
#include <cmath>

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>

#include "BitmapSlider.h"
#include "DocumentList.h"
#include "DropDownHeight.h"
#include "KXViewDoc.h"
#include "Resource.h"
#include "Resources.h"
#include "ShadeButton.h"

CDialogGamma::CDialogGamma(CKXViewDoc* document, QWidget* parent)
    : CTemplateDialog(*resources::Dialog(IDD_GAMMA), parent), m_activeDocument(document),
      m_preview(GetDlgItem<QLabel>(IDC_GAM_PREVIEW)) {
    FitDropDowns(this);
    static_cast<CShadeButton*>(SubclassDlgItem(IDOK, new CShadeButton))->SetStandardShade();
    static_cast<CShadeButton*>(SubclassDlgItem(IDCANCEL, new CShadeButton))->SetStandardShade();
    m_slider = static_cast<CBitmapSlider*>(SubclassDlgItem(IDC_GAM_SLIDER, new CBitmapSlider));
    m_documentList = GetDlgItem<QComboBox>(IDC_GAM_DOCUMENT);
    // A gamma of zero or below has no correction curve: refused here, not by the operation later.
    Bind(IDC_GAM_VALUE, &m_gamma, 0.001, 1000);
    if (auto* edit = GetDlgItem<QLineEdit>(IDC_GAM_VALUE)) edit->installEventFilter(this);
}

int CDialogGamma::GammaParameter() const {
    return static_cast<int>(m_gamma * 1000.0f);
}

void CDialogGamma::OnInitDialog() {
    CTemplateDialog::OnInitDialog();
    m_slider->SetBitmapChannel(IDB_SLIDER_CHANNEL, IDB_SLIDER_CHANNEL_ACTIVE);
    m_slider->SetBitmapThumb(IDB_SLIDER_THUMB, IDB_SLIDER_THUMB_ACTIVE);
    m_slider->setRange(0, 1000);
    documentlist::Fill(m_documentList, {m_activeDocument});
    m_documentList->setCurrentIndex(0);
    UpdatePreview();
}

void CDialogGamma::UpdatePreview() {
    m_chosen = documentlist::Selected(m_documentList);
    vimg::Image work;
    if (m_preview.MakeThumbnail(m_chosen)) {
        work.Copy(m_preview.Thumbnail(), true, true, true);
        // Gamma 0 (the slider's left end) is refused by the library: the
        // preview then shows the thumbnail unchanged.
        work.Gamma(m_gamma);
    }
    m_preview.Show(work);
    const float pos = std::clamp(m_gamma * 100.0f, 0.0f, 1000.0f);
    m_slider->SetPos(std::isfinite(pos) ? static_cast<int>(pos) : 0);
}

void CDialogGamma::ReadBackAndPreview() {
    if (m_reading) return; // the message box of a failed read takes the focus again
    const QScopedValueRollback guard(m_reading, true);
    if (UpdateData(true)) UpdatePreview();
}

void CDialogGamma::OnChange(int id) {
    if (id == IDC_GAM_DOCUMENT) ReadBackAndPreview();
}

void CDialogGamma::OnSliderMoved(int id, int pos) {
    if (id != IDC_GAM_SLIDER) return;
    m_gamma = static_cast<float>(pos) * 0.01f;
    UpdateData(false);
    UpdatePreview();
}

bool CDialogGamma::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && watched == GetDlgItem(IDC_GAM_VALUE)) ReadBackAndPreview();
    return CTemplateDialog::eventFilter(watched, event);
}

CImageSteps CDialogGamma::Steps() const { return {{"Gamma", {CImageSteps::Num(GammaParameter() * 0.001)}}}; }
