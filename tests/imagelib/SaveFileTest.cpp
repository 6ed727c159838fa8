// Saving never damages an existing file: refused encodings and writes cut
// short by a full disk (a file-size limit here) leave the target as it was and
// no temporary file behind, for pictures and for bytes written in one call.
#include "Image.h"
#include "SaveFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using vimg::Image;

namespace {

const std::vector<uint8_t> kOld = {'o', 'l', 'd', ' ', 'f', 'i', 'l', 'e', '\n'};

Image Picture(uint32_t w, uint32_t h, uint32_t bpp) {
    Image img(w, h, bpp);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
            img.SetPixelColor(static_cast<int32_t>(x), static_cast<int32_t>(y),
                              vimg::RGB(static_cast<uint8_t>(x * 7 + y), static_cast<uint8_t>(x ^ y),
                                        static_cast<uint8_t>(y * 3)));
    return img;
}

// Names in the folder other than the target: temporary files left over.
std::vector<std::string> Others(const testsupport::TempDir& dir, const std::string& keep) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        if (e.path().filename() != keep) names.push_back(e.path().filename().string());
    return names;
}

// Runs `save` in a child whose file-size limit stops writes at `limit` bytes
// (SIGXFSZ ignored, as a full disk would be); the child's exit status, or -1
// when it did not exit.
int InChildWithFileLimit(rlim_t limit, const std::function<int()>& save) {
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit r{limit, limit};
        setrlimit(RLIMIT_FSIZE, &r);
        _exit(save());
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

} // namespace

TEST(SaveFile, RefusedEncodingsLeaveTheOldFileIntact) {
    testsupport::TempDir dir;
    const std::string target = dir.file("target");
    Image colour = Picture(40, 30, 24), four = Picture(40, 30, 4);
    struct Case {
        Image* img;
        uint32_t type;
    } cases[] = {{&colour, vimg::FORMAT_WBMP}, {&colour, vimg::FORMAT_PGX}, {&colour, vimg::FORMAT_WMF},
                 {&four, vimg::FORMAT_TGA},    {&colour, 99}};
    for (const Case& c : cases) {
        testsupport::WriteFile(target, kOld);
        EXPECT_FALSE(c.img->Save(target.c_str(), c.type)) << c.type;
        EXPECT_NE(c.img->GetLastError()[0], '\0') << c.type;
        EXPECT_EQ(testsupport::ReadFile(target), kOld) << c.type;
        EXPECT_TRUE(Others(dir, "target").empty()) << c.type;
    }
    // Multipage files only exist as TIF and GIF.
    Image* pages[] = {&colour, &colour};
    Image multi;
    EXPECT_FALSE(multi.Save(target.c_str(), pages, 2, vimg::FORMAT_WBMP));
    EXPECT_STREQ(multi.GetLastError(), "Multipage Encode, Unsupported operation for this format");
    EXPECT_EQ(testsupport::ReadFile(target), kOld);
    EXPECT_TRUE(Others(dir, "target").empty());
}

TEST(SaveFile, ReplacesKeepingPermissionsAndLinks) {
    testsupport::TempDir dir;
    const std::string target = dir.file("pic.bmp"), link = dir.file("link.bmp");
    testsupport::WriteFile(target, kOld);
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    std::filesystem::create_symlink(target, link);
    Image img = Picture(9, 5, 24);
    ASSERT_TRUE(img.Save(link.c_str(), vimg::FORMAT_BMP)) << img.GetLastError();
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    Image back;
    ASSERT_TRUE(back.Load(target.c_str(), vimg::FORMAT_BMP));
    EXPECT_EQ(back.GetWidth(), 9u);
    struct stat st {};
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(Others(dir, "pic.bmp"), std::vector<std::string>{"link.bmp"});

    // A folder as the target: the rename fails and says so.
    std::filesystem::create_directory(dir.file("folder"));
    EXPECT_FALSE(img.Save(dir.file("folder").c_str(), vimg::FORMAT_BMP));
    EXPECT_NE(std::string(img.GetLastError()).find("cannot replace"), std::string::npos)
        << img.GetLastError();
    EXPECT_FALSE(img.Save(dir.file("missing/x.bmp").c_str(), vimg::FORMAT_BMP));
    EXPECT_NE(std::string(img.GetLastError()).find("No such file or directory"), std::string::npos);
}

