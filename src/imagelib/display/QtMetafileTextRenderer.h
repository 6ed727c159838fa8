// Metafile text drawn with QPainter and QFont, composed onto the player's
// 24-bit picture. Needs a QGuiApplication; without one it draws nothing.
#pragma once

#include "codecs/MetafileTextRenderer.h"

namespace vimg::display {

class QtMetafileTextRenderer : public MetafileTextRenderer {
public:
    double Draw(const MetafileTextRun& run, Image& canvas) override;
};

} // namespace vimg::display
