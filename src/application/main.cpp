// Starts Vistorel. Besides files to open, the program takes
//   --screenshot FILE   save a picture of the main window after start-up and quit
//   --mode camera|image switch to that working mode after start-up
//   --preview           start the first camera's live picture (camera mode)
#include <QApplication>
#include <QIcon>
#include <QTimer>

#include "AppLog.h"
#include "CameraControl.h"
#include "KXViewApp.h"
#include "MainFrame.h"
#include "QtRenderers.h"
#include "Resource.h"

int main(int argc, char* argv[]) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vistorel"));
    QApplication::setOrganizationName(QStringLiteral("Vistorel"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/vistorel.png")));
    vimg::display::RegisterQtRenderers();

    QStringList args = QApplication::arguments().mid(1);
    QString screenshot;
    QString mode;
    const bool preview = args.removeAll(QStringLiteral("--preview")) > 0;
    for (qsizetype i = 0; i + 1 < args.size();) {
        if (args[i] == QLatin1String("--screenshot")) {
            screenshot = args[i + 1];
            args.remove(i, 2);
        } else if (args[i] == QLatin1String("--mode")) {
            mode = args[i + 1];
            args.remove(i, 2);
        } else {
            ++i;
        }
    }

    CKXViewApp app;
    if (!app.InitInstance(args)) return app.ExitInstance();
    CMainFrame* frame = app.MainFrame();
    if (mode == QLatin1String("camera")) frame->ExecuteCommand(ID_MODE_CAMERA);
    if (mode == QLatin1String("image")) frame->ExecuteCommand(ID_MODE_IMAGE);
    if (preview) {
        frame->ExecuteCommand(ID_MODE_CAMERA);
        if (!frame->CameraControl()->StartFirstCamera())
            qCWarning(lcApp) << "no camera preview could be started";
    }

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
