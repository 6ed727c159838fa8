#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QDockWidget>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "ControlHost.h"
#include "CountdownBar.h"
#include "Document.h"
#include "LockKeys.h"
#include "MDIChildWnd.h"
#include "MultiDocTemplate.h"
#include "Profile.h"
#include "Resource.h"
#include "UserMessages.h"

using apptest::StartedApp;

namespace {

// Records every message the frame handles.
class RecordingFrame : public CMainFrame {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        messages.push_back(message);
        return CMainFrame::WindowProc(message, wParam, lParam);
    }
    std::vector<UINT> messages;
};

// A frame of its own on a fresh profile, without the start-up's new document.
class Frame : public testing::Test {
protected:
    void SetUp() override { Start(); }
    void Start() {
        app = std::make_unique<CKXViewApp>(QString::fromStdString(dir.file("Vistorel.ini")));
        frame = new RecordingFrame;
        app->SetMainWnd(frame); // the app deletes it
        ASSERT_TRUE(frame->LoadFrame());
        frame->show();
        QApplication::processEvents();
    }
    void Restart() {
        frame->close();
        app.reset();
        Start();
    }
    QString FirstMenu() const { return frame->menuBar()->actions().value(0)->text(); }
    int Count(UINT message) const {
        return static_cast<int>(std::count(frame->messages.begin(), frame->messages.end(), message));
    }

    testsupport::TempDir dir;
    std::unique_ptr<CKXViewApp> app;
    RecordingFrame* frame = nullptr;
};

} // namespace

TEST_F(Frame, ModesSetPanesMenusAndToolBar) {
    // A fresh profile starts with the tool bar shown: image processing.
    EXPECT_EQ(frame->Mode(), 2);

    frame->ExecuteCommand(ID_MODE_CAMERA);
    EXPECT_EQ(frame->Mode(), 1);
    EXPECT_EQ(frame->ControlHost()->GetCurSel(), 0);
    for (int id : {IDD_PREVIEW, IDP_CONTROL, IDD_SAVE_PANEL, IDD_IMAGE_BROWSER})
        EXPECT_FALSE(frame->IsPaneClosed(id)) << id;
    EXPECT_TRUE(frame->IsPaneClosed(IDD_HISTOGRAM));
    EXPECT_EQ(FirstMenu(), "&Kamera");
    EXPECT_FALSE(frame->ToolBar()->isVisible());
    const int h = frame->PaneHeight();
    EXPECT_EQ(frame->PaneTrackSize(IDP_CONTROL), QSize(260, h * 30 / 100));
    EXPECT_EQ(frame->PaneTrackSize(IDD_SAVE_PANEL), QSize(260, h * 15 / 100));
    EXPECT_EQ(frame->Pane(IDP_CONTROL)->width(), 260);
    EXPECT_EQ(frame->Pane(IDD_PREVIEW)->widget()->findChild<QWidget*>("Display1109") != nullptr, true);

    frame->ExecuteCommand(ID_VIEW_HISTOGRAM);
    EXPECT_FALSE(frame->IsPaneClosed(IDD_HISTOGRAM));
    frame->ExecuteCommand(ID_MODE_IMAGE);
    EXPECT_EQ(frame->Mode(), 2);
    EXPECT_EQ(frame->ControlHost()->GetCurSel(), 1);
    for (int id : {IDD_PREVIEW, IDD_SAVE_PANEL, IDD_IMAGE_BROWSER})
        EXPECT_TRUE(frame->IsPaneClosed(id)) << id;
    EXPECT_FALSE(frame->IsPaneClosed(IDP_CONTROL));
    EXPECT_FALSE(frame->IsPaneClosed(IDD_HISTOGRAM));
    EXPECT_EQ(frame->PaneTrackSize(IDP_CONTROL), QSize(260, h * 50 / 100));
    EXPECT_EQ(frame->PaneTrackSize(IDD_HISTOGRAM), QSize(260, h * 30 / 100));
    EXPECT_EQ(FirstMenu(), "&Ansicht"); // no document open: the frame's own menu
    EXPECT_TRUE(frame->ToolBar()->isVisible());

    // Choosing the tab itself sets the mode too.
    frame->ControlHost()->SetCurSel(0);
    EXPECT_EQ(frame->Mode(), 1);
}

