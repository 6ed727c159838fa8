// vimg::Image — the in-memory image of the whole program: a packed bottom-up
// bitmap (header, palette, pixel rows) with optional alpha plane and selection
// mask, plus an information block. Operations are grouped by topic in the
// Image*.cpp files; codecs derive from this class.
#pragma once

#include "ImageTypes.h"
#include "MemoryBlock.h"
#include "RelaxedInt.h"
#include "TextInfo.h"

#include <cstdint>
#include <cstdio>
#include <functional>

namespace vimg {

class File;
class Region;

// Descriptive block copied whole by Copy, CopyInfo, Transfer and the codec dispatch.
struct ImageInfo {
    uint32_t effWidth = 0;          // row stride in bytes
    uint8_t* pixels = nullptr;      // first byte of row 0 inside the DIB block
    class Image* ghostOf = nullptr; // set only on a ghost
    uint32_t type = 0;              // format type id
    char lastError[256] = {};
    // Written by the thread running an operation and read by another (or the
    // other way round for escape), hence atomic.
    RelaxedInt progress = 0;
    RelaxedInt escape = 0;
    int32_t transIndex = -1;
    RGBQUAD transColor;
    uint8_t jpegQuality = 90;
    uint8_t jpegScale = 0;
    int32_t frame = 0;
    int32_t frameCount = 0;
    uint32_t frameDelay = 0;
    int32_t xDpi = 96;
    int32_t yDpi = 96;
    RECT selectionBox;
    uint8_t alphaMax = 255;
    bool alphaPaletteEnabled = false;
    bool enabled = true;
    int32_t xOffset = 0;
    int32_t yOffset = 0;
    uint32_t codecOptions[FORMAT_COUNT] = {};
    RGBQUAD nearestCacheColor;
    uint8_t nearestCacheIndex = 0;
    bool nearestCacheValid = false;
    uint32_t flags = 0;
    // Set by readers that stretched the file's own sample range onto 0..255.
    bool sampleRangeKnown = false;
    double sampleMin = 0, sampleMax = 0;
    // Cursor hot spot (x from the left, y from the top); -1 when there is none.
    int32_t hotSpotX = -1, hotSpotY = -1;
    bool truncated = false; // the decoder ran out of data; only the part the file holds is there
    // Calibration of the picture: the width of one pixel on the specimen in
    // micrometres (0: not calibrated), and the camera that took it.
    double pixelSizeUm = 0;
    char cameraName[64] = {};
    // How a camera took the picture, for the stills' metadata: the time as EXIF
    // writes it ("YYYY:MM:DD HH:MM:SS", empty: unknown), the exposure in seconds
    // (0: unknown) and the gains as text (empty: none).
    char captureTime[20] = {};
    double exposureSeconds = 0;
    char gainText[64] = {};
};

class Image {
public:
    // ---- construction and life cycle ----
    explicit Image(uint32_t type = 0);
    Image(uint32_t width, uint32_t height, uint32_t bpp, uint32_t type = 0);
    Image(const Image& src, bool copyPixels = true, bool copySelection = true, bool copyAlpha = true);
    Image(const char* fileName, uint32_t type);
    Image(FILE* stream, uint32_t type);
    Image(File* stream, uint32_t type);
    Image(uint8_t* buffer, uint32_t size, uint32_t type);
    Image& operator=(const Image& src);
    // Moves take the bitmap, palette, alpha plane and selection without copying
    // them and leave `src` empty as Transfer does.
    Image(Image&& src) noexcept;
    Image& operator=(Image&& src) noexcept;
    virtual ~Image();

    // Allocates a zeroed image; returns the DIB block or null (lastError says why).
    void* Create(uint32_t width, uint32_t height, uint32_t bpp, uint32_t type = 0);
    bool Destroy();
    void Copy(const Image& src, bool copyPixels = true, bool copySelection = true, bool copyAlpha = true);
    void CopyInfo(const Image& src);
    bool Transfer(Image& from);
    // Borrows src's memory without owning it (used by the encoders); Unghost lets go.
    void Ghost(const Image* src);
    void Unghost();
    bool CreateFromArray(const uint8_t* bits, uint32_t width, uint32_t height, uint32_t bpp,
                         uint32_t bytesPerLine, bool flipVertically);
    bool CreateFromMatrix(const uint8_t* const* rows, uint32_t width, uint32_t height, uint32_t bpp,
                          uint32_t bytesPerLine, bool flipVertically);
    void Clear(uint8_t value = 0);
    static void FreeMemory(void* p);

