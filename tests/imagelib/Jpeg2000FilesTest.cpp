// JPEG 2000 files other programs write: sub-sampled components, YCC colour,
// palettes, precisions other than 8 and JPX fragment tables. The files are made
// here with OpenJPEG and checked against ImageMagick's decoding (Pillow takes
// any sub-sampled file for YCC).
#include "CodecTestSupport.h"

#include <openjpeg.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <array>
#include <functional>

using namespace vimg;
using namespace testsupport;

namespace {

struct Component {
    uint32_t dx = 1, dy = 1, prec = 8;
    bool sgnd = false;
    std::function<int32_t(uint32_t x, uint32_t y)> value; // at component sample (x, y)
};

// A growing buffer OpenJPEG writes into (it seeks back to fill in box lengths).
struct Buffer {
    std::vector<uint8_t> bytes;
    size_t pos = 0;
};
OPJ_SIZE_T WriteBuffer(void* data, OPJ_SIZE_T n, void* user) {
    auto* b = static_cast<Buffer*>(user);
    if (b->bytes.size() < b->pos + n) b->bytes.resize(b->pos + n);
    std::memcpy(b->bytes.data() + b->pos, data, n);
    b->pos += n;
    return n;
}
OPJ_OFF_T SkipBuffer(OPJ_OFF_T n, void* user) {
    static_cast<Buffer*>(user)->pos += static_cast<size_t>(n);
    return n;
}
OPJ_BOOL SeekBuffer(OPJ_OFF_T n, void* user) {
    static_cast<Buffer*>(user)->pos = static_cast<size_t>(n);
    return OPJ_TRUE;
}

// A lossless file of `w` x `h` grid pixels with the given components.
std::vector<uint8_t> Encode(uint32_t w, uint32_t h, const std::vector<Component>& comps,
                            OPJ_COLOR_SPACE space, bool jp2 = true) {
    std::vector<opj_image_cmptparm_t> parms(comps.size());
    for (size_t i = 0; i < comps.size(); ++i) {
        std::memset(&parms[i], 0, sizeof(parms[i]));
        parms[i].dx = comps[i].dx;
        parms[i].dy = comps[i].dy;
        parms[i].w = (w + comps[i].dx - 1) / comps[i].dx;
        parms[i].h = (h + comps[i].dy - 1) / comps[i].dy;
        parms[i].prec = comps[i].prec;
        parms[i].sgnd = comps[i].sgnd;
    }
    opj_image_t* image = opj_image_create(static_cast<OPJ_UINT32>(comps.size()), parms.data(), space);
    image->x1 = w;
    image->y1 = h;
    for (size_t i = 0; i < comps.size(); ++i)
        for (uint32_t y = 0; y < parms[i].h; ++y)
            for (uint32_t x = 0; x < parms[i].w; ++x)
                image->comps[i].data[y * parms[i].w + x] = comps[i].value(x, y);
    opj_cparameters_t params;
    opj_set_default_encoder_parameters(&params);
    params.numresolution = 3;
    params.tcp_mct = 0;
    opj_codec_t* codec = opj_create_compress(jp2 ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K);
    Buffer out;
    opj_stream_t* stream = opj_stream_create(1 << 16, OPJ_FALSE);
    opj_stream_set_user_data(stream, &out, nullptr);
    opj_stream_set_write_function(stream, WriteBuffer);
    opj_stream_set_skip_function(stream, SkipBuffer);
    opj_stream_set_seek_function(stream, SeekBuffer);
    const bool ok = opj_setup_encoder(codec, &params, image) && opj_start_compress(codec, image, stream) &&
                    opj_encode(codec, stream) && opj_end_compress(codec, stream);
    EXPECT_TRUE(ok) << "OpenJPEG could not write the test file";
    opj_stream_destroy(stream);
    opj_destroy_codec(codec);
    opj_image_destroy(image);
    return out.bytes;
}

uint32_t Be32(const std::vector<uint8_t>& v, size_t at) {
    return (uint32_t(v[at]) << 24) | (uint32_t(v[at + 1]) << 16) | (uint32_t(v[at + 2]) << 8) | v[at + 3];
}
void PutBe(std::vector<uint8_t>& v, uint64_t x, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
}
std::vector<uint8_t> Box(const char* type, const std::vector<uint8_t>& body) {
    std::vector<uint8_t> box;
    PutBe(box, body.size() + 8, 4);
    box.insert(box.end(), type, type + 4);
    box.insert(box.end(), body.begin(), body.end());
    return box;
}
// Offset of the first top-level box of `type` (or the file size).
size_t FindBox(const std::vector<uint8_t>& file, const char* type) {
    for (size_t at = 0; at + 8 <= file.size(); at += Be32(file, at))
        if (std::memcmp(&file[at + 4], type, 4) == 0 || Be32(file, at) < 8) return at;
    return file.size();
}

// A grey JP2 of indexes given an RGB palette (pclr) mapped to three channels (cmap).
std::vector<uint8_t> WithPalette(std::vector<uint8_t> jp2,
                                 const std::vector<std::array<uint8_t, 3>>& palette) {
    std::vector<uint8_t> pclr;
    PutBe(pclr, palette.size(), 2);
    pclr.insert(pclr.end(), {3, 7, 7, 7});
    for (const auto& e : palette) pclr.insert(pclr.end(), e.begin(), e.end());
    const std::vector<uint8_t> cmap = {0, 0, 1, 0, 0, 0, 1, 1, 0, 0, 1, 2};
    const size_t header = FindBox(jp2, "jp2h");
    // The colour box now names sRGB: the palette gives colours.
    for (size_t at = header + 8; at + 8 <= header + Be32(jp2, header); at += Be32(jp2, at))
        if (std::memcmp(&jp2[at + 4], "colr", 4) == 0) jp2[at + 14] = 16;
    std::vector<uint8_t> extra = Box("pclr", pclr), map = Box("cmap", cmap);
    extra.insert(extra.end(), map.begin(), map.end());
    const size_t end = header + Be32(jp2, header);
    jp2.insert(jp2.begin() + static_cast<long>(end), extra.begin(), extra.end());
    const uint32_t size = Be32(jp2, header) + static_cast<uint32_t>(extra.size());
    for (int i = 0; i < 4; ++i) jp2[header + i] = static_cast<uint8_t>(size >> (24 - 8 * i));
    return jp2;
}

// The same picture as a JPX file whose code stream lies in three fragments
// (inside a free box) listed by a fragment table, without a jp2c box.
std::vector<uint8_t> AsFragments(const std::vector<uint8_t>& jp2) {
    const size_t c = FindBox(jp2, "jp2c");
    const std::vector<uint8_t> stream(jp2.begin() + static_cast<long>(c) + 8,
                                      jp2.begin() + Be32(jp2, c) + static_cast<long>(c));
    std::vector<uint8_t> out(jp2.begin(), jp2.begin() + static_cast<long>(c));
    const size_t ftyp = FindBox(out, "ftyp");
    std::memcpy(&out[ftyp + 8], "jpx ", 4);
    const size_t cut[4] = {0, stream.size() / 3, 2 * stream.size() / 3, stream.size()};
    // Fragments stored in reverse order inside a free box, after the table.
    const size_t tableSize = 8 + 8 + 2 + 3 * 14;
    const size_t dataStart = out.size() + tableSize + 8;
    std::vector<uint8_t> free, list;
    PutBe(list, 3, 2);
    std::vector<size_t> at(3);
    for (int i = 2; i >= 0; --i) {
        at[i] = dataStart + free.size();
        free.insert(free.end(), stream.begin() + static_cast<long>(cut[i]),
                    stream.begin() + static_cast<long>(cut[i + 1]));
    }
    for (int i = 0; i < 3; ++i) {
        PutBe(list, at[i], 8);
        PutBe(list, cut[i + 1] - cut[i], 4);
        PutBe(list, 0, 2);
    }
    const std::vector<uint8_t> table = Box("ftbl", Box("flst", list)), data = Box("free", free);
    EXPECT_EQ(table.size(), tableSize);
    out.insert(out.end(), table.begin(), table.end());
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

int Plasma(uint32_t x, uint32_t y, int k, int max) {
    return static_cast<int>((std::sin(x * 0.37 + k) + std::cos(y * 0.23 * (k + 1)) + 2) / 4 * max + 0.5);
}

class Jpeg2000Files : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick is not installed";
    }
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        WriteFile(dir.file(name), bytes);
        return dir.file(name);
    }
    TempDir dir;
};

} // namespace

