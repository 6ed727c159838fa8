// A window object that receives numbered messages. SendMessage handles the
// message at once (from another thread it waits until the target's thread has
// handled it); PostMessage queues it behind earlier posts.
//
// Other threads reach a target only through a CMessageHandle taken on the
// target's thread: a message to a target that is gone by then, or that goes
// before the message is handled, is dropped, never delivered to freed memory.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <thread>

#include "PlatformTypes.h"

class QObject;
struct MessageLink;

// A weak reference to a message target; any thread may copy and use it.
class CMessageHandle {
public:
    CMessageHandle() = default;
    const std::weak_ptr<MessageLink>& Link() const { return m_link; }

private:
    friend class CMessageTarget;
    explicit CMessageHandle(std::weak_ptr<MessageLink> link) : m_link(std::move(link)) {}
    std::weak_ptr<MessageLink> m_link;
};

class CMessageTarget {
public:
    CMessageTarget();
    virtual ~CMessageTarget();
    CMessageTarget(const CMessageTarget&) = delete;
    CMessageTarget& operator=(const CMessageTarget&) = delete;

    // The one handler for numbered messages; returns the message's result.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    CMessageHandle Handle() const { return CMessageHandle(m_link); }

private:
    std::unique_ptr<QObject> m_port; // delivery point in the thread that created the target
    std::shared_ptr<MessageLink> m_link;
};

// The handler's result, or 0 when the message was dropped (no target, or the
// target went before its thread handled the message).
LRESULT SendMessage(CMessageTarget* target, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
LRESULT SendMessage(const CMessageHandle& target, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// As SendMessage, with nothing for a dropped message.
std::optional<LRESULT> TrySendMessage(const CMessageHandle& target, UINT message, WPARAM wParam = 0,
                                      LPARAM lParam = 0);

// False when there is no target to post to; a post whose target goes before
// the message is handled is dropped.
bool PostMessage(CMessageTarget* target, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
bool PostMessage(const CMessageHandle& target, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// Posts a message that owns its data: the handler gets lParam pointing to it,
// valid during the call. The data is freed once the message was handled or
// dropped, on whichever thread that happens.
bool PostOwnedMessage(const CMessageHandle& target, UINT message, WPARAM wParam, std::shared_ptr<void> data);
template <typename T>
bool PostMessageWithData(const CMessageHandle& target, UINT message, WPARAM wParam, T data) {
    return PostOwnedMessage(target, message, wParam, std::make_shared<T>(std::move(data)));
}

// How many sends other threads have queued so far; a rise means a sender waits
// in this process for its answer (tests wait on it instead of on the time).
uint64_t QueuedSendCount();

// Joins `worker` while handling the messages other threads send to targets of
// this thread, so a worker blocked in SendMessage to this thread can finish.
void JoinServingSends(std::thread& worker);
