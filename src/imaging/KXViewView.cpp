#include "KXViewView.h"

#include <algorithm>
#include <cmath>

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "ChildFrame.h"
#include "CmdUI.h"
#include "CommandIds.h"
#include "DeviceContext.h"
#include "Image.h"
#include "ImageBitmap.h"
#include "ImagePrinter.h"
#include "ImageDraw.h"
#include "TextDraw.h"
#include "KXViewDoc.h"
#include "MDIFrameWnd.h"
#include "MeasureTool.h"
#include "MoveTool.h"
#include "SelectTool.h"
#include "TextTool.h"
#include "TrackTool.h"
#include "ZoomTool.h"
#include "MeasureOverlay.h"
#include "MeasureView.h"
#include "Resource.h"
#include "UserMessages.h"
#include "WinApp.h"

namespace {

constexpr int kAntInterval = 333;
constexpr int ID_FILE_PRINT_DIRECT = 57608;
const QColor kHatchColour(191, 191, 191);

CMDIFrameWnd* Frame() { return AfxGetApp() ? AfxGetApp()->GetMainWnd() : nullptr; }

// Points of the line from a to b without b, as a line-drawing DDA gives them.
template <typename Plot>
void LineDDA(QPoint a, QPoint b, Plot plot) {
    int x = a.x(), y = a.y();
    const int dx = std::abs(b.x() - x), dy = -std::abs(b.y() - y);
    const int sx = x < b.x() ? 1 : -1, sy = y < b.y() ? 1 : -1;
    int err = dx + dy;
    while (x != b.x() || y != b.y()) {
        plot(x, y);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

} // namespace

CKXViewView::CKXViewView(QWidget* parent) : CView(parent) {
    m_scroll = new QAbstractScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ImageScrollArea"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    m_scroll->viewport()->setMouseTracking(true);
    m_scroll->viewport()->installEventFilter(this);
    m_scroll->viewport()->setFocusProxy(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(64, 48);

    OnCommand(ID_SHOW_SCALE, [this] {
        if (CKXViewDoc* doc = GetDocument()) {
            doc->m_showScale = !doc->m_showScale;
            if (m_measure) m_measure->ShowScaleLine(doc->m_showScale);
            OnUpdate(nullptr, 0);
        }
    });
    OnUpdateCommand(ID_SHOW_SCALE, [this](CCmdUI* ui) {
        ui->Enable();
        ui->SetCheck(GetDocument() && GetDocument()->m_showScale);
    });
    OnCommand(ID_FILE_PRINT, [this] { OnFilePrint(); });
    OnCommand(ID_FILE_PRINT_DIRECT, [this] {
        QPrinter printer(QPrinter::HighResolution);
        ReportPrint(printer);
    });
    OnCommand(ID_FILE_PRINT_PREVIEW, [this] { OnFilePrintPreview(); });
    RegisterViewCommands();
    SetMeasureOverlay(std::make_unique<CMeasureView>(this));
    // In the order of the document's tool numbers.
    m_tools[CKXViewDoc::TOOL_MOVE] = std::make_unique<CMoveTool>(*this);
    m_tools[CKXViewDoc::TOOL_SELECT] = std::make_unique<CSelectTool>(*this);
    m_tools[CKXViewDoc::TOOL_ZOOM] = std::make_unique<CZoomTool>(*this);
    m_tools[CKXViewDoc::TOOL_TEXT] = std::make_unique<CTextTool>(*this);
    m_tools[CKXViewDoc::TOOL_TRACK] = std::make_unique<CTrackTool>(*this);
    m_tools[CKXViewDoc::TOOL_MEASURE] = std::make_unique<CMeasureTool>(*this);
}

void CKXViewView::RegisterViewCommands() {
    OnCommand(ID_STRETCH_MODE, [this] {
        m_stretchMode = !m_stretchMode;
        OnUpdate(nullptr, 0);
    });
    OnUpdateCommand(ID_STRETCH_MODE, [this](CCmdUI* ui) {
        ui->Enable();
        ui->SetCheck(m_stretchMode);
    });
    OnCommand(ID_SMOOTH, [this] {
        m_smooth = !m_smooth;
        OnUpdate(nullptr, 0);
    });
    OnUpdateCommand(ID_SMOOTH, [this](CCmdUI* ui) {
        ui->Enable();
        ui->SetCheck(m_smooth);
    });
    OnCommand(ID_ZOOM_IN, [this] { OnZoomIn(); });
    OnUpdateCommand(ID_ZOOM_IN, [this](CCmdUI* ui) { ui->Enable(!m_stretchMode && m_zoomFactor < kMaxZoom); });
    OnCommand(ID_ZOOM_OUT, [this] { OnZoomOut(); });
    OnUpdateCommand(ID_ZOOM_OUT, [this](CCmdUI* ui) { ui->Enable(!m_stretchMode && m_zoomFactor > kMinZoom); });
    OnCommand(ID_ZOOM_NORMAL, [this] { OnZoomNormal(); });
    OnCommand(ID_ZOOM_FIT, [this] { OnZoomFit(); });
    OnUpdateCommand(ID_ZOOM_FIT, [this](CCmdUI* ui) { ui->Enable(!m_stretchMode); });
    OnUpdateCommand(ID_ZOOM_NORMAL,
                    [this](CCmdUI* ui) { ui->Enable(!m_stretchMode && m_zoomFactor != 1.0f); });
}

float CKXViewView::NextZoomIn(float zoom) {
    if (zoom == 0.5f) return 0.75f;
    if (zoom == 0.75f) return 1.0f;
    if (zoom == 1.0f) return 1.5f;
    if (zoom == 1.5f) return 2.0f;
    return zoom * 2.0f;
}

float CKXViewView::NextZoomOut(float zoom) {
    if (zoom == 2.0f) return 1.5f;
    if (zoom == 1.5f) return 1.0f;
    if (zoom == 1.0f) return 0.75f;
    if (zoom == 0.75f) return 0.5f;
    return zoom / 2.0f;
}

void CKXViewView::OnZoomIn() {
    if (m_stretchMode || m_zoomFactor >= kMaxZoom) return;
    m_zoomFactor = NextZoomIn(m_zoomFactor);
    AfterZoom(
        QStringLiteral("%1 %").arg(QLocale().toString(static_cast<double>(m_zoomFactor) * 100.0, 'f', 0), 4));
}

void CKXViewView::OnZoomOut() {
    // The menu stops at 0.125; the command itself would go on to 0.0625.
    if (m_stretchMode || m_zoomFactor <= kMinZoom / 2.0f) return;
    m_zoomFactor = NextZoomOut(m_zoomFactor);
    AfterZoom(
        QStringLiteral("%1 %").arg(QLocale().toString(static_cast<double>(m_zoomFactor) * 100.0, 'f', 1), 4));
}

void CKXViewView::OnZoomNormal() {
    if (m_stretchMode) return;
    m_zoomFactor = 1.0f;
    AfterZoom(QString());
}

void CKXViewView::OnZoomFit() {
    const CKXViewDoc* doc = GetDocument();
    const vimg::Image* image = doc ? doc->DisplayImage() : nullptr;
    if (m_stretchMode || !image || !image->IsValid()) return;
    // Without scroll bars the whole viewport is free: measure it with none.
    const QSize client = m_scroll->maximumViewportSize();
    const double fit = std::min(static_cast<double>(client.width()) / image->GetWidth(),
                                static_cast<double>(client.height()) / image->GetHeight());
    m_zoomFactor = std::clamp(static_cast<float>(fit), kMinZoom / 2.0f, kMaxZoom);
    AfterZoom(QString::asprintf("%4.1f %%", static_cast<double>(m_zoomFactor) * 100.0));
}

void CKXViewView::ZoomAt(QPoint client, bool in) {
    if (m_stretchMode || (in && m_zoomFactor >= kMaxZoom) || (!in && m_zoomFactor <= kMinZoom / 2.0f)) return;
    const double before = m_zoomFactor;
    m_zoomAnchor = {QPointF(client + ScrollPosition()) / before, client};
    if (in)
        OnZoomIn();
    else
        OnZoomOut();
    KeepZoomAnchor();
    // A free window that fits itself to the new size lays out later; the
    // anchor holds until that layout has run.
    QMetaObject::invokeMethod(this, [this] { m_zoomAnchor.reset(); }, Qt::QueuedConnection);
}

void CKXViewView::KeepZoomAnchor() {
    if (!m_zoomAnchor) return;
    const auto& [picture, client] = *m_zoomAnchor;
    SetScrollPosition((picture * static_cast<double>(m_zoomFactor) - QPointF(client)).toPoint());
    m_scroll->viewport()->update();
}

void CKXViewView::AfterZoom(const QString& paneText) {
    CKXViewDoc* doc = GetDocument();
    if (doc && !paneText.isEmpty()) doc->AnnounceStatus(2, paneText);
    SetMeasureScale(m_zoomFactor);
    OnUpdate(nullptr, UM_UPDATE_IMAGE);
    if (doc) doc->RefreshFrame();
}

CKXViewView::~CKXViewView() { m_antTimer.stop(); }

CKXViewDoc* CKXViewView::GetDocument() const { return dynamic_cast<CKXViewDoc*>(CView::GetDocument()); }

void CKXViewView::SetMeasureOverlay(std::unique_ptr<CMeasureOverlay> overlay) {
    m_measure = std::move(overlay);
    if (m_measure && GetDocument()) {
        m_measure->ShowScaleLine(GetDocument()->m_showScale);
        m_measure->SetScale(m_zoomFactor);
    }
}

void CKXViewView::SetMeasureScale(float zoom) {
    if (m_measure) m_measure->SetScale(zoom);
}

// ---- scrolling ----

QSize CKXViewView::ClientSize() const { return m_scroll->viewport()->size(); }

QPoint CKXViewView::ScrollPosition() const {
    return {m_scroll->horizontalScrollBar()->value(), m_scroll->verticalScrollBar()->value()};
}

void CKXViewView::SetScrollSizes(QSize size) {
    m_scrollSize = size;
    UpdateScrollBars();
}

void CKXViewView::UpdateScrollBars() {
    const QSize client = ClientSize();
    QScrollBar* h = m_scroll->horizontalScrollBar();
    QScrollBar* v = m_scroll->verticalScrollBar();
    h->setRange(0, std::max(0, m_scrollSize.width() - client.width()));
    h->setPageStep(std::max(1, client.width()));
    h->setSingleStep(16);
    v->setRange(0, std::max(0, m_scrollSize.height() - client.height()));
    v->setPageStep(std::max(1, client.height()));
    v->setSingleStep(16);
}

void CKXViewView::SetScrollPosition(QPoint pos) {
    m_scroll->horizontalScrollBar()->setValue(pos.x());
    m_scroll->verticalScrollBar()->setValue(pos.y());
}

// ---- coordinates ----

QPoint CKXViewView::ClientToImage(QPoint client) const {
    const CKXViewDoc* doc = GetDocument();
    const vimg::Image* image = doc ? doc->DisplayImage() : nullptr;
    if (!image || !image->IsValid()) return client;
    const QPoint scroll = ScrollPosition();
    double x = (client.x() + scroll.x()) / static_cast<double>(m_zoomFactor);
    double y = (client.y() + scroll.y()) / static_cast<double>(m_zoomFactor);
    if (m_stretchMode) {
        const double w = image->GetWidth(), h = image->GetHeight();
        const QSize c = ClientSize();
        const double s = std::min(c.height() / h, c.width() / w);
        const double dw = std::trunc(w * s), dh = std::trunc(h * s);
        if (dw > 0) x = x * w / dw;
        if (dh > 0) y = y * h / dh;
    }
    return {static_cast<int>(x), static_cast<int>(y)};
}

QRect CKXViewView::PictureDest() const {
    const CKXViewDoc* doc = GetDocument();
    const vimg::Image* image = doc ? doc->DisplayImage() : nullptr;
    if (!image || !image->IsValid()) return {};
    const double w = image->GetWidth(), h = image->GetHeight();
    if (m_stretchMode) {
        const QSize c = ClientSize();
        const double s = std::min(c.height() / h, c.width() / w);
        return {0, 0, static_cast<int>(w * s), static_cast<int>(h * s)};
    }
    const double zoom = m_zoomFactor;
    return {-ScrollPosition(), QSize(static_cast<int>(w * zoom), static_cast<int>(h * zoom))};
}

// ---- drawing ----

void CKXViewView::Compose(CDeviceContext& dc) const {
    const QPoint scroll = ScrollPosition();
    QPainter& p = dc.Painter();
    // The hatch is anchored to the picture, so it does not move while scrolling.
    p.setBrushOrigin(-(scroll.x() % 8), -(scroll.y() % 8));
    dc.FillRect(QRect(0, 0, dc.Width(), dc.Height()), QBrush(kHatchColour, Qt::DiagCrossPattern));
    const CKXViewDoc* doc = GetDocument();
    const vimg::Image* image = doc ? doc->DisplayImage() : nullptr;
    if (!image || !image->IsValid()) return;
    const QRect dest = PictureDest();
    const bool scaled = m_stretchMode || m_zoomFactor != 1.0f;
    vimg::display::Draw(*image, &dc, dest, nullptr, scaled && m_smooth);
    if (m_measure) m_measure->Draw(dc, scroll);
    if (m_tracker.width() > 0 && m_tracker.height() > 0) DrawTracker(dc);
}

void CKXViewView::DrawTracker(CDeviceContext& dc) const {
    QPainter& p = dc.Painter();
    const QRect r = m_tracker.translated(-ScrollPosition());
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    // Resize handles outside the rectangle.
    const int s = 6;
    for (const QPoint& c : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()}) {
        const QPoint o(c.x() < r.center().x() ? -s : 1, c.y() < r.center().y() ? -s : 1);
        p.fillRect(QRect(c + o, QSize(s, s)), Qt::black);
    }
    p.restore();
}

void CKXViewView::DrawOutline(CDeviceContext& dc) {
    const CKXViewDoc* doc = GetDocument();
    if (!doc || doc->m_selCount < 3) return;
    // The outline of a selection the picture no longer has (cropped, turned) is not drawn; an
    // undo that brings the selection back brings its outline back.
    const vimg::Image* image = doc->DisplayImage();
    if (!m_selecting && !(image && image->SelectionIsValid())) return;
    const QPoint scroll = ScrollPosition();
    const double zoom = m_zoomFactor;
    auto map = [&](const vimg::POINT& pt) {
        return QPoint(static_cast<int>(pt.x * zoom - scroll.x()), static_cast<int>(pt.y * zoom - scroll.y()));
    };
    const QRect clip = dc.GetClipBox();
    m_antCounter = m_antPhase;
    for (int i = 1; i < doc->m_selCount; ++i) {
        LineDDA(map(doc->m_selPoints[static_cast<size_t>(i - 1)]),
                map(doc->m_selPoints[static_cast<size_t>(i)]), [&](int x, int y) {
                    ++m_antCounter;
                    const bool white = m_antCounter <= 4;
                    if (m_antCounter == 8) m_antCounter = 0;
                    if (clip.contains(x, y)) dc.SetPixel(x, y, white ? Qt::white : Qt::black);
                });
    }
}

QRect CKXViewView::OutlineBounds() const {
    const CKXViewDoc* doc = GetDocument();
    if (!doc || doc->m_selCount < 1) return {};
    const QPoint scroll = ScrollPosition();
    const double zoom = m_zoomFactor;
    int x0 = INT32_MAX, y0 = INT32_MAX, x1 = INT32_MIN, y1 = INT32_MIN;
    for (int i = 0; i < doc->m_selCount; ++i) {
        const vimg::POINT& pt = doc->m_selPoints[static_cast<size_t>(i)];
        const int x = static_cast<int>(pt.x * zoom - scroll.x()),
                  y = static_cast<int>(pt.y * zoom - scroll.y());
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
    }
    return QRect(QPoint(x0, y0), QPoint(x1, y1)).adjusted(-1, -1, 1, 1);
}

void CKXViewView::RedrawOutline() {
    // Only the outline's box is composed again.
    const QRect box = OutlineBounds() & QRect(QPoint(0, 0), ClientSize());
    if (!box.isEmpty()) m_scroll->viewport()->update(box);
}

void CKXViewView::Paint(QPainter& painter, const QRect& clip) {
    const QSize client = ClientSize();
    CDeviceContext dc(client.width(), client.height(), Qt::white);
    dc.IntersectClipRect(clip);
    Compose(dc);
    const CKXViewDoc* doc = GetDocument();
    if (doc && doc->DisplayImage()) {
        const vimg::Image* image = doc->DisplayImage();
        m_imageRect = QRect(0, 0, static_cast<int>(image->GetWidth() * m_zoomFactor),
                            static_cast<int>(image->GetHeight() * m_zoomFactor));
    }
    DrawOutline(dc);
    painter.drawImage(clip.topLeft(), dc.Image(), clip);
}

QImage CKXViewView::RenderPicture() const {
    const CKXViewDoc* doc = GetDocument();
    const vimg::Image* image = doc ? doc->DisplayImage() : nullptr;
    if (!image || !image->IsValid()) return {};
    const int w = static_cast<int>(image->GetWidth() * m_zoomFactor);
    const int h = static_cast<int>(image->GetHeight() * m_zoomFactor);
    if (w <= 0 || h <= 0) return {};
    CDeviceContext dc(w, h, Qt::white);
    const bool scaled = m_stretchMode || m_zoomFactor != 1.0f;
    vimg::display::Draw(*image, &dc, QRect(0, 0, w, h), nullptr, scaled && m_smooth);
    if (m_measure) m_measure->Draw(dc, QPoint(0, 0));
    return dc.Image().copy();
}

std::unique_ptr<vimg::Image> CKXViewView::RenderWithOverlay() const {
    const QImage picture = RenderPicture();
    return vimg::display::FromQImage(picture);
}

QImage CKXViewView::PictureAtNaturalSize() const {
    const CKXViewDoc* doc = GetDocument();
    const vimg::Image* image = doc ? doc->DisplayImage() : nullptr;
    if (!image || !image->IsValid()) return {};
    const int w = static_cast<int>(image->GetWidth()), h = static_cast<int>(image->GetHeight());
    CDeviceContext dc(w, h, Qt::white);
    vimg::display::Draw(*image, &dc, QRect(0, 0, w, h));
    return dc.Image().copy();
}

// ---- printing ----

bool CKXViewView::PrintPage(QPrinter& printer, QString* error) const {
    const CKXViewDoc* doc = GetDocument();
    const vimg::Image* image = doc ? doc->DisplayImage() : nullptr;
    if (!image) {
        if (error) *error = QCoreApplication::translate("KXViewView", "Das Dokument enthält kein Bild.");
        return false;
    }
    // The picture keeps its resolution on paper: an inch stays an inch.
    return CImagePrinter::Print(printer, RenderPicture(), QSize(image->GetXDPI(), image->GetYDPI()),
                                doc->GetTitle(), error);
}

void CKXViewView::OnFilePrint() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dlg(&printer, this);
    dlg.setMinMax(1, 1);
    if (dlg.exec() == QDialog::Accepted) ReportPrint(printer);
}

void CKXViewView::ReportPrint(QPrinter& printer) {
    QString error;
    if (!PrintPage(printer, &error))
        QMessageBox::warning(this, QStringLiteral("Vistorel"),
                             QCoreApplication::translate("KXViewView", "Nicht gedruckt:\n%1").arg(error));
}

void CKXViewView::OnFilePrintPreview() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dlg(&printer, this);
    connect(&dlg, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* p) { PrintPage(*p, nullptr); });
    dlg.exec();
}

