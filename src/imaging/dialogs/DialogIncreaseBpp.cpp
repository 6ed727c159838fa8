#include "DialogIncreaseBpp.h"

#include "Image.h"

#include "Resource.h"
#include "ShadedButtons.h"
#include "TranslatedTables.h"

namespace {

using K = DialogControlKind;

const DialogTemplate kTemplate{
    IDD_INCREASE_BPP, QT_TRANSLATE_NOOP("IncreaseBppDialog", "Erhöhen Bpp"), 150, 84,
    {{0, K::GroupBox, "Bpp", 8, 6, 76, 58},
     {IDC_IBPP_4, K::RadioButton, "4", 18, 18, 50, 10, DS_GROUP},
     {IDC_IBPP_8, K::RadioButton, "8", 18, 32, 50, 10},
     {IDC_IBPP_24, K::RadioButton, "24", 18, 46, 50, 10},
     {IDOK, K::DefPushButton, "OK", 92, 10, 50, 14},
     {IDCANCEL, K::PushButton, QT_TRANSLATE_NOOP("IncreaseBppDialog", "Abbrechen"), 92, 30, 50, 14}}};

} // namespace

CDialogIncreaseBpp::CDialogIncreaseBpp(QWidget* parent)
    : CTemplateDialog(resources::TranslatedTables::Instance().Dialog({"IncreaseBppDialog", kTemplate}), parent) {
    ShadeButtons(*this, {IDOK, IDCANCEL});
}

void CDialogIncreaseBpp::OnInitDialog() {
    CTemplateDialog::OnInitDialog();
    CheckDlgButton(m_bpp == 4 ? IDC_IBPP_4 : m_bpp == 8 ? IDC_IBPP_8 : IDC_IBPP_24, true);
}

void CDialogIncreaseBpp::OnOK() {
    m_bpp = IsDlgButtonChecked(IDC_IBPP_4) ? 4 : IsDlgButtonChecked(IDC_IBPP_8) ? 8 : 24;
    CTemplateDialog::OnOK();
}

CImageSteps CDialogIncreaseBpp::Steps() const { return {{"IncreaseBpp", {CImageSteps::Int(m_bpp)}}}; }
