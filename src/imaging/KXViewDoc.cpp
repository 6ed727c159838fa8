#include "KXViewDoc.h"

#include <cstdio>
#include <cstring>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QMimeData>
#include <QRegularExpression>

#include "AppLog.h"
#include "CmdUI.h"
#include "CodecRegistry.h"
#include "CommandIds.h"
#include "DialogOptions.h"
#include "DialogProgress.h"
#include "DialogText.h"
#include "DocumentList.h"
#include "DibBlock.h"
#include "Image.h"
#include "ImageFileDialog.h"
#include "codecs/ImageJPG.h"
#include "KXViewView.h"
#include "LibraryMessages.h"
#include "MeasureFile.h"
#include "MeasureOverlay.h"
#include "MDIFrameWnd.h"
#include "MultiDocTemplate.h"
#include "Resource.h"
#include "Resources.h"
#include "UserMessages.h"
#include "WinApp.h"

namespace {

int64_t CounterNow() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void ShowError(const QString& text) {
    QMessageBox::warning(CKXViewDoc::MainWindow(), QStringLiteral("Vistorel"), text, QMessageBox::Ok);
}

} // namespace

CKXViewDoc::CKXViewDoc(CEditorSettings* settings)
    : m_ownSettings(settings ? nullptr : std::make_unique<CEditorSettings>()),
      m_settings(settings ? settings : m_ownSettings.get()),
      m_exifInfo(std::make_unique<vimg::ImageJPG>()),
      m_counterFrequency(
          std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::seconds(1)).count()) {
    RegisterCommands();
    RegisterPaletteCommand();
    QObject::connect(&m_job, &CImageJob::Progress, &m_job, [this](int percent) { OnJobProgress(percent); });
    QObject::connect(&m_job, &CImageJob::Finished, &m_job,
                     [this](const QString& error, double seconds) { OnJobFinished(error, seconds); });
}

QWidget* CKXViewDoc::MainWindow() { return AfxGetApp() ? AfxGetApp()->GetMainWnd() : nullptr; }

CKXViewDoc::~CKXViewDoc() {
    StopOperation();
    m_undo.Clear();
    m_image.reset();
}

void CKXViewDoc::OnCloseDocument() {
    if (m_closing) return;
    m_closing = true;
    StopOperation();
    CDocument::OnCloseDocument();
}