// ---- updates and messages ----

void CKXViewView::OnInitialUpdate() { OnUpdate(nullptr, UM_UPDATE_IMAGE); }

void CKXViewView::OnUpdate(CView*, LPARAM hint) {
    CKXViewDoc* doc = GetDocument();
    const vimg::Image* image = doc ? doc->DisplayImage() : nullptr;
    const bool valid = image && image->IsValid();
    const QSize zoomed = valid ? QSize(static_cast<int>(image->GetWidth() * m_zoomFactor),
                                       static_cast<int>(image->GetHeight() * m_zoomFactor))
                               : QSize();
    if (hint == UM_UPDATE_IMAGE) {
        m_tracker = QRect();
        if (m_measure) m_measure->PictureChanged();
        if (valid) {
            const QPoint oldPos = ScrollPosition();
            const QSize oldSize = m_scrollSize;
            SetScrollSizes(zoomed);
            if (!oldSize.isEmpty()) {
                // Keep the relative position where the picture is larger than the window.
                const QSize client = ClientSize();
                const int x = zoomed.width() > client.width() && oldSize.width() > 0
                                  ? static_cast<int>(int64_t{zoomed.width()} * oldPos.x() / oldSize.width())
                                  : 0;
                const int y = zoomed.height() > client.height() && oldSize.height() > 0
                                  ? static_cast<int>(int64_t{zoomed.height()} * oldPos.y() / oldSize.height())
                                  : 0;
                SetScrollPosition(QPoint(x, y));
            }
            FitFrame();
            if (!image->SelectionIsValid()) m_antTimer.stop();
            if (!doc->IsBusy())
                doc->GetImage()->SetJpegQuality(static_cast<uint8_t>(doc->Settings().jpegQuality));
        }
    } else if (valid) {
        SetScrollSizes(m_stretchMode ? QSize(0, 0) : zoomed);
    }
    m_scroll->viewport()->update();
}

