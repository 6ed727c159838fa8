#include "ImagePNG.h"

#include "../DecodeLimit.h"
#include "../File.h"
#include "../IOFile.h"
#include "../MemFile.h"

#include <png.h>

#include "CalibrationTags.h"
#include "PngPixelStream.h"
#include "TruncatedPng.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace vimg {

namespace {

// libpng's errors copy their message into the image and jump back to the codec.
// libpng's warnings are about damage it has already worked around; a library
// must not print them into the standard streams of the program using it.
void WarningHandler(png_structp, png_const_charp) {}

void ErrorHandler(png_structp png, png_const_charp message) {
    static_cast<Image*>(png_get_error_ptr(png))->SetLastError(message);
    png_longjmp(png, 1);
}

void ReadData(png_structp png, png_bytep data, png_size_t length) {
    auto* stream = static_cast<File*>(png_get_io_ptr(png));
    if (stream->Read(data, 1, length) != length) png_error(png, "PNG: the file ends early (Read Error)");
}

void WriteData(png_structp png, png_bytep data, png_size_t length) {
    auto* stream = static_cast<File*>(png_get_io_ptr(png));
    if (stream->Write(data, 1, length) != length) png_error(png, "Write Error");
}

void FlushData(png_structp png) {
    auto* stream = static_cast<File*>(png_get_io_ptr(png));
    if (!stream->Flush()) png_error(png, "Flush Error");
}

// Text chunk keywords of the calibration ("Pixel size: 2.5 um") and the camera.
constexpr char kCalibrationKey[] = "Description";
constexpr char kCameraKey[] = "Source";

int32_t PixelsPerMetreToDpi(png_uint_32 ppm) {
    return static_cast<int32_t>(std::floor(std::min<double>(ppm, 1.0e9) * 0.0254 + 0.5));
}

// In place, from the last pixel back: 2-bit pixel n goes to the nibble n of the same buffer.
void Widen2To4(uint8_t* row, uint32_t width) {
    for (uint32_t n = width; n-- > 0;) {
        const uint8_t v = static_cast<uint8_t>((row[n / 4] >> (6 - 2 * (n % 4))) & 3);
        uint8_t& dst = row[n / 2];
        dst = (n % 2 == 0) ? static_cast<uint8_t>((dst & 0x0F) | (v << 4))
                           : static_cast<uint8_t>((dst & 0xF0) | v);
    }
}

// libpng's allocator with a ceiling on single blocks; the ceiling is the structure's memory pointer.
png_voidp BoundedMalloc(png_structp png, png_alloc_size_t size) {
    const auto* limit = static_cast<const uint64_t*>(png_get_mem_ptr(png));
    if (limit && size > *limit) return nullptr;
    return std::malloc(size);
}

void PlainFree(png_structp, png_voidp block) { std::free(block); }

// Both libpng structures, released on every way out.
struct ReadGuard {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~ReadGuard() {
        if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
};

struct WriteGuard {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~WriteGuard() {
        if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
    }
};

// Creates the info structure for a just created `png`; returns what failed, or nullptr.
const char* CreateInfo(png_structp png, png_infop& info) {
    if (!png) return "Failed to create PNG structure";
    info = png_create_info_struct(png);
    return info ? nullptr : "Failed to initialize PNG info structure";
}

} // namespace

bool ImagePNG::Decode(FILE* stream) {
    IOFile file(stream);
    return Decode(&file);
}

bool ImagePNG::Decode(File* stream) {
    if (!stream) return false;
    const int32_t start = stream->Tell();
    if (DecodeStream(stream)) return true;
    if (info.escape) return false;
    // A file cut inside its image data gives the rows that are there; the rest stays black.
    TruncatedPng cut;
    if (!cut.Rebuild(stream, start, GetMaxMemory())) return false;
    const std::string error = GetLastError();
    MemFile whole(cut.Bytes().data(), static_cast<uint32_t>(cut.Bytes().size()));
    if (!DecodeStream(&whole)) {
        SetLastError(error.c_str());
        return false;
    }
    SetTruncated(true);
    return true;
}

bool ImagePNG::DecodeStream(File* stream) {
    // Outlives the libpng structures, which point at it (see below).
    const uint64_t blockLimit = 2 * static_cast<uint64_t>(std::max(stream->Size(), 0)) * 1032 + (1u << 20);
    ReadGuard guard;
    guard.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, this, ErrorHandler, WarningHandler);
    if (const char* error = CreateInfo(guard.png, guard.info)) {
        SetLastError(error);
        return false;
    }
    // The row buffer lives outside the jump so it is released after an error too.
    std::vector<uint8_t> row;
    png_structp png = guard.png;
    png_infop pinfo = guard.info;
    if (setjmp(png_jmpbuf(png))) return false;

