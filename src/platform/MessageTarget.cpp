#include "MessageTarget.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

#include "PlatformLog.h"

Q_LOGGING_CATEGORY(lcPlatform, "vistorel.platform", QtInfoMsg)

CMessageTarget::CMessageTarget() : m_port(std::make_unique<QObject>()) {}

CMessageTarget::~CMessageTarget() = default;

LRESULT SendMessage(CMessageTarget* target, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!target) return 0;
    QObject* port = target->MessagePort();
    if (port->thread() == QThread::currentThread()) return target->WindowProc(message, wParam, lParam);
    // Another thread: the UI thread runs the handler while this one waits.
    LRESULT result = 0;
    const bool delivered = QMetaObject::invokeMethod(
        port, [=] { return target->WindowProc(message, wParam, lParam); }, Qt::BlockingQueuedConnection,
        &result);
    if (!delivered) qCWarning(lcPlatform) << "message" << message << "could not be delivered";
    return result;
}

bool PostMessage(CMessageTarget* target, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!target) return false;
    // The port is destroyed with the target, which drops what is still queued.
    return QMetaObject::invokeMethod(
        target->MessagePort(), [=] { target->WindowProc(message, wParam, lParam); }, Qt::QueuedConnection);
}
