#include "KXVMeasure.h"

#include <map>
#include <memory>

#include <QPainter>
#include <QString>

#include "CalibrationStore.h"
#include "DeviceContext.h"
#include "MeasureCursors.h"
#include "MeasureManager.h"
#include "WinApp.h"

namespace {

// Managers live on the user-interface thread only.
std::map<uint32_t, std::unique_ptr<kxvm::MeasureManager>>& Managers() {
    static std::map<uint32_t, std::unique_ptr<kxvm::MeasureManager>> managers;
    return managers;
}
uint32_t g_nextHandle = 1;

} // namespace

kxvm::MeasureManager* KXVM_Manager(uint32_t manager) {
    const auto it = Managers().find(manager);
    return it == Managers().end() ? nullptr : it->second.get();
}

extern "C" {

void KXVM_CreateCursor() {
    kxvm::MeasureCursors::Create();
}

uint32_t KXVM_NewKXMeasureManager(QWidget* view) {
    uint32_t handle = g_nextHandle++;
    if (handle == 0) handle = g_nextHandle++; // after wrapping around, 0 stays "none"
    Managers()[handle] = std::make_unique<kxvm::MeasureManager>(view);
    return handle;
}

void KXVM_DeleteKXMeasureManager(uint32_t manager) {
    Managers().erase(manager);
}

void KXVM_ScaleLine(uint32_t manager, int show) {
    if (auto* m = KXVM_Manager(manager)) m->ShowScaleLine(show != 0);
}

void KXVM_DrawAllUnit(uint32_t manager, CDeviceContext* dc) {
    if (auto* m = KXVM_Manager(manager); m && dc) m->Draw(dc->Painter());
}

void KXVM_SetScale(float zoom, uint32_t manager) {
    if (auto* m = KXVM_Manager(manager)) m->SetScale(zoom);
}

void KXVM_OnMouseMove(uint32_t manager, int x, int y) {
    if (auto* m = KXVM_Manager(manager)) m->MouseMove(QPointF(x, y));
}

void KXVM_OnLButtonDown(uint32_t manager, int x, int y) {
    if (auto* m = KXVM_Manager(manager)) m->MouseDown(QPointF(x, y));
}

void KXVM_OnLButtonUp(uint32_t manager, int x, int y) {
    if (auto* m = KXVM_Manager(manager)) m->MouseUp(QPointF(x, y));
}

void KXVM_OnLButtonDblClk(uint32_t manager, int x, int y) {
    if (auto* m = KXVM_Manager(manager)) m->DoubleClick(QPointF(x, y));
}

int KXVM_MenuItemEvent(int id, uint32_t manager) {
    auto* m = KXVM_Manager(manager);
    return m && m->MenuItem(id) ? 1 : 0;
}

int KXVM_Undo(uint32_t manager) {
    auto* m = KXVM_Manager(manager);
    return m && m->Undo() ? 1 : 0;
}

int KXVM_Redo(uint32_t manager) {
    auto* m = KXVM_Manager(manager);
    return m && m->Redo() ? 1 : 0;
}

void KXVM_SetImageInfo(uint32_t manager, int width, int height, double micronsPerPixel, const char* camera,
                       const char* path) {
    if (auto* m = KXVM_Manager(manager))
        m->SetImage(QSize(width, height), micronsPerPixel, QString::fromUtf8(camera ? camera : ""),
                    QString::fromUtf8(path ? path : ""));
}

int KXVM_MenuItemState(int id, uint32_t manager) {
    const auto* m = KXVM_Manager(manager);
    if (!m) return 0;
    return (m->MenuItemEnabled(id) ? 1 : 0) | (m->MenuItemChecked(id) ? 2 : 0);
}

double KXVM_MicronsPerPixel(const char* camera, int width, int height) {
    CWinApp* app = AfxGetApp();
    if (!app) return 0;
    const auto active =
        kxvm::CalibrationStore(app->Profile()).Active(QString::fromUtf8(camera ? camera : ""), width, height);
    return active ? active->MicronsPerPixel() : 0;
}

} // extern "C"
