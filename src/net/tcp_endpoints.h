#pragma once

// The two TCP roles: a server that GPRS instruments connect to, and a client that connects to a
// remote server. Both are event driven on the window's thread. Reading is left to whoever reads
// them (the link's TCP transports), but every connection's buffer is bounded so a peer that
// floods cannot grow memory: Qt stops taking bytes from the kernel when it is full.

#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>

class TcpServerEndpoint : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 ConnectionBufferBytes = 64 * 1024;

    explicit TcpServerEndpoint(QObject* parent = nullptr);

    bool listen(quint16 port);
    void close(); // stops listening and drops every connection
    bool isListening() const { return m_server.isListening(); }
    quint16 port() const { return m_server.serverPort(); }

    // Connections in the order they were accepted; the first one is the one sends go to.
    QTcpSocket* firstConnection() const;
    int connectionCount() const { return int(m_connections.size()); }
    // Sends to the first connection; false when there is none or the write fails.
    bool send(const QByteArray& bytes);

signals:
    void clientConnected();
    void clientDisconnected();
    // Data is waiting on this connection. Handlers read at most what their buffer takes; what is
    // left raises the signal again from the event loop.
    void readable(QTcpSocket* connection);

private:
    void accept();
    void onReadyRead(QTcpSocket* connection);

    QTcpServer m_server;
    QList<QPointer<QTcpSocket>> m_connections;
};

class TcpClientEndpoint : public QObject {
    Q_OBJECT
public:
    explicit TcpClientEndpoint(QObject* parent = nullptr);

    void open(const QString& host, quint16 port);
    void close();
    bool isOpen() const; // connected or connecting
    bool isConnected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }
    bool send(const QByteArray& bytes);
    QTcpSocket& socket() { return m_socket; }

signals:
    void connected();
    void disconnected();
    void readable(QTcpSocket* connection);

private:
    QTcpSocket m_socket;
};

// Reads what a handler's buffer takes and, when more is waiting, calls again on a later timer turn
// instead of dropping it or reading without bound.
QByteArray readBounded(QTcpSocket* connection, qint64 maxBytes, const std::function<void()>& again);

// The PC's own address for operators to type into an instrument: the first IPv4 address that is
// not loopback, else "0.0.0.0".
QString localIPv4Address();
