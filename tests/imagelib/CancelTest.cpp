// Cancelling across threads: one thread runs a long operation while another
// watches its progress and sets escape, as the document's worker and the user
// interface do. Run under ThreadSanitizer (build-tsan) this also proves the
// two threads share nothing but the relaxed progress and escape values.
#include "Image.h"
#include "ImageTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

using namespace testsupport;
using vimg::Image;

namespace {

struct LongOperation {
    std::string name;
    std::function<bool(Image&)> run;
    bool reportsEscape; // false: the operation returns true with the rows done so far
};

TEST(Cancel, EscapeFromAnotherThreadStopsARunningOperation) {
    const Image picture = SmoothImage(1600, 1200, 8);
    const LongOperation operations[] = {
        {"Rotate2", [](Image& i) { return i.Rotate2(13.0f, nullptr, Image::IM_BICUBIC2); }, true},
        {"Resample2", [](Image& i) { return i.Resample2(2400, 1800, Image::IM_LANCZOS); }, true},
        {"Median", [](Image& i) { return i.Median(9); }, false},
        {"DecreaseBpp", [](Image& i) { return i.DecreaseBpp(8, true); }, true},
    };
    for (const LongOperation& op : operations) {
        Image img(picture);
        std::atomic<bool> finished{false};
        bool result = true;
        std::thread worker([&] {
            result = op.run(img);
            finished = true;
        });
        // The watcher waits for the first progress report, then asks to stop.
        int seen = 0;
        while (!finished && (seen = img.GetProgress()) == 0) std::this_thread::yield();
        img.SetEscape(1);
        worker.join();
        EXPECT_GT(seen, 0) << op.name << " finished before reporting any progress";
        EXPECT_LT(seen, 100) << op.name;
        if (op.reportsEscape) {
            EXPECT_FALSE(result) << op.name << " ignored escape";
            // A cancelled operation leaves the picture as it was.
            img.SetEscape(0);
            EXPECT_TRUE(SamePixels(img, picture)) << op.name;
        }
    }
}

} // namespace
