// Helpers for the codec conformance tests: our decoding as top-first RGBA,
// comparison with ImageMagick's, and seeded corruption of files.
#pragma once

#include "Image.h"
#include "MemFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace codectest {

// The image as 8-bit RGBA rows, top row first, with `alphaAt(x, y)` as alpha.
template <typename AlphaAt> std::vector<uint8_t> RgbaRows(const vimg::Image& img, AlphaAt alphaAt) {
    const int32_t w = static_cast<int32_t>(img.GetWidth()), h = static_cast<int32_t>(img.GetHeight());
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(w) * h * 4);
    for (int32_t y = h - 1; y >= 0; --y)
        for (int32_t x = 0; x < w; ++x) {
            const vimg::RGBQUAD c = img.GetPixelColor(x, y, false);
            out.insert(out.end(), {c.rgbRed, c.rgbGreen, c.rgbBlue, static_cast<uint8_t>(alphaAt(x, y))});
        }
    return out;
}

// The image as 8-bit RGBA rows, top row first; alpha from the alpha plane, the
// palette alpha or the transparent index, else 255.
inline std::vector<uint8_t> ToRGBA(const vimg::Image& img) {
    const bool paletteAlpha = img.IsIndexed() && img.AlphaPaletteIsEnabled();
    return RgbaRows(img, [&](int32_t x, int32_t y) -> uint8_t {
        if (img.AlphaIsValid()) return img.AlphaGet(x, y);
        if (paletteAlpha) return img.GetPaletteColor(img.GetPixelIndex(x, y)).rgbReserved;
        if (img.IsIndexed() && img.GetTransIndex() >= 0 && img.GetPixelIndex(x, y) == img.GetTransIndex()) return 0;
        return 255;
    });
}

// Largest per-channel difference; with `ignoreHiddenColour` the colour of fully
// transparent pixels is not compared (decoders differ in what they keep there).
inline int MaxDiff(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, bool ignoreHiddenColour = false) {
    if (a.size() != b.size()) return 1000;
    int worst = 0;
    for (size_t i = 0; i < a.size(); i += 4) {
        const bool hidden = ignoreHiddenColour && a[i + 3] == 0 && b[i + 3] == 0;
        for (size_t c = hidden ? 3 : 0; c < 4; ++c) worst = std::max(worst, std::abs(int(a[i + c]) - int(b[i + c])));
    }
    return worst;
}

// Difference between our decoding of `file` (with the given type) and ImageMagick's.
inline int DiffToReference(const std::string& file, uint32_t type, bool ignoreHiddenColour = false) {
    vimg::Image img;
    if (!img.Load(file.c_str(), type)) {
        ADD_FAILURE() << file << ": " << img.GetLastError();
        return 1000;
    }
    int w = 0, h = 0;
    const std::vector<uint8_t> ref = testsupport::ReferenceRGBA(file, &w, &h);
    EXPECT_EQ(img.GetWidth(), static_cast<uint32_t>(w)) << file;
    EXPECT_EQ(img.GetHeight(), static_cast<uint32_t>(h)) << file;
    return MaxDiff(ToRGBA(img), ref, ignoreHiddenColour);
}

// Runs a shell command and fails the test when it does not succeed.
inline void Make(const std::string& command) {
    ASSERT_EQ(testsupport::Run(command + " 2>&1"), 0) << command;
}

// Runs ImageMagick's convert with `args` to make `name` in `dir`; returns its path.
inline std::string MakeWithImageMagick(const testsupport::TempDir& dir, const std::string& name,
                                       const std::string& args) {
    const std::string path = dir.file(name);
    Make(testsupport::Convert() + " " + args + " " + testsupport::Quote(path));
    return path;
}

// Pillow's decoding of frame `frame` of `file` as 8-bit RGBA rows, top first;
// empty when Pillow is missing or cannot read the file.
inline std::vector<uint8_t> PillowRGBA(const std::string& file, int* w, int* h, int frame = 0) {
    const std::string raw = file + ".pillow.rgba";
    const std::string script = "import sys; from PIL import Image; im = Image.open(sys.argv[1]); im.seek(int(sys.argv[3])); "
                               "im = im.convert('RGBA'); open(sys.argv[2], 'wb').write(im.tobytes()); "
                               "print(im.width, im.height)";
    std::string dims;
    if (testsupport::Run("/usr/bin/python3 -c " + testsupport::Quote(script) + " " + testsupport::Quote(file) + " " +
                             testsupport::Quote(raw) + " " + std::to_string(frame) + " 2>/dev/null",
                         &dims) != 0 ||
        std::sscanf(dims.c_str(), "%d %d", w, h) != 2)
        return {};
    auto bytes = testsupport::ReadFile(raw);
    std::remove(raw.c_str());
    return bytes;
}

// Same colours as Pillow's decoding of frame `frame` of `file` (alpha too when
// `compareAlpha`), at most `tolerance` apart.
inline void ExpectMatchesPillow(const vimg::Image& img, const std::string& file, bool compareAlpha = false,
                                int tolerance = 0, int frame = 0) {
    int w = 0, h = 0;
    const std::vector<uint8_t> ref = PillowRGBA(file, &w, &h, frame);
    ASSERT_FALSE(ref.empty()) << "Pillow could not read " << file;
    ASSERT_EQ(img.GetWidth(), static_cast<uint32_t>(w)) << file;
    ASSERT_EQ(img.GetHeight(), static_cast<uint32_t>(h)) << file;
    const std::vector<uint8_t> ours = ToRGBA(img);
    int bad = 0;
    for (size_t i = 0; i < ref.size() && bad < 5; ++i) {
        if (i % 4 == 3 && !compareAlpha) continue;
        if (std::abs(int(ours[i]) - int(ref[i])) > tolerance && ++bad)
            ADD_FAILURE() << file << " pixel (" << (i / 4) % w << ", " << (i / 4) / w << ") channel " << i % 4
                          << ": ours " << int(ours[i]) << " Pillow " << int(ref[i]);
    }
}

inline bool HavePillow() { return testsupport::Run("/usr/bin/python3 -c 'import PIL' 2>/dev/null") == 0; }

// Decodes `bytes` with the given type; the result only matters for not crashing.
inline bool DecodeBytes(std::vector<uint8_t> bytes, uint32_t type, std::string* error = nullptr) {
    vimg::Image img;
    const bool ok = img.Decode(bytes.data(), static_cast<uint32_t>(bytes.size()), type);
    if (error) *error = img.GetLastError();
    return ok;
}

// Copies of `bytes` with a few random bytes changed (past `keep` leading bytes), one per seed.
inline std::vector<uint8_t> Corrupt(const std::vector<uint8_t>& bytes, unsigned seed, size_t keep = 0) {
    std::vector<uint8_t> out = bytes;
    std::mt19937 rng(seed);
    if (out.size() <= keep) return out;
    std::uniform_int_distribution<size_t> pos(keep, out.size() - 1);
    std::uniform_int_distribution<int> val(0, 255);
    const int flips = 1 + static_cast<int>(seed % 8);
    for (int i = 0; i < flips; ++i) out[pos(rng)] = static_cast<uint8_t>(val(rng));
    return out;
}

// Keeps hostile sizes from turning into huge allocations while a test runs.
class MemoryCap {
public:
    explicit MemoryCap(uint64_t bytes) : m_old(vimg::Image::GetMaxMemory()) { vimg::Image::SetMaxMemory(bytes); }
    ~MemoryCap() { vimg::Image::SetMaxMemory(m_old); }

private:
    uint64_t m_old;
};

} // namespace codectest
