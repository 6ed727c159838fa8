#include "DialogFFT.h"

#include <QComboBox>

#include "DocumentList.h"
#include "DropDownHeight.h"
#include "Resource.h"
#include "Resources.h"
#include "ShadeButton.h"

CDialogFFT::CDialogFFT(QWidget* parent) : CTemplateDialog(*resources::Dialog(IDD_FFT), parent) {
    FitDropDowns(this);
    for (int id : {IDOK, IDCANCEL})
        static_cast<CShadeButton*>(SubclassDlgItem(id, new CShadeButton))->SetStandardShade();
}

void CDialogFFT::OnInitDialog() {
    CTemplateDialog::OnInitDialog();
    const auto documents = documentlist::OpenDocuments();
    for (int id : {IDC_FFT_REAL, IDC_FFT_IMAG}) {
        documentlist::Fill(GetDlgItem<QComboBox>(id), documents, true);
        SetCurSel(id, 0);
    }
    CheckDlgButton(IDC_FFT_INVERSE, false);
    CheckDlgButton(IDC_FFT_MAGNITUDE, false);
    CheckDlgButton(IDC_FFT_FORCE, true);
}

void CDialogFFT::OnOK() {
    CKXViewDoc* real = documentlist::Selected(GetDlgItem<QComboBox>(IDC_FFT_REAL));
    CKXViewDoc* imag = documentlist::Selected(GetDlgItem<QComboBox>(IDC_FFT_IMAG));
    // Without any input the dialog stays open, without a message.
    if (!real && !imag) return;
    m_realSource = real;
    m_imagSource = imag;
    m_direction = IsDlgButtonChecked(IDC_FFT_INVERSE) ? -1 : 1;
    m_force = IsDlgButtonChecked(IDC_FFT_FORCE);
    m_magnitude = IsDlgButtonChecked(IDC_FFT_MAGNITUDE);
    CTemplateDialog::OnOK();
}
