#pragma once

#include <QString>
#include <stdexcept>

// A failure to reach or read a rate source. The message is meant for the
// user as it stands.
class SourceError : public std::runtime_error {
public:
    explicit SourceError(const QString &message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {
    }

    const QString &message() const { return m_message; }

private:
    QString m_message;
};
