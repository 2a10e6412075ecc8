#include "net/tcp_endpoints.h"
#include "net/tcp_transport.h"

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
    TcpServerTransport toClient(server, [] { return qint64(1501); });
    TcpClientTransport toServer(client, [] { return qint64(1025); });
    const QByteArray connect = QByteArray::fromHex("AA01010200AECC");
    QCOMPARE(toServer.send(connect), SendResult::Failed); // nothing open: nothing happens
    QCOMPARE(toClient.send(connect), SendResult::Failed);

    QVERIFY(server.listen(0));
    // Listening with nobody connected: the link must arm no timer for it.
    QCOMPARE(toClient.send(connect), SendResult::NoPeer);
    client.open(QStringLiteral("127.0.0.1"), server.port());
    QTRY_VERIFY_WITH_TIMEOUT(client.isConnected() && server.firstConnection(), 5000);
    // What each side reads is handed on by its transport, bounded per read.
    QByteArray atServer, atClient;
    toClient.setReceiver([&](QByteArrayView b) { atServer += b.toByteArray(); });
    toServer.setReceiver([&](QByteArrayView b) { atClient += b.toByteArray(); });
    QCOMPARE(toServer.send(connect), SendResult::Sent);
    QCOMPARE(toClient.send(QByteArray::fromHex("BB01010200BFDD")), SendResult::Sent);
    QTRY_COMPARE_WITH_TIMEOUT(atServer, connect, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(atClient, QByteArray::fromHex("BB01010200BFDD"), 5000);
}

void TestTcpEndpoints::floodKeepsLoopAndMemoryBounded() {
    TcpServerEndpoint server;
    QVERIFY(server.listen(0));
    qint64 received = 0;
    // A heartbeat tick that falls between two bounded reads shows the loop kept serving other
    // events while the flood was being read. The flood goes on until that has been seen a few
    // times and plenty has been read, however quick or slow the machine is.
    bool tickedSinceRead = false;
    int interleavedTicks = 0;
    std::function<void(QTcpSocket*)> handler = [&](QTcpSocket* c) {
        const qint64 n = readBounded(c, 1501, [&, c] { handler(c); }).size();
        if (n > 0 && tickedSinceRead) {
            ++interleavedTicks;
            tickedSinceRead = false;
        }
        received += n;
    };
    connect(&server, &TcpServerEndpoint::readable, this, handler);

    int ticks = 0;
    QTimer heartbeat;
    connect(&heartbeat, &QTimer::timeout, this, [&] {
        ++ticks;
        tickedSinceRead = true;
    });
    heartbeat.start(20);

    constexpr int WantedInterleavedTicks = 5;
    constexpr qint64 WantedBytes = 16 * 1024 * 1024;
    const qint64 rssBefore = residentKb();
    const QByteArray garbage(16 * 1024, '\xA5');
    QList<QTcpSocket*> floods;
    QElapsedTimer clock;
    clock.start();
    // The limit only keeps a broken loop from running for ever; it is far beyond any machine's need.
    while ((interleavedTicks < WantedInterleavedTicks || received < WantedBytes) &&
           clock.elapsed() < 120000) {
        if (floods.size() < 8) {
            auto* s = new QTcpSocket(this);
            s->connectToHost(QStringLiteral("127.0.0.1"), server.port());
            floods << s;
        }
        for (QTcpSocket* s : floods)
            if (s->state() == QAbstractSocket::ConnectedState && s->bytesToWrite() < 256 * 1024)
                s->write(garbage);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    const qint64 elapsed = clock.elapsed();
    const qint64 rssAfter = residentKb();
    qDeleteAll(floods);
    qInfo("flood: %lld bytes read in %lld ms by %d connections, %d heartbeat ticks (%d between reads), RSS "
          "%lld -> %lld kB",
          received, elapsed, int(server.connectionCount()), ticks, interleavedTicks, rssBefore, rssAfter);
    QVERIFY(received >= WantedBytes);
    QVERIFY(interleavedTicks >= WantedInterleavedTicks); // the loop kept turning between reads
    QVERIFY(rssAfter - rssBefore < 200 * 1024);          // generous: far less than what was sent
}

QTEST_GUILESS_MAIN(TestTcpEndpoints)
#include "test_tcp_endpoints.moc"
