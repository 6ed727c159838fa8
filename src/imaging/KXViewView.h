// The scrolling view of an image document: draws the visible part of the
// picture at the document's zoom (or fitted in stretch mode) over a hatch,
// the measurement overlay and the animated selection outline; turns mouse
// input into the current tool's actions; shows the pixel under the mouse;
// prints; and follows the document's update hints and the worker's messages.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <utility>

#include <QBasicTimer>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

#include "View.h"

class CDeviceContext;
class CKXViewDoc;
class CMeasureOverlay;
class QAbstractScrollArea;
class QMouseEvent;
class QPainter;
class CViewTool;
class QPrinter;

namespace vimg {
class Image;
}

class CKXViewView : public CView {
    Q_OBJECT
public:
    explicit CKXViewView(QWidget* parent = nullptr);
    ~CKXViewView() override;

    CKXViewDoc* GetDocument() const;

    // This view's own way of showing the picture: two views of one document
    // may zoom, stretch and smooth differently.
    static constexpr float kMaxZoom = 16.0f;
    static constexpr float kMinZoom = 0.125f;
    float m_zoomFactor = 1.0f;
    bool m_stretchMode = false;
    bool m_smooth = false;
    void OnZoomIn();
    void OnZoomOut();
    void OnZoomNormal();
    // The zoom that shows the whole picture in the window (not stretch mode).
    void OnZoomFit();
    // One zoom step in or out keeping the picture's point under `client` in place.
    void ZoomAt(QPoint client, bool in);
    static float NextZoomIn(float zoom);
    static float NextZoomOut(float zoom);

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint) override;

    // The measurement layer this view hands drawing and input to (none: no overlay).
    void SetMeasureOverlay(std::unique_ptr<CMeasureOverlay> overlay);
    CMeasureOverlay* MeasureOverlay() const { return m_measure.get(); }
    void SetMeasureScale(float zoom);

    // What the screen shows at (width x zoom, height x zoom), overlay
    // included, as a 24-bit image; null without a picture.
    std::unique_ptr<vimg::Image> RenderWithOverlay() const;
    // The picture at 1:1 as Qt sees it (clipboard).
    QImage PictureAtNaturalSize() const;

    // Coordinates: client (viewport pixels) to image (x right, y down).
    QPoint ClientToImage(QPoint client) const;
    QPoint ScrollPosition() const;
    QSize ScrollSize() const { return m_scrollSize; }
    QSize ClientSize() const;
    QRect ImageRect() const { return m_imageRect; }
    QRect TrackerRect() const { return m_tracker; }
    bool OutlineAnimating() const { return m_antTimer.isActive(); }
    int AntPhase() const { return m_antPhase; }
    QAbstractScrollArea* ScrollArea() const { return m_scroll; }
    // The readout of the status bar's first pane for a client point.
    QString PixelReadout(QPoint client) const;

    // For the mouse tools.
    bool OverPicture(QPoint client) const;
    void ScrollTo(QPoint pos);
    void RedrawOutline();
    // The document's selection polygon becomes the picture's selection.
    void ApplySelection();
    void StartOutlineAnimation();
    void SetSelecting(bool selecting) { m_selecting = selecting; }
    QRect& Tracker() { return m_tracker; }

    // Prints what the screen shows on one page at the picture's resolution;
    // false with the reason in *error when nothing was printed.
    bool PrintPage(QPrinter& printer, QString* error) const;
    void OnFilePrint();
    void OnFilePrintPreview();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void RegisterViewCommands();
    // Shows `paneText` (if any), rescales the overlay and lays the picture out anew.
    void AfterZoom(const QString& paneText);
    void Paint(QPainter& painter, const QRect& clip);
    QImage RenderPicture() const;
    void ReportPrint(QPrinter& printer);
    // Hatch, picture, overlay and tracker into `dc`, which covers the viewport.
    void Compose(CDeviceContext& dc) const;
    void DrawTracker(CDeviceContext& dc) const;
    void DrawOutline(CDeviceContext& dc);
    QRect OutlineBounds() const;
    QRect PictureDest() const;
    void SetScrollSizes(QSize size);
    void SetScrollPosition(QPoint pos);
    void UpdateScrollBars();
    void FitFrame();
    // Scrolls so that the picture's point of the last Ctrl+wheel or zoom-tool
    // step is under the cursor again.
    void KeepZoomAnchor();

    void OnMouseMove(QMouseEvent* event);
    void OnLButtonDown(QMouseEvent* event);
    void OnLButtonUp(QMouseEvent* event);
    void OnRButtonDown(QMouseEvent* event);
    void OnRButtonUp(QMouseEvent* event);
    void OnLButtonDblClk(QMouseEvent* event);
    // The tool the document has chosen; null for none.
    CViewTool* Tool() const;

    QAbstractScrollArea* m_scroll = nullptr;
    std::unique_ptr<CMeasureOverlay> m_measure;
    QSize m_scrollSize;
    QRect m_imageRect;
    int m_antCounter = 0;
    int m_antPhase = 0;
    QBasicTimer m_antTimer;
    // Tracker rectangle in logical coordinates.
    QRect m_tracker;
    // A selection is being drawn: its outline shows before the picture has it.
    bool m_selecting = false;
    // The picture point (unzoomed) and the client point it must stay under.
    std::optional<std::pair<QPointF, QPoint>> m_zoomAnchor;
    std::array<std::unique_ptr<CViewTool>, 6> m_tools;
};
