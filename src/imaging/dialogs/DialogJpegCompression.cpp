#include "DialogJpegCompression.h"

#include "NumericEdit.h"
#include "Resource.h"
#include "ShadedButtons.h"

namespace {

using K = DialogControlKind;

const DialogTemplate kTemplate{
    IDD_JPEG_COMPRESSION, "JPEG compression", 190, 96,
    {{0, K::Static, "Level [0...255]", 10, 10, 90, 8},
     {IDC_JPC_QUALITY, K::Edit, "", 10, 22, 60, 13},
     {0, K::GroupBox, "Format", 8, 42, 116, 44},
     {IDC_JPC_JPEG, K::RadioButton, "Jpeg standard (JPG)", 16, 54, 104, 10, DS_GROUP},
     {IDC_JPC_JPEG2000, K::RadioButton, "Jpeg 2000 (JPC, JP2)", 16, 68, 104, 10},
     {IDOK, K::DefPushButton, "OK", 132, 8, 50, 14},
     {IDCANCEL, K::PushButton, "Abbrechen", 132, 28, 50, 14}}};

} // namespace

CDialogJpegCompression::CDialogJpegCompression(QWidget* parent) : CTemplateDialog(kTemplate, parent) {
    ShadeButtons(*this, {IDOK, IDCANCEL});
    SubclassDlgItem(IDC_JPC_QUALITY, new CNumericEdit(CNumericEdit::Kind::Integer));
    Bind(IDC_JPC_QUALITY, &m_quality, 0, 100);
    // The radios' position is the format number.
    Bind(IDC_JPC_JPEG, &m_format);
}
