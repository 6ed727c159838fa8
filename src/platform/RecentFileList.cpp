#include "RecentFileList.h"

#include <QFileInfo>

#include "Profile.h"

namespace {
const QString kSection = QStringLiteral("Recent File List");
QString EntryName(int i) { return QStringLiteral("File%1").arg(i + 1); }
} // namespace

void CRecentFileList::Add(const QString& path) {
    if (path.isEmpty()) return;
    const QString full = QFileInfo(path).absoluteFilePath();
    m_files.removeAll(full);
    m_files.prepend(full);
    while (m_files.size() > m_size) m_files.removeLast();
}

void CRecentFileList::Remove(int index) {
    if (index >= 0 && index < m_files.size()) m_files.removeAt(index);
}

void CRecentFileList::ReadList(const CProfile& profile) {
    m_files.clear();
    for (int i = 0; i < m_size; ++i) {
        const QString path = profile.GetProfileString(kSection, EntryName(i));
        if (!path.isEmpty() && !m_files.contains(path)) m_files.append(path);
    }
}

void CRecentFileList::WriteList(CProfile& profile) const {
    for (int i = 0; i < m_size; ++i) {
        if (i < m_files.size())
            profile.WriteProfileString(kSection, EntryName(i), m_files[i]);
        else
            profile.RemoveEntry(kSection, EntryName(i));
    }
}
