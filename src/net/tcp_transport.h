#pragma once

// The link's two TCP media over the endpoints: each reads every burst of its sockets, bounded
// per read, and hands it to the link; each sends a command's bytes to its peer.

#include "link/transport.h"
#include "net/tcp_endpoints.h"

#include <functional>

// How many bytes one read takes; asked at each read, as the window's read mode can change.
using ReadLimit = std::function<qint64()>;

class TcpServerTransport : public QObject, public Transport {
    Q_OBJECT
public:
    TcpServerTransport(TcpServerEndpoint& server, ReadLimit readLimit, QObject* parent = nullptr);
    // Failed while not listening; NoPeer while listening with no instrument connected.
    SendResult send(const QByteArray& bytes) override;

private:
    void read(QTcpSocket* connection);

    TcpServerEndpoint& m_server;
    ReadLimit m_readLimit;
};

class TcpClientTransport : public QObject, public Transport {
    Q_OBJECT
public:
    TcpClientTransport(TcpClientEndpoint& client, ReadLimit readLimit, QObject* parent = nullptr);
    // Failed while not connected.
    SendResult send(const QByteArray& bytes) override;

private:
    void read(QTcpSocket* connection);

    TcpClientEndpoint& m_client;
    ReadLimit m_readLimit;
};
