// The image document: one image (or none), its eight-step undo history, the
// view state all its views share (zoom, stretch, smoothing, tool, selection
// polygon), the histograms, the stopwatch and the bookkeeping of the worker
// that changes the image in the background. Save writes the picture itself,
// with its measurements in their data file beside it; every change marks the
// document modified, so closing it asks whether to save.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "Document.h"
#include "ImageTypes.h"
#include "UndoHistory.h"
#include "WorkerOperation.h"

namespace vimg {
class Image;
class ImageJPG;
} // namespace vimg

class CKXViewView;

class CKXViewDoc : public CDocument {
public:
    // Mouse tools of the views.
    enum Tool { TOOL_NONE = -1, TOOL_MOVE = 0, TOOL_SELECT = 1, TOOL_ZOOM = 2, TOOL_TEXT = 3, TOOL_TRACK = 4,
                TOOL_MEASURE = 5 };
    static constexpr int kMaxSelPoints = 8000;
    static constexpr float kMaxZoom = 16.0f;
    static constexpr float kMinZoom = 0.125f;

    CKXViewDoc();
    ~CKXViewDoc() override;

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
    // What the views show: while a worker changes the image, the copy taken
    // before the operation started.
    const vimg::Image* DisplayImage() const;

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
    void UpdateStatusBar();
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

    // Zoom commands (all views share the factor).
    void OnZoomIn();
    void OnZoomOut();
    void OnZoomNormal();
    static float NextZoomIn(float zoom);
    static float NextZoomOut(float zoom);

    // Background operations. Busy from StartOperation until the first view
    // has handled the finish message (1025) or the document closes.
    bool IsBusy() const { return m_busy; }
    // Records the undo step (kept whole for painting), then runs `op` on the
    // image in a worker thread while a second thread reports its progress to
    // the first view every 333 ms (message 1026) and the end (1025).
    bool StartOperation(int command, std::function<bool(vimg::Image&)> op);
    // Called on the finish message: joins the worker, compresses its undo step.
    void FinishOperation();
    // True while StopOperation waits for the threads.
    bool IsStopping() const { return m_stopping; }
    // Sets the escape flag and waits for both threads, serving the messages
    // they send to the views meanwhile.
    void StopOperation();

    CKXViewView* FirstView() const;

    // ---- processing commands (ProcessingCommands.cpp) ----
    // Stores the parameters and the worker op and starts it on the worker
    // thread through the operation layer. False when busy or without image.
    bool StartWorker(int command, CWorkerOperation::Params params = {});
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
    float m_zoomFactor = 1.0f;
    bool m_stretchMode = false;
    bool m_rectSelection = false;
    std::array<long, 256> m_histRed{}, m_histGreen{}, m_histBlue{}, m_histGray{};
    int32_t m_histMax = 0;
    bool m_showScale = true;
    QString m_fileName;
    bool m_smooth = false;
    bool m_waitingClick = false;
    int32_t m_params[5] = {};
    int32_t m_menuCommand = 0;
    const vimg::ImageJPG& ExifInfo() const { return *m_exifInfo; }

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
    void AfterZoom(const QString& paneText);
    void OpenFurtherPages(const QString& path, uint32_t type, int count);
    // The measurement objects saved beside the picture, when they fit it.
    void LoadMeasurements(const QString& picturePath);
    void RegisterPaletteCommand(); // PaletteCommand.cpp

    std::unique_ptr<vimg::Image> m_image;
    std::unique_ptr<vimg::ImageJPG> m_exifInfo;
    CUndoHistory m_undo;

    // Stopwatch: steady clock counts and their frequency.
    int64_t m_counterFrequency = 0;
    int64_t m_counterStart = 0;
    int64_t m_counterStop = 0;
    float m_elapsedSeconds = 0.0f;

    // Worker state.
    bool m_busy = false;
    const vimg::Image* m_preOperation = nullptr;
    std::thread m_workerThread;
    std::thread m_progressThread;
    std::atomic<bool> m_workerDone{true};
    // Written by the worker before it ends, read after it was joined.
    double m_workerSeconds = 0.0;
    std::string m_workerError;
    bool m_stopping = false;
    bool m_closing = false;
    bool m_pictureChanged = false;
};
