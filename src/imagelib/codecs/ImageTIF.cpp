#include "ImageTIF.h"

#include "../ChannelOrder.h"
#include "../DecodeLimit.h"
#include "../File.h"
#include "../IOFile.h"
#include "../PixelLoop.h"

#include <tiffio.h>

#include "CalibrationTags.h"
#include "SampleScale.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdarg>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <vector>

namespace vimg {

namespace {

// ---- client procedures: libtiff reads and writes through a File ----

tmsize_t ReadProc(thandle_t h, void* buffer, tmsize_t size) {
    if (size <= 0) return 0;
    return static_cast<tmsize_t>(static_cast<File*>(h)->Read(buffer, 1, static_cast<size_t>(size)));
}

tmsize_t WriteProc(thandle_t h, void* buffer, tmsize_t size) {
    if (size <= 0) return 0;
    return static_cast<tmsize_t>(static_cast<File*>(h)->Write(buffer, 1, static_cast<size_t>(size)));
}

toff_t SeekProc(thandle_t h, toff_t offset, int whence) {
    auto* stream = static_cast<File*>(h);
    const auto signedOffset = static_cast<int64_t>(offset);
    const int64_t limit = std::numeric_limits<int32_t>::max();
    if ((whence == SEEK_SET && offset > static_cast<toff_t>(limit)) || signedOffset > limit ||
        signedOffset < -limit)
        return static_cast<toff_t>(-1);
    if (!stream->Seek(static_cast<int32_t>(signedOffset), whence)) return static_cast<toff_t>(-1);
    const int32_t pos = stream->Tell();
    return pos < 0 ? static_cast<toff_t>(-1) : static_cast<toff_t>(pos);
}

int CloseProc(thandle_t) { return 0; } // the stream belongs to the caller

toff_t SizeProc(thandle_t h) {
    const int32_t size = static_cast<File*>(h)->Size();
    return size < 0 ? 0 : static_cast<toff_t>(size);
}

int MapProc(thandle_t, void**, toff_t*) { return 0; }
void UnmapProc(thandle_t, void*, toff_t) {}

// libtiff's messages for one client go to the image that opened it.
int ErrorProc(TIFF*, void* user, const char* module, const char* fmt, va_list ap) {
    if (!user) return 1;
    char text[256];
    char message[200];
    std::vsnprintf(message, sizeof(message), fmt, ap);
    std::snprintf(text, sizeof(text), "%s: %s", module ? module : "libtiff", message);
    static_cast<Image*>(user)->SetLastError(text);
    return 1;
}

int WarningProc(TIFF*, void*, const char*, const char*, va_list) { return 1; }

bool IsGreyOrPalette(int photometric) {
    return photometric == PHOTOMETRIC_MINISWHITE || photometric == PHOTOMETRIC_MINISBLACK ||
           photometric == PHOTOMETRIC_PALETTE;
}

int32_t ToDpi(float value, uint16_t unit) {
    double dpi = unit == RESUNIT_CENTIMETER ? value * 2.54 + 0.5 : value;
    if (!std::isfinite(dpi)) dpi = 0;
    return static_cast<int32_t>(std::clamp(dpi, 0.0, 1.0e6));
}

// CIE L*a*b* (D65) to 8-bit sRGB.
void LabToRgb(uint8_t l8, int8_t a8, int8_t b8, uint8_t* bgr) {
    const double l = l8 * 100.0 / 255.0, a = a8, b = b8;
    const double fy = (l + 16.0) / 116.0, fx = fy + a / 500.0, fz = fy - b / 200.0;
    const auto finv = [](double t) {
        return t > 6.0 / 29.0 ? t * t * t : 3.0 * (6.0 / 29.0) * (6.0 / 29.0) * (t - 4.0 / 29.0);
    };
    const double x = 0.95047 * finv(fx), y = 1.0 * finv(fy), z = 1.0883 * finv(fz);
    const double lin[3] = {3.240479 * x - 1.53715 * y - 0.498535 * z,
                           -0.969256 * x + 1.875992 * y + 0.041556 * z,
                           0.055648 * x - 0.204043 * y + 1.057311 * z};
    for (int i = 0; i < 3; ++i) {
        const double c = std::max(0.0, lin[i]);
        const double s = c > 0.00304 ? 1.055 * std::pow(c, 1.0 / 2.4) - 0.055 : 12.92 * c;
        bgr[2 - i] = static_cast<uint8_t>(std::clamp(s * 255.0 + 0.5, 0.0, 255.0));
    }
}

// Undoes the multiplication of colours by alpha in one 24-bit row.
void Unpremultiply(uint8_t* bgr, const uint8_t* alpha, uint32_t width) {
    for (uint32_t x = 0; x < width; ++x) {
        const uint32_t a = alpha[x];
        if (a == 0 || a == 255) continue;
        for (int c = 0; c < 3; ++c)
            bgr[3 * x + c] =
                static_cast<uint8_t>(std::min<uint32_t>(255, (bgr[3 * x + c] * 255u + a / 2) / a));
    }
}

struct OptionsGuard {
    TIFFOpenOptions* opts = TIFFOpenOptionsAlloc();
    ~OptionsGuard() { TIFFOpenOptionsFree(opts); }
};

} // namespace

ImageTIF::~ImageTIF() { ResetWriter(); }

void ImageTIF::ResetWriter() {
    if (m_tif) TIFFClose(m_tif);
    m_tif = nullptr;
    m_pages = 0;
    m_multipage = false;
}

TIFF* ImageTIF::TIFFOpenEx(File* stream, const char* mode, Image* errorSink) {
    if (!stream) return nullptr;
    OptionsGuard options;
    if (!options.opts) return nullptr;
    TIFFOpenOptionsSetErrorHandlerExtR(options.opts, ErrorProc, errorSink);
    TIFFOpenOptionsSetWarningHandlerExtR(options.opts, WarningProc, nullptr);
    // No single allocation inside libtiff may exceed what an image may hold.
    const uint64_t cap =
        std::min<uint64_t>(Image::GetMaxMemory() + (1u << 20), std::numeric_limits<tmsize_t>::max());
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.opts, static_cast<tmsize_t>(cap));
    return TIFFClientOpenExt("vimg", mode, stream, ReadProc, WriteProc, SeekProc, CloseProc, SizeProc,
                             MapProc, UnmapProc, options.opts);
}

