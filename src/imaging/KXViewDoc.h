// The image document: one image (or none), its eight-step undo history, the
// state its views share (tool, selection polygon), the histograms, the stopwatch and the job that changes the image
// in the background. Save writes the picture itself, with its measurements in
// their data file beside it; every change marks the document modified, so
// closing it asks whether to save. The document announces what changed
// (status texts, histogram, busy) through signals; the frame, the histogram
// bar and the views subscribe.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include <QObject>

#include "Document.h"
#include "EditorSettings.h"
#include "HistogramCounts.h"
#include "ImageJob.h"
#include "ImageSteps.h"
#include "ImageTypes.h"
#include "UndoHistory.h"

namespace vimg {
class Image;
class ImageJPG;
} // namespace vimg

class CKXViewView;
class QWidget;

class CKXViewDoc : public QObject, public CDocument {
    Q_OBJECT
public:
    // Mouse tools of the views.
    enum Tool { TOOL_NONE = -1, TOOL_MOVE = 0, TOOL_SELECT = 1, TOOL_ZOOM = 2, TOOL_TEXT = 3, TOOL_TRACK = 4,
                TOOL_MEASURE = 5 };
    static constexpr int kMaxSelPoints = 8000;

    // `settings` outlives the document; null: settings of the document's own.
    explicit CKXViewDoc(CEditorSettings* settings = nullptr);
    ~CKXViewDoc() override;

    CEditorSettings& Settings() { return *m_settings; }
    // The window dialogs and messages of the document belong to.
    static QWidget* MainWindow();

    bool OnNewDocument() override;
    bool OnOpenDocument(const QString& path) override;
    // Asks whether to save a modified document with a picture; false when the
    // user cancelled or the save failed (the document then stays open).
    bool SaveModified() override;
    // The picture or the measurements differ from what was saved or opened.
    bool HasUnsavedChanges() const;
    // Stops a running operation before the windows go.
    void OnCloseDocument() override;

    // Format id of a lower-case extension (0 unknown).
    static int FindType(const QString& extension);
    // The lower-cased text after the last '.', empty without one.
    static QString Extension(const QString& path);

    // The image; null for a new empty document or after a failed open.
    vimg::Image* GetImage() const { return m_image.get(); }
    // Gives the document an image (paste, extra pages, results); refused while busy.
    bool SetImage(std::unique_ptr<vimg::Image> image);
    // What the views show. A job changes a copy, so this is the picture itself.
    const vimg::Image* DisplayImage() const { return m_image.get(); }

    // Records the current image as a new undo step. False while busy (the
    // change must not happen) or when there was no memory for the step.
    bool SubmitUndo();
    void OnUndo();
    void OnRedo();
    int UndoLevel() const { return m_undo.Level(); }
    bool CanUndo() const;
    bool CanRedo() const;
    const CUndoHistory& History() const { return m_undo; }

    // false: start, true: stop (sets ElapsedSeconds).
    void Stopwatch(bool stop);
    float ElapsedSeconds() const { return m_elapsedSeconds; }
    // Announces the picture's size, format and the last operation's time.
    void UpdateStatusBar();
    // Announces `text` for status pane `pane` (0 readout, 2 time or progress, 3 format, 4 size).
    void AnnounceStatus(int pane, const QString& text) { emit StatusChanged(pane, text); }
    // The histograms of the picture, counted when first asked for after a change; empty while busy.
    const CHistogramCounts& Histogram();
    // Whether Histogram() would have to count first.
    bool HistogramPending() const;
    // Views are updated; a new picture (hint 1025) also drops the counted histograms.
    void UpdateAllViews(CView* sender, LPARAM hint = 0) override;
    // Writes what the first view shows (zoom, measurement overlay and scale
    // bar burnt in) to `path`; false, with a message, when it could not.
    bool SaveRendering(const QString& path);
    void RefreshFrame();
    // Save: the picture to its file, or Save As for a document without one
    // (or whose file's format cannot be written). False when nothing was written.
    bool OnSave();
    bool OnSaveAs();
    // Writes the picture to `path` (asking for one when empty). With
    // `replace` the document takes the new name. A failure changes nothing
    // and names the file and the reason; false when cancelled or failed.
    bool DoSave(const QString& path, bool replace);
    // Writes the picture at its own size, depth, palette, alpha, resolution,
    // calibration and EXIF, with the options of "Optionen". False with the
    // reason in `error`.
    bool WritePicture(const QString& path, QString* error);
    // The measurement objects of the first view into the data file beside
    // `path` (none: no data file).
    bool WriteMeasurements(const QString& path, QString* error);
    // "Ansicht exportieren...": asks for a file and writes the rendering there.
    void OnExportView();
    // The picture (or what the next save writes of it) differs from its file;
    // false also forgets changed measurements (after open and save).
    void MarkPictureChanged(bool changed = true) {
        m_pictureChanged = changed;
        SetModifiedFlag(changed);
    }
    bool PictureChanged() const { return m_pictureChanged; }
    void OnDuplicate();
    void OnCopy();
    void OnImageOptions();
    // Asks for the text tool's text; false when cancelled.
    bool AskForText();

