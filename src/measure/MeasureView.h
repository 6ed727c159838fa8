// The measurement layer of an image view: one measurement manager per view,
// handed the view's drawing (in logical coordinates of the zoomed picture),
// the zoom, the measuring tool's mouse input and the document's picture
// (size, pixel size, camera, file) for the calibration and the data file.
#pragma once

#include <cstdint>
#include <vector>

#include "MeasureObject.h"
#include "MeasureOverlay.h"

class CKXViewView;

class CMeasureView : public CMeasureOverlay {
public:
    explicit CMeasureView(CKXViewView* view);
    ~CMeasureView() override;
    CMeasureView(const CMeasureView&) = delete;
    CMeasureView& operator=(const CMeasureView&) = delete;

    // The manager's handle for the KXVM_* functions.
    uint32_t Handle() const { return m_handle; }

    void Draw(CDeviceContext& dc, QPoint scroll) override;
    void ShowScaleLine(bool show) override;
    void SetScale(float zoom) override;
    void MouseDown(QPoint logical) override;
    void MouseMove(QPoint logical) override;
    void MouseUp(QPoint logical) override;
    void DoubleClick(QPoint logical) override;
    bool SaveData(const QString& path, QString* error) override;
    bool LoadData(const QString& path, QString* error) override;
    bool HasUnsavedChanges() const override;
    void PictureChanged() override;

private:
    // Hands the document's picture to the manager, and the scale at which
    // the picture is shown: the zoom, or in stretch mode on the screen the
    // fitted scale (the zoom is not what the picture is drawn at then).
    void Sync(bool screen, bool stretchScreen);

    CKXViewView* m_view;
    uint32_t m_handle;
    // The objects as the data file holds them (none before the first save or load).
    std::vector<kxvm::MeasureObject> m_kept;
};
