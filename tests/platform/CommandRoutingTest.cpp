#include <string>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

#include "CmdUI.h"
#include "Document.h"
#include "MDIChildWnd.h"
#include "MDIFrameWnd.h"
#include "MultiDocTemplate.h"
#include "View.h"
#include "WinApp.h"

namespace {

std::string g_log;

// Level n handles the ids 1 to n, so id n is first taken by
// level n: 1 view, 2 document, 3 child frame, 4 main frame, 5 app.
template <class Base> class Level : public Base {
public:
    explicit Level(int level) {
        for (int id = 1; id <= level; ++id)
            this->OnCommand(id, [level] { g_log += std::to_string(level); });
    }
};

class TestDoc : public Level<CDocument> {
public:
    TestDoc() : Level(2) {}
};
class TestView : public Level<CView> {
public:
    TestView() : Level(1) {}
};
class TestChild : public Level<CMDIChildWnd> {
public:
    TestChild() : Level(3) {}
};

class TestFrame : public Level<CMDIFrameWnd> {
public:
    TestFrame() : Level(4) {
        OnCommand(10, [] {});
        OnUpdateCommand(10, [this](CCmdUI* ui) {
            ui->SetCheck(checked);
            ui->SetText(QStringLiteral("Item %1").arg(checked));
        });
        OnUpdateCommand(11, [](CCmdUI* ui) { ui->Enable(false); });
        OnCommand(12, [] {});
    }
    int checked = 1;
};

class TestApp : public Level<CWinApp> {
public:
    TestApp() : Level(5) {}
};

class Routing : public testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        app.SetMainWnd(&frame);
        auto* t = new CMultiDocTemplate(
            128, QStringLiteral("Doc"), [] { return new TestDoc; }, [] { return new TestChild; },
            [] { return new TestView; });
        t->SetMdiArea(frame.MdiArea());
        app.AddDocTemplate(t);
    }
    TestApp app;
    TestFrame frame;
};

} // namespace

TEST_F(Routing, CommandsGoViewDocumentChildFrameMainFrameApp) {
    ASSERT_NE(app.OpenDocumentFile(QString()), nullptr);
    for (int id = 1; id <= 5; ++id) EXPECT_TRUE(frame.ExecuteCommand(id));
    EXPECT_EQ(g_log, "12345");
    EXPECT_FALSE(frame.ExecuteCommand(99));
}

TEST_F(Routing, WithoutDocumentTheFrameAndAppStillHandleCommands) {
    for (int id = 1; id <= 5; ++id) frame.ExecuteCommand(id);
    EXPECT_EQ(g_log, "44445");
}

TEST_F(Routing, UpdateHandlersSetTheItemAndUnhandledItemsAreDisabled) {
    QAction* checked = frame.CommandAction(10);
    QAction* disabled = frame.CommandAction(11);
    QAction* handled = frame.CommandAction(12);
    QAction* unknown = frame.CommandAction(13);
    frame.UpdateAllCommandUI();
    EXPECT_TRUE(checked->isChecked());
    EXPECT_EQ(checked->text(), "Item 1");
    EXPECT_FALSE(disabled->isEnabled());
    EXPECT_TRUE(handled->isEnabled());
    EXPECT_FALSE(unknown->isEnabled());

    frame.checked = 0;
    frame.UpdateCommandUI(checked);
    EXPECT_FALSE(checked->isChecked());
    EXPECT_EQ(checked->text(), "Item 0");
}

TEST_F(Routing, OpeningAMenuRunsItsUpdateHandlers) {
    static const MenuTemplate menu{1, {{0, "&Test", {{10, "Ten"}, {}, {13, "Thirteen"}}}}};
    frame.LoadMenu(frame.menuBar(), menu);
    QMenu* popup = frame.menuBar()->actions().at(0)->menu();
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(popup->actions().size(), 3);
    EXPECT_TRUE(popup->actions()[1]->isSeparator());
    frame.CommandAction(13)->setEnabled(true);
    emit popup->aboutToShow();
    EXPECT_EQ(popup->actions()[0]->text(), "Item 1");
    EXPECT_FALSE(frame.CommandAction(13)->isEnabled());
}

TEST_F(Routing, TriggeringAnActionRoutesItsCommand) {
    ASSERT_NE(app.OpenDocumentFile(QString()), nullptr);
    frame.CommandAction(3)->trigger();
    EXPECT_EQ(g_log, "3");
}
