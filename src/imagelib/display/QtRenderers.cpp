#include "QtRenderers.h"

#include "DisplayLog.h"
#include "QtMetafileTextRenderer.h"

Q_LOGGING_CATEGORY(lcDisplay, "vistorel.display", QtInfoMsg)

namespace vimg::display {

std::unique_ptr<QGuiApplication> RegisterQtRenderers() {
    std::unique_ptr<QGuiApplication> app;
    if (!QCoreApplication::instance()) {
        // The command line wins over QT_QPA_PLATFORM: nothing here needs a screen.
        static int argc = 3;
        static char name[] = "vistorel", option[] = "-platform", platform[] = "offscreen";
        static char* argv[] = {name, option, platform, nullptr};
        app = std::make_unique<QGuiApplication>(argc, argv);
        qCDebug(lcDisplay) << "started an offscreen application for font rendering";
    } else if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        qCWarning(lcDisplay) << "no GUI application object: metafile text stays undrawn";
        return app;
    }
    MetafileTextRenderer::Install(std::make_shared<QtMetafileTextRenderer>());
    return app;
}

} // namespace vimg::display
