#pragma once

#include <QVariant>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// Cancels a statement of one attachment that runs longer than a limit: the
// database client waits without end for a row another user has locked, and
// Qt's driver offers no lock time-out. The watch runs on a thread of its
// own, which only ever asks the client to cancel.
class LockWatch {
public:
    // attachment: the driver's handle of the connection (QSqlDriver::handle()).
    LockWatch(const QVariant &attachment, std::chrono::milliseconds limit);
    ~LockWatch();
    LockWatch(const LockWatch &) = delete;
    LockWatch &operator=(const LockWatch &) = delete;

    // Runs work (one statement); true when the limit passed and the
    // statement was asked to stop.
    template<typename Work>
    bool guard(Work &&work)
    {
        arm();
        work();
        return disarm();
    }

private:
    void arm();
    bool disarm();
    void watch();
    void cancel() const;

    QVariant m_attachment;
    std::chrono::milliseconds m_limit;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_armed = false;
    bool m_cancelled = false;
    bool m_stopping = false;
    std::chrono::steady_clock::time_point m_deadline;
    std::thread m_thread;
};
