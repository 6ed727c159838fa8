// Templates of the image-processing page and of the dialogs that preview,
// combine documents or edit settings (brightness/contrast, colorize, gamma,
// combine, FFT, text, mix, options).
#pragma once

#include "TranslatedTables.h"

namespace resources {

// The German template and its catalogue context; null for any other id.
const MarkedDialog* PreviewDialog(int id);

} // namespace resources
