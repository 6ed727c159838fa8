#include "ImageJPG.h"

#include "../DecodeLimit.h"
#include "../File.h"
#include "../IOFile.h"
#include "../MemFile.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <csetjmp>
#include <cstring>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

#include "CalibrationTags.h"

namespace vimg {

namespace {

constexpr size_t kBufferSize = 4096;

// libjpeg's fatal errors land here: the message goes to the image and control
// returns to the codec's recovery point.
struct ErrorBridge {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    Image* owner;
};

void ErrorExit(j_common_ptr cinfo) {
    auto* bridge = reinterpret_cast<ErrorBridge*>(cinfo->err);
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    bridge->owner->SetLastError(text);
    std::longjmp(bridge->jump, 1);
}

// Warnings (such as a premature end of data) are not printed.
void OutputMessage(j_common_ptr) {}

// libjpeg's standard error manager with fatal errors and warnings sent to `owner`.
jpeg_error_mgr* HookErrors(ErrorBridge& bridge, Image* owner) {
    jpeg_error_mgr* manager = jpeg_std_error(&bridge.pub);
    bridge.pub.error_exit = ErrorExit;
    bridge.pub.output_message = OutputMessage;
    bridge.owner = owner;
    return manager;
}

struct SourceBridge {
    jpeg_source_mgr pub;
    File* stream;
    Image* owner;
    bool startOfFile;
    JOCTET buffer[kBufferSize];
};

void InitSource(j_decompress_ptr cinfo) { reinterpret_cast<SourceBridge*>(cinfo->src)->startOfFile = true; }

boolean FillInputBuffer(j_decompress_ptr cinfo) {
    auto* src = reinterpret_cast<SourceBridge*>(cinfo->src);
    size_t n = src->stream->Read(src->buffer, 1, kBufferSize);
    if (n == 0) {
        if (src->startOfFile) ERREXIT(cinfo, JERR_INPUT_EMPTY);
        WARNMS(cinfo, JWRN_JPEG_EOF);
        src->owner->SetTruncated(true);
        // A fake end-of-image marker lets libjpeg finish a truncated file.
        src->buffer[0] = 0xFF;
        src->buffer[1] = JPEG_EOI;
        n = 2;
    }
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = n;
    src->startOfFile = false;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count) {
    auto* src = reinterpret_cast<SourceBridge*>(cinfo->src);
    if (count <= 0) return;
    while (count > static_cast<long>(src->pub.bytes_in_buffer)) {
        count -= static_cast<long>(src->pub.bytes_in_buffer);
        FillInputBuffer(cinfo);
    }
    src->pub.next_input_byte += count;
    src->pub.bytes_in_buffer -= static_cast<size_t>(count);
}

void TermSource(j_decompress_ptr) {}

struct DestinationBridge {
    jpeg_destination_mgr pub;
    File* stream;
    JOCTET buffer[kBufferSize];
};

void InitDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<DestinationBridge*>(cinfo->dest);
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = kBufferSize;
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<DestinationBridge*>(cinfo->dest);
    if (dest->stream->Write(dest->buffer, 1, kBufferSize) != kBufferSize) ERREXIT(cinfo, JERR_FILE_WRITE);
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = kBufferSize;
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<DestinationBridge*>(cinfo->dest);
    const size_t rest = kBufferSize - dest->pub.free_in_buffer;
    if (rest > 0 && dest->stream->Write(dest->buffer, 1, rest) != rest) ERREXIT(cinfo, JERR_FILE_WRITE);
    if (!dest->stream->Flush() || dest->stream->Error()) ERREXIT(cinfo, JERR_FILE_WRITE);
}

int32_t DensityToDpi(unsigned unit, unsigned density, int32_t current) {
    if (unit == 2) return static_cast<int32_t>(std::floor(density * 2.54 + 0.5));
    if (unit == 1) return static_cast<int32_t>(density);
    return current; // unit 0 gives only the pixel aspect ratio
}

int32_t ExifDpi(float resolution, float inchesPerUnit, int32_t current) {
    if (resolution == 0.0f || inchesPerUnit == 0.0f) return current;
    const double dpi = static_cast<double>(resolution) / inchesPerUnit;
    if (!std::isfinite(dpi)) return current;
    return static_cast<int32_t>(std::clamp(dpi, 0.0, 1.0e6));
}

// Everything libjpeg needs for one decode, kept off the stack frame that setjmp guards.
// Bytes of the file from the start of the JPEG data (an upper bound on its scans).
uint64_t FileBytes(File* stream) {
    const int32_t size = stream->Size();
    return size > 0 ? static_cast<uint64_t>(size) : 0;
}

struct DecodeState {
    jpeg_decompress_struct cinfo;
    ErrorBridge err;
    SourceBridge src;
    jpeg_progress_mgr progress;
};

// A progressive file may repeat tiny scans without end, each a full pass over
// the coefficients; real encoders use about a dozen.
constexpr int kMaxScans = 1000;

void LimitScans(j_common_ptr common) {
    auto* cinfo = reinterpret_cast<j_decompress_ptr>(common);
    if (cinfo->input_scan_number <= kMaxScans) return;
    auto* bridge = reinterpret_cast<ErrorBridge*>(common->err);
    bridge->owner->SetLastError("JPEG: more than 1000 scans, refused as a hostile file");
    std::longjmp(bridge->jump, 1);
}

// Bytes of the whole-picture coefficient buffer libjpeg keeps for progressive
// (and multi-scan) files: every block of every component, 64 16-bit values.
uint64_t CoefficientBytes(const jpeg_decompress_struct& cinfo) {
    uint64_t total = 0;
    for (int c = 0; c < cinfo.num_components; ++c) {
        const jpeg_component_info& comp = cinfo.comp_info[c];
        total += static_cast<uint64_t>(comp.width_in_blocks + comp.h_samp_factor) *
                 (comp.height_in_blocks + comp.v_samp_factor) * 64 * sizeof(JCOEF);
    }
    return total;
}

struct EncodeState {
    jpeg_compress_struct cinfo;
    ErrorBridge err;
    DestinationBridge dest;
};

} // namespace