TEST_F(Frame, ModeCommandsCarryTheirCheckMarks) {
    QAction* camera = frame->CommandAction(ID_MODE_CAMERA);
    QAction* image = frame->CommandAction(ID_MODE_IMAGE);
    frame->UpdateAllCommandUI();
    EXPECT_FALSE(camera->isChecked());
    EXPECT_TRUE(image->isChecked());
    frame->ExecuteCommand(ID_MODE_CAMERA);
    frame->UpdateAllCommandUI();
    EXPECT_TRUE(camera->isChecked());
    EXPECT_FALSE(image->isChecked());
    EXPECT_TRUE(frame->CommandAction(ID_CAMERA_PREVIEW)->isChecked());
    frame->ExecuteCommand(ID_CAMERA_PREVIEW);
    EXPECT_TRUE(frame->IsPaneClosed(IDD_PREVIEW));
    frame->UpdateAllCommandUI();
    EXPECT_FALSE(frame->CommandAction(ID_CAMERA_PREVIEW)->isChecked());
    // Without the control pane neither mode is checked.
    frame->ClosePane(IDP_CONTROL);
    frame->UpdateAllCommandUI();
    EXPECT_FALSE(camera->isChecked());
    // Document commands have no handler yet and stay disabled.
    frame->UpdateCommandUI(frame->CommandAction(33774));
    EXPECT_FALSE(frame->CommandAction(ID_FILE_SAVE)->isEnabled());
    EXPECT_FALSE(frame->CommandAction(33774)->isEnabled());
    EXPECT_TRUE(frame->CommandAction(ID_APP_ABOUT)->isEnabled());
}

TEST_F(Frame, ClosingTheControlPaneClosesTheHistogram) {
    ASSERT_FALSE(frame->IsPaneClosed(IDD_HISTOGRAM));
    frame->Pane(IDP_CONTROL)->close();
    EXPECT_TRUE(frame->IsPaneClosed(IDP_CONTROL));
    EXPECT_TRUE(frame->IsPaneClosed(IDD_HISTOGRAM));
}

TEST_F(Frame, CtrlF12PostsACaptureOnlyInCameraMode) {
    QApplication::setActiveWindow(frame);
    QTest::keyClick(frame, Qt::Key_F12, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(Count(UM_CAPTURE), 0);

    frame->ExecuteCommand(ID_MODE_CAMERA);
    QTest::keyClick(frame, Qt::Key_F12, Qt::ControlModifier);
    EXPECT_EQ(Count(UM_CAPTURE), 0); // posted, not sent
    QApplication::processEvents();
    EXPECT_EQ(Count(UM_CAPTURE), 1);
    EXPECT_EQ(frame->WindowProc(UM_HOTKEY, 1234, 0), MSG_REFUSED);
}

TEST_F(Frame, FullScreenInCameraModeGivesThePreviewTheWholeWidth) {
    frame->ExecuteCommand(ID_MODE_CAMERA);
    frame->ExecuteCommand(ID_FULL_SCREEN);
    const QSize screen = frame->screen()->geometry().size();
    // The window system resizes the frame, then its layout follows.
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame->Pane(IDD_PREVIEW)->width() == screen.width(); }, 10000));
    EXPECT_TRUE(frame->IsFullScreen());
    EXPECT_EQ(frame->PaneWidth(), screen.width());
    EXPECT_EQ(frame->PreviewArea().width(), screen.width() - 11);
    for (int id : {IDP_CONTROL, IDD_SAVE_PANEL, IDD_IMAGE_BROWSER})
        EXPECT_TRUE(frame->IsPaneClosed(id)) << id;
    EXPECT_EQ(frame->width(), screen.width());
    EXPECT_EQ(frame->Pane(IDD_PREVIEW)->width(), frame->width());
    EXPECT_FALSE(frame->statusBar()->isVisible());
    EXPECT_EQ(CProfile(QString::fromStdString(dir.file("Vistorel.ini")))
                  .GetProfileInt("TabDocking", "Position", -1),
              0);

    frame->ExecuteCommand(ID_FULL_SCREEN);
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame->Pane(IDD_PREVIEW)->width() < frame->width() - 250; }, 10000));
    EXPECT_FALSE(frame->IsFullScreen());
    for (int id : {IDP_CONTROL, IDD_SAVE_PANEL, IDD_IMAGE_BROWSER})
        EXPECT_FALSE(frame->IsPaneClosed(id)) << id;
    EXPECT_EQ(frame->PaneWidth(), frame->width() - 260);
    EXPECT_LT(frame->Pane(IDD_PREVIEW)->width(), frame->width() - 250);
    EXPECT_TRUE(frame->statusBar()->isVisible());
}

