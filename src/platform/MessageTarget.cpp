#include "MessageTarget.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QThread>

#include "PlatformLog.h"

Q_LOGGING_CATEGORY(lcPlatform, "vistorel.platform", QtInfoMsg)

// What a target shares with its handles. The target clears `target` and
// `port` under the mutex before it goes, so a thread holding the mutex that
// still sees them may post to the port.
struct MessageLink {
    std::mutex mutex;
    CMessageTarget* target = nullptr;
    QObject* port = nullptr;
    QThread* thread = nullptr;
};

namespace {

int SendEventType() {
    static const int type = QEvent::registerEventType();
    return type;
}

int PostEventType() {
    static const int type = QEvent::registerEventType();
    return type;
}

// Counts the sends other threads queued, so JoinServingSends wakes for each.
struct SendSignal {
    std::mutex mutex;
    std::condition_variable changed;
    uint64_t queued = 0;
};

SendSignal& Signal() {
    static SendSignal signal;
    return signal;
}

// The answer a sending thread waits for; nothing when the message was dropped.
class Reply {
public:
    void Answer(std::optional<LRESULT> result) {
        {
            std::lock_guard lock(m_mutex);
            if (m_done) return;
            m_result = result;
            m_done = true;
        }
        m_answered.notify_all();
    }
    std::optional<LRESULT> Wait() {
        std::unique_lock lock(m_mutex);
        m_answered.wait(lock, [this] { return m_done; });
        return m_result;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_answered;
    bool m_done = false;
    std::optional<LRESULT> m_result;
};

// One queued message. Qt deletes it when it was handled or when the port goes
// with it still queued; either way a waiting sender is answered.
class MessageEvent : public QEvent {
public:
    MessageEvent(int type, UINT message, WPARAM wParam, LPARAM lParam, std::shared_ptr<void> data,
                 std::shared_ptr<Reply> reply)
        : QEvent(static_cast<QEvent::Type>(type)), m_message(message), m_wParam(wParam), m_lParam(lParam),
          m_data(std::move(data)), m_reply(std::move(reply)) {}
    ~MessageEvent() override {
        if (m_reply) m_reply->Answer(std::nullopt);
    }
    void Deliver(CMessageTarget& target) {
        const LPARAM lParam = m_data ? reinterpret_cast<LPARAM>(m_data.get()) : m_lParam;
        const LRESULT result = target.WindowProc(m_message, m_wParam, lParam);
        if (m_reply) m_reply->Answer(result);
    }

private:
    UINT m_message;
    WPARAM m_wParam;
    LPARAM m_lParam;
    std::shared_ptr<void> m_data;
    std::shared_ptr<Reply> m_reply;
};

class MessagePort : public QObject {
public:
    explicit MessagePort(CMessageTarget& target) : m_target(target) {}
    // Qt's event queue hands a message over under locks that ThreadSanitizer
    // cannot see (Qt is not built with it). This counter shows it the
    // hand-over: the sender counts once the message is built, the receiver
    // reads the count before it looks at an event.
    void Posted() { m_posted.fetch_add(1, std::memory_order_release); }
    bool event(QEvent* e) override {
        (void)m_posted.load(std::memory_order_acquire);
        if (e->type() != SendEventType() && e->type() != PostEventType()) return QObject::event(e);
        static_cast<MessageEvent*>(e)->Deliver(m_target);
        return true;
    }

private:
    CMessageTarget& m_target;
    std::atomic<uint64_t> m_posted{0};
};

// Hands the message to the target's thread; false (and the message dropped) when the target is gone.
bool Queue(MessageLink& link, std::unique_ptr<MessageEvent> message) {
    std::lock_guard lock(link.mutex);
    if (!link.target) return false;
    static_cast<MessagePort*>(link.port)->Posted();
    QCoreApplication::postEvent(link.port, message.release());
    return true;
}

} // namespace

CMessageTarget::CMessageTarget()
    : m_port(std::make_unique<MessagePort>(*this)), m_link(std::make_shared<MessageLink>()) {
    m_link->target = this;
    m_link->port = m_port.get();
    m_link->thread = QThread::currentThread();
}

CMessageTarget::~CMessageTarget() {
    std::lock_guard lock(m_link->mutex);
    m_link->target = nullptr;
    m_link->port = nullptr;
    // m_port goes after this body: Qt deletes the messages still queued to it.
}

std::optional<LRESULT> TrySendMessage(const CMessageHandle& target, UINT message, WPARAM wParam,
                                      LPARAM lParam) {
    const std::shared_ptr<MessageLink> link = target.Link().lock();
    if (!link) return std::nullopt;
    if (link->thread == QThread::currentThread()) {
        // Only this thread destroys the target, so it cannot go during the call.
        CMessageTarget* receiver = nullptr;
        {
            std::lock_guard lock(link->mutex);
            receiver = link->target;
        }
        if (!receiver) return std::nullopt;
        return receiver->WindowProc(message, wParam, lParam);
    }
    // Another thread: the target's thread runs the handler while this one waits.
    auto reply = std::make_shared<Reply>();
    if (!Queue(*link,
               std::make_unique<MessageEvent>(SendEventType(), message, wParam, lParam, nullptr, reply)))
        return std::nullopt;
    SendSignal& signal = Signal();
    {
        std::lock_guard lock(signal.mutex);
        ++signal.queued;
    }
    signal.changed.notify_all();
    const std::optional<LRESULT> result = reply->Wait();
    if (!result) qCDebug(lcPlatform) << "message" << message << "dropped: its target is gone";
    return result;
}

LRESULT SendMessage(const CMessageHandle& target, UINT message, WPARAM wParam, LPARAM lParam) {
    return TrySendMessage(target, message, wParam, lParam).value_or(0);
}

LRESULT SendMessage(CMessageTarget* target, UINT message, WPARAM wParam, LPARAM lParam) {
    return target ? SendMessage(target->Handle(), message, wParam, lParam) : 0;
}

bool PostMessage(const CMessageHandle& target, UINT message, WPARAM wParam, LPARAM lParam) {
    const std::shared_ptr<MessageLink> link = target.Link().lock();
    return link && Queue(*link, std::make_unique<MessageEvent>(PostEventType(), message, wParam, lParam,
                                                               nullptr, nullptr));
}

bool PostMessage(CMessageTarget* target, UINT message, WPARAM wParam, LPARAM lParam) {
    return target && PostMessage(target->Handle(), message, wParam, lParam);
}

bool PostOwnedMessage(const CMessageHandle& target, UINT message, WPARAM wParam, std::shared_ptr<void> data) {
    const std::shared_ptr<MessageLink> link = target.Link().lock();
    return link && Queue(*link, std::make_unique<MessageEvent>(PostEventType(), message, wParam, 0,
                                                               std::move(data), nullptr));
}

uint64_t QueuedSendCount() {
    SendSignal& signal = Signal();
    std::lock_guard lock(signal.mutex);
    return signal.queued;
}

void JoinServingSends(std::thread& worker) {
    if (!worker.joinable()) return;
    SendSignal& signal = Signal();
    bool finished = false; // guarded by signal.mutex
    // std::thread cannot be asked whether it ended, so a helper joins it and says so.
    std::thread joiner([&] {
        worker.join();
        {
            std::lock_guard lock(signal.mutex);
            finished = true;
        }
        signal.changed.notify_all();
    });
    for (;;) {
        uint64_t seen = 0;
        {
            std::lock_guard lock(signal.mutex);
            if (finished) break;
            seen = signal.queued;
        }
        // Only the sends: posts and input wait for the event loop as usual.
        QCoreApplication::sendPostedEvents(nullptr, SendEventType());
        std::unique_lock lock(signal.mutex);
        signal.changed.wait(lock, [&] { return finished || signal.queued != seen; });
    }
    joiner.join();
}
