#include "MDIFrameWnd.h"

#include <algorithm>

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QDir>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>

#include "CmdUI.h"
#include "CommandIds.h"
#include "MDIChildWnd.h"
#include "RecentFileList.h"
#include "WinApp.h"

namespace {

// Marks the document entries the window menu adds, so they are renewed each time it opens.
constexpr const char* kWindowEntry = "vistorelWindowEntry";

} // namespace

CMDIFrameWnd::CMDIFrameWnd(QWidget* parent) : QMainWindow(parent), m_pMdiArea(new QMdiArea(this)) {
    setCentralWidget(m_pMdiArea);
    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        if (window) m_pLastActive = window;
        ChildChanged();
    });
    // Document windows live on the viewport: their coming and going.
    m_pMdiArea->viewport()->installEventFilter(this);
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &CMDIFrameWnd::OnIdle);
}

CMDIFrameWnd::~CMDIFrameWnd() = default;

CMDIChildWnd* CMDIFrameWnd::MDIGetActive() const {
    // QMdiArea drops its current window when the area is hidden, and under a
    // window manager a window activated before the frame was shown never
    // becomes current: the last window activated is still the user's choice.
    if (auto* current = dynamic_cast<CMDIChildWnd*>(m_pMdiArea->currentSubWindow())) return current;
    const QList<QMdiSubWindow*> windows = m_pMdiArea->subWindowList(QMdiArea::ActivationHistoryOrder);
    if (m_pLastActive && windows.contains(m_pLastActive.data()))
        return dynamic_cast<CMDIChildWnd*>(m_pLastActive.data());
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if (auto* child = dynamic_cast<CMDIChildWnd*>(*it)) return child;
    return nullptr;
}

void CMDIFrameWnd::SetTitle(const QString& title) {
    m_strTitle = title;
    OnActiveChildChanged();
}

void CMDIFrameWnd::OnActiveChildChanged() {
    const CMDIChildWnd* child = MDIGetActive();
    setWindowTitle(child && !child->windowTitle().isEmpty()
                       ? m_strTitle + QStringLiteral(" - ") + child->windowTitle()
                       : m_strTitle);
}

void CMDIFrameWnd::ChildChanged() {
    // Collected: closing all documents removes many windows at once.
    if (m_bChildChangePending) return;
    m_bChildChangePending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_bChildChangePending = false;
            OnActiveChildChanged();
        },
        Qt::QueuedConnection);
}

bool CMDIFrameWnd::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pMdiArea->viewport()) {
        if (event->type() == QEvent::ChildAdded) {
            // A document renamed retitles the frame while it is active.
            if (auto* window = qobject_cast<QMdiSubWindow*>(static_cast<QChildEvent*>(event)->child())) {
                window->installEventFilter(this);
                // A free window maximised (after cascading or tiling) brings
                // the tabs back, as they were before the windows were arranged.
                connect(window, &QMdiSubWindow::windowStateChanged, this,
                        [this](Qt::WindowStates before, Qt::WindowStates now) {
                            if (!m_bTabbedWhenMaximised || !(now & Qt::WindowMaximized) ||
                                (before & Qt::WindowMaximized) ||
                                m_pMdiArea->viewMode() == QMdiArea::TabbedView)
                                return;
                            QMetaObject::invokeMethod(
this, [this] { ShowTabs(); }, Qt::QueuedConnection);
                        });
            }
            ChildChanged();
        } else if (event->type() == QEvent::ChildRemoved) {
            ChildChanged();
        }
    } else if (event->type() == QEvent::WindowTitleChange && qobject_cast<QMdiSubWindow*>(watched)) {
        ChildChanged();
    }
    return QMainWindow::eventFilter(watched, event);
}

QAction* CMDIFrameWnd::CommandAction(int id) {
    auto it = m_actions.find(id);
    if (it != m_actions.end()) return it->second;
    auto* action = new QAction(this);
    action->setData(id);
    // Shortcuts of every command work wherever the focus is in this window.
    addAction(action);
    connect(action, &QAction::triggered, this, [this, id] {
        ExecuteCommand(id);
        UpdateAllCommandUI();
    });
    m_actions.emplace(id, action);
    return action;
}

QMenu* CMDIFrameWnd::BuildPopup(const MenuItem& item, QWidget* parent) {
    auto* menu = new QMenu(QString::fromUtf8(item.text), parent);
    for (const MenuItem& child : item.popup) {
        if (!child.popup.empty()) {
            menu->addMenu(BuildPopup(child, menu));
        } else if (!child.text) {
            menu->addSeparator();
        } else {
            QAction* action = CommandAction(child.id);
            if (action->text().isEmpty()) action->setText(QString::fromUtf8(child.text));
            menu->addAction(action);
        }
    }
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        UpdateRecentFileMenu(menu);
        UpdateWindowMenu(menu);
        for (QAction* a : menu->actions())
            if (!a->isSeparator() && !a->menu()) UpdateCommandUI(a);
    });
    return menu;
}

