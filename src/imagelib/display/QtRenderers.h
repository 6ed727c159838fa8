// One call that puts the Qt renderers behind the image library's hooks.
#pragma once

#include <QGuiApplication>

#include <memory>

namespace vimg::display {

// Installs the Qt renderers. Fonts need a QGuiApplication: when there is no
// application object yet, one is started on the offscreen platform and
// handed back, to be kept while images are read; otherwise null.
std::unique_ptr<QGuiApplication> RegisterQtRenderers();

} // namespace vimg::display
