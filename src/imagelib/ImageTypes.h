// Plain data types shared by the image library: the packed-bitmap header,
// palette entries, rectangles and colour references in their classic layouts.
#pragma once

#include <cstdint>

namespace vimg {

// One palette entry or one pixel colour: blue, green, red, reserved (alpha).
struct RGBQUAD {
    uint8_t rgbBlue = 0;
    uint8_t rgbGreen = 0;
    uint8_t rgbRed = 0;
    uint8_t rgbReserved = 0;
    bool operator==(const RGBQUAD&) const = default;
};

// Three-byte palette entry in red, green, blue order (used by SetPalette).
struct rgb_color {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
};

#pragma pack(push, 1)
// The 40-byte information header of a packed device-independent bitmap.
struct BITMAPINFOHEADER {
    uint32_t biSize = 0;
    int32_t biWidth = 0;
    int32_t biHeight = 0;
    uint16_t biPlanes = 0;
    uint16_t biBitCount = 0;
    uint32_t biCompression = 0;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};
#pragma pack(pop)
static_assert(sizeof(BITMAPINFOHEADER) == 40);
static_assert(sizeof(RGBQUAD) == 4);

// Integer rectangle; in image coordinates rows count from the bottom, so for a
// selection box `top` is the larger y.
struct RECT {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const RECT&) const = default;
};

struct POINT {
    int32_t x = 0;
    int32_t y = 0;
};

// 0x00BBGGRR colour value.
using COLORREF = uint32_t;

constexpr COLORREF RGB(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr uint8_t GetRValue(COLORREF c) { return static_cast<uint8_t>(c & 0xFF); }
constexpr uint8_t GetGValue(COLORREF c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
constexpr uint8_t GetBValue(COLORREF c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }

// Format type ids: the `type` of an image and of every dispatcher call.
enum ImageFormat : uint32_t {
    FORMAT_UNKNOWN = 0,
    FORMAT_BMP = 1,
    FORMAT_GIF = 2,
    FORMAT_JPG = 3,
    FORMAT_PNG = 4,
    FORMAT_ICO = 5,
    FORMAT_TIF = 6,
    FORMAT_TGA = 7,
    FORMAT_PCX = 8,
    FORMAT_WBMP = 9,
    FORMAT_WMF = 10,
    FORMAT_JP2 = 11,
    FORMAT_JPC = 12,
    FORMAT_PGX = 13,
    FORMAT_PNM = 14,
    FORMAT_RAS = 15,
};
constexpr uint32_t FORMAT_COUNT = 16;

} // namespace vimg
