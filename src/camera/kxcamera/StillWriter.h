// Stills of the camera library: a frame written as name.BMP, name.JPG (through
// the image library) or name.RAW (the bytes the camera delivered). Each file is
// written beside its final name and renamed over it when complete. BMP and JPEG stills
// carry the camera's name and the calibration in their metadata; JPEG stills
// also their time, exposure and gains (EXIF).
#pragma once

#include <cstdint>

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QString>

namespace kxcam {

class StillWriter {
public:
    struct Stamp {
        QString cameraName;
        double pixelSizeUm = 0; // micrometres per pixel, 0 when not calibrated
        QDateTime taken;        // when the still was taken; invalid when unknown
        double exposureSeconds = 0; // 0 when unknown
        QString gains;              // the colour gains as text, empty for none
    };
    // The file a format writes for `name`; empty for an unknown format.
    static QString FileName(const QString& name, uint8_t format);
    // frame: RGB32 after gains; raw: device bytes (empty: the picture's own
    // B, G, R bytes, rows from the top). False when nothing was written.
    static bool Write(const QString& name, uint8_t format, const QImage& frame, const QByteArray& raw,
                      const Stamp& stamp, QString* error = nullptr);
};

} // namespace kxcam
