// Times our JPEG, PNG and LZW-TIFF codecs on a 12-megapixel picture against
// the reference tools on the same files in the same run, and prints the ratios:
// djpeg/cjpeg for JPEG, ImageMagick for PNG, tiffcp for TIFF. The GIF, TGA and
// Sun raster readers are timed against ImageMagick's on the same picture.
//
//   codec_bench [WORK_DIR] [REPEATS]
#include "Image.h"
#include "IOFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <sys/resource.h>

using vimg::Image;

namespace {

constexpr uint32_t kWidth = 4000, kHeight = 3000;

// Processor time (user and system) of this process and of the tools it ran. The
// machine is shared, so wall-clock time says more about the neighbours than the code.
double CpuSeconds() {
    rusage self{}, children{};
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(self.ru_utime) + seconds(self.ru_stime) + seconds(children.ru_utime) +
           seconds(children.ru_stime);
}

// Best of `repeats` runs, in seconds of processor time.
double Time(int repeats, const std::function<bool()>& work) {
    double best = 1e30;
    for (int i = 0; i < repeats; ++i) {
        const double start = CpuSeconds();
        if (!work()) {
            std::fprintf(stderr, "codec_bench: a step failed\n");
            std::exit(1);
        }
        best = std::min(best, CpuSeconds() - start);
    }
    return best;
}

bool Shell(const std::string& command) { return std::system(command.c_str()) == 0; }

// A photograph-like test picture: smooth colour fields with fine texture.
Image MakePicture() {
    Image img(kWidth, kHeight, 24);
    uint32_t noise = 12345;
    for (uint32_t y = 0; y < kHeight; ++y) {
        uint8_t* row = img.GetBits(y);
        for (uint32_t x = 0; x < kWidth; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int grain = static_cast<int>((noise >> 28) & 7) - 4;
            const double fx = x / 400.0, fy = y / 300.0;
            const int r = static_cast<int>(128 + 100 * std::sin(fx) * std::cos(fy)) + grain;
            const int g = static_cast<int>(128 + 90 * std::sin(fx * 0.7 + fy)) + grain;
            const int b = static_cast<int>(128 + 110 * std::cos(fx * 0.3 - fy * 0.8)) + grain;
            row[3 * x] = static_cast<uint8_t>(std::clamp(b, 0, 255));
            row[3 * x + 1] = static_cast<uint8_t>(std::clamp(g, 0, 255));
            row[3 * x + 2] = static_cast<uint8_t>(std::clamp(r, 0, 255));
        }
    }
    return img;
}

bool DecodeFile(const std::string& file, uint32_t type) {
    Image img;
    return img.Load(file.c_str(), type);
}

bool EncodeToFile(Image& img, const std::string& file, uint32_t type) { return img.Save(file.c_str(), type); }

void Report(const char* what, double ours, double reference, const char* tool) {
    std::printf("%-12s ours %7.3f s   %-12s %7.3f s   ratio %.2f\n", what, ours, tool, reference,
                ours / reference);
}

} // namespace