void CKXViewView::FitFrame() {
    if (auto* frame = dynamic_cast<CChildFrame*>(GetParentFrame())) frame->FitToPicture(m_scrollSize);
}

// ---- input ----

bool CKXViewView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_scroll->viewport()) return CView::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Paint: {
        QPainter painter(m_scroll->viewport());
        Paint(painter, static_cast<QPaintEvent*>(event)->rect());
        return true;
    }
    case QEvent::Resize:
        UpdateScrollBars();
        KeepZoomAnchor();
        return false;
    case QEvent::MouseMove:
        OnMouseMove(static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        setFocus();
        if (e->button() == Qt::LeftButton) OnLButtonDown(e);
        if (e->button() == Qt::RightButton) OnRButtonDown(e);
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton) OnLButtonUp(e);
        if (e->button() == Qt::RightButton) OnRButtonUp(e);
        return true;
    }
    case QEvent::MouseButtonDblClick: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton) OnLButtonDblClk(e);
        return true;
    }
    case QEvent::ContextMenu:
        return true;
    case QEvent::Wheel: {
        // Ctrl+wheel zooms about the cursor; the plain wheel scrolls.
        auto* e = static_cast<QWheelEvent*>(event);
        if (!(e->modifiers() & Qt::ControlModifier)) return false;
        if (e->angleDelta().y() != 0) ZoomAt(e->position().toPoint(), e->angleDelta().y() > 0);
        return true;
    }
    default:
        return false;
    }
}