void CMDIFrameWnd::LoadMenu(QMenuBar* bar, const MenuTemplate& menu) {
    // Old popups go later: LoadMenu may run from one of their own commands.
    for (QAction* a : bar->actions())
        if (QMenu* popup = a->menu()) popup->deleteLater();
    bar->clear();
    for (const MenuItem& item : menu.popups) bar->addMenu(BuildPopup(item, bar));
}

bool CMDIFrameWnd::ExecuteCommand(int id) { return OnCmdMsg(id, nullptr); }

void CMDIFrameWnd::UpdateCommandUI(QAction* action) {
    const int id = action->data().toInt();
    if (id <= 0) return;
    CCmdUI ui(id, action);
    if (!OnCmdMsg(id, &ui)) action->setEnabled(false);
}

void CMDIFrameWnd::UpdateAllCommandUI() {
    for (auto& [id, action] : m_actions) UpdateCommandUI(action);
}

bool CMDIFrameWnd::OnCmdMsg(int id, CCmdUI* pUI) {
    if (CMDIChildWnd* child = MDIGetActive())
        if (child->OnCmdMsg(id, pUI)) return true;
    if (CCmdTarget::OnCmdMsg(id, pUI)) return true;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(id, pUI);
}

LRESULT CMDIFrameWnd::WindowProc(UINT, WPARAM, LPARAM) { return 0; }

void CMDIFrameWnd::UpdateRecentFileMenu(QMenu* menu) {
    QAction* first = nullptr;
    for (QAction* a : menu->actions()) {
        const int id = a->data().toInt();
        if (id == ID_FILE_MRU_FILE1) first = a;
        if (id > ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_LAST) menu->removeAction(a);
    }
    CRecentFileList* list = AfxGetApp() ? AfxGetApp()->GetRecentFileList() : nullptr;
    if (!first || !list) return;
    if (list->GetCount() == 0) {
        first->setText(tr("Zuletzt geöffnete Datei"));
        return;
    }
    QAction* before = nullptr;
    const QList<QAction*> actions = menu->actions();
    const qsizetype pos = actions.indexOf(first);
    if (pos + 1 < actions.size()) before = actions[pos + 1];
    for (int i = 0; i < list->GetCount(); ++i) {
        QAction* a = CommandAction(ID_FILE_MRU_FILE1 + i);
        a->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(
            QDir::toNativeSeparators((*list)[i]).replace(QLatin1Char('&'), QLatin1String("&&"))));
        if (i > 0) menu->insertAction(before, a);
    }
}

void CMDIFrameWnd::ShowTabs() {
    if (m_pMdiArea->viewMode() == QMdiArea::TabbedView) return;
    m_pMdiArea->setViewMode(QMdiArea::TabbedView);
    if (auto* tabs = m_pMdiArea->findChild<QTabBar*>()) OnTabBarMade(tabs);
}

void CMDIFrameWnd::UpdateWindowMenu(QMenu* menu) {
    const QList<QAction*> actions = menu->actions();
    const bool arranges = std::any_of(actions.begin(), actions.end(), [](const QAction* a) {
        return a->data().toInt() == ID_WINDOW_CASCADE;
    });
    if (!arranges) return;
    for (QAction* a : actions)
        if (a->property(kWindowEntry).toBool()) {
            menu->removeAction(a);
            a->deleteLater();
        }
    const QList<QMdiSubWindow*> windows = m_pMdiArea->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty()) return;
    auto* separator = menu->addSeparator();
    separator->setProperty(kWindowEntry, true);
    const CMDIChildWnd* active = MDIGetActive();
    for (qsizetype i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* window = windows[i];
        QString title = window->windowTitle();
        title.replace(QLatin1Char('&'), QLatin1String("&&"));
        // The first nine with their digit as accelerator, as desktop programs number them.
        const QString text =
            i < 9 ? QStringLiteral("&%1 %2").arg(i + 1).arg(title) : QStringLiteral("%1 %2").arg(i + 1).arg(title);
        QAction* entry = menu->addAction(text);
        entry->setProperty(kWindowEntry, true);
        entry->setCheckable(true);
        entry->setChecked(window == active);
        QPointer<QMdiSubWindow> target(window);
        connect(entry, &QAction::triggered, this, [this, target] {
            if (!target) return;
            if (target->isMinimized()) target->showNormal();
            m_pMdiArea->setActiveSubWindow(target);
        });
    }
}

void CMDIFrameWnd::OnIdle() {
    if (m_bInIdle || !isVisible()) return;
    m_bInIdle = true;
    UpdateAllCommandUI();
    m_bInIdle = false;
}