TEST_F(Frame, ResizingInCameraModeResizesThePreviewArea) {
    frame->ExecuteCommand(ID_MODE_CAMERA);
    frame->resize(700, 520);
    QApplication::processEvents();
    const QSize client = frame->ClientSize();
    EXPECT_EQ(frame->PreviewArea(),
              QSize(client.width() - 260 - 11, static_cast<int>(client.height() * 1.15) - 130));

    // In image-processing mode the preview is left alone.
    const QSize before = frame->PreviewArea();
    frame->ExecuteCommand(ID_MODE_IMAGE);
    frame->resize(640, 480);
    QApplication::processEvents();
    EXPECT_EQ(frame->PreviewArea(), before);
}

TEST_F(Frame, AWindowClosedBeyondTheRightEdgeIsStoredInsideTheScreen) {
    const QRect screen = frame->screen()->geometry();
    frame->setGeometry(screen.width() - 20, 40, 500, 400);
    QApplication::processEvents();
    const QRect before = frame->frameGeometry();
    frame->close();
    CProfile profile(QString::fromStdString(dir.file("Vistorel.ini")));
    EXPECT_EQ(profile.GetProfileInt("Screen", "maximized", -1), 0);
    EXPECT_EQ(profile.GetProfileInt("Screen", "left", -1), screen.width() - 100);
    EXPECT_EQ(profile.GetProfileInt("Screen", "top", -1), before.top());
    EXPECT_EQ(profile.GetProfileInt("Screen", "right", -1), before.right() + 1);
    EXPECT_EQ(profile.GetProfileInt("Screen", "bottom", -1), before.bottom() + 1);

    // The panes are gone; commands that reach the closed frame change nothing.
    for (int id : {ID_FULL_SCREEN, ID_MODE_CAMERA, ID_VIEW_HISTOGRAM, ID_CAMERA_PREVIEW})
        frame->ExecuteCommand(id);
    EXPECT_EQ(frame->Pane(IDD_PREVIEW), nullptr);
    EXPECT_FALSE(frame->IsFullScreen());
}

TEST_F(Frame, LayoutAndModeAreRestoredAtTheNextStart) {
    frame->ExecuteCommand(ID_MODE_CAMERA);
    frame->ExecuteCommand(ID_MENU_XP);
    frame->setGeometry(30, 40, 700, 500);
    QApplication::processEvents();
    const QRect placed = frame->frameGeometry();
    Restart();
    EXPECT_EQ(frame->Mode(), 1);
    EXPECT_FALSE(frame->ToolBar()->isVisible());
    EXPECT_FALSE(frame->IsPaneClosed(IDD_PREVIEW));
    EXPECT_EQ(frame->MenuLook(), 1);
    EXPECT_EQ(FirstMenu(), "&Kamera");
    EXPECT_EQ(frame->frameGeometry(), placed);

    frame->ExecuteCommand(ID_MODE_IMAGE);
    Restart();
    EXPECT_EQ(frame->Mode(), 2);
    EXPECT_TRUE(frame->IsPaneClosed(IDD_PREVIEW));
}

