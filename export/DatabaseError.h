#pragma once

#include <QString>
#include <stdexcept>

// A failure of the suite's database: a connection that cannot be opened, a
// statement that fails, a row locked by another user. The message is meant
// for the user as it stands.
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString &message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {
    }

    const QString &message() const { return m_message; }

private:
    QString m_message;
};