void ImageTIF::TIFFCloseEx(TIFF* handle) {
    if (handle) TIFFClose(handle);
}

bool ImageTIF::Decode(FILE* stream) {
    IOFile file(stream);
    return Decode(&file);
}

bool ImageTIF::Decode(File* stream) {
    std::unique_ptr<TIFF, void (*)(TIFF*)> tif(TIFFOpenEx(stream, "r", this), TIFFCloseEx);
    if (!tif) return Fail("Error encountered while opening TIFF file");
    info.frameCount = static_cast<int32_t>(std::min<tdir_t>(TIFFNumberOfDirectories(tif.get()), INT32_MAX));
    if (info.frame < 0 || !TIFFSetDirectory(tif.get(), static_cast<tdir_t>(info.frame)))
        return Fail("Error: page not present in TIFF file");

    uint32_t width = 0, height = 0, rowsPerStrip = 0;
    uint16_t samples = 1, bits = 1, photometric = 0, orientation = ORIENTATION_TOPLEFT,
             planar = PLANARCONFIG_CONTIG;
    uint16_t compression = COMPRESSION_NONE, sampleFormat = SAMPLEFORMAT_UINT;
    TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_ORIENTATION, &orientation);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_COMPRESSION, &compression);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_SAMPLEFORMAT, &sampleFormat);
    if (!TIFFGetField(tif.get(), TIFFTAG_PHOTOMETRIC, &photometric))
        photometric = samples >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK;

    if (info.escape == -1) {
        head.biWidth = static_cast<int32_t>(width);
        head.biHeight = static_cast<int32_t>(height);
        SetLastError("output dimensions returned");
        return true;
    }

    float xRes = 0, yRes = 0, xPos = 0, yPos = 0;
    uint16_t unit = RESUNIT_INCH;
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_RESOLUTIONUNIT, &unit);
    if (TIFFGetField(tif.get(), TIFFTAG_XRESOLUTION, &xRes)) info.xDpi = ToDpi(xRes, unit);
    if (TIFFGetField(tif.get(), TIFFTAG_YRESOLUTION, &yRes)) info.yDpi = ToDpi(yRes, unit);
    // Calibration: ImageJ's description with the resolution, and the camera as the model.
    const char* description = nullptr;
    if (!TIFFGetField(tif.get(), TIFFTAG_IMAGEDESCRIPTION, &description)) description = nullptr;
    SetPixelSize(ImageJPixelSize(description, xRes, unit == RESUNIT_CENTIMETER));
    const char* model = nullptr;
    SetCameraName(TIFFGetField(tif.get(), TIFFTAG_MODEL, &model) ? model : nullptr);
    if (TIFFGetField(tif.get(), TIFFTAG_XPOSITION, &xPos) && std::isfinite(xPos))
        info.xOffset = static_cast<int32_t>(std::clamp(xPos, -1.0e9f, 1.0e9f));
    if (TIFFGetField(tif.get(), TIFFTAG_YPOSITION, &yPos) && std::isfinite(yPos))
        info.yOffset = static_cast<int32_t>(std::clamp(yPos, -1.0e9f, 1.0e9f));
    if (rowsPerStrip > height) rowsPerStrip = height;
    info.transIndex = -1;

    uint16_t extraCount = 0;
    uint16_t* extraTypes = nullptr;
    TIFFGetField(tif.get(), TIFFTAG_EXTRASAMPLES, &extraCount, &extraTypes);

    // The strip path keeps indexes and palettes; everything else is rendered by libtiff as RGBA.
    const bool contig = planar == PLANARCONFIG_CONTIG;
    const bool unsignedInt = sampleFormat == SAMPLEFORMAT_UINT;
    const bool greyOrPalette =
        contig && unsignedInt && IsGreyOrPalette(photometric) &&
        ((samples == 1 && (bits == 1 || bits == 2 || bits == 4 || bits == 8 ||
                           (bits == 16 && photometric != PHOTOMETRIC_PALETTE))) ||
         (samples == 2 && (bits == 8 || (bits == 16 && photometric != PHOTOMETRIC_PALETTE))));
    const bool lab =
        contig && photometric == PHOTOMETRIC_CIELAB && bits == 8 && (samples == 3 || samples == 4);
    // Plain RGB is read directly too: libtiff's RGBA rendering would premultiply an alpha channel.
    const bool rgb = contig && unsignedInt && photometric == PHOTOMETRIC_RGB && (bits == 8 || bits == 16) &&
                     (samples == 3 || samples == 4);
    // Grey and RGB samples of other depths and kinds (12-bit, 32-bit integers,
    // floating point), as scientific cameras write them.
    const bool greyKind = photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE;
    const bool wideKind = sampleFormat == SAMPLEFORMAT_IEEEFP
                              ? (bits == 32 || bits == 64)
                              : (unsignedInt || sampleFormat == SAMPLEFORMAT_INT) && bits >= 2 && bits <= 32;
    // CMYK of 8 bits goes through libtiff's rendering; deeper CMYK is read here.
    const bool cmyk = photometric == PHOTOMETRIC_SEPARATED && (samples == 4 || samples == 5) && bits != 8;
    const bool wide = contig && !greyOrPalette && !rgb && wideKind &&
                      ((greyKind && (samples == 1 || samples == 2)) ||
                       (photometric == PHOTOMETRIC_RGB && (samples == 3 || samples == 4)) || cmyk);
    const bool stripPath = greyOrPalette || lab || rgb;
    uint32_t depth = 24;
    if (greyOrPalette) depth = bits == 1 ? 1 : (bits == 4 ? 4 : 8);
    if (wide && greyKind) depth = 8;
    const bool alpha = cmyk                ? samples == 5
                       : stripPath || wide ? (samples == 4 || samples == 2)
                                           : (samples >= 2 && extraCount > 0);

    if (info.escape) return Fail("Cancelled");
    // Where the compression has a known best ratio the file must be able to hold
    // the samples; otherwise (fax, JPEG, ...) only the pixel ceiling applies.
    const uint32_t expansion =
        compression == COMPRESSION_NONE                                                    ? 1
        : compression == COMPRESSION_PACKBITS                                              ? 64
        : compression == COMPRESSION_LZW                                                   ? 4096
        : (compression == COMPRESSION_ADOBE_DEFLATE || compression == COMPRESSION_DEFLATE) ? 1032
                                                                                           : 0;
    const uint64_t sampleBytes = (static_cast<uint64_t>(width) * samples * bits + 7) / 8 * height;
    const int32_t fileSize = stream->Size();
    if (expansion ? !DecodeLimit::CheckHeld(*this, fileSize > 0 ? static_cast<uint64_t>(fileSize) : 0, width,
                                            height, sampleBytes, expansion)
                  : !DecodeLimit::CheckPixels(*this, width, height))
        return false;
    if (!Create(width, height, depth, FORMAT_TIF)) return Fail("ImageTIF can't create image");
    SetXDPI(info.xDpi);
    SetYDPI(info.yDpi);
    if (alpha && !AlphaCreate()) return Fail("ImageTIF can't allocate memory");
    SetCodecOption(compression, FORMAT_TIF);

    const bool ok = wide ? DecodeWide(tif.get(), width, height, photometric, samples, bits, sampleFormat)
                    : stripPath ? DecodeStrips(tif.get(), width, height, photometric, samples, bits, alpha)
                                : DecodeRGBA(tif.get(), width, height, alpha);
    if (!ok) return false;
    return ApplyOrientation(orientation);
}

