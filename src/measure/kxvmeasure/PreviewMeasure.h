// Measuring on the live camera picture: a transparent layer over the preview
// display that draws the scale bar and line and rectangle measurements with
// the calibration stored for the camera's current resolution. Its context
// menu chooses the shape; clicks that hit no measurement pass through to the
// preview underneath (white-point pick).
#pragma once

#include <functional>
#include <memory>

#include <QSize>
#include <QWidget>

namespace kxvm {

class MeasureManager;

class PreviewMeasure : public QWidget {
    Q_OBJECT
public:
    // Covers `display` and follows its size; `camera` names the running camera.
    PreviewMeasure(QWidget* display, std::function<QString()> camera);
    ~PreviewMeasure() override;

    // The camera's current resolution: measurements are kept in its pixels.
    void SetFrameSize(QSize size);
    MeasureManager& Manager() const { return *m_manager; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void Rescale();

    std::unique_ptr<MeasureManager> m_manager;
    std::function<QString()> m_camera;
    QSize m_frame;
    bool m_tracking = false;
};

} // namespace kxvm
