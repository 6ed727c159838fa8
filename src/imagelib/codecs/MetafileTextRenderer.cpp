#include "MetafileTextRenderer.h"

#include <mutex>

namespace vimg {

namespace {
std::mutex g_lock;
std::shared_ptr<MetafileTextRenderer> g_renderer;
} // namespace

void MetafileTextRenderer::Install(std::shared_ptr<MetafileTextRenderer> renderer) {
    const std::lock_guard<std::mutex> hold(g_lock);
    g_renderer = std::move(renderer);
}

std::shared_ptr<MetafileTextRenderer> MetafileTextRenderer::Installed() {
    const std::lock_guard<std::mutex> hold(g_lock);
    return g_renderer;
}

} // namespace vimg
