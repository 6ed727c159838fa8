// Base of the application object: the profile, the document templates, the
// recent-file list, the main window, and the last stop of command routing.
#pragma once

#include <memory>
#include <vector>

#include <QString>
#include <QStringList>

#include "CmdTarget.h"

class CCommandLineInfo;
class CDocument;
class CMDIFrameWnd;
class CMultiDocTemplate;
class CProfile;
class CRecentFileList;

class CWinApp : public CCmdTarget {
public:
    // Empty profile path: the standard place.
    explicit CWinApp(const QString& profilePath = QString());
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Start-up with the command-line arguments (without the program name).
    virtual bool InitInstance(const QStringList& /*args*/) { return true; }
    // Writes the recent-file list and flushes the profile; returns the
    // program's exit code.
    virtual int ExitInstance();

    CProfile& Profile() { return *m_profile; }
    int GetProfileInt(const QString& section, const QString& entry, int defaultValue) const;
    QString GetProfileString(const QString& section, const QString& entry,
                             const QString& defaultValue = QString()) const;
    void WriteProfileInt(const QString& section, const QString& entry, int value);
    void WriteProfileString(const QString& section, const QString& entry, const QString& value);

    void LoadStdProfileSettings(int maxMRU);
    CRecentFileList* GetRecentFileList() const { return m_pRecentFileList.get(); }
    virtual void AddToRecentFileList(const QString& path);

    void AddDocTemplate(CMultiDocTemplate* docTemplate);
    const std::vector<std::unique_ptr<CMultiDocTemplate>>& GetDocTemplates() const { return m_templates; }
    virtual CDocument* OpenDocumentFile(const QString& path);
    void CloseAllDocuments();
    // Asks every modified document whether to save it; false as soon as one
    // answer keeps its document open.
    bool SaveAllModified();

    CMDIFrameWnd* GetMainWnd() const { return m_pMainWnd; }
    void SetMainWnd(CMDIFrameWnd* wnd) { m_pMainWnd = wnd; }

    // The framework's New, and the recent-file entry at id (false when it
    // could not be opened; it is then dropped from the list).
    void OnFileNew();
    bool OnOpenRecentFile(int id);
    // Runs the command line: a new document, or opening every file named
    // (true when at least one opened). Printing the files ends the program:
    // false, with the exit code telling whether all were printed.
    bool ProcessShellCommand(const CCommandLineInfo& info);
    // Prints the files to the application's printer; false when any failed.
    virtual bool PrintFiles(const QStringList& paths);

protected:
    CMDIFrameWnd* m_pMainWnd = nullptr;
    int m_nExitCode = 0;

private:
    std::unique_ptr<CProfile> m_profile;
    std::unique_ptr<CRecentFileList> m_pRecentFileList;
    std::vector<std::unique_ptr<CMultiDocTemplate>> m_templates;
};

CWinApp* AfxGetApp();