TEST_F(Frame, CameraMessagesAreRefusedWhileNoCameraRuns) {
    for (UINT m : {UM_CAPTURE, UM_VIDEO_START, UM_VIDEO_STOP, UM_PREVIEW_START, UM_PREVIEW_STOP,
                   UM_AUTO_WHITE_BALANCE, UM_CAMERA_REMOVED, UM_CAMERA_RELEASE, UM_CONFIG_DIALOG_DONE})
        EXPECT_EQ(SendMessage(frame, m), MSG_REFUSED) << m;
    EXPECT_EQ(SendMessage(frame, UM_CAMERA_FRAME), MSG_DONE);
}

TEST(FrameMessages, OpenImageSwitchesModeAndRefusesMissingFiles) {
    testsupport::TempDir dir;
    StartedApp s(dir);
    ASSERT_TRUE(s.started);
    s.frame()->ExecuteCommand(ID_MODE_CAMERA);
    const QString missing = QString::fromStdString(dir.file("missing.bmp"));
    const QString empty;
    EXPECT_EQ(SendMessage(s.frame(), UM_OPEN_IMAGE, 0, reinterpret_cast<LPARAM>(&missing)), MSG_REFUSED);
    EXPECT_EQ(SendMessage(s.frame(), UM_OPEN_IMAGE, 0, reinterpret_cast<LPARAM>(&empty)), MSG_REFUSED);
    EXPECT_EQ(SendMessage(s.frame(), UM_OPEN_IMAGE, 0, 0), MSG_REFUSED);
    EXPECT_EQ(s.frame()->Mode(), 1);

    const QString bmp = apptest::WriteBmp(dir, "captured.bmp");
    EXPECT_EQ(SendMessage(s.frame(), UM_OPEN_IMAGE, 0, reinterpret_cast<LPARAM>(&bmp)), MSG_DONE);
    EXPECT_EQ(s.frame()->Mode(), 2);
    EXPECT_EQ(s.app->m_pDocTemplate->GetDocuments().back()->GetPathName(), bmp);
}

TEST(FrameTabs, RightClickOnADocumentTabActivatesItAndOffersCloseAndSave) {
    testsupport::TempDir dir;
    StartedApp s(dir);
    ASSERT_TRUE(s.started);
    s.frame()->ExecuteCommand(ID_FILE_NEW); // a second document, now active
    auto* tabs = s.frame()->MdiArea()->findChild<QTabBar*>();
    ASSERT_TRUE(tabs && tabs->count() == 2);
    QStringList items;
    std::vector<bool> enabled;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* a : menu->actions()) {
            items << a->text();
            enabled.push_back(a->isEnabled());
        }
        menu->close();
    });
    const QPoint at = tabs->tabRect(0).center();
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, tabs->mapToGlobal(at));
    QApplication::sendEvent(tabs, &click);
    EXPECT_EQ(items, QStringList({"Schließen", "Datei speichern"}));
    // Both are the document's own commands; saving is always offered.
    EXPECT_EQ(enabled, (std::vector<bool>{true, true}));
    EXPECT_EQ(s.frame()->MDIGetActive()->windowTitle(), "Vistorel1");
}

TEST(FrameMenus, WithoutADocumentTheFramesOwnMenuAndTheDocumentMenuWhenOneOpens) {
    testsupport::TempDir dir;
    StartedApp s(dir);
    ASSERT_TRUE(s.started);
    auto first = [&] {
        QApplication::processEvents();
        return s.frame()->menuBar()->actions().value(0)->text();
    };
    EXPECT_EQ(first(), "&Datei");
    s.frame()->ExecuteCommand(ID_CLOSE_ALL);
    EXPECT_EQ(first(), "&Ansicht");
    EXPECT_EQ(s.frame()->MenuId(), IDR_MAINFRAME);
    EXPECT_EQ(s.frame()->menuBar()->actions().size(), 2); // "&Ansicht", "&Hilfe"
    s.frame()->ExecuteCommand(ID_FILE_NEW);
    EXPECT_EQ(first(), "&Datei");
    EXPECT_EQ(s.frame()->MenuId(), IDR_VISTORTYPE);

    // Camera mode keeps its menu whatever the documents do.
    s.frame()->ExecuteCommand(ID_MODE_CAMERA);
    s.app->CloseAllDocuments();
    EXPECT_EQ(first(), "&Kamera");
    s.frame()->ExecuteCommand(ID_MODE_IMAGE);
    EXPECT_EQ(first(), "&Ansicht");
}

