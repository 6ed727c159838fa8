// The camera configuration file KxConfig.xml: a root "Vistorel" holding
// "ConfigItem" elements whose text is a key and whose attribute "val" is the
// value. Read finds the first item with the key; Write replaces the file with
// one holding just that item. A file that cannot be read or parsed reads as
// empty, and a failed save leaves the old file; both are noted in the log.
#pragma once

#include <QString>

class CConfigFile {
public:
    // Empty path: $XDG_CONFIG_HOME/Vistorel/KxConfig.xml.
    explicit CConfigFile(const QString& path = QString());

    static QString StandardPath();
    QString Path() const { return m_path; }

    QString Read(const QString& key) const;
    bool Write(const QString& key, const QString& value) const;

    // Larger files are not configuration files of ours and are not read.
    static constexpr qint64 kMaxSize = 1 << 20;

private:
    QString m_path;
};
