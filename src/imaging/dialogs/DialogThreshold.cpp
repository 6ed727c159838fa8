#include "DialogThreshold.h"

#include "Image.h"

#include "NumericEdit.h"
#include "Resource.h"
#include "ShadedButtons.h"
#include "TranslatedTables.h"

namespace {

using K = DialogControlKind;

const DialogTemplate kTemplate{
    IDD_THRESHOLD, QT_TRANSLATE_NOOP("ThresholdDialog", "Schwelle"), 160, 64,
    {{0, K::Static, QT_TRANSLATE_NOOP("ThresholdDialog", "Level [0 ... 255]"), 10, 10, 90, 8},
     {IDC_THR_LEVEL, K::Edit, "", 10, 22, 60, 13},
     {IDOK, K::DefPushButton, "OK", 102, 8, 50, 14},
     {IDCANCEL, K::PushButton, QT_TRANSLATE_NOOP("ThresholdDialog", "Abbrechen"), 102, 28, 50, 14}}};

} // namespace

CDialogThreshold::CDialogThreshold(QWidget* parent)
    : CTemplateDialog(resources::TranslatedTables::Instance().Dialog({"ThresholdDialog", kTemplate}),
                      parent) {
    ShadeButtons(*this, {IDOK, IDCANCEL});
    SubclassDlgItem(IDC_THR_LEVEL, new CNumericEdit(CNumericEdit::Kind::Unsigned));
    Bind(IDC_THR_LEVEL, &m_level, 0, 255);
}

CImageSteps CDialogThreshold::Steps() const { return {{"Threshold", {CImageSteps::Int(m_level)}}}; }