    png_set_read_fn(png, stream, ReadData);
    // libpng allocates a chunk's declared length before reading it. No block may
    // be larger than the file could fill at deflate's best ratio (twice that, as
    // truncated files are admitted, and 1 MiB for small ones); a text chunk
    // asking for more is skipped with a warning, a row that large cannot pass
    // the size check below anyway.
    png_set_mem_fn(png, const_cast<uint64_t*>(&blockLimit), BoundedMalloc, PlainFree);
    png_read_info(png, pinfo);

    const png_uint_32 width = png_get_image_width(png, pinfo);
    const png_uint_32 height = png_get_image_height(png, pinfo);
    const int bitDepth = png_get_bit_depth(png, pinfo);
    const int colorType = png_get_color_type(png, pinfo);
    const int pixelDepth = bitDepth * png_get_channels(png, pinfo);
    // Deflate turns one byte into at most 1032, so the rows (with their filter
    // bytes) must be within reach of the rest of the file.
    const uint64_t rawBytes = (static_cast<uint64_t>(width) * pixelDepth + 7) / 8 * height + height;
    if (!DecodeLimit::CheckData(*this, stream, width, height, rawBytes, 1032)) {
        char message[sizeof(info.lastError)];
        std::memcpy(message, info.lastError, sizeof(message));
        png_error(png, message);
    }