    // Bound on the pixel data one image may hold; larger sizes fail in Create with
    // "IMAGE_MAX_MEMORY exceeded". The default admits about 4 GiB.
    static void SetMaxMemory(uint64_t bytes);
    static uint64_t GetMaxMemory();
    // Ceiling on the pixels (width x height) a decoder may create; larger
    // headers fail with "image too large: ...". See DecodeLimit.
    static void SetMaxPixels(uint64_t pixels);
    static uint64_t GetMaxPixels();

    // ---- accessors ----
    bool IsValid() const { return static_cast<bool>(pDib); }
    void* GetDIB() const { return pDib.get(); }
    uint32_t GetWidth() const { return static_cast<uint32_t>(head.biWidth); }
    uint32_t GetHeight() const { return static_cast<uint32_t>(head.biHeight); }
    uint32_t GetBpp() const { return head.biBitCount; }
    uint32_t GetEffWidth() const { return info.effWidth; }
    uint32_t GetNumColors() const { return head.biClrUsed; }
    uint8_t* GetBits(uint32_t row = 0) const;
    uint32_t GetSize() const;
    uint32_t GetType() const { return info.type; }
    bool IsIndexed() const { return head.biClrUsed != 0; }
    uint8_t GetColorType() const;
    const char* GetLastError() const { return info.lastError; }
    static const char* GetVersion();
    static float GetVersionNumber();
    int32_t GetXDPI() const { return info.xDpi; }
    int32_t GetYDPI() const { return info.yDpi; }
    void SetXDPI(int32_t dpi);
    void SetYDPI(int32_t dpi);
    // Micrometres per pixel on the specimen; 0 when the picture is not calibrated.
    double GetPixelSize() const { return info.pixelSizeUm; }
    void SetPixelSize(double micrometres) { info.pixelSizeUm = micrometres > 0 ? micrometres : 0; }
    const char* GetCameraName() const { return info.cameraName; }
    // Keeps at most 63 bytes of `name`.
    void SetCameraName(const char* name);
    const char* GetCaptureTime() const { return info.captureTime; }
    double GetExposureSeconds() const { return info.exposureSeconds; }
    const char* GetGainText() const { return info.gainText; }
    // time: "YYYY:MM:DD HH:MM:SS" (anything else is dropped); gain at most 63 bytes.
    void SetCaptureStamp(const char* time, double exposureSeconds, const char* gain);
    uint8_t GetJpegQuality() const { return info.jpegQuality; }
    void SetJpegQuality(uint8_t q) { info.jpegQuality = q; }
    uint8_t GetJpegScale() const { return info.jpegScale; }
    void SetJpegScale(uint8_t s) { info.jpegScale = s; }
    // Progress and escape may be read and written from another thread while an
    // operation runs on this image.
    int32_t GetProgress() const { return info.progress; }
    void SetProgress(int32_t p) { info.progress = p; }
    int32_t GetEscape() const { return info.escape; }
    void SetEscape(int32_t e) { info.escape = e; }
    int32_t GetFrame() const { return info.frame; }
    void SetFrame(int32_t f) { info.frame = f; }
    int32_t GetNumFrames() const { return info.frameCount; }
    uint32_t GetFrameDelay() const { return info.frameDelay; }
    void SetFrameDelay(uint32_t d) { info.frameDelay = d; }
    void GetOffset(int32_t* x, int32_t* y) const;
    void SetOffset(int32_t x, int32_t y);
    // The decoded file's sample range when it was mapped onto 0..255 (false when not).
    bool GetSampleRange(double* min, double* max) const;
    void SetSampleRange(double min, double max);
    // A cursor's hot spot; false when the image has none.
    bool GetHotSpot(int32_t* x, int32_t* y) const;
    void SetHotSpot(int32_t x, int32_t y);
    bool IsEnabled() const { return info.enabled; }
    // True after a decode that ran out of data and kept what the file held.
    bool IsTruncated() const { return info.truncated; }
    void SetTruncated(bool truncated) { info.truncated = truncated; }
    void Enable(bool enable = true) { info.enabled = enable; }
    uint32_t GetFlags() const { return info.flags; }
    void SetFlags(uint32_t flags, bool lockReserved = true);
    uint32_t GetCodecOption(uint32_t type = 0) const;
    bool SetCodecOption(uint32_t option, uint32_t type = 0);
    int32_t GetTransIndex() const { return info.transIndex; }
    void SetTransIndex(int32_t index) { info.transIndex = index; }
    RGBQUAD GetTransColor() const;
    void SetTransColor(RGBQUAD colour);
    bool IsTransparent() const { return info.transIndex >= 0; }
    bool IsInside(int32_t x, int32_t y) const;
    const BITMAPINFOHEADER& GetHeader() const { return head; }
    const ImageInfo& GetInfo() const { return info; }

