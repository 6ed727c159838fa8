// The processing commands of the document: worker operations, the commands
// that change the image at once and the ones that make new documents.
//
// Concurrency: while a worker runs (IsBusy) no command touches the image.
// Every handler here returns at once when busy, and every update handler
// disables its command then, also the ones whose rule asks only for an image
// or for nothing; the views paint from the copy taken before the operation.
#include <cmath>

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>

#include "CmdUI.h"
#include "CommandSteps.h"
#include "EllipseWarp.h"
#include "Image.h"
#include "KXViewDoc.h"
#include "LibraryMessages.h"
#include "MemFile.h"
#include "MultiDocTemplate.h"
#include "Resource.h"
#include "UserMessages.h"

namespace {

void ShowLibraryError(const vimg::Image& image, const QString& fallback) {
    const QString text = CLibraryMessages::Reason(QString::fromUtf8(image.GetLastError()), fallback);
    QMessageBox::warning(CKXViewDoc::MainWindow(), QStringLiteral("Vistorel"), text, QMessageBox::Ok);
}

// The wait cursor while a long command runs on the user-interface thread.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

struct SplitCommand {
    int command;
    const char* operation;
    std::vector<const char*> titles;
};

const std::vector<SplitCommand>& SplitCommands() {
    static const std::vector<SplitCommand> table = {
        {ID_SPLIT_RGB,
         "SplitRGB",
         {QT_TRANSLATE_NOOP("ProcessingCommands", "Red Channel %1 from %2"),
          QT_TRANSLATE_NOOP("ProcessingCommands", "Green Channel %1 from %2"),
          QT_TRANSLATE_NOOP("ProcessingCommands", "Blue Channel %1 from %2")}},
        {ID_SPLIT_YUV,
         "SplitYUV",
         {QT_TRANSLATE_NOOP("ProcessingCommands", "Y Channel %1 from %2"),
          QT_TRANSLATE_NOOP("ProcessingCommands", "U Channel %1 from %2"),
          QT_TRANSLATE_NOOP("ProcessingCommands", "V Channel %1 from %2")}},
        {ID_SPLIT_HSL,
         "SplitHSL",
         {QT_TRANSLATE_NOOP("ProcessingCommands", "Hue Channel %1 from %2"),
          QT_TRANSLATE_NOOP("ProcessingCommands", "Saturation Channel %1 from %2"),
          QT_TRANSLATE_NOOP("ProcessingCommands", "Lightness Channel %1 from %2")}},
        {ID_SPLIT_YIQ,
         "SplitYIQ",
         {QT_TRANSLATE_NOOP("ProcessingCommands", "Y Channel %1 from %2"),
          QT_TRANSLATE_NOOP("ProcessingCommands", "I Channel %1 from %2"),
          QT_TRANSLATE_NOOP("ProcessingCommands", "Q Channel %1 from %2")}},
        {ID_SPLIT_XYZ,
         "SplitXYZ",
         {QT_TRANSLATE_NOOP("ProcessingCommands", "X Channel %1 from %2"),
          QT_TRANSLATE_NOOP("ProcessingCommands", "Y Channel %1 from %2"),
          QT_TRANSLATE_NOOP("ProcessingCommands", "Z Channel %1 from %2")}},
        {ID_SPLIT_CMYK,
         "SplitCMYK",
         {QT_TRANSLATE_NOOP("ProcessingCommands", "C Channel %1 from %2"),
          QT_TRANSLATE_NOOP("ProcessingCommands", "M Channel %1 from %2"),
          QT_TRANSLATE_NOOP("ProcessingCommands", "Y Channel %1 from %2"),
          QT_TRANSLATE_NOOP("ProcessingCommands", "K Channel %1 from %2")}}};
    return table;
}

// The crop's origin corner of a rectangle drawn with Shift: the top-most of
// the first four points, the left-most of equally high ones, the later of two
// equal ones.
int TopCorner(const std::array<vimg::POINT, CKXViewDoc::kMaxSelPoints>& points) {
    int best = 0;
    for (int i = 1; i < 4; ++i) {
        const vimg::POINT& p = points[static_cast<size_t>(i)];
        const vimg::POINT& b = points[static_cast<size_t>(best)];
        if (p.y < b.y || (p.y == b.y && p.x <= b.x)) best = i;
    }
    return best;
}

} // namespace