TEST_F(Jpeg2000Files, SubSampledComponentsKeepTheFullSize) {
    const uint32_t w = 37, h = 23;
    const auto plane = [](int k, int max) {
        return [k, max](uint32_t x, uint32_t y) { return Plasma(x, y, k, max); };
    };
    // YCC 4:2:0, YCC 4:2:2 and RGB with sub-sampled green and blue.
    const struct {
        const char* name;
        std::vector<Component> comps;
        OPJ_COLOR_SPACE space;
        int tolerance;
    } cases[] = {
        {"ycc420.jp2",
         {{1, 1, 8, false, plane(0, 255)}, {2, 2, 8, false, plane(1, 255)}, {2, 2, 8, false, plane(2, 255)}},
         OPJ_CLRSPC_SYCC,
         1},
        {"ycc422.jp2",
         {{1, 1, 8, false, plane(0, 255)}, {2, 1, 8, false, plane(1, 255)}, {2, 1, 8, false, plane(2, 255)}},
         OPJ_CLRSPC_SYCC,
         1},
        {"rgb_sub.jp2",
         {{1, 1, 8, false, plane(0, 255)}, {2, 2, 8, false, plane(1, 255)}, {1, 2, 8, false, plane(2, 255)}},
         OPJ_CLRSPC_SRGB,
         0},
    };
    for (const auto& c : cases) {
        const std::string file = Write(c.name, Encode(w, h, c.comps, c.space));
        Image img;
        ASSERT_TRUE(img.Load(file.c_str(), FORMAT_JP2)) << c.name << ": " << img.GetLastError();
        EXPECT_EQ(img.GetWidth(), w) << c.name;
        EXPECT_EQ(img.GetHeight(), h) << c.name;
        EXPECT_EQ(img.GetBpp(), 24u);
        EXPECT_LE(testsupport::DiffToReference(file, FORMAT_JP2), c.tolerance) << c.name;
    }
}

