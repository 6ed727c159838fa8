#include "Image.h"

#include "DecodeLimit.h"
#include "File.h"
#include "IOFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

namespace vimg {

namespace {

// The header's image-size field is 32 bits wide, so the block (header, palette,
// pixels) must stay representable in it.
constexpr uint64_t kHardPixelLimit = std::numeric_limits<uint32_t>::max() - 40 - 4 * 256;
uint64_t g_maxMemory = kHardPixelLimit;

int32_t DpiToPelsPerMeter(int32_t dpi) {
    return static_cast<int32_t>(static_cast<double>(dpi) * 39.37007874015748 + 0.5);
}

// The information block of an image that gave its content away: every field 0.
ImageInfo ZeroedInfo() {
    ImageInfo z;
    z.transIndex = 0;
    z.jpegQuality = 0;
    z.xDpi = 0;
    z.yDpi = 0;
    z.alphaMax = 0;
    z.enabled = false;
    return z;
}

} // namespace

void Image::SetMaxMemory(uint64_t bytes) { g_maxMemory = std::min(bytes, kHardPixelLimit); }

uint64_t Image::GetMaxMemory() { return g_maxMemory; }

void Image::SetMaxPixels(uint64_t pixels) { DecodeLimit::SetMaxPixels(pixels); }

uint64_t Image::GetMaxPixels() { return DecodeLimit::MaxPixels(); }

Image::Image(uint32_t type) { Startup(type); }

Image::Image(uint32_t width, uint32_t height, uint32_t bpp, uint32_t type) {
    Startup(type);
    Create(width, height, bpp, type);
}

Image::Image(const Image& src, bool copyPixels, bool copySelection, bool copyAlpha) {
    Startup(src.GetType());
    Copy(src, copyPixels, copySelection, copyAlpha);
}

Image::Image(const char* fileName, uint32_t type) {
    Startup(type);
    Load(fileName, type);
}

Image::Image(FILE* stream, uint32_t type) {
    Startup(type);
    Decode(stream, type);
}

Image::Image(File* stream, uint32_t type) {
    Startup(type);
    Decode(stream, type);
}

Image::Image(uint8_t* buffer, uint32_t size, uint32_t type) {
    Startup(type);
    Decode(buffer, size, type);
}

Image& Image::operator=(const Image& src) {
    if (this != &src) Copy(src, true, true, true);
    return *this;
}

Image::Image(Image&& src) noexcept {
    Startup(src.GetType());
    *this = std::move(src);
}

Image& Image::operator=(Image&& src) noexcept {
    if (this == &src) return *this;
    // A ghost owns nothing it could hand over.
    if (src.info.ghostOf) Copy(src, true, true, true);
    else Transfer(src);
    return *this;
}

// The holders free what the image owns; a ghost's holders only borrow.
Image::~Image() = default;

void Image::Startup(uint32_t type) {
    pDib.Reset();
    pSelection.Reset();
    pAlpha.Reset();
    head = BITMAPINFOHEADER{};
    info = ImageInfo{};
    info.type = type;
    info.jpegQuality = 90;
    info.alphaMax = 255;
    info.transIndex = -1;
    info.enabled = true;
    SetXDPI(96);
    SetYDPI(96);
}

void* Image::Create(uint32_t width, uint32_t height, uint32_t bpp, uint32_t type) {
    if (!Destroy()) return nullptr;
    if (width == 0 || height == 0) {
        SetLastError("Image::Create : width and height must be greater than zero");
        return nullptr;
    }
    // Inside a decoder every picture (page, frame, tile) obeys the pixel ceiling.
    if (DecodeLimit::Active() && !DecodeLimit::CheckPixels(*this, width, height)) return nullptr;
    if (bpp <= 1) bpp = 1;
    else if (bpp <= 4) bpp = 4;
    else if (bpp <= 8) bpp = 8;
    else bpp = 24;

    const uint64_t stride = ((static_cast<uint64_t>(width) * bpp + 31) / 32) * 4;
    const uint64_t pixelBytes = stride * height;
    if (width > static_cast<uint32_t>(std::numeric_limits<int32_t>::max()) ||
        height > static_cast<uint32_t>(std::numeric_limits<int32_t>::max()) || pixelBytes > g_maxMemory) {
        char text[200];
        std::snprintf(text, sizeof(text),
                      "IMAGE_MAX_MEMORY exceeded: %u x %u at %u bits needs %llu bytes, the limit is %llu",
                      width, height, bpp, static_cast<unsigned long long>(pixelBytes),
                      static_cast<unsigned long long>(g_maxMemory));
        SetLastError(text);
        return nullptr;
    }

    switch (bpp) {
    case 1: head.biClrUsed = 2; break;
    case 4: head.biClrUsed = 16; break;
    case 8: head.biClrUsed = 256; break;
    default: head.biClrUsed = 0; break;
    }
    info.type = type;
    info.effWidth = static_cast<uint32_t>(stride);
    // What a reader learnt about the previous picture does not describe this one.
    info.sampleRangeKnown = false;
    info.hotSpotX = info.hotSpotY = -1;
    head.biSize = sizeof(BITMAPINFOHEADER);
    head.biWidth = static_cast<int32_t>(width);
    head.biHeight = static_cast<int32_t>(height);
    head.biPlanes = 1;
    head.biBitCount = static_cast<uint16_t>(bpp);
    head.biCompression = 0;
    head.biSizeImage = static_cast<uint32_t>(pixelBytes);
    head.biClrImportant = 0;

    if (!pDib.Allocate(GetSize())) {
        SetLastError("Image::Create can't allocate memory");
        head.biWidth = head.biHeight = 0;
        info.effWidth = 0;
        return nullptr;
    }
    ClearNearestCache();
    std::memcpy(pDib.get(), &head, sizeof(head));
    info.pixels = GetBits(0);
    return pDib.get();
}

bool Image::Destroy() {
    if (info.ghostOf) return false;
    pSelection.Reset();
    pAlpha.Reset();
    pDib.Reset();
    info.pixels = nullptr;
    return true;
}

void Image::Copy(const Image& src, bool copyPixels, bool copySelection, bool copyAlpha) {
    if (&src == this) return;
    if (info.ghostOf) return;
    info = src.info;
    info.ghostOf = nullptr;
    info.pixels = nullptr;
    if (!src.IsValid()) {
        Destroy();
        head = src.head;
        return;
    }
    if (!Create(src.GetWidth(), src.GetHeight(), src.GetBpp(), src.GetType())) return;
    head.biXPelsPerMeter = src.head.biXPelsPerMeter;
    head.biYPelsPerMeter = src.head.biYPelsPerMeter;
    if (copyPixels) {
        std::memcpy(pDib.get(), src.pDib.get(), GetSize());
        head = src.head;
    } else if (src.GetPalette() && GetPalette()) {
        std::memcpy(GetPalette(), src.GetPalette(), std::min<uint32_t>(GetPaletteSize(), 256 * 4));
        head.biClrImportant = src.head.biClrImportant;
    }
    std::memcpy(pDib.get(), &head, sizeof(head));
    const size_t plane = static_cast<size_t>(GetWidth()) * GetHeight();
    if (copySelection && src.pSelection) {
        pSelection.CopyFrom(src.pSelection.get(), plane);
        info.selectionBox = src.info.selectionBox;
    }
    if (copyAlpha && src.pAlpha) pAlpha.CopyFrom(src.pAlpha.get(), plane);
}

void Image::CopyInfo(const Image& src) {
    if (pDib) return;
    info = src.info;
    info.ghostOf = nullptr;
    info.pixels = nullptr;
}

bool Image::Transfer(Image& from) {
    if (&from == this) return true;
    // A ghost only borrows its memory; nothing can be taken from it.
    if (from.info.ghostOf) return false;
    if (!Destroy()) return false;
    head = from.head;
    info = from.info;
    pDib = std::move(from.pDib);
    pSelection = std::move(from.pSelection);
    pAlpha = std::move(from.pAlpha);

    from.head = BITMAPINFOHEADER{};
    from.info = ZeroedInfo();
    return true;
}

void Image::Ghost(const Image* src) {
    if (!src) return;
    head = src->head;
    info = src->info;
    pDib.Borrow(src->pDib);
    pSelection.Borrow(src->pSelection);
    pAlpha.Borrow(src->pAlpha);
    info.ghostOf = const_cast<Image*>(src);
}

void Image::Unghost() {
    if (!info.ghostOf) return;
    pDib.Reset();
    pSelection.Reset();
    pAlpha.Reset();
    info.pixels = nullptr;
    info.ghostOf = nullptr;
}

bool Image::CreateFromArray(const uint8_t* bits, uint32_t width, uint32_t height, uint32_t bpp,
                            uint32_t bytesPerLine, bool flipVertically) {
    if (!bits) return false;
    std::vector<const uint8_t*> rows(height);
    for (uint32_t i = 0; i < height; ++i) rows[i] = bits + static_cast<size_t>(i) * bytesPerLine;
    return CreateFromMatrix(rows.data(), width, height, bpp, bytesPerLine, flipVertically);
}

bool Image::CreateFromMatrix(const uint8_t* const* rows, uint32_t width, uint32_t height, uint32_t bpp,
                             uint32_t bytesPerLine, bool flipVertically) {
    if (!rows) return false;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return false;
    if (bpp == 32 && static_cast<uint64_t>(bytesPerLine) < static_cast<uint64_t>(width) * 4) return false;
    if (!Create(width, height, bpp, 0)) return false;
    if (bpp < 24) SetGrayPalette();
    if (bpp == 32 && !AlphaCreate()) return false;
    for (uint32_t i = 0; i < height; ++i) {
        const uint8_t* src = rows[i];
        if (!src) continue;
        const uint32_t row = flipVertically ? height - i - 1 : i;
        uint8_t* dst = GetBits(row);
        if (bpp == 32) {
            uint8_t* alpha = pAlpha.get() + static_cast<size_t>(row) * width;
            for (uint32_t x = 0; x < width; ++x) {
                dst[3 * x] = src[4 * x];
                dst[3 * x + 1] = src[4 * x + 1];
                dst[3 * x + 2] = src[4 * x + 2];
                alpha[x] = src[4 * x + 3];
            }
        } else {
            std::memcpy(dst, src, std::min(info.effWidth, bytesPerLine));
        }
    }
    return true;
}

void Image::Clear(uint8_t value) {
    if (!pDib) return;
    if (head.biBitCount == 1 && value) value = 255;
    else if (head.biBitCount == 4) value = static_cast<uint8_t>((value & 15) * 17);
    std::memset(info.pixels, value, head.biSizeImage);
}

void Image::FreeMemory(void* p) { std::free(p); }

uint8_t* Image::GetBits(uint32_t row) const {
    if (!pDib || row >= GetHeight()) return nullptr;
    return static_cast<uint8_t*>(pDib.get()) + sizeof(BITMAPINFOHEADER) + GetPaletteSize() +
           static_cast<size_t>(row) * info.effWidth;
}

uint32_t Image::GetSize() const {
    return static_cast<uint32_t>(head.biSize + head.biSizeImage + GetPaletteSize());
}

uint8_t Image::GetColorType() const {
    if (pAlpha) return 4;
    return head.biBitCount > 8 ? 2 : 1;
}

const char* Image::GetVersion() { return "vimg 1.0.0"; }

float Image::GetVersionNumber() { return 1.0f; }

void Image::SetXDPI(int32_t dpi) {
    if (dpi < 1) dpi = 96;
    info.xDpi = dpi;
    head.biXPelsPerMeter = DpiToPelsPerMeter(dpi);
    if (pDib) static_cast<BITMAPINFOHEADER*>(GetDIB())->biXPelsPerMeter = head.biXPelsPerMeter;
}

void Image::SetYDPI(int32_t dpi) {
    if (dpi < 1) dpi = 96;
    info.yDpi = dpi;
    head.biYPelsPerMeter = DpiToPelsPerMeter(dpi);
    if (pDib) static_cast<BITMAPINFOHEADER*>(GetDIB())->biYPelsPerMeter = head.biYPelsPerMeter;
}

void Image::SetCameraName(const char* name) {
    std::memset(info.cameraName, 0, sizeof info.cameraName);
    if (name) std::strncpy(info.cameraName, name, sizeof info.cameraName - 1);
}

void Image::SetCaptureStamp(const char* time, double exposureSeconds, const char* gain) {
    std::memset(info.captureTime, 0, sizeof info.captureTime);
    if (time && std::strlen(time) == sizeof info.captureTime - 1) std::memcpy(info.captureTime, time, 19);
    info.exposureSeconds = std::isfinite(exposureSeconds) && exposureSeconds > 0 ? exposureSeconds : 0;
    std::memset(info.gainText, 0, sizeof info.gainText);
    if (gain) std::strncpy(info.gainText, gain, sizeof info.gainText - 1);
}

void Image::GetOffset(int32_t* x, int32_t* y) const {
    if (x) *x = info.xOffset;
    if (y) *y = info.yOffset;
}

void Image::SetOffset(int32_t x, int32_t y) {
    info.xOffset = x;
    info.yOffset = y;
}

void Image::SetFlags(uint32_t flags, bool lockReserved) {
    info.flags = lockReserved ? (flags & 0x0000FFFF) : flags;
}

uint32_t Image::GetCodecOption(uint32_t type) const {
    if (type == 0) type = info.type;
    if (type >= FORMAT_COUNT) return 0;
    return info.codecOptions[type];
}

bool Image::SetCodecOption(uint32_t option, uint32_t type) {
    if (type == 0) type = info.type;
    if (type >= FORMAT_COUNT) return false;
    info.codecOptions[type] = option;
    return true;
}

RGBQUAD Image::GetTransColor() const { return info.transColor; }

void Image::SetTransColor(RGBQUAD colour) {
    colour.rgbReserved = 0;
    info.transColor = colour;
}

bool Image::IsInside(int32_t x, int32_t y) const {
    return y >= 0 && y < head.biHeight && x >= 0 && x < head.biWidth;
}

void Image::SetLastError(const char* text) {
    if (!text) text = "";
    std::strncpy(info.lastError, text, sizeof(info.lastError) - 1);
    info.lastError[sizeof(info.lastError) - 1] = '\0';
}

bool Image::FlipRows() {
    if (!pDib) return false;
    const uint32_t h = GetHeight();
    std::vector<uint8_t> row(info.effWidth);
    uint8_t* tmp = row.data();
    for (uint32_t y = 0; y < h / 2; ++y) {
        uint8_t* a = GetBits(y);
        uint8_t* b = GetBits(h - 1 - y);
        std::memcpy(tmp, a, info.effWidth);
        std::memcpy(a, b, info.effWidth);
        std::memcpy(b, tmp, info.effWidth);
    }
    return true;
}

bool Image::GetSampleRange(double* min, double* max) const {
    if (!info.sampleRangeKnown) return false;
    if (min) *min = info.sampleMin;
    if (max) *max = info.sampleMax;
    return true;
}

void Image::SetSampleRange(double min, double max) {
    info.sampleRangeKnown = true;
    info.sampleMin = min;
    info.sampleMax = max;
}

bool Image::GetHotSpot(int32_t* x, int32_t* y) const {
    if (info.hotSpotX < 0 || info.hotSpotY < 0) return false;
    if (x) *x = info.hotSpotX;
    if (y) *y = info.hotSpotY;
    return true;
}

void Image::SetHotSpot(int32_t x, int32_t y) {
    info.hotSpotX = x;
    info.hotSpotY = y;
}

} // namespace vimg
