#include "KXViewApp.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrinter>

#include "AboutDlg.h"
#include "ChildFrame.h"
#include "AppLog.h"
#include "CmdUI.h"
#include "CommandLineInfo.h"
#include "Image.h"
#include "ImageFileDialog.h"
#include "KXVMeasure.h"
#include "KXViewDoc.h"
#include "KXViewView.h"
#include "LanguageChoice.h"
#include "ImagePrinter.h"
#include "MainFrame.h"
#include "MultiDocTemplate.h"
#include "Profile.h"
#include "RecentFileList.h"
#include "Resource.h"
#include "Resources.h"

Q_LOGGING_CATEGORY(lcApp, "vistorel.app", QtInfoMsg)

namespace {
const QString kTextTool = QStringLiteral("TextTool");
const QString kOptions = QStringLiteral("Options");
} // namespace

CKXViewApp* theApp() { return dynamic_cast<CKXViewApp*>(AfxGetApp()); }

CKXViewApp::CKXViewApp(const QString& profilePath) : CWinApp(profilePath) {
    OnCommand(ID_FILE_NEW, [this] { OnFileNew(); });
    OnCommand(ID_FILE_OPEN, [this] { OnFileOpen(); });
    OnCommandRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_LAST, [this](int id) {
        SelectImageTab();
        OnOpenRecentFile(id);
    });
    OnUpdateCommandRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_LAST, [this](CCmdUI* ui) {
        ui->Enable(GetRecentFileList() && ui->m_nID - ID_FILE_MRU_FILE1 < GetRecentFileList()->GetCount());
    });
    OnCommand(ID_CLOSE_ALL, [this] {
        if (SaveAllModified()) CloseAllDocuments();
    });
    OnCommand(ID_APP_ABOUT, [this] { OnAppAbout(); });
    OnCommand(ID_FILE_PRINT_SETUP, [this] { OnFilePrintSetup(); });
    OnCommand(ID_APP_EXIT, [this] {
        if (m_pMainWnd) m_pMainWnd->close();
    });
    // "Ansicht > Sprache": stored in the profile, spoken from the next start on.
    using Language = CLanguageChoice::Language;
    for (const auto& [id, language] : {std::pair{ID_LANGUAGE_GERMAN, Language::German},
                                       std::pair{ID_LANGUAGE_ENGLISH, Language::English}}) {
        OnCommand(id, [this, language] {
            if (CLanguageChoice::Chosen(Profile()) == language) return;
            CLanguageChoice::Store(Profile(), language);
            QMessageBox::information(m_pMainWnd, resources::String(IDS_APP_TITLE),
                                     resources::String(IDS_LANGUAGE_NEXT_START));
        });
        OnUpdateCommand(id, [this, language](CCmdUI* ui) {
            ui->SetCheck(CLanguageChoice::Chosen(Profile()) == language ? 1 : 0);
        });
    }
}

CKXViewApp::~CKXViewApp() {
    // Documents go before the frame that shows them.
    CloseAllDocuments();
    delete m_pMainWnd;
    m_pMainWnd = nullptr;
}

CMainFrame* CKXViewApp::MainFrame() const { return dynamic_cast<CMainFrame*>(m_pMainWnd); }

