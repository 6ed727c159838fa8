// Hook through which the metafile player draws text. The core has no font
// rasteriser: a display layer installs one, and without it text records only
// change the player's state.
#pragma once

#include "../ImageTypes.h"

#include <memory>
#include <string>
#include <vector>

namespace vimg {

class Image;

// A logical font as the metafile records describe it.
struct MetafileFont {
    std::string face;      // UTF-8; empty: the renderer's default face
    double height = 0;     // above 0: cell height, below 0: character height, 0: default size
    int32_t weight = 0;    // 0 default, 400 normal, 700 bold
    int32_t escapement = 0; // baseline angle in tenths of a degree, counter-clockwise
    bool italic = false, underline = false, strikeOut = false;
};

// One string to draw, already in device pixels (y grows downwards).
struct MetafileTextRun {
    enum class HAlign { Left, Right, Centre };
    enum class VAlign { Top, Bottom, Baseline };

    std::u16string text;
    MetafileFont font;             // height in device pixels, never 0
    double x = 0, y = 0;           // reference point
    HAlign hAlign = HAlign::Left;
    VAlign vAlign = VAlign::Top;
    RGBQUAD colour{};
    bool opaque = false;           // fill the text cells with `background`
    RGBQUAD background{255, 255, 255, 0};
    std::vector<double> advances;  // per UTF-16 unit; empty: the font's own spacing
    bool clipped = false;          // draw only inside the clip rectangle
    double clipLeft = 0, clipTop = 0, clipRight = 0, clipBottom = 0;
};

class MetafileTextRenderer {
public:
    virtual ~MetafileTextRenderer() = default;
    // Draws `run` into the 24-bit `canvas` and returns its advance along the
    // baseline in device pixels.
    virtual double Draw(const MetafileTextRun& run, Image& canvas) = 0;

    // Installs the renderer every later playback uses (null removes it).
    static void Install(std::shared_ptr<MetafileTextRenderer> renderer);
    static std::shared_ptr<MetafileTextRenderer> Installed();
};

} // namespace vimg
