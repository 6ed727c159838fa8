#include "KXViewApp.h"

#include <cmath>
#include <cstring>

#include <QMdiArea>
#include <QPageSetupDialog>
#include <QPrinter>

#include "AboutDlg.h"
#include "ChildFrame.h"
#include "AppLog.h"
#include "CmdUI.h"
#include "CommandLineInfo.h"
#include "Image.h"
#include "ImageFileDialog.h"
#include "KXViewDoc.h"
#include "KXViewView.h"
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
    vimg::Image::InitTextInfo(&m_textInfo);
    OnCommand(ID_FILE_NEW, [this] { OnFileNew(); });
    OnCommand(ID_FILE_OPEN, [this] { OnFileOpen(); });
    OnCommandRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_LAST, [this](int id) {
        SelectImageTab();
        OnOpenRecentFile(id);
    });
    OnUpdateCommandRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_LAST, [this](CCmdUI* ui) {
        ui->Enable(GetRecentFileList() && ui->m_nID - ID_FILE_MRU_FILE1 < GetRecentFileList()->GetCount());
    });
    OnCommand(ID_CLOSE_ALL, [this] { CloseAllDocuments(); });
    OnCommand(ID_APP_ABOUT, [this] { OnAppAbout(); });
    OnCommand(ID_FILE_PRINT_SETUP, [this] { OnFilePrintSetup(); });
    OnCommand(ID_APP_EXIT, [this] {
        if (m_pMainWnd) m_pMainWnd->close();
    });
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
        IDR_MAINFRAME, QStringLiteral("Vistorel"), [] { return new CKXViewDoc; },
        [] { return new CChildFrame; }, [] { return new CKXViewView; });
    AddDocTemplate(m_pDocTemplate);

    qCDebug(lcApp) << "start-up: main frame";
    auto* frame = new CMainFrame;
    m_pMainWnd = frame;
    if (!frame->LoadFrame()) {
        qCWarning(lcApp) << "the main frame could not be created";
        return false;
    }
    m_pDocTemplate->SetMdiArea(frame->MdiArea());

    qCDebug(lcApp) << "start-up: command line";
    CCommandLineInfo cmdInfo;
    cmdInfo.ParseCommandLine(args);
    if (!ProcessShellCommand(cmdInfo)) return false;

    qCDebug(lcApp) << "start-up: text tool";
    vimg::Image::InitTextInfo(&m_textInfo);
    LoadTextToolSettings();

    qCDebug(lcApp) << "start-up: show window";
    if (GetProfileInt(QStringLiteral("Screen"), QStringLiteral("maximized"), 0))
        frame->showMaximized();
    else
        frame->show();
    frame->setAcceptDrops(true);

    // A file named on the command line is only activated here: it is open already.
    if (!cmdInfo.m_strFileName.isEmpty()) OpenDocumentFile(cmdInfo.m_strFileName);
    qCDebug(lcApp) << "start-up: done";
    return true;
}

int CKXViewApp::ExitInstance() { return CWinApp::ExitInstance(); }

CDocument* CKXViewApp::OpenDocumentFile(const QString& path) {
    SelectImageTab();
    return CWinApp::OpenDocumentFile(path);
}

void CKXViewApp::LoadTextToolSettings() {
    const QByteArray face =
        GetProfileString(kTextTool, QStringLiteral("lfFaceName"), QStringLiteral("Arial")).toUtf8();
    std::memset(m_textInfo.font.lfFaceName, 0, sizeof(m_textInfo.font.lfFaceName));
    std::strncpy(m_textInfo.font.lfFaceName, face.constData(), sizeof(m_textInfo.font.lfFaceName) - 1);
    m_textInfo.font.lfCharSet = static_cast<uint8_t>(GetProfileInt(kTextTool, QStringLiteral("lfCharSet"), 238));
    m_textInfo.font.lfWeight = GetProfileInt(kTextTool, QStringLiteral("lfWeight"), 0);
    m_textInfo.font.lfItalic = static_cast<uint8_t>(GetProfileInt(kTextTool, QStringLiteral("lfItalic"), 0));
    m_textInfo.font.lfUnderline = static_cast<uint8_t>(GetProfileInt(kTextTool, QStringLiteral("lfUnderline"), 0));
    m_textInfo.textColor = static_cast<vimg::COLORREF>(GetProfileInt(kTextTool, QStringLiteral("fcolor"), 0xA0FFFF));
    m_textInfo.backColor = static_cast<vimg::COLORREF>(GetProfileInt(kTextTool, QStringLiteral("bcolor"), 0x6020));
    m_textInfo.opaque = static_cast<uint8_t>(GetProfileInt(kTextTool, QStringLiteral("opaque"), 1));
    m_textInfo.backOpacity = static_cast<float>(GetProfileInt(kTextTool, QStringLiteral("opacity"), 0)) * 0.01f;
    m_textInfo.backRound = static_cast<uint8_t>(GetProfileInt(kTextTool, QStringLiteral("roundradius"), 25));
    m_jpegQuality = GetProfileInt(kOptions, QStringLiteral("JpegQuality"), 90);
}

void CKXViewApp::SaveSettings() {
    WriteProfileString(kTextTool, QStringLiteral("lfFaceName"), QString::fromUtf8(m_textInfo.font.lfFaceName));
    WriteProfileInt(kTextTool, QStringLiteral("lfCharSet"), m_textInfo.font.lfCharSet);
    WriteProfileInt(kTextTool, QStringLiteral("lfWeight"), m_textInfo.font.lfWeight);
    WriteProfileInt(kTextTool, QStringLiteral("lfItalic"), m_textInfo.font.lfItalic);
    WriteProfileInt(kTextTool, QStringLiteral("lfUnderline"), m_textInfo.font.lfUnderline);
    WriteProfileInt(kTextTool, QStringLiteral("fcolor"), static_cast<int>(m_textInfo.textColor));
    WriteProfileInt(kTextTool, QStringLiteral("bcolor"), static_cast<int>(m_textInfo.backColor));
    // Rounded: 0.37f * 100 is 36.99..., which truncation would store as 36.
    WriteProfileInt(kTextTool, QStringLiteral("opacity"), static_cast<int>(std::lround(m_textInfo.backOpacity * 100.0f)));
    WriteProfileInt(kTextTool, QStringLiteral("roundradius"), m_textInfo.backRound);
    WriteProfileInt(kOptions, QStringLiteral("JpegQuality"), m_jpegQuality);
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
    QString path;
    int format = -1;
    if (!CImageFileDialog::PromptForFileName(m_pMainWnd, path,
                                             CImageFileDialog::OFN_FILEMUSTEXIST | CImageFileDialog::OFN_HIDEREADONLY,
                                             true, format))
        return;
    OpenDocumentFile(path);
}

void CKXViewApp::OnAppAbout() {
    CAboutDlg dlg(m_pMainWnd);
    dlg.exec();
}

void CKXViewApp::OnFilePrintSetup() {
    QPrinter printer;
    QPageSetupDialog dlg(&printer, m_pMainWnd);
    dlg.exec();
}
