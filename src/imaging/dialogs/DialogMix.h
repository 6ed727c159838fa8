// "Mix ..." (template 165): a destination and a source document, the raster
// operation, the source's offset and whether alpha takes part, with a
// thumbnail of the result.
#pragma once

#include "Image.h"
#include "TemplateDialog.h"
#include "ThumbnailPreview.h"

class CKXViewDoc;
class QComboBox;

class CDialogMix : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CDialogMix(QWidget* parent = nullptr);

    // Mixes the thumbnails of the chosen documents into the preview.
    void UpdatePreview();
    const CThumbnailPreview& Preview() const { return m_preview; }

    // Read after OK (documents null when none is chosen).
    CKXViewDoc* m_destination = nullptr;
    CKXViewDoc* m_source = nullptr;
    int m_operation = vimg::Image::OpAnd;
    int m_x = 0;
    int m_y = 0;
    bool m_mixAlpha = false;

protected:
    void OnInitDialog() override;
    void OnOK() override;
    void OnChange(int id) override;
    void OnClicked(int id) override;

private:
    void ReadLists();

    CThumbnailPreview m_preview;
    QComboBox* m_destinationList;
    QComboBox* m_sourceList;
    QComboBox* m_operationList;
};
