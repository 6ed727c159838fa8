// A shaded push button that shows one of the dialog icons before its text.
#pragma once

#include "ShadeButton.h"

class CIconButton : public CShadeButton {
    Q_OBJECT
public:
    explicit CIconButton(const QString& text = QString(), QWidget* parent = nullptr);

    // An id of WidgetIcon (154 cancel, 155 OK, 156 information).
    void SetIcon(int iconId);
    int IconId() const { return m_iconId; }

private:
    int m_iconId = 0;
};