// A bare code stream says nothing of colour: sub-sampled chroma is taken for YCC.
TEST_F(Jpeg2000Files, BareCodeStreamWithSubSampledChromaIsYcc) {
    const auto plane = [](int k) { return [k](uint32_t x, uint32_t y) { return Plasma(x, y, k, 255); }; };
    const std::vector<Component> comps = {
        {1, 1, 8, false, plane(0)}, {2, 2, 8, false, plane(1)}, {2, 2, 8, false, plane(2)}};
    Image fromJp2, fromCodestream;
    const std::string jp2 = Write("ycc.jp2", Encode(21, 13, comps, OPJ_CLRSPC_SYCC));
    const std::string j2k = Write("ycc.j2k", Encode(21, 13, comps, OPJ_CLRSPC_UNKNOWN, false));
    ASSERT_TRUE(fromJp2.Load(jp2.c_str(), FORMAT_JP2)) << fromJp2.GetLastError();
    ASSERT_TRUE(fromCodestream.Load(j2k.c_str(), FORMAT_JPC)) << fromCodestream.GetLastError();
    EXPECT_EQ(testsupport::ToRGBA(fromCodestream), testsupport::ToRGBA(fromJp2));
}

// Palette boxes (pclr with cmap) turn one index component into colours.
TEST_F(Jpeg2000Files, PaletteBoxesAreApplied) {
    std::vector<std::array<uint8_t, 3>> palette;
    for (int i = 0; i < 16; ++i)
        palette.push_back({uint8_t(i * 16), uint8_t(255 - i * 9), uint8_t((i * 77) % 256)});
    const std::vector<Component> index = {
        {1, 1, 4, false, [](uint32_t x, uint32_t y) { return Plasma(x, y, 0, 15); }}};
    const std::string file =
        Write("palette.jp2", WithPalette(Encode(29, 17, index, OPJ_CLRSPC_GRAY), palette));
    Image img;
    ASSERT_TRUE(img.Load(file.c_str(), FORMAT_JP2)) << img.GetLastError();
    EXPECT_EQ(img.GetBpp(), 24u);
    EXPECT_EQ(testsupport::DiffToReference(file, FORMAT_JP2), 0); // Pillow ignores the palette
}

