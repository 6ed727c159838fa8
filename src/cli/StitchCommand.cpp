#include "StitchCommand.h"

#include "CliArgs.h"
#include "Image.h"
#include "MosaicStitcher.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace vimg::cli {

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: vistorel-img stitch OUT IN IN... [--grid CxR] [--overlap P] [--positions FILE] "
                 "[--flat-field]\n");
    return 2;
}

int Bad(const std::string& text) {
    std::fprintf(stderr, "vistorel-img: stitch: %s\n", text.c_str());
    return 2;
}

// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

bool WritePositions(const std::string& path, const std::vector<std::string>& inputs,
                    const std::vector<compose::MosaicStitcher::TileResult>& tiles) {
    FILE* f = std::fopen(path.c_str(), "w");
    if (!f) return false;
    std::fprintf(f, "file,x,y,correlation\n");
    for (size_t i = 0; i < inputs.size(); ++i) {
        if (tiles[i].placed)
            std::fprintf(f, "%s,%.3f,%.3f,%.4f\n", CsvField(inputs[i]).c_str(), tiles[i].position.x,
                         tiles[i].position.y, tiles[i].correlation);
        else
            std::fprintf(f, "%s,,,\n", CsvField(inputs[i]).c_str());
    }
    return std::fclose(f) == 0;
}

} // namespace

int StitchCommand(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    std::string positions;
    compose::MosaicStitcher::Settings settings;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--grid" && hasValue) {
            const std::string g = args[++i];
            const size_t x = g.find_first_of("xX");
            const auto columns = x == std::string::npos ? std::nullopt : ParseInteger(g.substr(0, x));
            const auto rows = x == std::string::npos ? std::nullopt : ParseInteger(g.substr(x + 1));
            if (!columns || !rows || *columns < 1 || *rows < 1 || *columns > 10000 || *rows > 10000)
                return Bad("--grid wants COLUMNSxROWS, for example 4x3, not '" + g + "'");
            settings.grid.columns = static_cast<int>(*columns);
            settings.grid.rows = static_cast<int>(*rows);
        } else if (a == "--overlap" && hasValue) {
            const std::string p = args[++i];
            char* end = nullptr;
            const double percent = std::strtod(p.c_str(), &end);
            if (p.empty() || end != p.c_str() + p.size() || !(percent > 0 && percent <= 90))
                return Bad("--overlap wants a percentage above 0 and up to 90, not '" + p + "'");
            settings.grid.overlap = percent / 100;
        } else if (a == "--positions" && hasValue) {
            positions = args[++i];
        } else if (a == "--flat-field") {
            settings.flatField = true;
        } else if (a.rfind("--", 0) == 0) {
            return Bad("unknown option '" + a + "'");
        } else {
            files.push_back(a);
        }
    }
    if (files.size() < 3) return Usage();
    const std::string output = files.front();
    const std::vector<std::string> inputs(files.begin() + 1, files.end());
    const uint32_t type = FormatFromExtension(output);
    if (type == 0) return Bad("cannot tell the output format of '" + output + "'");

    compose::MosaicStitcher stitcher(settings);
    std::string lastStage;
    int lastTenth = -1;
    stitcher.SetProgressReport([&](const char* stage, int percent) {
        if (lastStage == stage && percent / 10 == lastTenth) return;
        lastStage = stage;
        lastTenth = percent / 10;
        std::fprintf(stderr, "vistorel-img: stitch: %s, %d %%\n", stage, percent);
    });
    Image mosaic;
    std::vector<compose::MosaicStitcher::TileResult> tiles;
    const bool ok = stitcher.Stitch(
        static_cast<int>(inputs.size()),
        [&](int i, Image& image) {
            if (LoadImageFile(image, inputs[i], 0)) return true;
            const std::string why = inputs[i] + ": " + image.GetLastError();
            image.SetLastError(why.c_str());
            return false;
        },
        mosaic, tiles);
    if (!positions.empty() && tiles.size() == inputs.size() && !WritePositions(positions, inputs, tiles)) {
        std::fprintf(stderr, "vistorel-img: stitch: cannot write %s\n", positions.c_str());
        return 1;
    }
    if (!ok) {
        std::fprintf(stderr, "vistorel-img: stitch: %s\n", stitcher.LastError().c_str());
        return 1;
    }
    if (!mosaic.Save(output.c_str(), type)) {
        std::fprintf(stderr, "vistorel-img: %s: %s\n", output.c_str(), mosaic.GetLastError());
        return 1;
    }
    int unplaced = 0;
    for (size_t i = 0; i < inputs.size(); ++i)
        if (!tiles[i].placed) {
            std::fprintf(stderr,
                         "vistorel-img: stitch: %s overlaps no other picture clearly enough; left out\n",
                         inputs[i].c_str());
            ++unplaced;
        }
    return unplaced ? 3 : 0;
}

} // namespace vimg::cli
