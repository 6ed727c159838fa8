// Palette files: the RIFF layout byte by byte (and as Python's own RIFF chunk
// reader sees it), loading RIFF and JASC palettes into tables of another
// size, the messages, and damaged files.
#include <array>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "PaletteFile.h"
#include "TestSupport.h"

using Message = CPaletteFile::Message;
using vimg::RGBQUAD;

namespace {

std::array<RGBQUAD, 256> Ramp(int salt) {
    std::array<RGBQUAD, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[i] = RGBQUAD{static_cast<uint8_t>(i * 3 + salt), static_cast<uint8_t>(i ^ salt),
                       static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 7 + 1)};
    return t;
}

CPaletteFile::LoadResult LoadBytes(const std::vector<uint8_t>& bytes, RGBQUAD* table, int count) {
    return CPaletteFile::Load(bytes.data(), bytes.size(), table, count);
}

CPaletteFile::LoadResult LoadText(const std::string& text, RGBQUAD* table, int count) {
    return CPaletteFile::Load(reinterpret_cast<const uint8_t*>(text.data()), text.size(), table, count);
}

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

TEST(PaletteFile, SixteenEntriesSaveToNinetyTwoBytesWithBothSizeFields) {
    const auto table = Ramp(5);
    const std::vector<uint8_t> file = CPaletteFile::Save(table.data(), 16);
    ASSERT_EQ(file.size(), 92u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "RIFF");
    EXPECT_EQ(U32(file, 4), 84u);
    EXPECT_EQ(std::string(file.begin() + 8, file.begin() + 16), "PAL data");
    EXPECT_EQ(U32(file, 16), 72u);
    EXPECT_EQ(file[20], 0x00);
    EXPECT_EQ(file[21], 0x03);
    EXPECT_EQ(file[22] | file[23] << 8, 16);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(file[24 + 4 * i], table[i].rgbRed) << i;
        EXPECT_EQ(file[25 + 4 * i], table[i].rgbGreen) << i;
        EXPECT_EQ(file[26 + 4 * i], table[i].rgbBlue) << i;
        EXPECT_EQ(file[27 + 4 * i], table[i].rgbReserved) << i;
    }
    EXPECT_EQ(U32(file, 88), 0u);
    EXPECT_EQ(CPaletteFile::Save(table.data(), 0).size(), 28u);
    EXPECT_EQ(CPaletteFile::Save(table.data(), 256).size(), 4u * 256 + 28);
}

// Python's chunk module parses the file as a RIFF form on its own terms.
TEST(PaletteFile, PythonsRiffReaderFindsThePaletteInTheDataChunk) {
    testsupport::TempDir dir;
    const auto table = Ramp(9);
    const std::string path = dir.file("t.pal");
    testsupport::WriteFile(path, CPaletteFile::Save(table.data(), 200));
    const std::string script = R"(
import chunk, sys, warnings
warnings.simplefilter('ignore')
f = open(sys.argv[1], 'rb')
riff = chunk.Chunk(f, bigendian=False)
assert riff.getname() == b'RIFF', riff.getname()
assert riff.read(4) == b'PAL '
data = chunk.Chunk(riff, bigendian=False)
assert data.getname() == b'data'
body = data.read()
version = int.from_bytes(body[0:2], 'little'); count = int.from_bytes(body[2:4], 'little')
print(hex(version), count, len(body), riff.getsize(), end=' ')
print(' '.join('%d,%d,%d,%d' % tuple(body[4 + 4 * i:8 + 4 * i]) for i in range(count)))
)";
    testsupport::WriteFile(dir.file("read.py"), std::vector<uint8_t>(script.begin(), script.end()));
    std::string out;
    ASSERT_EQ(testsupport::Run("/usr/bin/python3 " + testsupport::Quote(dir.file("read.py")) + " " +
                                   testsupport::Quote(path),
                               &out),
              0)
        << out;
    std::string expected = "0x300 200 808 820 ";
    for (int i = 0; i < 200; ++i)
        expected += std::to_string(table[i].rgbRed) + "," + std::to_string(table[i].rgbGreen) + "," +
                    std::to_string(table[i].rgbBlue) + "," + std::to_string(table[i].rgbReserved) +
                    (i < 199 ? " " : "");
    EXPECT_EQ(out.substr(0, out.find_last_not_of('\n') + 1), expected);
}