// Busy first: while the worker runs even the validity of its image may change.
bool CKXViewDoc::Editable() const {
    return !m_busy && m_image && m_image->IsValid();
}

void CKXViewDoc::ChangeSynchronously(bool hintFull, const std::function<void(vimg::Image&)>& change) {
    if (!Editable() || !SubmitUndo()) return;
    change(*m_image);
    UpdateAllViews(nullptr, hintFull ? LPARAM{UM_UPDATE_IMAGE} : 0);
}

void CKXViewDoc::RegisterProcessingCommands() {
    auto rule = [this](int id, std::function<bool(const vimg::Image&)> holds) {
        OnUpdateCommand(
            id, [this, holds = std::move(holds)](CCmdUI* ui) { ui->Enable(Editable() && holds(*m_image)); });
    };
    auto ruleA = [rule](int id) { rule(id, [](const vimg::Image&) { return true; }); };
    // Commands whose handler looks for the image itself: enabled unless busy.
    auto ruleNotBusy = [this](int id) { OnUpdateCommand(id, [this](CCmdUI* ui) { ui->Enable(!m_busy); }); };

    for (int id : CCommandSteps::Commands()) {
        OnCommand(id, [this, id] { StartSteps(*CCommandSteps::For(id)); });
        // "Weißabgleich" looks for the picture itself.
        if (id == ID_WHITE_BALANCE)
            ruleNotBusy(id);
        else
            ruleA(id);
    }

    OnCommand(ID_IMAGE_CROP, [this] { OnCrop(); });
    rule(ID_IMAGE_CROP, [](const vimg::Image& image) { return image.SelectionIsValid(); });
    OnCommand(ID_IMAGE_ELLIPSE, [this] { OnEllipse(); });
    OnUpdateCommand(ID_IMAGE_ELLIPSE, [this](CCmdUI* ui) { ui->Enable(Editable()); });
    OnCommand(ID_IMAGE_PSEUDO_COLOURS, [this] { OnPseudoColours(); });
    ruleA(ID_IMAGE_PSEUDO_COLOURS);

    OnCommand(ID_TRANSPARENCY_SET, [this] {
        if (Editable()) m_waitingClick = true;
    });
    ruleA(ID_TRANSPARENCY_SET);
    OnCommand(ID_TRANSPARENCY_REMOVE, [this] {
        if (Editable() && m_image->GetTransIndex() >= 0)
            ChangeSynchronously(false, [](vimg::Image& image) { image.SetTransIndex(-1); });
    });
    rule(ID_TRANSPARENCY_REMOVE, [](const vimg::Image& image) { return image.GetTransIndex() >= 0; });

    OnCommand(ID_ALPHA_DELETE, [this] {
        if (Editable() && m_image->AlphaIsValid())
            ChangeSynchronously(false, [](vimg::Image& image) {
                image.AlphaDelete();
                image.AlphaSetMax(255);
            });
    });
    rule(ID_ALPHA_DELETE, [](const vimg::Image& image) { return image.AlphaIsValid(); });
    OnCommand(ID_ALPHA_INVERT, [this] {
        if (Editable() && m_image->AlphaIsValid())
            ChangeSynchronously(false, [](vimg::Image& image) { image.AlphaInvert(); });
    });
    rule(ID_ALPHA_INVERT, [](const vimg::Image& image) { return image.AlphaIsValid(); });
    OnCommand(ID_ALPHA_PALETTE_TOGGLE, [this] {
        if (Editable() && m_image->AlphaPaletteIsValid())
            ChangeSynchronously(
                false, [](vimg::Image& image) { image.AlphaPaletteEnable(!image.AlphaPaletteIsEnabled()); });
    });
    rule(ID_ALPHA_PALETTE_TOGGLE, [](const vimg::Image& image) { return image.AlphaPaletteIsValid(); });
    OnCommand(ID_ALPHA_STRIP, [this] {
        if (Editable() && (m_image->AlphaIsValid() || m_image->AlphaPaletteIsValid()))
            ChangeSynchronously(true, [](vimg::Image& image) {
                image.SetTransColor(vimg::RGBQUAD{255, 255, 255, 0});
                image.AlphaStrip();
            });
    });
    rule(ID_ALPHA_STRIP,
         [](const vimg::Image& image) { return image.AlphaIsValid() || image.AlphaPaletteIsValid(); });
    OnCommand(ID_ALPHA_FROM_LIGHTNESS, [this] { OnAlphaFromLightness(); });
    ruleNotBusy(ID_ALPHA_FROM_LIGHTNESS);

    for (const SplitCommand& split : SplitCommands()) {
        const int id = split.command;
        OnCommand(id, [this, id] { SplitChannels(id); });
        ruleA(id);
    }
    OnCommand(ID_ALPHA_SPLIT, [this] { SplitAlpha(); });
    rule(ID_ALPHA_SPLIT, [](const vimg::Image& image) { return image.AlphaIsValid(); });
    RegisterDialogCommands();
}

