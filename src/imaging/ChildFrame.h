// The document window of an image: sizes itself to the zoomed picture
// within the main window's document area, and hands the "&Messen" commands
// and the measurement undo and redo to the active view's measurement manager.
#pragma once

#include <cstdint>

#include <QSize>

#include "MDIChildWnd.h"

class CChildFrame : public CMDIChildWnd {
    Q_OBJECT
public:
    explicit CChildFrame(QWidget* parent = nullptr);

    // Client area 4 pixels wider and higher than `picture`, but ending at
    // least 12 pixels before the right and bottom edge of the document area.
    // A minimised or maximised frame, or one shown as a tab, keeps its size.
    void FitToPicture(QSize picture);
    // The size the client area gets for `picture` in an area of `area` when
    // the frame's client starts at `offset`.
    static QSize FittedClient(QSize picture, QSize area, QPoint offset);

    // 5 once a measurement command ran (never reset); the shape chosen last.
    int MeasureFlag() const { return m_measureFlag; }
    int CurrentShape() const { return m_currentShape; }
    // The active view's measurement manager; 0 without one.
    uint32_t MeasureHandle() const;

private:
    void OnMeasureCommand(int id);

    int m_measureFlag = 0;
    int m_currentShape = 0;
};
