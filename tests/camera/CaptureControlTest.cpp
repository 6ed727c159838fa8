// Capture to file with a scripted camera: still names, never overwriting,
// long exposures, pending stills, series on the timer, video and the
// configuration dialog's life. Intervals, countdowns and recording checks run
// on the frame's test clock.
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "CameraTestSupport.h"
#include "CaptureTestSupport.h"
#include "CountdownBar.h"
#include "DialogCaptureConfig.h"
#include "ImageBrowser.h"
#include "KXCamera.h"
#include "Profile.h"
#include "SavePanel.h"
#include "UserMessages.h"

using camtest::CaptureFrame;
using camtest::WaitFor;
using namespace std::chrono_literals;

namespace {

const QString kTitle = QStringLiteral("Vistorel SoftWare");

class Capture : public testing::Test {
protected:
    CCaptureControl& capture() { return *frame.capture; }
    std::string Name(const std::string& file, int format) const {
        return frame.Folder() + file + " " + std::to_string(format);
    }
    // Sends 1225 and lets the series run (its intervals pass on the test clock) until it is over.
    LRESULT Series() {
        const LRESULT result = SendMessage(&frame, UM_CAPTURE);
        EXPECT_TRUE(RunUntil([this] { return !capture().SeriesRunning(); }));
        return result;
    }
    // Handles the posted events and runs the test clock's timers one by one
    // until `done` holds; false when it still does not after a thousand rounds.
    template <class F> bool RunUntil(F done) {
        for (int round = 0; round < 1000 && !done(); ++round) {
            QCoreApplication::processEvents();
            if (!done()) frame.clock.RunNextTimer();
        }
        return done();
    }
    int Calls(const std::string& call) const { return frame.fake->Count(call); }

