// Templates of the image-processing page and of the dialogs that preview,
// combine documents or edit settings (brightness/contrast, colorize, gamma,
// combine, FFT, text, mix, options).
#pragma once

#include "DialogTemplate.h"

namespace resources {

// Null for any other id.
const DialogTemplate* PreviewDialog(int id);

} // namespace resources
