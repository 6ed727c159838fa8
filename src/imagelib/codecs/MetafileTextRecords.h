// Readers of the font and text-output records of Windows metafiles (WMF) and
// enhanced metafiles (EMF). `p` points at the parameters after the record
// head and `n` is their length; every field is checked against it.
#pragma once

#include "MetafileTextRenderer.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vimg::metafile {

constexpr uint32_t kEtoOpaque = 0x0002;  // fill the rectangle with the background colour
constexpr uint32_t kEtoClipped = 0x0004; // keep the text inside the rectangle
// Longest string a record draws; longer ones are cut (no picture shows more).
constexpr size_t kMaxTextUnits = 8192;

// A text-output record in logical units.
struct TextRecord {
    double x = 0, y = 0;
    std::u16string text;
    std::vector<double> dx; // advance after each UTF-16 unit, or empty
    uint32_t options = 0;
    bool hasRect = false;
    double left = 0, top = 0, right = 0, bottom = 0;
};

// CreateFontIndirect (WMF) and ExtCreateFontIndirectW (EMF, after the object index).
bool ReadWmfFont(const uint8_t* p, size_t n, MetafileFont& font);
bool ReadEmfFont(const uint8_t* p, size_t n, MetafileFont& font);
// TextOut and ExtTextOut (WMF), ExtTextOutA / ExtTextOutW (EMF).
bool ReadWmfTextOut(const uint8_t* p, size_t n, TextRecord& out);
bool ReadWmfExtTextOut(const uint8_t* p, size_t n, TextRecord& out);
bool ReadEmfExtTextOut(const uint8_t* p, size_t n, bool wide, TextRecord& out);

// 8-bit metafile text (Windows-1252) and UTF-16 as UTF-16 and UTF-8.
std::u16string FromAnsi(const uint8_t* p, size_t count);
std::string ToUtf8(const std::u16string& text);

} // namespace vimg::metafile
