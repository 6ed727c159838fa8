// What a view hands to the measurement layer: its drawing, the mouse input
// of the measuring tool (logical coordinates: client point plus scroll
// position) and the zoom factor. A view without one draws no overlay.
#pragma once

#include <QPoint>
#include <QString>

class CDeviceContext;

class CMeasureOverlay {
public:
    virtual ~CMeasureOverlay() = default;
    // Draws the measurement objects; `scroll` is the view's scroll position.
    virtual void Draw(CDeviceContext& dc, QPoint scroll) = 0;
    virtual void ShowScaleLine(bool show) = 0;
    virtual void SetScale(float zoom) = 0;
    virtual void MouseDown(QPoint logical) = 0;
    virtual void MouseMove(QPoint logical) = 0;
    virtual void MouseUp(QPoint logical) = 0;
    virtual void DoubleClick(QPoint logical) = 0;

    // The objects kept with the picture in their data file; without objects
    // no file stays there (it would bring deleted ones back).
    virtual bool SaveData(const QString& /*path*/, QString* /*error*/) { return true; }
    // Takes the objects of a data file made for a picture of this size.
    virtual bool LoadData(const QString& /*path*/, QString* /*error*/) { return false; }
    // The objects differ from those last saved or loaded.
    virtual bool HasUnsavedChanges() const { return false; }
    // The picture's pixels changed (values measured on them are stale).
    virtual void PictureChanged() {}
};