QString CKXViewView::PixelReadout(QPoint client) const {
    const CKXViewDoc* doc = GetDocument();
    const vimg::Image* image = doc ? doc->DisplayImage() : nullptr;
    if (!image || !image->IsValid()) return QStringLiteral(" ");
    const QPoint pt = ClientToImage(client);
    const int h = static_cast<int>(image->GetHeight());
    if (pt.x() < 0 || pt.y() < 0 || pt.x() >= static_cast<int>(image->GetWidth()) || pt.y() >= h)
        return QStringLiteral(" ");
    const int row = h - 1 - pt.y(); // the readout counts from the top, the library from the bottom
    const uint8_t index = image->GetPixelIndex(pt.x(), row);
    const vimg::RGBQUAD c = image->GetPixelColor(pt.x(), row, false);
    const int alpha =
        image->AlphaIsValid() ? image->AlphaGet(pt.x(), row) : image->GetPaletteColor(index).rgbReserved;
    return QString::asprintf("x: %d y: %d  idx: %d", pt.x(), pt.y(), index) +
           QString::asprintf("  RGBA: (%d, %d, %d, %d)", c.rgbRed, c.rgbGreen, c.rgbBlue, alpha);
}

bool CKXViewView::OverPicture(QPoint client) const {
    const CKXViewDoc* doc = GetDocument();
    const vimg::Image* image = doc ? doc->DisplayImage() : nullptr;
    if (!image || !image->IsValid()) return false;
    const QPoint pt = ClientToImage(client);
    return pt.x() >= 0 && pt.y() >= 0 && pt.x() < static_cast<int>(image->GetWidth()) &&
           pt.y() < static_cast<int>(image->GetHeight());
}