bool ImageTIF::DecodeRGBA(TIFF* tif, uint32_t width, uint32_t height, bool alpha) {
    const uint64_t pixels = static_cast<uint64_t>(width) * height;
    std::unique_ptr<uint32_t[]> raster(new (std::nothrow) uint32_t[pixels]);
    if (!raster) return Fail("No space for raster buffer");

    char message[1024] = {};
    TIFFRGBAImage img;
    if (!TIFFRGBAImageOK(tif, message) || !TIFFRGBAImageBegin(&img, tif, 0, message))
        return Fail("Corrupted TIFF file!");
    // Rows as stored, top first: the orientation is applied afterwards for every path alike.
    img.req_orientation = img.orientation;
    const int got = TIFFRGBAImageGet(&img, raster.get(), width, height);
    TIFFRGBAImageEnd(&img);
    if (!got) return Fail("Corrupted TIFF file!");

    for (uint32_t r = 0; r < height; ++r) {
        if (info.escape) return Fail("Cancelled");
        const uint32_t* src = raster.get() + static_cast<uint64_t>(r) * width;
        uint8_t* dst = GetBits(height - 1 - r);
        uint8_t* a = alpha ? AlphaGetPointer(0, static_cast<int32_t>(height - 1 - r)) : nullptr;
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t p = src[x];
            dst[3 * x] = static_cast<uint8_t>(TIFFGetB(p));
            dst[3 * x + 1] = static_cast<uint8_t>(TIFFGetG(p));
            dst[3 * x + 2] = static_cast<uint8_t>(TIFFGetR(p));
            if (a) a[x] = static_cast<uint8_t>(TIFFGetA(p));
        }
        // libtiff hands out colours multiplied by alpha; the image keeps them straight.
        if (a) Unpremultiply(dst, a, width);
    }
    return true;
}

void ImageTIF::TileToStrip(uint8_t* strip, const uint8_t* tile, uint32_t rows, size_t lineBytes,
                           size_t tileRowBytes, size_t offset) {
    if (offset >= lineBytes) return;
    const size_t n = std::min(tileRowBytes, lineBytes - offset);
    for (uint32_t r = 0; r < rows; ++r)
        std::memcpy(strip + r * lineBytes + offset, tile + r * tileRowBytes, n);
}

