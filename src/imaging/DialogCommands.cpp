// The processing commands that ask for their values in a dialog first.
// Each returns at once while a worker runs (see ProcessingCommands.cpp) and
// checks again after the dialog, which runs the event loop meanwhile.
#include <QApplication>
#include <QMessageBox>

#include "CmdUI.h"
#include "DialogColorize.h"
#include "DialogCombine.h"
#include "DialogDecreaseBpp.h"
#include "DialogDither.h"
#include "DialogFFT.h"
#include "DialogGamma.h"
#include "DialogIncreaseBpp.h"
#include "DialogJpegCompression.h"
#include "DialogLightContrast.h"
#include "DialogMix.h"
#include "DialogOpacity.h"
#include "DialogRepair.h"
#include "DialogResample.h"
#include "DialogRotate.h"
#include "DialogSkew.h"
#include "DialogThreshold.h"
#include "Image.h"
#include "KXViewDoc.h"
#include "Resource.h"

void CKXViewDoc::RegisterDialogCommands() {
    auto ruleA = [this](int id) { OnUpdateCommand(id, [this](CCmdUI* ui) { ui->Enable(Editable()); }); };
    // Commands whose handler looks for the image itself: enabled unless busy.
    auto ruleNotBusy = [this](int id) { OnUpdateCommand(id, [this](CCmdUI* ui) { ui->Enable(!m_busy); }); };

    OnCommand(ID_IMAGE_ROTATE, [this] {
        if (!Editable()) return;
        CDialogRotate dlg(MainWindow());
        if (dlg.exec() != QDialog::Accepted) return;
        if (Editable()) StartSteps(dlg.Steps(*m_image));
    });
    ruleA(ID_IMAGE_ROTATE);

    OnCommand(ID_IMAGE_RESAMPLE, [this] {
        if (!Editable()) return;
        CDialogResample dlg(MainWindow());
        dlg.SetImageSize(static_cast<int>(m_image->GetWidth()), static_cast<int>(m_image->GetHeight()));
        if (dlg.exec() != QDialog::Accepted) return;
        StartSteps(dlg.Steps());
    });
    ruleA(ID_IMAGE_RESAMPLE);

    OnCommand(ID_IMAGE_SKEW, [this] {
        if (!Editable()) return;
        CDialogSkew dlg(MainWindow());
        dlg.SetImageSize(static_cast<int>(m_image->GetWidth()), static_cast<int>(m_image->GetHeight()));
        dlg.m_interpolation = true;
        if (dlg.exec() != QDialog::Accepted) return;
        StartSteps(dlg.Steps());
    });
    ruleA(ID_IMAGE_SKEW);

    OnCommand(ID_IMAGE_DECREASE_BPP, [this] {
        if (!Editable()) return;
        CDialogDecreaseBpp dlg(MainWindow());
        dlg.m_bpp = 4;
        dlg.m_maxColours = 256;
        if (dlg.exec() != QDialog::Accepted) return;
        StartSteps(dlg.Steps());
    });
    ruleNotBusy(ID_IMAGE_DECREASE_BPP);

    OnCommand(ID_IMAGE_INCREASE_BPP, [this] {
        if (!Editable()) return;
        CDialogIncreaseBpp dlg(MainWindow());
        dlg.m_bpp = 24;
        if (dlg.exec() != QDialog::Accepted) return;
        StartSteps(dlg.Steps());
    });
    ruleNotBusy(ID_IMAGE_INCREASE_BPP);

    OnCommand(ID_IMAGE_DITHER, [this] {
        if (!Editable()) return;
        CDialogDither dlg(MainWindow());
        if (dlg.exec() != QDialog::Accepted) return;
        StartSteps(dlg.Steps());
    });
    ruleA(ID_IMAGE_DITHER);

    OnCommand(ID_IMAGE_THRESHOLD, [this] {
        if (!Editable()) return;
        CDialogThreshold dlg(MainWindow());
        dlg.m_level = static_cast<uint8_t>(m_image->Mean());
        if (dlg.exec() != QDialog::Accepted) return;
        StartSteps(dlg.Steps());
    });
    ruleA(ID_IMAGE_THRESHOLD);

    // One dialog in two modes; both run Light(brightness, contrast).
    for (const int id : {ID_IMAGE_USER_LIGHT, ID_IMAGE_USER_CONTRAST}) {
        OnCommand(id, [this, id] {
            if (!Editable()) return;
            const int mode = id == ID_IMAGE_USER_LIGHT ? CDialogLightContrast::MODE_BRIGHTNESS
                                                       : CDialogLightContrast::MODE_CONTRAST;
            CDialogLightContrast dlg(mode, this, MainWindow());
            dlg.m_value = 0;
            if (dlg.exec() != QDialog::Accepted) return;
            StartSteps(dlg.Steps());
        });
        ruleNotBusy(id);
    }

    OnCommand(ID_IMAGE_GAMMA, [this] {
        if (!Editable()) return;
        CDialogGamma dlg(this, MainWindow());
        dlg.m_gamma = 1.23f;
        if (dlg.exec() != QDialog::Accepted) return;
        StartSteps(dlg.Steps());
    });
    ruleA(ID_IMAGE_GAMMA);

    OnCommand(ID_IMAGE_COLORIZE, [this] {
        if (!Editable()) return;
        CDialogColorize dlg(this, MainWindow());
        if (dlg.exec() != QDialog::Accepted) return;
        StartSteps(dlg.Steps());
    });
    ruleA(ID_IMAGE_COLORIZE);

    OnCommand(ID_ALPHA_OPACITY, [this] {
        if (!Editable()) return;
        CDialogOpacity dlg(MainWindow());
        dlg.m_level = m_image->AlphaGetMax();
        if (dlg.exec() == QDialog::Accepted && Editable() && SubmitUndo()) {
            if (!m_image->AlphaIsValid()) m_image->AlphaCreate();
            m_image->AlphaSetMax(dlg.m_level);
        }
        UpdateAllViews(nullptr, 0);
    });
    ruleNotBusy(ID_ALPHA_OPACITY);

    OnCommand(ID_IMAGE_REPAIR, [this] {
        if (!Editable()) return;
        CDialogRepair dlg(MainWindow());
        if (dlg.exec() != QDialog::Accepted || !Editable() || !SubmitUndo()) return;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        Stopwatch(false);
        m_image->Repair(dlg.m_radius, dlg.m_iterations, dlg.m_colourSpace);
        Stopwatch(true);
        QApplication::restoreOverrideCursor();
        UpdateStatusBar();
        UpdateAllViews(nullptr, 0);
    });
    ruleA(ID_IMAGE_REPAIR);

    OnCommand(ID_IMAGE_COMBINE, [this] {
        if (!Editable()) return;
        CDialogCombine dlg(MainWindow());
        if (dlg.exec() != QDialog::Accepted) return;
        CombineDocuments({dlg.m_source1, dlg.m_source2, dlg.m_source3, dlg.m_alphaSource},
                         {dlg.m_plane1, dlg.m_plane2, dlg.m_plane3, dlg.m_alphaPlane}, dlg.m_colourSpace);
    });
    ruleA(ID_IMAGE_COMBINE);

    OnCommand(ID_IMAGE_FFT, [this] {
        if (!Editable()) return;
        CDialogFFT dlg(MainWindow());
        if (dlg.exec() != QDialog::Accepted) return;
        FourierDocuments(dlg.m_realSource, dlg.m_imagSource, dlg.m_direction, dlg.m_force, dlg.m_magnitude);
    });
    ruleA(ID_IMAGE_FFT);

    OnCommand(ID_IMAGE_MIX, [this] {
        if (!Editable()) return;
        CDialogMix dlg(MainWindow());
        if (dlg.exec() != QDialog::Accepted) return;
        MixDocuments(dlg.m_destination, dlg.m_source, dlg.m_operation, dlg.m_x, dlg.m_y, dlg.m_mixAlpha);
    });
    ruleA(ID_IMAGE_MIX);

    OnCommand(ID_IMAGE_JPEG_COMPRESSION, [this] {
        if (!Editable()) return;
        CDialogJpegCompression dlg(MainWindow());
        if (dlg.exec() != QDialog::Accepted) return;
        CompressionDocument(dlg.m_quality, dlg.m_format);
    });
    ruleA(ID_IMAGE_JPEG_COMPRESSION);
}
