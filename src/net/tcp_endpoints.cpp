#include "net/tcp_endpoints.h"

#include <QNetworkInterface>
#include <QTimer>

TcpServerEndpoint::TcpServerEndpoint(QObject* parent) : QObject(parent) {
    connect(&m_server, &QTcpServer::newConnection, this, &TcpServerEndpoint::accept);
}

bool TcpServerEndpoint::listen(quint16 port) {
    if (m_server.isListening())
        return true;
    return m_server.listen(QHostAddress::Any, port);
}

void TcpServerEndpoint::close() {
    m_server.close();
    const auto connections = m_connections;
    m_connections.clear();
    for (const QPointer<QTcpSocket>& c : connections)
        if (c) {
            c->disconnect(this);
            c->abort();
            c->deleteLater();
        }
}

QTcpSocket* TcpServerEndpoint::firstConnection() const {
    for (const QPointer<QTcpSocket>& c : m_connections)
        if (c)
            return c;
    return nullptr;
}

bool TcpServerEndpoint::send(const QByteArray& bytes) {
    QTcpSocket* c = firstConnection();
    return c && c->write(bytes) == bytes.size();
}

void TcpServerEndpoint::accept() {
    while (QTcpSocket* c = m_server.nextPendingConnection()) {
        c->setParent(this);
        c->setReadBufferSize(ConnectionBufferBytes);
        m_connections << c;
        connect(c, &QTcpSocket::readyRead, this, [this, c] { onReadyRead(c); });
        connect(c, &QTcpSocket::disconnected, this, [this, c] {
            m_connections.removeAll(c);
            c->deleteLater();
            emit clientDisconnected();
        });
        // Errors are the peer's business; the disconnect that follows is what the window shows.
        emit clientConnected();
    }
}

void TcpServerEndpoint::onReadyRead(QTcpSocket* connection) {
    emit readable(connection);
}

TcpClientEndpoint::TcpClientEndpoint(QObject* parent) : QObject(parent) {
    m_socket.setReadBufferSize(TcpServerEndpoint::ConnectionBufferBytes);
    connect(&m_socket, &QTcpSocket::connected, this, &TcpClientEndpoint::connected);
    connect(&m_socket, &QTcpSocket::disconnected, this, &TcpClientEndpoint::disconnected);
    connect(&m_socket, &QTcpSocket::readyRead, this, [this] { emit readable(&m_socket); });
}

void TcpClientEndpoint::open(const QString& host, quint16 port) {
    m_socket.connectToHost(host, port);
}

void TcpClientEndpoint::close() {
    m_socket.abort();
    if (m_socket.state() != QAbstractSocket::UnconnectedState)
        m_socket.close();
}

bool TcpClientEndpoint::isOpen() const {
    return m_socket.state() == QAbstractSocket::ConnectedState ||
           m_socket.state() == QAbstractSocket::ConnectingState ||
           m_socket.state() == QAbstractSocket::HostLookupState;
}

bool TcpClientEndpoint::send(const QByteArray& bytes) {
    return isConnected() && m_socket.write(bytes) == bytes.size();
}

QByteArray readBounded(QTcpSocket* connection, qint64 maxBytes, const std::function<void()>& again) {
    if (!connection)
        return {};
    const QByteArray bytes = connection->read(maxBytes);
    // The rest is read on a later timer turn rather than straight away, so a peer that never stops
    // sending shares the thread with the window's own timers and input. The connection is the
    // timer's context: a connection that goes away takes the pending turn with it.
    if (connection->bytesAvailable() > 0 && again)
        QTimer::singleShot(1, connection, [connection, again] {
            if (connection->bytesAvailable() > 0)
                again();
        });
    return bytes;
}

QString localIPv4Address() {
    for (const QHostAddress& a : QNetworkInterface::allAddresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback())
            return a.toString();
    return QStringLiteral("0.0.0.0");
}
