// vistorel-img-merge: the commands that merge pictures on OpenCV, started by
// vistorel-img in its own place for `stack` and `stitch`.
#include "StackCommand.h"
#include "StitchCommand.h"
#ifdef VISTOREL_QT_RENDERERS
#include "QtRenderers.h"
#endif

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

int main(int argc, char** argv) {
#ifdef VISTOREL_QT_RENDERERS
    std::unique_ptr<QGuiApplication> qtApp;
    vimg::display::RegisterQtRenderersOnFirstText(qtApp);
#endif
    const std::string command = argc > 1 ? argv[1] : "";
    const std::vector<std::string> args(argv + std::min(argc, 2), argv + argc);
    if (command == "stack") return vimg::cli::StackCommand(args);
    if (command == "stitch") return vimg::cli::StitchCommand(args);
    std::fprintf(stderr, "usage: vistorel-img-merge stack|stitch ARGUMENTS (started by vistorel-img)\n");
    return 2;
}