bool ImageTIF::DecodeStrips(TIFF* tif, uint32_t width, uint32_t height, int photometric, int samples,
                            int bits, bool alpha) {
    // Palette.
    if (RGBQUAD* pal = GetPalette()) {
        const uint32_t entries = std::min<uint32_t>(1u << std::min(bits, 8), GetNumColors());
        if (photometric == PHOTOMETRIC_PALETTE) {
            uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
            if (!TIFFGetField(tif, TIFFTAG_COLORMAP, &red, &green, &blue) || !red || !green || !blue)
                return Fail("Unable to allocate TIFF palette");
            bool wide = false;
            for (uint32_t i = 0; i < entries; ++i) wide |= red[i] > 255 || green[i] > 255 || blue[i] > 255;
            const auto level = [wide](uint16_t v) {
                // Colour map entries truncate, as ImageMagick reads them.
                return static_cast<uint8_t>(wide ? v * 255u / 65535u : v & 0xFF);
            };
            for (uint32_t i = 0; i < entries; ++i)
                pal[i] = RGBQUAD{level(blue[i]), level(green[i]), level(red[i]), 0};
        } else {
            const uint32_t step = 255 / (entries - 1);
            for (uint32_t i = 0; i < entries; ++i) {
                uint8_t v = static_cast<uint8_t>(i * step);
                if (photometric == PHOTOMETRIC_MINISWHITE) v = static_cast<uint8_t>(255 - v);
                pal[i] = RGBQUAD{v, v, v, 0};
            }
        }
    }

    uint16_t extraCount = 0;
    uint16_t* extraTypes = nullptr;
    const bool associated = TIFFGetField(tif, TIFFTAG_EXTRASAMPLES, &extraCount, &extraTypes) &&
                            extraCount > 0 && extraTypes && extraTypes[0] == EXTRASAMPLE_ASSOCALPHA;
    const bool tiled = TIFFIsTiled(tif) != 0;
    const uint64_t lineBytes = TIFFScanlineSize64(tif);
    const uint64_t pixelBits = static_cast<uint64_t>(samples) * bits;
    if (lineBytes == 0 || lineBytes < (static_cast<uint64_t>(width) * pixelBits + 7) / 8)
        return Fail("Corrupted TIFF file!");

    uint32_t rowsPer = 0, tileWidth = 0;
    uint64_t tileBytes = 0, tileRowBytes = 0;
    if (tiled) {
        TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tileWidth);
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &rowsPer);
        tileBytes = TIFFTileSize64(tif);
        tileRowBytes = TIFFTileRowSize64(tif);
        if (tileWidth == 0 || rowsPer == 0 || tileBytes == 0 ||
            (static_cast<uint64_t>(tileWidth) * pixelBits) % 8 != 0 || tileRowBytes * rowsPer > tileBytes)
            return Fail("Corrupted tiled TIFF file!");
    } else {
        TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rowsPer);
        rowsPer = std::clamp<uint32_t>(rowsPer, 1, height);
    }
    rowsPer = std::min(rowsPer, height);

    // One strip (or one row of tiles) at a time.
    const uint64_t stripBytes = lineBytes * rowsPer;
    if (stripBytes > GetMaxMemory() + (1u << 20) || tileBytes > GetMaxMemory() + (1u << 20))
        return Fail("ImageTIF can't allocate memory");
    std::unique_ptr<uint8_t[]> strip(new (std::nothrow) uint8_t[stripBytes]);
    std::unique_ptr<uint8_t[]> tile(tiled ? new (std::nothrow) uint8_t[tileBytes] : nullptr);
    if (!strip || (tiled && !tile)) return Fail("ImageTIF can't allocate memory");

    const uint32_t effWidth = info.effWidth;
    for (uint32_t row = 0; row < height; row += rowsPer) {
        if (info.escape) return Fail("Cancelled");
        const uint32_t rows = std::min(rowsPer, height - row);
        if (tiled) {
            std::memset(strip.get(), 0, stripBytes);
            for (uint32_t tx = 0; tx < width; tx += tileWidth) {
                if (TIFFReadTile(tif, tile.get(), tx, row, 0, 0) < 0)
                    return Fail("Corrupted tiled TIFF file!");
                TileToStrip(strip.get(), tile.get(), rows, lineBytes, tileRowBytes, tx * pixelBits / 8);
            }
        } else {
            const tmsize_t want = static_cast<tmsize_t>(lineBytes * rows);
            const tmsize_t got = TIFFReadEncodedStrip(tif, TIFFComputeStrip(tif, row, 0), strip.get(), want);
            if (got < 0) return Fail("Corrupted TIFF file!");
            // A short strip leaves the rest of the picture blank, not stale.
            if (got < want) std::memset(strip.get() + got, 0, static_cast<size_t>(want - got));
        }

        for (uint32_t r = 0; r < rows; ++r) {
            const uint8_t* src = strip.get() + r * lineBytes;
            const uint32_t y = height - 1 - (row + r);
            uint8_t* dst = GetBits(y);
            uint8_t* a = alpha ? AlphaGetPointer(0, static_cast<int32_t>(y)) : nullptr;
            const auto sample = [&](uint32_t i) -> uint8_t {
                if (bits == 16) {
                    uint16_t v;
                    std::memcpy(&v, src + 2 * i, 2);
                    return ScaleTo8(v, 65535);
                }
                return src[i];
            };
            if (samples == 1 && (bits == 1 || bits == 4 || bits == 8)) {
                std::memcpy(dst, src, std::min<uint64_t>(lineBytes, effWidth));
            } else if (samples == 1 && bits == 2) {
                for (uint32_t x = 0; x < width; ++x)
                    dst[x] = static_cast<uint8_t>((src[x / 4] >> (6 - 2 * (x % 4))) & 3);
            } else if (samples == 1) {
                for (uint32_t x = 0; x < width; ++x) dst[x] = sample(x);
            } else if (samples == 2) {
                for (uint32_t x = 0; x < width; ++x) {
                    dst[x] = sample(2 * x);
                    a[x] = sample(2 * x + 1);
                }
            } else if (photometric == PHOTOMETRIC_RGB && bits == 8 && samples == 3 && !a) {
                CopySwappingRedBlue(dst, src, width);
            } else if (photometric == PHOTOMETRIC_RGB && bits == 8) {
                for (uint32_t x = 0; x < width; ++x, src += samples, dst += 3) {
                    dst[0] = src[2];
                    dst[1] = src[1];
                    dst[2] = src[0];
                    if (a) a[x] = src[3];
                }
                dst = GetBits(y);
            } else if (photometric == PHOTOMETRIC_RGB) {
                for (uint32_t x = 0; x < width; ++x) {
                    const uint32_t i = x * static_cast<uint32_t>(samples);
                    dst[3 * x] = sample(i + 2);
                    dst[3 * x + 1] = sample(i + 1);
                    dst[3 * x + 2] = sample(i);
                    if (a) a[x] = sample(i + 3);
                }
            } else {
                for (uint32_t x = 0; x < width; ++x) {
                    const uint8_t* p = src + static_cast<size_t>(x) * samples;
                    LabToRgb(p[0], static_cast<int8_t>(p[1]), static_cast<int8_t>(p[2]), dst + 3 * x);
                    if (a) a[x] = p[3];
                }
            }
            if (a && associated && GetBpp() == 24) Unpremultiply(dst, a, width);
        }
    }
    return true;
}

