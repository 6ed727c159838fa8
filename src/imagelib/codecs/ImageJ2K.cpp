#include "ImageJ2K.h"

#include "../DecodeLimit.h"
#include "../File.h"
#include "SampleScale.h"

#include <openjpeg.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
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

uint64_t Be(const uint8_t* p, int bytes) {
    uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v = (v << 8) | p[i];
    return v;
}

// The top-level boxes of a JP2/JPX file: type, start, body start and body size.
struct BoxRef {
    uint32_t type = 0;
    size_t start = 0, body = 0, size = 0;
};

constexpr uint32_t BoxType(const char (&t)[5]) {
    return (uint32_t(uint8_t(t[0])) << 24) | (uint32_t(uint8_t(t[1])) << 16) |
           (uint32_t(uint8_t(t[2])) << 8) | uint8_t(t[3]);
}

std::vector<BoxRef> Boxes(const uint8_t* data, size_t size) {
    std::vector<BoxRef> boxes;
    for (size_t at = 0; at + 8 <= size;) {
        uint64_t length = Be(data + at, 4);
        size_t header = 8;
        if (length == 1) {
            if (at + 16 > size) break;
            length = Be(data + at + 8, 8);
            header = 16;
        } else if (length == 0) {
            length = size - at;
        }
        if (length < header || length > size - at) break;
        boxes.push_back(BoxRef{static_cast<uint32_t>(Be(data + at + 4, 4)), at, at + header,
                               static_cast<size_t>(length) - header});
        at += static_cast<size_t>(length);
    }
    return boxes;
}

// A JPX file whose code stream lies in pieces listed by a fragment table
// (ftbl holding flst) becomes a plain JP2 file: its boxes up to the table,
// then one code-stream box with the pieces joined. Empty text: nothing to do.
std::string JoinFragments(std::vector<uint8_t>& data) {
    const std::vector<BoxRef> boxes = Boxes(data.data(), data.size());
    const auto has = [&](uint32_t type) {
        return std::any_of(boxes.begin(), boxes.end(), [type](const BoxRef& b) { return b.type == type; });
    };
    if (has(BoxType("jp2c")) || !has(BoxType("ftbl"))) return {};
    std::vector<uint8_t> out;
    std::vector<uint8_t> stream;
    for (const BoxRef& box : boxes) {
        if (box.type != BoxType("ftbl")) {
            // Boxes that only carry fragment data are left out.
            if (box.type != BoxType("free") && box.type != BoxType("mdat"))
                out.insert(out.end(), data.begin() + static_cast<long>(box.start),
                           data.begin() + static_cast<long>(box.body + box.size));
            continue;
        }
        const std::vector<BoxRef> inner = Boxes(data.data() + box.body, box.size);
        if (inner.empty() || inner[0].type != BoxType("flst") || inner[0].size < 2)
            return "bad JPX fragment table";
        const uint8_t* list = data.data() + box.body + inner[0].body;
        const uint64_t count = Be(list, 2);
        if (inner[0].size < 2 + count * 14) return "bad JPX fragment table";
        for (uint64_t i = 0; i < count; ++i) {
            const uint8_t* f = list + 2 + i * 14;
            const uint64_t offset = Be(f, 8), length = Be(f + 8, 4), reference = Be(f + 12, 2);
            if (reference != 0) return "JPX fragments in other files are not supported";
            if (offset > data.size() || length > data.size() - offset) return "JPX fragment outside the file";
            stream.insert(stream.end(), data.begin() + static_cast<long>(offset),
                          data.begin() + static_cast<long>(offset + length));
        }
    }
    const uint64_t boxSize = stream.size() + 8;
    if (boxSize > 0xFFFFFFFFu) return "JPX code stream too large";
    for (int i = 3; i >= 0; --i) out.push_back(static_cast<uint8_t>(boxSize >> (8 * i)));
    out.insert(out.end(), {'j', 'p', '2', 'c'});
    out.insert(out.end(), stream.begin(), stream.end());
    data.swap(out);
    return {};
}

