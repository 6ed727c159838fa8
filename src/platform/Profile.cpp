#include "Profile.h"

#include <QDir>
#include <QSettings>

namespace {

QString Key(const QString& section, const QString& entry) { return section + QLatin1Char('/') + entry; }

} // namespace

CProfile::CProfile(const QString& path)
    : m_settings(std::make_unique<QSettings>(path.isEmpty() ? StandardPath() : path, QSettings::IniFormat)) {}

CProfile::~CProfile() = default;

QString CProfile::StandardPath() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Vistorel/Vistorel.ini");
}

QString CProfile::FileName() const { return m_settings->fileName(); }

int CProfile::GetProfileInt(const QString& section, const QString& entry, int defaultValue) const {
    bool ok = false;
    const int value = m_settings->value(Key(section, entry)).toString().trimmed().toInt(&ok);
    return ok ? value : defaultValue;
}

QString CProfile::GetProfileString(const QString& section, const QString& entry,
                                   const QString& defaultValue) const {
    const QVariant v = m_settings->value(Key(section, entry));
    return v.isValid() ? v.toString() : defaultValue;
}

QByteArray CProfile::GetProfileBinary(const QString& section, const QString& entry) const {
    const QByteArray text = m_settings->value(Key(section, entry)).toString().toLatin1();
    auto decoded = QByteArray::fromBase64Encoding(text, QByteArray::AbortOnBase64DecodingErrors);
    return decoded ? *decoded : QByteArray();
}

void CProfile::WriteProfileInt(const QString& section, const QString& entry, int value) {
    m_settings->setValue(Key(section, entry), QString::number(value));
}

void CProfile::WriteProfileString(const QString& section, const QString& entry, const QString& value) {
    m_settings->setValue(Key(section, entry), value);
}

void CProfile::WriteProfileBinary(const QString& section, const QString& entry, const QByteArray& value) {
    m_settings->setValue(Key(section, entry), QString::fromLatin1(value.toBase64()));
}

void CProfile::RemoveEntry(const QString& section, const QString& entry) {
    m_settings->remove(Key(section, entry));
}

void CProfile::Flush() { m_settings->sync(); }