bool CKXViewApp::InitInstance(const QStringList& args) {
    qCDebug(lcApp) << "start-up: profile";
    LoadStdProfileSettings(9);

    qCDebug(lcApp) << "start-up: document template";
    m_pDocTemplate = new CMultiDocTemplate(
        IDR_MAINFRAME, QStringLiteral("Vistorel"), [this] { return new CKXViewDoc(&m_settings); },
        [] { return new CChildFrame; }, [] { return new CKXViewView; });
    AddDocTemplate(m_pDocTemplate);

    qCDebug(lcApp) << "start-up: main frame";
    auto* frame = new CMainFrame;
    m_pMainWnd = frame;
    if (!frame->LoadFrame()) {
        qCWarning(lcApp) << "the main frame could not be created";
        m_nExitCode = 1;
        return false;
    }
    m_pDocTemplate->SetMdiArea(frame->MdiArea());

    qCDebug(lcApp) << "start-up: command line";
    CCommandLineInfo cmdInfo;
    cmdInfo.ParseCommandLine(args);
    if (!ProcessShellCommand(cmdInfo)) {
        // Printing ends the program with its own exit code.
        if (cmdInfo.m_nShellCommand != CCommandLineInfo::FilePrint) m_nExitCode = 1;
        return false;
    }

    qCDebug(lcApp) << "start-up: text tool";
    vimg::Image::InitTextInfo(&m_settings.textInfo);
    LoadTextToolSettings();

    qCDebug(lcApp) << "start-up: show window";
    if (GetProfileInt(QStringLiteral("Screen"), QStringLiteral("maximized"), 0))
        frame->showMaximized();
    else
        frame->show();
    frame->setAcceptDrops(true);
    KXVM_CreateCursor();

    // The last file named that opened is only activated here: it is open
    // already. One that failed is not tried (and reported) a second time.
    for (auto it = cmdInfo.m_fileNames.crbegin(); it != cmdInfo.m_fileNames.crend(); ++it) {
        const QString full = QFileInfo(*it).absoluteFilePath();
        const auto& docs = m_pDocTemplate->GetDocuments();
        if (std::any_of(docs.begin(), docs.end(), [&](CDocument* d) { return d->GetPathName() == full; })) {
            OpenDocumentFile(*it);
            break;
        }
    }
    qCDebug(lcApp) << "start-up: done";
    return true;
}

int CKXViewApp::ExitInstance() { return CWinApp::ExitInstance(); }

void CKXViewApp::AddToRecentFileList(const QString& path) {
    CWinApp::AddToRecentFileList(path);
    if (!m_desktopRecentFiles.Add(path))
        qCWarning(lcApp) << "desktop recent files:" << m_desktopRecentFiles.Problem();
}

CDocument* CKXViewApp::OpenDocumentFile(const QString& path) {
    SelectImageTab();
    return CWinApp::OpenDocumentFile(path);
}

void CKXViewApp::LoadTextToolSettings() {
    const QByteArray face =
        GetProfileString(kTextTool, QStringLiteral("lfFaceName"), QStringLiteral("Arial")).toUtf8();
    std::memset(m_settings.textInfo.font.lfFaceName, 0, sizeof(m_settings.textInfo.font.lfFaceName));
    std::strncpy(m_settings.textInfo.font.lfFaceName, face.constData(), sizeof(m_settings.textInfo.font.lfFaceName) - 1);
    m_settings.textInfo.font.lfCharSet =
        static_cast<uint8_t>(GetProfileInt(kTextTool, QStringLiteral("lfCharSet"), 238));
    m_settings.textInfo.font.lfWeight = GetProfileInt(kTextTool, QStringLiteral("lfWeight"), 0);
    m_settings.textInfo.font.lfItalic = static_cast<uint8_t>(GetProfileInt(kTextTool, QStringLiteral("lfItalic"), 0));
    m_settings.textInfo.font.lfUnderline =
        static_cast<uint8_t>(GetProfileInt(kTextTool, QStringLiteral("lfUnderline"), 0));
    m_settings.textInfo.textColor =
        static_cast<vimg::COLORREF>(GetProfileInt(kTextTool, QStringLiteral("fcolor"), 0xA0FFFF));
    m_settings.textInfo.backColor =
        static_cast<vimg::COLORREF>(GetProfileInt(kTextTool, QStringLiteral("bcolor"), 0x6020));
    m_settings.textInfo.opaque = static_cast<uint8_t>(GetProfileInt(kTextTool, QStringLiteral("opaque"), 1));
    m_settings.textInfo.backOpacity =
        static_cast<float>(GetProfileInt(kTextTool, QStringLiteral("opacity"), 0)) * 0.01f;
    m_settings.textInfo.backRound = static_cast<uint8_t>(GetProfileInt(kTextTool, QStringLiteral("roundradius"), 25));
    m_settings.jpegQuality = GetProfileInt(kOptions, QStringLiteral("JpegQuality"), 90);
}

