// The value dialogs' OK and Abbrechen as the family's shaded buttons (OK
// stays the default button).
#pragma once

#include <initializer_list>

class CTemplateDialog;

void ShadeButtons(CTemplateDialog& dialog, std::initializer_list<int> ids);
