#include "AppTestSupport.h"

#include <QApplication>
#include <QMdiArea>
#include <QMessageBox>

#include "Image.h"

namespace apptest {

QString WriteBmp(const testsupport::TempDir& dir, const std::string& name, int width, int height) {
    vimg::Image image(static_cast<uint32_t>(width), static_cast<uint32_t>(height), 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.SetPixelColor(x, y,
                                vimg::RGB(static_cast<uint8_t>(x * 30), static_cast<uint8_t>(y * 40), 90));
    const std::string path = dir.file(name);
    image.Save(path.c_str(), vimg::FORMAT_BMP);
    return QString::fromStdString(path);
}

StartedApp::StartedApp(const testsupport::TempDir& dir, const QStringList& args)
    : profilePath(QString::fromStdString(dir.file("Vistorel.ini"))),
      app(std::make_unique<CKXViewApp>(profilePath)) {
    started = app->InitInstance(args);
    QCoreApplication::processEvents();
}

MessageBoxCatcher::MessageBoxCatcher(QMdiArea* area) {
    QObject::connect(&m_timer, &QTimer::timeout, [this, area] {
        if (area) mostWindowsSeen = qMax(mostWindowsSeen, area->subWindowList().size());
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            texts << box->text();
            box->close();
        }
    });
    m_timer.start(10);
}

} // namespace apptest
