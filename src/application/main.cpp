// Starts Vistorel. Besides files to open, the program takes the options that
// `vistorel --help` lists (CCommandLineInfo::Usage):
//   --screenshot FILE   save a picture of the main window after start-up and quit
//   --mode camera|image switch to that working mode after start-up
//   --preview           start the first camera's live picture (camera mode)
//   --help, --version   print and end, without opening a window (no display needed)
#include <cstdio>

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include "AppLog.h"
#include "CameraControl.h"
#include "CommandLineInfo.h"
#include "KXViewApp.h"
#include "LanguageChoice.h"
#include "MainFrame.h"
#include "Profile.h"
#include "QtRenderers.h"
#include "Resource.h"

namespace {

void SetNames() {
    QCoreApplication::setApplicationName(QStringLiteral("Vistorel"));
    QCoreApplication::setOrganizationName(QStringLiteral("Vistorel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VISTOREL_VERSION));
}

// Help and version need no display: a core application carries the catalogue.
int PrintAndEnd(int argc, char* argv[], const CCommandLineInfo& cmdInfo) {
    QCoreApplication core(argc, argv);
    SetNames();
    CLanguageChoice language;
    language.Install(CLanguageChoice::Chosen(CProfile()));
    const QString text = cmdInfo.m_showHelp
                             ? CCommandLineInfo::Usage()
                             : QStringLiteral("Vistorel %1\n").arg(QStringLiteral(VISTOREL_VERSION));
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    CCommandLineInfo cmdInfo;
    cmdInfo.ParseCommandLine(args);
    if (cmdInfo.m_showHelp || cmdInfo.m_showVersion) return PrintAndEnd(argc, argv, cmdInfo);

    QApplication qapp(argc, argv);
    SetNames();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/vistorel.png")));
    vimg::display::RegisterQtRenderers();
    // The language is chosen once, before the first window: "Ansicht > Sprache" takes effect at the next
    // start.
    CLanguageChoice language;
    if (!language.Install(CLanguageChoice::Chosen(CProfile())))
        qCWarning(lcApp) << "a catalogue of the chosen language could not be loaded";

    // Again without the options Qt took for itself (-platform, -style, ...).
    cmdInfo.ParseCommandLine(QApplication::arguments().mid(1));
    CKXViewApp app;
    if (!app.InitInstance(QApplication::arguments().mid(1))) return app.ExitInstance();
    CMainFrame* frame = app.MainFrame();
    if (cmdInfo.m_mode == QLatin1String("camera")) frame->ExecuteCommand(ID_MODE_CAMERA);
    if (cmdInfo.m_mode == QLatin1String("image")) frame->ExecuteCommand(ID_MODE_IMAGE);
    if (cmdInfo.m_preview) {
        frame->ExecuteCommand(ID_MODE_CAMERA);
        if (!frame->CameraControl()->StartFirstCamera())
            qCWarning(lcApp) << "no camera preview could be started";
    }

    const QString screenshot = cmdInfo.m_screenshot;
    if (!screenshot.isEmpty()) {
        QTimer::singleShot(1500, frame, [frame, screenshot] {
            frame->UpdateAllCommandUI();
            const bool saved = frame->grab().save(screenshot);
            if (saved)
                qCInfo(lcApp) << "screenshot saved to" << screenshot;
            else
                qCWarning(lcApp) << "screenshot could not be saved to" << screenshot;
            frame->close();
            QApplication::exit(saved ? 0 : 1);
        });
    }
    const int result = QApplication::exec();
    app.ExitInstance();
    return result;
}