TEST(PaletteFile, RiffRoundTripKeepsEveryEntryWithItsAlpha) {
    const auto saved = Ramp(3);
    std::array<RGBQUAD, 256> loaded{};
    const auto result = LoadBytes(CPaletteFile::Save(saved.data(), 256), loaded.data(), 256);
    EXPECT_TRUE(result.changed);
    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(loaded, saved);
}

TEST(PaletteFile, RiffOfOtherSizeWarnsAndFillsOnlyWhatBothHave) {
    const auto file256 = CPaletteFile::Save(Ramp(1).data(), 256);
    const auto before = Ramp(77);
    auto table = before;
    auto result = LoadBytes(file256, table.data(), 16);
    EXPECT_TRUE(result.changed);
    EXPECT_EQ(result.messages, std::vector<Message>{Message::CountMismatch});
    for (int i = 0; i < 16; ++i) EXPECT_EQ(table[i], Ramp(1)[i]) << i;
    for (int i = 16; i < 256; ++i) EXPECT_EQ(table[i], before[i]) << i;

    table = before;
    result = LoadBytes(CPaletteFile::Save(Ramp(2).data(), 8), table.data(), 16);
    EXPECT_EQ(result.messages, std::vector<Message>{Message::CountMismatch});
    for (int i = 0; i < 8; ++i) EXPECT_EQ(table[i], Ramp(2)[i]) << i;
    for (int i = 8; i < 16; ++i) EXPECT_EQ(table[i], before[i]) << i;
}

// The layout the RIFF documentation gives (data chunk of 4 + 4 n bytes, no
// closing zeros), written out by hand: read the same way.
TEST(PaletteFile, RiffWithoutTheClosingZerosAsOtherProgramsWriteItLoads) {
    std::vector<uint8_t> file = {'R', 'I', 'F', 'F', 28,   0,    0, 0, 'P', 'A', 'L', ' ', 'd', 'a', 't', 'a',
                                 12,  0,   0,   0,   0x00, 0x03, 2, 0, 255, 128, 0,   0,   1,   2,   3,   4};
    std::array<RGBQUAD, 256> table{};
    const auto result = LoadBytes(file, table.data(), 2);
    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(table[0], (RGBQUAD{0, 128, 255, 0}));
    EXPECT_EQ(table[1], (RGBQUAD{3, 2, 1, 4}));
}

TEST(PaletteFile, RiffClaimingMoreThan256ColoursOrCutShortLoadsNothing) {
    auto file = CPaletteFile::Save(Ramp(4).data(), 16);
    file[22] = 0x01;
    file[23] = 0x01; // 257
    auto table = Ramp(50);
    auto result = LoadBytes(file, table.data(), 16);
    EXPECT_FALSE(result.changed);
    EXPECT_EQ(result.messages, std::vector<Message>{Message::TooManyColours});
    EXPECT_EQ(table, Ramp(50));

    for (size_t cut : {size_t{4}, size_t{23}, size_t{24 + 4 * 15}}) {
        auto shortFile = CPaletteFile::Save(Ramp(4).data(), 16);
        shortFile.resize(cut);
        result = LoadBytes(shortFile, table.data(), 16);
        EXPECT_FALSE(result.changed) << cut;
        EXPECT_EQ(result.messages, std::vector<Message>{Message::UnknownContents}) << cut;
        EXPECT_EQ(table, Ramp(50)) << cut;
    }
}

TEST(PaletteFile, JascLineSetsRedGreenBlueAndKeepsAlpha) {
    std::array<RGBQUAD, 256> table{};
    table[0] = RGBQUAD{9, 9, 9, 42};
    table[1] = RGBQUAD{7, 7, 7, 43};
    const auto result = LoadText("JASC-PAL\r\n0100\r\n2\r\n255 128 0\r\n1 2 258\r\n", table.data(), 2);
    EXPECT_TRUE(result.changed);
    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(table[0], (RGBQUAD{0, 128, 255, 42}));
    EXPECT_EQ(table[1], (RGBQUAD{2, 2, 1, 43})); // 258 keeps its low byte
}

