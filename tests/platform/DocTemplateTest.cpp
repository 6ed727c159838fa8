#include <vector>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <gtest/gtest.h>

#include "CmdUI.h"
#include "CommandIds.h"
#include "CommandLineInfo.h"
#include "Document.h"
#include "MDIChildWnd.h"
#include "MDIFrameWnd.h"
#include "MultiDocTemplate.h"
#include "Profile.h"
#include "RecentFileList.h"
#include "TestSupport.h"
#include "View.h"
#include "WinApp.h"

namespace {

class PathDoc : public CDocument {
public:
    bool OnOpenDocument(const QString& path) override {
        // What the user sees while a file loads (or its error is shown).
        windowsWhileOpening = AfxGetApp()->GetMainWnd()->MdiArea()->subWindowList().size();
        return !path.endsWith(QLatin1String(".bad"));
    }
    static inline qsizetype windowsWhileOpening = -1;
};

class HintView : public CView {
public:
    void OnUpdate(CView* sender, LPARAM hint) override {
        hints.push_back(hint);
        senders.push_back(sender);
    }
    std::vector<LPARAM> hints;
    std::vector<CView*> senders;
};

class Templates : public testing::Test {
protected:
    void SetUp() override {
        app.SetMainWnd(&frame);
        tmpl = new CMultiDocTemplate(
            128, QStringLiteral("Vistorel"), [] { return new PathDoc; }, [] { return new CMDIChildWnd; },
            [] { return new HintView; });
        tmpl->SetMdiArea(frame.MdiArea());
        app.AddDocTemplate(tmpl);
        app.LoadStdProfileSettings(9);
    }
    testsupport::TempDir dir;
    CWinApp app{QString::fromStdString(dir.file("p.ini"))};
    CMDIFrameWnd frame;
    CMultiDocTemplate* tmpl = nullptr;
};

} // namespace

TEST_F(Templates, NewDocumentsAreNumberedAndOpenPathsOnlyActivated) {
    CDocument* a = tmpl->OpenDocumentFile(QString());
    CDocument* b = tmpl->OpenDocumentFile(QString());
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->GetTitle(), "Vistorel1");
    EXPECT_EQ(b->GetTitle(), "Vistorel2");

    const QString path = QString::fromStdString(dir.file("one.bmp"));
    CDocument* c = tmpl->OpenDocumentFile(path);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->GetTitle(), "one.bmp");
    EXPECT_EQ(c->GetPathName(), path);
    EXPECT_EQ(tmpl->OpenDocumentFile(path), c);
    EXPECT_EQ(tmpl->GetDocuments().size(), 3u);
    EXPECT_EQ(frame.MdiArea()->subWindowList().size(), 3);
    EXPECT_EQ(frame.MDIGetActive()->windowTitle(), "one.bmp");
    EXPECT_EQ((*app.GetRecentFileList())[0], path);
}