namespace {

// One sample of a row as a number: packed big-endian bit fields for odd
// depths, native words (libtiff has swapped them) for whole bytes.
double WideSample(const uint8_t* row, uint64_t index, int bits, int format) {
    if (format == SAMPLEFORMAT_IEEEFP) {
        if (bits == 32) {
            float f;
            std::memcpy(&f, row + 4 * index, 4);
            return f;
        }
        double d;
        std::memcpy(&d, row + 8 * index, 8);
        return d;
    }
    uint64_t v = 0;
    if (bits == 16) {
        uint16_t w;
        std::memcpy(&w, row + 2 * index, 2);
        v = w;
    } else if (bits == 32) {
        uint32_t w;
        std::memcpy(&w, row + 4 * index, 4);
        v = w;
    } else if (bits == 8) {
        v = row[index];
    } else if (bits == 24) {
        const uint8_t* p = row + 3 * index;
        uint8_t b[4] = {p[0], p[1], p[2], 0};
        uint32_t w;
        std::memcpy(&w, b, 4);
        // Native order after libtiff's swap: a 24-bit word as the host would store it.
        v = std::endian::native == std::endian::little ? w : (w >> 8);
    } else {
        const uint64_t first = index * static_cast<uint64_t>(bits);
        for (int i = 0; i < bits; ++i) {
            const uint64_t bit = first + static_cast<uint64_t>(i);
            v = (v << 1) | ((row[bit / 8] >> (7 - bit % 8)) & 1u);
        }
    }
    if (format == SAMPLEFORMAT_INT && bits < 64 && (v >> (bits - 1)) & 1)
        return static_cast<double>(v) - std::ldexp(1.0, bits);
    return static_cast<double>(v);
}

// A fraction onto 0..255, rounded; not-a-number gives 0.
uint8_t Level(double t) {
    if (!(t > 0)) return 0;
    return static_cast<uint8_t>(std::floor(std::min(t, 1.0) * 255.0 + 0.5));
}

// A value of [low, high] onto 0..255 (values outside clamped).
uint8_t Stretch(double v, double low, double high) {
    if (!(high > low)) return 0;
    return Level((v - low) / (high - low));
}

} // namespace

bool ImageTIF::ReadRawRows(TIFF* tif, uint32_t width, uint32_t height, uint64_t lineBytes, uint64_t pixelBits,
                           uint8_t* raw) {
    if (TIFFIsTiled(tif)) {
        uint32_t tileWidth = 0, tileHeight = 0;
        TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tileWidth);
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &tileHeight);
        const uint64_t tileBytes = TIFFTileSize64(tif), tileRowBytes = TIFFTileRowSize64(tif);
        if (tileWidth == 0 || tileHeight == 0 || tileBytes == 0 ||
            (static_cast<uint64_t>(tileWidth) * pixelBits) % 8 != 0 ||
            tileRowBytes * tileHeight > tileBytes || tileBytes > GetMaxMemory() + (1u << 20))
            return Fail("Corrupted tiled TIFF file!");
        std::vector<uint8_t> tile(static_cast<size_t>(tileBytes));
        for (uint32_t row = 0; row < height; row += tileHeight) {
            if (info.escape) return Fail("Cancelled");
            const uint32_t rows = std::min(tileHeight, height - row);
            for (uint32_t tx = 0; tx < width; tx += tileWidth) {
                if (TIFFReadTile(tif, tile.data(), tx, row, 0, 0) < 0)
                    return Fail("Corrupted tiled TIFF file!");
                TileToStrip(raw + row * lineBytes, tile.data(), rows, lineBytes, tileRowBytes,
                            tx * pixelBits / 8);
            }
        }
        return true;
    }
    uint32_t rowsPer = 0;
    TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rowsPer);
    rowsPer = std::clamp<uint32_t>(rowsPer, 1, height);
    for (uint32_t row = 0; row < height; row += rowsPer) {
        if (info.escape) return Fail("Cancelled");
        const tmsize_t want = static_cast<tmsize_t>(lineBytes * std::min(rowsPer, height - row));
        if (TIFFReadEncodedStrip(tif, TIFFComputeStrip(tif, row, 0), raw + row * lineBytes, want) < 0)
            return Fail("Corrupted TIFF file!"); // a short strip leaves zeros
    }
    return true;
}