    CaptureFrame frame;
};

TEST_F(Capture, TimeStampedStillsNeverOverwriteAndGoToTheBrowser) {
    EXPECT_EQ(SendMessage(&frame, UM_CAPTURE), MSG_REFUSED); // camera stopped
    frame.Start(2);
    frame.fake->stillPixelSize = -1;
    capture().SetCalibration([](const QString& camera, int w, int h) {
        return camera == QStringLiteral("Testkamera") && w == 1280 && h == 960 ? 2.5 : 0.0;
    });
    EXPECT_EQ(Series(), MSG_DONE);
    // Two stills in the same second: the second gets a suffix, none is dropped.
    EXPECT_EQ(Series(), MSG_DONE);
    frame.now = frame.now.addSecs(1);
    EXPECT_EQ(Series(), MSG_DONE);
    EXPECT_EQ(frame.Stills(), (std::vector<std::string>{Name("KX_03_04_05_06_07", 2),
                                                        Name("KX_03_04_05_06_07_2", 2),
                                                        Name("KX_03_04_05_06_08", 2)}));
    EXPECT_EQ(frame.fake->stillPixelSizes, (std::vector<double>{2.5, 2.5, 2.5}));
    EXPECT_EQ(capture().Browser()->Count(), 3);
    EXPECT_EQ(capture().Browser()->CounterText(), QStringLiteral("< 3 / 3 >"));
    EXPECT_EQ(capture().m_seriesIndex, 3);
}

TEST_F(Capture, BrowserListsTheFoldersStillsNewestLast) {
    // Modification times against the names' order; other files stay out.
    const std::pair<const char*, int> files[] = {{"b.JPG", 30}, {"a.bmp", 20}, {"c.BMP", 10}, {"d.txt", 40}};
    for (const auto& [name, age] : files) {
        const QString path = QString::fromStdString(frame.Folder() + name);
        QImage picture(8, 6, QImage::Format_RGB32);
        picture.fill(Qt::gray);
        ASSERT_TRUE(
            picture.save(path, QString::fromUtf8(name).endsWith(QStringLiteral("txt")) ? "BMP" : nullptr));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(
            file.setFileTime(QDateTime::currentDateTime().addSecs(-age), QFileDevice::FileModificationTime));
    }
    CImageBrowser* browser = capture().Browser();
    browser->AddExisting(QString::fromStdString(frame.Folder()));
    ASSERT_EQ(browser->Count(), 3);
    EXPECT_EQ(browser->CounterText(), QStringLiteral("< 3 / 3 >"));
    EXPECT_EQ(browser->Thumbnail().GetWidth(), 8u);
    auto* list = browser->findChild<QComboBox*>();
    ASSERT_NE(list, nullptr);
    const QDir folder(QString::fromStdString(frame.Folder()));
    EXPECT_EQ(list->itemText(0), folder.filePath(QStringLiteral("b.JPG")));
    EXPECT_EQ(list->itemText(1), folder.filePath(QStringLiteral("a.bmp")));
    EXPECT_EQ(list->itemText(2), folder.filePath(QStringLiteral("c.BMP")));
    frame.Start(2);
    Series();
    EXPECT_EQ(browser->Count(), 4); // this session's stills follow
    EXPECT_TRUE(frame.reports.empty());
}

TEST(CameraMemory, EachCamerasSettingsComeBackAfterARestartAndStayItsOwn) {
    testsupport::TempDir dir;
    // Every session reads the profile file anew.
    std::vector<std::unique_ptr<CProfile>> profiles;
    const auto session = [&](const std::string& name, uint32_t id) {
        profiles.push_back(std::make_unique<CProfile>(QString::fromStdString(dir.file("Vistorel.ini"))));
        auto frame = std::make_unique<CaptureFrame>();
        frame->fake->name = name;
        frame->fake->id = id;
        frame->fake->resolutions = 4;
        frame->capture->SetProfile(profiles.back().get());
        return frame;
    };
    {
        auto first = session("Kamera A", 0x046d0825);
        first->Start(2);
        CCaptureControl& c = *first->capture;
        c.m_captureBaseName = QStringLiteral("Probe");
        c.m_captureFormat = KXCAMERA_JPEG;
        c.m_seriesCount = 7;
        c.m_seriesInterval = 9;
        c.m_timestampNames = 0;
        first->fake->SetGain(100, 128, 160); // as a white balance leaves them
        first->camera->Page()->m_resolutionList->setCurrentIndex(3);
        ASSERT_EQ(SendMessage(first.get(), UM_PREVIEW_STOP), MSG_DONE); // stores
        // Chosen from the camera list: its row is remembered (and the camera starts again).
        ASSERT_EQ(SendMessage(first.get(), UM_CAMERA_SELECT, 5), MSG_DONE);
        ASSERT_EQ(SendMessage(first.get(), UM_PREVIEW_STOP), MSG_DONE);
    }
    // A restart: new objects over the same profile find the camera again, the chosen one preferred.
    auto again = session("Kamera A", 0x046d0825);
    again->fake->typeOnSelect = 2;
    ASSERT_EQ(SendMessage(again.get(), UM_DETECT_CAMERAS), MSG_DONE);
    EXPECT_EQ(again->calls.front(), "SetCamera 5");
    ASSERT_EQ(SendMessage(again.get(), UM_PREVIEW_START), MSG_DONE);
    const CCaptureControl& c = *again->capture;
    EXPECT_EQ(c.m_captureBaseName, QStringLiteral("Probe"));
    EXPECT_EQ(c.m_captureFormat, KXCAMERA_JPEG);
    EXPECT_EQ(c.m_seriesCount, 7);
    EXPECT_EQ(c.m_seriesInterval, 9);
    EXPECT_EQ(c.m_timestampNames, 0);
    EXPECT_EQ(again->camera->Page()->m_resolutionList->currentIndex(), 3);
    EXPECT_EQ(std::vector<int>(again->fake->gains, again->fake->gains + 3),
              (std::vector<int>{100, 128, 160}));
    // Another camera found in the same run starts from the defaults, not from this one's values.
    ASSERT_EQ(SendMessage(again.get(), UM_PREVIEW_STOP), MSG_DONE);
    again->fake->name = "Kamera C";
    ASSERT_EQ(SendMessage(again.get(), UM_DETECT_CAMERAS), MSG_DONE);
    EXPECT_EQ(again->capture->m_captureBaseName, QString());
    EXPECT_EQ(again->capture->m_seriesCount, 1);
    EXPECT_EQ(again->capture->m_captureFormat, KXCAMERA_BMP);
    EXPECT_EQ(again->fake->gains[2], 128);

    // Another camera (same model name, other ids; or same ids, other name) keeps the defaults.
    for (const auto& [name, id] :
         {std::pair{std::string("Kamera A"), 0x046d0826u}, std::pair{std::string("Kamera B"), 0x046d0825u}}) {
        auto other = session(name, id);
        other->fake->gains[0] = other->fake->gains[1] = other->fake->gains[2] = 128;
        other->Start(2);
        EXPECT_EQ(other->capture->m_captureBaseName, QString()) << name;
        EXPECT_EQ(other->capture->m_seriesCount, 1) << name;
        EXPECT_EQ(other->capture->m_timestampNames, 1) << name;
        EXPECT_EQ(other->camera->Page()->m_resolutionList->currentIndex(), 0) << name;
        EXPECT_EQ(other->fake->gains[0], 128) << name;
    }
}

TEST_F(Capture, NumberedNamesContinueAcrossSeriesAndPlainNamesAreKept) {
    frame.Start(2);
    capture().m_timestampNames = 0;
    capture().m_numberedNames = 1;
    capture().m_captureBaseName = QStringLiteral("base");
    capture().m_captureFormat = 1;
    capture().m_seriesCount = 3;
    Series();
    Series();
    std::vector<std::string> expected;
    for (int i = 0; i < 6; ++i) expected.push_back(Name("base_0" + std::to_string(i), 1));
    EXPECT_EQ(frame.Stills(), expected);
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(frame.Folder() + "base_05.JPG")));

    frame.calls.clear();
    capture().m_numberedNames = 0;
    capture().m_seriesCount = 1;
    Series();
    Series(); // the plain name exists now
    EXPECT_EQ(frame.Stills(), (std::vector<std::string>{Name("base", 1), Name("base_2", 1)}));
}

