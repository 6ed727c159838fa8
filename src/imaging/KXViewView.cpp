#include "KXViewView.h"

#include <algorithm>
#include <cmath>

#include <QAbstractScrollArea>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

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
    AfterZoom(QString::asprintf("%4.0f %%", static_cast<double>(m_zoomFactor) * 100.0));
}

void CKXViewView::OnZoomOut() {
    // The menu stops at 0.125; the command itself would go on to 0.0625.
    if (m_stretchMode || m_zoomFactor <= kMinZoom / 2.0f) return;
    m_zoomFactor = NextZoomOut(m_zoomFactor);
    AfterZoom(QString::asprintf("%4.1f %%", static_cast<double>(m_zoomFactor) * 100.0));
}

void CKXViewView::OnZoomNormal() {
    if (m_stretchMode) return;
    m_zoomFactor = 1.0f;
    AfterZoom(QString());
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
        if (error) *error = QStringLiteral("Das Dokument enthält kein Bild.");
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
                             QStringLiteral("Nicht gedruckt:\n%1").arg(error));
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

void CKXViewView::OnMouseMove(QMouseEvent* event) {
    CKXViewDoc* doc = GetDocument();
    const vimg::Image* image = doc ? doc->DisplayImage() : nullptr;
    if (!image || !image->IsValid()) return;
    const QPoint p = event->position().toPoint();
    const QPoint pt = ClientToImage(p);
    const QString readout = PixelReadout(p);
    const bool inside = pt.x() >= 0 && pt.y() >= 0 && pt.x() < static_cast<int>(image->GetWidth()) &&
                        pt.y() < static_cast<int>(image->GetHeight());
    const Qt::MouseButtons buttons = event->buttons();
    const bool editable = !doc->IsBusy();

    if (inside && doc->m_tool == CKXViewDoc::TOOL_SELECT && editable && (buttons & Qt::RightButton) &&
        !(buttons & Qt::LeftButton)) {
        const QPointF m(pt);
        if (event->modifiers() & Qt::ControlModifier) {
            const int dx = static_cast<int>(m.x() - m_lastDrag.x()),
                      dy = static_cast<int>(m.y() - m_lastDrag.y());
            for (int i = 0; i < doc->m_selCount; ++i) {
                doc->m_selPoints[static_cast<size_t>(i)].x += dx;
                doc->m_selPoints[static_cast<size_t>(i)].y += dy;
            }
            m_lastDrag = m;
            m_rightDragChanged = true;
            m_scroll->viewport()->update();
        } else if (doc->m_rectSelection && doc->m_selCount == 5) {
            const double angle =
                std::atan2(m.y() - m_rotateCentre.y(), m.x() - m_rotateCentre.x()) -
                std::atan2(m_lastDrag.y() - m_rotateCentre.y(), m_lastDrag.x() - m_rotateCentre.x());
            const double c = std::cos(angle), s = std::sin(angle);
            for (size_t i = 0; i < 5; ++i) {
                const QPointF d = m_rotatePoints[i] - m_rotateCentre;
                m_rotatePoints[i] = m_rotateCentre + QPointF(d.x() * c - d.y() * s, d.x() * s + d.y() * c);
                doc->m_selPoints[i] = {static_cast<int32_t>(std::floor(m_rotatePoints[i].x())),
                                       static_cast<int32_t>(std::floor(m_rotatePoints[i].y()))};
            }
            m_lastDrag = m;
            m_rightDragChanged = true;
            m_scroll->viewport()->update();
        }
    }

    if (inside && (buttons & Qt::LeftButton)) {
        if (doc->m_tool == CKXViewDoc::TOOL_MOVE) {
            m_scroll->viewport()->setCursor(Qt::SizeAllCursor);
            const QSize client = ClientSize();
            const int x =
                m_scrollSize.width() > client.width() ? m_downScroll.x() + m_downPoint.x() - p.x() : 0;
            const int y =
                m_scrollSize.height() > client.height() ? m_downScroll.y() + m_downPoint.y() - p.y() : 0;
            SetScrollPosition(QPoint(x, y));
            m_scroll->viewport()->update();
        } else if (doc->m_tool == CKXViewDoc::TOOL_SELECT && editable) {
            m_scroll->viewport()->setCursor(Qt::CrossCursor);
            if (event->modifiers() & Qt::ShiftModifier) {
                doc->m_rectSelection = true;
                if (doc->m_selCount == 0) {
                    doc->m_selPoints[0] = {pt.x(), pt.y()};
                    doc->m_selCount = 1;
                } else {
                    const vimg::POINT first = doc->m_selPoints[0];
                    doc->m_selPoints[1] = {pt.x(), first.y};
                    doc->m_selPoints[2] = {pt.x(), pt.y()};
                    doc->m_selPoints[3] = {first.x, pt.y()};
                    doc->m_selPoints[4] = first;
                    doc->m_selCount = 5;
                }
                m_scroll->viewport()->update();
            } else {
                const QPoint scroll = ScrollPosition();
                const double zoom = m_zoomFactor;
                doc->m_selPoints[static_cast<size_t>(doc->m_selCount)] = {
                    static_cast<int32_t>((p.x() + scroll.x()) / zoom),
                    static_cast<int32_t>((p.y() + scroll.y()) / zoom)};
                // Past the last entry later points overwrite it.
                if (doc->m_selCount < CKXViewDoc::kMaxSelPoints - 2) ++doc->m_selCount;
            }
            RedrawOutline();
        }
    }
    if (doc->m_tool == CKXViewDoc::TOOL_TRACK && m_trackDrag != TrackDrag::None) TrackerMove(p);
    if (doc->m_tool == CKXViewDoc::TOOL_MEASURE && m_measure && m_imageRect.contains(p))
        m_measure->MouseMove(p + ScrollPosition());
    doc->AnnounceStatus(0, readout);
}

