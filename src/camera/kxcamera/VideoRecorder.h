// Writes the frames of a running camera into a video file through FFmpeg's
// libraries: Motion JPEG in QuickTime (the default) or H.264 in MP4, both as
// fragments of half a second that are complete on disk as they are written,
// so a recording survives a crash of the program. Frames are queued by the
// device thread and encoded on a thread of the recorder.
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
    enum class Codec { MotionJpegMov, H264Mp4 };

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
    // Encodes what is queued and finishes the file. False when the file could
    // not be completed: what was written before stays, a file without frames goes.
    bool Stop();
    bool IsRecording() const { return m_recording; }
    // A write failed while recording: the frames after it are dropped.
    bool Failed() const { return m_failed; }
    QString Error() const;
    int FramesWritten() const { return m_written; }
    int FramesDropped() const { return m_dropped; }

    // Nominal frame rate of the Motion JPEG time base.
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
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Queued> m_queue;
    std::atomic<bool> m_recording{false}; // read by the device thread
    bool m_finishing = false;
    std::atomic<bool> m_failed{false};
    QString m_error; // guarded by m_mutex
    int m_written = 0;
    int m_dropped = 0;
};

} // namespace kxcam
