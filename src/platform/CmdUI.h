// What an update handler changes on a menu item or tool-bar button: enabled,
// checked, text. Without an action it only records the request.
#pragma once

#include <QString>

class QAction;

class CCmdUI {
public:
    explicit CCmdUI(int id, QAction* action = nullptr) : m_nID(id), m_pAction(action) {}

    void Enable(bool on = true);
    // 0 unchecked, 1 checked.
    void SetCheck(int check = 1);
    void SetText(const QString& text);

    int m_nID;
    QAction* m_pAction;
    bool m_bEnableChanged = false;
    bool m_bEnabled = false;
    int m_nCheck = -1; // -1: no handler touched the check mark
};
