// vistorel-img: the image library from the shell — info, convert and the raw RGBA dump.
#include "CliArgs.h"
#include "HelperFiles.h"
#include "ProcessCommand.h"
#include "Image.h"
#include "IOFile.h"
#include "codecs/ImageJPG.h"
#include "codecs/ImageGIF.h"
#ifdef VISTOREL_QT_TEXT_MODULE
#include "QtTextOnDemand.h"
#endif

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using vimg::Image;

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: vistorel-img info FILE\n"
                 "       vistorel-img convert IN OUT [--type ID|EXT] [--frame N] [--quality Q]\n"
                 "       vistorel-img convert IN [IN...] OUT --multipage [--type tif|gif] [--quality Q]\n"
                 "       vistorel-img rgba IN OUT\n"
                 "       vistorel-img animate OUT.gif IN [IN...] [--delay CS] [--loops N] [--dispose N] "
                 "[--comment TEXT] [--local-palettes]\n"
                 "       vistorel-img process IN OUT STEP [STEP...] [--seed N] [--type ID|EXT]\n"
                 "       vistorel-img stack OUT IN [IN...] [--depth-map FILE] [--align on|off]\n"
                 "       vistorel-img stitch OUT IN IN... [--grid CxR] [--overlap P] [--positions FILE] "
                 "[--flat-field]\n");
    return 2;
}

int Fail(const std::string& what, const Image& img) {
    std::fprintf(stderr, "vistorel-img: %s: %s\n", what.c_str(), img.GetLastError());
    return 1;
}

int Info(const std::vector<std::string>& args) {
    if (args.size() != 1) return Usage();
    Image img;
    if (!vimg::cli::LoadImageFile(img, args[0], 0)) return Fail(args[0], img);
    const vimg::RGBQUAD tc = img.GetTransColor();
    std::printf("format: %s (%u)\n", vimg::cli::FormatName(img.GetType()), img.GetType());
    std::printf("width: %u\nheight: %u\nbpp: %u\ncolors: %u\n", img.GetWidth(), img.GetHeight(), img.GetBpp(),
                img.GetNumColors());
    std::printf("dpi: %d x %d\n", img.GetXDPI(), img.GetYDPI());
    std::printf("frames: %d\n", img.GetNumFrames());
    std::printf("alpha: %s\n", img.AlphaIsValid() ? "yes" : (img.AlphaPaletteIsValid() ? "palette" : "no"));
    if (img.IsTransparent())
        std::printf("transparency: index %d\n", img.GetTransIndex());
    else
        std::printf("transparency: none\n");
    std::printf("background: #%02x%02x%02x\n", tc.rgbRed, tc.rgbGreen, tc.rgbBlue);
    double low = 0, high = 0;
    if (img.GetSampleRange(&low, &high)) std::printf("sample range: %.10g..%.10g\n", low, high);
    int32_t hotX = 0, hotY = 0;
    if (img.GetHotSpot(&hotX, &hotY)) std::printf("hot spot: %d, %d\n", hotX, hotY);
    return 0;
}

// JPEG to JPEG through the JPEG codec itself, so the file's EXIF block is carried over.
int JpegToJpeg(const std::string& input, const std::string& output, const Image& settings) {
    vimg::ImageJPG jpg;
    jpg.CopyInfo(settings);
    vimg::IOFile in;
    if (!in.Open(input.c_str(), "rb") || !jpg.Decode(&in)) return Fail(input, jpg);
    if (!jpg.SaveWith(output.c_str(), [&](vimg::File* f) { return jpg.Encode(f); })) return Fail(output, jpg);
    return 0;
}

// Several inputs as the pages (or frames) of one file.
int WritePages(const std::vector<std::string>& inputs, const std::string& output, uint32_t type, int frame,
               int quality) {
    std::vector<Image> pages(inputs.size());
    std::vector<Image*> pointers;
    for (size_t i = 0; i < inputs.size(); ++i) {
        if (!vimg::cli::LoadImageFile(pages[i], inputs[i], frame)) return Fail(inputs[i], pages[i]);
        if (quality > 0) pages[i].SetJpegQuality(static_cast<uint8_t>(quality));
        pointers.push_back(&pages[i]);
    }
    Image result;
    if (!result.Save(output.c_str(), pointers.data(), static_cast<int32_t>(pointers.size()), type))
        return Fail(output, result);
    return 0;
}

int Convert(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    int frame = 0;
    int quality = -1;
    std::optional<uint32_t> type;
    bool multipage = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--type" && hasValue) {
            type = vimg::cli::ParseFormat(args[++i]);
            if (!type || *type == 0) {
                std::fprintf(stderr, "vistorel-img: unknown output type '%s'\n", args[i].c_str());
                return 2;
            }
        } else if (a == "--frame" && hasValue) {
            auto n = vimg::cli::ParseInteger(args[++i]);
            if (!n || *n < 0 || *n > 1000000) {
                std::fprintf(stderr, "vistorel-img: bad frame number '%s'\n", args[i].c_str());
                return 2;
            }
            frame = static_cast<int>(*n);
        } else if (a == "--quality" && hasValue) {
            auto n = vimg::cli::ParseInteger(args[++i]);
            if (!n || *n < 1 || *n > 100) {
                std::fprintf(stderr, "vistorel-img: quality must be 1..100\n");
                return 2;
            }
            quality = static_cast<int>(*n);
        } else if (a == "--multipage") {
            multipage = true;
        } else if (a.rfind("--", 0) == 0) {
            std::fprintf(stderr, "vistorel-img: unknown option '%s'\n", a.c_str());
            return 2;
        } else {
            files.push_back(a);
        }
    }
    if (files.size() < 2 || (files.size() > 2 && !multipage)) return Usage();
    const std::string& output = files.back();
    const uint32_t outType = type ? *type : vimg::cli::FormatFromExtension(output);
    if (outType == 0) {
        std::fprintf(stderr, "vistorel-img: cannot tell the output format of '%s'; use --type\n",
                     output.c_str());
        return 2;
    }
    if (multipage) return WritePages({files.begin(), files.end() - 1}, output, outType, frame, quality);
    Image img;
    if (!vimg::cli::LoadImageFile(img, files[0], frame)) return Fail(files[0], img);
    if (quality > 0) img.SetJpegQuality(static_cast<uint8_t>(quality));
    if (outType == vimg::FORMAT_JPG && img.GetType() == vimg::FORMAT_JPG)
        return JpegToJpeg(files[0], output, img);
    if (!img.Save(output.c_str(), outType)) return Fail(output, img);
    return 0;
}

