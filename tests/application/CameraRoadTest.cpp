// The camera road inside the main frame: the camera page in the first tab,
// the preview in its pane, the capture folder from KxConfig.xml and the
// simulated camera's frames reaching the frame.
#include <fstream>

#include <QApplication>
#include <QComboBox>
#include <QDockWidget>

#include <gtest/gtest.h>

#include "CameraControl.h"
#include "ConfigFile.h"
#include "ControlHost.h"
#include "KXViewApp.h"
#include "MainFrame.h"
#include "PageCapture.h"
#include "PreviewWindow.h"
#include "Resource.h"
#include "SimCamera.h"
#include "TestSupport.h"
#include "UserMessages.h"

namespace {

class CountingFrame : public CMainFrame {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        frames += message == UM_CAMERA_FRAME;
        return CMainFrame::WindowProc(message, wParam, lParam);
    }
    int frames = 0;
};

// The simulated camera delivers its frames when the test steps it.
class CameraRoad : public testing::Test {
protected:
    void SetUp() override {
        qputenv("VISTOREL_SIM_CAMERA_TYPE", "2");
        kxcam::SimCamera::SetStepped(true);
    }
    void TearDown() override {
        app.reset();
        kxcam::SimCamera::SetStepped(false);
        qunsetenv("VISTOREL_SIM_CAMERA_TYPE");
    }
    // Delivers `frames` frames of the running camera, each handled before the next;
    // returns how many were delivered.
    static int Step(int frames) {
        int delivered = 0;
        for (int i = 0; i < frames; ++i) {
            delivered += kxcam::SimCamera::Step(kxcam::Clock::now());
            QApplication::processEvents();
        }
        return delivered;
    }
    CountingFrame* Start() {
        app = std::make_unique<CKXViewApp>(QString::fromStdString(dir.file("Vistorel.ini")));
        auto* frame = new CountingFrame;
        app->SetMainWnd(frame);
        EXPECT_TRUE(frame->LoadFrame());
        frame->show();
        frame->ExecuteCommand(ID_MODE_CAMERA);
        QApplication::processEvents();
        return frame;
    }
    testsupport::TempDir dir;
    std::unique_ptr<CKXViewApp> app;
};

TEST_F(CameraRoad, CaptureFolderComesFromAndReturnsToTheConfigurationFile) {
    const QString stored = QString::fromStdString(dir.file("Bilder/"));
    ASSERT_TRUE(CConfigFile().Write(QStringLiteral("CapturePath"), stored));
    CountingFrame* frame = Start();
    EXPECT_EQ(frame->CapturePath(), stored);
    frame->close();
    EXPECT_EQ(CConfigFile().Read(QStringLiteral("CapturePath")), stored);

    // A damaged file gives the default folder, and the close writes a good file again.
    std::ofstream(CConfigFile::StandardPath().toStdString()) << "<Vistorel><ConfigItem val=";
    app.reset();
    frame = Start();
    EXPECT_TRUE(frame->CapturePath().endsWith(QStringLiteral("/Vistorel/")));
    frame->close();
    EXPECT_EQ(CConfigFile().Read(QStringLiteral("CapturePath")), frame->CapturePath());
}

TEST_F(CameraRoad, SimulatedCameraRunsInThePreviewPaneUntilTheFrameCloses) {
    CountingFrame* frame = Start();
    CCameraControl* camera = frame->CameraControl();
    EXPECT_EQ(frame->ControlHost()->Page(0), camera->Page());
    EXPECT_EQ(frame->Pane(IDD_PREVIEW)->widget(), camera->Preview());

    ASSERT_TRUE(camera->StartFirstCamera());
    EXPECT_EQ(camera->m_cameraType, 2);
    EXPECT_EQ(camera->m_cameraState, 0);
    EXPECT_EQ(camera->Page()->GetDlgItemText(IDC_PREVIEW_BUTTON), QStringLiteral("Vorschau Stoppen"));
    const int before = frame->frames;
    ASSERT_EQ(Step(3), 3);
    EXPECT_EQ(frame->frames - before, 3);
    // The picture sits inside the visible preview.
    const QRect shown = camera->Preview()->Display()->geometry();
    EXPECT_TRUE(camera->Preview()->rect().contains(shown))
        << shown.x() << "," << shown.y() << " " << shown.width();
    EXPECT_NEAR(shown.width() / double(shown.height()), 4.0 / 3.0, 0.01); // truncated, not stretched

    frame->close();
    EXPECT_EQ(camera->m_cameraState, 2);
    const int atClose = frame->frames;
    EXPECT_EQ(Step(1), 0); // no camera runs
    EXPECT_EQ(frame->frames, atClose);
}

TEST_F(CameraRoad, KeptTypeZeroCameraShowsItsPictureAgainAfterUnplugAndDetection) {
    qputenv("VISTOREL_SIM_CAMERA_TYPE", "0");
    CountingFrame* frame = Start();
    CCameraControl* camera = frame->CameraControl();
    ASSERT_TRUE(camera->StartFirstCamera()); // picks the first real size of a type-0 camera
    EXPECT_EQ(camera->m_libraryKept, 1);
    ASSERT_EQ(SendMessage(frame, UM_CAMERA_REMOVED), MSG_DONE);
    EXPECT_EQ(camera->m_cameraType, -1);
    EXPECT_EQ(camera->m_cameraState, 2);

    ASSERT_EQ(SendMessage(frame, UM_DETECT_CAMERAS), MSG_DONE);
    EXPECT_EQ(camera->m_cameraType, 0);
    camera->Page()->m_resolutionList->setCurrentIndex(2);
    ASSERT_EQ(SendMessage(frame, UM_PREVIEW_START), MSG_DONE); // no new init: the library was kept
    const int before = frame->frames;
    ASSERT_EQ(Step(3), 3);
    EXPECT_EQ(frame->frames - before, 3);
    frame->close();
}

} // namespace
