// The command line under a full disk and with bad input: non-zero exit, a text
// naming the cause, the old output untouched and nothing left beside it.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using testsupport::Quote;

namespace {

std::string Cli(const std::string& args) { return std::string(VISTOREL_CLI) + " " + args + " 2>&1"; }

const std::vector<uint8_t> kOld = {'k', 'e', 'e', 'p', '\n'};

class SafeWriteCli : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testsupport::HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
        src = dir.file("src.bmp");
        ASSERT_EQ(testsupport::Run(testsupport::Convert() +
                                   " -seed 3 -size 400x300 plasma: -type truecolor BMP3:" + Quote(src)),
                  0);
    }
    size_t Entries() const {
        return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir.path()),
                                                 std::filesystem::directory_iterator()));
    }
    testsupport::TempDir dir;
    std::string src;
};

} // namespace

TEST_F(SafeWriteCli, FileSizeLimitFailsEveryWriterAndKeepsTheOldFile) {
    // Limits in 1 KiB blocks: 8 cuts every format short near its start, 0 stands
    // for the last whole block below the full size (a write failing at the very end).
    const struct {
        std::string command, output, options;
        int blocks;
    } cases[] = {{"convert", "out.tif", "", 8},          {"convert", "out.tif", "", 0},
                 {"convert", "out.png", "", 8},          {"convert", "out.jpg", "", 8},
                 {"convert", "out.gif", "", 8},          {"convert", "out.bmp", "", 8},
                 {"convert", "out.tga", "", 8},          {"convert", "out.jp2", "", 8},
                 {"convert", "pages.tif", " --multipage", 8}, {"rgba", "out.rgba", "", 8}};
    for (const auto& c : cases) {
        const std::string out = dir.file(c.output);
        testsupport::WriteFile(out, kOld);
        const size_t entries = Entries();
        const std::string inputs = c.options.empty() ? Quote(src) : Quote(src) + " " + Quote(src);
        int blocks = c.blocks;
        if (blocks == 0) {
            const std::string full = dir.file("full-" + c.output);
            ASSERT_EQ(testsupport::Run(Cli(c.command + " " + inputs + " " + Quote(full) + c.options)), 0);
            blocks = static_cast<int>((std::filesystem::file_size(full) - 1) / 1024);
            std::filesystem::remove(full);
            ASSERT_GT(blocks, 8);
        }
        const std::string run =
            "bash -c " + Quote("trap '' XFSZ; ulimit -f " + std::to_string(blocks) + "; " +
                               Cli(c.command + " " + inputs + " " + Quote(out) + c.options));
        std::string text;
        EXPECT_EQ(testsupport::Run(run, &text), 1) << c.output << " " << blocks << ": " << text;
        EXPECT_NE(text.find("cannot write '" + out + "': File too large"), std::string::npos) << text;
        EXPECT_EQ(testsupport::ReadFile(out), kOld) << c.output << " " << blocks;
        EXPECT_EQ(Entries(), entries) << c.output << ": a temporary file was left";
    }
}

TEST_F(SafeWriteCli, RefusedSaveKeepsTheOldFile) {
    const std::string out = dir.file("old.wbmp");
    testsupport::WriteFile(out, kOld);
    std::string text;
    EXPECT_EQ(testsupport::Run(Cli("convert " + Quote(src) + " " + Quote(out)), &text), 1);
    EXPECT_NE(text.find("Can't save this image as WBMP"), std::string::npos) << text;
    EXPECT_EQ(testsupport::ReadFile(out), kOld);
}

TEST_F(SafeWriteCli, FailuresSayWhatAndWhere) {
    const std::string gif = dir.file("two.gif"), ico = dir.file("one.ico"), out = dir.file("out.bmp");
    ASSERT_EQ(testsupport::Run(testsupport::Convert() + " -size 8x8 xc:red xc:blue " + Quote(gif)), 0);
    ASSERT_EQ(testsupport::Run(testsupport::Convert() + " -size 16x16 xc:red " + Quote(ico)), 0);
    const std::pair<std::string, std::string> cases[] = {
        {"convert " + Quote(gif) + " " + Quote(out) + " --frame 99",
         "GIF: there is no frame 99 (the file holds 2)"},
        {"convert " + Quote(ico) + " " + Quote(out) + " --frame 99",
         "ICO: there is no image 99 (the file holds 1)"},
        {"convert " + Quote(dir.path().string()) + " " + Quote(out),
         "cannot read '" + dir.path().string() + "': it is a folder"},
        {"process " + Quote(src) + " " + Quote(out) + " Resample:100000,100000",
         "Resample: IMAGE_MAX_MEMORY exceeded: 100000 x 100000 at 24 bits needs 30000000000 bytes"},
        {"process " + Quote(src) + " " + Quote(out) + " Expand:10,10,#000000",
         "Expand: the new size is smaller than the image"},
    };
    for (const auto& [args, expected] : cases) {
        std::string text;
        EXPECT_EQ(testsupport::Run(Cli(args), &text), 1) << args;
        EXPECT_NE(text.find(expected), std::string::npos) << args << "\n" << text;
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}
