#include "net/tcp_transport.h"

TcpServerTransport::TcpServerTransport(TcpServerEndpoint& server, ReadLimit readLimit, QObject* parent)
    : QObject(parent), m_server(server), m_readLimit(std::move(readLimit)) {
    connect(&m_server, &TcpServerEndpoint::readable, this, &TcpServerTransport::read);
}

SendResult TcpServerTransport::send(const QByteArray& bytes) {
    if (!m_server.isListening())
        return SendResult::Failed;
    if (!m_server.firstConnection())
        return SendResult::NoPeer;
    return m_server.send(bytes) ? SendResult::Sent : SendResult::Failed;
}

void TcpServerTransport::read(QTcpSocket* connection) {
    const QByteArray bytes = readBounded(connection, m_readLimit(), [this, connection] { read(connection); });
    if (!bytes.isEmpty())
        deliver(bytes);
}

TcpClientTransport::TcpClientTransport(TcpClientEndpoint& client, ReadLimit readLimit, QObject* parent)
    : QObject(parent), m_client(client), m_readLimit(std::move(readLimit)) {
    connect(&m_client, &TcpClientEndpoint::readable, this, &TcpClientTransport::read);
}

SendResult TcpClientTransport::send(const QByteArray& bytes) {
    if (!m_client.isConnected())
        return SendResult::Failed;
    return m_client.send(bytes) ? SendResult::Sent : SendResult::Failed;
}

void TcpClientTransport::read(QTcpSocket* connection) {
    const QByteArray bytes = readBounded(connection, m_readLimit(), [this, connection] { read(connection); });
    if (!bytes.isEmpty())
        deliver(bytes);
}
