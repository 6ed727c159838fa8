// The most-recently-used file list: newest first, without duplicates, kept in
// the profile as "Recent File List" / "File1".."FileN".
#pragma once

#include <QString>
#include <QStringList>

class CProfile;

class CRecentFileList {
public:
    explicit CRecentFileList(int size) : m_size(size) {}

    void Add(const QString& path);
    void Remove(int index);
    int GetSize() const { return m_size; }
    int GetCount() const { return static_cast<int>(m_files.size()); }
    QString operator[](int index) const { return m_files.value(index); }

    void ReadList(const CProfile& profile);
    void WriteList(CProfile& profile) const;

private:
    int m_size;
    QStringList m_files;
};
