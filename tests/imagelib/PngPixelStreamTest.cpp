// The fast reading of PNG image data (PngPixelStream) against libpng's own
// row reading of the same files (ImageMagick's and Pillow's, every colour type,
// depth and filter it takes, re-cut image data), against ImageMagick's 16-bit
// samples, and on damaged files.
#include "CodecTestSupport.h"

#include "codecs/ImagePNG.h"
#include "codecs/PngPixelStream.h"
#include "MemFile.h"
#include "RowRunner.h"

#include <zlib.h>

#include <cmath>
#include <cstring>

using namespace testsupport;
using vimg::Image;
using vimg::PngPixelStream;

namespace {

struct Decoded {
    bool ok = false;
    std::string error;
    Image image;
};

Decoded DecodeWith(bool fast, std::vector<uint8_t> bytes) {
    PngPixelStream::SetEnabled(fast);
    Decoded d;
    d.ok = d.image.Decode(bytes.data(), static_cast<uint32_t>(bytes.size()), vimg::FORMAT_PNG);
    d.error = d.image.GetLastError();
    PngPixelStream::SetEnabled(true);
    return d;
}

// Pixels, alpha, palette and metadata equal.
void ExpectSamePicture(const Image& a, const Image& b, const std::string& what) {
    ASSERT_EQ(a.GetWidth(), b.GetWidth()) << what;
    ASSERT_EQ(a.GetHeight(), b.GetHeight()) << what;
    ASSERT_EQ(a.GetBpp(), b.GetBpp()) << what;
    for (uint32_t y = 0; y < a.GetHeight(); ++y)
        ASSERT_EQ(std::memcmp(a.GetBits(y), b.GetBits(y), a.GetWidth() * a.GetBpp() / 8), 0)
            << what << " row " << y;
    ASSERT_EQ(a.AlphaIsValid(), b.AlphaIsValid()) << what;
    for (uint32_t y = 0; a.AlphaIsValid() && y < a.GetHeight(); ++y) {
        ASSERT_EQ(std::memcmp(a.AlphaGetPointer(0, static_cast<int32_t>(y)),
                              b.AlphaGetPointer(0, static_cast<int32_t>(y)), a.GetWidth()),
                  0)
            << what << " alpha row " << y;
    }
    ASSERT_EQ(a.GetNumColors(), b.GetNumColors()) << what;
    if (a.GetNumColors() > 0) {
        EXPECT_EQ(std::memcmp(a.GetPalette(), b.GetPalette(), a.GetNumColors() * sizeof(vimg::RGBQUAD)), 0)
            << what;
    }
    EXPECT_EQ(a.GetXDPI(), b.GetXDPI()) << what;
    EXPECT_EQ(a.GetYDPI(), b.GetYDPI()) << what;
    EXPECT_EQ(a.GetPixelSize(), b.GetPixelSize()) << what;
    EXPECT_STREQ(a.GetCameraName(), b.GetCameraName()) << what;
    EXPECT_EQ(a.GetTransIndex(), b.GetTransIndex()) << what;
    const vimg::RGBQUAD ta = a.GetTransColor(), tb = b.GetTransColor();
    EXPECT_EQ(std::memcmp(&ta, &tb, sizeof(ta)), 0) << what;
    EXPECT_EQ(a.GetCodecOption(vimg::FORMAT_PNG), b.GetCodecOption(vimg::FORMAT_PNG)) << what;
}

// A PNG taken apart into its chunks and put together again with fresh CRCs.
struct Chunk {
    std::string type;
    std::vector<uint8_t> data;
};

uint32_t Be32(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

void PutBe32(std::vector<uint8_t>& out, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8)
        out.push_back(static_cast<uint8_t>(v >> s));
}

std::vector<Chunk> Chunks(const std::vector<uint8_t>& png) {
    std::vector<Chunk> chunks;
    for (size_t p = 8; p + 12 <= png.size();) {
        const uint32_t length = Be32(&png[p]);
        chunks.push_back({std::string(png.begin() + p + 4, png.begin() + p + 8),
                          std::vector<uint8_t>(png.begin() + p + 8, png.begin() + p + 8 + length)});
        p += 12 + length;
    }
    return chunks;
}

// Where each chunk of the given type starts (at its length).
std::vector<size_t> Offsets(const std::vector<uint8_t>& png, const std::string& type) {
    std::vector<size_t> at;
    for (size_t p = 8; p + 12 <= png.size(); p += 12 + Be32(&png[p]))
        if (std::string(png.begin() + p + 4, png.begin() + p + 8) == type) at.push_back(p);
    return at;
}

std::vector<uint8_t> Assemble(const std::vector<Chunk>& chunks) {
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (const Chunk& c : chunks) {
        PutBe32(out, static_cast<uint32_t>(c.data.size()));
        const size_t start = out.size();
        out.insert(out.end(), c.type.begin(), c.type.end());
        out.insert(out.end(), c.data.begin(), c.data.end());
        PutBe32(out, static_cast<uint32_t>(crc32(0, &out[start], static_cast<uInt>(out.size() - start))));
    }
    return out;
}

std::vector<uint8_t> ImageData(const std::vector<Chunk>& chunks) {
    std::vector<uint8_t> data;
    for (const Chunk& c : chunks)
        if (c.type == "IDAT") data.insert(data.end(), c.data.begin(), c.data.end());
    return data;
}

// The chunks with their image data replaced by `data`, cut into IDAT chunks
// of the given sizes (the last one takes the rest).
std::vector<Chunk> WithImageData(const std::vector<Chunk>& chunks, const std::vector<uint8_t>& data,
                                 const std::vector<size_t>& sizes) {
    std::vector<Chunk> out;
    for (const Chunk& c : chunks) {
        if (c.type == "IDAT") {
            if (out.back().type == "IDAT") continue;
            size_t at = 0;
            for (size_t n : sizes) {
                n = std::min(n, data.size() - at);
                out.push_back({"IDAT", std::vector<uint8_t>(data.begin() + at, data.begin() + at + n)});
                at += n;
            }
            out.push_back({"IDAT", std::vector<uint8_t>(data.begin() + at, data.end())});
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> out(size);
    EXPECT_EQ(compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 6), Z_OK);
    out.resize(size);
    return out;
}

// The filtered rows of a non-interlaced file.
std::vector<uint8_t> RawRows(const std::vector<Chunk>& chunks) {
    const std::vector<uint8_t>& ihdr = chunks.front().data;
    const uint64_t channels = std::vector<int>{1, 0, 3, 1, 2, 0, 4}[ihdr[9]];
    uLongf size = static_cast<uLongf>(((Be32(&ihdr[0]) * channels * ihdr[8] + 7) / 8 + 1) * Be32(&ihdr[4]));
    std::vector<uint8_t> raw(size);
    const std::vector<uint8_t> data = ImageData(chunks);
    EXPECT_EQ(uncompress(raw.data(), &size, data.data(), static_cast<uLong>(data.size())), Z_OK);
    return raw;
}

// Decodes `png` both ways; both must succeed with the same picture, the fast
// way must have been taken (a damaged CRC in the image data gives its own text).
void ExpectParity(const std::vector<uint8_t>& png, const std::string& what) {
    const Decoded fast = DecodeWith(true, png), slow = DecodeWith(false, png);
    ASSERT_TRUE(slow.ok) << what << ": " << slow.error;
    ASSERT_TRUE(fast.ok) << what << ": " << fast.error;
    ExpectSamePicture(fast.image, slow.image, what);

    std::vector<Chunk> chunks = Chunks(png);
    std::vector<uint8_t> damaged = Assemble(chunks);
    ASSERT_EQ(damaged, png) << what << ": the chunks did not survive taking apart";
    const size_t last = Offsets(png, "IDAT").back();
    damaged[last + 12 + Be32(&png[last]) - 1] ^= 1; // the last IDAT's CRC
    const Decoded check = DecodeWith(true, damaged);
    EXPECT_FALSE(check.ok) << what;
    EXPECT_EQ(check.error, "PNG: CRC error in the image data") << what << " was not read the fast way";
}

// A copy of `png` with its image data cut into a one-byte chunk, an empty one, 100 bytes and the rest.
std::vector<uint8_t> Recut(const std::vector<uint8_t>& png) {
    const std::vector<Chunk> chunks = Chunks(png);
    return Assemble(WithImageData(chunks, ImageData(chunks), {1, 0, 100}));
}

const char* const kAlphaMask =
    " \\( +clone -colorspace gray -negate \\) -alpha off -compose CopyOpacity -composite ";

} // namespace

TEST(PngPixelStream, MatchesLibpngOnImageMagickFiles) {
    TempDir dir;
    struct Kind {
        int colorType, bitDepth;
    } kinds[] = {{0, 8}, {0, 16}, {2, 8}, {2, 16}, {6, 8}, {6, 16}, {4, 16}};
    struct Size {
        int w, h;
        bool allFilters;
    } sizes[] = {{37, 23, true}, {1, 1, false}, {1, 9, false}, {9, 1, false}, {301, 7, false}};
    for (const Kind& k : kinds) {
        for (const Size& s : sizes) {
            for (int filter = s.allFilters ? 0 : 5; filter <= 5; ++filter) {
                const std::string name = "t" + std::to_string(k.colorType) + "d" +
                                         std::to_string(k.bitDepth) + "_" + std::to_string(s.w) + "x" +
                                         std::to_string(s.h) + "f" + std::to_string(filter) + ".png";
                std::string source =
                    "-seed 7 -size " + std::to_string(s.w) + "x" + std::to_string(s.h) + " plasma:fractal";
                if (k.colorType & 4) source += kAlphaMask;
                if (k.colorType == 0 || k.colorType == 4) source += " -colorspace gray";
                const std::string path =
                    MakeWithImageMagick(dir, name,
                                        source + " -depth " + std::to_string(k.bitDepth) +
                                            " -define png:color-type=" + std::to_string(k.colorType) +
                                            " -define png:bit-depth=" + std::to_string(k.bitDepth) +
                                            " -define png:compression-filter=" + std::to_string(filter));
                const std::vector<uint8_t> png = ReadFile(path);
                ASSERT_EQ(png[24], k.bitDepth) << name;
                ASSERT_EQ(png[25], k.colorType) << name;
                ExpectParity(png, name);
                if (s.allFilters) ExpectParity(Recut(png), name + " recut");
            }
        }
    }
}

TEST(PngPixelStream, MatchesLibpngOnPillowFiles) {
    if (!HavePillow()) GTEST_SKIP() << "Pillow is missing";
    TempDir dir;
    // Every 16-bit grey value once, then pictures of each mode Pillow writes with and without optimising.
    const std::string script =
        "import sys, random\n"
        "from PIL import Image\n"
        "d = sys.argv[1]\n"
        "im = Image.new('I;16', (256, 256)); im.putdata(list(range(65536))); im.save(d + '/all16.png')\n"
        "random.seed(4)\n"
        "for mode in ('L', 'I;16', 'RGB', 'RGBA', 'LA'):\n"
        "    for w, h in ((1, 1), (37, 23), (100, 3)):\n"
        "        im = Image.radial_gradient('L').resize((w, h)).convert(mode)\n"
        "        px = im.load()\n"
        "        for i in range(w * h // 3):\n"
        "            x, y = random.randrange(w), random.randrange(h)\n"
        "            px[x, y] = random.randrange(65536) if mode == 'I;16' else "
        "tuple(random.randrange(256) for _ in mode) if len(mode) > 1 else random.randrange(256)\n"
        "        for opt in (0, 1):\n"
        "            im.save('%s/%s_%dx%d_%d.png' % (d, mode.replace(';', ''), w, h, opt), "
        "optimize=bool(opt))\n";
    Make("/usr/bin/python3 -c " + Quote(script) + " " + Quote(dir.path().string()));
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        const std::string name = entry.path().filename().string();
        const std::vector<uint8_t> png = ReadFile(entry.path().string());
        ++files;
        // 8-bit grey with alpha is composed over a background by libpng; were it
        // read the fast way, its alpha plane would differ.
        if (name.rfind("LA_", 0) == 0) {
            const Decoded fast = DecodeWith(true, png), slow = DecodeWith(false, png);
            ASSERT_TRUE(fast.ok && slow.ok) << name;
            ExpectSamePicture(fast.image, slow.image, name);
            continue;
        }
        ExpectParity(png, name);
        ExpectParity(Recut(png), name + " recut");
    }
    EXPECT_EQ(files, 31);
}

