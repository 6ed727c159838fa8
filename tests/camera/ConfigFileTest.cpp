#include <filesystem>
#include <fstream>

#include <QFile>

#include <gtest/gtest.h>

#include "ConfigFile.h"
#include "TestSupport.h"

namespace {

class Config : public testing::Test {
protected:
    void Write(const std::string& text) { std::ofstream(path) << text; }
    testsupport::TempDir dir;
    std::string path = dir.file("KxConfig.xml");
    CConfigFile config{QString::fromStdString(path)};
};

TEST_F(Config, WrittenValueReadsBackAndTheFileHasOneItem) {
    EXPECT_EQ(config.Read(QStringLiteral("CapturePath")), QString()); // no file yet
    ASSERT_TRUE(config.Write(QStringLiteral("CapturePath"), QStringLiteral("/data/Mikroskop & Bilder/")));
    EXPECT_EQ(config.Read(QStringLiteral("CapturePath")), QStringLiteral("/data/Mikroskop & Bilder/"));
    EXPECT_EQ(config.Read(QStringLiteral("capturepath")), QString()); // keys are exact
    std::string text;
    testsupport::Run("cat " + testsupport::Quote(path), &text);
    EXPECT_NE(text.find("<Vistorel>"), std::string::npos);
    EXPECT_NE(text.find("val=\"/data/Mikroskop &amp; Bilder/\""), std::string::npos);
    ASSERT_TRUE(config.Write(QStringLiteral("CapturePath"), QStringLiteral("/b")));
    EXPECT_EQ(config.Read(QStringLiteral("CapturePath")), QStringLiteral("/b"));
}

TEST_F(Config, ItemsInAnotherOrderAndSeveralAttributes) {
    Write("<?xml version=\"1.0\"?>\n<Vistorel>\n"
          "  <ConfigItem val=\"x\">Other</ConfigItem>\n"
          "  <!-- comment -->\n"
          "  <ConfigItem first=\"/pictures/one\" val=\"/pictures/two\">CapturePath</ConfigItem>\n"
          "  <ConfigItem val=\"/later\">CapturePath</ConfigItem>\n"
          "</Vistorel>\n");
    EXPECT_EQ(config.Read(QStringLiteral("CapturePath")), QStringLiteral("/pictures/one"));
    EXPECT_EQ(config.Read(QStringLiteral("Other")), QStringLiteral("x"));
    EXPECT_EQ(config.Read(QStringLiteral("Missing")), QString());
    Write("<Vistorel><ConfigItem>CapturePath</ConfigItem></Vistorel>"); // no attribute
    EXPECT_EQ(config.Read(QStringLiteral("CapturePath")), QString());
}

TEST_F(Config, DamagedFilesReadAsEmpty) {
    const std::string good = "<Vistorel><ConfigItem val=\"/p\">CapturePath</ConfigItem></Vistorel>";
    for (size_t cut : {size_t(0), size_t(5), size_t(30), good.size() - 3}) {
        Write(good.substr(0, cut));
        EXPECT_EQ(config.Read(QStringLiteral("CapturePath")), QString()) << cut;
    }
    for (const std::string& bad :
         {std::string("<Vistorel><ConfigItem val=\"/p\">CapturePath</Config></Vistorel>"),
          std::string("<Vistorel><ConfigItem val=/p>CapturePath</ConfigItem></Vistorel>"),
          std::string("not xml at all"), std::string("\x00\xff\xfe<<<>>>", 9), good + "<Second/>"}) {
        Write(bad);
        EXPECT_EQ(config.Read(QStringLiteral("CapturePath")), QString()) << bad;
    }
    // Oversized files are not parsed.
    Write("<Vistorel><ConfigItem val=\"/p\">CapturePath</ConfigItem>" +
          std::string(CConfigFile::kMaxSize, ' ') + "</Vistorel>");
    EXPECT_EQ(config.Read(QStringLiteral("CapturePath")), QString());
}

TEST_F(Config, AFailedSaveKeepsTheOldFile) {
    ASSERT_TRUE(config.Write(QStringLiteral("CapturePath"), QStringLiteral("/old")));
    const std::string blocker = dir.file("file");
    std::ofstream(blocker) << "x";
    CConfigFile unwritable(
        QString::fromStdString(blocker + "/KxConfig.xml")); // a file where a folder must be
    EXPECT_FALSE(unwritable.Write(QStringLiteral("CapturePath"), QStringLiteral("/new")));
    EXPECT_EQ(config.Read(QStringLiteral("CapturePath")), QStringLiteral("/old"));
    std::filesystem::permissions(dir.path(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    if (!QFile(QString::fromStdString(dir.file("probe"))).open(QIODevice::WriteOnly)) {
        EXPECT_FALSE(config.Write(QStringLiteral("CapturePath"), QStringLiteral("/new")));
        EXPECT_EQ(config.Read(QStringLiteral("CapturePath")), QStringLiteral("/old"));
    }
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
}

} // namespace
