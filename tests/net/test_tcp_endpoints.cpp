#include "net/tcp_endpoints.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QtTest>

namespace {

qint64 residentKb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

} // namespace

class TestTcpEndpoints : public QObject {
    Q_OBJECT
private slots:
    void serverAndClientTalk();
    void boundedReadsComeBackForTheRest();
    void linkTransportSendsOnlyWhenConnected();
    void floodKeepsLoopAndMemoryBounded();
};

void TestTcpEndpoints::serverAndClientTalk() {
    TcpServerEndpoint server;
    QVERIFY(server.listen(0));
    TcpClientEndpoint client;
    QSignalSpy accepted(&server, &TcpServerEndpoint::clientConnected);
    QSignalSpy connectedSpy(&client, &TcpClientEndpoint::connected);
    client.open(QStringLiteral("127.0.0.1"), server.port());
    QTRY_COMPARE_WITH_TIMEOUT(accepted.count(), 1, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(connectedSpy.count(), 1, 5000);

    QByteArray atServer;
    connect(&server, &TcpServerEndpoint::readable, this, [&](QTcpSocket* c) { atServer += c->readAll(); });
    QVERIFY(client.send("ping"));
    QTRY_COMPARE_WITH_TIMEOUT(atServer, QByteArray("ping"), 5000);

    QByteArray atClient;
    connect(&client, &TcpClientEndpoint::readable, this, [&](QTcpSocket* c) { atClient += c->readAll(); });
    QVERIFY(server.send("pong"));
    QTRY_COMPARE_WITH_TIMEOUT(atClient, QByteArray("pong"), 5000);

    QSignalSpy gone(&server, &TcpServerEndpoint::clientDisconnected);
    client.close();
    QTRY_COMPARE_WITH_TIMEOUT(gone.count(), 1, 5000);
    QCOMPARE(server.firstConnection(), nullptr);
    QVERIFY(!server.send("x"));
}

void TestTcpEndpoints::boundedReadsComeBackForTheRest() {
    TcpServerEndpoint server;
    QVERIFY(server.listen(0));
    TcpClientEndpoint client;
    client.open(QStringLiteral("127.0.0.1"), server.port());
    QTRY_VERIFY_WITH_TIMEOUT(client.isConnected() && server.firstConnection(), 5000);

    QList<int> reads;
    QByteArray all;
    std::function<void(QTcpSocket*)> handler = [&](QTcpSocket* c) {
        const QByteArray part = readBounded(c, 1501, [&, c] { handler(c); });
        if (!part.isEmpty()) {
            reads << int(part.size());
            all += part;
        }
    };
    connect(&server, &TcpServerEndpoint::readable, this, handler);
    QByteArray payload(4000, '\0');
    for (int i = 0; i < payload.size(); ++i)
        payload[i] = char(i * 7);
    QVERIFY(client.send(payload));
    QTRY_COMPARE_WITH_TIMEOUT(all.size(), payload.size(), 5000);
    QCOMPARE(all, payload);
    for (int n : reads)
        QVERIFY(n <= 1501);
}

void TestTcpEndpoints::linkTransportSendsOnlyWhenConnected() {
    TcpServerEndpoint server;
    TcpClientEndpoint client;
    TcpLinkTransport transport(server, client);
    transport.aTcpSendStr("AA 01 01 02 00 AE cc"); // nothing open: nothing happens
    transport.aTcpServiceSendStr("AA 01 01 02 00 AE cc");

    QVERIFY(server.listen(0));
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, transport.aTcpServiceSendStr("AA 01 01 02 00 AE cc"));
    client.open(QStringLiteral("127.0.0.1"), server.port());
    QTRY_VERIFY_WITH_TIMEOUT(client.isConnected() && server.firstConnection(), 5000);
    QByteArray atServer, atClient;
    connect(&server, &TcpServerEndpoint::readable, this, [&](QTcpSocket* c) { atServer += c->readAll(); });
    connect(&client, &TcpClientEndpoint::readable, this, [&](QTcpSocket* c) { atClient += c->readAll(); });
    transport.aTcpSendStr("AA 01 01 02 00 AE cc");
    transport.aTcpServiceSendStr("BB.01 01 02 00 BF dd");
    QTRY_COMPARE_WITH_TIMEOUT(atServer, QByteArray::fromHex("AA01010200AECC"), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(atClient, QByteArray::fromHex("BB01010200BFDD"), 5000);
}

void TestTcpEndpoints::floodKeepsLoopAndMemoryBounded() {
    TcpServerEndpoint server;
    QVERIFY(server.listen(0));
    qint64 received = 0;
    std::function<void(QTcpSocket*)> handler = [&](QTcpSocket* c) {
        received += readBounded(c, 1501, [&, c] { handler(c); }).size();
    };
    connect(&server, &TcpServerEndpoint::readable, this, handler);

    // A timer on the window's thread: its ticks show the loop keeps answering during the flood.
    int ticks = 0;
    QTimer heartbeat;
    connect(&heartbeat, &QTimer::timeout, this, [&] { ++ticks; });
    heartbeat.start(20);

    const qint64 rssBefore = residentKb();
    const QByteArray garbage(16 * 1024, '\xA5');
    QList<QTcpSocket*> floods;
    QElapsedTimer clock;
    clock.start();
    int rounds = 0;
    while (clock.elapsed() < 1500 && rounds < 400) {
        if (floods.size() < 8) {
            auto* s = new QTcpSocket(this);
            s->connectToHost(QStringLiteral("127.0.0.1"), server.port());
            floods << s;
        }
        for (QTcpSocket* s : floods)
            if (s->state() == QAbstractSocket::ConnectedState && s->bytesToWrite() < 256 * 1024)
                s->write(garbage);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        ++rounds;
    }
    const qint64 elapsed = clock.elapsed();
    const qint64 rssAfter = residentKb();
    qDeleteAll(floods);
    qInfo("flood: %lld bytes read in %lld ms by %d connections, %d heartbeat ticks, RSS %lld -> %lld kB",
          received, elapsed, int(server.connectionCount()), ticks, rssBefore, rssAfter);
    QVERIFY(received > 0);
    QVERIFY(ticks >= 5);                        // the loop kept turning
    QVERIFY(rssAfter - rssBefore < 200 * 1024); // generous: far less than what was sent
}

QTEST_GUILESS_MAIN(TestTcpEndpoints)
#include "test_tcp_endpoints.moc"
