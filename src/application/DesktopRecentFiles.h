// The desktop's list of recently used files: $XDG_DATA_HOME/recently-used.xbel
// (~/.local/share by default), the freedesktop bookmark list that file
// managers, file dialogs and "Recent" places show. Files the program opens are
// added to it, with the program as one of the applications that used them.
#pragma once

#include <QString>

class CDesktopRecentFiles {
public:
    // Empty: the standard place.
    explicit CDesktopRecentFiles(const QString& listPath = QString());

    static QString StandardPath();
    QString ListPath() const { return m_listPath; }

    // Adds `path` or refreshes its entry (visited and modified times, the
    // program's count). Other entries and other programs' data are kept. The
    // list is replaced whole through a temporary file, so a reader never sees
    // half of it; a list that exists but cannot be read as XBEL is left alone.
    // False, with Problem() saying why, when nothing was written.
    bool Add(const QString& path);
    const QString& Problem() const { return m_problem; }

private:
    bool Fail(const QString& problem);

    QString m_listPath;
    QString m_problem;
};