void CKXViewView::OnLButtonDown(QMouseEvent* event) {
    CKXViewDoc* doc = GetDocument();
    if (!doc) return;
    const QPoint p = event->position().toPoint();
    vimg::Image* image = doc->GetImage();
    const bool editable = image && image->IsValid() && !doc->IsBusy();
    switch (doc->m_tool) {
    case CKXViewDoc::TOOL_MOVE:
    case CKXViewDoc::TOOL_SELECT:
        doc->m_rectSelection = event->modifiers() & Qt::ShiftModifier;
        if (doc->DisplayImage()) {
            m_downScroll = ScrollPosition();
            m_downPoint = p;
        }
        m_selecting = doc->m_tool == CKXViewDoc::TOOL_SELECT;
        break;
    case CKXViewDoc::TOOL_ZOOM:
        if (!doc->m_waitingClick)
            QTimer::singleShot(0, this, [this] { OnCmdMsg(ID_ZOOM_IN, nullptr); });
        break;
    case CKXViewDoc::TOOL_TEXT:
        doc->m_tool = CKXViewDoc::TOOL_NONE;
        if (editable && doc->SubmitUndo()) {
            const QPoint pt = ClientToImage(p);
            vimg::display::DrawStringEx(*image, pt.x(), pt.y(), &doc->Settings().textInfo);
            m_scroll->viewport()->update();
        }
        break;
    case CKXViewDoc::TOOL_TRACK:
        if (editable) TrackerDown(p);
        break;
    case CKXViewDoc::TOOL_MEASURE:
        if (m_measure && m_imageRect.contains(p)) m_measure->MouseDown(p + ScrollPosition());
        break;
    default:
        break;
    }
    if (doc->m_waitingClick) {
        doc->m_waitingClick = false;
        const QPoint pt = ClientToImage(p);
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
    CKXViewDoc* doc = GetDocument();
    if (!doc) return;
    const QPoint p = event->position().toPoint();
    if (doc->m_tool == CKXViewDoc::TOOL_MEASURE && m_measure && m_imageRect.contains(p))
        m_measure->MouseUp(p + ScrollPosition());
    if (doc->m_tool == CKXViewDoc::TOOL_TRACK && m_trackDrag != TrackDrag::None) TrackerUp();
    m_selecting = false;
    vimg::Image* image = doc->GetImage();
    if (doc->m_tool == CKXViewDoc::TOOL_SELECT && image && image->IsValid() && !doc->IsBusy()) {
        if (doc->m_selCount < 3) {
            image->SelectionDelete();
        } else {
            const vimg::POINT first = doc->m_selPoints[0];
            const vimg::POINT last = doc->m_selPoints[static_cast<size_t>(doc->m_selCount - 1)];
            // A free-hand polygon is closed; a Shift rectangle already ends on its first point.
            if (!(first.x == last.x && first.y == last.y) && doc->m_selCount < CKXViewDoc::kMaxSelPoints)
                doc->m_selPoints[static_cast<size_t>(doc->m_selCount++)] = first;
            m_antTimer.start(kAntInterval, this);
            ApplySelection();
        }
        m_scroll->viewport()->update();
    }
    m_scroll->viewport()->unsetCursor();
}

void CKXViewView::OnRButtonDown(QMouseEvent* event) {
    CKXViewDoc* doc = GetDocument();
    if (!doc || doc->m_tool != CKXViewDoc::TOOL_SELECT) return;
    // A right-button drag starts from here: the centre of a rotation is the rectangle's centre.
    m_lastDrag = QPointF(ClientToImage(event->position().toPoint()));
    m_rightDragChanged = false;
    if (doc->m_selCount == 5) {
        QPointF sum;
        for (size_t i = 0; i < 4; ++i) {
            m_rotatePoints[i] = QPointF(doc->m_selPoints[i].x, doc->m_selPoints[i].y);
            sum += m_rotatePoints[i];
        }
        m_rotatePoints[4] = m_rotatePoints[0];
        m_rotateCentre = sum / 4.0;
    }
}

void CKXViewView::OnRButtonUp(QMouseEvent*) {
    CKXViewDoc* doc = GetDocument();
    // A moved or turned outline takes the image's selection with it.
    if (doc && m_rightDragChanged && doc->m_selCount >= 3) ApplySelection();
    m_rightDragChanged = false;
}

void CKXViewView::OnLButtonDblClk(QMouseEvent* event) {
    CKXViewDoc* doc = GetDocument();
    const QPoint p = event->position().toPoint();
    if (doc && doc->m_tool == CKXViewDoc::TOOL_MEASURE && m_measure && m_imageRect.contains(p))
        m_measure->DoubleClick(p + ScrollPosition());
}

// ---- tracker ----

void CKXViewView::TrackerDown(QPoint client) {
    const QPoint logical = client + ScrollPosition();
    m_trackStart = logical;
    m_trackStartRect = m_tracker;
    m_trackDrag = m_tracker.contains(logical) ? TrackDrag::Move : TrackDrag::New;
    if (m_trackDrag == TrackDrag::New) m_tracker = QRect();
    grabKeyboard();
}

void CKXViewView::TrackerMove(QPoint client) {
    const QPoint logical = client + ScrollPosition();
    if (m_trackDrag == TrackDrag::Move)
        m_tracker = m_trackStartRect.translated(logical - m_trackStart);
    else
        m_tracker = QRect(m_trackStart, logical).normalized();
    m_scroll->viewport()->update();
}

void CKXViewView::TrackerUp() {
    releaseKeyboard();
    m_trackDrag = TrackDrag::None;
    CKXViewDoc* doc = GetDocument();
    vimg::Image* image = doc ? doc->GetImage() : nullptr;
    if (m_tracker.width() > 0 && m_tracker.height() > 0 && image && !doc->IsBusy()) {
        const QPoint scroll = ScrollPosition();
        // Image pixels from a (inclusive) to b (exclusive); the library's rectangle
        // covers rows bottom .. top - 1.
        const QPoint a = ClientToImage(m_tracker.topLeft() - scroll);
        const QPoint b = ClientToImage(m_tracker.bottomRight() + QPoint(1, 1) - scroll);
        const int h = static_cast<int>(image->GetHeight());
        image->SelectionClear();
        image->SelectionAddRect(vimg::RECT{a.x(), h - a.y(), b.x(), h - b.y()});
    } else {
        m_tracker = QRect();
    }
    OnUpdate(nullptr, 0);
}

void CKXViewView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        if (m_trackDrag != TrackDrag::None) { // a cancelled drag leaves no rectangle
            releaseKeyboard();
            m_trackDrag = TrackDrag::None;
            m_tracker = QRect();
            OnUpdate(nullptr, 0);
            return;
        }
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
