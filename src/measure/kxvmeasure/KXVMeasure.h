// The measurement library's C functions. A view owns one manager, known by a
// non-zero handle; the view hands it drawing, the zoom, mouse input of the
// measuring tool (logical coordinates: client point plus scroll position)
// and the "&Messen" commands.
#pragma once

#include <cstdint>

class CDeviceContext;
class QWidget;

namespace kxvm {
class MeasureManager;
}

extern "C" {

// Makes the cursors of the measuring tool; once, after the main window is shown.
void KXVM_CreateCursor();
// `view`: the widget repainted after changes and parent of the dialogs.
uint32_t KXVM_NewKXMeasureManager(QWidget* view);
void KXVM_DeleteKXMeasureManager(uint32_t manager);
void KXVM_ScaleLine(uint32_t manager, int show);
// Draws every object into the context's painter, whose coordinates must be
// the logical coordinates of the zoomed picture.
void KXVM_DrawAllUnit(uint32_t manager, CDeviceContext* dc);
void KXVM_SetScale(float zoom, uint32_t manager);
void KXVM_OnMouseMove(uint32_t manager, int x, int y);
void KXVM_OnLButtonDown(uint32_t manager, int x, int y);
void KXVM_OnLButtonUp(uint32_t manager, int x, int y);
void KXVM_OnLButtonDblClk(uint32_t manager, int x, int y);
// Non-zero when the command was accepted.
int KXVM_MenuItemEvent(int id, uint32_t manager);
int KXVM_Undo(uint32_t manager);
int KXVM_Redo(uint32_t manager);

// Beyond the original interface:
// The picture under the objects: size, pixel size in µm (0: none), the
// camera it came from (may be empty or null) and its file (for the data file).
void KXVM_SetImageInfo(uint32_t manager, int width, int height, double micronsPerPixel, const char* camera,
                       const char* path);
// Bit 1: the command can run now; bit 2: its item shows a check mark.
int KXVM_MenuItemState(int id, uint32_t manager);
// The active calibration stored in the profile for this camera at this
// resolution, in micrometres per pixel; 0 when there is none (or no program
// runs). User-interface thread only, like every function here.
double KXVM_MicronsPerPixel(const char* camera, int width, int height);
}

// The manager behind a handle (null for an unknown one), for C++ callers.
kxvm::MeasureManager* KXVM_Manager(uint32_t manager);
