// The program's profile: sections and entries in an INI file at
// $XDG_CONFIG_HOME/Vistorel/Vistorel.ini (~/.config when the variable is unset).
#pragma once

#include <memory>

#include <QByteArray>
#include <QString>

class QSettings;

class CProfile {
public:
    // Empty path: the standard place named above.
    explicit CProfile(const QString& path = QString());
    ~CProfile();
    CProfile(const CProfile&) = delete;
    CProfile& operator=(const CProfile&) = delete;

    static QString StandardPath();
    QString FileName() const;

    int GetProfileInt(const QString& section, const QString& entry, int defaultValue) const;
    QString GetProfileString(const QString& section, const QString& entry,
                             const QString& defaultValue = QString()) const;
    // Empty when the entry is missing or not valid base64.
    QByteArray GetProfileBinary(const QString& section, const QString& entry) const;
    void WriteProfileInt(const QString& section, const QString& entry, int value);
    void WriteProfileString(const QString& section, const QString& entry, const QString& value);
    void WriteProfileBinary(const QString& section, const QString& entry, const QByteArray& value);
    void RemoveEntry(const QString& section, const QString& entry);
    // Writes pending changes to the file.
    void Flush();

private:
    std::unique_ptr<QSettings> m_settings;
};
