#include "WinApp.h"

#include "CommandIds.h"
#include "CommandLineInfo.h"
#include "Document.h"
#include "MultiDocTemplate.h"
#include "Profile.h"
#include "RecentFileList.h"

namespace {
CWinApp* g_app = nullptr;
} // namespace

CWinApp* AfxGetApp() { return g_app; }

CWinApp::CWinApp(const QString& profilePath) : m_profile(std::make_unique<CProfile>(profilePath)) {
    g_app = this;
}

CWinApp::~CWinApp() {
    m_templates.clear();
    if (g_app == this) g_app = nullptr;
}

int CWinApp::ExitInstance() {
    if (m_pRecentFileList) m_pRecentFileList->WriteList(*m_profile);
    m_profile->Flush();
    return m_nExitCode;
}

int CWinApp::GetProfileInt(const QString& section, const QString& entry, int defaultValue) const {
    return m_profile->GetProfileInt(section, entry, defaultValue);
}

QString CWinApp::GetProfileString(const QString& section, const QString& entry,
                                  const QString& defaultValue) const {
    return m_profile->GetProfileString(section, entry, defaultValue);
}

void CWinApp::WriteProfileInt(const QString& section, const QString& entry, int value) {
    m_profile->WriteProfileInt(section, entry, value);
}

void CWinApp::WriteProfileString(const QString& section, const QString& entry, const QString& value) {
    m_profile->WriteProfileString(section, entry, value);
}

void CWinApp::LoadStdProfileSettings(int maxMRU) {
    m_pRecentFileList = std::make_unique<CRecentFileList>(maxMRU);
    m_pRecentFileList->ReadList(*m_profile);
}

void CWinApp::AddToRecentFileList(const QString& path) {
    if (m_pRecentFileList) m_pRecentFileList->Add(path);
}

void CWinApp::AddDocTemplate(CMultiDocTemplate* docTemplate) { m_templates.emplace_back(docTemplate); }

CDocument* CWinApp::OpenDocumentFile(const QString& path) {
    return m_templates.empty() ? nullptr : m_templates.front()->OpenDocumentFile(path);
}

void CWinApp::CloseAllDocuments() {
    for (auto& t : m_templates) t->CloseAllDocuments();
}

bool CWinApp::SaveAllModified() {
    for (auto& t : m_templates) {
        const std::list<CDocument*> docs = t->GetDocuments();
        for (CDocument* doc : docs)
            if (!doc->SaveModified()) return false;
    }
    return true;
}

void CWinApp::OnFileNew() {
    if (!m_templates.empty()) m_templates.front()->OpenDocumentFile(QString());
}

bool CWinApp::OnOpenRecentFile(int id) {
    if (!m_pRecentFileList) return false;
    const int index = id - ID_FILE_MRU_FILE1;
    const QString path = (*m_pRecentFileList)[index];
    if (path.isEmpty()) return false;
    if (OpenDocumentFile(path)) return true;
    m_pRecentFileList->Remove(index);
    return false;
}

bool CWinApp::PrintFiles(const QStringList&) { return false; }

bool CWinApp::ProcessShellCommand(const CCommandLineInfo& info) {
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        if (!OnCmdMsg(ID_FILE_NEW, nullptr)) OnFileNew();
        return true;
    case CCommandLineInfo::FileOpen: {
        bool any = false;
        for (const QString& path : info.m_fileNames)
            if (OpenDocumentFile(path)) any = true;
        return any;
    }
    case CCommandLineInfo::FilePrint:
        m_nExitCode = PrintFiles(info.m_fileNames) ? 0 : 1;
        return false;
    case CCommandLineInfo::FileNothing:
        return true;
    }
    return false;
}
