// Helpers for codec tests: comparing decoded images with ImageMagick's decoding,
// building test pictures and damaging files.
#pragma once

#include "CodecTestUtil.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace codeccheck {

using codectest::MakeWithImageMagick;

// The image as RGBA rows top first; alpha is 0 where the image is transparent, else 255.
inline std::vector<uint8_t> Rgba(const vimg::Image& img) {
    return codectest::RgbaRows(img, [&](int32_t x, int32_t y) { return img.IsTransparent(x, y) ? 0 : 255; });
}

// ImageMagick's RGBA of frame `frame` (coalesced when `coalesce`), rows top first.
inline std::vector<uint8_t> Reference(const std::string& file, int frame, bool coalesce, int* w, int* h) {
    using namespace testsupport;
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
    const std::vector<uint8_t> ours = Rgba(img);
    int bad = 0;
    for (size_t i = 0; i < ref.size() && bad < 5; i += 4) {
        const bool refClear = ref[i + 3] == 0;
        const bool same = refClear ? ours[i + 3] == 0
                                   : (ours[i + 3] != 0 && ours[i] == ref[i] && ours[i + 1] == ref[i + 1] &&
                                      ours[i + 2] == ref[i + 2]);
        if (!same) {
            ++bad;
            ADD_FAILURE() << file << " frame " << frame << " pixel (" << (i / 4) % w << ", " << (i / 4) / w
                          << ") ours " << int(ours[i]) << "," << int(ours[i + 1]) << "," << int(ours[i + 2]) << "/"
                          << int(ours[i + 3]) << " reference " << int(ref[i]) << "," << int(ref[i + 1]) << ","
                          << int(ref[i + 2]) << "/" << int(ref[i + 3]);
        }
    }
}

// Writes the hand-made file `bytes` as `name` in `dir`, loads it with the given
// type and checks its depth and that ImageMagick reads the same pixels.
inline void ExpectHandMadeFileMatches(const testsupport::TempDir& dir, const std::string& name,
                                      const std::vector<uint8_t>& bytes, uint32_t type, uint32_t bpp) {
    const std::string file = dir.file(name);
    testsupport::WriteFile(file, bytes);
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

// Every truncation and many random byte damages of a valid file: the decoder
// may refuse them but must never read or write out of bounds.
inline void Batter(const std::vector<uint8_t>& file, uint32_t type, int seeds = 400) {
    for (size_t n = 0; n < file.size(); n += 1 + file.size() / 300) {
        vimg::Image img;
        DecodeBytes(img, std::vector<uint8_t>(file.begin(), file.begin() + static_cast<long>(n)), type);
    }
    for (int seed = 0; seed < seeds; ++seed) {
        std::mt19937 rng(static_cast<uint32_t>(seed));
        std::vector<uint8_t> damaged = file;
        const int flips = 1 + static_cast<int>(rng() % 8);
        for (int i = 0; i < flips; ++i) damaged[rng() % damaged.size()] = static_cast<uint8_t>(rng());
        vimg::Image img;
        if (DecodeBytes(img, damaged, type)) {
            ASSERT_TRUE(img.IsValid()) << "seed " << seed;
            ASSERT_GT(img.GetWidth(), 0u);
        }
        vimg::Image any;
        DecodeBytes(any, damaged, vimg::FORMAT_UNKNOWN);
    }
}

// A picture with flat areas, gradients and noise in `colours` palette entries
// (or 24 bits when colours is 0).
inline vimg::Image Pattern(uint32_t w, uint32_t h, uint32_t bpp, uint32_t seed = 1) {
    vimg::Image img(w, h, bpp);
    std::mt19937 rng(seed);
    if (img.IsIndexed()) {
        for (uint32_t i = 0; i < img.GetNumColors(); ++i)
            img.SetPaletteColor(static_cast<uint8_t>(i), static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()),
                                static_cast<uint8_t>(rng()));
    }
    const uint32_t n = img.IsIndexed() ? img.GetNumColors() : 0;
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            const uint32_t v = (y < h / 3) ? (x / 7) : (y < 2 * h / 3 ? static_cast<uint32_t>(rng()) : 5);
            if (n) {
                img.SetPixelIndex(static_cast<int32_t>(x), static_cast<int32_t>(y), static_cast<uint8_t>(v % n));
            } else {
                img.SetPixelColor(static_cast<int32_t>(x), static_cast<int32_t>(y),
                                  vimg::RGB(static_cast<uint8_t>(v * 37), static_cast<uint8_t>(v * 11 + y),
                                            static_cast<uint8_t>(x * 5)));
            }
        }
    return img;
}

} // namespace codeccheck
