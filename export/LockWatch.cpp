#include "export/LockWatch.h"

#include <ibase.h>

namespace {
qint64 nowInMilliseconds()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
} // namespace

LockWatch::LockWatch(const QVariant &attachment, std::chrono::milliseconds limit)
    : m_attachment(attachment)
    , m_limit(limit)
    , m_thread([this] { watch(); })
{
}

LockWatch::~LockWatch()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_stop.notify_all();
    m_thread.join();
}

quint64 LockWatch::arm()
{
    const quint64 statement = ++m_next;
    m_startedAt.store(nowInMilliseconds(), std::memory_order_relaxed);
    m_running.store(statement, std::memory_order_release);
    return statement;
}

bool LockWatch::disarm(quint64 statement)
{
    m_running.store(0, std::memory_order_release);
    return m_cancelled.load(std::memory_order_acquire) == statement;
}

void LockWatch::cancel() const
{
    if (m_attachment.metaType() != QMetaType::fromType<isc_db_handle>())
        return;
    isc_db_handle handle = *static_cast<const isc_db_handle *>(m_attachment.constData());
    ISC_STATUS_ARRAY status;
    fb_cancel_operation(status, &handle, fb_cancel_raise);
}

void LockWatch::watch()
{
    // An overrun is noticed within a quarter of the limit.
    const auto interval = std::max(m_limit / 4, std::chrono::milliseconds(10));
    std::unique_lock lock(m_mutex);
    while (!m_stop.wait_for(lock, interval, [this] { return m_stopping; })) {
        const quint64 statement = m_running.load(std::memory_order_acquire);
        if (statement == 0 || m_cancelled.load(std::memory_order_relaxed) == statement)
            continue;
        const qint64 started = m_startedAt.load(std::memory_order_relaxed);
        if (nowInMilliseconds() - started < m_limit.count() || m_running.load(std::memory_order_acquire) != statement)
            continue;
        // Marked first, so that the statement's own disarm sees it. One that
        // ended meanwhile leaves the client "nothing to cancel", harmless.
        m_cancelled.store(statement, std::memory_order_release);
        cancel();
    }
}
