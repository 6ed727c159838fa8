#include "MosaicStitcher.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <thread>

#include "FlatField.h"
#include "Image.h"
#include "ImageMat.h"
#include "MosaicBlender.h"
#include "MosaicPlacement.h"

namespace vimg::compose {

namespace {

std::mutex g_reportMutex;

// Runs work(0) .. work(count - 1) on one thread per core, each taking the next index.
void ForEach(int count, const std::function<void(int)>& work) {
    const int threads =
        std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, std::max(count, 1));
    std::atomic<int> next{0};
    const auto run = [&] {
        for (int i = next++; i < count; i = next++)
            work(i);
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t)
        pool.emplace_back(run);
    run();
    for (std::thread& t : pool)
        t.join();
}

} // namespace

bool MosaicStitcher::Fail(std::string text) {
    m_error = std::move(text);
    return false;
}

void MosaicStitcher::Report(const char* stage, int percent) {
    m_progress = percent;
    if (!m_report) return;
    std::lock_guard<std::mutex> lock(g_reportMutex);
    m_report(stage, percent);
}

TileRegistration::Plausible MosaicStitcher::GridPlausible(cv::Size size) const {
    const double overlap = m_settings.grid.overlap;
    if (overlap <= 0) return {};
    // A neighbour lies one step away along a row or a column (the diagonal ones
    // overlap too little to be registered), give or take a fifth of a step.
    const double stepX = size.width * (1 - overlap), stepY = size.height * (1 - overlap);
    const double slackX = 0.2 * stepX, slackY = 0.2 * stepY;
    return [=](const cv::Point2d& d) {
        for (double nx : {-stepX, 0.0, stepX})
            for (double ny : {-stepY, 0.0, stepY}) {
                if (nx == 0 && ny == 0) continue;
                if (std::abs(d.x - nx) <= slackX && std::abs(d.y - ny) <= slackY) return true;
            }
        return false;
    };
}

bool MosaicStitcher::Stitch(const std::vector<const Image*>& pictures, Image& mosaic,
                            std::vector<TileResult>& tiles) {
    return Stitch(
        static_cast<int>(pictures.size()),
        [&](int i, Image& image) {
            if (!pictures[i]) return false;
            image = *pictures[i];
            return true;
        },
        mosaic, tiles);
}

