#include "ImageJ2K.h"

#include "../DecodeLimit.h"
#include "../File.h"
#include "SampleScale.h"

#include <openjpeg.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace vimg {

namespace {

constexpr uint8_t kJp2Signature[12] = {0, 0, 0, 0x0C, 'j', 'P', ' ', ' ', 0x0D, 0x0A, 0x87, 0x0A};
constexpr uint32_t kMaxComponents = 64;

// OpenJPEG reads from a copy of the file in memory.
struct Source {
    const uint8_t* data;
    size_t size;
    size_t pos = 0;
};

OPJ_SIZE_T ReadSource(void* buffer, OPJ_SIZE_T n, void* user) {
    auto* s = static_cast<Source*>(user);
    if (s->pos >= s->size) return static_cast<OPJ_SIZE_T>(-1);
    const size_t k = std::min<size_t>(n, s->size - s->pos);
    std::memcpy(buffer, s->data + s->pos, k);
    s->pos += k;
    return k;
}
OPJ_OFF_T SkipSource(OPJ_OFF_T n, void* user) {
    auto* s = static_cast<Source*>(user);
    if (n < 0) {
        const size_t back = std::min<size_t>(static_cast<size_t>(-n), s->pos);
        s->pos -= back;
        return -static_cast<OPJ_OFF_T>(back);
    }
    const size_t k = std::min<size_t>(static_cast<size_t>(n), s->size - std::min(s->pos, s->size));
    s->pos += k;
    return static_cast<OPJ_OFF_T>(k);
}
OPJ_BOOL SeekSource(OPJ_OFF_T n, void* user) {
    auto* s = static_cast<Source*>(user);
    if (n < 0 || static_cast<uint64_t>(n) > s->size) return OPJ_FALSE;
    s->pos = static_cast<size_t>(n);
    return OPJ_TRUE;
}

// OpenJPEG writes straight into our stream; positions count from where it started.
struct Sink {
    File* stream;
    int32_t start;
};

OPJ_SIZE_T WriteSink(void* buffer, OPJ_SIZE_T n, void* user) {
    auto* s = static_cast<Sink*>(user);
    return s->stream->Write(buffer, 1, n) == n ? n : static_cast<OPJ_SIZE_T>(-1);
}
OPJ_OFF_T SkipSink(OPJ_OFF_T n, void* user) {
    auto* s = static_cast<Sink*>(user);
    return s->stream->Seek(static_cast<int32_t>(n), 1) ? n : -1;
}
OPJ_BOOL SeekSink(OPJ_OFF_T n, void* user) {
    auto* s = static_cast<Sink*>(user);
    return s->stream->Seek(static_cast<int32_t>(s->start + n), 0) ? OPJ_TRUE : OPJ_FALSE;
}

void Quiet(const char*, void*) {}

struct CodecDeleter {
    void operator()(opj_codec_t* c) const { opj_destroy_codec(c); }
};
struct StreamDeleter {
    void operator()(opj_stream_t* s) const { opj_stream_destroy(s); }
};
struct ImageDeleter {
    void operator()(opj_image_t* i) const { opj_image_destroy(i); }
};
using CodecPtr = std::unique_ptr<opj_codec_t, CodecDeleter>;
using StreamPtr = std::unique_ptr<opj_stream_t, StreamDeleter>;
using ImagePtr = std::unique_ptr<opj_image_t, ImageDeleter>;

void SetQuiet(opj_codec_t* codec) {
    opj_set_info_handler(codec, Quiet, nullptr);
    opj_set_warning_handler(codec, Quiet, nullptr);
    opj_set_error_handler(codec, Quiet, nullptr);
}

// A sample moved to unsigned and scaled to 8 bits.
uint8_t To8Bits(OPJ_INT32 v, const opj_image_comp_t& c) {
    const int64_t max = (int64_t{1} << c.prec) - 1;
    int64_t u = static_cast<int64_t>(v) + (c.sgnd ? (int64_t{1} << (c.prec - 1)) : 0);
    return ScaleTo8(static_cast<uint64_t>(std::clamp<int64_t>(u, 0, max)), static_cast<uint64_t>(max));
}

} // namespace

bool ImageJ2K::IsJp2(const uint8_t* head, size_t size) {
    return size >= 12 && std::memcmp(head, kJp2Signature, 12) == 0;
}

bool ImageJ2K::IsCodestream(const uint8_t* head, size_t size) {
    return size >= 4 && head[0] == 0xFF && head[1] == 0x4F && head[2] == 0xFF && head[3] == 0x51;
}

