// One call that puts the Qt renderers behind the image library's hooks.
#pragma once

#include <QGuiApplication>

#include <memory>

namespace vimg::display {

// Installs the Qt renderers. Fonts need a QGuiApplication: when there is no
// application object yet, one is started on the offscreen platform and
// handed back, to be kept while images are read; otherwise null.
std::unique_ptr<QGuiApplication> RegisterQtRenderers();

// For command-line tools: installs a stand-in that calls RegisterQtRenderers
// when the first metafile text is drawn and hands the text on, so that runs
// without metafile text never start Qt's platform layer (which costs start-up
// time and memory on every run). `app` receives the application started then
// and must outlive every image read.
void RegisterQtRenderersOnFirstText(std::unique_ptr<QGuiApplication>& app);

} // namespace vimg::display
