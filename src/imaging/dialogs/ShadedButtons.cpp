#include "ShadedButtons.h"

#include "ShadeButton.h"
#include "TemplateDialog.h"

void ShadeButtons(CTemplateDialog& dialog, std::initializer_list<int> ids) {
    for (int id : ids)
        if (auto* button = static_cast<CShadeButton*>(dialog.SubclassDlgItem(id, new CShadeButton)))
            button->SetStandardShade();
}
