#include "DialogOpacity.h"

#include "NumericEdit.h"
#include "Resource.h"
#include "ShadedButtons.h"
#include "TranslatedTables.h"

namespace {

using K = DialogControlKind;

const DialogTemplate kTemplate{
    IDD_OPACITY, QT_TRANSLATE_NOOP("OpacityDialog", "Opacity"), 160, 64,
    {{0, K::Static, QT_TRANSLATE_NOOP("OpacityDialog", "Level [0...255]"), 10, 10, 90, 8},
     {IDC_OPA_LEVEL, K::Edit, "", 10, 22, 60, 13},
     {IDOK, K::DefPushButton, "OK", 102, 8, 50, 14},
     {IDCANCEL, K::PushButton, QT_TRANSLATE_NOOP("OpacityDialog", "Abbrechen"), 102, 28, 50, 14}}};

} // namespace

CDialogOpacity::CDialogOpacity(QWidget* parent)
    : CTemplateDialog(resources::TranslatedTables::Instance().Dialog({"OpacityDialog", kTemplate}), parent) {
    ShadeButtons(*this, {IDOK, IDCANCEL});
    SubclassDlgItem(IDC_OPA_LEVEL, new CNumericEdit(CNumericEdit::Kind::Unsigned));
    // A byte: the exchange itself keeps it within 0..255.
    Bind(IDC_OPA_LEVEL, &m_level);
}