TEST_F(Capture, TypeZeroStillsAreBmpAndRawStillsStayOutOfTheBrowser) {
    frame.Start(0);
    capture().m_captureFormat = 1;
    EXPECT_EQ(capture().StillFullName(QStringLiteral("/x/a")), QStringLiteral("/x/a.BMP"));
    SendMessage(&frame, UM_PREVIEW_STOP);
    frame.Start(5);
    EXPECT_EQ(capture().StillFullName(QStringLiteral("/x/a")), QStringLiteral("/x/a.JPG"));
    capture().m_captureFormat = 4;
    EXPECT_EQ(capture().StillFullName(QStringLiteral("/x/a")), QString());
    Series();
    EXPECT_EQ(frame.Stills(), (std::vector<std::string>{Name("KX_03_04_05_06_07", 4)}));
    EXPECT_EQ(capture().Browser()->Count(), 0);
    // A raw still is not overwritten either.
    Series();
    EXPECT_EQ(frame.Stills().back(), Name("KX_03_04_05_06_07_2", 4));
}

TEST_F(Capture, MissingFolderIsCreated) {
    frame.Start(2);
    capture().m_capturePath = QString::fromStdString(frame.Folder() + "new/deeper");
    Series();
    EXPECT_TRUE(
        QFileInfo::exists(QString::fromStdString(frame.Folder() + "new/deeper/KX_03_04_05_06_07.BMP")));
    EXPECT_TRUE(frame.reports.empty());
}

TEST_F(Capture, TypeTenCountsItsExposureDownAndResumesThePreview) {
    frame.Start(10);
    frame.fake->exposure = 100; // 100 x 40 ms = 4 s
    ASSERT_EQ(SendMessage(&frame, UM_CAPTURE), MSG_DONE);
    EXPECT_EQ(frame.calls, (std::vector<std::string>{"Pause", "CancelLongExposure 0", "StartLongExpTime"}));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Capturing Time left :4 S"));
    EXPECT_FALSE(capture().CountdownBar()->isHidden());
    EXPECT_EQ(capture().CountdownBar()->Text(), QStringLiteral("Belichtung: noch 4 s"));
    // The countdown ticks every second; the interval of the series (1 s) is over at the first tick.
    frame.clock.Advance(1s);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Capturing Time left :3 S"));
    EXPECT_TRUE(capture().SeriesRunning()); // waits for the still
    frame.clock.Advance(2999ms);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Capturing Time left :1 S"));
    EXPECT_TRUE(frame.Stills().empty());
    frame.clock.Advance(1ms); // the exposure's end
    EXPECT_EQ(frame.Stills().size(), 1u);
    EXPECT_EQ(frame.calls.back(), "CancelLongExposure 1"); // live again
    EXPECT_EQ(frame.windowTitle(), kTitle);
    EXPECT_TRUE(capture().CountdownBar()->isHidden());
    EXPECT_EQ(capture().m_timerRunning, 0);
    EXPECT_FALSE(capture().SeriesRunning());
    EXPECT_EQ(capture().m_seriesIndex, 1);

    // Below a second the still is written at once, and the preview goes on.
    frame.calls.clear();
    frame.now = frame.now.addSecs(5);
    frame.fake->exposure = 20;
    Series();
    EXPECT_EQ(frame.calls.front(), "Pause");
    EXPECT_EQ(Calls("CancelLongExposure 0"), 0);
    EXPECT_EQ(frame.calls.back(), "CancelLongExposure 1");
    EXPECT_EQ(frame.Stills().size(), 1u);
}

