// Writes the frames of a running camera into a video file through FFmpeg's
// libraries: Motion JPEG in AVI (the default) or H.264 in MP4. Frames are
// queued by the device thread and encoded on a thread of the recorder; the
// file is written beside its final name and renamed when recording stops.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include <QImage>
#include <QString>

#include "CameraDevice.h"

namespace kxcam {

class VideoRecorder {
public:
    enum class Codec { MotionJpegAvi, H264Mp4 };

    VideoRecorder();
    ~VideoRecorder();
    VideoRecorder(const VideoRecorder&) = delete;
    VideoRecorder& operator=(const VideoRecorder&) = delete;

    static QString Extension(Codec codec);
    // Starts writing `path` (with its extension); false with a reason in *error.
    // keyInterval: frames between H.264 key frames; realTime: time stamps from
    // the delivery times instead of one frame period per frame.
    bool Start(const QString& path, Codec codec, QSize size, int keyInterval, bool realTime, QString* error);
    // Queues a frame (RGB32 of the recording's size); any thread.
    void Push(const QImage& frame, Clock::time_point when);
    // Encodes what is queued, finishes the file and renames it. False when the
    // file could not be completed (it is removed then).
    bool Stop();
    bool IsRecording() const { return m_recording; }
    int FramesWritten() const { return m_written; }
    int FramesDropped() const { return m_dropped; }

    // Nominal frame rate of the AVI time base.
    static constexpr int kFrameRate = 25;

private:
    struct Queued {
        QImage frame;
        Clock::time_point when;
    };
    struct Encoder;
    void Run();

    std::unique_ptr<Encoder> m_encoder;
    QString m_path;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Queued> m_queue;
    std::atomic<bool> m_recording{false}; // read by the device thread
    bool m_finishing = false;
    bool m_failed = false;
    int m_written = 0;
    int m_dropped = 0;
};

} // namespace kxcam
