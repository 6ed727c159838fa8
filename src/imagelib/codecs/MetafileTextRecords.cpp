#include "MetafileTextRecords.h"

#include "ByteOrder.h"

#include <algorithm>

namespace vimg::metafile {

namespace {

int16_t S16(const uint8_t* p) { return static_cast<int16_t>(bytes::Le16(p)); }
int32_t S32(const uint8_t* p) { return static_cast<int32_t>(bytes::Le32(p)); }

// Characters up to the first NUL among at most `count`.
size_t Terminated(const uint8_t* p, size_t count, size_t unit) {
    for (size_t i = 0; i < count; ++i) {
        const bool zero = unit == 1 ? p[i] == 0 : bytes::Le16(p + 2 * i) == 0;
        if (zero) return i;
    }
    return count;
}

std::u16string FromUtf16(const uint8_t* p, size_t count) {
    std::u16string out(count, u'\0');
    for (size_t i = 0; i < count; ++i) out[i] = static_cast<char16_t>(bytes::Le16(p + 2 * i));
    return out;
}

// Strings longer than the limit lose their tail, with the advances.
void Limit(TextRecord& out) {
    if (out.text.size() > kMaxTextUnits) out.text.resize(kMaxTextUnits);
    if (out.dx.size() > out.text.size()) out.dx.resize(out.text.size());
}

} // namespace

std::u16string FromAnsi(const uint8_t* p, size_t count) {
    // Windows-1252 differs from Latin-1 only in 0x80..0x9F; its holes stay as they are.
    static const char16_t kHigh[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                       0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    std::u16string out(count, u'\0');
    for (size_t i = 0; i < count; ++i) out[i] = p[i] >= 0x80 && p[i] < 0xA0 ? kHigh[p[i] - 0x80] : p[i];
    return out;
}

std::string ToUtf8(const std::u16string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00u);
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD; // lone surrogate
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

bool ReadWmfFont(const uint8_t* p, size_t n, MetafileFont& font) {
    // height, width, escapement, orientation, weight (16-bit); italic, underline,
    // strike-out and five more bytes; then the face name, at most 32 bytes.
    if (n < 18) return false;
    font = MetafileFont{};
    font.height = S16(p);
    font.escapement = S16(p + 4);
    font.weight = S16(p + 8);
    font.italic = p[10] != 0;
    font.underline = p[11] != 0;
    font.strikeOut = p[12] != 0;
    const size_t room = std::min<size_t>(32, n - 18);
    font.face = ToUtf8(FromAnsi(p + 18, Terminated(p + 18, room, 1)));
    return true;
}

bool ReadEmfFont(const uint8_t* p, size_t n, MetafileFont& font) {
    // Object index, then the wide logical font: five 32-bit fields, eight bytes,
    // and a face name of at most 32 UTF-16 units.
    if (n < 32) return false;
    font = MetafileFont{};
    font.height = S32(p + 4);
    font.escapement = S32(p + 12);
    font.weight = S32(p + 20);
    font.italic = p[24] != 0;
    font.underline = p[25] != 0;
    font.strikeOut = p[26] != 0;
    const size_t room = std::min<size_t>(32, (n - 32) / 2);
    font.face = ToUtf8(FromUtf16(p + 32, Terminated(p + 32, room, 2)));
    return true;
}

bool ReadWmfTextOut(const uint8_t* p, size_t n, TextRecord& out) {
    // Length, the string padded to whole words, y, x.
    if (n < 2) return false;
    const size_t length = bytes::Le16(p), padded = (length + 1) & ~size_t{1};
    if (padded + 6 > n) return false;
    out = TextRecord{};
    out.text = FromAnsi(p + 2, length);
    out.y = S16(p + 2 + padded);
    out.x = S16(p + 4 + padded);
    Limit(out);
    return true;
}

bool ReadWmfExtTextOut(const uint8_t* p, size_t n, TextRecord& out) {
    // y, x, length, options, the rectangle when an option needs it, the
    // string padded to whole words, then optionally one 16-bit advance per byte.
    if (n < 8) return false;
    out = TextRecord{};
    out.y = S16(p);
    out.x = S16(p + 2);
    const size_t length = bytes::Le16(p + 4), padded = (length + 1) & ~size_t{1};
    out.options = bytes::Le16(p + 6);
    size_t at = 8;
    if (out.options & (kEtoOpaque | kEtoClipped)) {
        if (n < 16) return false;
        out.hasRect = true;
        out.left = S16(p + 8);
        out.top = S16(p + 10);
        out.right = S16(p + 12);
        out.bottom = S16(p + 14);
        at = 16;
    }
    if (length > n - at) return false;
    out.text = FromAnsi(p + at, length);
    at += std::min(padded, n - at);
    if (length > 0 && 2 * length <= n - at) {
        out.dx.resize(length);
        for (size_t i = 0; i < length; ++i) out.dx[i] = S16(p + at + 2 * i);
    }
    Limit(out);
    return true;
}

bool ReadEmfExtTextOut(const uint8_t* p, size_t n, bool wide, TextRecord& out) {
    // Bounds, graphics mode, two scales; then the reference point, character
    // count, string offset, options, the rectangle (absent with option 0x100)
    // and the advance offset. Offsets count from the record start, eight bytes before `p`.
    if (n < 52) return false;
    out = TextRecord{};
    out.x = S32(p + 28);
    out.y = S32(p + 32);
    const size_t count = bytes::Le32(p + 36), offString = bytes::Le32(p + 40);
    out.options = bytes::Le32(p + 44);
    const bool rectField = !(out.options & 0x0100);
    if (rectField && n < 68) return false;
    const size_t offDx = bytes::Le32(p + (rectField ? 64 : 48));
    if (rectField) {
        out.hasRect = out.options & (kEtoOpaque | kEtoClipped);
        out.left = S32(p + 48);
        out.top = S32(p + 52);
        out.right = S32(p + 56);
        out.bottom = S32(p + 60);
    }
    const size_t unit = wide ? 2 : 1;
    if (count > 0) {
        if (offString < 8 || offString - 8 > n || count > (n - (offString - 8)) / unit) return false;
        const uint8_t* s = p + offString - 8;
        out.text = wide ? FromUtf16(s, count) : FromAnsi(s, count);
        // Advances: one 32-bit value per character, or x and y pairs with 0x2000.
        const size_t each = out.options & 0x2000 ? 8 : 4;
        if (offDx >= 8 && offDx - 8 <= n && count <= (n - (offDx - 8)) / each) {
            out.dx.resize(count);
            for (size_t i = 0; i < count; ++i) out.dx[i] = S32(p + offDx - 8 + i * each);
        }
    }
    Limit(out);
    return true;
}

} // namespace vimg::metafile