TEST_F(Capture, CancellingTheCountdownWritesNothingAndEndsTheSeries) {
    frame.Start(10);
    frame.fake->exposure = 250; // 10 s
    capture().m_seriesCount = 3;
    SendMessage(&frame, UM_CAPTURE);
    frame.clock.Advance(3s);
    EXPECT_EQ(capture().CountdownBar()->Text(), QStringLiteral("Belichtung: noch 7 s"));
    capture().CountdownBar()->CancelButton()->click();
    EXPECT_TRUE(frame.Stills().empty());
    EXPECT_EQ(frame.calls.back(), "CancelLongExposure 1");
    EXPECT_FALSE(capture().CountdownActive());
    EXPECT_FALSE(capture().SeriesRunning());
    EXPECT_TRUE(capture().CountdownBar()->isHidden());
    EXPECT_EQ(frame.windowTitle(), kTitle);
    frame.clock.Advance(20s);
    EXPECT_TRUE(frame.Stills().empty());
}

TEST_F(Capture, TypesElevenAndTwelveTimeTheirExposuresTheirOwnWay) {
    frame.Start(11);
    frame.fake->exposure = 100;
    frame.fake->rowTime = 1000; // 1000 us * 100 * 318 = 31.8 s
    SendMessage(&frame, UM_CAPTURE);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Capturing Time left :32 S"));
    EXPECT_EQ(Calls("StartLongExpTime"), 1);
    // The last part of a second ends with the exposure, not a whole tick later.
    frame.clock.Advance(31s);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Capturing Time left :1 S"));
    frame.clock.Advance(799ms);
    EXPECT_TRUE(frame.Stills().empty());
    frame.clock.Advance(1ms);
    EXPECT_EQ(frame.Stills().size(), 1u);
    frame.clock.Advance(1s);
    frame.calls.clear();
    SendMessage(&frame, UM_CAPTURE);
    // Stopping the camera ends the countdown without a still.
    SendMessage(&frame, UM_PREVIEW_STOP);
    EXPECT_FALSE(capture().CountdownActive());
    EXPECT_FALSE(capture().SeriesRunning());
    EXPECT_EQ(frame.windowTitle(), kTitle);
    EXPECT_TRUE(frame.Stills().empty());

    frame.Start(12);
    frame.fake->exposure = 5000; // 200 s
    SendMessage(&frame, UM_CAPTURE);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Capturing Time left :200 S"));
    EXPECT_EQ(Calls("StartLongExpTime"), 0);
}

TEST_F(Capture, TypeFourteenWritesAtTheNextFrameOrTheUsersStop) {
    frame.Start(14);
    EXPECT_EQ(SendMessage(&frame, UM_CAMERA_FRAME), 0);
    EXPECT_EQ(SendMessage(&frame, UM_LONG_EXPOSURE_END), MSG_REFUSED); // nothing pending
    SendMessage(&frame, UM_CAPTURE); // 1500 rows of 1 ms: 1 s, no countdown
    EXPECT_EQ(capture().m_pendingStill, 1);
    EXPECT_FALSE(capture().CountdownActive());
    EXPECT_TRUE(frame.Stills().empty());
    SendMessage(&frame, UM_CAMERA_FRAME);
    SendMessage(&frame, UM_CAMERA_FRAME);
    EXPECT_EQ(frame.Stills().size(), 1u);
    EXPECT_TRUE(capture().SeriesRunning()); // the interval runs
    frame.clock.Advance(1s);
    EXPECT_FALSE(capture().SeriesRunning());

    frame.now = frame.now.addSecs(1);
    frame.fake->exposure = 10000; // 10 s: countdown 6, and the still stays pending at its end
    SendMessage(&frame, UM_CAPTURE);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Capturing Time left :6 S"));
    frame.clock.Advance(6s);
    EXPECT_TRUE(capture().CountdownActive());
    frame.clock.Advance(1s);
    EXPECT_FALSE(capture().CountdownActive());
    EXPECT_EQ(frame.Stills().size(), 1u);
    EXPECT_EQ(capture().m_pendingStill, 1);
    EXPECT_EQ(SendMessage(&frame, UM_LONG_EXPOSURE_END), MSG_DONE);
    EXPECT_EQ(frame.Stills().size(), 2u);
    EXPECT_EQ(frame.windowTitle(), kTitle);
}