void CKXViewDoc::OnCrop() {
    if (!Editable() || !m_image->SelectionIsValid() || !SubmitUndo()) return;
    const bool rectangle = m_rectSelection && m_selCount == 5 && m_selPoints[4].x == m_selPoints[0].x &&
                           m_selPoints[4].y == m_selPoints[0].y;
    if (rectangle) {
        const int b = TopCorner(m_selPoints);
        const vimg::POINT B = m_selPoints[static_cast<size_t>(b)];
        const vimg::POINT P = m_selPoints[static_cast<size_t>((b + 3) % 4)];
        const vimg::POINT N = m_selPoints[static_cast<size_t>((b + 1) % 4)];
        const auto width = static_cast<int32_t>(std::hypot(double(N.x - B.x), double(N.y - B.y)));
        const auto height = static_cast<int32_t>(std::hypot(double(P.x - B.x), double(P.y - B.y)));
        const auto angle = static_cast<float>(std::atan2(double(N.y - B.y), double(N.x - B.x)));
        m_image->CropRotatedRectangle(B.x, B.y, width, height, angle);
    } else {
        // The box counts rows from the bottom, its top row excluded; Crop counts from the top.
        vimg::RECT box{};
        m_image->SelectionGetBox(box);
        const auto h = static_cast<int32_t>(m_image->GetHeight());
        m_image->Crop(box.left, h - box.top, box.right, h - box.bottom);
    }
    UpdateStatusBar();
    UpdateAllViews(nullptr, UM_UPDATE_IMAGE);
}

void CKXViewDoc::OnEllipse() {
    if (!Editable()) return;
    auto warped = std::make_unique<vimg::Image>();
    if (!SquareToEllipse(*m_image, *warped)) {
        ShowLibraryError(*warped, QCoreApplication::translate("ProcessingCommands",
                                                              "Not enough memory for the new picture."));
        return;
    }
    if (!SubmitUndo()) return;
    m_image = std::move(warped);
    UpdateAllViews(nullptr, 0);
}

void CKXViewDoc::OnPseudoColours() {
    ChangeSynchronously(true, [](vimg::Image& image) {
        if (image.IsGrayScale())
            image.HuePalette(1.0f);
        else
            image.GrayScale();
    });
}

void CKXViewDoc::OnAlphaFromLightness() {
    if (!Editable()) return;
    // The negative lightness becomes the alpha plane: dark parts opaque.
    vimg::Image lightness(*m_image, true, false, false);
    lightness.IncreaseBpp(8);
    lightness.Negative();
    lightness.GrayScale();
    if (!lightness.IsValid()) return;
    ChangeSynchronously(false, [&lightness](vimg::Image& image) { image.AlphaSet(lightness); });
}

// ---- result documents ----

CKXViewDoc* CKXViewDoc::OpenResultDocument(std::unique_ptr<vimg::Image> image, const QString& title) {
    CMultiDocTemplate* docTemplate = GetDocTemplate();
    if (!docTemplate) return nullptr;
    auto* doc = dynamic_cast<CKXViewDoc*>(docTemplate->OpenDocumentFile(QString()));
    if (!doc) return nullptr;
    doc->m_image = std::move(image);
    doc->SetTitle(title);
    doc->MarkPictureChanged(doc->m_image != nullptr); // made here, kept nowhere yet
    doc->UpdateAllViews(nullptr, UM_UPDATE_IMAGE);
    return doc;
}

