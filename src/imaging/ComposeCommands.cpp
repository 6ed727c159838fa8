// The commands that merge several open pictures into a new one: focus
// stacking ("Schärfentiefe erweitern...") and stitching ("Bilder
// zusammenfügen..."). The merge runs on a thread of its own while a progress
// window and the status bar show how far it is; the window is modal, so no
// picture it reads can be closed or changed under it, and Escape stops it.
#include <atomic>
#include <functional>
#include <thread>

#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>

#include "DialogCompose.h"
#include "DialogProgress.h"
#include "DocumentList.h"
#include "FocusStack.h"
#include "Image.h"
#include "KXViewDoc.h"
#include "MosaicStitcher.h"

namespace {

// Stops the merge when Escape is pressed while the progress window shows.
class EscapeWatch : public QObject {
public:
    explicit EscapeWatch(std::function<void()> stop) : m_stop(std::move(stop)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
        if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape) return false;
        if (event->type() == QEvent::KeyPress) m_stop();
        event->accept();
        return true;
    }

private:
    std::function<void()> m_stop;
};

// Runs `work` on a thread and waits for it, showing `progress()` under
// `caption` in a modal window and as "n %" in the document's status pane;
// Escape calls `stop`. False also when stopped.
bool RunWithProgress(CKXViewDoc& doc, const QString& caption, const std::function<bool()>& work,
                     const std::function<int()>& progress, const std::function<void()>& stop) {
    std::atomic<bool> done{false};
    bool ok = false;
    std::thread worker([&] {
        ok = work();
        done = true;
    });
    CDialogProgress window(CKXViewDoc::MainWindow());
    window.SetCaption(caption);
    // Input to every other window waits; the keyboard reaches this one only.
    window.setWindowModality(Qt::ApplicationModal);
    EscapeWatch escape(stop);
    window.installEventFilter(&escape);
    window.show();
    window.activateWindow();
    window.setFocus();
    QEventLoop loop;
    QTimer tick;
    int shown = -1;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        const int percent = progress();
        window.SetPos(percent);
        if (percent != shown) doc.AnnounceStatus(2, QString::asprintf("%d %%", percent));
        shown = percent;
        if (done) loop.quit();
    });
    tick.start(50);
    loop.exec();
    worker.join();
    window.close();
    return ok;
}

// The open pictures a merge may read: not being changed by an operation.
std::vector<CKXViewDoc*> Mergeable() {
    std::vector<CKXViewDoc*> documents;
    for (CKXViewDoc* doc : documentlist::OpenDocuments())
        if (!doc->IsBusy() && doc->GetImage() && doc->GetImage()->IsValid()) documents.push_back(doc);
    return documents;
}

void ShowProblem(const QString& title, const QString& text) {
    QMessageBox::warning(CKXViewDoc::MainWindow(), title, text, QMessageBox::Ok);
}

} // namespace

void CKXViewDoc::OnFocusStack() {
    if (Mergeable().size() < 2) return;
    CDialogCompose dlg(CDialogCompose::Kind::FocusStack, Mergeable(), MainWindow());
    if (dlg.exec() != QDialog::Accepted) return;
    std::vector<const vimg::Image*> frames;
    for (CKXViewDoc* doc : dlg.Chosen()) frames.push_back(doc->GetImage());
    vimg::FocusStackOptions options;
    options.align = dlg.Align();
    vimg::FocusStack stack(options);
    auto result = std::make_unique<vimg::Image>();
    auto depth = std::make_unique<vimg::Image>();
    const bool wantDepth = dlg.DepthMap();
    const bool ok = RunWithProgress(
        *this, QCoreApplication::translate("ComposeCommands", "Schärfentiefe erweitern"),
        [&] { return stack.Merge(frames, *result, wantDepth ? depth.get() : nullptr); },
        [&] { return static_cast<int>(stack.GetProgress()); }, [&] { stack.SetEscape(1); });
    UpdateStatusBar();
    if (stack.GetEscape()) return; // stopped by the user: nothing to show
    if (!ok) {
        ShowProblem(dlg.windowTitle(), QString::fromStdString(stack.GetLastError()));
        return;
    }
    const int number = NextResultNumber();
    OpenResultDocument(std::move(result),
                       QCoreApplication::translate("ComposeCommands", "EDF %1").arg(number));
    if (wantDepth)
        OpenResultDocument(std::move(depth),
                           QCoreApplication::translate("ComposeCommands", "EDF %1 Tiefenkarte").arg(number));
}

void CKXViewDoc::OnStitch() {
    if (Mergeable().size() < 2) return;
    CDialogCompose dlg(CDialogCompose::Kind::Stitch, Mergeable(), MainWindow());
    if (dlg.exec() != QDialog::Accepted) return;
    const std::vector<CKXViewDoc*> chosen = dlg.Chosen();
    std::vector<const vimg::Image*> pictures;
    for (CKXViewDoc* doc : chosen) pictures.push_back(doc->GetImage());
    vimg::compose::MosaicStitcher::Settings settings;
    settings.grid = {dlg.Columns(), dlg.Rows(), dlg.Overlap()};
    vimg::compose::MosaicStitcher stitcher(settings);
    auto mosaic = std::make_unique<vimg::Image>();
    std::vector<vimg::compose::MosaicStitcher::TileResult> tiles;
    std::atomic<bool> stopped{false};
    const bool ok = RunWithProgress(
        *this, QCoreApplication::translate("ComposeCommands", "Bilder zusammenfügen"),
        [&] { return stitcher.Stitch(pictures, *mosaic, tiles); }, [&] { return stitcher.Progress(); },
        [&] {
            stopped = true;
            stitcher.Cancel();
        });
    UpdateStatusBar();
    if (stopped) return; // stopped by the user: nothing to show
    if (!ok) {
        ShowProblem(dlg.windowTitle(), QString::fromStdString(stitcher.LastError()));
        return;
    }
    OpenResultDocument(std::move(mosaic),
                       QCoreApplication::translate("ComposeCommands", "Mosaik %1").arg(NextResultNumber()));
    // Pictures that overlap nothing clearly enough are left out, never guessed at.
    QStringList left;
    for (size_t i = 0; i < tiles.size() && i < chosen.size(); ++i)
        if (!tiles[i].placed) left << chosen[i]->GetTitle();
    if (!left.isEmpty())
        ShowProblem(dlg.windowTitle(), QCoreApplication::translate(
                                           "ComposeCommands", "Nicht eingefügt (zu wenig Überlappung): %1")
                                           .arg(left.join(QStringLiteral(", "))));
}
