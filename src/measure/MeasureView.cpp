#include "MeasureView.h"

#include <algorithm>

#include <QAbstractScrollArea>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include "DeviceContext.h"
#include "Image.h"
#include "KXVMeasure.h"
#include "MeasureFile.h"
#include "MeasureManager.h"
#include "KXViewDoc.h"
#include "KXViewView.h"

CMeasureView::CMeasureView(CKXViewView* view)
    : m_view(view), m_handle(KXVM_NewKXMeasureManager(view->ScrollArea()->viewport())) {
    KXVM_ScaleLine(m_handle, 1);
    if (kxvm::MeasureManager* manager = KXVM_Manager(m_handle)) {
        // The results table measures grey values on what the document shows.
        manager->SetPictureSource([this]() -> const vimg::Image* {
            const CKXViewDoc* doc = m_view->GetDocument();
            const vimg::Image* image = doc ? doc->DisplayImage() : nullptr;
            return image && image->IsValid() ? image : nullptr;
        });
    }
}

void CMeasureView::PictureChanged() {
    if (kxvm::MeasureManager* manager = KXVM_Manager(m_handle)) manager->RefreshTable();
}

CMeasureView::~CMeasureView() {
    if (m_handle != 0) KXVM_DeleteKXMeasureManager(m_handle);
    m_handle = 0;
}

void CMeasureView::Sync(bool screen, bool stretchScreen) {
    const CKXViewDoc* doc = m_view->GetDocument();
    const vimg::Image* image = doc ? doc->DisplayImage() : nullptr;
    if (!image || !image->IsValid()) return;
    const int w = static_cast<int>(image->GetWidth()), h = static_cast<int>(image->GetHeight());
    KXVM_SetImageInfo(m_handle, w, h, image->GetPixelSize(), image->GetCameraName(),
                      doc->GetPathName().toUtf8().constData());
    if (kxvm::MeasureManager* manager = KXVM_Manager(m_handle)) manager->SetPictureName(doc->GetTitle());
    if (!screen) return;
    float scale = m_view->m_zoomFactor;
    if (m_view->m_stretchMode && stretchScreen) {
        const QSize c = m_view->ClientSize();
        scale = static_cast<float>(
            std::min(static_cast<double>(c.height()) / h, static_cast<double>(c.width()) / w));
    }
    KXVM_SetScale(scale, m_handle);
}

void CMeasureView::Draw(CDeviceContext& dc, QPoint scroll) {
    const CKXViewDoc* doc = m_view->GetDocument();
    if (!doc) return;
    // The rendering for saves and prints is the zoomed picture itself; the
    // screen's context covers the viewport.
    const bool onScreen = QSize(dc.Width(), dc.Height()) == m_view->ClientSize();
    Sync(true, onScreen);
    if (kxvm::MeasureManager* manager = KXVM_Manager(m_handle))
        manager->SetVisibleArea(onScreen ? QRectF(QPointF(scroll), QSizeF(m_view->ClientSize())) : QRectF());
    KXVM_ScaleLine(m_handle, doc->m_showScale ? 1 : 0);
    QPainter& painter = dc.Painter();
    painter.save();
    painter.translate(-scroll);
    KXVM_DrawAllUnit(m_handle, &dc);
    painter.restore();
}

void CMeasureView::ShowScaleLine(bool show) {
    KXVM_ScaleLine(m_handle, show ? 1 : 0);
}

void CMeasureView::SetScale(float zoom) {
    KXVM_SetScale(zoom, m_handle);
}

void CMeasureView::MouseDown(QPoint logical) {
    Sync(true, true);
    KXVM_OnLButtonDown(m_handle, logical.x(), logical.y());
}

void CMeasureView::MouseMove(QPoint logical) {
    Sync(true, true);
    KXVM_OnMouseMove(m_handle, logical.x(), logical.y());
}

void CMeasureView::MouseUp(QPoint logical) {
    Sync(true, true);
    KXVM_OnLButtonUp(m_handle, logical.x(), logical.y());
}

void CMeasureView::DoubleClick(QPoint logical) {
    Sync(true, true);
    KXVM_OnLButtonDblClk(m_handle, logical.x(), logical.y());
}

bool CMeasureView::SaveData(const QString& path, QString* error) {
    kxvm::MeasureManager* manager = KXVM_Manager(m_handle);
    if (!manager) return true;
    if (manager->Objects().empty()) {
        if (QFileInfo::exists(path) && !QFile::remove(path)) {
            if (error) *error = QStringLiteral("the old data file '%1' could not be removed").arg(path);
            return false;
        }
    } else {
        Sync(false, false);
        if (!manager->SaveData(path, error)) return false;
    }
    m_kept = manager->Objects();
    return true;
}

bool CMeasureView::LoadData(const QString& path, QString* error) {
    kxvm::MeasureManager* manager = KXVM_Manager(m_handle);
    if (!manager) return false;
    // Objects made for a picture of another size would lie somewhere else on this one.
    const std::optional<kxvm::MeasureData> data = kxvm::MeasureFile::Load(path, error);
    if (!data) return false;
    Sync(false, false);
    if (data->imageSize != manager->ImageSize()) {
        if (error)
            *error = QStringLiteral("the data belong to a picture of %1 x %2 pixels")
                         .arg(data->imageSize.width())
                         .arg(data->imageSize.height());
        return false;
    }
    if (!manager->LoadData(path, error)) return false;
    m_kept = manager->Objects();
    return true;
}

bool CMeasureView::HasUnsavedChanges() const {
    const kxvm::MeasureManager* manager = KXVM_Manager(m_handle);
    return manager && manager->Objects() != m_kept;
}
