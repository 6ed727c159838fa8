#include "QtTextOnDemand.h"

#include "HelperFiles.h"

#include <cstdio>
#include <dlfcn.h>
#include <memory>

namespace vimg::cli {

double QtTextOnDemand::Draw(const MetafileTextRun& run, Image& canvas) {
    if (!m_tried) {
        m_tried = true;
        const std::string path = HelperPath("vistorel-img-qt.so");
        void* module = path.empty() ? nullptr : dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        using Start = void (*)();
        const auto start = module ? reinterpret_cast<Start>(dlsym(module, "vistorel_img_start_qt_text")) : nullptr;
        if (start)
            start();
        else
            std::fprintf(stderr, "vistorel-img: warning: metafile text stays undrawn (%s)\n",
                         path.empty() ? "vistorel-img-qt.so is not installed" : dlerror());
    }
    const std::shared_ptr<MetafileTextRenderer> renderer = MetafileTextRenderer::Installed();
    // Still this one when the module or Qt could not be started: the text stays undrawn.
    if (!renderer || renderer.get() == this) return 0;
    return renderer->Draw(run, canvas);
}

void QtTextOnDemand::Install() { MetafileTextRenderer::Install(std::make_shared<QtTextOnDemand>()); }

} // namespace vimg::cli
