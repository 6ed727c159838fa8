#include "ImageJob.h"

#include <chrono>
#include <new>

#include "Image.h"

namespace {

constexpr int kPollMilliseconds = 333;
constexpr int kLingerMilliseconds = 111;

} // namespace

CImageJob::CImageJob() {
    m_poll.setInterval(kPollMilliseconds);
    connect(&m_poll, &QTimer::timeout, this, [this] { Poll(); });
    m_linger.setSingleShot(true);
    m_linger.setInterval(kLingerMilliseconds);
    connect(&m_linger, &QTimer::timeout, this, [this] {
        m_running = false;
        emit Finished(QString::fromStdString(m_error), m_seconds);
    });
}

CImageJob::~CImageJob() { Cancel(); }

bool CImageJob::Start(const vimg::Image& source, std::function<std::string(vimg::Image&)> work,
                      AfterWork after) {
    if (m_running) return false;
    Join();
    try {
        m_result = std::make_unique<vimg::Image>();
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_error.clear();
    m_seconds = 0.0;
    m_done = false;
    m_cancel = false;
    m_running = true;
    vimg::Image* result = m_result.get();
    m_thread = std::thread([this, &source, result, work = std::move(work), after = std::move(after)] {
        const auto start = std::chrono::steady_clock::now();
        try {
            result->Copy(source);
        } catch (const std::bad_alloc&) {
        }
        // The copy brings the source's flags along.
        result->SetProgress(0);
        result->SetEscape(m_cancel ? 1 : 0);
        if (!result->IsValid() && source.IsValid())
            m_error = "Not enough memory for the changed picture.";
        else
            m_error = work(*result);
        m_seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!result->GetEscape() && after) after(*result);
        m_done = true;
    });
    m_poll.start();
    return true;
}

std::unique_ptr<vimg::Image> CImageJob::TakeResult() { return std::move(m_result); }

void CImageJob::Poll() {
    if (!m_running || m_linger.isActive()) return;
    if (!m_done) {
        if (!m_result->GetEscape()) emit Progress(m_result->GetProgress());
        return;
    }
    m_poll.stop();
    Join();
    emit Progress(100);
    m_linger.start();
}

void CImageJob::Join() {
    if (m_thread.joinable()) m_thread.join();
}

void CImageJob::Cancel() {
    m_poll.stop();
    m_linger.stop();
    m_cancel = true;
    if (m_result && m_thread.joinable()) m_result->SetEscape(1);
    Join();
    m_result.reset();
    m_running = false;
}
