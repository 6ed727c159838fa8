// Messages from worker threads: targets that go before delivery, data owned by
// the message, and a UI thread that joins a worker blocked in a send.
#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <QCoreApplication>
#include <QMetaObject>

#include <gtest/gtest.h>

#include "MessageTarget.h"

namespace {

using namespace std::chrono_literals;

// Counts its calls in a place that outlives it.
class Counter : public CMessageTarget {
public:
    explicit Counter(std::atomic<int>& calls) : m_calls(calls) {}
    LRESULT WindowProc(UINT, WPARAM wParam, LPARAM lParam) override {
        ++m_calls;
        if (lParam && wParam == 1) lastText = *reinterpret_cast<const std::string*>(lParam);
        return static_cast<LRESULT>(wParam) * 2;
    }
    std::string lastText;

private:
    std::atomic<int>& m_calls;
};

// Message data that counts its destruction.
struct Tracked {
    explicit Tracked(std::atomic<int>& freed) : freed(&freed) {}
    Tracked(Tracked&& other) noexcept : freed(std::exchange(other.freed, nullptr)) {}
    ~Tracked() {
        if (freed) ++*freed;
    }
    std::atomic<int>* freed;
};

void PumpUntil(const std::atomic<bool>& flag) {
    const auto until = std::chrono::steady_clock::now() + 5s;
    while (!flag && std::chrono::steady_clock::now() < until)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// Waits (without serving events) until another thread has queued a send after
// `before` of them; false when none comes within a generous bound.
bool WaitForQueuedSend(uint64_t before) {
    const auto until = std::chrono::steady_clock::now() + 10s;
    while (QueuedSendCount() == before && std::chrono::steady_clock::now() < until)
        std::this_thread::yield();
    return QueuedSendCount() != before;
}

} // namespace

TEST(CrossThreadMessages, ATargetDestroyedBeforeTheWorkerSendsDropsTheMessage) {
    std::atomic<int> calls{0};
    auto* target = new Counter(calls);
    const CMessageHandle handle = target->Handle();
    delete target;
    std::optional<LRESULT> sent = 99;
    bool posted = true;
    LRESULT plain = 99;
    std::thread worker([&] {
        sent = TrySendMessage(handle, WM_USER + 2, 5);
        posted = PostMessage(handle, WM_USER + 2, 5);
        plain = SendMessage(handle, WM_USER + 2, 5);
    });
    worker.join();
    EXPECT_FALSE(sent.has_value());
    EXPECT_FALSE(posted);
    EXPECT_EQ(plain, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 0);
}

TEST(CrossThreadMessages, ATargetDestroyedWhileASendWaitsReleasesTheSender) {
    std::atomic<int> calls{0};
    auto* target = new Counter(calls);
    const CMessageHandle handle = target->Handle();
    std::atomic<bool> done{false};
    std::optional<LRESULT> sent = 99;
    const uint64_t before = QueuedSendCount();
    std::thread worker([&] {
        sent = TrySendMessage(handle, WM_USER + 3, 21);
        done = true;
    });
    EXPECT_TRUE(WaitForQueuedSend(before));
    EXPECT_FALSE(done);
    delete target; // drops the queued send and answers the worker
    PumpUntil(done);
    worker.join();
    EXPECT_FALSE(sent.has_value());
    EXPECT_EQ(calls, 0);
}

TEST(CrossThreadMessages, MessageDataIsOwnedByTheMessage) {
    std::atomic<int> calls{0}, freed{0};
    Counter target(calls);
    std::thread worker([&, handle = target.Handle()] {
        EXPECT_TRUE(PostMessageWithData(handle, WM_USER + 4, 1, std::string("path/to/picture.bmp")));
        EXPECT_TRUE(PostMessageWithData(handle, WM_USER + 4, 0, Tracked(freed)));
    });
    worker.join(); // the sender and its locals are gone before delivery
    EXPECT_EQ(freed, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(target.lastText, "path/to/picture.bmp");
    EXPECT_EQ(freed, 1);

    // Dropped with its target: freed without a call.
    auto* doomed = new Counter(calls);
    EXPECT_TRUE(PostMessageWithData(doomed->Handle(), WM_USER + 4, 0, Tracked(freed)));
    delete doomed;
    EXPECT_EQ(freed, 2);
    EXPECT_FALSE(PostMessageWithData(CMessageHandle(), WM_USER, 0, Tracked(freed)));
    EXPECT_EQ(freed, 3);
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 2);
}

TEST(CrossThreadMessages, JoiningAWorkerBlockedInASendServesTheSend) {
    std::atomic<int> calls{0};
    Counter view(calls);
    // A posted message waits for the event loop; the join serves only sends.
    ASSERT_TRUE(PostMessage(&view, WM_USER + 5, 100));
    std::vector<LRESULT> results;
    const uint64_t before = QueuedSendCount();
    std::thread worker([&, handle = view.Handle()] {
        for (WPARAM percent = 1; percent <= 10; ++percent)
            results.push_back(SendMessage(handle, 1026, percent));
    });
    // The join begins with the worker already blocked in its first send.
    EXPECT_TRUE(WaitForQueuedSend(before));
    JoinServingSends(worker);
    EXPECT_FALSE(worker.joinable());
    ASSERT_EQ(results.size(), 10u);
    EXPECT_EQ(results.front(), 2);
    EXPECT_EQ(results.back(), 20);
    EXPECT_EQ(calls, 10);
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 11);
}

TEST(CrossThreadMessages, JoinFromInsideAHandlerStillServesSends) {
    // Closing a document runs inside the event loop, in the handler of a command.
    std::atomic<int> calls{0};
    Counter view(calls);
    std::atomic<bool> closed{false};
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [&] {
            std::thread worker([handle = view.Handle()] {
                for (int i = 0; i < 5; ++i)
                    SendMessage(handle, 1026, 1);
            });
            JoinServingSends(worker);
            closed = true;
        },
        Qt::QueuedConnection);
    PumpUntil(closed);
    EXPECT_TRUE(closed);
    EXPECT_EQ(calls, 5);
}