    // ---- pixels (x from the left, y from the bottom row) ----
    uint8_t GetPixelIndex(int32_t x, int32_t y) const;
    void SetPixelIndex(int32_t x, int32_t y, uint8_t index);
    RGBQUAD GetPixelColor(int32_t x, int32_t y, bool withAlpha = true) const;
    void SetPixelColor(int32_t x, int32_t y, RGBQUAD colour, bool setAlpha = false);
    void SetPixelColor(int32_t x, int32_t y, COLORREF colour);
    uint8_t GetPixelGray(int32_t x, int32_t y) const;
    void BlendPixelColor(int32_t x, int32_t y, RGBQUAD colour, float blend, bool setAlpha = false);
    void DrawLine(int32_t startX, int32_t endX, int32_t startY, int32_t endY, RGBQUAD colour,
                  bool setAlpha = false);
    void DrawLine(int32_t startX, int32_t endX, int32_t startY, int32_t endY, COLORREF colour);
    // Unchecked forms: the caller guarantees a valid position.
    uint8_t BlindGetPixelIndex(int32_t x, int32_t y) const;
    RGBQUAD BlindGetPixelColor(int32_t x, int32_t y, bool withAlpha = true) const;
    uint8_t* BlindGetPixelPointer(int32_t x, int32_t y) const;
    uint8_t BlindAlphaGet(int32_t x, int32_t y) const;
    void BlindSetPixelIndex(int32_t x, int32_t y, uint8_t index);

    // ---- palette ----
    uint32_t GetPaletteSize() const;
    RGBQUAD* GetPalette() const;
    RGBQUAD GetPaletteColor(uint8_t index) const;
    bool GetPaletteColor(uint8_t index, uint8_t* r, uint8_t* g, uint8_t* b) const;
    void SetPaletteColor(uint8_t index, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha = 0);
    void SetPaletteColor(uint8_t index, RGBQUAD colour);
    void SetPaletteColor(uint8_t index, COLORREF colour);
    void SetPalette(const RGBQUAD* palette, uint32_t count = 256);
    void SetPalette(uint32_t count, const uint8_t* red, const uint8_t* green = nullptr,
                    const uint8_t* blue = nullptr);
    void SetPalette(const rgb_color* rgb, uint32_t count = 256);
    void SetGrayPalette();
    void SetStdPalette();
    void BlendPalette(COLORREF colour, int32_t percent);
    uint8_t GetNearestIndex(RGBQUAD colour);
    bool IsGrayScale() const;
    bool IsSamePalette(const Image& other, bool checkAlpha = true) const;
    void SwapIndex(uint8_t a, uint8_t b);
    uint32_t GetClrImportant() const { return head.biClrImportant; }
    void SetClrImportant(uint32_t colours);
    static RGBQUAD RGBtoRGBQUAD(COLORREF colour);
    static COLORREF RGBQUADtoRGB(RGBQUAD colour);