TEST_F(Capture, SeriesRunsOnTheTimerSoMessagesFlowAndTheUserCanStopIt) {
    frame.Start(14);
    capture().m_seriesCount = 3;
    ASSERT_EQ(SendMessage(&frame, UM_CAPTURE), MSG_DONE);
    // A second press while the series runs is kept: its series follows.
    EXPECT_EQ(SendMessage(&frame, UM_CAPTURE), MSG_DONE);
    // Frame messages reach the frame while the series runs: each pending still is written.
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(RunUntil([this] { return capture().m_pendingStill == 1; }));
        frame.now = frame.now.addSecs(1);
        PostMessage(&frame, UM_CAMERA_FRAME);
        ASSERT_TRUE(RunUntil([this, i] { return frame.Stills().size() == size_t(i) + 1; }));
    }
    EXPECT_TRUE(RunUntil([this] { return !capture().SeriesRunning(); }));
    EXPECT_EQ(capture().m_seriesIndex, 6);

    // A series of ten stills stopped after its first.
    SendMessage(&frame, UM_PREVIEW_STOP);
    frame.Start(2);
    frame.now = frame.now.addSecs(1);
    capture().m_seriesCount = 10;
    SendMessage(&frame, UM_CAPTURE);
    EXPECT_EQ(frame.Stills().size(), 1u);
    EXPECT_EQ(SendMessage(&frame, UM_LONG_EXPOSURE_END), MSG_DONE);
    EXPECT_FALSE(capture().SeriesRunning());
    frame.clock.Advance(10s); // no interval is left to run out
    QCoreApplication::processEvents();
    EXPECT_EQ(frame.Stills().size(), 1u);
    EXPECT_EQ(capture().m_seriesIndex, 7);
}

TEST_F(Capture, VideoStartsAndStopsOnlyWithARunningCamera) {
    EXPECT_EQ(SendMessage(&frame, UM_VIDEO_START), MSG_REFUSED);
    frame.Start(1);
    EXPECT_EQ(SendMessage(&frame, UM_VIDEO_STOP), MSG_REFUSED);
    EXPECT_EQ(SendMessage(&frame, UM_VIDEO_START), MSG_DONE);
    EXPECT_EQ(frame.calls.back(), "StartRecord " + frame.Folder() + "KX_03_04_05_06_07 12 1");
    EXPECT_EQ(SendMessage(&frame, UM_VIDEO_START), MSG_REFUSED);
    EXPECT_EQ(SendMessage(&frame, UM_VIDEO_STOP), MSG_DONE);
    EXPECT_EQ(capture().m_recording, 0);
    // A recording that cannot start is refused and leaves nothing recording.
    frame.fake->recordResult = 0;
    EXPECT_EQ(SendMessage(&frame, UM_VIDEO_START), MSG_REFUSED);
    EXPECT_EQ(capture().m_recording, 0);
    frame.fake->recordResult = 1;

    // Stopping the camera ends the recording and resets the panel's button.
    CSavePanel* panel = capture().SavePanel();
    QCoreApplication::processEvents(); // the panel learns the camera state by a posted message
    ASSERT_TRUE(panel->m_videoButton->isEnabled());
    panel->m_videoButton->click();
    EXPECT_EQ(panel->m_videoButton->text(), QStringLiteral("Video Stoppen"));
    EXPECT_FALSE(panel->m_compressorButton->isEnabled());
    ASSERT_TRUE(WaitFor([this] { return capture().m_recording == 1; }));
    frame.calls.clear();
    SendMessage(&frame, UM_PREVIEW_STOP);
    EXPECT_EQ(capture().m_recording, 0);
    EXPECT_EQ(frame.calls.front(), "StopRecord");
    ASSERT_TRUE(WaitFor([panel] { return panel->m_videoButton->text() == QStringLiteral("Video starten"); }));
    EXPECT_EQ(panel->m_recording, 0);
    EXPECT_FALSE(panel->m_videoButton->isEnabled());
}

