// Feeds arbitrary bytes to the palette file reader. The first byte picks the
// size of the table loaded into (255 stands for 256). Whatever was loaded must
// come back unchanged through a saved RIFF palette.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "PaletteFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const int count = data[0] == 255 ? 256 : data[0];
    // The bytes in a buffer of their own, so reading one past the end is caught.
    const std::vector<uint8_t> body(data + 1, data + size);
    std::array<vimg::RGBQUAD, 256> table{};
    for (int i = 0; i < 256; ++i) table[i] = {static_cast<uint8_t>(i), 1, 2, 3};
    CPaletteFile::Load(body.data(), body.size(), table.data(), count);

    const std::vector<uint8_t> saved = CPaletteFile::Save(table.data(), count);
    std::array<vimg::RGBQUAD, 256> again{};
    const CPaletteFile::LoadResult result =
        CPaletteFile::Load(saved.data(), saved.size(), again.data(), count);
    if (!result.changed || !result.messages.empty()) std::abort();
    for (int i = 0; i < count; ++i)
        if (!(again[i] == table[i])) std::abort();
    return 0;
}
