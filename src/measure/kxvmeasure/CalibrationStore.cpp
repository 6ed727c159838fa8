#include "CalibrationStore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "Profile.h"

namespace kxvm {

namespace {
const QString kSection = QStringLiteral("Calibration");
}

QString CalibrationStore::Entry(const QString& camera, int width, int height) {
    // The INI file keeps keys readable: letters, digits and '_' only.
    QString key;
    for (const QChar c : camera.isEmpty() ? QStringLiteral("Kamera") : camera)
        key += (c.isLetterOrNumber() && c.unicode() < 128) ? c : QLatin1Char('_');
    return QStringLiteral("%1_%2x%3").arg(key).arg(width).arg(height);
}

CalibrationStore::Stored CalibrationStore::Read(const QString& camera, int width, int height) const {
    Stored stored;
    const QByteArray text = m_profile.GetProfileString(kSection, Entry(camera, width, height)).toUtf8();
    const QJsonObject root = QJsonDocument::fromJson(text).object();
    stored.active = root.value(QLatin1String("active")).toString();
    for (const QJsonValue& v : root.value(QLatin1String("list")).toArray()) {
        const QJsonObject o = v.toObject();
        const std::optional<LengthUnit> unit = UnitFromName(o.value(QLatin1String("unit")).toString());
        const QString name = o.value(QLatin1String("name")).toString();
        if (!unit || name.isEmpty()) continue;
        if (auto c =
                Calibration::FromLine(name, o.value(QLatin1String("pixelsPerUnit")).toDouble(0), 1.0, *unit))
            stored.list.push_back(*c);
    }
    return stored;
}

void CalibrationStore::Write(const QString& camera, int width, int height, const Stored& stored) {
    QJsonArray list;
    for (const Calibration& c : stored.list)
        list.append(QJsonObject{{QStringLiteral("name"), c.name},
                                {QStringLiteral("pixelsPerUnit"), c.pixelsPerUnit},
                                {QStringLiteral("unit"), UnitName(c.unit)}});
    const QJsonObject root{{QStringLiteral("active"), stored.active}, {QStringLiteral("list"), list}};
    m_profile.WriteProfileString(kSection, Entry(camera, width, height),
                                 QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Compact)));
    m_profile.Flush();
}

std::vector<Calibration> CalibrationStore::List(const QString& camera, int width, int height) const {
    return Read(camera, width, height).list;
}

std::optional<Calibration> CalibrationStore::Active(const QString& camera, int width, int height) const {
    const Stored stored = Read(camera, width, height);
    for (const Calibration& c : stored.list)
        if (c.name == stored.active) return c;
    return std::nullopt;
}

void CalibrationStore::Put(const QString& camera, int width, int height, const Calibration& calibration,
                           bool makeActive) {
    Stored stored = Read(camera, width, height);
    std::erase_if(stored.list, [&](const Calibration& c) { return c.name == calibration.name; });
    stored.list.push_back(calibration);
    if (makeActive) stored.active = calibration.name;
    Write(camera, width, height, stored);
}

void CalibrationStore::Remove(const QString& camera, int width, int height, const QString& name) {
    Stored stored = Read(camera, width, height);
    std::erase_if(stored.list, [&](const Calibration& c) { return c.name == name; });
    if (stored.active == name) stored.active.clear();
    Write(camera, width, height, stored);
}

void CalibrationStore::SetActive(const QString& camera, int width, int height, const QString& name) {
    Stored stored = Read(camera, width, height);
    stored.active = name;
    Write(camera, width, height, stored);
}

} // namespace kxvm
