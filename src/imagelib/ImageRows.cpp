// Row loops shared by the long operations: progress and escape per row, and
// the same rows spread over two threads where rows are independent.
#include "Image.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace vimg {

bool Image::RowStep(int64_t row, int64_t rows) {
    if (rows > 0)
        std::atomic_ref<int32_t>(info.progress)
            .store(static_cast<int32_t>(row * 100 / rows), std::memory_order_relaxed);
    return std::atomic_ref<int32_t>(info.escape).load(std::memory_order_relaxed) == 0;
}

bool Image::ForRows(int64_t rows, bool parallel, const std::function<void(int64_t)>& body, bool escapable) {
    // Small jobs are not worth a thread.
    const bool spread = parallel && rows >= 16 && std::thread::hardware_concurrency() > 1;
    std::atomic<int64_t> next{0};
    std::atomic<bool> escaped{false};
    const auto work = [&] {
        for (;;) {
            const int64_t row = next.fetch_add(1, std::memory_order_relaxed);
            if (row >= rows) return;
            if (!RowStep(row, rows) && escapable) {
                escaped = true;
                return;
            }
            body(row);
        }
    };
    if (spread) {
        std::thread helper(work);
        work();
        helper.join();
    } else {
        work();
    }
    return !escaped;
}

} // namespace vimg
