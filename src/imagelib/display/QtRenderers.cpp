#include "QtRenderers.h"

#include "DisplayLog.h"
#include "QtMetafileTextRenderer.h"

Q_LOGGING_CATEGORY(lcDisplay, "vistorel.display", QtInfoMsg)

namespace vimg::display {

namespace {

QtMessageHandler g_previousHandler = nullptr;

// Starting up, Qt warns that there is no XDG runtime folder; an application
// that never opens a window has no use for one, so that warning is dropped.
void QuietStart(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR"))) return;
    g_previousHandler(type, context, message);
}

// Starts the Qt renderers on its first text, then passes every text to them.
class DeferredTextRenderer : public MetafileTextRenderer {
public:
    explicit DeferredTextRenderer(std::unique_ptr<QGuiApplication>& app) : m_app(app) {}

    double Draw(const MetafileTextRun& run, Image& canvas) override {
        if (!m_started) {
            m_started = true;
            m_app = RegisterQtRenderers();
        }
        const std::shared_ptr<MetafileTextRenderer> renderer = MetafileTextRenderer::Installed();
        // Still this one when Qt could not be started: the text stays undrawn.
        if (!renderer || renderer.get() == this) return 0;
        return renderer->Draw(run, canvas);
    }

private:
    std::unique_ptr<QGuiApplication>& m_app;
    bool m_started = false;
};

} // namespace

void RegisterQtRenderersOnFirstText(std::unique_ptr<QGuiApplication>& app) {
    MetafileTextRenderer::Install(std::make_shared<DeferredTextRenderer>(app));
}

std::unique_ptr<QGuiApplication> RegisterQtRenderers() {
    std::unique_ptr<QGuiApplication> app;
    if (!QCoreApplication::instance()) {
        // The command line wins over QT_QPA_PLATFORM: nothing here needs a screen.
        static int argc = 3;
        static char name[] = "vistorel", option[] = "-platform", platform[] = "offscreen";
        static char* argv[] = {name, option, platform, nullptr};
        g_previousHandler = qInstallMessageHandler(QuietStart);
        app = std::make_unique<QGuiApplication>(argc, argv);
        qInstallMessageHandler(g_previousHandler);
        qCDebug(lcDisplay) << "started an offscreen application for font rendering";
    } else if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        qCWarning(lcDisplay) << "no GUI application object: metafile text stays undrawn";
        return app;
    }
    MetafileTextRenderer::Install(std::make_shared<QtMetafileTextRenderer>());
    return app;
}

} // namespace vimg::display
