#include "VideoRecorder.h"

#include <QFile>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include "CameraLog.h"

namespace kxcam {

namespace {

// Frames waiting for the encoder; more are dropped rather than piling up.
constexpr size_t kQueueLimit = 16;

QString AvError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

} // namespace

struct VideoRecorder::Encoder {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    SwsContext* scaler = nullptr;
    QSize size;
    bool realTime = true;
    bool headerWritten = false;
    int64_t lastPts = -1;
    int64_t count = 0;
    Clock::time_point first;

    ~Encoder() {
        sws_freeContext(scaler);
        av_packet_free(&packet);
        av_frame_free(&frame);
        avcodec_free_context(&codec);
        if (format) {
            if (format->pb) avio_closep(&format->pb);
            avformat_free_context(format);
        }
    }

    // Sends a frame (null: flush) and writes every packet the encoder returns.
    int Encode(AVFrame* input) {
        int rc = avcodec_send_frame(codec, input);
        if (rc < 0) return rc;
        while ((rc = avcodec_receive_packet(codec, packet)) >= 0) {
            av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
            packet->stream_index = stream->index;
            rc = av_interleaved_write_frame(format, packet);
            if (rc < 0) return rc;
        }
        return rc == AVERROR(EAGAIN) || rc == AVERROR_EOF ? 0 : rc;
    }

