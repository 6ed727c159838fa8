#include "BitmapSlider.h"

#include <QPainter>
#include <QSignalBlocker>
#include <QStyleOptionSlider>

#include "Resource.h"
#include "WidgetPictures.h"

CBitmapSlider::CBitmapSlider(QWidget* parent)
    : QSlider(Qt::Horizontal, parent), m_channel{IDB_SLIDER_CHANNEL, IDB_SLIDER_CHANNEL_ACTIVE},
      m_thumb{IDB_SLIDER_THUMB, IDB_SLIDER_THUMB_ACTIVE} {
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::StrongFocus);
}

void CBitmapSlider::SetBitmapChannel(int channelId, int activeChannelId) {
    m_channel[0] = channelId;
    m_channel[1] = activeChannelId;
    update();
}

void CBitmapSlider::SetBitmapThumb(int thumbId, int activeThumbId) {
    m_thumb[0] = thumbId;
    m_thumb[1] = activeThumbId;
    update();
}

void CBitmapSlider::SetPos(int pos) {
    const QSignalBlocker block(this);
    setValue(pos);
    update();
}

QRect CBitmapSlider::ThumbRect() const {
    // The style's handle keeps Qt's hit testing; the picture fills its width
    // and the slider's height.
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, this);
    return QRect(handle.left(), 0, handle.width(), height());
}

void CBitmapSlider::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect thumb = ThumbRect();
    const int grooveHeight = std::max(4, height() / 2);
    const QRect groove(thumb.width() / 2, (height() - grooveHeight) / 2, width() - thumb.width(),
                       grooveHeight);
    p.drawPixmap(groove.topLeft(), WidgetPicture(m_channel[hasFocus() ? 1 : 0], groove.size()));
    const bool active = isSliderDown() || (underMouse() && thumb.contains(mapFromGlobal(QCursor::pos())));
    p.drawPixmap(thumb.topLeft(), WidgetPicture(m_thumb[active ? 1 : 0], thumb.size()));
    if (!isEnabled()) p.fillRect(rect(), QColor(255, 255, 255, 110));
}