void CKXViewDoc::RegisterCommands() {
    OnCommand(ID_CANCEL_OPERATION, [this] { CancelOperation(); });
    OnUpdateCommand(ID_CANCEL_OPERATION, [this](CCmdUI* ui) { ui->Enable(m_busy && m_job.Running()); });
    OnCommand(ID_FILE_SAVE, [this] { OnSave(); });
    // The picture must not be written while an operation changes it.
    OnUpdateCommand(ID_FILE_SAVE, [this](CCmdUI* ui) { ui->Enable(!m_busy); });
    OnCommand(ID_FILE_SAVE_AS, [this] { OnSaveAs(); });
    OnUpdateCommand(ID_FILE_SAVE_AS, [this](CCmdUI* ui) { ui->Enable(m_image && !m_busy); });
    OnCommand(ID_FILE_EXPORT_VIEW, [this] { OnExportView(); });
    OnCommand(ID_IMAGE_FOCUS_STACK, [this] { OnFocusStack(); });
    OnCommand(ID_IMAGE_STITCH, [this] { OnStitch(); });
    // Both read the open pictures, not only this one; two are needed.
    for (int id : {ID_IMAGE_FOCUS_STACK, ID_IMAGE_STITCH})
        OnUpdateCommand(id, [](CCmdUI* ui) { ui->Enable(documentlist::OpenDocuments().size() >= 2); });
    OnUpdateCommand(ID_FILE_EXPORT_VIEW, [this](CCmdUI* ui) { ui->Enable(m_image != nullptr); });
    OnCommand(ID_EDIT_COPY, [this] { OnCopy(); });
    OnUpdateCommand(ID_EDIT_COPY, [this](CCmdUI* ui) { ui->Enable(m_image != nullptr); });
    OnCommand(ID_EDIT_UNDO, [this] { OnUndo(); });
    OnUpdateCommand(ID_EDIT_UNDO, [this](CCmdUI* ui) {
        ui->Enable(CanUndo());
        ui->SetText(QCoreApplication::translate("KXViewDoc", "Undo (%1)\tCtrl+Z").arg(m_undo.Level()));
    });
    OnCommand(ID_EDIT_REDO, [this] { OnRedo(); });
    OnUpdateCommand(ID_EDIT_REDO, [this](CCmdUI* ui) { ui->Enable(CanRedo()); });
    OnCommand(ID_DUPLICATE, [this] { OnDuplicate(); });
    OnUpdateCommand(ID_DUPLICATE, [this](CCmdUI* ui) { ui->Enable(m_image && !m_busy); });
    OnCommand(ID_IMAGE_OPTIONS, [this] { OnImageOptions(); });

    OnCommand(ID_TOOL_MOVE, [this] {
        if (m_image && !m_busy) m_image->SelectionDelete();
        m_tool = TOOL_MOVE;
    });
    const std::pair<int, int> tools[] = {{ID_TOOL_MOVE, TOOL_MOVE}, {ID_TOOL_SELECT, TOOL_SELECT},
                                         {ID_TOOL_ZOOM, TOOL_ZOOM}, {ID_TOOL_TEXT, TOOL_TEXT},
                                         {ID_TOOL_TRACK, TOOL_TRACK}};
    for (const auto& [id, tool] : tools) {
        const int t = tool;
        OnUpdateCommand(id, [this, t](CCmdUI* ui) {
            ui->Enable();
            ui->SetCheck(m_tool == t);
        });
    }
    OnCommand(ID_TOOL_SELECT, [this] { m_tool = TOOL_SELECT; });
    OnCommand(ID_TOOL_ZOOM, [this] { m_tool = TOOL_ZOOM; });
    OnCommand(ID_TOOL_TRACK, [this] { m_tool = TOOL_TRACK; });
    OnCommand(ID_TOOL_TEXT, [this] {
        if (AskForText()) m_tool = TOOL_TEXT;
    });
    RegisterProcessingCommands();
}

bool CKXViewDoc::AskForText() {
    CDialogText dlg(MainWindow());
    dlg.m_info = m_settings->textInfo;
    if (dlg.exec() != QDialog::Accepted) return false;
    m_settings->textInfo = dlg.m_info;
    return true;
}

bool CKXViewDoc::OnNewDocument() {
    m_image.reset();
    return true;
}

QString CKXViewDoc::Extension(const QString& path) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : path.mid(dot + 1).toLower();
}

int CKXViewDoc::FindType(const QString& extension) {
    // The dialog's table names formats by path; a bare extension is one.
    return extension.isEmpty() ? 0 : CImageFileDialog::FindType(QStringLiteral("x.") + extension.toLower());
}

