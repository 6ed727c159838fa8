#include "ShadeButton.h"

#include <algorithm>

#include <QPainter>
#include <QStyleOptionButton>

namespace {

constexpr int kNormal = 0, kHover = 1, kPressed = 2;

QColor FromColorRef(uint32_t c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

int Clamp(int v) {
    return std::clamp(v, 0, 255);
}

} // namespace

CShadeButton::CShadeButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setAttribute(Qt::WA_Hover);
    SetStandardShade();
}

void CShadeButton::SetShade(int /*shadeType: kHorizontalShade only*/, int granularity, int highlight,
                            int coloring, uint32_t colour) {
    m_granularity = std::max(0, granularity);
    m_highlight = highlight;
    m_coloring = std::clamp(coloring, 0, 10);
    m_colour = FromColorRef(colour);
    for (QImage& face : m_faces)
        face = QImage();
    update();
}

void CShadeButton::SetStandardShade() {
    SetShade(kHorizontalShade, 8, 20, 5, 0x00FF3737);
}

QColor CShadeButton::FaceColour() const {
    const QColor window = palette().color(QPalette::Button);
    const double w = m_coloring / 20.0; // colouring 10 gives an even mix
    return QColor::fromRgbF(static_cast<float>(window.redF() * (1 - w) + m_colour.redF() * w),
                            static_cast<float>(window.greenF() * (1 - w) + m_colour.greenF() * w),
                            static_cast<float>(window.blueF() * (1 - w) + m_colour.blueF() * w));
}

const QImage& CShadeButton::Face(int state) {
    QImage& face = m_faces[state];
    if (face.size() == size()) return face;
    face = QImage(size(), QImage::Format_RGB32);
    const QColor mid = FaceColour();
    const int h = std::max(1, height() - 1);
    // A fixed pseudo-random texture: the same button always looks the same.
    uint32_t seed = 0x9E3779B9u;
    for (int y = 0; y < face.height(); ++y) {
        // From +24 levels at the top to -24 at the bottom; pressed turns it over.
        int shade = 24 - 48 * y / h;
        if (state == kPressed) shade = -shade - 8;
        if (state == kHover) shade += m_highlight;
        auto* row = reinterpret_cast<QRgb*>(face.scanLine(y));
        for (int x = 0; x < face.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise =
                m_granularity ? static_cast<int>(seed >> 24) % (m_granularity + 1) - m_granularity / 2 : 0;
            const int d = shade + noise;
            row[x] = qRgb(Clamp(mid.red() + d), Clamp(mid.green() + d), Clamp(mid.blue() + d));
        }
    }
    return face;
}

void CShadeButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const bool down = isDown() || isChecked();
    const int state = !isEnabled() ? kNormal : down ? kPressed : m_hover ? kHover : kNormal;
    const QRect r = rect();
    p.drawImage(0, 0, Face(state));
    if (!isEnabled()) p.fillRect(r, QColor(255, 255, 255, 110)); // washed out
    // Frame: dark outside, a light inner edge on the lit side.
    p.setPen(m_colour.darker(isEnabled() ? 180 : 120));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.setPen(QColor(255, 255, 255, down ? 40 : 140));
    p.drawLine(1, 1, r.width() - 2, 1);
    p.drawLine(1, 1, 1, r.height() - 2);
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        p.drawRect(r.adjusted(3, 3, -4, -4));
    }

    // Icon and text centred together; pressed moves them by one pixel.
    QRect content = r.adjusted(2, 1, -2, -1);
    if (down) content.translate(1, 1);
    const QFontMetrics fm(font());
    const QString label = fm.elidedText(text(), Qt::ElideRight, content.width());
    const QSize iconBox = icon().isNull() ? QSize() : iconSize().boundedTo(content.size());
    const int gap = iconBox.isEmpty() || label.isEmpty() ? 0 : 4;
    const int total = iconBox.width() + gap + fm.horizontalAdvance(label);
    int x = content.left() + std::max(0, (content.width() - total) / 2);
    if (!iconBox.isEmpty()) {
        const QPixmap pm =
            icon().pixmap(iconBox, devicePixelRatio(), isEnabled() ? QIcon::Normal : QIcon::Disabled);
        p.drawPixmap(x, content.top() + (content.height() - iconBox.height()) / 2, pm);
        x += iconBox.width() + gap;
    }
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawText(QRect(x, content.top(), content.right() - x + 1, content.height()),
               Qt::AlignLeft | Qt::AlignVCenter, label);
}

void CShadeButton::enterEvent(QEnterEvent* event) {
    m_hover = true;
    update();
    QPushButton::enterEvent(event);
}

void CShadeButton::leaveEvent(QEvent* event) {
    m_hover = false;
    update();
    QPushButton::leaveEvent(event);
}