bool ImageJ2K::Decode(File* stream) {
    if (!stream) return false;
    const int32_t start = stream->Tell(), end = stream->Size();
    if (start < 0 || end <= start) return Fail("error: cannot decode image");
    std::vector<uint8_t> data;
    try {
        data.resize(static_cast<size_t>(end - start));
    } catch (const std::bad_alloc&) {
        return Fail("Can't allocate memory");
    }
    if (stream->Read(data.data(), 1, data.size()) != data.size()) return Fail("error: cannot decode image");
    const bool jp2 = IsJp2(data.data(), data.size());
    if (!jp2 && !IsCodestream(data.data(), data.size())) return Fail("error: cannot decode image");

    CodecPtr codec(opj_create_decompress(jp2 ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K));
    if (!codec) return Fail("cannot initialize openjpeg");
    SetQuiet(codec.get());
    opj_dparameters_t params;
    opj_set_default_decoder_parameters(&params);
    if (!opj_setup_decoder(codec.get(), &params)) return Fail("cannot initialize openjpeg");

    Source source{data.data(), data.size()};
    StreamPtr in(opj_stream_create(OPJ_J2K_STREAM_CHUNK_SIZE, OPJ_TRUE));
    if (!in) return Fail("Can't allocate memory");
    opj_stream_set_user_data(in.get(), &source, nullptr);
    opj_stream_set_user_data_length(in.get(), data.size());
    opj_stream_set_read_function(in.get(), ReadSource);
    opj_stream_set_skip_function(in.get(), SkipSource);
    opj_stream_set_seek_function(in.get(), SeekSource);

    opj_image_t* raw = nullptr;
    if (!opj_read_header(in.get(), codec.get(), &raw)) {
        opj_image_destroy(raw);
        return Fail("JPEG 2000: bad header");
    }
    ImagePtr image(raw);
    const uint32_t numComps = image->numcomps;
    if (numComps == 0 || image->x1 <= image->x0 || image->y1 <= image->y0) return Fail("error: cannot decode image");
    if (numComps > kMaxComponents) return Fail("error: too much components");
    info.frameCount = static_cast<int32_t>(numComps);
    for (uint32_t i = 0; i < numComps; ++i)
        if (image->comps[i].prec < 1 || image->comps[i].prec > 31) return Fail("error: cannot decode image");

    const opj_image_comp_t* c = image->comps;
    const bool rgb = numComps == 3 && c[0].dx == c[1].dx && c[0].dx == c[2].dx && c[0].dy == c[1].dy &&
                     c[0].dy == c[2].dy;
    if (!rgb && (info.frame < 0 || info.frame >= static_cast<int32_t>(numComps))) return Fail("wrong frame!");
    if (info.escape == -1) {
        head.biWidth = static_cast<int32_t>(image->x1 - image->x0);
        head.biHeight = static_cast<int32_t>(image->y1 - image->y0);
        return true;
    }
    // The decoder holds every sample as 32 bits; a small file cannot describe a huge picture.
    const uint64_t samples = static_cast<uint64_t>(image->x1 - image->x0) * (image->y1 - image->y0) * numComps;
    const uint32_t fullW = image->x1 - image->x0, fullH = image->y1 - image->y0;
    if (!DecodeLimit::CheckHeld(*this, data.size(), fullW, fullH, samples, 4096)) return false;
    if (samples * 4 > GetMaxMemory()) return Fail("IMAGE_MAX_MEMORY exceeded");

    if (!opj_decode(codec.get(), in.get(), image.get()) || !opj_end_decompress(codec.get(), in.get()))
        return Fail("JPEG 2000: the code stream cannot be decoded");

    const uint32_t first = rgb ? 0 : static_cast<uint32_t>(info.frame);
    const opj_image_comp_t& base = image->comps[first];
    const uint32_t width = base.w, height = base.h;
    for (uint32_t i = 0; i < (rgb ? 3u : 1u); ++i) {
        const opj_image_comp_t& k = image->comps[first + i];
        if (!k.data || k.w != width || k.h != height) return Fail("error: cannot decode image");
    }
    if (width == 0 || height == 0) return Fail("error: cannot decode image");
    if (!Create(width, height, rgb ? 24 : 8, jp2 ? FORMAT_JP2 : FORMAT_JPC)) return Fail("Can't allocate memory");
    if (!rgb) SetGrayPalette();
    for (uint32_t r = 0; r < height; ++r) {
        uint8_t* row = GetBits(height - 1 - r);
        const size_t at = static_cast<size_t>(r) * width;
        for (uint32_t x = 0; x < width; ++x) {
            if (!rgb) {
                row[x] = To8Bits(base.data[at + x], base);
                continue;
            }
            for (uint32_t i = 0; i < 3; ++i)
                row[3 * x + 2 - i] = To8Bits(image->comps[i].data[at + x], image->comps[i]);
        }
    }
    info.frame = static_cast<int32_t>(first);
    return true;
}