TEST_F(Frame, TheStatusBarShowsEightPanesWideEnoughForTheirTexts) {
    const auto panes = frame->statusBar()->findChildren<QLabel*>(QRegularExpression("^StatusPane\\d$"));
    ASSERT_EQ(panes.size(), 8);
    const char* const texts[] = {"Bereit", "",    "Time (s): 123.456", "WBM", "(4000x3000x24)", "CAP",
                                 "NUM",    "SCRL"};
    int right = -1;
    for (int i = 0; i < 8; ++i) {
        QLabel* pane = frame->statusBar()->findChild<QLabel*>(QStringLiteral("StatusPane%1").arg(i));
        ASSERT_NE(pane, nullptr);
        EXPECT_TRUE(pane->isVisible()) << i;
        EXPECT_GT(pane->frameWidth(), 0) << i;
        EXPECT_GE(pane->contentsRect().width(), pane->fontMetrics().horizontalAdvance(texts[i])) << i;
        EXPECT_GT(pane->width(), 20) << i;
        // Left to right in their order, side by side.
        EXPECT_GT(pane->geometry().left(), right) << i;
        right = pane->geometry().right();
    }
    EXPECT_EQ(frame->PaneText(0), "Bereit");
    // The long exposure's countdown waits hidden in the status bar, its cancel button uncut when shown.
    auto* countdown = frame->statusBar()->findChild<CCountdownBar*>();
    ASSERT_NE(countdown, nullptr);
    EXPECT_FALSE(countdown->isVisible());
    countdown->ShowSeconds(999);
    QApplication::processEvents();
    EXPECT_TRUE(countdown->isVisible());
    const QPushButton* cancel = countdown->CancelButton();
    EXPECT_GE(cancel->width(), cancel->fontMetrics().horizontalAdvance(cancel->text()));
    // Offscreen there is no keyboard to ask: the lock panes stay blank.
    EXPECT_FALSE(CLockKeys::IsOn(CLockKeys::CapsLock).has_value());
    frame->UpdateLockKeys();
    for (int i = 5; i < 8; ++i) EXPECT_EQ(frame->PaneText(i), "") << i;
}

TEST(FrameWindows, CascadedDocumentsTakeMostOfTheArea) {
    testsupport::TempDir dir;
    StartedApp s(dir);
    ASSERT_TRUE(s.started);
    s.frame()->resize(1000, 700);
    for (int i = 0; i < 3; ++i) s.frame()->ExecuteCommand(ID_FILE_NEW);
    QApplication::processEvents();
    CMDIChildWnd* active = s.frame()->MDIGetActive();
    s.frame()->ExecuteCommand(ID_WINDOW_CASCADE);
    QApplication::processEvents();
    const QSize area = s.frame()->MdiArea()->viewport()->size();
    const QList<QMdiSubWindow*> windows = s.frame()->MdiArea()->subWindowList(QMdiArea::StackingOrder);
    ASSERT_EQ(windows.size(), 4);
    QPoint previous(-1, -1);
    for (QMdiSubWindow* w : windows) {
        const QRect r = w->geometry();
        EXPECT_GE(r.width(), area.width() * 2 / 3);
        EXPECT_GE(r.height(), area.height() * 2 / 3);
        EXPECT_TRUE(QRect(QPoint(0, 0), area).contains(r))
            << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
        EXPECT_GT(r.left(), previous.x());
        EXPECT_GT(r.top(), previous.y());
        previous = r.topLeft();
        EXPECT_FALSE(w->isMaximized());
    }
    // The active document stays active, in front.
    EXPECT_EQ(windows.back(), active);
    EXPECT_EQ(s.frame()->MDIGetActive(), active);
}