// 16-bit samples become rounded v × 255 / 65535. ImageMagick's own 16-bit
// reading of the files is the reference for the samples (its -depth 8 output
// truncates, v / 257, so it cannot be compared directly).
TEST(PngPixelStream, SixteenBitSamplesRoundImageMagicksDeepSamples) {
    TempDir dir;
    const std::string rgb = MakeWithImageMagick(
        dir, "rgb16.png", "-seed 2 -size 203x31 plasma: -depth 16 -define png:format=png48");
    const std::string rgba = MakeWithImageMagick(dir, "rgba16.png",
                                                 std::string("-seed 3 -size 64x64 plasma:") + kAlphaMask +
                                                     " -depth 16 -define png:format=png64");
    for (const std::string& file : {rgb, rgba}) {
        const bool alpha = file == rgba;
        const std::string raw = file + ".raw";
        Make(Convert() + " " + Quote(file) + " -endian MSB -depth 16 " +
             Quote((alpha ? "rgba:" : "rgb:") + raw));
        const std::vector<uint8_t> deep = ReadFile(raw);
        Image img;
        ASSERT_TRUE(img.Load(file.c_str(), vimg::FORMAT_PNG)) << img.GetLastError();
        const uint32_t w = img.GetWidth(), h = img.GetHeight(), n = alpha ? 4 : 3;
        ASSERT_EQ(deep.size(), size_t{w} * h * n * 2);
        int bad = 0;
        for (uint32_t y = 0; y < h && bad < 5; ++y) {
            const uint8_t* row = img.GetBits(h - 1 - y);
            const uint8_t* a = alpha ? img.AlphaGetPointer(0, static_cast<int32_t>(h - 1 - y)) : nullptr;
            for (uint32_t x = 0; x < w; ++x) {
                for (uint32_t c = 0; c < n; ++c) {
                    const size_t at = (size_t{y} * w + x) * n + c;
                    const double v = deep[2 * at] * 256.0 + deep[2 * at + 1];
                    const long expected = std::lround(v * 255.0 / 65535.0);
                    const int ours = c < 3 ? row[3 * x + 2 - c] : a[x];
                    if (ours != expected && ++bad <= 5)
                        ADD_FAILURE() << file << " (" << x << ", " << y << ") channel " << c << ": " << ours
                                      << " for " << v << ", expected " << expected;
                }
            }
        }
    }
}

