// Base of the main window: an MDI area for the documents, one action per
// command id shared by menus, tool bars and shortcuts, command routing
// (active view -> document -> child frame -> main frame -> application) and
// the update handlers, run when a menu opens and when the program is idle.
#pragma once

#include <map>

#include <QMainWindow>

#include "CmdTarget.h"
#include "MenuTemplate.h"
#include "MessageTarget.h"

class CMDIChildWnd;
class QAction;
class QMdiArea;
class QMenu;
class QMenuBar;

class CMDIFrameWnd : public QMainWindow, public CCmdTarget, public CMessageTarget {
    Q_OBJECT
public:
    explicit CMDIFrameWnd(QWidget* parent = nullptr);
    ~CMDIFrameWnd() override;

    QMdiArea* MdiArea() const { return m_pMdiArea; }
    CMDIChildWnd* MDIGetActive() const;

    // The action of a command id, created on first use.
    QAction* CommandAction(int id);
    // Replaces the menu bar's contents with the template's popups.
    void LoadMenu(QMenuBar* bar, const MenuTemplate& menu);
    QMenu* BuildPopup(const MenuItem& item, QWidget* parent);

    // Routes a command; true when some object handled it.
    bool ExecuteCommand(int id);
    // Runs the update handlers of one action; an action nobody handles is disabled.
    void UpdateCommandUI(QAction* action);
    void UpdateAllCommandUI();

    bool OnCmdMsg(int id, CCmdUI* pUI) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // Keeps the recent-file entries of a popup in step with the list.
    void UpdateRecentFileMenu(QMenu* menu);
    void OnIdle();

    QMdiArea* m_pMdiArea;

private:
    std::map<int, QAction*> m_actions;
    bool m_bInIdle = false;
};