    // "Palette" (command 32877): edits the colour table in the palette dialog.
    void OnPalette();
    // Applies an edited table: mode 1 replaces the colours, 2 and 3 match the
    // pixels to it (3 with error diffusion). False when nothing was applied.
    static bool ApplyPalette(vimg::Image& image, int mode, const vimg::RGBQUAD* table, int count);


    // Background changes. Busy from StartOperation until the job's end has
    // been handled or the document closes.
    bool IsBusy() const { return m_busy; }
    // Runs `steps` on the picture in the document's job, after checking them
    // (a refusal is shown and changes nothing). False when busy, without a
    // picture or refused.
    bool StartSteps(const CImageSteps& steps);
    // Runs `work` on a copy of the picture in the document's job, which
    // reports progress every 333 ms; at the end the copy becomes the picture,
    // the old one the newest undo step, and the views get hint 1025. `work`
    // returns "" or the text of what failed (shown after the views updated).
    bool StartOperation(std::function<std::string(vimg::Image&)> work);
    // Sets the escape flag and waits for the job; the picture stays as it was.
    void StopOperation();
    // The user's cancel: stops the job, and the document is as before the
    // command (picture, changed state, no undo step) and says so.
    void CancelOperation();

    CKXViewView* FirstView() const;

    // ---- processing commands (ProcessingCommands.cpp) ----
    // Crop to the selection: a rectangle drawn with Shift (possibly turned)
    // by its top-most corner, anything else by the selection's bounding box.
    void OnCrop();
    // The result-document commands. Each leaves this document as it is.
    void SplitChannels(int command);
    void SplitAlpha();
    // Sources may be null (the alpha source); channel 0 grey, 1..3 red, green, blue.
    void CombineDocuments(const std::array<CKXViewDoc*, 4>& sources, const std::array<int, 4>& channels,
                          int colourSpace);
    void FourierDocuments(CKXViewDoc* real, CKXViewDoc* imaginary, int direction, bool force, bool magnitude);
    void MixDocuments(CKXViewDoc* destination, CKXViewDoc* source, int operation, int x, int y,
                      bool mixAlpha);
    // format 0 JPEG, 1 JPEG 2000 code stream.
    void CompressionDocument(int quality, int format);
    // ---- merging several pictures (ComposeCommands.cpp) ----
    // "Schärfentiefe erweitern...": a focus series of open pictures into "EDF n" (and its depth map).
    void OnFocusStack();
    // "Bilder zusammenfügen...": overlapping open pictures into "Mosaik n".
    void OnStitch();
    // A new document holding `image`, titled `title`; null when none could be made.
    CKXViewDoc* OpenResultDocument(std::unique_ptr<vimg::Image> image, const QString& title);

    // Shared view state.
    std::array<vimg::POINT, kMaxSelPoints> m_selPoints{};
    int32_t m_selCount = 0;
    int32_t m_tool = TOOL_MOVE;
    bool m_rectSelection = false;
    bool m_showScale = true;
    QString m_fileName;
    bool m_waitingClick = false;
    const vimg::ImageJPG& ExifInfo() const { return *m_exifInfo; }

signals:
    void StatusChanged(int pane, const QString& text);
    // The picture changed: counted histograms are out of date.
    void HistogramChanged();
    void BusyChanged(bool busy);

private:
    void RegisterCommands();
    void RegisterProcessingCommands();
    void RegisterDialogCommands();
    // Rules of the processing commands' update handlers.
    bool Editable() const;
    void ChangeSynchronously(bool hintFull, const std::function<void(vimg::Image&)>& change);
    void OnEllipse();
    void OnPseudoColours();
    void OnAlphaFromLightness();
    void OpenFurtherPages(const QString& path, uint32_t type, int count);
    // The measurement objects saved beside the picture, when they fit it.
    void LoadMeasurements(const QString& picturePath);
    void RegisterPaletteCommand(); // PaletteCommand.cpp
    void OnJobProgress(int percent);
    void OnJobFinished(const QString& error, double seconds);
    void SetBusy(bool busy);
    // The next number of result titles: counted first, then shown.
    int NextResultNumber() { return ++m_settings->imageCounter; }

    std::unique_ptr<CEditorSettings> m_ownSettings;
    CEditorSettings* m_settings;
    std::unique_ptr<vimg::Image> m_image;
    std::unique_ptr<vimg::ImageJPG> m_exifInfo;
    CUndoHistory m_undo;

    // Stopwatch: steady clock counts and their frequency.
    int64_t m_counterFrequency = 0;
    int64_t m_counterStart = 0;
    int64_t m_counterStop = 0;
    float m_elapsedSeconds = 0.0f;

    CHistogramCounts m_histogram;
    CImageJob m_job;
    bool m_busy = false;
    // The picture's undo step, packed by the job's worker; handed to the history at the end.
    CUndoHistory::PackedStep m_packedBefore;
    // Whether the picture counted as changed before the running job.
    bool m_pictureChangedBeforeJob = false;
    bool m_modifiedBeforeJob = false;
    CHistogramCounts m_jobHistogram; // counted by the job's worker likewise
    bool m_closing = false;
    bool m_pictureChanged = false;
};
