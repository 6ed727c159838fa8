// The camera preview (pane 233): a black surface holding the display control
// 1109 that the camera library draws into. The control is fitted, centred and
// scaled, into the window's area; a click while a white-point pick is armed
// balances the colour of the clicked screen pixel to grey. Frame messages
// (1273) from the library are passed on to the main window.
#pragma once

#include <QCursor>
#include <QLabel>
#include <QRect>
#include <QWidget>

#include "MessageTarget.h"

class CameraCalls;
namespace kxvm {
class PreviewMeasure;
}

class CPreviewWindow : public QWidget, public CMessageTarget {
    Q_OBJECT
public:
    CPreviewWindow(CMessageTarget* mainWindow, CameraCalls* calls, QWidget* parent = nullptr);

    QWidget* Display() const { return m_display; }
    // The measurement layer over the live picture.
    kxvm::PreviewMeasure* Measure() const { return m_measure; }
    void SetCalls(CameraCalls* calls) { m_calls = calls; }
    // Space for the picture: w - 11 by h - 130.
    void SetArea(int width, int height);
    QSize Area() const { return {m_areaWidth, m_areaHeight}; }
    // Places the display for a camera image of this size.
    void Fit(int imageWidth, int imageHeight);
    // Where an image of w x h goes in an area of W x H: unscaled and centred when
    // it fits, else scaled to fit and centred.
    static QRect FitRect(int w, int h, int W, int H);

    int m_pickWhite = 0;
    const QCursor& PickCursor() const { return m_pickCursor; }
    // New gains that make the colour (r, g, b) grey; false when a channel is 0.
    static bool AreaGains(int r, int g, int b, const int gains[3], int out[3]);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The area, but never larger than the window: a docked pane may be given
    // less room than its nominal size.
    QSize UsableArea() const;

    CMessageTarget* m_mainWindow;
    CameraCalls* m_calls;
    QLabel* m_display;
    kxvm::PreviewMeasure* m_measure;
    int m_areaWidth = 0;
    int m_areaHeight = 0;
    QSize m_imageSize;
    QCursor m_pickCursor;
    QCursor m_previousCursor;
    bool m_cursorSwapped = false;
};
