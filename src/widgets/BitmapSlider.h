// A horizontal slider drawn from pictures: a channel and a thumb, each with an
// active variant (the channel while the slider has the focus, the thumb while
// the mouse is over it or drags it). Mouse and keys behave as a plain slider.
#pragma once

#include <QSlider>

class CBitmapSlider : public QSlider {
    Q_OBJECT
public:
    explicit CBitmapSlider(QWidget* parent = nullptr);

    // Picture ids of WidgetPicture.
    void SetBitmapChannel(int channelId, int activeChannelId);
    void SetBitmapThumb(int thumbId, int activeThumbId);
    // Moves the thumb without telling anyone (the owner sets what it shows).
    void SetPos(int pos);
    // Where the thumb is drawn, in widget coordinates.
    QRect ThumbRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_channel[2];
    int m_thumb[2];
};
