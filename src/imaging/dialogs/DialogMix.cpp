#include "DialogMix.h"

#include <QComboBox>
#include <QLabel>

#include "DocumentList.h"
#include "DropDownHeight.h"
#include "KXViewDoc.h"
#include "Resource.h"
#include "Resources.h"
#include "ShadeButton.h"

CDialogMix::CDialogMix(QWidget* parent)
    : CTemplateDialog(*resources::Dialog(IDD_MIX), parent), m_preview(GetDlgItem<QLabel>(IDC_MIX_PREVIEW)),
      m_destinationList(GetDlgItem<QComboBox>(IDC_MIX_DESTINATION)),
      m_sourceList(GetDlgItem<QComboBox>(IDC_MIX_SOURCE)),
      m_operationList(GetDlgItem<QComboBox>(IDC_MIX_OPERATION)) {
    FitDropDowns(this);
    for (int id : {IDOK, IDCANCEL, IDC_MIX_PREVIEW_BUTTON})
        static_cast<CShadeButton*>(SubclassDlgItem(id, new CShadeButton))->SetStandardShade();
    Bind(IDC_MIX_X, &m_x);
    Bind(IDC_MIX_Y, &m_y);
    Bind(IDC_MIX_ALPHA, &m_mixAlpha);
}

void CDialogMix::OnInitDialog() {
    CTemplateDialog::OnInitDialog();
    const auto documents = documentlist::OpenDocuments();
    documentlist::Fill(m_destinationList, documents);
    documentlist::Fill(m_sourceList, documents);
    SetCurSel(IDC_MIX_SOURCE, 0);
    SetCurSel(IDC_MIX_DESTINATION, documents.size() >= 2 ? 1 : 0);
    // Display order and the operation each entry stands for.
    using I = vimg::Image;
    const std::pair<const char*, int> operations[] = {
        {"OpAdd", I::OpAdd},         {"OpAnd", I::OpAnd},
        {"OpXor", I::OpXor},         {"OpOr", I::OpOr},
        {"OpScreen", I::OpScreen},   {"OpMask", I::OpMask},
        {"OpSrcCopy", I::OpSrcCopy}, {"OpDstCopy", I::OpDstCopy},
        {"OpSub", I::OpSub},         {"OpSrcBlend", I::OpSrcBlend}};
    {
        const QSignalBlocker block(m_operationList);
        m_operationList->clear();
        for (const auto& [name, op] : operations)
            m_operationList->addItem(QString::fromLatin1(name), op);
        m_operationList->setCurrentIndex(1);
    }
    ReadLists();
    UpdatePreview();
}

void CDialogMix::ReadLists() {
    m_destination = documentlist::Selected(m_destinationList);
    m_source = documentlist::Selected(m_sourceList);
    m_operation = m_operationList->currentData().toInt();
}

void CDialogMix::UpdatePreview() {
    vimg::Image result;
    if (m_destination && m_source && m_preview.MakeThumbnail(m_destination)) {
        const float s = m_preview.ScaleFactor();
        vimg::Image source;
        if (CThumbnailPreview::ScaledCopy(m_source, s, source)) {
            result.Copy(m_preview.Thumbnail(), true, true, true);
            result.Mix(source, m_operation, static_cast<int32_t>(static_cast<float>(m_x) * s),
                       static_cast<int32_t>(static_cast<float>(m_y) * s), m_mixAlpha);
            if (m_mixAlpha) {
                result.SetTransColor(vimg::RGBQUAD{255, 255, 255, 0});
                result.AlphaDelete(); // shown without its alpha plane
            }
        }
    }
    m_preview.Show(result);
}

void CDialogMix::OnChange(int id) {
    if (id != IDC_MIX_DESTINATION && id != IDC_MIX_SOURCE && id != IDC_MIX_OPERATION) return;
    ReadLists();
    if (UpdateData(true)) UpdatePreview();
}

void CDialogMix::OnClicked(int id) {
    if (id != IDC_MIX_PREVIEW_BUTTON) return;
    ReadLists();
    if (UpdateData(true)) UpdatePreview();
}

void CDialogMix::OnOK() {
    ReadLists();
    if (!UpdateData(true)) return;
    UpdatePreview();
    accept();
}
