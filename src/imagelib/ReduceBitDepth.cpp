#include "ReduceBitDepth.h"

#include "ColorQuantizer.h"
#include "Image.h"

namespace vimg {

bool ReduceBitDepth(Image& image, uint32_t bits, bool errorDiffusion, bool optimisedPalette,
                    uint32_t colours) {
    if (!image.IsValid()) return false;
    bool ok;
    if (optimisedPalette && (bits == 4 || bits == 8)) {
        const uint32_t colourBits = bits == 8 && colours > 16 ? 7 : 8;
        ColorQuantizer quantizer(colours, colourBits);
        quantizer.ProcessImage(image.GetDIB(), image.GetSize());
        RGBQUAD palette[256] = {};
        quantizer.SetColorTable(palette, bits == 4 ? 16 : 256);
        ok = image.DecreaseBpp(bits, errorDiffusion, palette, colours);
    } else {
        ok = image.DecreaseBpp(bits, errorDiffusion, nullptr, optimisedPalette ? colours : 0);
    }
    if (!image.AlphaPaletteIsValid()) image.AlphaPaletteEnable(false);
    return ok;
}

} // namespace vimg
