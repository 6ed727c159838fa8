#include "DialogLightContrast.h"

#include "Image.h"

#include <algorithm>

#include <QComboBox>
#include <QCoreApplication>
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

CDialogLightContrast::CDialogLightContrast(int mode, CKXViewDoc* document, QWidget* parent)
    : CTemplateDialog(*resources::Dialog(IDD_LIGHT_CONTRAST), parent), m_mode(mode),
      m_activeDocument(document), m_thumbPreview(GetDlgItem<QLabel>(IDC_LC_PREVIEW)) {
    FitDropDowns(this);
    static_cast<CShadeButton*>(SubclassDlgItem(IDOK, new CShadeButton))->SetStandardShade();
    static_cast<CShadeButton*>(SubclassDlgItem(IDCANCEL, new CShadeButton))->SetStandardShade();
    m_preview = GetDlgItem<QLabel>(IDC_LC_PREVIEW);
    m_slider = static_cast<CBitmapSlider*>(SubclassDlgItem(IDC_LC_SLIDER, new CBitmapSlider));
    m_documentList = GetDlgItem<QComboBox>(IDC_LC_DOCUMENT);
    Bind(IDC_LC_VALUE, &m_value);
    if (auto* edit = GetDlgItem<QLineEdit>(IDC_LC_VALUE)) edit->installEventFilter(this);
}

void CDialogLightContrast::OnInitDialog() {
    CTemplateDialog::OnInitDialog();
    m_scale = 1.0f;
    m_previewBitmap = nullptr;
    m_chosen = nullptr;
    m_slider->SetBitmapChannel(IDB_SLIDER_CHANNEL, IDB_SLIDER_CHANNEL_ACTIVE);
    m_slider->SetBitmapThumb(IDB_SLIDER_THUMB, IDB_SLIDER_THUMB_ACTIVE);
    m_slider->setRange(0, 200);
    m_slider->SetPos(m_value + 100);
    documentlist::Fill(m_documentList, {m_activeDocument});
    m_documentList->setCurrentIndex(0);
    UpdatePreview();
    setWindowTitle(m_mode == MODE_CONTRAST
                       ? QCoreApplication::translate("LightContrastDialog", "Kontrast einstellen...")
                       : QCoreApplication::translate("LightContrastDialog", "Erhellen einstellen ..."));
}

void CDialogLightContrast::UpdatePreview() {
    m_chosen = documentlist::Selected(m_documentList);
    m_thumbPreview.MakeThumbnail(m_chosen);
    m_scale = m_thumbPreview.ScaleFactor();
    m_thumbnail = m_thumbPreview.Thumbnail();
    vimg::Image work;
    if (m_thumbnail.IsValid()) {
        work.Copy(m_thumbnail, true, true, true);
        if (m_mode == MODE_BRIGHTNESS)
            work.Light(m_value, 0);
        else
            work.Light(0, m_value);
    }
    m_thumbPreview.Show(work);
    m_previewBitmap = m_thumbPreview.Bitmap();
    // A typed value beyond the slider's range leaves the thumb at its end.
    m_slider->SetPos(std::clamp(m_value + 100, m_slider->minimum(), m_slider->maximum()));
}

void CDialogLightContrast::ReadBackAndPreview() {
    // A failed read shows its message box, which takes the focus from the
    // edit again: that second loss must not read (and complain) once more.
    if (m_reading) return;
    const QScopedValueRollback guard(m_reading, true);
    if (UpdateData(true)) UpdatePreview();
}

void CDialogLightContrast::OnChange(int id) {
    if (id == IDC_LC_DOCUMENT) ReadBackAndPreview();
}

void CDialogLightContrast::OnSliderMoved(int id, int pos) {
    if (id == IDC_LC_SLIDER) {
        m_value = pos - 100;
        SetDlgItemText(IDC_LC_VALUE, QString::number(m_value));
    }
    ReadBackAndPreview();
}

bool CDialogLightContrast::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && watched == GetDlgItem(IDC_LC_VALUE)) ReadBackAndPreview();
    return CTemplateDialog::eventFilter(watched, event);
}

CImageSteps CDialogLightContrast::Steps() const {
    const bool brightness = m_mode == MODE_BRIGHTNESS;
    return {{"Light", {CImageSteps::Int(brightness ? m_value : 0), CImageSteps::Int(brightness ? 0 : m_value)}}};
}