bool ImageJ2K::Encode(File* stream) {
    if (EncodeSafeCheck(stream)) return false;
    bool grey = IsIndexed();
    for (uint32_t i = 0; grey && i < GetNumColors(); ++i) {
        const RGBQUAD c = GetPaletteColor(static_cast<uint8_t>(i));
        grey = c.rgbRed == c.rgbGreen && c.rgbGreen == c.rgbBlue;
    }
    if (IsIndexed() && !grey) return Fail("Can save only RGB or GrayScale images");
    const uint32_t width = GetWidth(), height = GetHeight(), numComps = grey ? 1 : 3;

    opj_image_cmptparm_t parms[3];
    std::memset(parms, 0, sizeof(parms));
    for (uint32_t i = 0; i < numComps; ++i) {
        parms[i].dx = parms[i].dy = 1;
        parms[i].w = width;
        parms[i].h = height;
        parms[i].prec = 8;
        parms[i].sgnd = 0;
    }
    ImagePtr image(opj_image_create(numComps, parms, grey ? OPJ_CLRSPC_GRAY : OPJ_CLRSPC_SRGB));
    if (!image) return Fail("error : opj_image_create");
    image->x0 = image->y0 = 0;
    image->x1 = width;
    image->y1 = height;
    for (uint32_t r = 0; r < height; ++r) {
        const int32_t y = static_cast<int32_t>(height - 1 - r);
        const uint8_t* row = GetBits(static_cast<uint32_t>(y));
        const size_t at = static_cast<size_t>(r) * width;
        for (uint32_t x = 0; x < width; ++x) {
            if (grey) {
                image->comps[0].data[at + x] = GetPaletteColor(BlindGetPixelIndex(static_cast<int32_t>(x), y)).rgbRed;
                continue;
            }
            for (uint32_t i = 0; i < 3; ++i) image->comps[i].data[at + x] = row[3 * x + 2 - i];
        }
    }

    // The rate is the fraction of the uncompressed size kept; 1 or more is lossless.
    const double rate = info.jpegQuality * 0.01;
    opj_cparameters_t params;
    opj_set_default_encoder_parameters(&params);
    params.tcp_numlayers = 1;
    params.cp_disto_alloc = 1;
    params.tcp_mct = numComps == 3 ? 1 : 0;
    if (rate >= 1.0) {
        params.irreversible = 0;
        params.tcp_rates[0] = 0;
    } else {
        params.irreversible = 1;
        params.tcp_rates[0] = static_cast<float>(1.0 / std::max(rate, 0.01));
    }
    // Small pictures cannot take the default number of wavelet levels.
    while (params.numresolution > 1 && ((width >> (params.numresolution - 1)) == 0 || (height >> (params.numresolution - 1)) == 0))
        --params.numresolution;

    CodecPtr codec(opj_create_compress(m_codestream ? OPJ_CODEC_J2K : OPJ_CODEC_JP2));
    if (!codec) return Fail("cannot initialize openjpeg");
    SetQuiet(codec.get());
    if (!opj_setup_encoder(codec.get(), &params, image.get()))
        return Fail("JPEG 2000: the encoder refused the image parameters");
    Sink sink{stream, stream->Tell()};
    StreamPtr out(opj_stream_create(OPJ_J2K_STREAM_CHUNK_SIZE, OPJ_FALSE));
    if (!out) return Fail("error : can't allocate memory");
    opj_stream_set_user_data(out.get(), &sink, nullptr);
    opj_stream_set_write_function(out.get(), WriteSink);
    opj_stream_set_skip_function(out.get(), SkipSink);
    opj_stream_set_seek_function(out.get(), SeekSink);
    if (!opj_start_compress(codec.get(), image.get(), out.get()) || !opj_encode(codec.get(), out.get()) ||
        !opj_end_compress(codec.get(), out.get()))
        return Fail("JPEG 2000: encoding or writing the code stream failed");
    return true;
}

} // namespace vimg