TEST_F(Templates, AFailedOpenLeavesNoDocumentOrWindow) {
    EXPECT_EQ(tmpl->OpenDocumentFile(QString::fromStdString(dir.file("x.bad"))), nullptr);
    EXPECT_EQ(PathDoc::windowsWhileOpening, 0); // no empty tab while the error shows
    EXPECT_TRUE(tmpl->GetDocuments().empty());
    EXPECT_TRUE(frame.MdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(app.GetRecentFileList()->GetCount(), 0);
}

TEST_F(Templates, ClosingTheLastWindowDeletesTheDocument) {
    CDocument* doc = tmpl->OpenDocumentFile(QString());
    ASSERT_NE(doc, nullptr);
    delete doc->GetFirstView()->GetParentFrame();
    EXPECT_TRUE(tmpl->GetDocuments().empty());

    tmpl->OpenDocumentFile(QString());
    tmpl->OpenDocumentFile(QString());
    app.CloseAllDocuments();
    EXPECT_TRUE(tmpl->GetDocuments().empty());
    EXPECT_TRUE(frame.MdiArea()->subWindowList().isEmpty());
}

TEST_F(Templates, TheCloseCommandClosesTheActiveDocumentOnly) {
    CDocument* first = tmpl->OpenDocumentFile(QString());
    tmpl->OpenDocumentFile(QString());
    EXPECT_TRUE(frame.ExecuteCommand(ID_FILE_CLOSE));
    ASSERT_EQ(tmpl->GetDocuments().size(), 1u);
    EXPECT_EQ(tmpl->GetDocuments().front(), first);
    EXPECT_EQ(frame.MdiArea()->subWindowList().size(), 1);
}

TEST_F(Templates, UpdateAllViewsPassesTheHintToEveryViewButTheSender) {
    CDocument* doc = tmpl->OpenDocumentFile(QString());
    auto* first = static_cast<HintView*>(doc->GetFirstView());
    auto* second = new HintView;
    doc->AddView(second);
    first->hints.clear();
    doc->UpdateAllViews(first, 1025);
    doc->UpdateAllViews(nullptr, 0);
    EXPECT_EQ(first->hints, std::vector<LPARAM>{0});
    EXPECT_EQ(second->hints, (std::vector<LPARAM>{1025, 0}));
    EXPECT_EQ(second->senders[0], first);
    delete second;
    EXPECT_EQ(doc->GetViews().size(), 1u);
}

TEST(RecentFiles, KeepsNineNewestFirstWithoutDuplicatesAcrossAProfileRoundTrip) {
    testsupport::TempDir dir;
    const QString ini = QString::fromStdString(dir.file("r.ini"));
    CRecentFileList list(9);
    for (int i = 0; i < 12; ++i) list.Add(QStringLiteral("/img/%1.bmp").arg(i));
    list.Add(QStringLiteral("/img/5.bmp"));
    ASSERT_EQ(list.GetCount(), 9);
    EXPECT_EQ(list[0], "/img/5.bmp");
    EXPECT_EQ(list[1], "/img/11.bmp");
    EXPECT_EQ(list[8], "/img/3.bmp");
    {
        CProfile profile(ini);
        list.WriteList(profile);
    }
    CProfile profile(ini);
    CRecentFileList back(9);
    back.ReadList(profile);
    ASSERT_EQ(back.GetCount(), 9);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(back[i], list[i]);
    EXPECT_EQ(profile.GetProfileString("Recent File List", "File1"), "/img/5.bmp");
}

TEST_F(Templates, ARecentFileThatNoLongerOpensIsDropped) {
    app.AddToRecentFileList(QString::fromStdString(dir.file("gone.bad")));
    app.AddToRecentFileList(QString::fromStdString(dir.file("fine.bmp")));
    EXPECT_TRUE(app.OnOpenRecentFile(57616));
    EXPECT_FALSE(app.OnOpenRecentFile(57617));
    EXPECT_EQ(app.GetRecentFileList()->GetCount(), 1);
}

TEST_F(Templates, CommandsReachTheActiveDocumentWhileTheAreaIsHidden) {
    frame.show();
    tmpl->OpenDocumentFile(QString());
    tmpl->OpenDocumentFile(QString());
    // Camera mode hides the area (under a window manager Qt then forgets its
    // current window; the tests run there check that case).
    frame.MdiArea()->hide();
    QApplication::processEvents();
    ASSERT_NE(frame.MDIGetActive(), nullptr);
    EXPECT_EQ(frame.MDIGetActive()->windowTitle(), "Vistorel2");
    QAction close;
    CCmdUI ui(ID_FILE_CLOSE, &close);
    close.setEnabled(false);
    EXPECT_TRUE(frame.OnCmdMsg(ID_FILE_CLOSE, &ui));
    EXPECT_TRUE(close.isEnabled());

    // Closing the active one leaves the other reachable, alone in its tab.
    EXPECT_TRUE(frame.ExecuteCommand(ID_FILE_CLOSE));
    ASSERT_EQ(tmpl->GetDocuments().size(), 1u);
    EXPECT_EQ(frame.MDIGetActive()->windowTitle(), "Vistorel1");
    EXPECT_TRUE(frame.ExecuteCommand(ID_FILE_CLOSE));
    EXPECT_TRUE(tmpl->GetDocuments().empty());
    EXPECT_EQ(frame.MDIGetActive(), nullptr);
    EXPECT_FALSE(frame.ExecuteCommand(ID_FILE_CLOSE));
}

TEST_F(Templates, TheCaptionFollowsTheActiveDocument) {
    frame.SetTitle(QStringLiteral("Vistorel SoftWare"));
    CDocument* doc = tmpl->OpenDocumentFile(QString());
    QApplication::processEvents();
    EXPECT_EQ(frame.windowTitle(), "Vistorel SoftWare - Vistorel1");
    doc->SetTitle(QStringLiteral("Clipboard Image 1"));
    QApplication::processEvents();
    EXPECT_EQ(frame.windowTitle(), "Vistorel SoftWare - Clipboard Image 1");
    doc->OnCloseDocument();
    QApplication::processEvents();
    EXPECT_EQ(frame.windowTitle(), "Vistorel SoftWare");
}

TEST_F(Templates, TheCommandLineOpensEveryFileNamed) {
    CCommandLineInfo info;
    info.ParseCommandLine({});
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileNew);
    info.ParseCommandLine({"-p", "a.bmp"});
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FilePrint);
    EXPECT_EQ(info.m_fileNames, QStringList({"a.bmp"}));

    const QString a = QString::fromStdString(dir.file("a.bmp"));
    const QString bad = QString::fromStdString(dir.file("b.bad"));
    const QString c = QString::fromStdString(dir.file("c.bmp"));
    info.ParseCommandLine({a, "--unknown", bad, c});
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(info.m_fileNames, QStringList({a, bad, c}));
    // One file that fails does not stop the others.
    EXPECT_TRUE(app.ProcessShellCommand(info));
    ASSERT_EQ(tmpl->GetDocuments().size(), 2u);
    EXPECT_EQ(tmpl->GetDocuments().front()->GetPathName(), a);
    EXPECT_EQ(frame.MDIGetActive()->windowTitle(), "c.bmp");

    info.ParseCommandLine({bad});
    EXPECT_FALSE(app.ProcessShellCommand(info));
    // Without a printer of its own the base application prints nothing.
    info.ParseCommandLine({"/p", a});
    EXPECT_FALSE(app.ProcessShellCommand(info));
    EXPECT_EQ(app.ExitInstance(), 1);
}
