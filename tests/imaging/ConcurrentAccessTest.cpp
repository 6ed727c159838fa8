// While a worker changes the image, nothing else may touch it: every
// processing command is disabled and, sent anyway, ignored; the views paint,
// copy and report from the picture taken before the operation. Run under
// ThreadSanitizer (scripts/tsan) this shows that no other thread reads or
// writes the pixels the worker is changing.
#include <QAbstractScrollArea>
#include <QClipboard>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include "CmdUI.h"
#include "CommandIds.h"
#include "ImageTestSupport.h"
#include "ProcessingTestSupport.h"

using apptest::StartedApp;

namespace {

TEST(ConcurrentAccess, CommandsPaintAndCopyLeaveTheImageAloneWhileAMedianRuns) {
    testsupport::TempDir dir;
    StartedApp s{dir};
    ASSERT_TRUE(s.started);
    s.app->CloseAllDocuments();
    vimg::Image original = testsupport::RandomImage(1200, 900, 24, 31, testsupport::kWithAlpha);
    original.SetTransIndex(0);
    CKXViewDoc* doc = proctest::NewDoc(s, original);
    ASSERT_TRUE(doc);
    const vimg::Image* image = doc->GetImage();
    s.frame()->ExecuteCommand(ID_FILTER_MEDIAN);
    ASSERT_TRUE(doc->IsBusy());

    const std::vector<int> commands = proctest::ProcessingMenuCommands();
    ASSERT_GT(commands.size(), 70u);
    doctest::MessageBoxAnswerer answer(QMessageBox::Ok); // nothing should ask; a box would not hang the test
    int rounds = 0;
    while (doc->IsBusy() && rounds < 3) {
        for (int id : commands) {
            CCmdUI ui(id);
            s.frame()->OnCmdMsg(id, &ui);
            EXPECT_FALSE(ui.m_bEnabled) << id;
            s.frame()->ExecuteCommand(id);
        }
        for (int id : {ID_EDIT_UNDO, ID_EDIT_COPY, ID_DUPLICATE})
            s.frame()->ExecuteCommand(id);
        doc->UpdateStatusBar();
        EXPECT_EQ(doc->GetImage(), image); // the job changes a copy of its own
        auto* scroll = doc->FirstView()->findChild<QAbstractScrollArea*>();
        ASSERT_TRUE(scroll);
        scroll->viewport()->repaint(QRect(0, 0, 64, 64));
        QCoreApplication::processEvents();
        ++rounds;
    }
    EXPECT_GE(rounds, 1);
    proctest::WaitUntilIdle(s, doc);
    ASSERT_FALSE(doc->IsBusy());
    EXPECT_TRUE(answer.texts.isEmpty()) << answer.texts.join(" | ").toStdString();
    EXPECT_EQ(proctest::Documents(s).size(), 1u);
    EXPECT_FALSE(doc->m_waitingClick);
    EXPECT_EQ(doc->UndoLevel(), 1);
    vimg::Image reference(original);
    ASSERT_TRUE(reference.Median(3));
    EXPECT_TRUE(testsupport::SamePixels(*doc->GetImage(), reference));
}

} // namespace
