// The Qt text module that vistorel-img loads on its first metafile text. Its
// image library symbols are the program's own (exported), so the renderer it
// installs is the one the program's metafile player asks for.
#include "QtRenderers.h"

#include <memory>

extern "C" __attribute__((visibility("default"))) void vistorel_img_start_qt_text() {
    // Kept until the program ends: the renderer's fonts need the application.
    static std::unique_ptr<QGuiApplication> app = vimg::display::RegisterQtRenderers();
}