CViewTool* CKXViewView::Tool() const {
    const CKXViewDoc* doc = GetDocument();
    if (!doc || doc->m_tool < 0 || doc->m_tool >= static_cast<int>(m_tools.size())) return nullptr;
    return m_tools[static_cast<size_t>(doc->m_tool)].get();
}

void CKXViewView::OnMouseMove(QMouseEvent* event) {
    CKXViewDoc* doc = GetDocument();
    const vimg::Image* image = doc ? doc->DisplayImage() : nullptr;
    if (!image || !image->IsValid()) return;
    if (CViewTool* tool = Tool()) tool->Move(*event);
    doc->AnnounceStatus(0, PixelReadout(event->position().toPoint()));
}

void CKXViewView::OnLButtonDown(QMouseEvent* event) {
    CKXViewDoc* doc = GetDocument();
    if (!doc) return;
    if (CViewTool* tool = Tool()) tool->Press(*event);
    vimg::Image* image = doc->GetImage();
    if (doc->m_waitingClick) {
        // The click picks the transparent colour, whatever the tool.
        doc->m_waitingClick = false;
        const QPoint pt = ClientToImage(event->position().toPoint());
        const bool editable = image && image->IsValid() && !doc->IsBusy();
        if (editable && image->IsInside(pt.x(), static_cast<int>(image->GetHeight()) - 1 - pt.y()) &&
            doc->SubmitUndo()) {
            const int row = static_cast<int>(image->GetHeight()) - 1 - pt.y();
            image->SetTransIndex(image->GetPixelIndex(pt.x(), row));
            image->SetTransColor(image->GetPixelColor(pt.x(), row, false));
            doc->UpdateAllViews(nullptr, 0);
        }
    } else {
        // A new selection starts.
        m_antTimer.stop();
        doc->m_selCount = 0;
        m_antPhase = 0;
    }
}