    // Images with an alpha channel of 8 bits per sample after stripping keep it as an alpha plane
    // (8-bit RGBA, 16-bit grey with alpha, and 16-bit RGBA); the others are composed over a background.
    const bool keepAlpha =
        colorType == PNG_COLOR_TYPE_RGB_ALPHA || (colorType == PNG_COLOR_TYPE_GRAY_ALPHA && pixelDepth == 32);
    png_color_16p fileBackground = nullptr;
    const bool hasBackground = png_get_bKGD(png, pinfo, &fileBackground) != 0;
    if (!keepAlpha) {
        if (hasBackground) {
            png_set_background(png, fileBackground, PNG_BACKGROUND_GAMMA_FILE, 1, 1.0);
        } else {
            png_color_16 standard{};
            standard.red = standard.green = standard.blue = 192;
            png_set_background(png, &standard, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
        }
    } else if (hasBackground) {
        info.transColor =
            RGBQUAD{static_cast<uint8_t>(fileBackground->blue), static_cast<uint8_t>(fileBackground->green),
                    static_cast<uint8_t>(fileBackground->red), 0};
    }
    if (bitDepth == 16) png_set_scale_16(png); // rounded v × 255 / 65535, as every reader here scales

    const uint32_t depth = pixelDepth == 16 ? 8 : (pixelDepth < 16 ? static_cast<uint32_t>(pixelDepth) : 24);
    if (!Create(width, height, depth, FORMAT_PNG)) {
        char message[sizeof(info.lastError)];
        std::memcpy(message, info.lastError, sizeof(message));
        png_error(png, message);
    }

    png_uint_32 xRes = 0, yRes = 0;
    int unit = PNG_RESOLUTION_UNKNOWN;
    png_get_pHYs(png, pinfo, &xRes, &yRes, &unit);
    if (unit == PNG_RESOLUTION_METER) {
        SetXDPI(PixelsPerMetreToDpi(xRes));
        SetYDPI(PixelsPerMetreToDpi(yRes));
    } else {
        // No chunk, or one that gives only the pixel aspect ratio.
        SetXDPI(96);
        SetYDPI(96);
    }
    // Calibration and camera from the text chunks in front of the pixels.
    SetPixelSize(0);
    SetCameraName(nullptr);
    png_textp texts = nullptr;
    int textCount = 0;
    png_get_text(png, pinfo, &texts, &textCount);
    for (int i = 0; i < textCount; ++i) {
        if (!texts[i].key || !texts[i].text) continue;
        if (std::strcmp(texts[i].key, kCalibrationKey) == 0) SetPixelSize(ParsePixelSizeText(texts[i].text));
        else if (std::strcmp(texts[i].key, kCameraKey) == 0) SetCameraName(texts[i].text);
    }

    png_colorp palette = nullptr;
    int paletteCount = 0;
    if (png_get_PLTE(png, pinfo, &palette, &paletteCount) && paletteCount > 0) {
        const int n = std::min<int>(paletteCount, static_cast<int>(GetNumColors()));
        for (int i = 0; i < n; ++i)
            SetPaletteColor(static_cast<uint8_t>(i), palette[i].red, palette[i].green, palette[i].blue);
    } else if (bitDepth == 2) {
        static const uint8_t grey[4] = {0, 85, 170, 255};
        for (uint8_t i = 0; i < 4; ++i) SetPaletteColor(i, grey[i], grey[i], grey[i]);
    } else {
        SetGrayPalette();
    }

    png_bytep transAlpha = nullptr;
    int transCount = 0;
    png_color_16p transColour = nullptr;
    if (GetPalette() && png_get_tRNS(png, pinfo, &transAlpha, &transCount, &transColour) && transAlpha &&
        transCount > 0) {
        RGBQUAD* pal = GetPalette();
        const int n = std::min<int>(transCount, static_cast<int>(GetNumColors()));
        for (int i = 0; i < n; ++i) pal[i].rgbReserved = transAlpha[i];
        if (transCount == 1 && pal[0].rgbReserved == 0) {
            info.transIndex = 0;
            pal[0].rgbReserved = 0;
        } else {
            AlphaPaletteEnable(true);
            for (uint32_t i = static_cast<uint32_t>(n); i < GetNumColors(); ++i) pal[i].rgbReserved = 255;
        }
    }

    if (keepAlpha) {
        if (colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
            png_set_gray_to_rgb(png);
            png_set_expand(png);
        }
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
        if (!AlphaCreate()) png_error(png, "Image::Create can't allocate memory");
    }
    if (colorType & PNG_COLOR_MASK_COLOR) png_set_bgr(png);

    if (info.escape) {
        SetLastError("");
        return false;
    }

    const int passes = png_set_interlace_handling(png);
    SetCodecOption(passes > 1 ? 1 : 0, FORMAT_PNG);
    png_read_update_info(png, pinfo);
    const size_t rowBytes = png_get_rowbytes(png, pinfo);
    // The transformed rows must match the image layout chosen above.
    if (keepAlpha ? rowBytes != static_cast<size_t>(width) * 4 : rowBytes > info.effWidth)
        png_error(png, "Unexpected PNG row layout");
    // The common kinds of file take the faster way from here (see PngPixelStream);
    // it goes back to the first IDAT chunk's header, so the stream must tell where it is.
    // No libpng call may happen while it runs: an error would jump over its destructor.
    const bool trns = png_get_valid(png, pinfo, PNG_INFO_tRNS) != 0;
    if (PngPixelStream::Enabled() && PngPixelStream::Takes(width, bitDepth, colorType, passes > 1, trns) &&
        stream->Tell() >= 8) {
        PngPixelStream pixels(stream, bitDepth, colorType);
        return pixels.Read(*this);
    }
    row.assign(std::max<size_t>(rowBytes, info.effWidth) + 10, 0);

    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 k = 0; k < height; ++k) {
            if (info.escape) {
                SetLastError("");
                return false;
            }
            uint8_t* dst = GetBits(height - 1 - k);
            if (keepAlpha) {
                uint8_t* alpha = AlphaGetPointer(0, static_cast<int32_t>(height - 1 - k));
                if (pass > 0) {
                    for (png_uint_32 x = 0; x < width; ++x) {
                        std::memcpy(&row[4 * x], dst + 3 * x, 3);
                        row[4 * x + 3] = alpha[x];
                    }
                }
                png_read_row(png, row.data(), nullptr);
                for (png_uint_32 x = 0; x < width; ++x) {
                    std::memcpy(dst + 3 * x, &row[4 * x], 3);
                    alpha[x] = row[4 * x + 3];
                }
            } else if (passes == 1 && bitDepth != 2) {
                png_read_row(png, dst, nullptr); // straight into the picture's row
            } else {
                if (pass > 0) std::memcpy(row.data(), dst, info.effWidth);
                png_read_row(png, row.data(), nullptr);
                if (bitDepth == 2 && pass == passes - 1) Widen2To4(row.data(), width);
                std::memcpy(dst, row.data(), info.effWidth);
            }
        }
    }
    png_read_end(png, nullptr);
    return true;
}

bool ImagePNG::Encode(FILE* stream) {
    IOFile file(stream);
    return Encode(&file);
}

