#include "DialogJpegCompression.h"

#include "NumericEdit.h"
#include "Resource.h"
#include "ShadedButtons.h"
#include "TranslatedTables.h"

namespace {

using K = DialogControlKind;

const DialogTemplate kTemplate{
    IDD_JPEG_COMPRESSION, QT_TRANSLATE_NOOP("JpegCompressionDialog", "JPEG compression"), 190, 96,
    {{0, K::Static, QT_TRANSLATE_NOOP("JpegCompressionDialog", "Level [0...255]"), 10, 10, 90, 8},
     {IDC_JPC_QUALITY, K::Edit, "", 10, 22, 60, 13},
     {0, K::GroupBox, QT_TRANSLATE_NOOP("JpegCompressionDialog", "Format"), 8, 42, 116, 44},
     {IDC_JPC_JPEG, K::RadioButton, QT_TRANSLATE_NOOP("JpegCompressionDialog", "Jpeg standard (JPG)"), 16, 54,
      104, 10, DS_GROUP},
     {IDC_JPC_JPEG2000, K::RadioButton, QT_TRANSLATE_NOOP("JpegCompressionDialog", "Jpeg 2000 (JPC, JP2)"),
      16, 68, 104, 10},
     {IDOK, K::DefPushButton, "OK", 132, 8, 50, 14},
     {IDCANCEL, K::PushButton, QT_TRANSLATE_NOOP("JpegCompressionDialog", "Abbrechen"), 132, 28, 50, 14}}};

} // namespace

CDialogJpegCompression::CDialogJpegCompression(QWidget* parent)
    : CTemplateDialog(resources::TranslatedTables::Instance().Dialog({"JpegCompressionDialog", kTemplate}),
                      parent) {
    ShadeButtons(*this, {IDOK, IDCANCEL});
    SubclassDlgItem(IDC_JPC_QUALITY, new CNumericEdit(CNumericEdit::Kind::Integer));
    Bind(IDC_JPC_QUALITY, &m_quality, 0, 100);
    // The radios' position is the format number.
    Bind(IDC_JPC_JPEG, &m_format);
}