// YCbCr samples of precision `prec` (chroma centred on half the range) to
// 8-bit blue, green, red; e-sYCC uses its own matrix.
void YccToRgb(OPJ_INT32 y, OPJ_INT32 cb, OPJ_INT32 cr, const opj_image_comp_t& luma, bool extended,
              uint8_t* bgr) {
    const double half = std::ldexp(1.0, static_cast<int>(luma.prec) - 1), max = 2 * half - 1;
    const double yy = luma.sgnd ? y + half : y, b = cb - (luma.sgnd ? 0 : half),
                 r = cr - (luma.sgnd ? 0 : half);
    double rgb[3];
    if (extended) {
        rgb[0] = yy - 0.0000368 * b + 1.40199 * r;
        rgb[1] = 1.0003 * yy - 0.344125 * b - 0.7141128 * r;
        rgb[2] = 0.999823 * yy + 1.77204 * b - 0.000008 * r;
    } else {
        rgb[0] = yy + 1.402 * r;
        rgb[1] = yy - 0.344136 * b - 0.714136 * r;
        rgb[2] = yy + 1.772 * b;
    }
    for (int i = 0; i < 3; ++i) {
        const auto v = static_cast<uint64_t>(std::clamp(std::floor(rgb[i] + 0.5), 0.0, max));
        bgr[2 - i] = ScaleTo8(v, static_cast<uint64_t>(max));
    }
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
    if (jp2) {
        const std::string why = JoinFragments(data);
        if (!why.empty()) return Fail(why.c_str());
    }

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
    if (numComps == 0 || image->x1 <= image->x0 || image->y1 <= image->y0)
        return Fail("error: cannot decode image");
    if (numComps > kMaxComponents) return Fail("error: too much components");
    info.frameCount = static_cast<int32_t>(numComps);

    if (info.escape == -1) {
        // The finest component's resolution, as decoding gives it.
        uint32_t dx = image->comps[0].dx, dy = image->comps[0].dy;
        for (uint32_t i = 1; i < numComps; ++i) {
            dx = std::min(dx, image->comps[i].dx);
            dy = std::min(dy, image->comps[i].dy);
        }
        dx = std::max(dx, 1u);
        dy = std::max(dy, 1u);
        head.biWidth = static_cast<int32_t>((image->x1 + dx - 1) / dx - (image->x0 + dx - 1) / dx);
        head.biHeight = static_cast<int32_t>((image->y1 + dy - 1) / dy - (image->y0 + dy - 1) / dy);
        return true;
    }
    // The decoder holds every sample as 32 bits; a small file cannot describe a huge picture.
    const uint64_t samples =
        static_cast<uint64_t>(image->x1 - image->x0) * (image->y1 - image->y0) * numComps;
    const uint32_t fullW = image->x1 - image->x0, fullH = image->y1 - image->y0;
    if (!DecodeLimit::CheckHeld(*this, data.size(), fullW, fullH, samples, 4096)) return false;
    if (samples * 4 > GetMaxMemory()) return Fail("IMAGE_MAX_MEMORY exceeded");

    // Decoding applies palette (pclr/cmap) and channel definition boxes, so the
    // components are looked at only afterwards.
    if (!opj_decode(codec.get(), in.get(), image.get()) || !opj_end_decompress(codec.get(), in.get()))
        return Fail("JPEG 2000: the code stream cannot be decoded");
    const uint32_t comps = image->numcomps;
    if (comps == 0 || comps > kMaxComponents) return Fail("error: cannot decode image");
    for (uint32_t i = 0; i < comps; ++i) {
        const opj_image_comp_t& k = image->comps[i];
        if (!k.data || k.w == 0 || k.h == 0 || k.dx == 0 || k.dy == 0 || k.prec < 1 || k.prec > 31)
            return Fail("error: cannot decode image");
    }
    info.frameCount = static_cast<int32_t>(comps);
    const opj_image_comp_t* c = image->comps;
    // Three components (any sampling) are colour; otherwise each component is a grey frame.
    const bool colour = comps == 3;
    if (!colour && (info.frame < 0 || info.frame >= static_cast<int32_t>(comps))) return Fail("wrong frame!");
    const uint32_t first = colour ? 0 : static_cast<uint32_t>(info.frame);
    const uint32_t used = colour ? 3 : 1;

    // The picture has the resolution of its finest component; coarser ones
    // (sub-sampled chroma) are spread over the pixels they cover.
    uint32_t dx = c[first].dx, dy = c[first].dy;
    for (uint32_t i = first; i < first + used; ++i) {
        dx = std::min(dx, c[i].dx);
        dy = std::min(dy, c[i].dy);
    }
    const auto ceilDiv = [](uint32_t a, uint32_t b) {
        return static_cast<uint32_t>((static_cast<uint64_t>(a) + b - 1) / b);
    };
    const uint32_t left = ceilDiv(image->x0, dx), top = ceilDiv(image->y0, dy);
    const uint32_t width = ceilDiv(image->x1, dx) - left, height = ceilDiv(image->y1, dy) - top;
    if (width == 0 || height == 0) return Fail("error: cannot decode image");
    // Index of each pixel column and row in every component.
    std::vector<std::vector<uint32_t>> columns(comps), rows(comps);
    for (uint32_t i = 0; i < comps; ++i) {
        const opj_image_comp_t& k = c[i];
        const uint32_t kx0 = ceilDiv(image->x0, k.dx), ky0 = ceilDiv(image->y0, k.dy);
        columns[i].resize(width);
        rows[i].resize(height);
        // Component sample j covers grid positions [(k0 + j) × kd, (k0 + j + 1) × kd).
        const auto index = [](uint64_t gridPos, uint32_t kd, uint32_t k0, uint32_t count) {
            const uint64_t j = gridPos / kd;
            return static_cast<uint32_t>(std::min<uint64_t>(j > k0 ? j - k0 : 0, count - 1));
        };
        for (uint32_t x = 0; x < width; ++x)
            columns[i][x] = index(static_cast<uint64_t>(left + x) * dx, k.dx, kx0, k.w);
        for (uint32_t y = 0; y < height; ++y)
            rows[i][y] = index(static_cast<uint64_t>(top + y) * dy, k.dy, ky0, k.h);
    }
    const auto sample = [&](uint32_t i, uint32_t x, uint32_t y) {
        return c[i].data[static_cast<size_t>(rows[i][y]) * c[i].w + columns[i][x]];
    };

    // Bare code streams say nothing of colour: sub-sampled chroma means YCC.
    OPJ_COLOR_SPACE space = image->color_space;
    if (!jp2 && colour && space <= OPJ_CLRSPC_UNSPECIFIED && c[0].dx == 1 && c[0].dy == 1 &&
        (c[1].dx > 1 || c[1].dy > 1))
        space = OPJ_CLRSPC_SYCC;
    const bool ycc = colour && (space == OPJ_CLRSPC_SYCC || space == OPJ_CLRSPC_EYCC) &&
                     c[1].prec == c[0].prec && c[2].prec == c[0].prec;

    if (!Create(width, height, colour ? 24 : 8, jp2 ? FORMAT_JP2 : FORMAT_JPC))
        return Fail("Can't allocate memory");
    if (!colour) SetGrayPalette();
    for (uint32_t y = 0; y < height; ++y) {
        const int32_t row = static_cast<int32_t>(height - 1 - y);
        uint8_t* dst = GetBits(static_cast<uint32_t>(row));
        for (uint32_t x = 0; x < width; ++x) {
            if (!colour) {
                dst[x] = To8Bits(sample(first, x, y), c[first]);
            } else if (ycc) {
                YccToRgb(sample(0, x, y), sample(1, x, y), sample(2, x, y), c[0], space == OPJ_CLRSPC_EYCC,
                         dst + 3 * x);
            } else {
                for (uint32_t i = 0; i < 3; ++i) dst[3 * x + 2 - i] = To8Bits(sample(i, x, y), c[i]);
            }
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
                image->comps[0].data[at + x] =
                    GetPaletteColor(BlindGetPixelIndex(static_cast<int32_t>(x), y)).rgbRed;
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
    while (params.numresolution > 1 &&
           ((width >> (params.numresolution - 1)) == 0 || (height >> (params.numresolution - 1)) == 0))
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