TEST_F(Capture, FolderAndCompressorCommands) {
    EXPECT_EQ(SendMessage(&frame, UM_OPEN_CAPTURE_FOLDER), MSG_DONE);
    EXPECT_EQ(frame.openedFolders, (std::vector<QString>{QString::fromStdString(frame.Folder())}));
    capture().m_capturePath.clear();
    EXPECT_EQ(SendMessage(&frame, UM_OPEN_CAPTURE_FOLDER), MSG_REFUSED);
    EXPECT_EQ(SendMessage(&frame, UM_VIDEO_COMPRESSOR), MSG_DONE);
    EXPECT_EQ(Calls("CodeChoose"), 1);
}

TEST_F(Capture, OneConfigurationDialogAtATimeAndEscReleasesIt) {
    frame.Start(2);
    EXPECT_EQ(SendMessage(&frame, UM_CONFIG_DIALOG_DONE), MSG_REFUSED);
    ASSERT_EQ(SendMessage(&frame, UM_CAPTURE_CONFIG), MSG_DONE);
    CDialogCaptureConfig* dialog = capture().ConfigDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Capture Config"));
    EXPECT_EQ(SendMessage(&frame, UM_CAPTURE_CONFIG), MSG_REFUSED);
    EXPECT_EQ(capture().ConfigDialog(), dialog);
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_TRUE(WaitFor([this] { return capture().ConfigDialog() == nullptr; }));
    EXPECT_EQ(SendMessage(&frame, UM_CAPTURE_CONFIG), MSG_DONE);
    EXPECT_NE(capture().ConfigDialog(), nullptr);
}

TEST_F(Capture, QuickPressesAreEachWrittenAndAnEmptyNameIsBild) {
    frame.Start(2);
    // Three presses before the first still is done, all in one second.
    for (int i = 0; i < 3; ++i) EXPECT_EQ(SendMessage(&frame, UM_CAPTURE), MSG_DONE);
    ASSERT_TRUE(RunUntil([this] { return frame.Stills().size() == 3 && !capture().SeriesRunning(); }));
    EXPECT_EQ(frame.Stills(), (std::vector<std::string>{Name("KX_03_04_05_06_07", 2),
                                                        Name("KX_03_04_05_06_07_2", 2),
                                                        Name("KX_03_04_05_06_07_3", 2)}));
    for (const char* file : {"KX_03_04_05_06_07.BMP", "KX_03_04_05_06_07_2.BMP", "KX_03_04_05_06_07_3.BMP"})
        EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(frame.Folder() + file))) << file;

    // No time stamp and no name: "Bild" inside the folder, never the folder's own name beside it.
    frame.calls.clear();
    capture().m_timestampNames = 0;
    capture().m_captureBaseName.clear();
    Series();
    Series();
    EXPECT_EQ(frame.Stills(), (std::vector<std::string>{Name("Bild", 2), Name("Bild_2", 2)}));
    EXPECT_TRUE(frame.reports.empty());
}

TEST_F(Capture, AStillThatCannotBeWrittenIsReportedAndEndsTheSeries) {
    frame.Start(2);
    CSavePanel* panel = capture().SavePanel();
    // A folder that cannot exist: its parent is a file.
    const QString blocker = QString::fromStdString(frame.Folder() + "file");
    QFile(blocker).open(QIODevice::WriteOnly);
    capture().m_capturePath = blocker + QStringLiteral("/stills");
    EXPECT_EQ(SendMessage(&frame, UM_CAPTURE), MSG_REFUSED);
    EXPECT_TRUE(frame.Stills().empty());
    ASSERT_EQ(frame.reports.size(), 1u);
    EXPECT_TRUE(frame.reports[0].contains(QStringLiteral("file/stills"))) << frame.reports[0].toStdString();
    EXPECT_FALSE(capture().CaptureFolderUsable());
    EXPECT_EQ(panel->m_stillButton->text(), QStringLiteral("Aufnahme"));

    // The disk fills during a series of five: one attempt, one message naming the file and the reason.
    capture().m_capturePath = QString::fromStdString(frame.Folder());
    capture().m_seriesCount = 5;
    frame.fake->captureError = "No space left on device";
    SendMessage(&frame, UM_CAPTURE);
    EXPECT_FALSE(capture().SeriesRunning());
    EXPECT_EQ(frame.Stills().size(), 1u);
    ASSERT_EQ(frame.reports.size(), 2u);
    EXPECT_TRUE(frame.reports[1].contains(QStringLiteral("KX_03_04_05_06_07.BMP")));
    EXPECT_TRUE(frame.reports[1].contains(QStringLiteral("No space left on device")));
    ASSERT_FALSE(frame.statusTexts.empty());
    EXPECT_TRUE(frame.statusTexts.back().contains(QStringLiteral("No space left on device")));
    EXPECT_EQ(panel->m_stillButton->text(), QStringLiteral("Aufnahme"));
    EXPECT_EQ(capture().Browser()->Count(), 0);
}