// Each format is written in a child whose file-size limit stops the write a
// little before the end (SIGXFSZ ignored, as a full disk would be): Save must
// fail with the cause in its text and leave the old file and no temporary.
TEST(SaveFile, WritesCutShortFailAndKeepTheOldFile) {
    Image colour = Picture(300, 200, 24), grey = Picture(120, 90, 8), icon = Picture(48, 48, 24);
    grey.SetGrayPalette();
    struct Case {
        Image* img;
        uint32_t type;
        const char* name;
    } cases[] = {{&colour, vimg::FORMAT_BMP, "a.bmp"}, {&colour, vimg::FORMAT_GIF, "a.gif"},
                 {&colour, vimg::FORMAT_JPG, "a.jpg"}, {&colour, vimg::FORMAT_PNG, "a.png"},
                 {&colour, vimg::FORMAT_TIF, "a.tif"}, {&grey, vimg::FORMAT_TIF, "g.tif"},
                 {&colour, vimg::FORMAT_TGA, "a.tga"}, {&colour, vimg::FORMAT_PCX, "a.pcx"},
                 {&colour, vimg::FORMAT_PNM, "a.ppm"}, {&colour, vimg::FORMAT_RAS, "a.ras"},
                 {&colour, vimg::FORMAT_JP2, "a.jp2"}, {&grey, vimg::FORMAT_PGX, "a.pgx"},
                 {&icon, vimg::FORMAT_ICO, "a.ico"}};
    for (const Case& c : cases) {
        uint8_t* buffer = nullptr;
        int32_t size = 0;
        ASSERT_TRUE(c.img->Encode(buffer, size, c.type)) << c.name << ": " << c.img->GetLastError();
        Image::FreeMemory(buffer);
        const testsupport::TempDir dir;
        const std::string target = dir.file(c.name);
        for (const rlim_t limit : {static_cast<rlim_t>(size) - 40, static_cast<rlim_t>(size) / 2}) {
            testsupport::WriteFile(target, kOld);
            const int status = InChildWithFileLimit(limit, [&] {
                const bool saved = c.img->Save(target.c_str(), c.type);
                const bool named =
                    std::string(c.img->GetLastError()).find("File too large") != std::string::npos;
                return saved ? 1 : (named ? 0 : 2);
            });
            EXPECT_EQ(status, 0) << c.name << " limit " << limit << " (1: saved, 2: cause not named)";
            EXPECT_EQ(testsupport::ReadFile(target), kOld) << c.name;
        }
        EXPECT_TRUE(Others(dir, c.name).empty()) << c.name << ": temporary file left";
    }
}

// The one-call writer that stills, palettes, measurement data, CSV exports and
// the configuration file use: the old content stays whenever any byte is
// missing, and no temporary file is left either way.
TEST(SaveFile, WriteAllReplacesOnlyAWholeFile) {
    testsupport::TempDir dir;
    const std::string target = dir.file("data.json");
    std::vector<uint8_t> bytes(100000);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 31 + (i >> 8));

    for (const rlim_t limit : {rlim_t{0}, rlim_t{4096}, static_cast<rlim_t>(bytes.size()) - 1}) {
        testsupport::WriteFile(target, kOld);
        const int status = InChildWithFileLimit(limit, [&] {
            std::string problem;
            const bool written =
                vimg::SaveFile::WriteAll(target.c_str(), bytes.data(), bytes.size(), &problem);
            if (written) return 1;
            return problem == "cannot write '" + target + "': File too large" ? 0 : 2;
        });
        EXPECT_EQ(status, 0) << "limit " << limit << " (1: written, 2: cause not named)";
        EXPECT_EQ(testsupport::ReadFile(target), kOld) << limit;
        EXPECT_TRUE(Others(dir, "data.json").empty()) << limit << ": temporary file left";
    }

    std::string problem;
    ASSERT_TRUE(vimg::SaveFile::WriteAll(target.c_str(), bytes.data(), bytes.size(), &problem)) << problem;
    EXPECT_EQ(testsupport::ReadFile(target), bytes);
    ASSERT_TRUE(vimg::SaveFile::WriteAll(target.c_str(), nullptr, 0, &problem)) << problem;
    EXPECT_TRUE(testsupport::ReadFile(target).empty());
    EXPECT_TRUE(Others(dir, "data.json").empty());

    const std::string missing = dir.file("no/such/folder.json");
    EXPECT_FALSE(vimg::SaveFile::WriteAll(missing.c_str(), bytes.data(), bytes.size(), &problem));
    EXPECT_EQ(problem, "cannot create a temporary file beside '" + missing + "': No such file or directory");
}
