#include "DialogRepair.h"

#include "NumericEdit.h"
#include "Resource.h"
#include "ShadedButtons.h"
#include "TranslatedTables.h"

namespace {

using K = DialogControlKind;

const DialogTemplate kTemplate{
    IDD_REPAIR, QT_TRANSLATE_NOOP("RepairDialog", "Wiederherstellen"), 170, 86,
    {{0, K::Static, QT_TRANSLATE_NOOP("RepairDialog", "Farbraum"), 10, 12, 50, 8},
     {IDC_REP_COLOUR_SPACE, K::ComboBox, "", 64, 10, 40, 13},
     {0, K::Static, QT_TRANSLATE_NOOP("RepairDialog", "Radius"), 10, 30, 50, 8},
     {IDC_REP_RADIUS, K::Edit, "", 64, 28, 40, 13},
     {0, K::Static, QT_TRANSLATE_NOOP("RepairDialog", "Wiederholen"), 10, 48, 50, 8},
     {IDC_REP_ITERATIONS, K::Edit, "", 64, 46, 40, 13},
     {IDOK, K::DefPushButton, "OK", 112, 10, 50, 14},
     {IDCANCEL, K::PushButton, QT_TRANSLATE_NOOP("RepairDialog", "Abbrechen"), 112, 30, 50, 14}}};

} // namespace

CDialogRepair::CDialogRepair(QWidget* parent)
    : CTemplateDialog(resources::TranslatedTables::Instance().Dialog({"RepairDialog", kTemplate}), parent) {
    ShadeButtons(*this, {IDOK, IDCANCEL});
    SubclassDlgItem(IDC_REP_RADIUS, new CNumericEdit(CNumericEdit::Kind::Real));
    SubclassDlgItem(IDC_REP_ITERATIONS, new CNumericEdit(CNumericEdit::Kind::Integer));
    Bind(IDC_REP_COLOUR_SPACE, &m_colourSpace);
    Bind(IDC_REP_RADIUS, &m_radius, -10, 10); // what the repair operation takes
    Bind(IDC_REP_ITERATIONS, &m_iterations, 1, 50);
}

void CDialogRepair::OnInitDialog() {
    SetItems(IDC_REP_COLOUR_SPACE, {"RGB", "HSL", "YUV", "YIQ", "XYZ"});
    CTemplateDialog::OnInitDialog();
}