void CKXViewDoc::SplitChannels(int command) {
    if (!Editable()) return;
    const auto found = std::find_if(SplitCommands().begin(), SplitCommands().end(),
                                    [command](const SplitCommand& s) { return s.command == command; });
    if (found == SplitCommands().end()) return;
    std::vector<std::unique_ptr<vimg::Image>> parts;
    for (size_t i = 0; i < found->titles.size(); ++i)
        parts.push_back(std::make_unique<vimg::Image>());
    Stopwatch(false);
    bool ok;
    if (parts.size() == 4)
        ok = m_image->SplitCMYK(parts[0].get(), parts[1].get(), parts[2].get(), parts[3].get());
    else if (command == ID_SPLIT_RGB)
        ok = m_image->SplitRGB(parts[0].get(), parts[1].get(), parts[2].get());
    else if (command == ID_SPLIT_YUV)
        ok = m_image->SplitYUV(parts[0].get(), parts[1].get(), parts[2].get());
    else if (command == ID_SPLIT_HSL)
        ok = m_image->SplitHSL(parts[0].get(), parts[1].get(), parts[2].get());
    else if (command == ID_SPLIT_YIQ)
        ok = m_image->SplitYIQ(parts[0].get(), parts[1].get(), parts[2].get());
    else
        ok = m_image->SplitXYZ(parts[0].get(), parts[1].get(), parts[2].get());
    Stopwatch(true);
    UpdateStatusBar();
    if (!ok) {
        ShowLibraryError(*m_image,
                         QCoreApplication::translate("ProcessingCommands", "The channels cannot be split."));
        return;
    }
    const int number = NextResultNumber();
    const QString source = GetTitle();
    for (size_t i = 0; i < parts.size(); ++i)
        OpenResultDocument(
            std::move(parts[i]),
            QCoreApplication::translate("ProcessingCommands", found->titles[i]).arg(number).arg(source));
}

void CKXViewDoc::SplitAlpha() {
    if (!Editable() || !m_image->AlphaIsValid()) return;
    auto alpha = std::make_unique<vimg::Image>();
    Stopwatch(false);
    const bool ok = m_image->AlphaSplit(alpha.get());
    Stopwatch(true);
    UpdateStatusBar();
    if (!ok) {
        ShowLibraryError(*m_image, QCoreApplication::translate("ProcessingCommands",
                                                               "The alpha channel cannot be split."));
        return;
    }
    OpenResultDocument(std::move(alpha),
                       QCoreApplication::translate("ProcessingCommands", "Alpha Channel %1 from %2")
                           .arg(NextResultNumber())
                           .arg(GetTitle()));
}

void CKXViewDoc::CombineDocuments(const std::array<CKXViewDoc*, 4>& sources,
                                  const std::array<int, 4>& channels, int colourSpace) {
    for (int i = 0; i < 3; ++i)
        if (!sources[static_cast<size_t>(i)] || !sources[static_cast<size_t>(i)]->Editable()) return;
    if (sources[3] && !sources[3]->Editable()) return;
    WaitCursor wait;
    Stopwatch(false);
    std::array<std::unique_ptr<vimg::Image>, 4> planes;
    for (size_t i = 0; i < 4; ++i) {
        if (!sources[i]) continue;
        const vimg::Image& image = *sources[i]->m_image;
        if (channels[i] <= 0 || channels[i] > 3) {
            planes[i] = std::make_unique<vimg::Image>(image, true, false, false);
            planes[i]->GrayScale();
        } else {
            vimg::Image rgb[3];
            image.SplitRGB(&rgb[0], &rgb[1], &rgb[2]);
            planes[i] = std::make_unique<vimg::Image>(std::move(rgb[channels[i] - 1]));
        }
    }
    auto combined = std::make_unique<vimg::Image>();
    const bool ok =
        combined->Combine(planes[0].get(), planes[1].get(), planes[2].get(), planes[3].get(), colourSpace);
    if (ok) {
        // This title shows the counter before it advances.
        const int number = m_settings->imageCounter++;
        OpenResultDocument(std::move(combined),
                           QCoreApplication::translate("ProcessingCommands", "NewImage%1").arg(number));
    }
    Stopwatch(true);
    UpdateStatusBar();
    if (!ok)
        ShowLibraryError(
            *combined, QCoreApplication::translate("ProcessingCommands", "The channels cannot be combined."));
}