    // ---- alpha plane ----
    bool AlphaCreate();
    void AlphaDelete();
    bool AlphaIsValid() const { return static_cast<bool>(pAlpha); }
    void AlphaClear();
    void AlphaSet(uint8_t level);
    void AlphaInvert();
    void AlphaSet(int32_t x, int32_t y, uint8_t level);
    uint8_t AlphaGet(int32_t x, int32_t y) const;
    uint8_t* AlphaGetPointer(int32_t x = 0, int32_t y = 0) const;
    bool AlphaCopy(const Image& from);
    bool AlphaSet(const Image& grayImage);
    bool AlphaFlip();
    bool AlphaMirror();
    bool AlphaSplit(Image* dest) const;
    bool AlphaPaletteSplit(Image* dest) const;
    bool AlphaPaletteIsValid() const;
    void AlphaPaletteClear();
    void AlphaPaletteEnable(bool enable = true) { info.alphaPaletteEnabled = enable; }
    bool AlphaPaletteIsEnabled() const { return info.alphaPaletteEnabled; }
    uint8_t AlphaGetMax() const { return info.alphaMax; }
    void AlphaSetMax(uint8_t max) { info.alphaMax = max; }
    void AlphaStrip();
    bool IsTransparent(int32_t x, int32_t y) const;

    // ---- selection mask ----
    bool SelectionCreate();
    bool SelectionDelete();
    bool SelectionClear();
    bool SelectionIsValid() const { return static_cast<bool>(pSelection); }
    void SelectionGetBox(RECT& r) const { r = info.selectionBox; }
    bool SelectionIsInside(int32_t x, int32_t y) const;
    bool SelectionAddRect(RECT r);
    bool SelectionAddEllipse(RECT r);
    bool SelectionAddPolygon(const POINT* points, int32_t count);
    bool SelectionAddColor(RGBQUAD colour);
    bool SelectionAddPixel(int32_t x, int32_t y);
    bool SelectionInvert();
    bool SelectionCopy(const Image& from);
    bool SelectionSplit(Image* dest) const;
    bool SelectionToHRGN(Region* region) const;
    uint8_t* SelectionGetPointer(int32_t x = 0, int32_t y = 0) const;

    // ---- transforms and resampling ----
    // Sub-pixel samplers: the kernel used around a position (values as callers pass them).
    enum InterpolationMethod {
        IM_NEAREST_NEIGHBOUR = 1,
        IM_BILINEAR = 2,
        IM_BSPLINE = 3,
        IM_BICUBIC = 4,
        IM_BICUBIC2 = 5,
        IM_LANCZOS = 6,
        IM_BOX = 7,
        IM_HERMITE = 8,
        IM_HAMMING = 9,
        IM_SINC = 10,
        IM_BLACKMAN = 11,
        IM_BESSEL = 12,
        IM_GAUSSIAN = 13,
        IM_QUADRATIC = 14,
        IM_MITCHELL = 15,
        IM_CATROM = 16,
    };
    // What a position outside the image reads.
    enum OverflowMethod {
        OM_COLOR = 1,
        OM_BACKGROUND = 2,
        OM_TRANSPARENT = 3,
        OM_WRAP = 4,
        OM_REPEAT = 5,
        OM_MIRROR = 6,
    };

    static float KernelLinear(float t);
    static float KernelBSpline(float t);
    static float KernelCubic(float t);
    static float KernelGeneralizedCubic(float t, float a = -0.5f);
    static float KernelLanczosSinc(float t, float radius = 6.0f);
    static float KernelBox(float t);
    static float KernelHermite(float t);
    static float KernelHamming(float t);
    static float KernelSinc(float t);
    static float KernelBlackman(float t);
    static float KernelBessel(float t);
    static double KernelBessel_J1(double x);
    static double KernelBessel_P1(double x);
    static double KernelBessel_Q1(double x);
    static double KernelBessel_Order1(double x);
    static float KernelGaussian(float t);
    static float KernelQuadratic(float t);
    static float KernelMitchell(float t);
    static float KernelCatrom(float t);