TEST_F(Capture, VideoWatchesTheFreeSpaceAndStopsCleanlyWhenItRunsOut) {
    frame.Start(1);
    CSavePanel* panel = capture().SavePanel();
    qint64 free = 150LL * 1000 * 1000;
    capture().SetFreeSpaceProbe([&free](const QString&) { return free; });
    // Too little space: refused before anything is written, the panel idle again.
    panel->m_videoButton->click();
    ASSERT_TRUE(WaitFor([&] { return !frame.reports.empty(); }));
    EXPECT_EQ(Calls("StartRecord " + frame.Folder() + "KX_03_04_05_06_07 12 1"), 0);
    EXPECT_TRUE(frame.reports.back().contains(QStringLiteral("150 MB")));
    EXPECT_EQ(panel->m_videoButton->text(), QStringLiteral("Video starten"));
    EXPECT_EQ(panel->m_recording, 0);

    // Little space: recorded with a warning; then the disk fills up and the recording stops.
    free = 900LL * 1000 * 1000;
    panel->m_videoButton->click();
    ASSERT_TRUE(WaitFor([this] { return capture().m_recording == 1; }));
    ASSERT_FALSE(frame.statusTexts.empty());
    EXPECT_TRUE(frame.statusTexts.back().startsWith(QStringLiteral("Videoaufnahme 0:00, 0.0 MB")))
        << frame.statusTexts.back().toStdString();
    EXPECT_TRUE(frame.statusTexts.back().contains(QStringLiteral("900 MB")));
    // Checked every second: the status shows how long the video runs.
    const size_t checks = frame.statusTexts.size();
    frame.clock.Advance(65s);
    EXPECT_EQ(frame.statusTexts.size(), checks + 65);
    EXPECT_TRUE(frame.statusTexts.back().startsWith(QStringLiteral("Videoaufnahme 1:05, ")))
        << frame.statusTexts.back().toStdString();
    free = 100LL * 1000 * 1000;
    frame.clock.Advance(999ms);
    EXPECT_EQ(capture().m_recording, 1);
    frame.clock.Advance(1ms);
    EXPECT_EQ(capture().m_recording, 0);
    EXPECT_EQ(Calls("StopRecord"), 1);
    EXPECT_EQ(frame.reports.size(), 2u);
    EXPECT_EQ(panel->m_videoButton->text(), QStringLiteral("Video starten"));

    // A write failure in the library ends the recording the same way, with its reason.
    free = 50LL * 1000 * 1000 * 1000;
    frame.now = frame.now.addSecs(1);
    ASSERT_EQ(SendMessage(&frame, UM_VIDEO_START), MSG_DONE);
    frame.fake->recordFailed = 1;
    frame.fake->lastError = "Input/output error";
    frame.clock.Advance(1s);
    EXPECT_EQ(capture().m_recording, 0);
    ASSERT_EQ(frame.reports.size(), 3u);
    EXPECT_TRUE(frame.reports.back().contains(QStringLiteral("Input/output error")));

    // A recording the library cannot start is reported with its reason.
    frame.fake->recordFailed = 0;
    frame.fake->recordResult = 0;
    frame.fake->lastError = "Permission denied";
    EXPECT_EQ(SendMessage(&frame, UM_VIDEO_START), MSG_REFUSED);
    EXPECT_TRUE(frame.reports.back().contains(QStringLiteral("Permission denied")));
}

} // namespace