bool ImageTIF::DecodeWide(TIFF* tif, uint32_t width, uint32_t height, int photometric, int samples, int bits,
                          int format) {
    if (RGBQUAD* pal = GetPalette()) {
        for (uint32_t i = 0; i < 256; ++i) {
            const auto v = static_cast<uint8_t>(photometric == PHOTOMETRIC_MINISWHITE ? 255 - i : i);
            pal[i] = RGBQUAD{v, v, v, 0};
        }
    }
    const uint64_t lineBytes = TIFFScanlineSize64(tif);
    const uint64_t pixelBits = static_cast<uint64_t>(samples) * bits;
    if (lineBytes == 0 || lineBytes < (static_cast<uint64_t>(width) * pixelBits + 7) / 8)
        return Fail("Corrupted TIFF file!");
    const bool cmyk = photometric == PHOTOMETRIC_SEPARATED;
    const uint64_t colours = cmyk ? 4 : (samples >= 3 ? 3 : 1);
    // Every sample as a number first: the mapping depends on the whole picture's range.
    const uint64_t count = static_cast<uint64_t>(width) * height * samples;
    const uint64_t budget = GetMaxMemory() + (1u << 20);
    if (count * sizeof(double) > budget || lineBytes * height > budget)
        return Fail("ImageTIF can't allocate memory");
    std::vector<double> values;
    std::vector<uint8_t> raw;
    try {
        values.resize(static_cast<size_t>(count));
        raw.resize(static_cast<size_t>(lineBytes * height));
    } catch (const std::bad_alloc&) {
        return Fail("ImageTIF can't allocate memory");
    }
    if (!ReadRawRows(tif, width, height, lineBytes, pixelBits, raw.data())) return false;
    double low = std::numeric_limits<double>::infinity(), high = -low;
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* line = raw.data() + static_cast<uint64_t>(y) * lineBytes;
        double* out = values.data() + static_cast<uint64_t>(y) * width * samples;
        for (uint64_t i = 0; i < static_cast<uint64_t>(width) * samples; ++i) {
            const double v = WideSample(line, i, bits, format);
            out[i] = v;
            if (!cmyk && i % samples < colours && std::isfinite(v)) {
                low = std::min(low, v);
                high = std::max(high, v);
            }
        }
    }
    // Integers that span their type keep the type's scale; floating point and
    // integers of a narrower range map the picture's own minimum..maximum.
    double typeLow = 0, typeHigh = 1;
    if (format != SAMPLEFORMAT_IEEEFP) {
        typeHigh = std::ldexp(1.0, format == SAMPLEFORMAT_INT ? bits - 1 : bits) - 1;
        typeLow = format == SAMPLEFORMAT_INT ? -typeHigh - 1 : 0;
    }
    double mapLow = typeLow, mapHigh = typeHigh;
    if (!(low <= high)) {
        low = high = 0; // nothing finite
    } else if (!cmyk && (format == SAMPLEFORMAT_IEEEFP || low != typeLow || high != typeHigh)) {
        mapLow = low;
        mapHigh = high;
        SetSampleRange(low, high);
    }
    for (uint32_t y = 0; y < height; ++y) {
        const double* in = values.data() + static_cast<uint64_t>(y) * width * samples;
        const uint32_t row = height - 1 - y;
        uint8_t* dst = GetBits(row);
        uint8_t* a = AlphaIsValid() ? AlphaGetPointer(0, static_cast<int32_t>(row)) : nullptr;
        for (uint32_t x = 0; x < width; ++x, in += samples) {
            if (cmyk) {
                // Ink amounts on the type's scale: each colour is (1 - ink) × (1 - black).
                const auto ink = [&](int i) {
                    const double t = (in[i] - typeLow) / (typeHigh - typeLow);
                    return t > 0 ? std::min(t, 1.0) : 0.0; // not-a-number: no ink
                };
                const double white = 1.0 - ink(3);
                for (int c = 0; c < 3; ++c) dst[3 * x + 2 - c] = Level((1.0 - ink(c)) * white);
            } else if (colours == 1) {
                dst[x] = Stretch(in[0], mapLow, mapHigh);
            } else {
                dst[3 * x] = Stretch(in[2], mapLow, mapHigh);
                dst[3 * x + 1] = Stretch(in[1], mapLow, mapHigh);
                dst[3 * x + 2] = Stretch(in[0], mapLow, mapHigh);
            }
            // Alpha keeps the type's own scale (0..1 for floating point).
            if (a) a[x] = Stretch(in[colours], typeLow, typeHigh);
        }
    }
    return true;
}