int Rgba(const std::vector<std::string>& args) {
    if (args.size() != 2) return Usage();
    Image img;
    if (!vimg::cli::LoadImageFile(img, args[0], 0)) return Fail(args[0], img);
    if (!img.SaveWith(args[1].c_str(), [&](vimg::File* f) { return img.Encode2RGBA(f); }))
        return Fail(args[1], img);
    return 0;
}

// A true-colour frame with at most 256 distinct colours becomes an 8-bit
// palette image with exactly those colours; false when it has more.
bool ToExactPalette(Image& img) {
    if (img.IsIndexed()) return true;
    const int32_t w = static_cast<int32_t>(img.GetWidth()), h = static_cast<int32_t>(img.GetHeight());
    std::map<uint32_t, uint8_t> colours;
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const vimg::RGBQUAD c = img.BlindGetPixelColor(x, y, false);
            const uint32_t key = vimg::RGB(c.rgbRed, c.rgbGreen, c.rgbBlue);
            if (colours.count(key)) continue;
            if (colours.size() == 256) return false;
            colours.emplace(key, static_cast<uint8_t>(colours.size()));
        }
    Image out(img.GetWidth(), img.GetHeight(), 8);
    for (const auto& [key, index] : colours) out.SetPaletteColor(index, key);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const vimg::RGBQUAD c = img.BlindGetPixelColor(x, y, false);
            out.BlindSetPixelIndex(x, y, colours[vimg::RGB(c.rgbRed, c.rgbGreen, c.rgbBlue)]);
        }
    out.SetFrameDelay(img.GetFrameDelay());
    img.Transfer(out);
    return true;
}

int Animate(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    long long delay = 10, loops = 0, dispose = 0;
    std::string comment;
    bool localPalettes = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        const auto number = [&](long long& target, long long low, long long high) {
            auto n = vimg::cli::ParseInteger(args[++i]);
            if (!n || *n < low || *n > high) {
                std::fprintf(stderr, "vistorel-img: %s must be %lld..%lld\n", a.c_str(), low, high);
                return false;
            }
            target = *n;
            return true;
        };
        if (a == "--delay" && hasValue) {
            if (!number(delay, 0, 65535)) return 2;
        } else if (a == "--loops" && hasValue) {
            if (!number(loops, 0, 65536)) return 2;
        } else if (a == "--dispose" && hasValue) {
            if (!number(dispose, 0, 7)) return 2;
        } else if (a == "--comment" && hasValue) {
            comment = args[++i];
        } else if (a == "--local-palettes") {
            localPalettes = true;
        } else if (a.rfind("--", 0) == 0) {
            std::fprintf(stderr, "vistorel-img: unknown option '%s'\n", a.c_str());
            return 2;
        } else {
            files.push_back(a);
        }
    }
    if (files.size() < 2) return Usage();
    std::vector<std::unique_ptr<Image>> frames;
    std::vector<Image*> pointers;
    for (size_t i = 1; i < files.size(); ++i) {
        auto img = std::make_unique<Image>();
        if (!vimg::cli::LoadImageFile(*img, files[i], 0)) return Fail(files[i], *img);
        if (!ToExactPalette(*img)) {
            std::fprintf(stderr, "vistorel-img: %s: more than 256 colours; reduce them before animating\n",
                         files[i].c_str());
            return 1;
        }
        img->SetFrameDelay(static_cast<uint32_t>(delay));
        pointers.push_back(img.get());
        frames.push_back(std::move(img));
    }
    vimg::ImageGIF gif;
    gif.SetLoops(static_cast<int32_t>(loops));
    gif.SetDisposalMethod(static_cast<int32_t>(dispose));
    gif.SetComment(comment.c_str());
    const bool ok = gif.SaveWith(files[0].c_str(), [&](vimg::File* f) {
        return gif.Encode(f, pointers.data(), static_cast<int32_t>(pointers.size()), localPalettes);
    });
    if (!ok) return Fail(files[0], gif);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
#ifdef VISTOREL_QT_TEXT_MODULE
    vimg::cli::QtTextOnDemand::Install();
#endif
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "info") return Info(args);
    if (command == "convert") return Convert(args);
    if (command == "rgba") return Rgba(args);
    if (command == "animate") return Animate(args);
    if (command == "process") return vimg::cli::ProcessCommand(args);
    if (command == "stack" || command == "stitch") return vimg::cli::RunMergeHelper(argv);
    return Usage();
}
