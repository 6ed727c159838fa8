#include <cstring>

#include "Image.h"

namespace vimg {

void Image::InitTextInfo(TextInfo* txt) {
    if (!txt) return;
    *txt = TextInfo{};
    static const char kSample[] = "Sample Text 01234\xF5\xFB";
    std::memcpy(txt->text, kSample, sizeof(kSample));
    txt->font.lfHeight = -36;
    txt->font.lfWeight = 400;
    txt->font.lfCharSet = 238;
    txt->font.lfQuality = 2;
    std::strcpy(txt->font.lfFaceName, "Arial");
    txt->textColor = RGB(255, 255, 160);
    txt->align = 1;
    txt->opaque = 1;
    txt->backColor = RGB(0x20, 0x60, 0);
    txt->backOpacity = 0.0f;
    txt->backOutline = 0;
    txt->backRound = 20;
}

} // namespace vimg
