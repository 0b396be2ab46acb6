#pragma once

#include <QVariant>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// Cancels a statement of one attachment that runs longer than a limit: the
// database client waits without end for a row another user has locked, and
// Qt's driver offers no lock time-out. The watch runs on a thread of its
// own, which looks a few times per limit whether the statement under way has
// overrun it, and then only asks the client to cancel. Arming and disarming
// cost no more than an atomic store each: a history import runs some 60,000
// statements.
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
        const quint64 statement = arm();
        work();
        return disarm(statement);
    }

private:
    quint64 arm();
    bool disarm(quint64 statement);
    void watch();
    void cancel() const;

    QVariant m_attachment;
    std::chrono::milliseconds m_limit;
    // The statement under way, numbered; 0 for none.
    std::atomic<quint64> m_running{0};
    std::atomic<qint64> m_startedAt{0};
    std::atomic<quint64> m_cancelled{0};
    quint64 m_next = 0;
    std::mutex m_mutex;
    std::condition_variable m_stop;
    bool m_stopping = false;
    std::thread m_thread;
};
