#include <algorithm>

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "CameraControl.h"
#include "CameraTestSupport.h"
#include "FakeCameraCalls.h"
#include "PageCapture.h"
#include "PreviewMeasure.h"
#include "PreviewWindow.h"
#include "Resource.h"
#include "UserMessages.h"

using camtest::TestFrame;

namespace {

class Control : public testing::Test {
protected:
    // A camera of `type` detected ("Kamera suchen") with `resolution` selected.
    void Detect(int type, int resolution = -2) {
        frame.fake->typeOnSelect = type;
        ASSERT_EQ(SendMessage(&frame, UM_DETECT_CAMERAS), MSG_DONE);
        if (resolution != -2) page()->m_resolutionList->setCurrentIndex(resolution);
        frame.calls.clear();
    }
    LRESULT Start() { return SendMessage(&frame, UM_PREVIEW_START); }
    CCameraControl& control() { return *frame.control; }
    CPageCapture* page() { return control().Page(); }
    bool Called(const std::string& call) const {
        return std::find(frame.calls.begin(), frame.calls.end(), call) != frame.calls.end();
    }

    TestFrame frame;
};

TEST_F(Control, StartAndStopCallTheLibraryInOrderWithTheirPauses) {
    control().Preview()->resize(800, 600);
    control().Preview()->SetArea(811, 730);
    Detect(2);
    EXPECT_EQ(page()->m_resolutionList->count(), 3);
    EXPECT_EQ(page()->m_resolutionList->currentIndex(), 0);
    EXPECT_EQ(page()->GetDlgItemText(IDC_CAMERA_NAME), QStringLiteral("Testkamera"));
    ASSERT_EQ(Start(), MSG_DONE);
    const std::vector<std::string> start = {
        "Init 0", "sleep 400", "Play", "GetImageSize", "SetVideoMessage 1273", "DisplayEnable 1"};
    EXPECT_EQ(frame.calls, start);
    EXPECT_EQ(control().m_cameraState, 0);
    EXPECT_EQ(Start(), MSG_REFUSED); // already running
    EXPECT_FALSE(control().Preview()->Measure()->isHidden()); // scale bar on the live picture
    EXPECT_EQ(page()->m_previewButton->text(), QStringLiteral("Vorschau Stoppen"));
    EXPECT_TRUE(page()->m_exposureButton->isHidden());
    EXPECT_EQ(page()->m_configButton->text(), QStringLiteral("Eigenschaften..."));
    // The 1280 x 960 picture fills the preview's area, scaled down.
    EXPECT_EQ(control().Preview()->Display()->geometry(), QRect(0, 0, 800, 600));

    frame.calls.clear();
    ASSERT_EQ(SendMessage(&frame, UM_PREVIEW_STOP), MSG_DONE);
    EXPECT_EQ(frame.calls, (std::vector<std::string>{"Stop", "sleep 400", "UnInit"}));
    EXPECT_EQ(control().m_cameraState, 2);
    EXPECT_TRUE(control().Preview()->Measure()->isHidden()); // none on the black picture
    EXPECT_EQ(SendMessage(&frame, UM_PREVIEW_STOP), MSG_REFUSED);
    EXPECT_EQ(SendMessage(&frame, UM_CAMERA_RELEASE), MSG_REFUSED);
    QCoreApplication::processEvents(); // the page learns the state by a posted message
    EXPECT_EQ(page()->m_previewButton->text(), QStringLiteral("Vorschau Starten"));
}

TEST_F(Control, TypeZeroNeedsAChosenResolutionAndKeepsTheLibrary) {
    Detect(0, 0);
    EXPECT_EQ(Start(), MSG_REFUSED);
    EXPECT_FALSE(Called("Init 0"));
    EXPECT_FALSE(Called("Play"));

    page()->m_resolutionList->setCurrentIndex(2);
    ASSERT_EQ(Start(), MSG_DONE);
    EXPECT_TRUE(Called("Init 2"));
    EXPECT_EQ(control().m_libraryKept, 1);
    EXPECT_FALSE(page()->m_exposureButton->isHidden());
    EXPECT_EQ(page()->m_exposureButton->text(), QStringLiteral("Eigenschaften"));
    EXPECT_EQ(page()->m_configButton->text(), QStringLiteral("Filter Eigenschaften"));

    frame.calls.clear();
    ASSERT_EQ(SendMessage(&frame, UM_PREVIEW_STOP), MSG_DONE);
    EXPECT_FALSE(Called("UnInit"));
    page()->m_resolutionList->setCurrentIndex(1);
    ASSERT_EQ(Start(), MSG_DONE);
    EXPECT_EQ(frame.calls, (std::vector<std::string>{"Stop", "sleep 400", "sleep 400", "Play", "GetImageSize",
                                                      "SetVideoMessage 1273", "DisplayEnable 1"}));
    ASSERT_EQ(SendMessage(&frame, UM_PREVIEW_STOP), MSG_DONE);

    // Another type found: the kept library is released once.
    frame.calls.clear();
    Detect(2);
    EXPECT_EQ(control().m_libraryKept, 0);
}

TEST_F(Control, KeptLibraryIsReleasedWhenAnotherTypeIsDetected) {
    Detect(0, 1);
    ASSERT_EQ(Start(), MSG_DONE);
    ASSERT_EQ(SendMessage(&frame, UM_PREVIEW_STOP), MSG_DONE);
    frame.fake->typeOnSelect = 2;
    frame.calls.clear();
    ASSERT_EQ(SendMessage(&frame, UM_DETECT_CAMERAS), MSG_DONE);
    EXPECT_EQ(frame.calls, (std::vector<std::string>{"Reflash", "UnInit", "Registerpixel"}));
    EXPECT_EQ(control().m_libraryKept, 0);
}

TEST_F(Control, DetectionIsRefusedWhileRunningOrOnWindows2000) {
    Detect(2);
    ASSERT_EQ(Start(), MSG_DONE);
    frame.calls.clear();
    EXPECT_EQ(SendMessage(&frame, UM_DETECT_CAMERAS), MSG_REFUSED);
    EXPECT_EQ(SendMessage(&frame, UM_CAMERA_SELECT, 3), MSG_REFUSED);
    EXPECT_TRUE(frame.calls.empty());
    ASSERT_EQ(SendMessage(&frame, UM_PREVIEW_STOP), MSG_DONE);
    frame.notWin2000 = 0;
    EXPECT_EQ(SendMessage(&frame, UM_DETECT_CAMERAS), MSG_REFUSED);
    EXPECT_FALSE(Called("Reflash"));
}

TEST_F(Control, InitFailureIsReportedAndRefused) {
    Detect(2);
    frame.fake->initResult = 0;
    EXPECT_EQ(Start(), MSG_REFUSED);
    ASSERT_EQ(frame.errors.size(), 1u);
    EXPECT_EQ(frame.errors[0], QStringLiteral("Init Camera failed"));
    EXPECT_FALSE(Called("Play"));
    EXPECT_EQ(control().m_cameraState, 2);
}

TEST_F(Control, TypeOneStartsAtTheThirdResolution) {
    Detect(1);
    EXPECT_EQ(page()->m_resolutionList->currentIndex(), 2);
}

TEST_F(Control, ArrivalSelectsAndStartsAndRemovalStops) {
    frame.fake->typeOnSelect = 11;
    ASSERT_EQ(SendMessage(&frame, UM_CAMERA_SELECT, 10), MSG_DONE);
    EXPECT_EQ(frame.calls.front(), "SetCamera 10");
    EXPECT_EQ(control().m_cameraType, 11);
    EXPECT_EQ(control().m_cameraState, 0);
    EXPECT_EQ(frame.Count(UM_PREVIEW_START), 1);
    EXPECT_EQ(SendMessage(&frame, UM_CAMERA_SELECT, 10), MSG_REFUSED);

    frame.calls.clear();
    ASSERT_EQ(SendMessage(&frame, UM_CAMERA_REMOVED), MSG_DONE);
    EXPECT_EQ(frame.Count(UM_PREVIEW_STOP), 1);
    EXPECT_TRUE(Called("SetCamera -1"));
    EXPECT_EQ(control().m_cameraType, -1);
    EXPECT_EQ(control().m_cameraState, 2);
    EXPECT_EQ(page()->GetDlgItemText(IDC_CAMERA_NAME), QStringLiteral("Testkamera"));

    frame.calls.clear();
    EXPECT_EQ(SendMessage(&frame, UM_CAMERA_REMOVED), MSG_REFUSED); // stopped: nothing changes
    EXPECT_TRUE(frame.calls.empty());
    EXPECT_EQ(SendMessage(&frame, UM_PREVIEW_START), MSG_REFUSED); // no camera
}

TEST_F(Control, CommandsNeedARunningCamera) {
    Detect(14);
    for (UINT m : {UM_PREVIEW_REFRESH, UM_AUTO_WHITE_BALANCE, UM_AREA_WHITE_BALANCE, UM_CAMERA_SETTINGS,
                   UM_EXPOSURE_SETTINGS})
        EXPECT_EQ(SendMessage(&frame, m), MSG_REFUSED) << m;
    EXPECT_TRUE(frame.calls.empty());
    ASSERT_EQ(Start(), MSG_DONE);
    frame.calls.clear();
    EXPECT_EQ(SendMessage(&frame, UM_PREVIEW_REFRESH), MSG_DONE);
    EXPECT_EQ(SendMessage(&frame, UM_AUTO_WHITE_BALANCE), MSG_DONE);
    EXPECT_EQ(SendMessage(&frame, UM_EXPOSURE_SETTINGS), MSG_DONE);
    EXPECT_EQ(frame.calls,
              (std::vector<std::string>{"SetExposureTime 1", "CancelLongExposure 1", "AWB 1", "Setup2"}));
    EXPECT_EQ(SendMessage(&frame, UM_AREA_WHITE_BALANCE), MSG_DONE);
    EXPECT_EQ(control().Preview()->m_pickWhite, 1);
    EXPECT_EQ(SendMessage(&frame, UM_AREA_WHITE_BALANCE), MSG_DONE);
    EXPECT_EQ(control().Preview()->m_pickWhite, 0);
}

TEST_F(Control, TypeFourteenSettingsWaitOutShortExposuresOnly) {
    Detect(14);
    ASSERT_EQ(Start(), MSG_DONE);
    frame.sleeps.clear();
    frame.fake->exposure = 3500; // 3.5 s, truncated to 3
    ASSERT_EQ(SendMessage(&frame, UM_CAMERA_SETTINGS), MSG_DONE);
    EXPECT_EQ(frame.sleeps, std::vector<int>{3000});
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Vistorel SoftWare"));
    frame.sleeps.clear();
    frame.fake->exposure = 12000; // 12 s: no wait
    ASSERT_EQ(SendMessage(&frame, UM_CAMERA_SETTINGS), MSG_DONE);
    EXPECT_TRUE(frame.sleeps.empty());
    // The product is taken in 32 bits: 5000000 x 1000 wraps to 705032704 µs.
    frame.fake->exposure = 5000000;
    ASSERT_EQ(SendMessage(&frame, UM_CAMERA_SETTINGS), MSG_DONE);
    EXPECT_TRUE(frame.sleeps.empty()); // 705 s
}

TEST(PreviewFit, SmallImagesAreCentredAndLargeOnesScaled) {
    EXPECT_EQ(CPreviewWindow::FitRect(320, 240, 1000, 600), QRect(340, 180, 320, 240));
    EXPECT_EQ(CPreviewWindow::FitRect(1280, 960, 640, 480), QRect(0, 0, 640, 480));
    EXPECT_EQ(CPreviewWindow::FitRect(2048, 1536, 1000, 600), QRect(100, 0, 800, 600));
    EXPECT_EQ(CPreviewWindow::FitRect(640, 480, 640, 600), QRect(0, 60, 640, 480)); // as wide: scaled by 1
    EXPECT_TRUE(CPreviewWindow::FitRect(640, 480, 0, 0).isEmpty());
}

TEST(PreviewFit, AreaIsWindowSizeLessMarginsAndNeverLargerThanTheWindow) {
    camtest::FakeCameraCalls calls;
    CPreviewWindow preview(nullptr, &calls);
    preview.resize(2000, 2000);
    preview.show();
    preview.SetArea(1011, 730);
    EXPECT_EQ(preview.Area(), QSize(1000, 600));
    preview.Fit(320, 240);
    EXPECT_EQ(preview.Display()->geometry(), QRect(340, 180, 320, 240));
    preview.resize(500, 400); // the pane got less room than asked for
    EXPECT_EQ(preview.Display()->geometry(), QRect(0, 0, 320, 240).translated(90, 80));
}

TEST(AreaWhiteBalance, GainsFollowTheLumaRatioAndZeroChannelsAreIgnored) {
    const int gains[3] = {100, 128, 200};
    int out[3] = {};
    EXPECT_FALSE(CPreviewWindow::AreaGains(255, 0, 0, gains, out));
    ASSERT_TRUE(CPreviewWindow::AreaGains(200, 100, 50, gains, out));
    const double y = (30 * 200 + 59 * 100 + 11 * 50) * 0.01; // 124.5
    EXPECT_EQ(out[0], static_cast<int>(100 * y / 200 + 0.5));
    EXPECT_EQ(out[1], static_cast<int>(128 * y / 100 + 0.5));
    EXPECT_EQ(out[2], 255); // 498 clamped
}

TEST_F(Control, PickOnTheDisplayBalancesItsColourOnceAndRedChangesNothing) {
    Detect(2);
    ASSERT_EQ(Start(), MSG_DONE);
    CPreviewWindow* preview = control().Preview();
    preview->resize(700, 600);
    preview->SetArea(711, 730);
    preview->show();
    QWidget* display = preview->Display();
    auto paint = [display](QColor c) {
        QPalette pal = display->palette();
        pal.setColor(QPalette::Window, c);
        display->setPalette(pal);
    };
    ASSERT_EQ(SendMessage(&frame, UM_AREA_WHITE_BALANCE), MSG_DONE);
    const QPoint inside = display->geometry().center();
    QTest::mouseMove(preview, inside);
    paint(QColor(255, 0, 0));
    QTest::mouseClick(preview, Qt::LeftButton, {}, inside);
    EXPECT_EQ(frame.fake->Count("SetGain"), 0);
    EXPECT_EQ(preview->m_pickWhite, 1); // still armed

    paint(QColor(200, 160, 100));
    QTest::mouseClick(preview, Qt::LeftButton, {}, inside);
    EXPECT_EQ(frame.fake->Count("SetGain"), 1);
    int expected[3];
    const int unity[3] = {128, 128, 128};
    CPreviewWindow::AreaGains(200, 160, 100, unity, expected);
    EXPECT_EQ(frame.fake->gains[0], expected[0]);
    EXPECT_EQ(frame.fake->gains[2], expected[2]);
    EXPECT_EQ(preview->m_pickWhite, 0);
    QTest::mouseClick(preview, Qt::LeftButton, {}, inside);
    EXPECT_EQ(frame.fake->Count("SetGain"), 1); // disarmed after one pick
}

TEST_F(Control, FramesFromTheLibraryReachTheMainWindowThroughThePreview) {
    EXPECT_EQ(SendMessage(control().Preview(), UM_CAMERA_FRAME, 7, 0), 0);
    EXPECT_EQ(frame.Count(UM_CAMERA_FRAME), 1);
}

} // namespace
