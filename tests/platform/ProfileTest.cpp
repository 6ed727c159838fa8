#include <cstdlib>

#include <QFile>

#include <gtest/gtest.h>

#include "Profile.h"
#include "TestSupport.h"

TEST(Profile, LivesUnderXdgConfigHomeAndRoundTripsEntries) {
    testsupport::TempDir dir;
    setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
    const QString expected = QString::fromStdString(dir.file("Vistorel/Vistorel.ini"));
    EXPECT_EQ(CProfile::StandardPath(), expected);
    {
        CProfile p;
        EXPECT_EQ(p.GetProfileInt("Options", "JpegQuality", 90), 90);
        EXPECT_EQ(p.GetProfileString("TextTool", "lfFaceName", "Arial"), "Arial");
        p.WriteProfileInt("Options", "JpegQuality", 75);
        p.WriteProfileInt("Screen", "left", -20);
        p.WriteProfileString("TextTool", "lfFaceName", "DejaVu Sans");
        p.WriteProfileBinary("NormalLayout", "State", QByteArray("\0\1\2layout", 9));
    }
    ASSERT_TRUE(QFile::exists(expected));
    CProfile p;
    EXPECT_EQ(p.GetProfileInt("Options", "JpegQuality", 90), 75);
    EXPECT_EQ(p.GetProfileInt("Screen", "left", 0), -20);
    EXPECT_EQ(p.GetProfileString("TextTool", "lfFaceName", "Arial"), "DejaVu Sans");
    EXPECT_EQ(p.GetProfileBinary("NormalLayout", "State"), QByteArray("\0\1\2layout", 9));
}

TEST(Profile, DamagedEntriesFallBackToDefaults) {
    testsupport::TempDir dir;
    const std::string ini = dir.file("v.ini");
    testsupport::WriteFile(ini, std::vector<uint8_t>{});
    {
        QFile f(QString::fromStdString(ini));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Options]\nJpegQuality=ninety\n[NormalLayout]\nState=***\n");
    }
    CProfile p(QString::fromStdString(ini));
    EXPECT_EQ(p.GetProfileInt("Options", "JpegQuality", 90), 90);
    EXPECT_TRUE(p.GetProfileBinary("NormalLayout", "State").isEmpty());
}
