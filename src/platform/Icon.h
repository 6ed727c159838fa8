// An icon of the platform layer: a colour bitmap and a 1-bit mask of the same
// size in which set bits mark the pixels that stay transparent.
#pragma once

#include "Bitmap.h"

struct CIcon {
    CBitmap colour;
    CBitmap mask;
};
