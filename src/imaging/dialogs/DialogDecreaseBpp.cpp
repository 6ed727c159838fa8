#include "DialogDecreaseBpp.h"

#include "Image.h"

#include <algorithm>

#include "NumericEdit.h"
#include "Resource.h"
#include "ShadedButtons.h"
#include "TranslatedTables.h"

namespace {

using K = DialogControlKind;

const DialogTemplate kTemplate{
    IDD_DECREASE_BPP, QT_TRANSLATE_NOOP("DecreaseBppDialog", "Reduzierung Bpp"), 190, 118,
    {{0, K::GroupBox, QT_TRANSLATE_NOOP("DecreaseBppDialog", "Palette"), 8, 6, 90, 44},
     {IDC_DBPP_STANDARD, K::RadioButton, QT_TRANSLATE_NOOP("DecreaseBppDialog", "Standard"), 16, 18, 74, 10,
      DS_GROUP},
     {IDC_DBPP_OPTIMISED, K::RadioButton, QT_TRANSLATE_NOOP("DecreaseBppDialog", "Optimiert"), 16, 32, 74,
      10},
     {0, K::GroupBox, "Bpp", 106, 6, 76, 58},
     {IDC_DBPP_1, K::RadioButton, "1", 116, 18, 50, 10, DS_GROUP},
     {IDC_DBPP_4, K::RadioButton, "4", 116, 32, 50, 10},
     {IDC_DBPP_8, K::RadioButton, "8", 116, 46, 50, 10},
     {IDC_DBPP_DIFFUSION, K::CheckBox, QT_TRANSLATE_NOOP("DecreaseBppDialog", " Error Diffusion"), 8, 56, 90,
      10},
     {IDC_DBPP_LIMIT, K::CheckBox, QT_TRANSLATE_NOOP("DecreaseBppDialog", "Limit max colors:"), 8, 74, 90,
      10},
     {IDC_DBPP_MAX_COLOURS, K::Edit, "", 106, 72, 40, 13},
     {IDOK, K::DefPushButton, "OK", 76, 96, 50, 14},
     {IDCANCEL, K::PushButton, QT_TRANSLATE_NOOP("DecreaseBppDialog", "Abbrechen"), 132, 96, 50, 14}}};

} // namespace

CDialogDecreaseBpp::CDialogDecreaseBpp(QWidget* parent)
    : CTemplateDialog(resources::TranslatedTables::Instance().Dialog({"DecreaseBppDialog", kTemplate}),
                      parent) {
    ShadeButtons(*this, {IDOK, IDCANCEL});
    SubclassDlgItem(IDC_DBPP_MAX_COLOURS, new CNumericEdit(CNumericEdit::Kind::Integer));
    Bind(IDC_DBPP_DIFFUSION, &m_errorDiffusion);
    Bind(IDC_DBPP_LIMIT, &m_limitColours);
    Bind(IDC_DBPP_MAX_COLOURS, &m_maxColours, 2, 256);
}

void CDialogDecreaseBpp::OnInitDialog() {
    CTemplateDialog::OnInitDialog();
    CheckDlgButton(IDC_DBPP_OPTIMISED, true);
    CheckDlgButton(m_bpp == 8 ? IDC_DBPP_8 : m_bpp == 4 ? IDC_DBPP_4 : IDC_DBPP_1, true);
}

void CDialogDecreaseBpp::OnOK() {
    m_bpp = IsDlgButtonChecked(IDC_DBPP_8) ? 8 : IsDlgButtonChecked(IDC_DBPP_4) ? 4 : 1;
    m_paletteMethod = IsDlgButtonChecked(IDC_DBPP_OPTIMISED) ? 1 : 0;
    if (!UpdateData(true)) return;
    // The colour count never exceeds what the bit depth can hold.
    const int most = m_bpp == 8 ? 256 : m_bpp == 4 ? 16 : 2;
    m_maxColours = m_limitColours ? std::min(m_maxColours, most) : most;
    UpdateData(false);
    accept();
}

CImageSteps CDialogDecreaseBpp::Steps() const {
    // The optimised palette alone takes the colour count; the reduction also
    // switches the alpha palette off when it is no longer valid.
    const bool optimised = m_paletteMethod == 1;
    return {{"DecreaseBpp",
             {CImageSteps::Int(m_bpp), CImageSteps::Flag(m_errorDiffusion), CImageSteps::Flag(optimised),
              CImageSteps::Int(optimised ? m_maxColours : 0)}}};
}
