#include "export/LockWatch.h"

#include <ibase.h>

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
    m_changed.notify_all();
    m_thread.join();
}

void LockWatch::arm()
{
    {
        const std::lock_guard lock(m_mutex);
        m_armed = true;
        m_cancelled = false;
        m_deadline = std::chrono::steady_clock::now() + m_limit;
    }
    m_changed.notify_all();
}

bool LockWatch::disarm()
{
    const std::lock_guard lock(m_mutex);
    m_armed = false;
    return m_cancelled;
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
    std::unique_lock lock(m_mutex);
    while (!m_stopping) {
        if (!m_armed) {
            m_changed.wait(lock);
            continue;
        }
        if (m_changed.wait_until(lock, m_deadline) != std::cv_status::timeout || !m_armed)
            continue;
        // Cancelling needs no lock of ours; a statement that ended meanwhile
        // leaves the client "nothing to cancel", which is harmless.
        m_cancelled = true;
        m_armed = false;
        lock.unlock();
        cancel();
        lock.lock();
    }
}