    int Add(const QImage& image, Clock::time_point when) {
        if (image.size() != size) return 0; // a frame from before a size change
        if (count == 0) first = when;
        int64_t pts = count;
        if (realTime) {
            const int64_t ms = std::chrono::duration_cast<std::chrono::milliseconds>(when - first).count();
            pts = av_rescale_q(ms, AVRational{1, 1000}, codec->time_base);
        }
        // Two frames in one period of the time base: the later one moves up; the
        // stamps catch up with the clock at the next gap.
        pts = std::max(pts, lastPts + 1);
        lastPts = pts;
        ++count;
        int rc = av_frame_make_writable(frame);
        if (rc < 0) return rc;
        const uint8_t* src[1] = {image.constBits()};
        const int srcStride[1] = {static_cast<int>(image.bytesPerLine())};
        sws_scale(scaler, src, srcStride, 0, size.height(), frame->data, frame->linesize);
        frame->pts = pts;
        return Encode(frame);
    }
};

VideoRecorder::VideoRecorder() = default;

VideoRecorder::~VideoRecorder() { Stop(); }

QString VideoRecorder::Extension(Codec codec) {
    return codec == Codec::H264Mp4 ? QStringLiteral(".mp4") : QStringLiteral(".mov");
}

bool VideoRecorder::Start(const QString& path, Codec codec, QSize size, int keyInterval, bool realTime,
                          QString* error) {
    auto fail = [error](const QString& why) {
        if (error) *error = why;
        qCWarning(lcKxCamera) << "recording not started:" << why;
        return false;
    };
    if (m_recording) return fail(QStringLiteral("already recording"));
    if (size.width() <= 0 || size.height() <= 0 || size.width() % 2 || size.height() % 2)
        return fail(
            QStringLiteral("frame size %1 x %2 cannot be encoded").arg(size.width()).arg(size.height()));

    // FFmpeg's notes on every encoder set-up would go to the terminal.
    av_log_set_level(AV_LOG_ERROR);
    auto enc = std::make_unique<Encoder>();
    enc->size = size;
    enc->realTime = realTime;
    const bool h264 = codec == Codec::H264Mp4;
    // Written under its own name from the start: a recording cut short by a
    // crash or a power cut keeps everything up to its last fragment.
    if (QFile::exists(path)) return fail(QStringLiteral("'%1' exists already").arg(path));
    const QByteArray fileName = QFile::encodeName(path);
    int rc =
        avformat_alloc_output_context2(&enc->format, nullptr, h264 ? "mp4" : "mov", fileName.constData());
    if (rc < 0 || !enc->format) return fail(AvError(rc));
    const AVCodec* encoder = avcodec_find_encoder(h264 ? AV_CODEC_ID_H264 : AV_CODEC_ID_MJPEG);
    if (!encoder)
        return fail(QStringLiteral("no %1 encoder in this FFmpeg").arg(h264 ? "H.264" : "Motion JPEG"));
    enc->codec = avcodec_alloc_context3(encoder);
    enc->stream = avformat_new_stream(enc->format, nullptr);
    enc->frame = av_frame_alloc();
    enc->packet = av_packet_alloc();
    if (!enc->codec || !enc->stream || !enc->frame || !enc->packet)
        return fail(QStringLiteral("out of memory"));

    AVCodecContext* c = enc->codec;
    c->width = size.width();
    c->height = size.height();
    c->framerate = AVRational{kFrameRate, 1};
    if (h264) {
        // MP4 keeps any time stamps, so frames carry their delivery time in ms.
        c->time_base = AVRational{1, 1000};
        c->pix_fmt = AV_PIX_FMT_YUV420P;
        c->gop_size = keyInterval > 0 ? keyInterval : 12;
        c->max_b_frames = 0;
        av_opt_set(c->priv_data, "preset", "veryfast", 0);
        av_opt_set(c->priv_data, "crf", "20", 0);
    } else {
        // One frame period; a gap in delivery moves the later frames up.
        c->time_base = AVRational{1, kFrameRate};
        c->pix_fmt = AV_PIX_FMT_YUVJ420P;
        c->flags |= AV_CODEC_FLAG_QSCALE;
        c->global_quality = FF_QP2LAMBDA * 3;
    }
    if (enc->format->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if ((rc = avcodec_open2(c, encoder, nullptr)) < 0) return fail(AvError(rc));
    if ((rc = avcodec_parameters_from_context(enc->stream->codecpar, c)) < 0) return fail(AvError(rc));
    enc->stream->time_base = c->time_base;

    enc->frame->format = c->pix_fmt;
    enc->frame->width = c->width;
    enc->frame->height = c->height;
    if ((rc = av_frame_get_buffer(enc->frame, 0)) < 0) return fail(AvError(rc));
    enc->scaler = sws_getContext(c->width, c->height, AV_PIX_FMT_BGRA, c->width, c->height, c->pix_fmt,
                                 SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!enc->scaler) return fail(QStringLiteral("no colour conversion to the encoder's format"));

    // The one file not written through vimg::SaveFile: a recording grows
    // under its final name, so that what was recorded before a crash is
    // already there as a playable file (the fragments below).
    if ((rc = avio_open(&enc->format->pb, fileName.constData(), AVIO_FLAG_WRITE)) < 0)
        return fail(AvError(rc));
    // Fragments of at most half a second, each complete on disk with its own
    // index, instead of one index written at the end: killing the program
    // loses at most the last half second. Every Motion JPEG frame is a key
    // frame, so only H.264 cuts at key frames.
    AVDictionary* options = nullptr;
    av_dict_set(&options, "movflags",
                h264 ? "frag_keyframe+empty_moov+default_base_moof" : "empty_moov+default_base_moof", 0);
    av_dict_set(&options, "frag_duration", "500000", 0);
    av_dict_set(&options, "flush_packets", "1", 0);
    rc = avformat_write_header(enc->format, &options);
    av_dict_free(&options);
    if (rc < 0) {
        avio_closep(&enc->format->pb);
        QFile::remove(path);
        return fail(AvError(rc));
    }
    enc->headerWritten = true;

    m_encoder = std::move(enc);
    m_path = path;
    m_written = 0;
    m_dropped = 0;
    m_failed = false;
    m_error.clear();
    m_finishing = false;
    m_queue.clear();
    m_recording = true;
    m_thread = std::thread([this] { Run(); });
    return true;
}

void VideoRecorder::Push(const QImage& frame, Clock::time_point when) {
    std::lock_guard lock(m_mutex);
    if (!m_recording || m_finishing) return;
    if (m_queue.size() >= kQueueLimit) {
        ++m_dropped;
        return;
    }
    m_queue.push_back({frame, when});
    m_wake.notify_one();
}

void VideoRecorder::Run() {
    for (;;) {
        Queued item;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return !m_queue.empty() || m_finishing; });
            if (m_queue.empty()) return; // finishing and nothing left
            item = std::move(m_queue.front());
            m_queue.pop_front();
        }
        if (m_failed) continue;
        const int rc = m_encoder->Add(item.frame, item.when);
        if (rc < 0) {
            qCWarning(lcKxCamera) << "video frame not written:" << AvError(rc);
            std::lock_guard lock(m_mutex);
            m_error = AvError(rc);
            m_failed = true;
        } else {
            ++m_written;
        }
    }
}

bool VideoRecorder::Stop() {
    if (!m_recording) return false;
    {
        std::lock_guard lock(m_mutex);
        m_finishing = true;
        m_wake.notify_one();
    }
    if (m_thread.joinable()) m_thread.join();
    m_recording = false;
    bool ok = !m_failed && m_written > 0;
    if (!m_failed && m_encoder->Encode(nullptr) < 0) ok = false;
    if (av_write_trailer(m_encoder->format) < 0) ok = false;
    if (m_encoder->format->pb && m_encoder->format->pb->error < 0) ok = false;
    avio_closep(&m_encoder->format->pb);
    m_encoder.reset();
    if (m_written == 0) {
        QFile::remove(m_path); // nothing worth keeping
    } else if (!ok) {
        // The fragments written before the failure stay playable.
        qCWarning(lcKxCamera) << "video" << m_path << "could not be completed";
    }
    return ok;
}

QString VideoRecorder::Error() const {
    std::lock_guard lock(m_mutex);
    return m_error;
}

} // namespace kxcam
