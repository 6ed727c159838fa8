// A recording survives the program being killed: a second process records ten
// seconds of frames (stamped as if delivered 40 ms apart) and kills itself with
// SIGKILL before stopping; ffprobe and ffmpeg must still read the file.
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include <QImage>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "VideoRecorder.h"

using kxcam::VideoRecorder;
using testsupport::Quote;

namespace {

constexpr int kFrames = 250; // ten seconds at 25 frames a second

// Run only in the child process the test below starts.
TEST(VideoRecorderCrash, DISABLED_RecordTenSecondsAndDie) {
    const char* path = std::getenv("VISTOREL_KILL_RECORDING");
    const char* codec = std::getenv("VISTOREL_KILL_CODEC");
    ASSERT_TRUE(path && codec);
    VideoRecorder recorder;
    ASSERT_TRUE(recorder.Start(QString::fromUtf8(path),
                               std::string(codec) == "h264" ? VideoRecorder::Codec::H264Mp4
                                                            : VideoRecorder::Codec::MotionJpegMov,
                               QSize(320, 240), 12, true, nullptr));
    const kxcam::Clock::time_point start = kxcam::Clock::now();
    QImage frame(320, 240, QImage::Format_RGB32);
    for (int i = 0; i < kFrames; ++i) {
        frame.fill(qRgb(i % 256, (i * 7) % 256, 128));
        // The queue holds a few frames; keep it from dropping any.
        while (recorder.FramesWritten() < i - 8) std::this_thread::yield();
        recorder.Push(frame, start + std::chrono::milliseconds(40 * i));
    }
    while (recorder.FramesWritten() < kFrames) std::this_thread::yield();
    std::raise(SIGKILL);
}

TEST(VideoRecorderCrash, ARecordingKilledAfterTenSecondsKeepsAtLeastNine) {
    if (testsupport::Run("ffprobe -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "ffprobe is not installed";
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    testsupport::TempDir dir;
    for (const std::string codec : {"mjpeg", "h264"}) {
        const std::string file = dir.file(codec == "h264" ? "killed.mp4" : "killed.mov");
        // The child dies by its signal, so its status is not looked at; the file is.
        testsupport::Run("VISTOREL_KILL_RECORDING=" + Quote(file) + " VISTOREL_KILL_CODEC=" + codec + " " +
                         Quote(self) +
                         " --gtest_also_run_disabled_tests "
                         "--gtest_filter=VideoRecorderCrash.DISABLED_RecordTenSecondsAndDie >/dev/null 2>&1");
        ASSERT_TRUE(std::filesystem::exists(file)) << codec;
        std::string out;
        ASSERT_EQ(testsupport::Run("ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                                   "stream=nb_read_frames:format=duration -of default=nw=1 " +
                                       Quote(file),
                                   &out),
                  0)
            << out;
        const auto duration = out.find("duration=");
        const auto frames = out.find("nb_read_frames=");
        ASSERT_NE(duration, std::string::npos) << out;
        ASSERT_NE(frames, std::string::npos) << out;
        EXPECT_GE(std::stod(out.substr(duration + 9)), 9.0) << codec << ": " << out;
        EXPECT_GE(std::stoi(out.substr(frames + 15)), 225) << codec << ": " << out;
        // Every frame that is there decodes.
        std::string errors;
        EXPECT_EQ(testsupport::Run("ffmpeg -v error -i " + Quote(file) + " -f null - 2>&1", &errors), 0);
        EXPECT_EQ(errors, "") << codec;
    }
}

} // namespace
