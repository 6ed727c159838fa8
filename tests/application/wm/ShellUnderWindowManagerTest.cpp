// The shell under a real window manager (run by with-window-manager.sh on
// Xvfb with openbox): activation, window frames and the keyboard behave
// there as on a desktop, not as on the offscreen platform.
#include <functional>

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QProcess>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "Document.h"
#include "LockKeys.h"
#include "MDIChildWnd.h"
#include "MultiDocTemplate.h"
#include "Profile.h"
#include "Resource.h"

using apptest::StartedApp;

namespace {

bool WaitFor(const std::function<bool()>& check, int ms = 10000) { return QTest::qWaitFor(check, ms); }

// The window manager has put its frame around the window.
bool Framed(QWidget* window) {
    return window->windowHandle() && !window->windowHandle()->frameMargins().isNull();
}

void PressKey(const char* key) { QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), key}); }

class UnderWindowManager : public testing::Test {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs X11 with a window manager (run through with-window-manager.sh)";
    }
    // Starts the program and waits until it is framed, shown and placed.
    std::unique_ptr<StartedApp> Start(const QStringList& args = {}) {
        auto s = std::make_unique<StartedApp>(dir, args);
        EXPECT_TRUE(s->started);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(s->frame()));
        EXPECT_TRUE(WaitFor([&] { return Framed(s->frame()); }));
        const QRect saved = s->frame()->SavedFrame();
        if (!saved.isEmpty()) WaitFor([&] { return s->frame()->frameGeometry() == saved; });
        EXPECT_TRUE(QTest::qWaitForWindowActive(s->frame()));
        return s;
    }
    testsupport::TempDir dir;
};

} // namespace

TEST_F(UnderWindowManager, CommandsReachTheActiveDocumentInEveryState) {
    auto s = Start();
    CMainFrame* frame = s->frame();
    QAction* close = frame->CommandAction(ID_FILE_CLOSE);
    // Close becomes enabled once activation has reached the document (the update handlers run each round).
    auto closeEnabled = [&] {
        return WaitFor([&] {
            frame->UpdateAllCommandUI();
            return close->isEnabled();
        });
    };
    EXPECT_TRUE(closeEnabled()) << "the start-up document";

    frame->ExecuteCommand(ID_MODE_CAMERA);
    EXPECT_TRUE(WaitFor([&] { return !frame->MdiArea()->isVisible(); }));
    frame->ExecuteCommand(ID_MODE_IMAGE);
    EXPECT_TRUE(closeEnabled()) << "after camera mode";

    frame->ExecuteCommand(ID_FILE_NEW);
    EXPECT_TRUE(closeEnabled()) << "a second document";
    // Closing the other document leaves a single tab that still gets commands.
    s->app->m_pDocTemplate->GetDocuments().front()->OnCloseDocument();
    EXPECT_TRUE(closeEnabled()) << "after closing another document";
    ASSERT_NE(frame->MDIGetActive(), nullptr);
    EXPECT_EQ(frame->MDIGetActive()->windowTitle(), "Vistorel2");

    EXPECT_TRUE(frame->ExecuteCommand(ID_FILE_CLOSE));
    EXPECT_TRUE(s->app->m_pDocTemplate->GetDocuments().empty());
    QApplication::processEvents();
    frame->UpdateAllCommandUI();
    EXPECT_FALSE(close->isEnabled());
}

TEST_F(UnderWindowManager, ThreeRestartsKeepTheWindowRectangle) {
    QRect placed;
    {
        auto s = Start();
        s->frame()->setGeometry(170, 130, 900, 560);
        ASSERT_TRUE(WaitFor([&] { return s->frame()->geometry() == QRect(170, 130, 900, 560); }));
        placed = s->frame()->frameGeometry();
        s->frame()->close();
    }
    EXPECT_GT(placed.height(), 560); // the frame's title bar is part of it
    for (int run = 1; run <= 3; ++run) {
        auto s = Start();
        EXPECT_EQ(s->frame()->frameGeometry(), placed) << "restart " << run;
        EXPECT_EQ(s->frame()->geometry(), QRect(170, 130, 900, 560)) << "restart " << run;
        s->frame()->close();
    }
}

TEST_F(UnderWindowManager, AWindowSavedAboveTheScreenGetsItsTitleBarBack) {
    CProfile profile(QString::fromStdString(dir.file("Vistorel.ini")));
    for (const auto& [entry, value] :
         {std::pair{"left", 125}, {"top", -13}, {"right", 1155}, {"bottom", 782}})
        profile.WriteProfileInt("Screen", entry, value);
    profile.Flush();
    auto s = Start();
    const QRect avail = s->frame()->screen()->availableGeometry();
    EXPECT_GE(s->frame()->frameGeometry().top(), avail.top());
    EXPECT_LE(s->frame()->frameGeometry().bottom(), avail.bottom());
    EXPECT_GT(s->frame()->geometry().top(), s->frame()->frameGeometry().top()); // the title bar
}

TEST_F(UnderWindowManager, LockKeyPanesFollowTheKeyboard) {
    auto s = Start();
    CMainFrame* frame = s->frame();
    for (const auto& [key, name, pane, text] : {std::tuple{CLockKeys::CapsLock, "Caps_Lock", 5, "CAP"},
                                                {CLockKeys::NumLock, "Num_Lock", 6, "NUM"}}) {
        const std::optional<bool> before = CLockKeys::IsOn(key);
        ASSERT_TRUE(before.has_value()) << name << ": X tells the lock state";
        const QString on = QString::fromLatin1(text);
        const int index = pane; // clang 14 lambdas cannot capture a structured binding
        PressKey(name);
        EXPECT_TRUE(WaitFor([&] { return frame->PaneText(index) == (*before ? QString() : on); })) << name;
        PressKey(name);
        EXPECT_TRUE(WaitFor([&] { return frame->PaneText(index) == (*before ? on : QString()); })) << name;
        EXPECT_EQ(CLockKeys::IsOn(key), before);
    }
}