    // Moves a position into the image for OM_WRAP, OM_REPEAT and OM_MIRROR; other rules leave it.
    void OverflowCoordinates(int32_t& x, int32_t& y, OverflowMethod overflow) const;
    void OverflowCoordinates(float& x, float& y, OverflowMethod overflow) const;
    // `replacementColour` null means white with alpha 0.
    RGBQUAD GetPixelColorWithOverflow(int32_t x, int32_t y, OverflowMethod overflow = OM_BACKGROUND,
                                      const RGBQUAD* replacementColour = nullptr) const;
    RGBQUAD GetPixelColorInterpolated(float x, float y, InterpolationMethod method = IM_BILINEAR,
                                      OverflowMethod overflow = OM_BACKGROUND,
                                      const RGBQUAD* replacementColour = nullptr) const;
    RGBQUAD GetAreaColorInterpolated(float x, float y, float width, float height,
                                     InterpolationMethod method = IM_BILINEAR,
                                     OverflowMethod overflow = OM_BACKGROUND,
                                     const RGBQUAD* replacementColour = nullptr) const;

    // Operations with a destination leave this image unchanged; without one they replace it.
    bool Mirror();
    bool Flip();
    bool RotateLeft(Image* dest = nullptr);
    bool RotateRight(Image* dest = nullptr);
    bool Rotate180(Image* dest = nullptr);
    // Angles in degrees, positive turns clockwise as seen on screen.
    bool Rotate(float angle, Image* dest = nullptr);
    bool Rotate2(float angle, Image* dest = nullptr, InterpolationMethod method = IM_BILINEAR,
                 OverflowMethod overflow = OM_BACKGROUND, const RGBQUAD* replacementColour = nullptr,
                 bool optimizeRightAngles = true, bool keepSize = false);
    bool Resample(int32_t newWidth, int32_t newHeight, int mode = 1, Image* dest = nullptr);
    bool Resample2(int32_t newWidth, int32_t newHeight, InterpolationMethod method = IM_BICUBIC2,
                   OverflowMethod overflow = OM_REPEAT, Image* dest = nullptr, bool disableAveraging = false);
    bool Skew(float xGain, float yGain, int32_t xPivot = 0, int32_t yPivot = 0, bool interpolate = false);
    // Top and bottom are measured from the top of the picture.
    bool Crop(int32_t left, int32_t top, int32_t right, int32_t bottom, Image* dest = nullptr);
    bool Crop(const RECT& rect, Image* dest = nullptr);
    // Angle in radians.
    bool CropRotatedRectangle(int32_t left, int32_t top, int32_t width, int32_t height, float angle,
                              Image* dest = nullptr);
    bool Expand(int32_t left, int32_t top, int32_t right, int32_t bottom, RGBQUAD canvasColour,
                Image* dest = nullptr);
    bool Expand(int32_t newWidth, int32_t newHeight, RGBQUAD canvasColour, Image* dest = nullptr);
    bool Thumbnail(int32_t newWidth, int32_t newHeight, RGBQUAD canvasColour, Image* dest = nullptr);
    bool QIShrink(int32_t newWidth, int32_t newHeight, Image* dest = nullptr);
    // Types: 0 pinch, 1 punch, 2 swirl, 3 cylinder, 4 and above bathroom glass.
    bool CircleTransform(int type, int32_t radius = 0, float factor = 0.0f);

    // ---- colour spaces, channels, mix and FFT ----
    // A converted colour keeps its three components in the red, green and blue
    // bytes (HSL: hue, saturation, lightness; YUV/YIQ: Y, U/I + 128, V/Q + 128;
    // XYZ: X, Y, Z); the reserved byte is left as it was.
    static RGBQUAD RGBtoHSL(RGBQUAD colour);
    static RGBQUAD HSLtoRGB(RGBQUAD colour);
    static RGBQUAD HSLtoRGB(COLORREF colour);
    static float HueToRGB(float m1, float m2, float hue);
    static RGBQUAD RGBtoYUV(RGBQUAD colour);
    static RGBQUAD YUVtoRGB(RGBQUAD colour);
    static RGBQUAD RGBtoYIQ(RGBQUAD colour);
    static RGBQUAD YIQtoRGB(RGBQUAD colour);
    static RGBQUAD RGBtoXYZ(RGBQUAD colour);
    static RGBQUAD XYZtoRGB(RGBQUAD colour);

    // Colour-space ids of Combine.
    enum ColourSpace { CS_RGB = 0, CS_HSL = 1, CS_YUV = 2, CS_YIQ = 3, CS_XYZ = 4 };
    // The raster operations of Mix (values as callers pass them).
    enum ImageOpType {
        OpAdd = 0,
        OpAnd = 1,
        OpXor = 2,
        OpOr = 3,
        OpMask = 4,
        OpSrcCopy = 5,
        OpDstCopy = 6,
        OpSub = 7,
        OpSrcBlend = 8,
        OpScreen = 9,
    };

