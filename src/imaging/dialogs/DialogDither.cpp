#include "DialogDither.h"

#include "Image.h"

#include "Resource.h"
#include "ShadedButtons.h"
#include "TranslatedTables.h"

namespace {

using K = DialogControlKind;

// The radios are in the order of the method numbers.
const DialogTemplate kTemplate{
    IDD_DITHER, QT_TRANSLATE_NOOP("DitherDialog", "Dither"), 220, 140,
    {{IDC_DIT_FLOYD_STEINBERG, K::RadioButton, QT_TRANSLATE_NOOP("DitherDialog", "Floyd-Steinberg"), 12, 10,
      140, 10, DS_GROUP},
     {IDC_DIT_ORDERED, K::RadioButton, QT_TRANSLATE_NOOP("DitherDialog", "Ordered dither"), 12, 24, 140, 10},
     {IDC_DIT_BURKES, K::RadioButton, QT_TRANSLATE_NOOP("DitherDialog", "Burkes"), 12, 38, 140, 10},
     {IDC_DIT_STUCKI, K::RadioButton, QT_TRANSLATE_NOOP("DitherDialog", "Stucki"), 12, 52, 140, 10},
     {IDC_DIT_JARVIS, K::RadioButton, QT_TRANSLATE_NOOP("DitherDialog", "Jarvis-Judice-Ninke"), 12, 66, 140,
      10},
     {IDC_DIT_SIERRA, K::RadioButton, QT_TRANSLATE_NOOP("DitherDialog", "Sierra"), 12, 80, 140, 10},
     {IDC_DIT_STEVENSON_ARCE, K::RadioButton, QT_TRANSLATE_NOOP("DitherDialog", "Stevenson-Arce"), 12, 94,
      140, 10},
     {IDC_DIT_BAYER, K::RadioButton, QT_TRANSLATE_NOOP("DitherDialog", "Bayer matrix (4x4 ordered dither)"),
      12, 108, 140, 10},
     {IDOK, K::DefPushButton, "OK", 162, 10, 50, 14},
     {IDCANCEL, K::PushButton, QT_TRANSLATE_NOOP("DitherDialog", "Abbrechen"), 162, 30, 50, 14}}};

} // namespace

CDialogDither::CDialogDither(QWidget* parent)
    : CTemplateDialog(resources::TranslatedTables::Instance().Dialog({"DitherDialog", kTemplate}), parent) {
    ShadeButtons(*this, {IDOK, IDCANCEL});
    Bind(IDC_DIT_FLOYD_STEINBERG, &m_method);
}

CImageSteps CDialogDither::Steps() const { return {{"Dither", {CImageSteps::Int(m_method)}}}; }
