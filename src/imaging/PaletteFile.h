// Palette files: reading a JASC text palette or a RIFF palette into a colour
// table, and writing a table as a RIFF palette. Works on bytes only, so the
// dialog does the file handling and the fuzzer can feed it anything.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ImageTypes.h"

class CPaletteFile {
public:
    static constexpr int kMaxColours = 256;

    // What the reader has to tell the user; texts by MessageText.
    enum class Message { UnknownContents, TooManyColours, CountMismatch };
    struct LoadResult {
        bool changed = false; // the table counts as edited (even if nothing was read)
        std::vector<Message> messages;
    };

    // Reads a palette file's bytes into the first `count` entries of `table`
    // (which holds kMaxColours entries). Entries the file does not give keep
    // their colours; a text palette leaves alpha alone, a RIFF palette sets
    // it from each entry's flags byte.
    static LoadResult Load(const uint8_t* data, size_t size, vimg::RGBQUAD* table, int count);
    // The RIFF palette of the first `count` entries (0..256): red, green,
    // blue and alpha per entry; 4 × count + 28 bytes.
    static std::vector<uint8_t> Save(const vimg::RGBQUAD* table, int count);
    static const char* MessageText(Message message);

private:
    static LoadResult LoadText(const uint8_t* data, size_t size, vimg::RGBQUAD* table, int count);
    static LoadResult LoadRiff(const uint8_t* data, size_t size, vimg::RGBQUAD* table, int count);
};
