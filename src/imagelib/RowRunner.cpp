#include "RowRunner.h"

#include "Image.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <vector>

namespace vimg {

namespace {

// Rows below this count per thread are not worth handing out.
constexpr int32_t kMinRowsPerThread = 16;

// A loop being run: every thread takes the next row from `next` until none is
// left or the loop was stopped.
struct Loop {
    const RowProgress* progress = nullptr;
    const std::function<void(int32_t)>* row = nullptr;
    int32_t y0 = 0;
    int32_t y1 = 0;
    bool checkEscape = true;
    std::atomic<int32_t> next{0};
    std::atomic<bool> stopped{false};
    std::atomic<bool> escaped{false};

    std::mutex failureLock;
    std::string failure; // first failure text, empty when none

    // Pool threads inside Work; the caller waits for them to leave.
    std::mutex helperLock;
    std::condition_variable helpersDone;
    int helpers = 0;

    void Work(bool reportProgress) {
        Image* image = progress->image;
        for (;;) {
            if (stopped.load(std::memory_order_relaxed)) return;
            const int32_t y = next.fetch_add(1, std::memory_order_relaxed);
            if (y >= y1) return;
            if (image && checkEscape && image->GetEscape() != 0) {
                escaped = true;
                stopped = true;
                return;
            }
            if (image && reportProgress) {
                const int64_t span = progress->hi - progress->lo;
                image->SetProgress(
                    static_cast<int32_t>(progress->lo + span * y / std::max(progress->height, 1)));
            }
            try {
                (*row)(y);
            } catch (const std::bad_alloc&) {
                Fail("out of memory");
            } catch (const std::exception& e) {
                Fail(e.what());
            } catch (...) {
                Fail("unexpected failure");
            }
        }
    }

    void Fail(const char* text) {
        std::lock_guard<std::mutex> guard(failureLock);
        if (failure.empty()) failure = text && *text ? text : "unexpected failure";
        stopped = true;
    }
};

thread_local bool t_isPoolThread = false;

// Worker threads shared by every loop. A loop posts one ticket per helper it
// would like; the caller works too, takes back the tickets no thread picked up
// and waits for the helpers that did.
class Pool {
public:
    static Pool& Shared() {
        static Pool pool;
        return pool;
    }

    ~Pool() { Stop(); }

    void SetThreadCount(unsigned threads) {
        std::lock_guard<std::mutex> resize(m_resizeLock);
        Stop();
        m_threads = threads;
    }

    unsigned ThreadCount() {
        std::lock_guard<std::mutex> resize(m_resizeLock);
        return Threads();
    }

    void Run(Loop& loop, int helpers) {
        {
            std::lock_guard<std::mutex> resize(m_resizeLock);
            StartWorkers();
            std::lock_guard<std::mutex> guard(m_lock);
            helpers = std::min<int>(helpers, static_cast<int>(m_workers.size()));
            for (int i = 0; i < helpers; ++i) m_tickets.push_back(&loop);
        }
        m_wake.notify_all();
        loop.Work(true);
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_tickets.erase(std::remove(m_tickets.begin(), m_tickets.end(), &loop), m_tickets.end());
        }
        std::unique_lock<std::mutex> wait(loop.helperLock);
        loop.helpersDone.wait(wait, [&] { return loop.helpers == 0; });
    }

    unsigned Threads() const {
        if (m_threads) return m_threads;
        return std::max(1u, std::thread::hardware_concurrency());
    }

private:
    // Called with m_resizeLock held.
    void StartWorkers() {
        const unsigned wanted = Threads() - 1;
        if (m_workers.size() == wanted) return;
        for (unsigned i = static_cast<unsigned>(m_workers.size()); i < wanted; ++i) {
            try {
                m_workers.emplace_back([this] { Serve(); });
            } catch (const std::system_error&) {
                break; // fewer helpers; the caller does the rest
            }
        }
    }

    void Stop() {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_quit = true;
        }
        m_wake.notify_all();
        for (std::thread& t : m_workers) t.join();
        m_workers.clear();
        std::lock_guard<std::mutex> guard(m_lock);
        m_quit = false;
    }

    void Serve() {
        t_isPoolThread = true;
        for (;;) {
            Loop* loop = nullptr;
            {
                std::unique_lock<std::mutex> guard(m_lock);
                m_wake.wait(guard, [&] { return m_quit || !m_tickets.empty(); });
                if (m_quit) return;
                loop = m_tickets.front();
                m_tickets.pop_front();
                // Counted while the ticket lock is held, so the caller that takes
                // back the remaining tickets knows exactly whom to wait for.
                std::lock_guard<std::mutex> helper(loop->helperLock);
                ++loop->helpers;
            }
            loop->Work(false);
            std::lock_guard<std::mutex> helper(loop->helperLock);
            if (--loop->helpers == 0) loop->helpersDone.notify_all();
        }
    }

    std::mutex m_resizeLock;
    std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<Loop*> m_tickets;
    std::vector<std::thread> m_workers;
    unsigned m_threads = 0; // 0: one per core
    bool m_quit = false;
};

} // namespace

bool RowRunner::Run(const RowProgress& progress, int32_t y0, int32_t y1, bool parallel,
                    const std::function<void(int32_t)>& row, bool checkEscape) {
    if (y1 <= y0) return true;
    Loop loop;
    loop.progress = &progress;
    loop.row = &row;
    loop.y0 = y0;
    loop.y1 = y1;
    loop.checkEscape = checkEscape;
    loop.next = y0;

    // Loops started from a pool thread run there: a helper never waits for the pool.
    int helpers = 0;
    if (parallel && !t_isPoolThread) {
        const auto threads = static_cast<int64_t>(Pool::Shared().ThreadCount());
        helpers = static_cast<int>(std::min<int64_t>(threads, (int64_t{y1} - y0) / kMinRowsPerThread)) - 1;
    }
    if (helpers > 0) Pool::Shared().Run(loop, helpers);
    else loop.Work(true);

    if (!loop.failure.empty()) {
        if (progress.image) progress.image->SetLastError(loop.failure.c_str());
        return false;
    }
    return !loop.escaped;
}

void RowRunner::SetThreadCount(unsigned threads) { Pool::Shared().SetThreadCount(threads); }

unsigned RowRunner::ThreadCount() { return Pool::Shared().ThreadCount(); }

} // namespace vimg