void CKXViewDoc::FourierDocuments(CKXViewDoc* real, CKXViewDoc* imaginary, int direction, bool force,
                                  bool magnitude) {
    const vimg::Image* re = real && real->Editable() ? real->m_image.get() : nullptr;
    const vimg::Image* im = imaginary && imaginary->Editable() ? imaginary->m_image.get() : nullptr;
    if (!re && !im) return;
    WaitCursor wait;
    Stopwatch(false);
    // A missing part is black of the other's size.
    auto copyOrBlack = [](const vimg::Image* part, const vimg::Image& other) {
        if (part) return vimg::Image(*part, true, false, false);
        vimg::Image black(other.GetWidth(), other.GetHeight(), 8);
        black.SetGrayPalette();
        black.Clear(0);
        return black;
    };
    vimg::Image inReal = copyOrBlack(re, im ? *im : *re);
    vimg::Image inImag = copyOrBlack(im, re ? *re : *im);
    auto outReal = std::make_unique<vimg::Image>();
    auto outImag = std::make_unique<vimg::Image>();
    const bool ok = inReal.FFT2(&inReal, &inImag, outReal.get(), outImag.get(), direction, force, magnitude);
    if (ok) {
        const int number = NextResultNumber();
        OpenResultDocument(std::move(outImag),
                           (magnitude ? QCoreApplication::translate("ProcessingCommands", "FFT Phase %1")
                                      : QCoreApplication::translate("ProcessingCommands", "FFT Imag %1"))
                               .arg(number));
        OpenResultDocument(std::move(outReal),
                           (magnitude ? QCoreApplication::translate("ProcessingCommands", "FFT Magnitude %1")
                                      : QCoreApplication::translate("ProcessingCommands", "FFT Real %1"))
                               .arg(number));
    }
    Stopwatch(true);
    UpdateStatusBar();
    if (!ok)
        ShowLibraryError(inReal,
                         QCoreApplication::translate("ProcessingCommands", "The Fourier transform failed."));
}

void CKXViewDoc::MixDocuments(CKXViewDoc* destination, CKXViewDoc* source, int operation, int x, int y,
                              bool mixAlpha) {
    if (!destination || !source || !destination->Editable() || !source->Editable()) return;
    WaitCursor wait;
    Stopwatch(false);
    auto mixed = std::make_unique<vimg::Image>(*destination->m_image);
    const bool ok = mixed->Mix(*source->m_image, operation, x, y, mixAlpha);
    if (ok)
        OpenResultDocument(
            std::move(mixed),
            QCoreApplication::translate("ProcessingCommands", "Mix %1").arg(NextResultNumber()));
    Stopwatch(true);
    UpdateStatusBar();
    if (!ok)
        ShowLibraryError(*mixed,
                         QCoreApplication::translate("ProcessingCommands", "The pictures cannot be mixed."));
}

void CKXViewDoc::CompressionDocument(int quality, int format) {
    if (!Editable()) return;
    WaitCursor wait;
    Stopwatch(false);
    const uint32_t type = format == 0   ? uint32_t{vimg::FORMAT_JPG}
                          : format == 1 ? uint32_t{vimg::FORMAT_JPC}
                                        : 0;
    auto copy = std::make_unique<vimg::Image>(*m_image);
    if (!copy->IsGrayScale()) copy->IncreaseBpp(24);
    copy->SetTransIndex(-1);
    copy->SetJpegQuality(static_cast<uint8_t>(std::clamp(quality, 0, 100)));
    vimg::MemFile stream;
    bool ok = stream.Open() && copy->Encode(&stream, type);
    const int32_t size = ok ? stream.Size() : 0;
    if (ok) {
        stream.Seek(0, SEEK_SET);
        ok = copy->Decode(&stream, type);
    }
    if (ok)
        OpenResultDocument(std::move(copy), QCoreApplication::translate("ProcessingCommands",
                                                                        "Jpeg compr. %1, q = %2, size = %3")
                                                .arg(NextResultNumber())
                                                .arg(quality)
                                                .arg(size));
    else
        ShowLibraryError(
            *copy, QCoreApplication::translate("ProcessingCommands", "The picture cannot be compressed."));
    Stopwatch(true);
    UpdateStatusBar();
}