    // Each given destination becomes an 8-bit grey image of one component; null ones are skipped.
    bool SplitRGB(Image* r, Image* g, Image* b) const;
    bool SplitYUV(Image* y, Image* u, Image* v) const;
    bool SplitYIQ(Image* y, Image* i, Image* q) const;
    bool SplitXYZ(Image* x, Image* y, Image* z) const;
    bool SplitHSL(Image* h, Image* s, Image* l) const;
    bool SplitCMYK(Image* c, Image* m, Image* y, Image* k) const;
    // Rebuilds this image as 24 bits from three channel images (and an optional alpha image).
    bool Combine(const Image* c1, const Image* c2, const Image* c3, const Image* alpha,
                 int colorSpace = CS_RGB);
    bool Mix(const Image& source, int op, int32_t xOffset = 0, int32_t yOffset = 0, bool mixAlpha = false);
    void MixFrom(const Image& source, int32_t x, int32_t y);
    // Two-dimensional Fourier transform of a real and an imaginary grey image.
    // direction 1 forward, -1 inverse.
    bool FFT2(Image* sourceReal, Image* sourceImag, Image* destReal, Image* destImag, int direction = 1,
              bool forceFFT = true, bool magnitude = true);
    // In-place radix-2 transform of 2^log2n values; the forward one divides by n.
    static bool FFT(int direction, int log2n, double* x, double* y);
    // Direct transform of any length, using work1 and work2 (n values each) as scratch.
    static bool DFT(int direction, int32_t n, double* x, double* y, double* work1, double* work2);

    // ---- text ----
    // Fills the text-tool record with its defaults (the record is cleared first).
    static void InitTextInfo(TextInfo* txt);

    // ---- filters and tone ----
    // Neighbourhood and tone operations work on the working region (the
    // selection box, else the whole image) and change only selected pixels,
    // unless noted. Progress is set and escape tested before each row.
    // Kernel of size x size weights, row by row from the lowest row; result
    // offset + sum / divisor (divisor 0 on colour images: offset + sum).
    bool Filter(const int32_t* kernel, int32_t size, int32_t divisor, int32_t offset);
    bool Erode(int32_t size = 3);
    bool Dilate(int32_t size = 3);
    bool Edge(int32_t size = 3);
    bool Median(int32_t size = 3);
    bool Contour();
    // Random displacement up to radius / random channel offsets up to level / 2.
    // The same seed gives the same picture on every platform (RandomSequence,
    // one stream per row).
    bool Jitter(int32_t radius = 2, uint64_t seed = 1);
    bool Noise(int32_t level, uint64_t seed = 1);
    // Sharpens each channel by amount x (pixel - Gaussian blur of the given
    // radius), rounded, where that difference reaches threshold.
    bool UnsharpMask(float radius = 5.0f, float amount = 0.5f, int32_t threshold = 0);
    bool Light(int32_t brightness, int32_t contrast = 0);
    bool Gamma(float gamma);
    bool Lut(const uint8_t* table);
    bool Lut(const uint8_t* redTable, const uint8_t* greenTable, const uint8_t* blueTable,
             const uint8_t* alphaTable = nullptr);
    bool Threshold(uint8_t level);
    bool Negative();
    bool GrayScale();
    bool Colorize(uint8_t hue, uint8_t saturation, float blend = 1.0f);
    bool ShiftRGB(int32_t red, int32_t green, int32_t blue);
    bool HuePalette(float correction = 1.0f);
    float Mean();
    // Counts into the given 256-entry arrays (any may be null); returns the
    // largest count. colorSpace 1..4 counts the HSL, YUV, YIQ or XYZ components.
    long Histogram(long* red, long* green = nullptr, long* blue = nullptr, long* gray = nullptr,
                   int32_t colorSpace = 0);
    bool HistogramStretch(int32_t method = 0);
    bool HistogramEqualize();
    bool HistogramNormalize();
    bool HistogramLog();
    bool HistogramRoot();
    bool Repair(float radius = 0.25f, int32_t iterations = 1, int32_t colorSpace = 0);