void CKXViewApp::SaveSettings() {
    WriteProfileString(kTextTool, QStringLiteral("lfFaceName"),
                       QString::fromUtf8(m_settings.textInfo.font.lfFaceName));
    WriteProfileInt(kTextTool, QStringLiteral("lfCharSet"), m_settings.textInfo.font.lfCharSet);
    WriteProfileInt(kTextTool, QStringLiteral("lfWeight"), m_settings.textInfo.font.lfWeight);
    WriteProfileInt(kTextTool, QStringLiteral("lfItalic"), m_settings.textInfo.font.lfItalic);
    WriteProfileInt(kTextTool, QStringLiteral("lfUnderline"), m_settings.textInfo.font.lfUnderline);
    WriteProfileInt(kTextTool, QStringLiteral("fcolor"), static_cast<int>(m_settings.textInfo.textColor));
    WriteProfileInt(kTextTool, QStringLiteral("bcolor"), static_cast<int>(m_settings.textInfo.backColor));
    // Rounded: 0.37f * 100 is 36.99..., which truncation would store as 36.
    WriteProfileInt(kTextTool, QStringLiteral("opacity"),
                    static_cast<int>(std::lround(m_settings.textInfo.backOpacity * 100.0f)));
    WriteProfileInt(kTextTool, QStringLiteral("roundradius"), m_settings.textInfo.backRound);
    WriteProfileInt(kOptions, QStringLiteral("JpegQuality"), m_settings.jpegQuality);
}

void CKXViewApp::SelectImageTab() {
    if (CMainFrame* frame = MainFrame()) frame->SelectTab(1);
}

void CKXViewApp::OnFileNew() {
    SelectImageTab();
    CWinApp::OnFileNew();
}

void CKXViewApp::OnFileOpen() {
    SelectImageTab();
    // Starts where the last picture was opened from.
    const QString folder = GetProfileString(QStringLiteral("Settings"), QStringLiteral("OpenFolder"), QString());
    const QStringList paths = CImageFileDialog::PromptForFilesToOpen(m_pMainWnd, folder);
    if (paths.isEmpty()) return;
    WriteProfileString(QStringLiteral("Settings"), QStringLiteral("OpenFolder"),
                       QFileInfo(paths.constFirst()).absolutePath());
    for (const QString& path : paths)
        OpenDocumentFile(path);
}

void CKXViewApp::OnAppAbout() {
    CAboutDlg dlg(m_pMainWnd);
    dlg.exec();
}

QPrinter& CKXViewApp::Printer() {
    // Made on first use: asking the print system for its printers takes time.
    if (!m_pPrinter) m_pPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_pPrinter;
}

void CKXViewApp::OnFilePrintSetup() {
    QPageSetupDialog dlg(&Printer(), m_pMainWnd);
    dlg.exec();
}

bool CKXViewApp::PrintFiles(const QStringList& paths) {
    QPrinter& printer = Printer();
    // Without any printer Qt falls back to a PDF writer with no file to write.
    if (!printer.isValid() || (printer.printerName().isEmpty() && printer.outputFileName().isEmpty())) {
        QMessageBox::warning(
            m_pMainWnd, QStringLiteral("Vistorel"),
            QCoreApplication::translate("KXViewApp", "Kein Drucker eingerichtet: nichts wurde gedruckt."));
        return false;
    }
    bool all = true;
    for (const QString& path : paths) {
        // The document reports a file it cannot open itself.
        auto* doc = dynamic_cast<CKXViewDoc*>(m_pDocTemplate->OpenDocumentFile(path, false));
        if (!doc) {
            all = false;
            continue;
        }
        const vimg::Image* image = doc->GetImage();
        QString error;
        if (!CImagePrinter::Print(printer, doc->FirstView()->PictureAtNaturalSize(),
                                  QSize(image->GetXDPI(), image->GetYDPI()), doc->GetTitle(), &error)) {
            QMessageBox::warning(m_pMainWnd, QStringLiteral("Vistorel"),
                                 QCoreApplication::translate("KXViewApp", "\"%1\" wurde nicht gedruckt:\n%2")
                                     .arg(QDir::toNativeSeparators(path), error));
            all = false;
        }
        doc->OnCloseDocument();
    }
    return all;
}