TEST(PaletteFile, JascCountRulesAndShortLists) {
    auto table = Ramp(6);
    // More colours than the table: only the table's entries, with the warning.
    auto result = LoadText("JASC-PAL\n0100\n3\n1 1 1\n2 2 2\n3 3 3\n", table.data(), 2);
    EXPECT_EQ(result.messages, std::vector<Message>{Message::CountMismatch});
    EXPECT_EQ(table[1], (RGBQUAD{2, 2, 2, Ramp(6)[1].rgbReserved}));
    EXPECT_EQ(table[2], Ramp(6)[2]);

    // A list that ends after red and green: those two change, reading stops.
    table = Ramp(6);
    result = LoadText("JASC-PAL\n0100\n4\n10 20 30\n40 50", table.data(), 4);
    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(table[0], (RGBQUAD{30, 20, 10, Ramp(6)[0].rgbReserved}));
    EXPECT_EQ(table[1], (RGBQUAD{Ramp(6)[1].rgbBlue, 50, 40, Ramp(6)[1].rgbReserved}));
    EXPECT_EQ(table[2], Ramp(6)[2]);

    result = LoadText("JASC-PAL\n0100\n300\n", table.data(), 4);
    EXPECT_FALSE(result.changed);
    EXPECT_EQ(result.messages, std::vector<Message>{Message::TooManyColours});

    // Nothing after the signature, or no count line: a change that loads nothing.
    table = Ramp(6);
    for (const char* text : {"JASC", "JASC-PAL\n0100\n"}) {
        result = LoadText(text, table.data(), 4);
        EXPECT_TRUE(result.changed) << text;
        EXPECT_TRUE(result.messages.empty()) << text;
        EXPECT_EQ(table, Ramp(6)) << text;
    }
}

TEST(PaletteFile, OnlyUpperCaseSignaturesAreKnown) {
    std::array<RGBQUAD, 256> table{};
    for (const char* text : {"jasc-PAL\n0100\n1\n1 2 3\n", "riff\0\0\0\0", "JAS", "", "GIMP Palette\n"}) {
        const auto result = LoadText(text, table.data(), 4);
        EXPECT_FALSE(result.changed) << text;
        EXPECT_EQ(result.messages, std::vector<Message>{Message::UnknownContents}) << text;
    }
    EXPECT_STREQ(CPaletteFile::MessageText(Message::UnknownContents), "Unknown contents!");
    EXPECT_STREQ(CPaletteFile::MessageText(Message::TooManyColours), "Too much colors!");
    EXPECT_STREQ(CPaletteFile::MessageText(Message::CountMismatch), "Warning: numcolors doesn't match");
}

// The fuzz target's seeds and every input it ever stopped on, run the way it
// runs them (first byte: the table size, 255 for 256).
TEST(PaletteFile, FuzzSeedsAndFindingsLoadAndComeBackThroughRiffUnchanged) {
    size_t files = 0;
    for (const char* folder : {"palette/seeds", "palette/crashes"}) {
        const std::filesystem::path dir = std::filesystem::path(VISTOREL_FUZZ_DATA) / folder;
        if (!std::filesystem::exists(dir)) continue;
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            if (!entry.is_regular_file() || entry.path().filename().string()[0] == '.') continue;
            SCOPED_TRACE(entry.path().string());
            const std::vector<uint8_t> bytes = testsupport::ReadFile(entry.path().string());
            if (bytes.empty()) continue;
            const int count = bytes[0] == 255 ? 256 : bytes[0];
            std::array<RGBQUAD, 256> table{};
            CPaletteFile::Load(bytes.data() + 1, bytes.size() - 1, table.data(), count);
            std::array<RGBQUAD, 256> again{};
            const auto result = LoadBytes(CPaletteFile::Save(table.data(), count), again.data(), count);
            EXPECT_TRUE(result.changed);
            EXPECT_TRUE(result.messages.empty());
            EXPECT_TRUE(std::equal(table.begin(), table.begin() + count, again.begin()));
            ++files;
        }
    }
    EXPECT_GE(files, 5u);
}

} // namespace
