// Helpers for the application tests: a started program on a private profile
// and small image files.
#pragma once

#include <memory>

#include <QString>
#include <QStringList>
#include <QTimer>

#include "KXViewApp.h"
#include "MainFrame.h"
#include "TestSupport.h"

class QMdiArea;

namespace apptest {

// Writes a small 24-bit BMP and returns its path.
QString WriteBmp(const testsupport::TempDir& dir, const std::string& name, int width = 8, int height = 6);

// A program started with `args` on the profile in `dir`.
struct StartedApp {
    explicit StartedApp(const testsupport::TempDir& dir, const QStringList& args = {});
    QString profilePath;
    std::unique_ptr<CKXViewApp> app;
    bool started = false;
    CMainFrame* frame() const { return app->MainFrame(); }
};

// Closes every message box as it comes up and keeps its text; also notes how
// many document windows `area` showed meanwhile.
class MessageBoxCatcher {
public:
    explicit MessageBoxCatcher(QMdiArea* area = nullptr);
    QStringList texts;
    qsizetype mostWindowsSeen = 0;

private:
    QTimer m_timer;
};

} // namespace apptest