// Damage in and after the image data: the fast way fails where libpng does
// (with a text of its own) and otherwise gives the same picture.
TEST(PngPixelStream, DamagedFilesFailWhereLibpngFails) {
    TempDir dir;
    const std::string rgb =
        MakeWithImageMagick(dir, "rgb.png", "-seed 1 -size 37x23 plasma: -depth 8 -define png:format=png24");
    const std::string rgba = MakeWithImageMagick(dir, "rgba.png",
                                                 std::string("-seed 1 -size 21x17 plasma:") + kAlphaMask +
                                                     " -depth 16 -define png:format=png64");
    for (const std::string& file : {rgb, rgba}) {
        const std::vector<Chunk> chunks = Chunks(ReadFile(file));
        const std::vector<uint8_t> raw = RawRows(chunks);
        const std::vector<uint8_t> data = ImageData(chunks);
        const std::vector<size_t> cuts = {300, 300};
        const std::vector<uint8_t> good = Assemble(WithImageData(chunks, data, cuts));
        std::vector<std::pair<std::string, std::vector<uint8_t>>> cases;
        const auto withData = [&](const std::string& what, const std::vector<uint8_t>& d) {
            cases.emplace_back(what, Assemble(WithImageData(chunks, d, cuts)));
        };
        withData("stream ends a row early", Deflate(std::vector<uint8_t>(raw.begin(), raw.end() - 30)));
        std::vector<uint8_t> more = raw;
        more.insert(more.end(), raw.begin(), raw.begin() + 500);
        withData("too much data", Deflate(more));
        std::vector<uint8_t> junk = data;
        junk.insert(junk.end(), {1, 2, 3, 4, 5});
        withData("bytes after the stream", junk);
        std::vector<uint8_t> adler = data;
        adler.back() ^= 0x40;
        withData("wrong Adler-32", adler);
        withData("stream without its check", std::vector<uint8_t>(data.begin(), data.end() - 4));
        std::vector<uint8_t> filter = raw;
        filter[(raw.size() / 23) * 5] = 7;
        withData("bad filter type", Deflate(filter));
        std::vector<uint8_t> header = data;
        header[0] = 0x79;
        withData("bad zlib header", header);

        const size_t idat = Offsets(good, "IDAT").front();
        std::vector<uint8_t> crc = good;
        crc[idat + 8 + 5] ^= 1; // a byte of the first IDAT's data
        cases.emplace_back("CRC error in the first IDAT", crc);
        std::vector<uint8_t> endCrc = good;
        endCrc.back() ^= 1;
        cases.emplace_back("CRC error in IEND", endCrc);
        std::vector<uint8_t> longer = good;
        longer[idat + 1] = 0x7F; // the first IDAT claims millions of bytes
        cases.emplace_back("IDAT longer than the file", longer);
        cases.emplace_back("no IEND", std::vector<uint8_t>(good.begin(), good.end() - 12));
        for (size_t cut = idat + 1; cut < good.size(); cut += 7)
            cases.emplace_back("cut at " + std::to_string(cut),
                               std::vector<uint8_t>(good.begin(), good.begin() + cut));

        // Chunks after the image data.
        const auto withTail = [&](const std::string& what, const Chunk& extra, bool breakCrc = false) {
            std::vector<Chunk> c = WithImageData(chunks, data, cuts);
            c.insert(c.end() - 1, extra);
            std::vector<uint8_t> png = Assemble(c);
            if (breakCrc) png[png.size() - 12 - 1] ^= 1;
            cases.emplace_back(what, png);
        };
        withTail("text after the image data", {"tEXt", {'a', 0, 'b'}});
        withTail("bad CRC in text after the image data", {"tEXt", {'a', 0, 'b'}}, true);
        withTail("unknown ancillary chunk", {"zzZz", {1, 2, 3}});
        withTail("unknown critical chunk", {"ABCD", {1, 2, 3}});
        withTail("late IDAT", {"IDAT", {1, 2, 3}});
        withTail("late IDAT with bad CRC", {"IDAT", {1, 2, 3}}, true);
        withTail("unknown critical chunk with bad CRC", {"ABCD", {1, 2, 3}}, true);
        withTail("late PLTE", {"PLTE", {1, 2, 3}});
        withTail("late PLTE with bad CRC", {"PLTE", {1, 2, 3}}, true);
        withTail("late IHDR", {"IHDR", chunks.front().data});
        withTail("invalid chunk type", {"a1b2", {}});

        // Flipped bytes in the compressed data, CRCs intact.
        for (unsigned seed = 0; seed < 40; ++seed)
            withData("damaged stream " + std::to_string(seed), Corrupt(data, seed, 2));

        for (const auto& [what, png] : cases) {
            const Decoded fast = DecodeWith(true, png), slow = DecodeWith(false, png);
            const std::string name = file + ": " + what;
            EXPECT_EQ(fast.ok, slow.ok) << name << " — fast: " << fast.error << " libpng: " << slow.error;
            if (fast.ok && slow.ok) ExpectSamePicture(fast.image, slow.image, name);
            if (!fast.ok) {
                EXPECT_FALSE(fast.error.empty()) << name;
            }
        }
    }
}