bool CKXViewDoc::OnOpenDocument(const QString& path) {
    const QFileInfo file(path);
    auto cannotOpen = [&](const QString& reason) {
        ShowError(CLibraryMessages::CannotOpen(file.absoluteFilePath(), reason));
        m_image.reset();
        return false;
    };
    if (!file.exists())
        return cannotOpen(QCoreApplication::translate("KXViewDoc", "Die Datei existiert nicht."));
    if (file.isDir()) return cannotOpen(QCoreApplication::translate("KXViewDoc", "Das ist ein Ordner."));
    if (!file.isReadable())
        return cannotOpen(QCoreApplication::translate("KXViewDoc", "Die Datei darf nicht gelesen werden."));
    const QString extension = Extension(file.fileName());
    if (extension.isEmpty()) return false;
    const auto type = static_cast<uint32_t>(FindType(extension));
    const QByteArray name = QFile::encodeName(path);
    Stopwatch(false);
    auto image = std::make_unique<vimg::Image>();
    image->Load(name.constData(), type);
    Stopwatch(true);
    if (!image->IsValid()) {
        // The image library's own words, in the user's language where they are known.
        return cannotOpen(CLibraryMessages::Reason(
            QString::fromUtf8(image->GetLastError()),
            QCoreApplication::translate("KXViewDoc", "Das Dateiformat wird nicht erkannt.")));
    }
    m_image = std::move(image);
    UpdateStatusBar();
    UpdateAllViews(nullptr, UM_UPDATE_IMAGE);
    // A cut file shows what it holds; the user must know the rest is missing.
    if (m_image->IsTruncated())
        ShowError(QCoreApplication::translate(
                      "KXViewDoc", "Datei unvollständig: \"%1\"\nGezeigt wird nur, was die Datei enthält.")
                      .arg(QDir::toNativeSeparators(file.absoluteFilePath())));

    const int frames = m_image->GetNumFrames();
    if (frames > 1 &&
        QMessageBox::question(
            MainWindow(), QStringLiteral("Vistorel"),
            QCoreApplication::translate("KXViewDoc", "File with %1 images. Read all?").arg(frames),
            QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok)
        OpenFurtherPages(path, type, frames);

    if (m_image->GetType() == vimg::FORMAT_JPG || type == vimg::FORMAT_JPG) {
        if (FILE* stream = std::fopen(name.constData(), "rb")) {
            m_exifInfo->DecodeExif(stream);
            std::fclose(stream);
        }
    }
    m_fileName = path;
    LoadMeasurements(path);
    MarkPictureChanged(false);
    return true;
}

void CKXViewDoc::LoadMeasurements(const QString& picturePath) {
    const QString dataPath = kxvm::MeasureFile::PathForImage(picturePath);
    CKXViewView* view = FirstView();
    CMeasureOverlay* overlay = view ? view->MeasureOverlay() : nullptr;
    if (!overlay || !QFileInfo::exists(dataPath)) return;
    // A data file that does not fit the picture stays as it is and is not shown.
    QString error;
    if (!overlay->LoadData(dataPath, &error))
        qCInfo(lcApp) << "measurement data not taken from" << dataPath << ":" << error;
}

void CKXViewDoc::OpenFurtherPages(const QString& path, uint32_t type, int count) {
    CMultiDocTemplate* docTemplate = GetDocTemplate();
    if (!docTemplate) return;
    const QByteArray name = QFile::encodeName(path);
    const QString fileName = QFileInfo(path).fileName();
    for (int k = 1; k < count; ++k) {
        auto* doc = dynamic_cast<CKXViewDoc*>(docTemplate->OpenDocumentFile(QString()));
        if (!doc) continue;
        auto page = std::make_unique<vimg::Image>();
        page->SetFrame(k);
        page->Load(name.constData(), type);
        doc->m_image = std::move(page); // an unreadable page stays an invalid image
        doc->SetTitle(QStringLiteral("%1 (%2)").arg(fileName).arg(k + 1));
        doc->UpdateAllViews(nullptr, UM_UPDATE_IMAGE);
    }
}

bool CKXViewDoc::SetImage(std::unique_ptr<vimg::Image> image) {
    if (m_busy) return false;
    m_image = std::move(image);
    MarkPictureChanged(m_image != nullptr);
    return true;
}

CKXViewView* CKXViewDoc::FirstView() const { return dynamic_cast<CKXViewView*>(GetFirstView()); }

// ---- undo ----

bool CKXViewDoc::SubmitUndo() {
    if (m_busy) return false;
    MarkPictureChanged();
    if (!m_image) {
        m_undo.Submit(vimg::Image()); // drops the redo steps all the same
        return true;
    }
    if (m_undo.Submit(*m_image)) return true;
    ShowError(QCoreApplication::translate("KXViewDoc", "Not enough memory to keep an undo step."));
    return false;
}

bool CKXViewDoc::CanUndo() const { return m_image && !m_busy && m_undo.CanUndo(); }

bool CKXViewDoc::CanRedo() const { return m_image && !m_busy && m_undo.CanRedo(); }

void CKXViewDoc::OnUndo() {
    if (!CanUndo()) return;
    std::unique_ptr<vimg::Image> restored = m_undo.Undo(m_image);
    if (!restored) {
        ShowError(QCoreApplication::translate("KXViewDoc", "Not enough memory to undo."));
        return;
    }
    m_image = std::move(restored);
    MarkPictureChanged();
    UpdateAllViews(nullptr, UM_UPDATE_IMAGE);
    UpdateStatusBar();
}

void CKXViewDoc::OnRedo() {
    if (!CanRedo()) return;
    std::unique_ptr<vimg::Image> restored = m_undo.Redo(m_image);
    if (!restored) {
        ShowError(QCoreApplication::translate("KXViewDoc", "Not enough memory to redo."));
        return;
    }
    m_image = std::move(restored);
    MarkPictureChanged();
    UpdateAllViews(nullptr, UM_UPDATE_IMAGE);
    UpdateStatusBar();
}

// ---- stopwatch and status bar ----

void CKXViewDoc::Stopwatch(bool stop) {
    if (!stop) {
        m_counterStart = CounterNow();
        return;
    }
    m_counterStop = CounterNow();
    m_elapsedSeconds = m_counterFrequency == 0
                           ? -1.0f
                           : static_cast<float>(static_cast<double>(m_counterStop - m_counterStart) /
                                                static_cast<double>(m_counterFrequency));
}

void CKXViewDoc::UpdateStatusBar() {
    const vimg::Image* image = DisplayImage();
    if (!image) return;
    AnnounceStatus(4, QString::asprintf("(%dx%dx%d)", image->GetWidth(), image->GetHeight(), image->GetBpp()));
    AnnounceStatus(3, CImageFileDialog::FormatShortName(static_cast<int>(image->GetType())));
    AnnounceStatus(2, QCoreApplication::translate("KXViewDoc", "Time (s): %1")
                          .arg(QLocale().toString(static_cast<double>(m_elapsedSeconds), 'f', 3)));
}

void CKXViewDoc::RefreshFrame() {
    if (CMDIFrameWnd* frame = AfxGetApp() ? AfxGetApp()->GetMainWnd() : nullptr)
        frame->ExecuteCommand(ID_TAB_IMAGE_REFRESH);
}

const CHistogramCounts& CKXViewDoc::Histogram() {
    if (HistogramPending()) m_histogram.Count(*m_image);
    return m_histogram;
}

bool CKXViewDoc::HistogramPending() const {
    return !m_histogram.Counted() && !m_busy && m_image && m_image->IsValid();
}

void CKXViewDoc::UpdateAllViews(CView* sender, LPARAM hint) {
    CDocument::UpdateAllViews(sender, hint);
    if (hint == UM_UPDATE_IMAGE) {
        m_histogram.Clear();
        emit HistogramChanged();
    }
}

// ---- save ----

namespace {

QString WriteProblem(const std::string& libraryText) {
    const QString text = QString::fromStdString(libraryText).trimmed();
    return CLibraryMessages::Reason(
        text, QCoreApplication::translate("KXViewDoc", "the file could not be written"));
}

bool Writable(uint32_t type) {
    const vimg::CodecEntry* entry = type ? vimg::CodecRegistry::Find(type) : nullptr;
    return entry && entry->writes && entry->encode;
}

} // namespace

bool CKXViewDoc::WritePicture(const QString& path, QString* error) {
    const auto type = static_cast<uint32_t>(FindType(Extension(QFileInfo(path).fileName())));
    if (!m_image || !m_image->IsValid()) {
        *error = QCoreApplication::translate("KXViewDoc", "the document holds no picture");
        return false;
    }
    if (!Writable(type)) {
        *error = QCoreApplication::translate(
            "KXViewDoc", "no format that can be written is named by the file's extension");
        return false;
    }
    const QByteArray name = QFile::encodeName(path);
    const bool jpegDepth = m_image->GetBpp() == 24 || (m_image->GetBpp() == 8 && m_image->IsGrayScale());
    bool written = false;
    std::string problem;
    if (type == vimg::FORMAT_JPG && !jpegDepth) {
        // JPEG holds only true colour and grey: a copy in true colour is written.
        vimg::Image colour(*m_image);
        written = colour.IncreaseBpp(24) && colour.Save(name.constData(), type);
        problem = colour.GetLastError();
    } else if (type == vimg::FORMAT_JPG && m_exifInfo->GetExifInfo().isExif && m_exifInfo->GetExifReader()) {
        // The EXIF block read from the file goes back in front of the image data.
        vimg::ImageJPG& jpg = *m_exifInfo;
        jpg.Ghost(m_image.get());
        written = jpg.SaveWith(name.constData(), [&jpg](vimg::File* f) { return jpg.Encode(f); });
        problem = jpg.GetLastError();
        jpg.Unghost();
    } else {
        written = m_image->Save(name.constData(), type);
        problem = m_image->GetLastError();
    }
    if (!written) *error = WriteProblem(problem);
    return written;
}

bool CKXViewDoc::WriteMeasurements(const QString& path, QString* error) {
    CKXViewView* view = FirstView();
    CMeasureOverlay* overlay = view ? view->MeasureOverlay() : nullptr;
    QString dataError;
    if (!overlay || overlay->SaveData(kxvm::MeasureFile::PathForImage(path), &dataError)) return true;
    *error =
        QCoreApplication::translate("KXViewDoc", "the measurements could not be written: %1").arg(dataError);
    return false;
}

bool CKXViewDoc::SaveRendering(const QString& path) {
    const auto type = static_cast<uint32_t>(FindType(Extension(QFileInfo(path).fileName())));
    QString reason;
    CKXViewView* view = FirstView();
    std::unique_ptr<vimg::Image> rendering = view ? view->RenderWithOverlay() : nullptr;
    if (!Writable(type)) {
        reason = QCoreApplication::translate(
            "KXViewDoc", "no format that can be written is named by the file's extension");
    } else if (!rendering) {
        reason = QCoreApplication::translate("KXViewDoc", "the view shows no picture");
    } else if (!rendering->Save(QFile::encodeName(path).constData(), type)) {
        reason = WriteProblem(rendering->GetLastError());
    } else {
        return true;
    }
    ShowError(QCoreApplication::translate("KXViewDoc", "Die Datei \"%1\" wurde nicht geschrieben.\n%2")
                  .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), reason));
    return false;
}