bool ImageTIF::ApplyOrientation(int orientation) {
    if (orientation < ORIENTATION_TOPRIGHT || orientation > ORIENTATION_LEFTBOT) return true;
    const int32_t w = static_cast<int32_t>(GetWidth()), h = static_cast<int32_t>(GetHeight());
    const bool transpose = orientation >= ORIENTATION_LEFTTOP;
    const int32_t w2 = transpose ? h : w, h2 = transpose ? w : h;
    Image out(FORMAT_TIF);
    if (!out.Create(static_cast<uint32_t>(w2), static_cast<uint32_t>(h2), GetBpp(), FORMAT_TIF) ||
        (AlphaIsValid() && !out.AlphaCreate()))
        return Fail("ImageTIF can't allocate memory");
    if (IsIndexed()) out.SetPalette(GetPalette(), GetNumColors());
    const bool indexed = IsIndexed();
    // Coordinates from the top: visual (vx, vy) shows stored (sx, sy).
    for (int32_t vy = 0; vy < h2; ++vy) {
        for (int32_t vx = 0; vx < w2; ++vx) {
            int32_t sx = vx, sy = vy;
            switch (orientation) {
            case ORIENTATION_TOPRIGHT: sx = w - 1 - vx; break;
            case ORIENTATION_BOTRIGHT: sx = w - 1 - vx; sy = h - 1 - vy; break;
            case ORIENTATION_BOTLEFT: sy = h - 1 - vy; break;
            case ORIENTATION_LEFTTOP: sx = vy; sy = vx; break;
            case ORIENTATION_RIGHTTOP: sx = vy; sy = h - 1 - vx; break;
            case ORIENTATION_RIGHTBOT: sx = w - 1 - vy; sy = h - 1 - vx; break;
            default: sx = w - 1 - vy; sy = vx; break; // left-bottom
            }
            const int32_t srcRow = h - 1 - sy, dstRow = h2 - 1 - vy;
            if (indexed) out.BlindSetPixelIndex(vx, dstRow, BlindGetPixelIndex(sx, srcRow));
            else std::memcpy(out.BlindGetPixelPointer(vx, dstRow), BlindGetPixelPointer(sx, srcRow), 3);
            if (AlphaIsValid()) *out.AlphaGetPointer(vx, dstRow) = BlindAlphaGet(sx, srcRow);
        }
    }
    TransferPixels(out);
    if (transpose) std::swap(info.xDpi, info.yDpi);
    SetXDPI(info.xDpi);
    SetYDPI(info.yDpi);
    return true;
}

bool ImageTIF::Encode(FILE* stream, bool appendPage) {
    IOFile file(stream);
    return Encode(&file, appendPage);
}

bool ImageTIF::Encode(File* stream, bool appendPage) {
    if (EncodeSafeCheck(stream)) return false;
    if (!m_tif) {
        m_tif = TIFFOpenEx(stream, "a", this);
        if (!m_tif) return Fail("initialization fail");
    }
    m_multipage = m_multipage || appendPage || m_pages > 0;
    ++m_pages;
    if (!EncodeBody(m_tif, m_multipage, m_pages, m_pages)) {
        ResetWriter();
        return Fail("Error saving TIFF file");
    }
    if (appendPage) {
        if (!TIFFWriteDirectory(m_tif)) {
            ResetWriter();
            return Fail("Error saving TIFF directory");
        }
        return true;
    }
    const bool flushed = TIFFFlush(m_tif) != 0;
    ResetWriter();
    return flushed ? true : Fail("Error saving TIFF file");
}

bool ImageTIF::Encode(FILE* stream, Image** images, int32_t count) {
    if (!stream) return Fail("invalid file pointer");
    IOFile file(stream);
    return Encode(&file, images, count);
}

bool ImageTIF::Encode(File* stream, Image** images, int32_t count) {
    if (!stream) return Fail("invalid file pointer");
    if (!images || count <= 0) return Fail("multipage TIFF, no images!");
    for (int32_t i = 0; i < count; ++i)
        if (!images[i]) return Fail("Bad image pointer");
    ImageTIF page;
    for (int32_t i = 0; i < count; ++i) {
        page.Ghost(images[i]);
        const bool ok = page.Encode(stream, true);
        page.Unghost();
        if (!ok) return Fail("Error saving TIFF file");
    }
    // Closing writes what libtiff still holds; flushing first lets that write be checked.
    const bool flushed = !page.m_tif || TIFFFlush(page.m_tif) != 0;
    page.ResetWriter();
    return flushed ? true : Fail("Error saving TIFF file");
}

