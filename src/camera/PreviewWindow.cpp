#include "PreviewWindow.h"

#include <algorithm>
#include <cmath>

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include "CameraCalls.h"
#include "PreviewMeasure.h"
#include "Resource.h"
#include "UserMessages.h"

namespace {

// The pick cursor: a cross with a ring, its hot spot in the middle.
QCursor MakePickCursor() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    for (const auto& [colour, width] :
         {std::pair{QColor(Qt::white), 3.0}, std::pair{QColor(Qt::black), 1.0}}) {
        p.setPen(QPen(colour, width));
        p.drawLine(16, 2, 16, 12);
        p.drawLine(16, 20, 16, 30);
        p.drawLine(2, 16, 12, 16);
        p.drawLine(20, 16, 30, 16);
        p.drawEllipse(QPointF(16, 16), 6, 6);
    }
    return QCursor(pixmap, 16, 16);
}

} // namespace

CPreviewWindow::CPreviewWindow(CMessageTarget* mainWindow, CameraCalls* calls, QWidget* parent)
    : QWidget(parent), m_mainWindow(mainWindow), m_calls(calls), m_display(new QLabel(this)),
      m_pickCursor(MakePickCursor()) {
    setObjectName(QStringLiteral("PaneWindow%1").arg(IDD_PREVIEW));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(48, 48, 48));
    setPalette(pal);
    m_display->setObjectName(QStringLiteral("Display%1").arg(IDC_PREVIEW_DISPLAY));
    m_display->setAutoFillBackground(true);
    pal.setColor(QPalette::Window, Qt::black);
    m_display->setPalette(pal);
    // Moves over the display reach this window, which arms the pick cursor.
    m_display->setMouseTracking(true);
    setMouseTracking(true);
    setMinimumSize(64, 48);
    // A click on the dark margin too gives the picture the keyboard (the simulated stage and focus keys).
    setFocusPolicy(Qt::ClickFocus);
    setFocusProxy(m_display);
    // Measurements on the live picture, in the camera's pixels.
    m_measure = new kxvm::PreviewMeasure(m_display, [this] {
        return m_calls ? QString::fromUtf8(m_calls->GetCameraID().name) : QString();
    });
}

void CPreviewWindow::SetArea(int width, int height) {
    m_areaWidth = width - 11;
    m_areaHeight = height - 130;
    if (!m_imageSize.isEmpty()) Fit(m_imageSize.width(), m_imageSize.height());
    else m_display->setGeometry(QRect(QPoint(0, 0), UsableArea()));
}

QSize CPreviewWindow::UsableArea() const {
    QSize area(std::max(m_areaWidth, 0), std::max(m_areaHeight, 0));
    if (width() > 0 && height() > 0) area = area.boundedTo(size());
    return area;
}

QRect CPreviewWindow::FitRect(int w, int h, int W, int H) {
    if (w <= 0 || h <= 0 || W <= 0 || H <= 0) return {};
    if (w < W && h < H) return {(W - w) / 2, (H - h) / 2, w, h};
    // The vertical ratio in extended precision, the horizontal one in single.
    const long double sh = static_cast<long double>(H) / h;
    const float sw = static_cast<float>(W) / static_cast<float>(w);
    const long double s = std::min(sh, static_cast<long double>(sw));
    const int nw = static_cast<int>(w * s);
    const int nh = static_cast<int>(h * s);
    return {(W - nw) / 2, (H - nh) / 2, nw, nh};
}

void CPreviewWindow::Fit(int imageWidth, int imageHeight) {
    if (m_imageSize != QSize(imageWidth, imageHeight))
        m_measure->SetFrameSize(QSize(imageWidth, imageHeight));
    m_imageSize = QSize(imageWidth, imageHeight);
    const QSize area = UsableArea();
    const QRect r = FitRect(imageWidth, imageHeight, area.width(), area.height());
    if (r.isEmpty()) return;
    m_display->setGeometry(r);
    m_display->show();
}

void CPreviewWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!m_imageSize.isEmpty()) Fit(m_imageSize.width(), m_imageSize.height());
}

bool CPreviewWindow::AreaGains(int r, int g, int b, const int gains[3], int out[3]) {
    if (r == 0 || g == 0 || b == 0) return false;
    const double y = (30.0 * r + 59.0 * g + 11.0 * b) * 0.01;
    const int c[3] = {r, g, b};
    for (int i = 0; i < 3; ++i) {
        const double v = ((y - c[i]) / c[i] + 1) * gains[i] + 0.5;
        out[i] = std::clamp(static_cast<int>(std::trunc(v)), 0, 255);
    }
    return true;
}

void CPreviewWindow::mouseMoveEvent(QMouseEvent* event) {
    if (m_pickWhite == 1 && !m_cursorSwapped) {
        m_previousCursor = cursor();
        setCursor(m_pickCursor);
        m_display->setCursor(m_pickCursor);
        m_cursorSwapped = true;
    }
    QWidget::mouseMoveEvent(event);
}

void CPreviewWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_pickWhite == 0) {
        QWidget::mousePressEvent(event);
        return;
    }
    // The colour on screen under the cursor, as the user saw it.
    const QPoint pos = event->position().toPoint();
    QColor colour(Qt::black);
    if (m_display->isVisible() && m_display->geometry().contains(pos)) {
        const QImage pixel = m_display->grab(QRect(m_display->mapFrom(this, pos), QSize(1, 1))).toImage();
        if (!pixel.isNull()) colour = pixel.pixelColor(0, 0);
    }
    if (colour.red() == 0 || colour.green() == 0 || colour.blue() == 0) return; // the pick stays armed
    int gains[3] = {};
    int balanced[3] = {};
    m_calls->GetGain(&gains[0], &gains[1], &gains[2]);
    AreaGains(colour.red(), colour.green(), colour.blue(), gains, balanced);
    m_calls->SetGain(balanced[0], balanced[1], balanced[2]);
    QWidget::mousePressEvent(event);
    m_pickWhite = 0;
    if (m_cursorSwapped) {
        setCursor(m_previousCursor);
        m_display->unsetCursor();
        m_cursorSwapped = false;
    }
}

LRESULT CPreviewWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == UM_CAMERA_FRAME) return SendMessage(m_mainWindow, message, wParam, lParam);
    return 0;
}
