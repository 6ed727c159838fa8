// The one row loop of the library's long operations. It reports progress,
// honours the escape flag, and spreads independent rows over a thread pool
// shared by all images and sized to the machine. No exception leaves a row: a
// row that throws stops the loop and its text becomes the image's last error.
#pragma once

#include <cstdint>
#include <functional>

namespace vimg {

class Image;

// Where a loop reports: progress = lo + (hi - lo) * y / height before row y,
// where y counts the rows started so far from the loop's first row. A null
// image means no progress, no escape check and nowhere to put a failure text.
struct RowProgress {
    Image* image = nullptr;
    int32_t height = 1;
    int32_t lo = 0;
    int32_t hi = 100;
};

class RowRunner {
public:
    // Calls row(y) once for each y0 <= y < y1 and returns true when every row
    // ran. Stops before a row once the image's escape flag is non-zero (unless
    // checkEscape is false) and returns false. With `parallel` the rows may run
    // on several threads in any order: row() must then only write data that
    // belongs to its own row, so any thread count gives the same result.
    static bool Run(const RowProgress& progress, int32_t y0, int32_t y1, bool parallel,
                    const std::function<void(int32_t)>& row, bool checkEscape = true);

    // Threads a parallel loop uses, the calling one included; 0 restores one per
    // core. Meant for tests that compare thread counts; call it while no loop runs.
    static void SetThreadCount(unsigned threads);
    static unsigned ThreadCount();
};

} // namespace vimg
