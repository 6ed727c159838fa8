#include <atomic>
#include <thread>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include "MessageTarget.h"

namespace {

class Recorder : public CMessageTarget {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        received.push_back(message);
        threads.push_back(std::this_thread::get_id());
        return static_cast<LRESULT>(wParam) + lParam;
    }
    std::vector<UINT> received;
    std::vector<std::thread::id> threads;
};

} // namespace

TEST(Messages, SendRunsAtOnceWhilePostsWaitInOrder) {
    Recorder r;
    EXPECT_TRUE(PostMessage(&r, WM_USER + 1));
    EXPECT_TRUE(PostMessage(&r, WM_USER + 2));
    EXPECT_EQ(SendMessage(&r, WM_USER + 3, 40, 2), 42);
    ASSERT_EQ(r.received, std::vector<UINT>{WM_USER + 3});
    QCoreApplication::processEvents();
    EXPECT_EQ(r.received, (std::vector<UINT>{WM_USER + 3, WM_USER + 1, WM_USER + 2}));
}

TEST(Messages, SendFromWorkerBlocksUntilUiThreadHandledIt) {
    Recorder r;
    std::atomic<LRESULT> result{-1};
    std::atomic<bool> done{false};
    const uint64_t before = QueuedSendCount();
    std::thread worker([&] {
        result = SendMessage(&r, 1026, 7, 100);
        done = true;
    });
    // Queued, the send cannot finish before this thread runs its event loop.
    QElapsedTimer timer;
    timer.start();
    while (QueuedSendCount() == before && timer.elapsed() < 10000) std::this_thread::yield();
    EXPECT_NE(QueuedSendCount(), before);
    EXPECT_FALSE(done);
    timer.restart();
    while (!done && timer.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    worker.join();
    EXPECT_EQ(result, 107);
    ASSERT_EQ(r.threads.size(), 1u);
    EXPECT_EQ(r.threads[0], std::this_thread::get_id());
}

TEST(Messages, PostsToADestroyedTargetAreDropped) {
    auto* r = new Recorder;
    EXPECT_TRUE(PostMessage(r, WM_USER + 9));
    delete r;
    QCoreApplication::processEvents(); // must not reach the deleted object
    EXPECT_FALSE(PostMessage(nullptr, WM_USER));
    EXPECT_EQ(SendMessage(nullptr, WM_USER), 0);
}
