#pragma once

#include <QString>
#include <stdexcept>

// A failed call of a rate service; the message is meant for the user as it is.
class ServiceError : public std::runtime_error {
public:
    explicit ServiceError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }

    const QString &Message() const { return m_message; }

private:
    QString m_message;
};
