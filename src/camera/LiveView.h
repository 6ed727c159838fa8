// What the camera preview shows while frames are merged live: laid over the
// display the camera library paints, the running focus stack with the raw
// frame as a small inset in the upper right corner (the measurement layer's
// scale bar keeps the lower one), or the growing mosaic
// fitted into the display with the current field outlined (red while the
// frame cannot be placed). The measurement layer stays above it.
#pragma once

#include <QWidget>

class CLiveComposer;

class CLiveView : public QWidget {
    Q_OBJECT
public:
    CLiveView(CLiveComposer* composer, QWidget* display);

    // Where a picture of `size` is drawn in `area`: scaled to fit, centred.
    static QRectF Fitted(QSizeF size, QRectF area);
    // The inset's place in `area`: a quarter of its width, at the upper right.
    static QRect Inset(QSize frame, QRect area);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    CLiveComposer* m_composer;
};