bool ImageTIF::EncodeBody(TIFF* tif, bool multipage, int32_t page, int32_t pageCount) {
    const uint32_t width = GetWidth(), height = GetHeight(), bpp = GetBpp();
    const bool alpha = AlphaIsValid() && (bpp == 24 || bpp == 8);
    const uint16_t samples = bpp == 24 ? (alpha ? 4 : 3) : (alpha ? 2 : 1);
    const uint16_t bits = bpp == 24 ? 8 : static_cast<uint16_t>(bpp);

    uint16_t photometric = PHOTOMETRIC_RGB;
    bool invert = false;
    const RGBQUAD* pal = GetPalette();
    const uint32_t colours = GetNumColors();
    if (bpp == 1) {
        photometric = PHOTOMETRIC_MINISWHITE;
        invert = GreyOf(pal[0]) < GreyOf(pal[1]);
    } else if (bpp == 4 || bpp == 8) {
        bool ramp = true;
        const uint32_t step = 255 / (colours - 1);
        for (uint32_t i = 0; i < colours && ramp; ++i)
            ramp = pal[i].rgbRed == i * step && pal[i].rgbGreen == i * step && pal[i].rgbBlue == i * step;
        photometric = ramp ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_PALETTE;
    }

    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bits);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, photometric);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    if (alpha) {
        const uint16_t extra = EXTRASAMPLE_UNASSALPHA;
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &extra);
    }
    if (info.pixelSizeUm > 0) {
        // A calibrated picture: pixels per centimetre with ImageJ's description,
        // so ImageJ and our reader both see the pixel size in micrometres.
        const auto perCm = static_cast<float>(PixelsPerCentimetre(info.pixelSizeUm));
        TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_CENTIMETER);
        TIFFSetField(tif, TIFFTAG_XRESOLUTION, perCm);
        TIFFSetField(tif, TIFFTAG_YRESOLUTION, perCm);
        TIFFSetField(tif, TIFFTAG_IMAGEDESCRIPTION, ImageJDescription().c_str());
    } else {
        TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
        TIFFSetField(tif, TIFFTAG_XRESOLUTION, static_cast<float>(info.xDpi));
        TIFFSetField(tif, TIFFTAG_YRESOLUTION, static_cast<float>(info.yDpi));
    }
    if (info.cameraName[0] != '\0') TIFFSetField(tif, TIFFTAG_MODEL, info.cameraName);
    if (multipage) {
        char name[32];
        std::snprintf(name, sizeof(name), "Page %d", page);
        TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        TIFFSetField(tif, TIFFTAG_PAGENUMBER, static_cast<uint16_t>(page), static_cast<uint16_t>(pageCount));
        TIFFSetField(tif, TIFFTAG_PAGENAME, name);
    } else {
        TIFFSetField(tif, TIFFTAG_SUBFILETYPE, 0);
    }

    uint32_t compression = GetCodecOption(FORMAT_TIF);
    if (compression == 0) {
        if (bpp == 1) compression = COMPRESSION_CCITTFAX4;
        else if (bpp == 4 || bpp == 8) compression = COMPRESSION_LZW;
        else if (bpp == 24) compression = COMPRESSION_JPEG;
        else compression = COMPRESSION_NONE;
    }
    if (compression > 0xFFFF || !TIFFSetField(tif, TIFFTAG_COMPRESSION, static_cast<uint16_t>(compression)))
        return false;
    if (compression == COMPRESSION_LZW && samples * bits >= 8)
        TIFFSetField(tif, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    uint32_t rowsPerStrip = TIFFDefaultStripSize(tif, 0);
    if (compression == COMPRESSION_JPEG) {
        TIFFSetField(tif, TIFFTAG_JPEGQUALITY, static_cast<int>(info.jpegQuality));
        rowsPerStrip = (rowsPerStrip + 7) / 8 * 8;
    }
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);

    if (photometric == PHOTOMETRIC_PALETTE) {
        const uint32_t n = 1u << bits;
        std::unique_ptr<uint16_t[]> map(new (std::nothrow) uint16_t[3 * n]());
        if (!map) return false;
        for (uint32_t i = 0; i < n && i < colours; ++i) {
            map[i] = static_cast<uint16_t>(pal[i].rgbRed * 257);
            map[n + i] = static_cast<uint16_t>(pal[i].rgbGreen * 257);
            map[2 * n + i] = static_cast<uint16_t>(pal[i].rgbBlue * 257);
        }
        TIFFSetField(tif, TIFFTAG_COLORMAP, map.get(), map.get() + n, map.get() + 2 * n);
    }

    // Rows top first, converted in a buffer: the image itself is never changed.
    const uint64_t lineBytes = TIFFScanlineSize64(tif);
    if (lineBytes == 0) return false;
    std::unique_ptr<uint8_t[]> line(new (std::nothrow)
                                        uint8_t[std::max<uint64_t>(lineBytes, info.effWidth)]());
    if (!line) return false;
    for (uint32_t y = 0; y < height; ++y) {
        const uint32_t row = height - 1 - y;
        const uint8_t* src = GetBits(row);
        const uint8_t* a = alpha ? AlphaGetPointer(0, static_cast<int32_t>(row)) : nullptr;
        uint8_t* dst = line.get();
        if (bpp == 24 && !a) {
            CopySwappingRedBlue(dst, src, width);
        } else if (bpp == 24) {
            for (uint32_t x = 0; x < width; ++x, src += 3) {
                *dst++ = src[2];
                *dst++ = src[1];
                *dst++ = src[0];
                if (a) *dst++ = a[x];
            }
        } else if (alpha) {
            for (uint32_t x = 0; x < width; ++x) {
                *dst++ = src[x];
                *dst++ = a[x];
            }
        } else {
            std::memcpy(dst, src, std::min<uint64_t>(lineBytes, info.effWidth));
            if (invert)
                for (uint64_t i = 0; i < lineBytes; ++i) dst[i] = static_cast<uint8_t>(~dst[i]);
        }
        if (TIFFWriteScanline(tif, line.get(), y, 0) < 0) return false;
    }
    return true;
}

} // namespace vimg
