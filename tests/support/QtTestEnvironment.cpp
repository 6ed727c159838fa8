// Linked into the GUI test programs: one QApplication for the whole run and a
// private home and configuration folder, so no test touches the user's files.
#include <cstdlib>
#include <memory>

#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace {

class QtEnvironment : public testing::Environment {
public:
    void SetUp() override {
        m_config = std::make_unique<testsupport::TempDir>();
        setenv("XDG_CONFIG_HOME", m_config->path().c_str(), 1);
        setenv("HOME", m_config->path().c_str(), 1); // the capture folder lands here too
        setenv("XDG_DATA_HOME", (m_config->path() / "data").c_str(), 1); // the desktop's recent files
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
        // Numbers as the files write them, whatever the machine's locale; tests of the
        // shown numbers set the locale they check.
        QLocale::setDefault(QLocale::c());
    }
    void TearDown() override {
        m_app.reset();
        m_config.reset();
    }

private:
    int m_argc = 1;
    char m_name[16] = "vistorel-tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<testsupport::TempDir> m_config;
    std::unique_ptr<QApplication> m_app;
};

const auto* const g_env = testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace
