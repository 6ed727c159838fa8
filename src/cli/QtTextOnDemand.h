// Metafile text without linking Qt: the first text to draw loads the Qt text
// module (vistorel-img-qt.so), which starts Qt's offscreen platform and
// installs the Qt renderer; every text is then handed to that renderer.
#pragma once

#include "codecs/MetafileTextRenderer.h"

namespace vimg::cli {

class QtTextOnDemand : public MetafileTextRenderer {
public:
    double Draw(const MetafileTextRun& run, Image& canvas) override;

    // Installs a stand-in that loads the module on the first text.
    static void Install();

private:
    bool m_tried = false;
};

} // namespace vimg::cli
