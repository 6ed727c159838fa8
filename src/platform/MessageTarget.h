// A window object that receives numbered messages. SendMessage handles the
// message at once (from another thread it waits until the UI thread has
// handled it); PostMessage queues it behind earlier posts.
#pragma once

#include <memory>

#include "PlatformTypes.h"

class QObject;

class CMessageTarget {
public:
    CMessageTarget();
    virtual ~CMessageTarget();
    CMessageTarget(const CMessageTarget&) = delete;
    CMessageTarget& operator=(const CMessageTarget&) = delete;

    // The one handler for numbered messages; returns the message's result.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    // Delivery point in the thread that created the target.
    QObject* MessagePort() const { return m_port.get(); }

private:
    std::unique_ptr<QObject> m_port;
};

LRESULT SendMessage(CMessageTarget* target, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// False when there is no target to post to.
bool PostMessage(CMessageTarget* target, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
