#include "StillWriter.h"

#include <cstring>

#include <QFile>

#include "Image.h"
#include "ImageTypes.h"
#include "KXCamera.h"
#include "SaveFile.h"

namespace kxcam {

namespace {

// B, G, R bytes of an RGB32 picture, rows from the top.
QByteArray Bgr24(const QImage& frame) {
    const int w = frame.width();
    QByteArray out;
    out.resize(static_cast<qsizetype>(w) * 3 * frame.height());
    auto* dst = reinterpret_cast<uint8_t*>(out.data());
    for (int y = 0; y < frame.height(); ++y) {
        const auto* src = reinterpret_cast<const uint32_t*>(frame.constScanLine(y));
        for (int x = 0; x < w; ++x, dst += 3) {
            dst[0] = src[x] & 0xff;
            dst[1] = (src[x] >> 8) & 0xff;
            dst[2] = (src[x] >> 16) & 0xff;
        }
    }
    return out;
}

bool WriteImage(const QString& path, uint32_t type, const QImage& frame, const StillWriter::Stamp& stamp,
                QString* error) {
    vimg::Image image;
    if (!image.Create(frame.width(), frame.height(), 24, type)) {
        if (error) *error = QString::fromUtf8(image.GetLastError());
        return false;
    }
    image.SetCameraName(stamp.cameraName.toUtf8().constData());
    image.SetPixelSize(stamp.pixelSizeUm);
    const QByteArray taken = stamp.taken.isValid()
                                 ? stamp.taken.toString(QStringLiteral("yyyy:MM:dd HH:mm:ss")).toLatin1()
                                 : QByteArray();
    image.SetCaptureStamp(taken.constData(), stamp.exposureSeconds, stamp.gains.toUtf8().constData());
    // The library keeps rows bottom-up.
    const QByteArray bgr = Bgr24(frame);
    const int rowBytes = frame.width() * 3;
    for (int y = 0; y < frame.height(); ++y)
        std::memcpy(image.GetBits(frame.height() - 1 - y),
                    bgr.constData() + static_cast<qsizetype>(y) * rowBytes, rowBytes);
    // Written beside the target and renamed over it only when complete.
    if (image.Save(QFile::encodeName(path).constData(), type)) return true;
    if (error) *error = QString::fromUtf8(image.GetLastError());
    return false;
}

} // namespace

QString StillWriter::FileName(const QString& name, uint8_t format) {
    switch (format) {
    case KXCAMERA_JPEG: return name + QStringLiteral(".JPG");
    case KXCAMERA_BMP: return name + QStringLiteral(".BMP");
    case KXCAMERA_RAW: return name + QStringLiteral(".RAW");
    default: return QString();
    }
}

bool StillWriter::Write(const QString& name, uint8_t format, const QImage& frame, const QByteArray& raw,
                        const Stamp& stamp, QString* error) {
    const QString path = FileName(name, format);
    if (path.isEmpty() || name.isEmpty()) {
        if (error) *error = QStringLiteral("unknown still format %1").arg(format);
        return false;
    }
    if (frame.isNull()) {
        if (error) *error = QStringLiteral("no frame to write");
        return false;
    }
    if (format == KXCAMERA_RAW) {
        // Written beside the target and renamed over it only when complete.
        return vimg::SaveBytes(path, raw.isEmpty() ? Bgr24(frame) : raw, error);
    }
    return WriteImage(path, format == KXCAMERA_JPEG ? vimg::FORMAT_JPG : vimg::FORMAT_BMP, frame, stamp,
                      error);
}

} // namespace kxcam
