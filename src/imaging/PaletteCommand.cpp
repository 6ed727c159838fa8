// The document's "Palette" command: the palette dialog over a copy of the
// image's colour table, then the edited table applied as the dialog asks.
#include "KXViewDoc.h"

#include <QMessageBox>

#include "CmdUI.h"
#include "DialogPalette.h"
#include "Image.h"
#include "LibraryMessages.h"
#include "Resource.h"
#include "UserMessages.h"

void CKXViewDoc::RegisterPaletteCommand() {
    OnCommand(ID_VIEW_PALETTE, [this] { OnPalette(); });
    OnUpdateCommand(ID_VIEW_PALETTE, [this](CCmdUI* ui) {
        ui->Enable(m_image && m_image->IsValid() && !m_busy && m_image->GetNumColors() > 0);
    });
}

bool CKXViewDoc::ApplyPalette(vimg::Image& image, int mode, const vimg::RGBQUAD* table, int count) {
    if (!image.IsValid() || count <= 0) return false;
    switch (mode) {
    case CDialogPalette::MODE_MAINTAIN_INDEXES:
        image.SetPalette(table, static_cast<uint32_t>(count));
        return true;
    case CDialogPalette::MODE_NEAREST:
    case CDialogPalette::MODE_DIFFUSION: {
        const uint32_t depth = image.GetBpp();
        return image.IncreaseBpp(24) &&
               image.DecreaseBpp(depth, mode == CDialogPalette::MODE_DIFFUSION, table, 0);
    }
    default:
        return false;
    }
}

void CKXViewDoc::OnPalette() {
    if (!m_image || !m_image->IsValid() || m_busy) return;
    QWidget* mainWindow = MainWindow();
    CDialogPalette dialog(mainWindow);
    dialog.SetTable(m_image->GetPalette(), static_cast<int>(m_image->GetNumColors()));
    if (dialog.exec() != QDialog::Accepted || !dialog.Changed()) return;
    // The table goes onto a copy first: a conversion that fails halfway
    // leaves the document's image as it was and records no undo step.
    auto changed = std::make_unique<vimg::Image>(*m_image);
    if (!ApplyPalette(*changed, dialog.ApplyMode(), dialog.Table(), dialog.Count())) {
        if (changed->GetLastError()[0])
            QMessageBox::warning(mainWindow, QStringLiteral("Vistorel"),
                                 CLibraryMessages::Reason(QString::fromUtf8(changed->GetLastError())),
                                 QMessageBox::Ok);
        return;
    }
    if (!SubmitUndo()) return;
    SetImage(std::move(changed));
    UpdateAllViews(nullptr, UM_UPDATE_IMAGE);
}
