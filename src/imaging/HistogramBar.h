// The histogram bar of pane 237: the red, green, blue and grey histograms of
// the active document's image as four line curves over a dotted grid, each
// switched by its own button, on a linear or logarithmic scale. In camera
// mode it shows the live histogram of the preview instead, with the number
// of clipped pixels (0 and 255) per channel above the curves.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include <QPolygon>
#include <QTimer>
#include <QWidget>

#include "LiveHistogram.h"

class CKXViewDoc;
class QCheckBox;
class QPushButton;

class CHistogramBar : public QWidget {
    Q_OBJECT
public:
    enum Channel { RED = 0, GREEN = 1, BLUE = 2, GRAY = 3 };
    // Top of the curves' area; in camera mode a band for the clipped counts lies above it.
    static constexpr int kPlotTop = 40;
    static constexpr int kClippedBand = 28;

    explicit CHistogramBar(QWidget* parent = nullptr);
    ~CHistogramBar() override;

    // Rows of the dotted horizontal grid lines for a bar `height` pixels high.
    static std::vector<int> HorizontalGridRows(int height, int top = kPlotTop);
    // The curve of 256 counts with largest count `max`: x from 10 to 265.
    static QPolygon Curve(const long* counts, long max, int height, bool logarithmic, int top = kPlotTop);

    bool IsShown(Channel channel) const { return m_show[channel]; }
    bool IsLogarithmic() const { return m_log; }
    QPushButton* Button(Channel channel) const { return m_buttons[channel]; }
    QCheckBox* LogBox() const { return m_logBox; }

    // Where the pictures come from: the active document and whether the
    // program is in camera mode. The main frame sets both; unset, the bar
    // shows its background only.
    std::function<CKXViewDoc*()> m_activeDocument;
    std::function<bool()> m_cameraMode;

    // The last live histogram shown; null before the first camera frame.
    const LiveHistogramCounts* LiveCounts() const { return m_hasLive ? &m_liveCounts : nullptr; }
    uint64_t LiveUpdates() const { return m_liveUpdates; }
    const CLiveHistogram& LiveCounter() const { return *m_liveCounter; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void ReadControls();
    void PollCamera();
    void DrawCurves(QPainter& p, const std::array<const long*, 4>& counts, long max, int top);
    void DrawClipped(QPainter& p);

    std::array<QPushButton*, 4> m_buttons{};
    QCheckBox* m_logBox = nullptr;
    std::array<bool, 4> m_show{};
    bool m_log = false;
    bool m_countQueued = false;

    QTimer m_pollTimer;
    uint64_t m_lastFrame = 0;
    bool m_wasCameraMode = false;
    LiveHistogramCounts m_liveCounts;
    bool m_hasLive = false;
    uint64_t m_liveUpdates = 0;
    // Last member: its thread stops before anything it reports to goes.
    std::unique_ptr<CLiveHistogram> m_liveCounter;
};
