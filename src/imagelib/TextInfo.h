// The text-tool record: what DrawStringEx renders and the text tool keeps
// between uses. Plain data, filled with its defaults by Image::InitTextInfo.
#pragma once

#include <cstdint>

#include "ImageTypes.h"

namespace vimg {

// Font description in the classic logical-font layout.
struct LOGFONT {
    int32_t lfHeight = 0;
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0;
    int32_t lfOrientation = 0;
    int32_t lfWeight = 0;
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = 0;
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = 0;
    uint8_t lfPitchAndFamily = 0;
    char lfFaceName[32] = {};
};

struct TextInfo {
    char text[4096] = {};
    LOGFONT font;
    COLORREF textColor = 0;
    int32_t align = 0;     // 0 left, 1 centre, 2 right
    uint8_t opaque = 0;    // draw a background box
    COLORREF backColor = 0;
    float backOpacity = 0; // 0..1: weight of the image under the box
    uint8_t backOutline = 0;
    uint8_t backRound = 0; // corner radius in percent of the line height
};

} // namespace vimg