void CKXViewView::ApplySelection() {
    CKXViewDoc* doc = GetDocument();
    vimg::Image* image = doc ? doc->GetImage() : nullptr;
    if (!image || !image->IsValid() || doc->IsBusy()) return;
    const int h = static_cast<int>(image->GetHeight());
    std::vector<vimg::POINT> polygon(static_cast<size_t>(doc->m_selCount));
    for (int i = 0; i < doc->m_selCount; ++i)
        polygon[static_cast<size_t>(i)] = {doc->m_selPoints[static_cast<size_t>(i)].x,
                                           h - 1 - doc->m_selPoints[static_cast<size_t>(i)].y};
    doc->Stopwatch(false);
    image->SelectionClear();
    image->SelectionAddPolygon(polygon.data(), doc->m_selCount);
    doc->Stopwatch(true);
    doc->UpdateStatusBar();
}

void CKXViewView::OnLButtonUp(QMouseEvent* event) {
    if (CViewTool* tool = Tool()) tool->Release(*event);
    m_scroll->viewport()->unsetCursor();
}

void CKXViewView::OnRButtonDown(QMouseEvent* event) {
    if (CViewTool* tool = Tool()) tool->RightPress(*event);
}

void CKXViewView::OnRButtonUp(QMouseEvent* event) {
    if (CViewTool* tool = Tool()) tool->RightRelease(*event);
}