TEST(FrameWindows, TabsComeBackWhenAWindowIsMaximisedAndTheWindowMenuListsTheDocuments) {
    testsupport::TempDir dir;
    StartedApp s(dir);
    ASSERT_TRUE(s.started);
    for (int i = 0; i < 2; ++i) s.frame()->ExecuteCommand(ID_FILE_NEW);
    QApplication::processEvents();
    QMdiArea* area = s.frame()->MdiArea();
    auto tabCount = [&] {
        QApplication::processEvents();
        auto* tabs = area->findChild<QTabBar*>();
        return area->viewMode() == QMdiArea::TabbedView && tabs ? tabs->count() : 0;
    };
    ASSERT_EQ(tabCount(), 3);
    for (int arrange : {ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ}) {
        s.frame()->ExecuteCommand(arrange);
        EXPECT_EQ(tabCount(), 0) << arrange;
        s.frame()->MDIGetActive()->showMaximized();
        EXPECT_EQ(tabCount(), 3) << arrange;
        // The new tab bar still offers the document commands on a right click.
        auto* tabs = area->findChild<QTabBar*>();
        ASSERT_NE(tabs, nullptr);
        EXPECT_EQ(tabs->contextMenuPolicy(), Qt::CustomContextMenu);
    }

    QMenu* windowMenu = nullptr;
    for (QAction* a : s.frame()->menuBar()->actions())
        if (a->text() == "&Fenster") windowMenu = a->menu();
    ASSERT_NE(windowMenu, nullptr);
    auto entries = [&] {
        emit windowMenu->aboutToShow();
        QList<QAction*> list;
        for (QAction* a : windowMenu->actions())
            if (a->isCheckable()) list << a;
        return list;
    };
    QList<QAction*> listed = entries();
    ASSERT_EQ(listed.size(), 3);
    const QList<QMdiSubWindow*> windows = area->subWindowList(QMdiArea::CreationOrder);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(listed[i]->text(), QStringLiteral("&%1 %2").arg(i + 1).arg(windows[i]->windowTitle()));
        EXPECT_EQ(listed[i]->isChecked(), windows[i] == s.frame()->MDIGetActive()) << i;
    }
    // A picture of the menu as it opens.
    windowMenu->popup(s.frame()->mapToGlobal(QPoint(40, 40)));
    QApplication::processEvents();
    const QString shots = QCoreApplication::applicationDirPath() + QStringLiteral("/../test-screenshots");
    QDir().mkpath(shots);
    EXPECT_TRUE(windowMenu->grab().save(shots + QStringLiteral("/window-menu.png")));
    windowMenu->close();
    listed = entries();
    listed[0]->trigger();
    QApplication::processEvents();
    EXPECT_EQ(s.frame()->MDIGetActive(), windows[0]);
    // Opened again, the menu lists each document once, the new active one checked.
    listed = entries();
    ASSERT_EQ(listed.size(), 3);
    EXPECT_TRUE(listed[0]->isChecked());
    EXPECT_FALSE(listed[2]->isChecked());
    s.frame()->ExecuteCommand(ID_CLOSE_ALL);
    QApplication::processEvents();
}

TEST_F(Frame, ClosingThePreviewInCameraModeLeavesNoEmptyArea) {
    frame->resize(1000, 700);
    frame->ExecuteCommand(ID_MODE_CAMERA);
    QApplication::processEvents();
    ASSERT_EQ(frame->Pane(IDP_CONTROL)->width(), 260);
    frame->ExecuteCommand(ID_CAMERA_PREVIEW);
    QApplication::processEvents();
    ASSERT_TRUE(frame->IsPaneClosed(IDD_PREVIEW));
    // The control column now spans the window.
    for (int id : {IDP_CONTROL, IDD_SAVE_PANEL, IDD_IMAGE_BROWSER})
        EXPECT_GE(frame->Pane(id)->width(), frame->width() - 20) << id;

    frame->ExecuteCommand(ID_CAMERA_PREVIEW);
    QApplication::processEvents();
    EXPECT_FALSE(frame->IsPaneClosed(IDD_PREVIEW));
    EXPECT_EQ(frame->Pane(IDP_CONTROL)->width(), 260);
    EXPECT_GE(frame->Pane(IDD_PREVIEW)->width(), frame->width() - 260 - 20);
}

