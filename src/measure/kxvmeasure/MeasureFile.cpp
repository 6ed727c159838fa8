#include "MeasureFile.h"

#include <cmath>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "SaveFile.h"

namespace kxvm {

namespace {

const QString kFormat = QStringLiteral("vistorel-measurements");

struct KindLabel {
    ShapeKind kind;
    const char* name;
};
constexpr KindLabel kKinds[] = {{ShapeKind::Line, "line"},       {ShapeKind::Rectangle, "rectangle"},
                                {ShapeKind::Ellipse, "ellipse"}, {ShapeKind::Polygon, "polygon"},
                                {ShapeKind::Angle, "angle"},     {ShapeKind::Point, "point"},
                                {ShapeKind::Text, "text"}};

QString ColourText(const QColor& c) {
    return c.name(c.alpha() == 255 ? QColor::HexRgb : QColor::HexArgb);
}

bool Fail(QString* error, const QString& text) {
    if (error) *error = text;
    return false;
}

bool ReadColour(const QJsonObject& o, const char* key, QColor* out, QString* error) {
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined()) return true; // the default look
    const QColor c = QColor::fromString(v.toString());
    if (!v.isString() || !c.isValid())
        return Fail(error, QStringLiteral("invalid colour in \"%1\"").arg(key));
    // Kept at the 8 bits per channel the file is written with: "#rrrgggbbb"
    // would otherwise not read back the same after a save.
    *out = QColor(c.red(), c.green(), c.blue(), c.alpha());
    return true;
}

bool ReadObject(const QJsonValue& value, int index, MeasureObject* out, QString* error) {
    const QString where = QStringLiteral("object %1: ").arg(index + 1);
    if (!value.isObject()) return Fail(error, where + QStringLiteral("not an object"));
    const QJsonObject o = value.toObject();
    const QString type = o.value(QLatin1String("type")).toString();
    bool known = false;
    for (const KindLabel& k : kKinds)
        if (type == QLatin1String(k.name)) {
            out->kind = k.kind;
            known = true;
        }
    if (!known) return Fail(error, where + QStringLiteral("unknown type \"%1\"").arg(type.left(40)));
    const QJsonValue pointsValue = o.value(QLatin1String("points"));
    if (!pointsValue.isArray()) return Fail(error, where + QStringLiteral("no points"));
    const QJsonArray points = pointsValue.toArray();
    const int needed = PointsNeeded(out->kind);
    const bool variable = out->kind == ShapeKind::Polygon;
    if (points.size() < needed || (!variable && points.size() != needed) ||
        points.size() > MeasureFile::kMaxPoints)
        return Fail(error, where + QStringLiteral("%1 points for a %2").arg(points.size()).arg(type));
    out->points.clear();
    out->points.reserve(static_cast<size_t>(points.size()));
    for (const QJsonValue& p : points) {
        const QJsonArray xy = p.toArray();
        if (!p.isArray() || xy.size() != 2 || !xy[0].isDouble() || !xy[1].isDouble())
            return Fail(error, where + QStringLiteral("a point is not [x, y]"));
        const double x = xy[0].toDouble(), y = xy[1].toDouble();
        if (!std::isfinite(x) || !std::isfinite(y) || std::fabs(x) > MeasureFile::kMaxCoordinate ||
            std::fabs(y) > MeasureFile::kMaxCoordinate)
            return Fail(error, where + QStringLiteral("a point lies far outside the picture"));
        out->points.emplace_back(x, y);
    }
    if (!ReadColour(o, "lineColour", &out->lineColour, error) ||
        !ReadColour(o, "textColour", &out->textColour, error) ||
        !ReadColour(o, "fillColour", &out->fillColour, error)) {
        if (error) error->prepend(where);
        return false;
    }
    const QJsonValue width = o.value(QLatin1String("lineWidth"));
    if (!width.isUndefined()) {
        const double w = width.toDouble(-1);
        if (!width.isDouble() || w < 1 || w > 50 || w != std::floor(w))
            return Fail(error, where + QStringLiteral("line width must be 1..50"));
        out->lineWidth = static_cast<int>(w);
    }
    const QJsonValue text = o.value(QLatin1String("text"));
    if (!text.isUndefined() && !text.isString())
        return Fail(error, where + QStringLiteral("text is not a string"));
    out->text = text.toString();
    if (out->text.size() > MeasureFile::kMaxTextLength)
        return Fail(error, where + QStringLiteral("text too long"));
    return true;
}

} // namespace

