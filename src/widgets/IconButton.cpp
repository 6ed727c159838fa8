#include "IconButton.h"

#include "WidgetPictures.h"

CIconButton::CIconButton(const QString& text, QWidget* parent) : CShadeButton(text, parent) {
    setIconSize(QSize(16, 16));
}

void CIconButton::SetIcon(int iconId) {
    m_iconId = iconId;
    setIcon(WidgetIcon(iconId));
    update();
}
