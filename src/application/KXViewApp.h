// The application object: start-up in its fixed order, the one document
// template, the program-wide values documents and views read (JPEG quality,
// text-tool record, title counter) and the application commands.
#pragma once

#include <memory>

#include <QStringList>

#include "DesktopRecentFiles.h"
#include "EditorSettings.h"
#include "WinApp.h"

class CMainFrame;
class CMultiDocTemplate;
class QPrinter;

class CKXViewApp : public CWinApp {
public:
    // Empty profile path: the standard place.
    explicit CKXViewApp(const QString& profilePath = QString());
    ~CKXViewApp() override;

    bool InitInstance(const QStringList& args) override;
    int ExitInstance() override;

    CMainFrame* MainFrame() const;
    // Selects every document opening in image-processing mode first.
    CDocument* OpenDocumentFile(const QString& path) override;
    // The program's list and the desktop's (recently-used.xbel).
    void AddToRecentFileList(const QString& path) override;

    // Text-tool and JPEG settings from and to the profile.
    void LoadTextToolSettings();
    void SaveSettings();

    // The printer and page set up with "Seite einrichten"; printing uses it.
    QPrinter& Printer();
    bool PrintFiles(const QStringList& paths) override;

    CMultiDocTemplate* m_pDocTemplate = nullptr;
    CEditorSettings m_settings; // handed to every document

private:
    void SelectImageTab();
    void OnFileNew();
    void OnFileOpen();
    void OnAppAbout();
    void OnFilePrintSetup();

    std::unique_ptr<QPrinter> m_pPrinter;
    CDesktopRecentFiles m_desktopRecentFiles;
};

// The one application object, or null.
CKXViewApp* theApp();