    // ---- depth conversion ----
    // To 1, 4 or 8 bits with the caller's palette (else black/white or the
    // standard palette); clrImportant limits the palette entries used.
    bool DecreaseBpp(uint32_t bits, bool errorDiffusion, const RGBQUAD* palette = nullptr,
                     uint32_t clrImportant = 0);
    bool IncreaseBpp(uint32_t bits);
    // Grey to black and white: 0 Floyd-Steinberg, 1 ordered, 2 Burkes, 3 Stucki,
    // 4 Jarvis-Judice-Ninke, 5 Sierra, 6 Stevenson-Arce, 7 Bayer 4x4.
    bool Dither(int32_t method = 0);

    // ---- codec dispatch ----
    bool Load(const char* fileName, uint32_t type = 0);
    // Every save writes a temporary file beside fileName and renames it over
    // fileName only when everything was written, flushed and closed; on any
    // failure the old file stays as it was and lastError names what failed.
    bool Save(const char* fileName, uint32_t type);
    // Multipage file (TIF or GIF) from several images.
    bool Save(const char* fileName, Image** images, int32_t count, uint32_t type);
    // The same for any writer: `encode` writes into the stream it is given.
    bool SaveWith(const char* fileName, const std::function<bool(File*)>& encode);
    bool Decode(File* stream, uint32_t type);
    bool Decode(FILE* stream, uint32_t type);
    bool Decode(uint8_t* buffer, uint32_t size, uint32_t type);
    bool Encode(File* stream, uint32_t type);
    bool Encode(FILE* stream, uint32_t type);
    // Encodes into a fresh block handed to the caller (release with FreeMemory).
    bool Encode(uint8_t*& buffer, int32_t& size, uint32_t type);
    bool Encode(File* stream, Image** images, int32_t count, uint32_t type);
    bool Encode(FILE* stream, Image** images, int32_t count, uint32_t type);
    bool Encode2RGBA(File* stream);
    bool Encode2RGBA(uint8_t*& buffer, int32_t& size);
    // True means refuse: null stream or empty image (with its error text).
    bool EncodeSafeCheck(File* stream);

    // Stores `text` (at most 255 characters) as the last error.
    void SetLastError(const char* text);
    // Records the format a decoder found (used by the dispatcher).
    void SetDecodedType(uint32_t type) { info.type = type; }

protected:
    void Startup(uint32_t type);
    // Stores `text` as the last error and returns false: `return Fail("...")`.
    bool Fail(const char* text) {
        SetLastError(text);
        return false;
    }
    // "cannot open file: <name> (<reason from errno>)" as the last error; false.
    void ClearNearestCache() { info.nearestCacheValid = false; }
    // Reverses the order of the pixel rows.
    bool FlipRows();
    // Makes this image width x height with src's information block and type,
    // no alpha plane and no selection. `bpp` 0 keeps src's depth, palette and
    // transparent index; another depth starts with a zeroed palette for the
    // caller to fill and no transparent index.
    bool CreateLike(const Image& src, uint32_t width, uint32_t height, uint32_t bpp = 0);
    // CreateLike, with an alpha plane when src has one.
    bool CreateLikeWithAlpha(const Image& src, uint32_t width, uint32_t height);
    // Takes over the pixels, alpha and header of `from` but keeps this image's
    // information block (resolution, options and the rest).
    bool TransferPixels(Image& from);
    // Hands a finished result to dest, or makes it this image's content.
    bool Deliver(Image& result, Image* dest);
    // RotateRight (clockwise) and RotateLeft.
    bool QuarterTurn(bool clockwise, Image* dest);
    // Makes `dest` an 8-bit grey image holding a width x height byte plane.
    bool PlaneToGrayImage(const uint8_t* plane, Image* dest) const;

    BITMAPINFOHEADER head;
    ImageInfo info;
    MemoryBlock pDib;       // header copy, palette and pixel rows
    MemoryBlock pSelection; // width x height mask bytes, or empty
    MemoryBlock pAlpha;     // width x height alpha bytes, or empty
};

} // namespace vimg
