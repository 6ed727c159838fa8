// "Abbrechen" beside the progress stops the running operation: the picture
// is byte for byte what it was, no undo step is left and the document counts
// as unchanged again.
#include <QEventLoop>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include "ImageSteps.h"
#include "ImageTestSupport.h"
#include "ProcessingTestSupport.h"

using apptest::StartedApp;

TEST(CancelOperation, TheButtonStopsALanczosRotationAndLeavesThePictureAsItWas) {
    testsupport::TempDir dir;
    StartedApp s{dir};
    ASSERT_TRUE(s.started);
    s.app->CloseAllDocuments();
    const vimg::Image original = testsupport::RandomImage(3000, 2400, 24, 7);
    CKXViewDoc* doc = proctest::NewDoc(s, original);
    ASSERT_TRUE(doc);
    QCoreApplication::processEvents(); // the frame follows the new active document
    doc->SetModifiedFlag(false);
    const int undoBefore = doc->UndoLevel();
    QToolButton* cancel = s.frame()->CancelButton();
    ASSERT_TRUE(cancel);
    EXPECT_TRUE(cancel->isHidden());

    CImageSteps steps;
    steps.Add("Rotate2", {CImageSteps::Num(17.3), CImageSteps::Int(vimg::Image::IM_LANCZOS),
                          CImageSteps::Int(vimg::Image::OM_BACKGROUND)});
    ASSERT_TRUE(doc->StartSteps(steps));
    ASSERT_TRUE(doc->IsBusy());
    EXPECT_FALSE(cancel->isHidden());
    // Once the job reports progress the worker is inside the rotation.
    QEventLoop loop;
    bool progressed = false;
    QObject::connect(doc, &CKXViewDoc::StatusChanged, &loop, [&](int pane, const QString& text) {
        if (pane == 2 && text.endsWith(QStringLiteral("%"))) {
            progressed = true;
            loop.quit();
        }
    });
    QObject::connect(doc, &CKXViewDoc::BusyChanged, &loop, [&](bool busy) {
        if (!busy) loop.quit();
    });
    loop.exec();
    ASSERT_TRUE(progressed && doc->IsBusy()) << "the rotation ended before it reported progress";
    cancel->click();

    EXPECT_FALSE(doc->IsBusy());
    EXPECT_TRUE(cancel->isHidden());
    EXPECT_TRUE(testsupport::SamePixels(*doc->GetImage(), original));
    EXPECT_EQ(doc->GetImage()->GetWidth(), 3000u);
    EXPECT_EQ(doc->UndoLevel(), undoBefore);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(s.frame()->PaneText(2), QStringLiteral("Abgebrochen"));
    // Nothing arrives later: the job's end was cancelled with it.
    proctest::WaitUntilIdle(s, doc);
    QCoreApplication::processEvents();
    EXPECT_TRUE(testsupport::SamePixels(*doc->GetImage(), original));
    EXPECT_EQ(doc->UndoLevel(), undoBefore);
}
