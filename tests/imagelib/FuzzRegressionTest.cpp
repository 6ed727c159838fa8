// Every fuzz seed and every input the fuzzer ever crashed on, decoded the way
// the fuzz target does (first byte: format id). Under the sanitizer build this
// is the regression test for each crash found.
#include "Image.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

size_t DecodeAll(const std::filesystem::path& folder) {
    size_t count = 0;
    if (!std::filesystem::exists(folder)) return 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file() || entry.path().filename().string()[0] == '.') continue;
        std::vector<uint8_t> bytes = testsupport::ReadFile(entry.path().string());
        if (bytes.empty()) continue;
        SCOPED_TRACE(entry.path().string());
        std::vector<uint8_t> body(bytes.begin() + 1, bytes.end());
        body.push_back(0); // never a zero-length buffer
        vimg::Image img;
        if (img.Decode(body.data(), static_cast<uint32_t>(body.size() - 1), bytes[0] % 16) && img.IsValid()) {
            uint8_t* out = nullptr;
            int32_t size = 0;
            if (img.Encode2RGBA(out, size)) vimg::Image::FreeMemory(out);
            EXPECT_GT(size, 0);
        }
        ++count;
    }
    return count;
}

} // namespace

TEST(FuzzRegression, SeedsAndEveryCrashFoundDecodeSafely) {
    const uint64_t old = vimg::Image::GetMaxMemory();
    vimg::Image::SetMaxMemory(4u << 20); // as in the fuzz target
    const size_t seeds = DecodeAll(std::filesystem::path(VISTOREL_FUZZ_DATA) / "seeds");
    DecodeAll(std::filesystem::path(VISTOREL_FUZZ_DATA) / "crashes");
    vimg::Image::SetMaxMemory(old);
    EXPECT_GE(seeds, 14u) << "the committed fuzz seeds are missing";
}