// Precisions other than 8 scale by their own range, rounded (ImageMagick
// truncates through 16 bits, so it may be one lower).
TEST_F(Jpeg2000Files, OtherPrecisionsScaleByTheirRange) {
    for (const uint32_t prec : {1u, 4u, 10u, 12u, 16u}) {
        const int max = (1 << prec) - 1;
        const std::vector<Component> grey = {
            {1, 1, prec, false, [max](uint32_t x, uint32_t y) { return Plasma(x, y, 0, max); }}};
        const std::string file =
            Write("grey" + std::to_string(prec) + ".jp2", Encode(31, 19, grey, OPJ_CLRSPC_GRAY));
        Image img;
        ASSERT_TRUE(img.Load(file.c_str(), FORMAT_JP2)) << prec << ": " << img.GetLastError();
        for (uint32_t y = 0; y < 19; ++y)
            for (uint32_t x = 0; x < 31; ++x) {
                const int v = Plasma(x, y, 0, max);
                ASSERT_EQ(img.GetPixelColor(int32_t(x), int32_t(18 - y)).rgbRed, (v * 255 + max / 2) / max)
                    << prec << " bits at " << x << "," << y;
            }
        EXPECT_LE(testsupport::DiffToReference(file, FORMAT_JP2), 1) << prec;
    }
    // Signed samples move up by half their range.
    const std::vector<Component> signedGrey = {
        {1, 1, 12, true, [](uint32_t x, uint32_t y) { return Plasma(x, y, 1, 4095) - 2048; }}};
    const std::string file = Write("signed12.jp2", Encode(31, 19, signedGrey, OPJ_CLRSPC_GRAY));
    Image img;
    ASSERT_TRUE(img.Load(file.c_str(), FORMAT_JP2)) << img.GetLastError();
    EXPECT_EQ(img.GetPixelColor(0, 18).rgbRed, (Plasma(0, 0, 1, 4095) * 255 + 2047) / 4095);
}

// JPX files may keep the code stream in pieces listed by a fragment table.
TEST_F(Jpeg2000Files, FragmentTablesAreFollowed) {
    const auto plane = [](int k) { return [k](uint32_t x, uint32_t y) { return Plasma(x, y, k, 255); }; };
    const std::vector<Component> rgb = {
        {1, 1, 8, false, plane(0)}, {1, 1, 8, false, plane(1)}, {1, 1, 8, false, plane(2)}};
    const std::vector<uint8_t> plain = Encode(33, 21, rgb, OPJ_CLRSPC_SRGB);
    const std::string reference = Write("plain.jp2", plain),
                      file = Write("fragments.jpx", AsFragments(plain));
    Image img;
    ASSERT_TRUE(img.Load(file.c_str(), FORMAT_JP2)) << img.GetLastError();
    int w = 0, h = 0;
    EXPECT_EQ(testsupport::MaxDiff(testsupport::ToRGBA(img), ReferenceRGBA(reference, &w, &h)), 0);
    // A fragment reaching past the end of the file is refused.
    std::vector<uint8_t> broken = AsFragments(plain);
    const size_t table = FindBox(broken, "ftbl");
    broken[table + 8 + 8 + 2 + 8 + 1] = 0x7F; // first fragment's length
    Image bad;
    EXPECT_FALSE(bad.Load(Write("broken.jpx", broken).c_str(), FORMAT_JP2));
    EXPECT_STREQ(bad.GetLastError(), "JPX fragment outside the file");
}
