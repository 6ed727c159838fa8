// The measurement data file: a picture's objects and its calibration as JSON,
// kept beside the picture.
//
// {"format": "vistorel-measurements", "version": 1,
//  "image": {"width": 640, "height": 480},            (the picture they belong to)
//  "calibration": {"name": "10x", "pixelsPerUnit": 2.5, "unit": "µm"},   (or null)
//  "scaleBar": true,
//  "objects": [{"type": "line", "points": [[10, 20], [110, 20]],
//               "lineColour": "#ffdc00", "textColour": "#ffffff", "fillColour": "#a0000000",
//               "lineWidth": 2, "text": ""}, ...]}
//
// Types: line, rectangle, ellipse, polygon, angle, point, text. Reading
// refuses the whole file (with a reason) when anything in it is not as above,
// so a damaged file never half-replaces what is on the picture.
#pragma once

#include <optional>
#include <vector>

#include <QByteArray>
#include <QSize>
#include <QString>

#include "Calibration.h"
#include "MeasureObject.h"

namespace kxvm {

struct MeasureData {
    QSize imageSize;
    std::optional<Calibration> calibration;
    bool scaleBar = true;
    std::vector<MeasureObject> objects;
};

class MeasureFile {
public:
    static constexpr int kVersion = 1;
    static constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;
    static constexpr int kMaxObjects = 100000;
    static constexpr int kMaxPoints = 100000;
    static constexpr int kMaxTextLength = 10000;
    // Coordinates further than this from the picture are refused.
    static constexpr double kMaxCoordinate = 1e7;

    static QByteArray Serialize(const MeasureData& data);
    static std::optional<MeasureData> Parse(const QByteArray& bytes, QString* error);
    // Written beside `path` and renamed over it when complete.
    static bool Save(const QString& path, const MeasureData& data, QString* error);
    static std::optional<MeasureData> Load(const QString& path, QString* error);
    // Where the data of a picture goes by default: beside it, "NAME.EXT.measure.json".
    static QString PathForImage(const QString& imagePath);
};

} // namespace kxvm
