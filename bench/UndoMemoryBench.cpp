// Eight undoable changes of a 100-megapixel picture (12247 x 8165, 24 bits,
// 300 MB) through the document, then eight undos and eight redos: the time of
// each and the peak resident memory of the process. The undo history keeps
// its steps LZ4-compressed, so the peak stays near one picture plus what the
// steps compress to. Two contents: smooth (a microscope field) and one with
// sensor noise in the low bits, which compresses far less.
#include <sys/resource.h>

#include <memory>
#include <random>

#include <benchmark/benchmark.h>

#include "Image.h"
#include "KXViewDoc.h"

namespace {

constexpr uint32_t kWidth = 12247, kHeight = 8165;

std::unique_ptr<vimg::Image> Picture(bool noisy) {
    auto image = std::make_unique<vimg::Image>(kWidth, kHeight, 24);
    std::mt19937 rng(7);
    for (uint32_t y = 0; y < kHeight; ++y) {
        uint8_t* p = image->GetBits(y);
        for (uint32_t x = 0; x < kWidth; ++x, p += 3) {
            const uint32_t noise = noisy ? rng() & 3 : 0;
            p[0] = static_cast<uint8_t>(((x / 48) & 0xFF) | noise);
            p[1] = static_cast<uint8_t>(((y / 32) & 0xFF) | noise);
            p[2] = static_cast<uint8_t>((((x / 64) + (y / 64)) & 1 ? 180 : 70) | noise);
        }
    }
    return image;
}

double PeakResidentMB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

void BM_EightUndoSteps(benchmark::State& state) {
    const bool noisy = state.range(0) != 0;
    for (auto _ : state) {
        auto* doc = new CKXViewDoc;
        doc->SetImage(Picture(noisy));
        for (int i = 0; i < 8; ++i) {
            doc->SubmitUndo();
            doc->GetImage()->Negative();
        }
        const double stored = static_cast<double>(doc->History().StoredBytes()) / (1 << 20);
        for (int i = 0; i < 8; ++i) doc->OnUndo();
        for (int i = 0; i < 8; ++i) doc->OnRedo();
        state.counters["picture_MB"] = static_cast<double>(doc->GetImage()->GetSize()) / (1 << 20);
        state.counters["steps_MB"] = stored;
        state.counters["peak_RSS_MB"] = PeakResidentMB();
        delete doc;
    }
    state.SetLabel(noisy ? "noisy" : "smooth");
}

// One content per process run, so each peak is its own: --benchmark_filter=/0 or /1.
BENCHMARK(BM_EightUndoSteps)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
