// The state behind the camera library's C functions: the cameras found, the
// selected one, the display it draws into, colour gains, white balance, long
// exposure, stills and video. Lives on the UI thread; frames arrive on the
// device's thread and reach the display through a queued call.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include <QDateTime>
#include <QImage>
#include <QObject>
#include <QPointer>

#include "CameraDevice.h"
#include "VideoRecorder.h"

class QComboBox;
class CMessageTarget;

namespace kxcam {

class CameraLibrary : public QObject, public FrameConsumer {
public:
    static CameraLibrary& Instance();

    using Enumerator = std::function<std::vector<std::unique_ptr<CameraDevice>>()>;
    // Cameras attached now: V4L2 capture devices, and the simulated camera when
    // VISTOREL_SIM_CAMERA_TYPE is set (listed first) or no real camera exists.
    static std::vector<std::unique_ptr<CameraDevice>> AttachedCameras();
    // Replaces how cameras are found (tests); empty restores AttachedCameras.
    void SetEnumerator(Enumerator enumerator);
    // Replaces the clock a long exposure starts by (tests that step the simulated
    // camera give its frames' times); empty restores the steady clock.
    void SetClock(std::function<Clock::time_point()> now);

    void Refresh();
    // index: row of the camera id table; -1 selects none. A camera whose USB ids
    // give that row is preferred, else the first camera found.
    void Select(int index);
    KXCameraIdentity Identity() const;
    void FillResolutions(QComboBox* list) const;

    int Init(int resolution, QWidget* display, CMessageTarget* owner);
    void UnInit();
    void Play();
    void Stop();
    bool IsOpen() const { return m_open; }
    bool IsPlaying() const { return m_playing; }
    QSize ImageSize() const;
    void SetVideoMessage(unsigned message) { m_videoMessage = message; }
    void EnableDisplay(bool enable);
    void ShowSettings(int which);

    // One white balance: the device's own, else grey-world gains from the next frame.
    void RequestWhiteBalance();
    void GetGains(int* red, int* green, int* blue) const;
    void SetGains(int red, int green, int blue);

    int CaptureFile(const QString& name, uint8_t format);
    void SetStillPixelSize(double micrometres) { m_stillPixelSize = micrometres > 0 ? micrometres : 0; }
    double StillPixelSize() const { return m_stillPixelSize; }
    // The time the next still carries; invalid: the time it is written.
    void SetStillTime(const QDateTime& time) { m_stillTime = time; }
    // The exposure the last still written carries (0 when unknown): a long
    // exposure's from its start to its last frame, else the device's.
    std::chrono::microseconds LastStillExposure() const { return m_lastStillExposure; }
    int StartRecord(const QString& name, int keyInterval, bool realTime);
    void StopRecord();
    bool IsRecording() const { return m_recorder.IsRecording(); }
    // A running recording could not write its last frames.
    bool RecordFailed() const { return m_recorder.IsRecording() && m_recorder.Failed(); }
    // Why the last still, recording start or running recording failed.
    QString LastError() const;
    int FramesRecorded() const { return m_recorder.FramesWritten(); }
    void ChooseCodec(QWidget* parent);
    VideoRecorder::Codec Codec() const { return m_codec; }
    void SetCodec(VideoRecorder::Codec codec) { m_codec = codec; }

    void Pause();
    // The long exposure lasts as long as the program's countdown for the
    // camera type expects (LongExposureLength). A type-12 camera begins it on
    // its own when the preview is cancelled before a long exposure.
    void StartLongExposure();
    void ResetExposure();
    void CancelLongExposure(bool refresh);
    uint32_t ExposureRows() const;
    uint32_t RowTime() const;
    // Length of a long exposure of camera `type` from its exposure and row time:
    // 40 ms per exposure unit for types 10 and 12, row time x exposure x 318
    // for type 11, row time x exposure for the others.
    static std::chrono::microseconds LongExposureLength(int type, uint32_t exposure, uint32_t rowTime);

    // The frame shown last (after gains), and how many frames were shown.
    QImage CurrentFrame() const;
    uint64_t FramesShown() const { return m_framesShown; }

    void OnFrame(const QImage& picture, const QByteArray& raw, Clock::time_point when) override;

    // Gains in 0..255, 128 leaving a channel as it is.
    static constexpr int kUnityGain = 128;
    // Gains that make a picture's mean colour grey (grey-world balance).
    static void BalancedGains(const QImage& picture, int gains[3]);
    // The picture with the gains applied.
    static QImage ApplyGains(const QImage& picture, const int gains[3]);

private:
    CameraLibrary();
    ~CameraLibrary() override;

    enum class Exposure { Live, Paused, Exposing, Held };

    CameraDevice* Current() const { return m_current >= 0 ? m_devices[m_current].get() : nullptr; }
    void Show(const QImage& frame, const QImage& picture, const QByteArray& raw);
    void DeliverToDisplay();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void BeginExposure(); // with m_mutex held
    // Turns the frames gathered so far into the exposure's picture in `frame`
    // and holds it; with m_mutex held and at least one frame gathered.
    void EndExposure(QImage& frame);

    Enumerator m_enumerator;
    std::function<Clock::time_point()> m_now;
    std::vector<std::unique_ptr<CameraDevice>> m_devices;
    int m_current = -1;
    bool m_deselected = false; // "no camera" chosen while the current one is open
    bool m_open = false;
    bool m_playing = false;
    QPointer<QWidget> m_display;
    CMessageTarget* m_owner = nullptr;
    unsigned m_videoMessage = 0;
    bool m_displayEnabled = false;

    std::atomic<int> m_gains[3];
    std::atomic<bool> m_whiteBalanceRequested{false};
    std::atomic<bool> m_notifyPending{false};
    uint64_t m_framesShown = 0;

    mutable std::mutex m_mutex; // guards the frames and the exposure state
    QImage m_frame;    // shown, after gains
    QImage m_picture;  // the same frame before gains
    QByteArray m_raw;  // as the device delivered it
    Exposure m_exposure = Exposure::Live;
    Clock::time_point m_exposureStart;
    Clock::time_point m_exposureLast;           // the last frame gathered
    std::chrono::microseconds m_heldExposure{}; // of the picture held
    Clock::duration m_exposureLength{};
    std::vector<uint32_t> m_exposureSum;
    int m_exposureFrames = 0;

    double m_stillPixelSize = 0;
    QDateTime m_stillTime;
    std::chrono::microseconds m_lastStillExposure{};
    VideoRecorder m_recorder;
    QString m_lastError;
    VideoRecorder::Codec m_codec = VideoRecorder::Codec::MotionJpegMov;
};

} // namespace kxcam