bool ImagePNG::Encode(File* stream) {
    if (EncodeSafeCheck(stream)) return false;
    WriteGuard guard;
    guard.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, this, ErrorHandler, WarningHandler);
    if (const char* error = CreateInfo(guard.png, guard.info)) {
        SetLastError(error);
        return false;
    }
    std::vector<uint8_t> row;
    png_structp png = guard.png;
    png_infop pinfo = guard.info;
    if (setjmp(png_jmpbuf(png))) {
        if (GetLastError()[0] == '\0') SetLastError("Error saving PNG file");
        return false;
    }
    SetLastError("");
    png_set_write_fn(png, stream, WriteData, FlushData);

    const uint32_t width = GetWidth(), height = GetHeight(), bpp = GetBpp();
    const bool alpha = bpp == 24 && AlphaIsValid();
    const bool indexed = IsIndexed();
    int colorType = PNG_COLOR_TYPE_RGB;
    if (indexed) colorType = PNG_COLOR_TYPE_PALETTE;
    else if (alpha) colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    const int interlace = GetCodecOption(FORMAT_PNG) == 1 ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE;
    png_set_IHDR(png, pinfo, width, height, indexed ? static_cast<int>(bpp) : 8, colorType, interlace,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);

    if (indexed) {
        const RGBQUAD* pal = GetPalette();
        const int count = static_cast<int>(GetNumColors());
        std::vector<png_color> colours(static_cast<size_t>(count));
        std::vector<png_byte> alphas(static_cast<size_t>(count), 255);
        int transCount = 0;
        for (int i = 0; i < count; ++i) {
            colours[i] = png_color{pal[i].rgbRed, pal[i].rgbGreen, pal[i].rgbBlue};
            if (AlphaPaletteIsEnabled()) alphas[i] = pal[i].rgbReserved;
        }
        if (info.transIndex >= 0 && info.transIndex < count) alphas[static_cast<size_t>(info.transIndex)] = 0;
        for (int i = 0; i < count; ++i)
            if (alphas[static_cast<size_t>(i)] != 255) transCount = i + 1;
        png_set_PLTE(png, pinfo, colours.data(), count);
        if (transCount > 0) png_set_tRNS(png, pinfo, alphas.data(), transCount, nullptr);
    }

    const auto toPpm = [](int32_t dpi) {
        return static_cast<png_uint_32>(std::lround(std::max(dpi, 1) / 0.0254));
    };
    // A calibrated picture gives its pixel size as pixels per metre (whole
    // numbers) and exactly in a text chunk; the camera's name goes with it.
    std::string calibration;
    if (info.pixelSizeUm > 0) {
        const double perMetre = std::clamp(std::round(1.0e6 / info.pixelSizeUm), 1.0, 2147483647.0);
        png_set_pHYs(png, pinfo, static_cast<png_uint_32>(perMetre), static_cast<png_uint_32>(perMetre),
                     PNG_RESOLUTION_METER);
        calibration = PixelSizeText(info.pixelSizeUm);
    } else {
        png_set_pHYs(png, pinfo, toPpm(info.xDpi), toPpm(info.yDpi), PNG_RESOLUTION_METER);
    }
    std::vector<png_text> texts;
    const auto addText = [&texts](const char* key, const char* text) {
        png_text t{};
        t.compression = PNG_TEXT_COMPRESSION_NONE;
        t.key = const_cast<char*>(key);
        t.text = const_cast<char*>(text);
        t.text_length = std::strlen(text);
        texts.push_back(t);
    };
    if (!calibration.empty()) addText(kCalibrationKey, calibration.c_str());
    if (info.cameraName[0] != '\0') addText(kCameraKey, info.cameraName);
    if (!texts.empty()) png_set_text(png, pinfo, texts.data(), static_cast<int>(texts.size()));
    png_write_info(png, pinfo);
    if (!indexed) png_set_bgr(png);

    const int passes = png_set_interlace_handling(png);
    const size_t rowBytes = alpha ? static_cast<size_t>(width) * 4 : info.effWidth;
    row.assign(rowBytes, 0);
    for (int pass = 0; pass < passes; ++pass) {
        for (uint32_t k = 0; k < height; ++k) {
            const uint8_t* src = GetBits(height - 1 - k);
            if (alpha) {
                const uint8_t* a = AlphaGetPointer(0, static_cast<int32_t>(height - 1 - k));
                for (uint32_t x = 0; x < width; ++x) {
                    std::memcpy(&row[4 * x], src + 3 * x, 3);
                    row[4 * x + 3] = a[x];
                }
            } else {
                std::memcpy(row.data(), src, info.effWidth);
            }
            png_write_row(png, row.data());
        }
    }
    png_write_end(png, pinfo);
    return true;
}

} // namespace vimg
