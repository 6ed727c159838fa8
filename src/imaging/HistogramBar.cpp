#include "HistogramBar.h"

#include <algorithm>
#include <cmath>

#include <QCheckBox>
#include <QCoreApplication>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include "CameraLibrary.h"
#include "Image.h"
#include "KXViewDoc.h"
#include "Resource.h"
#include "Resources.h"

namespace {

// Pixels per 4 × 8 dialog units of the bar's "MS Shell Dlg" 8.
constexpr int kBaseX = 6, kBaseY = 13;
constexpr int kBaseline = 10;      // the curves' zero lies this far above the bottom
constexpr int kFrameLeft = 9, kFrameRight = 266;
constexpr int kDrawingWidth = 270; // the grid's lines reach x = 268
const QColor kCurveColours[4] = {QColor(222, 0, 0), QColor(0, 222, 0), QColor(0, 0, 222), QColor(64, 64, 64)};

QIcon ChannelIcon(const QColor& colour) {
    QPixmap pixmap(12, 12);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

} // namespace

CHistogramBar::CHistogramBar(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("HistogramBar"));
    if (const DialogTemplate* tmpl = resources::Dialog(IDD_HISTOGRAM)) {
        for (const DialogControl& c : tmpl->controls) {
            if (c.id != IDC_HIST_LOG) continue;
            m_logBox = new QCheckBox(QString::fromUtf8(c.text), this);
            m_logBox->setGeometry(c.x * kBaseX / 4, c.y * kBaseY / 8, c.cx * kBaseX / 4, c.cy * kBaseY / 8);
            connect(m_logBox, &QCheckBox::clicked, this, [this] { ReadControls(); });
        }
    }
    static const char* const kTexts[4] = {"R", "G", "B", QT_TRANSLATE_NOOP("HistogramBar", "gray")};
    for (int i = 0; i < 4; ++i) {
        auto* button = new QPushButton(ChannelIcon(kCurveColours[i]),
                                       QCoreApplication::translate("HistogramBar", kTexts[i]), this);
        button->setCheckable(true);
        // Buttons 10 + 50 i .. 59 + 50 i; "gray" at 160 .. 209, so it sits where a fourth would.
        button->setGeometry(10 + 50 * i, 8, 49, 27);
        button->setChecked(i != GRAY);
        connect(button, &QPushButton::clicked, this, [this] { ReadControls(); });
        m_buttons[i] = button;
    }
    // At first all four curves are drawn, although "gray" is not pressed.
    m_show = {true, true, true, true};
    m_log = false;

    m_pollTimer.setInterval(10);
    connect(&m_pollTimer, &QTimer::timeout, this, [this] { PollCamera(); });
    m_liveCounter = std::make_unique<CLiveHistogram>([this](const LiveHistogramCounts& counts) {
        QMetaObject::invokeMethod(
            this,
            [this, counts] {
                m_liveCounts = counts;
                m_hasLive = true;
                ++m_liveUpdates;
                if (m_cameraMode && m_cameraMode()) update();
            },
            Qt::QueuedConnection);
    });
}

CHistogramBar::~CHistogramBar() = default;

void CHistogramBar::ReadControls() {
    for (int i = 0; i < 4; ++i) m_show[i] = m_buttons[i]->isChecked();
    m_log = m_logBox && m_logBox->isChecked();
    update();
}

std::vector<int> CHistogramBar::HorizontalGridRows(int height, int top) {
    std::vector<int> rows;
    const int span = height - top;
    const int step = span / 10;
    if (step <= 0) return rows; // a bar this low has no room for the lines
    for (int k = 0; k * step < span; ++k) rows.push_back(height - 9 - k * step);
    return rows;
}

QPolygon CHistogramBar::Curve(const long* counts, long max, int height, bool logarithmic, int top) {
    QPolygon curve(256);
    const int y0 = height - kBaseline;
    const int t = height - kBaseline - top;
    const float f = t / std::log10(static_cast<float>(max) + 1.0f);
    for (int i = 0; i < 256; ++i) {
        int y;
        if (logarithmic) {
            // Rounding in single precision may lift the largest count a pixel above the top.
            y = std::max(static_cast<int>(y0 - std::log10(static_cast<float>(counts[i]) + 1.0f) * f), y0 - t);
        } else {
            // y0 − v·t / max truncated, in integers so that max lands exactly on the top.
            const int64_t scaled = int64_t{counts[i]} * t;
            y = y0 - static_cast<int>((scaled + max - 1) / max);
        }
        curve[i] = QPoint(10 + i, y);
    }
    return curve;
}

void CHistogramBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int h = height();
    const bool camera = m_cameraMode && m_cameraMode();
    const int top = camera ? kPlotTop + kClippedBand : kPlotTop;
    CKXViewDoc* doc = camera || !m_activeDocument ? nullptr : m_activeDocument();
    if (!camera && !doc) return; // no document: the background only
    // The drawing is 270 pixels wide; in a narrower pane it is narrowed to
    // fit, so the last bins (the highlights that clip at 255) stay in view.
    if (width() < kDrawingWidth) p.scale(static_cast<qreal>(width()) / kDrawingWidth, 1.0);

    QPen grid(palette().color(QPalette::Mid), 1, Qt::DotLine);
    grid.setCosmetic(true);
    p.setPen(grid);
    for (int x = 41; x <= 233; x += 32) p.drawLine(x, top, x, h - 6);
    for (int y : HorizontalGridRows(h, top)) p.drawLine(8, y, 268, y);
    QPen framePen(palette().color(QPalette::Dark), 1);
    framePen.setCosmetic(true);
    p.setPen(framePen);
    const QPoint frame[] = {
        {kFrameLeft, top - 2}, {kFrameLeft, h - 9}, {kFrameRight, h - 9}, {kFrameRight, top - 2}};
    p.drawPolyline(frame, 4);

    if (camera) {
        DrawClipped(p);
        if (m_hasLive && m_liveCounts.max > 0)
            DrawCurves(p, {m_liveCounts.red.data(), m_liveCounts.green.data(), m_liveCounts.blue.data(),
                           m_liveCounts.gray.data()},
                       m_liveCounts.max, top);
        return;
    }
    // Counted when first drawn after a change, never while a job changes the
    // picture. Counting a large picture takes a while: the window's other
    // parts (a picture just opened) are drawn first, the curves right after.
    if (doc->HistogramPending()) {
        if (!m_countQueued) {
            m_countQueued = true;
            QTimer::singleShot(0, this, [this] {
                m_countQueued = false;
                update();
                if (CKXViewDoc* active = m_activeDocument ? m_activeDocument() : nullptr) active->Histogram();
            });
        }
        return;
    }
    const CHistogramCounts& counts = doc->Histogram();
    if (counts.Empty()) return;
    DrawCurves(p, {counts.Red().data(), counts.Green().data(), counts.Blue().data(), counts.Gray().data()},
               counts.Max(), top);
}

void CHistogramBar::DrawCurves(QPainter& p, const std::array<const long*, 4>& counts, long max, int top) {
    // Without room above the baseline the curves would be drawn upside down.
    if (height() - kBaseline - top <= 0 || max <= 0) return;
    for (int i = 0; i < 4; ++i) {
        if (!m_show[i]) continue;
        QPen pen(kCurveColours[i], 1);
        pen.setCosmetic(true);
        p.setPen(pen);
        p.drawPolyline(Curve(counts[i], max, height(), m_log, top));
    }
}

void CHistogramBar::DrawClipped(QPainter& p) {
    p.save();
    p.resetTransform(); // text is never narrowed
    QFont font = p.font();
    font.setPixelSize(11);
    p.setFont(font);
    p.setPen(palette().color(QPalette::WindowText));
    const QString none = QStringLiteral("–");
    const auto line = [&](const char* label, const std::array<long, 3>& n) {
        if (!m_hasLive)
            return QStringLiteral("%1  R %2  G %2  B %2")
                .arg(QCoreApplication::translate("HistogramBar", label), none);
        return QStringLiteral("%1  R %2  G %3  B %4")
            .arg(QCoreApplication::translate("HistogramBar", label))
            .arg(n[0])
            .arg(n[1])
            .arg(n[2]);
    };
    const int textWidth = std::min(width(), kFrameRight) - kFrameLeft - 4;
    p.drawText(QRect(kFrameLeft + 2, kPlotTop - 2, textWidth, 13), Qt::AlignLeft | Qt::AlignVCenter,
               line(QT_TRANSLATE_NOOP("HistogramBar", "Geclippt 0:  "), m_liveCounts.clippedLow));
    p.drawText(QRect(kFrameLeft + 2, kPlotTop + 11, textWidth, 13), Qt::AlignLeft | Qt::AlignVCenter,
               line(QT_TRANSLATE_NOOP("HistogramBar", "Geclippt 255:"), m_liveCounts.clippedHigh));
    p.restore();
}

void CHistogramBar::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_pollTimer.start();
}

void CHistogramBar::hideEvent(QHideEvent* event) {
    m_pollTimer.stop();
    QWidget::hideEvent(event);
}

void CHistogramBar::PollCamera() {
    const bool camera = m_cameraMode && m_cameraMode();
    if (camera != m_wasCameraMode) {
        m_wasCameraMode = camera;
        update();
    }
    if (!camera) return;
    // A new frame was shown: count it on the counting thread.
    kxcam::CameraLibrary& library = kxcam::CameraLibrary::Instance();
    const uint64_t shown = library.FramesShown();
    if (shown == m_lastFrame) return;
    m_lastFrame = shown;
    const QImage frame = library.CurrentFrame();
    if (!frame.isNull()) m_liveCounter->Submit(frame);
}
