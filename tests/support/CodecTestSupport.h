// Helpers of the codec tests: decoded pixels as RGBA, ImageMagick's decoding as
// the reference, test pictures, encoding and decoding through memory, and
// damaged files whose outcome is checked.
#pragma once

#include "Image.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace testsupport {


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
        if (img.IsIndexed() && img.GetTransIndex() >= 0 && img.GetPixelIndex(x, y) == img.GetTransIndex())
            return 0;
        return 255;
    });
}

// Largest per-channel difference; with `ignoreHiddenColour` the colour of fully
// transparent pixels is not compared (decoders differ in what they keep there).
inline int MaxDiff(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b,
                   bool ignoreHiddenColour = false) {
    if (a.size() != b.size()) return 1000;
    int worst = 0;
    for (size_t i = 0; i < a.size(); i += 4) {
        const bool hidden = ignoreHiddenColour && a[i + 3] == 0 && b[i + 3] == 0;
        for (size_t c = hidden ? 3 : 0; c < 4; ++c)
            worst = std::max(worst, std::abs(int(a[i + c]) - int(b[i + c])));
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
    const std::vector<uint8_t> ref = ReferenceRGBA(file, &w, &h);
    EXPECT_EQ(img.GetWidth(), static_cast<uint32_t>(w)) << file;
    EXPECT_EQ(img.GetHeight(), static_cast<uint32_t>(h)) << file;
    return MaxDiff(ToRGBA(img), ref, ignoreHiddenColour);
}

// Runs a shell command and fails the test when it does not succeed.
inline void Make(const std::string& command) {
    ASSERT_EQ(Run(command + " 2>&1"), 0) << command;
}

// Runs ImageMagick's convert with `args` to make `name` in `dir`; returns its path.
inline std::string MakeWithImageMagick(const TempDir& dir, const std::string& name,
                                       const std::string& args) {
    const std::string path = dir.file(name);
    Make(Convert() + " " + args + " " + Quote(path));
    return path;
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
    explicit MemoryCap(uint64_t bytes) : m_old(vimg::Image::GetMaxMemory()) {
        vimg::Image::SetMaxMemory(bytes);
    }
    ~MemoryCap() { vimg::Image::SetMaxMemory(m_old); }

private:
    uint64_t m_old;
};


// The image as RGBA rows top first; alpha is 0 where the image is transparent, else 255.
inline std::vector<uint8_t> RgbaByTransparency(const vimg::Image& img) {
    return RgbaRows(img, [&](int32_t x, int32_t y) { return img.IsTransparent(x, y) ? 0 : 255; });
}

// ImageMagick's RGBA of frame `frame` (coalesced when `coalesce`), rows top first.
inline std::vector<uint8_t> Reference(const std::string& file, int frame, bool coalesce, int* w, int* h) {
    const std::string raw = file + ".frame.rgba";
    // Keep only the wanted frame of the (coalesced) sequence.
    const std::string pick = Quote(file) + (coalesce ? " -coalesce" : "") + " \\( -clone " +
                             std::to_string(frame) + " \\) -delete 0--2 +repage -auto-orient";
    std::string dims;
    if (Run(Convert() + " " + pick + " -format '%w %h' info: 2>/dev/null", &dims) != 0) return {};
    if (std::sscanf(dims.c_str(), "%d %d", w, h) != 2) return {};
    if (Run(Convert() + " " + pick + " -depth 8 " + Quote("rgba:" + raw) + " 2>/dev/null") != 0) return {};
    auto bytes = ReadFile(raw);
    std::remove(raw.c_str());
    return bytes;
}

// Same visible pixels as ImageMagick: equal colours where it is opaque, and
// transparent where it is transparent.
inline void ExpectMatchesReference(const vimg::Image& img, const std::string& file, int frame = 0,
                                   bool coalesce = false) {
    int w = 0, h = 0;
    const std::vector<uint8_t> ref = Reference(file, frame, coalesce, &w, &h);
    ASSERT_FALSE(ref.empty()) << "ImageMagick could not read " << file;
    ASSERT_EQ(static_cast<uint32_t>(w), img.GetWidth());
    ASSERT_EQ(static_cast<uint32_t>(h), img.GetHeight());
    ASSERT_EQ(ref.size(), static_cast<size_t>(w) * h * 4);
    const std::vector<uint8_t> ours = RgbaByTransparency(img);
    int bad = 0;
    for (size_t i = 0; i < ref.size() && bad < 5; i += 4) {
        const bool refClear = ref[i + 3] == 0;
        const bool same = refClear ? ours[i + 3] == 0
                                   : (ours[i + 3] != 0 && ours[i] == ref[i] && ours[i + 1] == ref[i + 1] &&
                                      ours[i + 2] == ref[i + 2]);
        if (!same) {
            ++bad;
            ADD_FAILURE() << file << " frame " << frame << " pixel (" << (i / 4) % w << ", " << (i / 4) / w
                          << ") ours " << int(ours[i]) << "," << int(ours[i + 1]) << "," << int(ours[i + 2])
                          << "/" << int(ours[i + 3]) << " reference " << int(ref[i]) << "," << int(ref[i + 1])
                          << "," << int(ref[i + 2]) << "/" << int(ref[i + 3]);
        }
    }
}

// Writes the hand-made file `bytes` as `name` in `dir`, loads it with the given
// type and checks its depth and that ImageMagick reads the same pixels.
inline void ExpectHandMadeFileMatches(const TempDir& dir, const std::string& name,
                                      const std::vector<uint8_t>& bytes, uint32_t type, uint32_t bpp) {
    const std::string file = dir.file(name);
    WriteFile(file, bytes);
    vimg::Image img;
    ASSERT_TRUE(img.Load(file.c_str(), type)) << name << ": " << img.GetLastError();
    EXPECT_EQ(img.GetBpp(), bpp) << name;
    ExpectMatchesReference(img, file);
}

// Decodes `bytes` with the given type; returns whether it succeeded.
inline bool DecodeBytes(vimg::Image& img, const std::vector<uint8_t>& bytes, uint32_t type) {
    std::vector<uint8_t> copy(bytes.size() + 1); // a private, never empty buffer
    std::copy(bytes.begin(), bytes.end(), copy.begin());
    return img.Decode(copy.data(), static_cast<uint32_t>(bytes.size()), type);
}

inline std::vector<uint8_t> EncodeBytes(vimg::Image& img, uint32_t type) {
    uint8_t* buffer = nullptr;
    int32_t size = 0;
    if (!img.Encode(buffer, size, type)) return {};
    std::vector<uint8_t> out(buffer, buffer + size);
    vimg::Image::FreeMemory(buffer);
    return out;
}

// Decodes damaged `bytes` as `type` and checks the outcome: a failure leaves a
// text; a success is a whole, consistent image within the memory bound.
inline void ExpectSaneOutcome(const std::vector<uint8_t>& bytes, uint32_t type, const std::string& what) {
    vimg::Image img;
    if (!DecodeBytes(img, bytes, type)) {
        ASSERT_NE(img.GetLastError()[0], '\0') << what << ": failed without saying why";
        return;
    }
    ASSERT_TRUE(img.IsValid()) << what;
    ASSERT_GT(img.GetWidth(), 0u) << what;
    ASSERT_GT(img.GetHeight(), 0u) << what;
    ASSERT_EQ(img.GetSize(), 40 + 4 * img.GetNumColors() + uint64_t{img.GetEffWidth()} * img.GetHeight())
        << what;
    ASSERT_LE(uint64_t{img.GetEffWidth()} * img.GetHeight(), vimg::Image::GetMaxMemory()) << what;
}

// Every truncation and many random byte damages of a valid file, read as
// `type` and by content: each must fail with a text or give a sane image.
inline void Batter(const std::vector<uint8_t>& file, uint32_t type, int seeds = 400) {
    for (size_t n = 0; n < file.size(); n += 1 + file.size() / 300)
        ExpectSaneOutcome(std::vector<uint8_t>(file.begin(), file.begin() + static_cast<long>(n)), type,
                          "first " + std::to_string(n) + " bytes");
    for (int seed = 0; seed < seeds; ++seed) {
        std::mt19937 rng(static_cast<uint32_t>(seed));
        std::vector<uint8_t> damaged = file;
        const int flips = 1 + static_cast<int>(rng() % 8);
        for (int i = 0; i < flips; ++i) damaged[rng() % damaged.size()] = static_cast<uint8_t>(rng());
        ExpectSaneOutcome(damaged, type, "seed " + std::to_string(seed));
        ExpectSaneOutcome(damaged, vimg::FORMAT_UNKNOWN, "seed " + std::to_string(seed) + " by content");
    }
}

// A picture with flat areas, gradients and noise in `colours` palette entries
// (or 24 bits when colours is 0).
inline vimg::Image Pattern(uint32_t w, uint32_t h, uint32_t bpp, uint32_t seed = 1) {
    vimg::Image img(w, h, bpp);
    std::mt19937 rng(seed);
    if (img.IsIndexed()) {
        for (uint32_t i = 0; i < img.GetNumColors(); ++i)
            img.SetPaletteColor(static_cast<uint8_t>(i), static_cast<uint8_t>(rng()),
                                static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()));
    }
    const uint32_t n = img.IsIndexed() ? img.GetNumColors() : 0;
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            const uint32_t v = (y < h / 3) ? (x / 7) : (y < 2 * h / 3 ? static_cast<uint32_t>(rng()) : 5);
            if (n) {
                img.SetPixelIndex(static_cast<int32_t>(x), static_cast<int32_t>(y),
                                  static_cast<uint8_t>(v % n));
            } else {
                img.SetPixelColor(static_cast<int32_t>(x), static_cast<int32_t>(y),
                                  vimg::RGB(static_cast<uint8_t>(v * 37), static_cast<uint8_t>(v * 11 + y),
                                            static_cast<uint8_t>(x * 5)));
            }
        }
    return img;
}

// Pillow's decoding of frame `frame` of `file` as 8-bit RGBA rows, top first;
// empty when Pillow is missing or cannot read the file.
inline std::vector<uint8_t> PillowRGBA(const std::string& file, int* w, int* h, int frame = 0) {
    const std::string raw = file + ".pillow.rgba";
    const std::string script =
        "import sys; from PIL import Image; im = Image.open(sys.argv[1]); im.seek(int(sys.argv[3])); "
        "im = im.convert('RGBA'); open(sys.argv[2], 'wb').write(im.tobytes()); "
        "print(im.width, im.height)";
    std::string dims;
    if (Run("/usr/bin/python3 -c " + Quote(script) + " " + Quote(file) + " " +
                             Quote(raw) + " " + std::to_string(frame) + " 2>/dev/null",
                         &dims) != 0 ||
        std::sscanf(dims.c_str(), "%d %d", w, h) != 2)
        return {};
    auto bytes = ReadFile(raw);
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

inline bool HavePillow() { return Run("/usr/bin/python3 -c 'import PIL' 2>/dev/null") == 0; }

} // namespace testsupport