QByteArray MeasureFile::Serialize(const MeasureData& data) {
    QJsonObject root;
    root.insert(QStringLiteral("format"), kFormat);
    root.insert(QStringLiteral("version"), kVersion);
    root.insert(QStringLiteral("image"), QJsonObject{{QStringLiteral("width"), data.imageSize.width()},
                                                     {QStringLiteral("height"), data.imageSize.height()}});
    if (data.calibration && data.calibration->IsCalibrated())
        root.insert(QStringLiteral("calibration"),
                    QJsonObject{{QStringLiteral("name"), data.calibration->name},
                                {QStringLiteral("pixelsPerUnit"), data.calibration->pixelsPerUnit},
                                {QStringLiteral("unit"), UnitName(data.calibration->unit)}});
    else
        root.insert(QStringLiteral("calibration"), QJsonValue::Null);
    root.insert(QStringLiteral("scaleBar"), data.scaleBar);
    QJsonArray objects;
    for (const MeasureObject& o : data.objects) {
        QJsonArray points;
        for (const QPointF& p : o.points)
            points.append(QJsonArray{p.x(), p.y()});
        QString type;
        for (const KindLabel& k : kKinds)
            if (k.kind == o.kind) type = QLatin1String(k.name);
        objects.append(QJsonObject{{QStringLiteral("type"), type},
                                   {QStringLiteral("points"), points},
                                   {QStringLiteral("lineColour"), ColourText(o.lineColour)},
                                   {QStringLiteral("textColour"), ColourText(o.textColour)},
                                   {QStringLiteral("fillColour"), ColourText(o.fillColour)},
                                   {QStringLiteral("lineWidth"), o.lineWidth},
                                   {QStringLiteral("text"), o.text}});
    }
    root.insert(QStringLiteral("objects"), objects);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<MeasureData> MeasureFile::Parse(const QByteArray& bytes, QString* error) {
    if (bytes.size() > kMaxFileBytes) {
        Fail(error, QStringLiteral("file too large"));
        return std::nullopt;
    }
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError || !doc.isObject()) {
        Fail(error, QStringLiteral("not a JSON object: %1").arg(parseError.errorString()));
        return std::nullopt;
    }
    const QJsonObject root = doc.object();
    if (root.value(QLatin1String("format")).toString() != kFormat) {
        Fail(error, QStringLiteral("not a Vistorel measurement file"));
        return std::nullopt;
    }
    const QJsonValue version = root.value(QLatin1String("version"));
    if (!version.isDouble() || version.toDouble() < 1 || version.toDouble() > kVersion) {
        Fail(error,
             QStringLiteral("unsupported format version %1").arg(version.toVariant().toString().left(20)));
        return std::nullopt;
    }
    MeasureData data;
    const QJsonObject image = root.value(QLatin1String("image")).toObject();
    const double w = image.value(QLatin1String("width")).toDouble(0),
                 h = image.value(QLatin1String("height")).toDouble(0);
    if (w >= 0 && h >= 0 && w <= kMaxCoordinate && h <= kMaxCoordinate)
        data.imageSize = QSize(static_cast<int>(w), static_cast<int>(h));
    const QJsonValue calibration = root.value(QLatin1String("calibration"));
    if (calibration.isObject()) {
        const QJsonObject c = calibration.toObject();
        const std::optional<LengthUnit> unit = UnitFromName(c.value(QLatin1String("unit")).toString());
        const std::optional<Calibration> made =
            unit ? Calibration::FromLine(c.value(QLatin1String("name")).toString().left(200),
                                         c.value(QLatin1String("pixelsPerUnit")).toDouble(0), 1.0, *unit)
                 : std::nullopt;
        if (!made) {
            Fail(error, QStringLiteral("invalid calibration"));
            return std::nullopt;
        }
        data.calibration = made;
    } else if (!calibration.isNull() && !calibration.isUndefined()) {
        Fail(error, QStringLiteral("invalid calibration"));
        return std::nullopt;
    }
    data.scaleBar = root.value(QLatin1String("scaleBar")).toBool(true);
    const QJsonValue objectsValue = root.value(QLatin1String("objects"));
    if (!objectsValue.isArray()) {
        Fail(error, QStringLiteral("no object list"));
        return std::nullopt;
    }
    const QJsonArray objects = objectsValue.toArray();
    if (objects.size() > kMaxObjects) {
        Fail(error, QStringLiteral("more than %1 objects").arg(kMaxObjects));
        return std::nullopt;
    }
    data.objects.resize(static_cast<size_t>(objects.size()));
    for (qsizetype i = 0; i < objects.size(); ++i)
        if (!ReadObject(objects[i], static_cast<int>(i), &data.objects[static_cast<size_t>(i)], error))
            return std::nullopt;
    return data;
}

bool MeasureFile::Save(const QString& path, const MeasureData& data, QString* error) {
    QString problem;
    return vimg::SaveBytes(path, Serialize(data), &problem) || Fail(error, problem);
}

std::optional<MeasureData> MeasureFile::Load(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Fail(error, QStringLiteral("cannot open %1: %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    if (file.size() > kMaxFileBytes) {
        Fail(error, QStringLiteral("file too large"));
        return std::nullopt;
    }
    return Parse(file.read(kMaxFileBytes + 1), error);
}

QString MeasureFile::PathForImage(const QString& imagePath) {
    return imagePath.isEmpty() ? QString() : imagePath + QStringLiteral(".measure.json");
}

} // namespace kxvm