void CKXViewView::OnLButtonDblClk(QMouseEvent* event) {
    if (CViewTool* tool = Tool()) tool->DoubleClick(*event);
}

void CKXViewView::ScrollTo(QPoint pos) {
    SetScrollPosition(pos);
    m_scroll->viewport()->update();
}

void CKXViewView::StartOutlineAnimation() { m_antTimer.start(kAntInterval, this); }

void CKXViewView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        if (CViewTool* tool = Tool(); tool && tool->Cancel()) return;
        CMDIFrameWnd* frame = Frame();
        if (frame && frame->isFullScreen())
            QTimer::singleShot(0, frame, [frame] { frame->ExecuteCommand(ID_FULL_SCREEN); });
        return;
    }
    // Delete and Backspace remove the selected measurement, as "Messen > Löschen" does.
    const CKXViewDoc* doc = GetDocument();
    if ((event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) && doc &&
        doc->m_tool == CKXViewDoc::TOOL_MEASURE) {
        if (CMDIFrameWnd* frame = Frame()) frame->ExecuteCommand(ID_MEASURE_DELETE);
        return;
    }
    if (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) {
        m_scroll->verticalScrollBar()->triggerAction(event->key() == Qt::Key_PageUp
                                                         ? QAbstractSlider::SliderPageStepSub
                                                         : QAbstractSlider::SliderPageStepAdd);
        return;
    }
    CView::keyPressEvent(event);
}

void CKXViewView::focusInEvent(QFocusEvent* event) {
    CView::focusInEvent(event);
    if (CKXViewDoc* doc = GetDocument()) doc->UpdateStatusBar();
}

void CKXViewView::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_antTimer.timerId()) {
        CView::timerEvent(event);
        return;
    }
    m_antPhase = (m_antPhase + 1) % 8;
    RedrawOutline();
}