int main(int argc, char** argv) {
    const std::filesystem::path dir =
        argc > 1 ? argv[1] : std::filesystem::temp_directory_path() / "vistorel-bench";
    const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    std::filesystem::create_directories(dir);
    const auto path = [&](const char* name) { return (dir / name).string(); };

    Image picture = MakePicture();
    picture.SetJpegQuality(90);
    // The shared input files: a PPM for the tools and the encoded files for the decoders.
    const std::string ppm = path("picture.ppm");
    {
        FILE* fp = std::fopen(ppm.c_str(), "wb");
        if (!fp) return 1;
        std::fprintf(fp, "P6\n%u %u\n255\n", kWidth, kHeight);
        std::vector<uint8_t> line(kWidth * 3);
        for (uint32_t y = kHeight; y-- > 0;) {
            const uint8_t* row = picture.GetBits(y);
            for (uint32_t x = 0; x < kWidth; ++x) {
                line[3 * x] = row[3 * x + 2];
                line[3 * x + 1] = row[3 * x + 1];
                line[3 * x + 2] = row[3 * x];
            }
            std::fwrite(line.data(), 1, line.size(), fp);
        }
        std::fclose(fp);
    }
    const std::string jpg = path("picture.jpg"), png = path("picture.png"), tif = path("picture.tif"),
                      raw = path("picture-none.tif");
    picture.SetCodecOption(1, vimg::FORMAT_TIF); // uncompressed, for tiffcp to compress
    if (!picture.Save(raw.c_str(), vimg::FORMAT_TIF)) return 1;
    picture.SetCodecOption(5, vimg::FORMAT_TIF); // LZW
    if (!picture.Save(jpg.c_str(), vimg::FORMAT_JPG) || !picture.Save(png.c_str(), vimg::FORMAT_PNG) ||
        !picture.Save(tif.c_str(), vimg::FORMAT_TIF))
        return 1;
    const std::string sink = path("out");

    std::printf("%u x %u pixels, processor seconds, best of %d runs\n", kWidth, kHeight, repeats);
    Report("JPEG decode", Time(repeats, [&] { return DecodeFile(jpg, vimg::FORMAT_JPG); }),
           Time(repeats, [&] { return Shell("djpeg -outfile /dev/null " + jpg); }), "djpeg");
    Report("JPEG encode", Time(repeats, [&] { return EncodeToFile(picture, sink, vimg::FORMAT_JPG); }),
           Time(repeats, [&] { return Shell("cjpeg -quality 90 -outfile " + sink + " " + ppm); }), "cjpeg");
    Report("PNG decode", Time(repeats, [&] { return DecodeFile(png, vimg::FORMAT_PNG); }),
           Time(repeats, [&] { return Shell("/usr/bin/convert " + png + " ppm:/dev/null"); }), "ImageMagick");
    Report("PNG encode", Time(repeats, [&] { return EncodeToFile(picture, sink, vimg::FORMAT_PNG); }),
           Time(repeats, [&] { return Shell("/usr/bin/convert " + ppm + " png:" + sink); }), "ImageMagick");
    Report("TIFF decode", Time(repeats, [&] { return DecodeFile(tif, vimg::FORMAT_TIF); }),
           Time(repeats, [&] { return Shell("tiffcp -c none " + tif + " " + sink); }), "tiffcp");
    Report("TIFF encode", Time(repeats, [&] { return EncodeToFile(picture, sink, vimg::FORMAT_TIF); }),
           Time(repeats, [&] { return Shell("tiffcp -c lzw:2 " + raw + " " + sink); }), "tiffcp");
    // 256 colours by ImageMagick for the GIF; our writers for the others.
    const std::string gif = path("picture.gif"), tga = path("picture.tga"), ras = path("picture.ras");
    if (!Shell("/usr/bin/convert " + ppm + " -colors 256 " + gif) ||
        !picture.Save(tga.c_str(), vimg::FORMAT_TGA) || !picture.Save(ras.c_str(), vimg::FORMAT_RAS))
        return 1;
    const std::pair<const char*, std::pair<std::string, uint32_t>> readers[] = {
        {"GIF decode", {gif, vimg::FORMAT_GIF}},
        {"TGA decode", {tga, vimg::FORMAT_TGA}},
        {"RAS decode", {ras, vimg::FORMAT_RAS}}};
    for (const auto& [what, file] : readers)
        Report(what, Time(repeats, [&] { return DecodeFile(file.first, file.second); }),
               Time(repeats, [&] { return Shell("/usr/bin/convert " + file.first + " ppm:/dev/null"); }),
               "ImageMagick");
    if (!std::getenv("VISTOREL_BENCH_KEEP")) std::filesystem::remove_all(dir);
    return 0;
}
