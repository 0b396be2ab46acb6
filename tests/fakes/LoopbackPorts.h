#pragma once

#include <QList>

// Ports on 127.0.0.1 for the failures of connecting.

// A port nothing listens on: a connection is refused at once.
int closedLoopbackPort();

// A listener whose queue is full: a connection attempt is neither taken
// nor refused, it waits until the client gives up.
class FullListener {
public:
    FullListener();
    ~FullListener();
    FullListener(const FullListener &) = delete;
    FullListener &operator=(const FullListener &) = delete;

    int port() const { return m_port; }

private:
    int m_listener = -1;
    QList<int> m_clients;
    int m_port = 0;
};