// In a window lower than the screen the camera column still shows every
// button of the control page and of the save panel, and leaves the image
// browser room; lower still, the control page scrolls and the save panel
// keeps its buttons.
TEST_F(Frame, TheCameraColumnShowsEveryButtonInALowWindow) {
    frame->ExecuteCommand(ID_MODE_IMAGE);
    frame->resize(1000, 700);
    QApplication::processEvents();
    // Switching modes in such a window, not only resizing it.
    frame->ExecuteCommand(ID_MODE_CAMERA);
    QDockWidget* panel = frame->Pane(IDD_SAVE_PANEL);
    QWidget* page = frame->ControlHost()->Page(0);
    const auto panelShowsAll = [&] {
        for (const QAbstractButton* button : panel->widget()->findChildren<QAbstractButton*>())
            if (button->mapTo(panel, QPoint(0, button->height())).y() > panel->height()) return false;
        return true;
    };
    // The layout runs, then the column is shared, then the layout runs again.
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    EXPECT_LE(page->height(), page->parentWidget()->height());
    EXPECT_TRUE(panelShowsAll());
    EXPECT_GE(frame->Pane(IDD_IMAGE_BROWSER)->height(), 200);

    frame->resize(1000, 520);
    QApplication::processEvents();
    EXPECT_GT(page->height(), page->parentWidget()->height()) << "the control page should scroll";
    EXPECT_TRUE(panelShowsAll());
}

TEST_F(Frame, ARectangleSavedOffTheScreenComesBackWithItsTitleBarOnIt) {
    frame->close();
    app.reset();
    {
        CProfile profile(QString::fromStdString(dir.file("Vistorel.ini")));
        for (const auto& [entry, value] :
             {std::pair{"left", 125}, {"top", -13}, {"right", 1155}, {"bottom", 782}})
            profile.WriteProfileInt("Screen", entry, value);
    }
    Start();
    const QRect avail = frame->screen()->availableGeometry();
    EXPECT_EQ(frame->frameGeometry().top(), avail.top());
    EXPECT_LE(frame->frameGeometry().height(), avail.height());
    EXPECT_LE(frame->frameGeometry().left(), avail.right() - 100);
    EXPECT_EQ(frame->frameGeometry(), frame->SavedFrame());
}

// A control a camera type shows later (type 0's "Eigenschaften") keeps its
// room: the page is not cut off above it while it is hidden.
TEST(ControlHostPages, AHiddenControlKeepsItsRoomOnThePage) {
    CControlHost host;
    auto* page = new QWidget;
    page->resize(200, 400);
    (new QPushButton(page))->setGeometry(0, 0, 50, 20);
    auto* later = new QPushButton(page);
    later->setGeometry(0, 100, 50, 20);
    later->hide();
    host.InstallPage(0, page);
    EXPECT_GE(page->height(), 120);
    EXPECT_LT(page->height(), 400);
}