ImageJPG::ImageJPG() : Image(FORMAT_JPG) { std::memset(&m_exifInfo, 0, sizeof(m_exifInfo)); }

ImageJPG::~ImageJPG() = default;

bool ImageJPG::DecodeExif(FILE* stream) {
    IOFile file(stream);
    return DecodeExif(&file);
}

bool ImageJPG::DecodeExif(File* stream) {
    if (!stream) return false;
    std::memset(&m_exifInfo, 0, sizeof(m_exifInfo));
    m_exif = std::make_unique<ExifReader>(&m_exifInfo);
    const int32_t pos = stream->Tell();
    m_exif->DecodeExif(stream, ExifReader::kParse);
    stream->Seek(pos, 0);
    return m_exifInfo.isExif != 0;
}

bool ImageJPG::Decode(FILE* stream) {
    IOFile file(stream);
    return Decode(&file);
}

bool ImageJPG::Decode(File* stream) {
    if (!stream) return false;
    const bool hasExif = DecodeExif(stream);

    auto state = std::make_unique<DecodeState>();
    jpeg_decompress_struct& cinfo = state->cinfo;
    cinfo.err = HookErrors(state->err, this);
    if (setjmp(state->err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    state->src.stream = stream;
    state->src.owner = this;
    state->src.pub.init_source = InitSource;
    state->src.pub.fill_input_buffer = FillInputBuffer;
    state->src.pub.skip_input_data = SkipInputData;
    state->src.pub.resync_to_restart = jpeg_resync_to_restart;
    state->src.pub.term_source = TermSource;
    state->src.pub.bytes_in_buffer = 0;
    state->src.pub.next_input_byte = nullptr;
    cinfo.src = &state->src.pub;
    state->progress.progress_monitor = LimitScans;
    cinfo.progress = &state->progress;

    jpeg_read_header(&cinfo, TRUE);

    const uint32_t options = GetCodecOption(FORMAT_JPG);
    if (options & DECODE_GRAYSCALE) cinfo.out_color_space = JCS_GRAYSCALE;
    if (options & DECODE_QUANTIZE) {
        cinfo.quantize_colors = TRUE;
        cinfo.desired_number_of_colors = info.jpegQuality;
    }
    if (options & DECODE_DITHER) cinfo.dither_mode = static_cast<J_DITHER_MODE>(m_dither);
    if (options & DECODE_ONEPASS) cinfo.two_pass_quantize = FALSE;
    if (options & DECODE_NOSMOOTH) cinfo.do_fancy_upsampling = FALSE;
    // Colour comes out in the image's own blue-green-red order.
    if (cinfo.out_color_space == JCS_RGB && !cinfo.quantize_colors) cinfo.out_color_space = JCS_EXT_BGR;
    cinfo.scale_num = 1;
    cinfo.scale_denom = info.jpegScale ? info.jpegScale : 1;

    jpeg_calc_output_dimensions(&cinfo);
    if (info.escape == -1) {
        head.biWidth = static_cast<int32_t>(cinfo.output_width);
        head.biHeight = static_cast<int32_t>(cinfo.output_height);
        jpeg_destroy_decompress(&cinfo);
        return true;
    }

    // libjpeg may buffer the whole picture (progressive files): refuse sizes the
    // image could not hold before it allocates anything large.
    const uint64_t sourceBytes = static_cast<uint64_t>(cinfo.image_width) * cinfo.image_height *
                                 static_cast<uint64_t>(cinfo.num_components);
    // Every Huffman-coded block costs at least one bit (its DC code), so one byte
    // of the file stands for at most 8 blocks of 64 pixels. Arithmetic coding
    // has no such floor; there only the pixel ceiling applies.
    const uint64_t pixels = static_cast<uint64_t>(cinfo.image_width) * cinfo.image_height;
    if (cinfo.arith_code ? !DecodeLimit::CheckPixels(*this, cinfo.image_width, cinfo.image_height)
                         : !DecodeLimit::CheckHeld(*this, FileBytes(stream), cinfo.image_width,
                                                   cinfo.image_height, pixels, 512)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    if (sourceBytes > GetMaxMemory()) {
        SetLastError("IMAGE_MAX_MEMORY exceeded");
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    // The coefficient buffer of a progressive file obeys the same bound as an
    // image; libjpeg's own limit backs this up for anything else it allocates.
    if (jpeg_has_multiple_scans(&cinfo) && CoefficientBytes(cinfo) > GetMaxMemory()) {
        char text[200];
        std::snprintf(
            text, sizeof(text),
            "JPEG: a progressive %u x %u picture needs %llu MiB of coefficients, over the limit of %llu MiB",
            cinfo.image_width, cinfo.image_height,
            static_cast<unsigned long long>(CoefficientBytes(cinfo) >> 20),
            static_cast<unsigned long long>(GetMaxMemory() >> 20));
        SetLastError(text);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    cinfo.mem->max_memory_to_use =
        static_cast<long>(std::min<uint64_t>(GetMaxMemory() + (64u << 20), LONG_MAX));

    jpeg_start_decompress(&cinfo);
    const int components = cinfo.output_components;
    if (components != 1 && components != 3 && components != 4) ERREXIT(&cinfo, JERR_CONVERSION_NOTIMPL);
    if (!Create(cinfo.output_width, cinfo.output_height, 8 * static_cast<uint32_t>(components), FORMAT_JPG)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }

    if (hasExif) {
        info.xDpi = ExifDpi(m_exifInfo.xResolution, m_exifInfo.resolutionUnit, info.xDpi);
        info.yDpi = ExifDpi(m_exifInfo.yResolution, m_exifInfo.resolutionUnit, info.yDpi);
    } else if (cinfo.saw_JFIF_marker) {
        info.xDpi = DensityToDpi(cinfo.density_unit, cinfo.X_density, info.xDpi);
        info.yDpi = DensityToDpi(cinfo.density_unit, cinfo.Y_density, info.yDpi);
    }
    SetXDPI(info.xDpi);
    SetYDPI(info.yDpi);
    // Calibration from the comment our stills carry; the camera from EXIF.
    SetPixelSize(ParsePixelSizeText(m_exifInfo.comments));
    SetCameraName(hasExif ? m_exifInfo.cameraModel : nullptr);

    if (cinfo.quantize_colors) {
        const int n = std::min<int>(cinfo.actual_number_of_colors, static_cast<int>(GetNumColors()));
        for (int i = 0; i < n; ++i) {
            const uint8_t r = cinfo.colormap[0][i];
            const bool colour = cinfo.out_color_components >= 3;
            const uint8_t g = colour ? cinfo.colormap[1][i] : r;
            const uint8_t b = colour ? cinfo.colormap[2][i] : r;
            SetPaletteColor(static_cast<uint8_t>(i), r, g, b);
        }
    } else if (components == 1) {
        SetGrayPalette();
    }

    const JDIMENSION width = cinfo.output_width;
    const JDIMENSION rowBytes = width * static_cast<JDIMENSION>(components);
    // Four-component (CMYK) rows are converted through this buffer.
    JSAMPARRAY row =
        (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE, rowBytes, 1);
    const bool quantized = cinfo.quantize_colors != 0;
    while (cinfo.output_scanline < cinfo.output_height) {
        if (info.escape) {
            jpeg_destroy_decompress(&cinfo);
            return false;
        }
        const JDIMENSION line = cinfo.output_scanline;
        uint8_t* dst = GetBits(cinfo.output_height - 1 - line);
        if (components != 4 || quantized) {
            // Grey, indexes and BGR go straight into the image row.
            JSAMPROW target = dst;
            jpeg_read_scanlines(&cinfo, &target, 1);
            continue;
        }
        jpeg_read_scanlines(&cinfo, row, 1);
        const uint8_t* src = row[0];
        for (JDIMENSION x = 0; x < width; ++x, src += 4, dst += 3) {
            dst[0] = static_cast<uint8_t>(src[2] * src[3] / 255);
            dst[1] = static_cast<uint8_t>(src[1] * src[3] / 255);
            dst[2] = static_cast<uint8_t>(src[0] * src[3] / 255);
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

bool ImageJPG::Encode(FILE* stream) {
    IOFile file(stream);
    return Encode(&file);
}

bool ImageJPG::Encode(File* stream) {
    if (EncodeSafeCheck(stream)) return false;
    if (GetBpp() != 24 && !(GetBpp() == 8 && IsGrayScale())) {
        SetLastError("JPEG can save only RGB or GreyScale images");
        return false;
    }
    if (!m_exifInfo.isExif || !m_exif) return EncodeJpeg(stream);

    // The EXIF block of the file that was read goes in front of the new image
    // data. The new JPEG is made in memory so the target needs no read-back.
    MemFile fresh;
    if (!fresh.Open() || !EncodeJpeg(&fresh)) return false;
    m_exif->DiscardAllButExif();
    // Programs read the resolution from the EXIF block before the JFIF one:
    // a resolution changed since reading goes into both.
    const int32_t readX = ExifDpi(m_exifInfo.xResolution, m_exifInfo.resolutionUnit, -1);
    const int32_t readY = ExifDpi(m_exifInfo.yResolution, m_exifInfo.resolutionUnit, -1);
    if ((readX != info.xDpi || readY != info.yDpi) && info.pixelSizeUm <= 0 && info.xDpi > 0 && info.yDpi > 0)
        m_exif->SetResolution(static_cast<uint32_t>(info.xDpi), static_cast<uint32_t>(info.yDpi));
    fresh.Seek(0, 0);
    if (!m_exif->DecodeExif(&fresh, ExifReader::kReadAll) || !m_exif->EncodeExif(stream)) {
        SetLastError(m_exif->GetLastError());
        return false;
    }
    return true;
}

bool ImageJPG::EncodeJpeg(File* stream) {
    auto state = std::make_unique<EncodeState>();
    jpeg_compress_struct& cinfo = state->cinfo;
    cinfo.err = HookErrors(state->err, this);
    if (setjmp(state->err.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    state->dest.stream = stream;
    state->dest.pub.init_destination = InitDestination;
    state->dest.pub.empty_output_buffer = EmptyOutputBuffer;
    state->dest.pub.term_destination = TermDestination;
    cinfo.dest = &state->dest.pub;

    const bool grey = GetBpp() == 8;
    cinfo.image_width = GetWidth();
    cinfo.image_height = GetHeight();
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGR; // the picture's own order: no row copies
    jpeg_set_defaults(&cinfo);

    const uint32_t options = GetCodecOption(FORMAT_JPG);
    if (options & ENCODE_ARITHMETIC) cinfo.arith_code = TRUE;
    if (options & ENCODE_OPTIMIZE) cinfo.optimize_coding = TRUE;
    if (options & ENCODE_GRAYSCALE) jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
    if (options & ENCODE_SMOOTHING) cinfo.smoothing_factor = std::clamp(m_smoothing, 0, 100);
    jpeg_set_quality(&cinfo, info.jpegQuality, (options & ENCODE_BASELINE) ? TRUE : FALSE);
    if (options & ENCODE_PROGRESSIVE) jpeg_simple_progression(&cinfo);
    const bool calibrated = info.pixelSizeUm > 0;
    if (calibrated) {
        // Dots per centimetre; JFIF holds whole numbers up to 65535, EXIF the exact value.
        const double perCm = std::clamp(std::round(PixelsPerCentimetre(info.pixelSizeUm)), 1.0, 65535.0);
        cinfo.density_unit = 2;
        cinfo.X_density = cinfo.Y_density = static_cast<UINT16>(perCm);
    } else {
        cinfo.density_unit = 1;
        cinfo.X_density = static_cast<UINT16>(std::clamp(info.xDpi, 1, 65535));
        cinfo.Y_density = static_cast<UINT16>(std::clamp(info.yDpi, 1, 65535));
    }

    jpeg_start_compress(&cinfo, TRUE);
    // An EXIF block read from the source file is written by Encode instead.
    const bool captured = info.captureTime[0] != '\0' || info.exposureSeconds > 0 || info.gainText[0] != '\0';
    if (!m_exifInfo.isExif && (calibrated || info.cameraName[0] != '\0' || captured)) {
        const std::vector<uint8_t> exif = CalibrationExif(
            info.pixelSizeUm, info.cameraName, {info.captureTime, info.exposureSeconds, info.gainText});
        jpeg_write_marker(&cinfo, JPEG_APP0 + 1, exif.data(), static_cast<unsigned>(exif.size()));
    }
    if (calibrated) {
        const std::string text = PixelSizeText(info.pixelSizeUm);
        jpeg_write_marker(&cinfo, JPEG_COM, reinterpret_cast<const JOCTET*>(text.data()),
                          static_cast<unsigned>(text.size()));
    }
    while (cinfo.next_scanline < cinfo.image_height) {
        // The compressor only reads the rows it is given.
        JSAMPROW row = GetBits(cinfo.image_height - 1 - cinfo.next_scanline);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

} // namespace vimg
