#include "DialogCombine.h"

#include <QComboBox>
#include <QCoreApplication>

#include "DocumentList.h"
#include "DropDownHeight.h"
#include "Resource.h"
#include "Resources.h"
#include "ShadeButton.h"

CDialogCombine::CDialogCombine(QWidget* parent) : CTemplateDialog(*resources::Dialog(IDD_COMBINE), parent) {
    FitDropDowns(this);
    for (int id : {IDOK, IDCANCEL})
        static_cast<CShadeButton*>(SubclassDlgItem(id, new CShadeButton))->SetStandardShade();
}

void CDialogCombine::OnInitDialog() {
    CTemplateDialog::OnInitDialog();
    const auto documents = documentlist::OpenDocuments();
    for (int id : {IDC_CMB_SOURCE_RED, IDC_CMB_SOURCE_GREEN, IDC_CMB_SOURCE_BLUE})
        documentlist::Fill(GetDlgItem<QComboBox>(id), documents);
    documentlist::Fill(GetDlgItem<QComboBox>(IDC_CMB_SOURCE_ALPHA), documents, true);
    const QStringList planes = {QCoreApplication::translate("CombineDialog", "Grau"),
                                QCoreApplication::translate("CombineDialog", "Rot"),
                                QCoreApplication::translate("CombineDialog", "Grün"),
                                QCoreApplication::translate("CombineDialog", "Blau")};
    for (int id : {IDC_CMB_PLANE_RED, IDC_CMB_PLANE_GREEN, IDC_CMB_PLANE_BLUE, IDC_CMB_PLANE_ALPHA})
        SetItems(id, planes);
    SetItems(IDC_CMB_COLOUR_SPACE, {QStringLiteral("RGB"), QStringLiteral("HSL"), QStringLiteral("YUV"),
                                    QStringLiteral("YIQ"), QStringLiteral("XYZ")});
    for (int id : {IDC_CMB_SOURCE_RED, IDC_CMB_SOURCE_GREEN, IDC_CMB_SOURCE_BLUE, IDC_CMB_SOURCE_ALPHA,
                   IDC_CMB_COLOUR_SPACE})
        SetCurSel(id, 0);
    SetCurSel(IDC_CMB_PLANE_RED, PLANE_RED);
    SetCurSel(IDC_CMB_PLANE_GREEN, PLANE_GREEN);
    SetCurSel(IDC_CMB_PLANE_BLUE, PLANE_BLUE);
    SetCurSel(IDC_CMB_PLANE_ALPHA, PLANE_GREY);
}

void CDialogCombine::OnOK() {
    m_source1 = documentlist::Selected(GetDlgItem<QComboBox>(IDC_CMB_SOURCE_RED));
    m_source2 = documentlist::Selected(GetDlgItem<QComboBox>(IDC_CMB_SOURCE_GREEN));
    m_source3 = documentlist::Selected(GetDlgItem<QComboBox>(IDC_CMB_SOURCE_BLUE));
    m_alphaSource = documentlist::Selected(GetDlgItem<QComboBox>(IDC_CMB_SOURCE_ALPHA));
    m_plane1 = GetCurSel(IDC_CMB_PLANE_RED);
    m_plane2 = GetCurSel(IDC_CMB_PLANE_GREEN);
    m_plane3 = GetCurSel(IDC_CMB_PLANE_BLUE);
    m_alphaPlane = GetCurSel(IDC_CMB_PLANE_ALPHA);
    m_colourSpace = GetCurSel(IDC_CMB_COLOUR_SPACE);
    CTemplateDialog::OnOK();
}