bool MosaicStitcher::Stitch(int count, const ImageLoader& load, Image& mosaic,
                            std::vector<TileResult>& tiles) {
    m_error.clear();
    m_progress = 0;
    tiles.assign(static_cast<size_t>(std::max(count, 0)), TileResult{});
    const GridHint& grid = m_settings.grid;
    if (count < 2) return Fail("stitching needs at least two pictures");
    if (count > kMaxPictures) return Fail("too many pictures (at most " + std::to_string(kMaxPictures) + ")");
    if (grid.columns < 0 || grid.rows < 0 || !(grid.overlap >= 0 && grid.overlap <= 0.9))
        return Fail("grid hint out of range (columns and rows from 1, overlap 0 to 90 %)");
    if (grid.columns > 0 && grid.rows > 0 && int64_t{grid.columns} * grid.rows != count)
        return Fail("a grid of " + std::to_string(grid.columns) + " x " + std::to_string(grid.rows) +
                    " holds " + std::to_string(int64_t{grid.columns} * grid.rows) + " pictures, not " +
                    std::to_string(count));

    // Read every picture once: its grey for registration, its colours kept while
    // they fit the memory budget (the rest are read again for blending).
    std::vector<cv::Mat> grey(static_cast<size_t>(count)), kept(static_cast<size_t>(count));
    std::vector<cv::Size> sizes(static_cast<size_t>(count));
    FlatField flat;
    size_t keptBytes = 0;
    double pixelSize = 0;
    std::string cameraName;
    const auto readColours = [&](int i, cv::Mat& bgr, std::string& error) {
        Image image;
        if (!load(i, image)) {
            error = "picture " + std::to_string(i + 1) + ": " +
                    (image.GetLastError()[0] ? image.GetLastError() : "cannot be read");
            return false;
        }
        bgr = ImageMat::ToBgr(image);
        if (bgr.empty()) {
            error = "picture " + std::to_string(i + 1) + " is empty";
            return false;
        }
        if (pixelSize == 0 && image.GetPixelSize() > 0) {
            pixelSize = image.GetPixelSize();
            cameraName = image.GetCameraName();
        }
        return true;
    };
    cv::Size largest;
    for (int i = 0; i < count; ++i) {
        if (m_cancel) return Fail("cancelled");
        cv::Mat bgr;
        if (!readColours(i, bgr, m_error)) return false;
        if (std::min(bgr.cols, bgr.rows) < 2 * m_settings.registration.minOverlapSide ||
            std::max(bgr.cols, bgr.rows) > kMaxSide)
            return Fail("picture " + std::to_string(i + 1) + " is " + std::to_string(bgr.cols) + " x " +
                        std::to_string(bgr.rows) + " pixels: too small or too large to stitch");
        sizes[i] = bgr.size();
        largest = {std::max(largest.width, bgr.cols), std::max(largest.height, bgr.rows)};
        grey[i] = ImageMat::ToGrey(bgr);
        if (m_settings.flatField) flat.Add(bgr);
        const size_t bytes = bgr.total() * bgr.elemSize();
        if (keptBytes + bytes <= m_settings.keepInMemory) {
            kept[i] = bgr;
            keptBytes += bytes;
        }
        Report("reading", 10 * (i + 1) / count);
    }
    if (m_settings.flatField && !flat.Finish(m_error)) return false;

    // Register every pair (both cores); a grid hint rules out offsets that no
    // neighbour can have.
    const TileRegistration registration(largest, m_settings.registration);
    std::vector<TileRegistration::Tile> prepared(static_cast<size_t>(count));
    ForEach(count, [&](int i) { prepared[i] = registration.Prepare(grey[i]); });
    std::vector<std::pair<int, int>> candidates;
    for (int a = 0; a < count; ++a)
        for (int b = a + 1; b < count; ++b)
            candidates.emplace_back(a, b);
    std::vector<TileRegistration::Shift> shifts(candidates.size());
    std::atomic<size_t> done{0};
    ForEach(static_cast<int>(candidates.size()), [&](int k) {
        if (m_cancel) return;
        const auto [a, b] = candidates[k];
        shifts[k] = registration.Register(prepared[a], prepared[b], GridPlausible(sizes[a]));
        const size_t n = ++done;
        if (n * 80 / candidates.size() != (n - 1) * 80 / candidates.size())
            Report("registering", 10 + static_cast<int>(n * 80 / candidates.size()));
    });
    if (m_cancel) return Fail("cancelled");
    prepared.clear();
    grey.clear();

    std::vector<MosaicPlacement::Pair> pairs;
    for (size_t k = 0; k < candidates.size(); ++k)
        if (shifts[k].outcome == TileRegistration::Outcome::Placed)
            pairs.push_back(
                {candidates[k].first, candidates[k].second, shifts[k].offset, shifts[k].correlation});
    const MosaicPlacement::Result placement = MosaicPlacement(m_settings.tolerance).Solve(count, pairs);
    int placedCount = 0;
    for (int i = 0; i < count; ++i) {
        tiles[i].placed = placement.placed[i];
        tiles[i].position = placement.positions[i];
        placedCount += tiles[i].placed ? 1 : 0;
    }
    for (const MosaicPlacement::Pair& p : placement.kept)
        for (int i : {p.a, p.b})
            tiles[i].correlation = std::max(tiles[i].correlation, p.correlation);
    if (placedCount < 2) {
        for (TileResult& t : tiles)
            t.placed = false;
        return Fail("no two pictures overlap clearly enough to be placed");
    }

    std::vector<MosaicBlender::Placed> placed;
    for (int i = 0; i < count; ++i)
        if (tiles[i].placed) placed.push_back({i, tiles[i].position, sizes[i]});
    const MosaicBlender::Loader colours = [&](int i, cv::Mat& bgr, std::string& error) {
        if (!kept[i].empty())
            bgr = m_settings.flatField ? kept[i].clone() : kept[i];
        else if (!readColours(i, bgr, error))
            return false;
        kept[i].release();
        if (flat.IsReady() && bgr.size() == flat.Gain().size()) flat.Apply(bgr);
        return true;
    };
    const bool ok =
        MosaicBlender(m_settings.feather).Compose(placed, colours, mosaic, m_error, [&](double fraction) {
            Report("blending", 90 + static_cast<int>(fraction * 10));
            return !m_cancel;
        });
    if (!ok) return false;
    mosaic.SetPixelSize(pixelSize);
    mosaic.SetCameraName(cameraName.c_str());
    return true;
}

} // namespace vimg::compose