// Pictures of more than a megabyte are inflated on a second thread: the same
// picture as with one thread and with libpng, and the same failures.
TEST(PngPixelStream, SecondThreadGivesTheSamePicturesAndFailures) {
    TempDir dir;
    const std::string rgb = MakeWithImageMagick(
        dir, "big48.png", "-seed 5 -size 700x400 plasma: -depth 16 -define png:format=png48");
    const std::string rgba = MakeWithImageMagick(dir, "big32.png",
                                                 std::string("-seed 6 -size 900x500 plasma:") + kAlphaMask +
                                                     " -depth 8 -define png:format=png32");
    for (const std::string& file : {rgb, rgba}) {
        const std::vector<uint8_t> png = ReadFile(file);
        const std::vector<Chunk> chunks = Chunks(png);
        const std::vector<uint8_t> raw = RawRows(chunks);
        ASSERT_GT(raw.size(), size_t{1} << 20) << file;
        const std::vector<uint8_t> data = ImageData(chunks);
        std::vector<std::pair<std::string, std::vector<uint8_t>>> cases = {{"as written", png}};
        cases.emplace_back("small chunks",
                           Assemble(WithImageData(chunks, data, std::vector<size_t>(300, 977))));
        cases.emplace_back("stream ends early",
                           Assemble(WithImageData(chunks, Deflate({raw.begin(), raw.end() - 1000}), {})));
        std::vector<uint8_t> filter = raw;
        filter[raw.size() - raw.size() / 50] = 9; // somewhere in the last rows
        filter[(raw.size() / 400) * 398] = 9;
        cases.emplace_back("bad filter type near the end",
                           Assemble(WithImageData(chunks, Deflate(filter), {})));
        std::vector<uint8_t> adler = data;
        adler[adler.size() - 2] ^= 4;
        cases.emplace_back("wrong Adler-32", Assemble(WithImageData(chunks, adler, {})));
        std::vector<uint8_t> more = raw;
        more.insert(more.end(), raw.begin(), raw.begin() + 100000);
        cases.emplace_back("too much data", Assemble(WithImageData(chunks, Deflate(more), {})));
        std::vector<uint8_t> late = png;
        const size_t last = Offsets(png, "IDAT").back();
        late[last + 8] ^= 0x10; // data of the last IDAT, CRC left as it was
        cases.emplace_back("CRC error in the last IDAT", late);
        cases.emplace_back("cut in the middle",
                           std::vector<uint8_t>(png.begin(), png.begin() + png.size() / 2));
        for (const auto& [what, bytes] : cases) {
            const std::string name = file + ": " + what;
            const Decoded two = DecodeWith(true, bytes), slow = DecodeWith(false, bytes);
            vimg::RowRunner::SetThreadCount(1);
            const Decoded one = DecodeWith(true, bytes);
            vimg::RowRunner::SetThreadCount(0);
            EXPECT_EQ(two.ok, slow.ok) << name << " — fast: " << two.error << " libpng: " << slow.error;
            EXPECT_EQ(two.ok, one.ok) << name;
            EXPECT_EQ(two.error, one.error) << name;
            if (two.ok && slow.ok) ExpectSamePicture(two.image, slow.image, name);
            if (two.ok && one.ok) ExpectSamePicture(two.image, one.image, name);
        }
    }
}

