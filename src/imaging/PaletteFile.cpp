#include "PaletteFile.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string_view>

// Marks the texts for the catalogue (the program translates them where it shows
// them); this file stays free of Qt, as the fuzzing build compiles it alone.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif

namespace {

constexpr size_t kRiffHeader = 24; // "RIFF", size, "PAL data", size, version, count

// One line of text from `pos` on, without its line feed (and a carriage
// return before it); false at the end of the text.
bool ReadLine(std::string_view text, size_t& pos, std::string_view* line) {
    if (pos >= text.size()) return false;
    size_t end = text.find('\n', pos);
    const size_t next = end == std::string_view::npos ? text.size() : end + 1;
    if (end == std::string_view::npos) end = text.size();
    std::string_view l = text.substr(pos, end - pos);
    if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
    pos = next;
    if (line) *line = l;
    return true;
}

// A decimal number as atoi reads it: leading blanks, a sign, digits up to the
// first other character; 0 without digits. Saturates instead of overflowing.
int DecimalValue(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r' || s[i] == '\n')) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    int64_t value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        value = std::min<int64_t>(value * 10 + (s[i] - '0'), int64_t{INT_MAX} + 1);
    if (negative) value = -value;
    return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

bool IsSeparator(char c) {
    // Space and line feed separate the numbers; carriage returns and tabs of
    // files written on other systems count as blanks too.
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

// The next separator-delimited word from `pos` on; false when none is left.
bool NextWord(std::string_view text, size_t& pos, std::string_view* word) {
    while (pos < text.size() && IsSeparator(text[pos])) ++pos;
    if (pos >= text.size()) return false;
    const size_t start = pos;
    while (pos < text.size() && !IsSeparator(text[pos])) ++pos;
    *word = text.substr(start, pos - start);
    return true;
}

uint8_t LowByte(int value) { return static_cast<uint8_t>(static_cast<unsigned>(value) & 0xffu); }

void PutU32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

} // namespace

const char* CPaletteFile::MessageText(Message message) {
    switch (message) {
    case Message::UnknownContents:
        return QT_TRANSLATE_NOOP("PaletteFile", "Unknown contents!");
    case Message::TooManyColours:
        return QT_TRANSLATE_NOOP("PaletteFile", "Too much colors!");
    case Message::CountMismatch:
        return QT_TRANSLATE_NOOP("PaletteFile", "Warning: numcolors doesn't match");
    }
    return "";
}

CPaletteFile::LoadResult CPaletteFile::Load(const uint8_t* data, size_t size, vimg::RGBQUAD* table,
                                            int count) {
    count = std::clamp(count, 0, kMaxColours);
    if (size >= 4 && std::memcmp(data, "JASC", 4) == 0) return LoadText(data + 4, size - 4, table, count);
    if (size >= 4 && std::memcmp(data, "RIFF", 4) == 0) return LoadRiff(data, size, table, count);
    return {false, {Message::UnknownContents}};
}

CPaletteFile::LoadResult CPaletteFile::LoadText(const uint8_t* data, size_t size, vimg::RGBQUAD* table,
                                                int count) {
    LoadResult result;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    size_t pos = 0;
    std::string_view line;
    // Rest of the signature line, the version line, then the colour count.
    if (!ReadLine(text, pos, nullptr) || !ReadLine(text, pos, nullptr) || !ReadLine(text, pos, &line)) {
        result.changed = true; // a file that names itself a palette counts as loaded, even when empty
        return result;
    }
    int m = DecimalValue(line);
    if (m > kMaxColours) return {false, {Message::TooManyColours}};
    if (m != count) {
        m = std::min(m, count);
        result.messages.push_back(Message::CountMismatch);
    }
    std::string_view word;
    for (int i = 0; i < m; ++i) {
        vimg::RGBQUAD& entry = table[i];
        if (NextWord(text, pos, &word)) entry.rgbRed = LowByte(DecimalValue(word));
        if (NextWord(text, pos, &word)) entry.rgbGreen = LowByte(DecimalValue(word));
        if (!NextWord(text, pos, &word)) break;
        entry.rgbBlue = LowByte(DecimalValue(word));
    }
    result.changed = true;
    return result;
}

CPaletteFile::LoadResult CPaletteFile::LoadRiff(const uint8_t* data, size_t size, vimg::RGBQUAD* table,
                                                int count) {
    if (size < kRiffHeader) return {false, {Message::UnknownContents}};
    LoadResult result;
    int m = data[22] | data[23] << 8;
    if (m > kMaxColours) return {false, {Message::TooManyColours}};
    const int wanted = std::min(m, count);
    // A file cut short loads nothing rather than part of a table.
    if (size < kRiffHeader + 4 * static_cast<size_t>(wanted)) return {false, {Message::UnknownContents}};
    if (m != count) result.messages.push_back(Message::CountMismatch);
    const uint8_t* p = data + kRiffHeader;
    for (int i = 0; i < wanted; ++i, p += 4) {
        // The file holds red, green, blue, flags; the table blue, green, red, alpha.
        table[i].rgbBlue = p[2];
        table[i].rgbGreen = p[1];
        table[i].rgbRed = p[0];
        table[i].rgbReserved = p[3];
    }
    result.changed = true;
    return result;
}

std::vector<uint8_t> CPaletteFile::Save(const vimg::RGBQUAD* table, int count) {
    const auto n = static_cast<uint32_t>(std::clamp(count, 0, kMaxColours));
    std::vector<uint8_t> out(4 * n + 28, 0);
    std::memcpy(out.data(), "RIFF", 4);
    PutU32(out, 4, 4 * n + 20); // both sizes count the closing four zero bytes
    std::memcpy(out.data() + 8, "PAL data", 8);
    PutU32(out, 16, 4 * n + 8);
    out[20] = 0x00;
    out[21] = 0x03;
    out[22] = static_cast<uint8_t>(n);
    out[23] = static_cast<uint8_t>(n >> 8);
    for (uint32_t i = 0; i < n; ++i) {
        uint8_t* p = &out[kRiffHeader + 4 * i];
        p[0] = table[i].rgbRed;
        p[1] = table[i].rgbGreen;
        p[2] = table[i].rgbBlue;
        p[3] = table[i].rgbReserved;
    }
    return out;
}
