#include "EditorSettings.h"

#include "Image.h"

CEditorSettings::CEditorSettings() { vimg::Image::InitTextInfo(&textInfo); }
