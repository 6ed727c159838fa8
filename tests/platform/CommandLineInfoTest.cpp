// The start-up options: values taken with their option, files after "--",
// and nothing left over from an earlier parse.
#include <gtest/gtest.h>

#include "CommandLineInfo.h"

TEST(CommandLine, OptionsTakeTheirValuesAndEverythingAfterTwoDashesIsAFile) {
    CCommandLineInfo info;
    info.ParseCommandLine({"--screenshot", "shot.png", "a.bmp", "--mode", "camera", "--preview", "--", "-b.bmp",
                           "--help"});
    EXPECT_EQ(info.m_fileNames, QStringList({"a.bmp", "-b.bmp", "--help"}));
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(info.m_screenshot, "shot.png");
    EXPECT_EQ(info.m_mode, "camera");
    EXPECT_TRUE(info.m_preview);
    EXPECT_FALSE(info.m_showHelp);

    info.ParseCommandLine({"-h", "--mode"}); // an option at the end without its value is ignored
    EXPECT_TRUE(info.m_showHelp);
    EXPECT_FALSE(info.m_showVersion);
    EXPECT_TRUE(info.m_fileNames.isEmpty());
    EXPECT_TRUE(info.m_mode.isEmpty() && info.m_screenshot.isEmpty() && !info.m_preview);
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileNew);

    info.ParseCommandLine({"--version"});
    EXPECT_TRUE(info.m_showVersion && !info.m_showHelp);
}
