// Base of the main window: an MDI area for the documents, one action per
// command id shared by menus, tool bars and shortcuts, command routing
// (active view -> document -> child frame -> main frame -> application) and
// the update handlers, run when a menu opens and when the program is idle.
#pragma once

#include <map>

#include <QMainWindow>
#include <QPointer>

#include "CmdTarget.h"
#include "MenuTemplate.h"
#include "MessageTarget.h"

class CMDIChildWnd;
class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMenuBar;
class QTabBar;

class CMDIFrameWnd : public QMainWindow, public CCmdTarget, public CMessageTarget {
    Q_OBJECT
public:
    explicit CMDIFrameWnd(QWidget* parent = nullptr);
    ~CMDIFrameWnd() override;

    QMdiArea* MdiArea() const { return m_pMdiArea; }
    // The document window commands go to. Stays set while the area is hidden
    // or the main window inactive; null only when no document window is open.
    CMDIChildWnd* MDIGetActive() const;

    // The caption is this title, followed by " - " and the active document's.
    void SetTitle(const QString& title);
    const QString& GetTitle() const { return m_strTitle; }

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
    // Lists the open documents at the end of the popup that arranges them
    // (the one holding "cascade"): numbered, the active one checked.
    void UpdateWindowMenu(QMenu* menu);
    void OnIdle();
    // Shows the documents as tabs again. Qt makes a new tab bar each time,
    // which `OnTabBarMade` then sets up.
    void ShowTabs();
    virtual void OnTabBarMade(QTabBar*) {}
    // Runs after a document window was activated, opened or closed.
    virtual void OnActiveChildChanged();
    bool eventFilter(QObject* watched, QEvent* event) override;

    QMdiArea* m_pMdiArea;
    // Whether maximising a free document window switches back to tabs.
    bool m_bTabbedWhenMaximised = false;

private:
    void ChildChanged();

    std::map<int, QAction*> m_actions;
    QPointer<QMdiSubWindow> m_pLastActive;
    QString m_strTitle;
    bool m_bInIdle = false;
    bool m_bChildChangePending = false;
};
