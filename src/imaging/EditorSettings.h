// What the user set once for every picture: the text tool's record, the JPEG
// quality pictures take when shown, and the counter in the titles of new
// documents. The application owns one, keeps it in the profile and hands it
// to each document it makes.
#pragma once

#include <cstdint>

#include "TextInfo.h"

struct CEditorSettings {
    CEditorSettings();

    vimg::TextInfo textInfo;
    int32_t jpegQuality = 90;
    int32_t imageCounter = 1;
};