// A picture in memory whose reader sets the decoder's escape once `at` bytes have been read.
class EscapingFile : public vimg::MemFile {
public:
    EscapingFile(std::vector<uint8_t>& bytes, Image& decoder, int32_t at)
        : MemFile(bytes.data(), static_cast<uint32_t>(bytes.size())), m_decoder(decoder), m_at(at) {}
    size_t Read(void* buffer, size_t size, size_t count) override {
        const size_t n = MemFile::Read(buffer, size, count);
        if (Tell() >= m_at) m_decoder.SetEscape(1);
        return n;
    }

private:
    Image& m_decoder;
    int32_t m_at;
};

// Escape while both threads work (the reading one sets it part way through the
// image data, the inflating one is running): the decoder stops, joins its
// helper and reports a cancel (no text). The picture is the same when no escape comes.
TEST(PngPixelStream, EscapeStopsBothThreads) {
    TempDir dir;
    const std::string file = MakeWithImageMagick(
        dir, "large.png", "-seed 8 -size 2000x1500 plasma: -depth 16 -define png:format=png48");
    std::vector<uint8_t> bytes = ReadFile(file);
    const Decoded reference = DecodeWith(false, bytes);
    ASSERT_TRUE(reference.ok);
    for (double part : {0.1, 0.3, 0.6, 0.9, 2.0}) {
        vimg::ImagePNG png;
        EscapingFile stream(bytes, png, static_cast<int32_t>(part * static_cast<double>(bytes.size())));
        const bool ok = png.Decode(&stream);
        if (part > 1) {
            ASSERT_TRUE(ok) << png.GetLastError();
            ExpectSamePicture(png, reference.image, "no escape");
        } else {
            EXPECT_FALSE(ok) << "escape after " << part << " of the file";
            EXPECT_STREQ(png.GetLastError(), "") << part;
        }
    }
}

// A pipe cannot go back to the first IDAT chunk's header: libpng reads such streams.
TEST(PngPixelStream, PipesAreReadByLibpng) {
    TempDir dir;
    const std::string file =
        MakeWithImageMagick(dir, "pipe.png", "-seed 9 -size 40x30 plasma: -depth 16 -define png:format=png48");
    const Decoded reference = DecodeWith(true, ReadFile(file));
    ASSERT_TRUE(reference.ok) << reference.error;
    FILE* pipe = popen(("cat " + Quote(file)).c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    vimg::ImagePNG png;
    EXPECT_TRUE(png.Decode(pipe)) << png.GetLastError();
    pclose(pipe);
    ExpectSamePicture(png, reference.image, "pipe");
}