// Every pane is shown and hidden from "Ansicht" with its check mark; the
// panes of camera mode are greyed in image-processing mode.
TEST_F(Frame, TheViewMenuShowsAndHidesEveryPane) {
    const std::pair<int, int> panes[] = {{ID_VIEW_PANE_CONTROL, IDP_CONTROL},
                                         {ID_VIEW_PANE_PREVIEW, IDD_PREVIEW},
                                         {ID_VIEW_PANE_SAVE, IDD_SAVE_PANEL},
                                         {ID_VIEW_PANE_BROWSER, IDD_IMAGE_BROWSER},
                                         {ID_VIEW_PANE_HISTOGRAM, IDD_HISTOGRAM}};
    for (int mode : {ID_MODE_IMAGE, ID_MODE_CAMERA}) {
        frame->ExecuteCommand(mode);
        QApplication::processEvents();
        QMenu* view = nullptr;
        for (QAction* menu : frame->menuBar()->actions())
            if (menu->text() == QStringLiteral("&Ansicht")) view = menu->menu();
        ASSERT_NE(view, nullptr) << mode;
        for (const auto& [command, pane] : panes) {
            QAction* action = frame->CommandAction(command);
            EXPECT_TRUE(view->actions().contains(action)) << command;
            frame->UpdateAllCommandUI();
            const bool cameraPane =
                pane == IDD_PREVIEW || pane == IDD_SAVE_PANEL || pane == IDD_IMAGE_BROWSER;
            EXPECT_EQ(action->isEnabled(), mode == ID_MODE_CAMERA || !cameraPane) << command;
            if (!action->isEnabled()) continue;
            for (int turn = 0; turn < 2; ++turn) {
                const bool shown = !frame->IsPaneClosed(pane);
                EXPECT_EQ(action->isChecked(), shown) << command;
                frame->ExecuteCommand(command);
                QApplication::processEvents();
                EXPECT_EQ(frame->IsPaneClosed(pane), shown) << command << " " << turn;
                frame->UpdateAllCommandUI();
            }
        }
    }
}

// With the live histogram shown in camera mode (below the preview), at a small
// and a large window, every button of the control page and the save panel is
// whole and wide enough for its text, and the browser keeps its room.
TEST_F(Frame, TheCameraColumnKeepsEveryButtonWithTheHistogramShown) {
    const QByteArray shots = qgetenv("VISTOREL_SCREENSHOT_DIR");
    for (const QSize size : {QSize(1024, 720), QSize(1920, 1080)}) {
        frame->ExecuteCommand(ID_MODE_IMAGE);
        frame->resize(size);
        frame->ExecuteCommand(ID_MODE_CAMERA);
        ASSERT_TRUE(frame->IsPaneClosed(IDD_HISTOGRAM));
        frame->ExecuteCommand(ID_VIEW_PANE_HISTOGRAM);
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
        ASSERT_FALSE(frame->IsPaneClosed(IDD_HISTOGRAM));
        const std::string at = std::to_string(size.width()) + "x" + std::to_string(size.height());
        QWidget* page = frame->ControlHost()->Page(0);
        EXPECT_LE(page->height(), page->parentWidget()->height()) << at << ": the control page is cut";
        for (int id : {IDP_CONTROL, IDD_SAVE_PANEL}) {
            QDockWidget* pane = frame->Pane(id);
            for (const QAbstractButton* button : pane->widget()->findChildren<QAbstractButton*>()) {
                if (!button->isVisible()) continue;
                const QString text = QString(button->text()).remove(QLatin1Char('&'));
                EXPECT_LE(button->mapTo(pane, QPoint(0, button->height())).y(), pane->height())
                    << at << " " << text.toStdString();
                EXPECT_GE(button->width(), button->fontMetrics().horizontalAdvance(text))
                    << at << " " << text.toStdString();
            }
        }
        // The histogram under the preview, as wide, and a quarter of the height.
        const QRect histogram = frame->Pane(IDD_HISTOGRAM)->geometry();
        const QRect preview = frame->Pane(IDD_PREVIEW)->geometry();
        EXPECT_GE(histogram.top(), preview.bottom()) << at;
        EXPECT_EQ(histogram.width(), preview.width()) << at;
        EXPECT_GE(histogram.height(), frame->height() / 5) << at;
        EXPECT_EQ(frame->Pane(IDP_CONTROL)->width(), 260) << at;
        EXPECT_GE(frame->Pane(IDD_IMAGE_BROWSER)->height(), 200) << at;
        if (!shots.isEmpty())
            frame->grab().save(QString::fromUtf8(shots) +
                               QStringLiteral("/camera-histogram-%1.png").arg(QString::fromStdString(at)));
    }
}