void CKXViewDoc::OnExportView() {
    if (!m_image) return;
    QString name = QFileInfo(m_fileName.isEmpty() ? GetTitle() : m_fileName).completeBaseName();
    if (name.isEmpty() || name.contains(QRegularExpression(QStringLiteral("[#%;/\\\\]"))))
        name = QStringLiteral("UntitledImage");
    if (!m_fileName.isEmpty()) name = QFileInfo(m_fileName).dir().filePath(name);
    name += QStringLiteral("-view.png");
    int format = vimg::FORMAT_PNG;
    if (!CImageFileDialog::PromptForFileName(MainWindow(), name,
                                             CImageFileDialog::OFN_HIDEREADONLY |
                                                 CImageFileDialog::OFN_OVERWRITEPROMPT,
                                             false, format))
        return;
    SaveRendering(name);
}

bool CKXViewDoc::OnSave() {
    if (!m_image || m_busy) return false;
    if (m_fileName.isEmpty() || !Writable(static_cast<uint32_t>(FindType(Extension(m_fileName)))))
        return DoSave(QString(), true);
    return DoSave(m_fileName, true);
}

bool CKXViewDoc::OnSaveAs() {
    if (!m_image || m_busy) return false;
    return DoSave(QString(), true);
}

bool CKXViewDoc::DoSave(const QString& path, bool replace) {
    if (!m_image || m_busy) return false;
    QString name = path;
    if (name.isEmpty()) {
        name = GetPathName();
        if (name.isEmpty() && replace) {
            name = GetTitle();
            if (name.contains(QRegularExpression(QStringLiteral("[#%;/\\\\]"))))
                name = QStringLiteral("UntitledImage");
            const CImageFileDialog::Choice choice =
                CImageFileDialog::BuildChoice(false, static_cast<int>(m_image->GetType()));
            name += QLatin1Char('.') + choice.defaultExt;
        }
        int format = static_cast<int>(m_image->GetType());
        if (!CImageFileDialog::PromptForFileName(MainWindow(), name, CImageFileDialog::OFN_HIDEREADONLY,
                                                 false, format))
            return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CDialogProgress progress(MainWindow());
    progress.SetCaption(resources::String(IDS_SAVING_IMAGE));
    progress.show();
    progress.SetPos(0);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QString error;
    // An unchanged picture saved to its own file is left as it is: a JPEG
    // would lose a little more at every save, a multipage file its other pages.
    const bool keepFile = !m_pictureChanged && !m_fileName.isEmpty() && QFileInfo::exists(name) &&
                          QFileInfo(name) == QFileInfo(m_fileName);
    const bool written = (keepFile || WritePicture(name, &error)) && WriteMeasurements(name, &error);
    progress.SetPos(100);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    progress.close();
    QApplication::restoreOverrideCursor();
    if (!written) {
        // Name, modified flag and recent files stay as they were.
        ShowError(QCoreApplication::translate("KXViewDoc", "Die Datei \"%1\" wurde nicht gespeichert.\n%2")
                      .arg(QDir::toNativeSeparators(QFileInfo(name).absoluteFilePath()), error));
        return false;
    }
    if (replace) {
        m_fileName = name;
        SetPathName(name);
        MarkPictureChanged(false);
    }
    return true;
}

bool CKXViewDoc::HasUnsavedChanges() const {
    if (!m_image) return false;
    if (IsModified()) return true;
    for (CView* v : GetViews())
        if (auto* view = dynamic_cast<CKXViewView*>(v); view && view->MeasureOverlay() &&
                                                        view->MeasureOverlay()->HasUnsavedChanges())
            return true;
    return false;
}

bool CKXViewDoc::SaveModified() {
    if (!HasUnsavedChanges()) return true;
    QMessageBox box(
        QMessageBox::Question, QStringLiteral("Vistorel"),
        QCoreApplication::translate("KXViewDoc", "Sollen die Änderungen an \"%1\" gespeichert werden?")
            .arg(GetTitle()),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, MainWindow());
    box.setDefaultButton(QMessageBox::Save);
    box.button(QMessageBox::Save)->setText(QCoreApplication::translate("KXViewDoc", "&Speichern"));
    box.button(QMessageBox::Discard)->setText(QCoreApplication::translate("KXViewDoc", "&Nicht speichern"));
    box.button(QMessageBox::Cancel)->setText(QCoreApplication::translate("KXViewDoc", "Abbrechen"));
    const int answer = box.exec();
    if (answer == QMessageBox::Discard) return true;
    if (answer != QMessageBox::Save) return false;
    return OnSave();
}

// ---- duplicate, clipboard, options ----

void CKXViewDoc::OnDuplicate() {
    if (!m_image || m_busy || !GetDocTemplate()) return;
    auto* doc = dynamic_cast<CKXViewDoc*>(GetDocTemplate()->OpenDocumentFile(QString()));
    if (!doc) return;
    doc->m_image = std::make_unique<vimg::Image>(*m_image);
    doc->MarkPictureChanged();
    const int number = m_settings->imageCounter++;
    doc->SetTitle(QCoreApplication::translate("KXViewDoc", "Copy %1 of %2").arg(number).arg(GetTitle()));
    doc->UpdateAllViews(nullptr, UM_UPDATE_IMAGE);
}

void CKXViewDoc::OnCopy() {
    const vimg::Image* image = DisplayImage();
    if (!image) return;
    auto data = std::make_unique<QMimeData>();
    // The packed DIB behind a BMP file header: what other programs read under image/bmp.
    if (std::unique_ptr<CGlobalMemory> block = vimg::display::CopyToHandle(*image)) {
        const uint8_t* dib = block->Lock();
        const auto* header = reinterpret_cast<const vimg::BITMAPINFOHEADER*>(dib);
        const uint32_t offset = 14 + header->biSize + image->GetPaletteSize();
        QByteArray file(14, '\0');
        const uint32_t fileSize = static_cast<uint32_t>(14 + block->Size());
        file[0] = 'B';
        file[1] = 'M';
        std::memcpy(file.data() + 2, &fileSize, 4);
        std::memcpy(file.data() + 10, &offset, 4);
        file.append(reinterpret_cast<const char*>(dib), static_cast<qsizetype>(block->Size()));
        block->Unlock();
        data->setData(QStringLiteral("image/bmp"), file);
    }
    if (CKXViewView* view = FirstView()) data->setImageData(view->PictureAtNaturalSize());
    if (data->formats().isEmpty()) {
        ShowError(QCoreApplication::translate("KXViewDoc", "Unable to set Clipboard data"));
        return;
    }
    QApplication::clipboard()->setMimeData(data.release());
}

void CKXViewDoc::OnImageOptions() {
    if (!m_image || m_busy) return;
    const vimg::ExifInfo& exif = m_exifInfo->GetExifInfo();
    CDialogOptions dlg(exif.isExif ? &exif : nullptr, MainWindow());
    dlg.m_quality = m_image->GetJpegQuality();
    dlg.m_xDpi = m_image->GetXDPI();
    dlg.m_yDpi = static_cast<unsigned>(std::max(0, m_image->GetYDPI()));
    dlg.m_tiffOption = m_image->GetCodecOption(vimg::FORMAT_TIF);
    dlg.m_gifOption = m_image->GetCodecOption(vimg::FORMAT_GIF);
    dlg.m_jpegOption = m_image->GetCodecOption(vimg::FORMAT_JPG);
    dlg.m_pngOption = m_image->GetCodecOption(vimg::FORMAT_PNG);
    if (dlg.exec() != QDialog::Accepted || !m_image || m_busy) return;
    m_image->SetJpegQuality(dlg.m_quality);
    m_image->SetXDPI(dlg.m_xDpi);
    m_image->SetYDPI(static_cast<int32_t>(dlg.m_yDpi));
    m_image->SetCodecOption(dlg.m_tiffOption, vimg::FORMAT_TIF);
    m_image->SetCodecOption(dlg.m_gifOption, vimg::FORMAT_GIF);
    m_image->SetCodecOption(dlg.m_jpegOption, vimg::FORMAT_JPG);
    m_image->SetCodecOption(dlg.m_pngOption, vimg::FORMAT_PNG);
    MarkPictureChanged(); // the options change what the next save writes
    m_settings->jpegQuality = dlg.m_quality;
}

// ---- background operations ----

bool CKXViewDoc::StartSteps(const CImageSteps& steps) {
    if (!Editable()) return false;
    if (const std::string refused = steps.Check(); !refused.empty()) {
        ShowError(QString::fromStdString(refused));
        return false;
    }
    return StartOperation([steps](vimg::Image& image) { return steps.Run(image); });
}

bool CKXViewDoc::StartOperation(std::function<std::string(vimg::Image&)> work) {
    if (m_busy || !m_image || m_closing) return false;
    const vimg::Image& source = *m_image;
    // After the change the worker packs the undo step from the unchanged
    // picture and counts the new one's histograms, so the finish only swaps.
    m_packedBefore.reset();
    m_jobHistogram.Clear();
    if (!m_job.Start(source, std::move(work), [this, &source](vimg::Image& result) {
            m_packedBefore = CUndoHistory::PackAhead(source);
            if (result.IsValid()) m_jobHistogram.Count(result);
        })) {
        ShowError(QCoreApplication::translate("KXViewDoc", "Not enough memory for the changed picture."));
        return false;
    }
    m_pictureChangedBeforeJob = m_pictureChanged;
    m_modifiedBeforeJob = IsModified();
    MarkPictureChanged();
    SetBusy(true);
    return true;
}

void CKXViewDoc::OnJobProgress(int percent) { AnnounceStatus(2, QString::asprintf("%d %%", percent)); }

void CKXViewDoc::OnJobFinished(const QString& error, double seconds) {
    std::unique_ptr<vimg::Image> result = m_job.TakeResult();
    if (!result) return;
    // The picture before the change becomes the newest undo step.
    if (m_packedBefore)
        m_undo.SubmitPacked(std::move(m_packedBefore));
    else if (!m_undo.Submit(*m_image))
        ShowError(QCoreApplication::translate("KXViewDoc", "Not enough memory to keep an undo step."));
    m_image = std::move(result);
    m_elapsedSeconds = static_cast<float>(seconds);
    SetBusy(false);
    CDocument::UpdateAllViews(nullptr, UM_UPDATE_IMAGE);
    m_histogram = m_jobHistogram;
    emit HistogramChanged();
    UpdateStatusBar();
    // After the views have shown the result.
    if (!error.isEmpty()) QMetaObject::invokeMethod(qApp, [error] { ShowError(error); }, Qt::QueuedConnection);
}

void CKXViewDoc::StopOperation() {
    if (!m_job.Running()) return;
    m_job.Cancel();
    m_packedBefore.reset();
    SetBusy(false);
}

void CKXViewDoc::CancelOperation() {
    if (!m_job.Running()) return;
    StopOperation();
    m_pictureChanged = m_pictureChangedBeforeJob;
    SetModifiedFlag(m_modifiedBeforeJob);
    AnnounceStatus(2, tr("Abgebrochen"));
    CDocument::UpdateAllViews(nullptr, 0);
}

void CKXViewDoc::SetBusy(bool busy) {
    if (m_busy == busy) return;
    m_busy = busy;
    emit BusyChanged(busy);
}
