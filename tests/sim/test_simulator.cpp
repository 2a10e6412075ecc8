// The simulated instrument on its lines: a pty opened the way the program opens a serial
// device, and loopback TCP in both directions.

#include "slave_line.h"

#include "codec/command_frame.h"
#include "device/device_status.h"
#include "sim/simulator.h"

#include <QFileInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray ConnectRequest = aHexToBytes("AA 01 01 02 00 AE CC");

// Long enough to tell "no answer" from a slow one on a busy machine, and longer than the
// pause between the pieces of a split answer.
constexpr int IdleMs = 700;
constexpr int PieceGapMs = 150;

// The same frame except for the address byte and, with it, the sum.
bool sameBesidesAddress(QByteArray a, QByteArray b) {
    if (a.size() != b.size() || a.size() < 4)
        return false;
    a[1] = b[1] = 0;
    a[a.size() - 2] = b[b.size() - 2] = 0;
    return a == b;
}

} // namespace

class TestSimulator : public QObject {
    Q_OBJECT
private slots:
    void connectOverPty();
    void faultsOnTheWire_data();
    void faultsOnTheWire();
    void pacingTakesTheWireTime();
    void noiseThenRequestIsAnswered();
    void requestLog();
    void modbusLiveValues();
    void settingsKeptOverThePty();
    void refusalOverThePty();
    void tcpServer();
    void tcpClient();
};

void TestSimulator::connectOverPty() {
    QTemporaryDir dir;
    const QString link = dir.filePath("ttyKORVEL");
    {
        Simulator sim(SimProfile::byName("logger"));
        QVERIFY(sim.startPty(link));
        QVERIFY(sim.ptyName().startsWith("pts/"));
        QCOMPARE(QFileInfo(link).symLinkTarget(), sim.ptyPath());

        SlaveLine line(link);
        QVERIFY(line.isOpen());
        QVERIFY(line.write(ConnectRequest));
        const QByteArray answer = line.readBytes(155, 10000);

        QVERIFY(isValidResponseFrame(answer));
        const LogStateResult r = aLogStateAnalyze(answer, DeviceStatus{});
        QCOMPARE(r.status.address, 1);
        QCOMPARE(r.status.model.left(5), QByteArray("L99-2"));
        QCOMPARE(r.status.firmwareText, QString("140"));
        QCOMPARE(r.status.recordCount, 3000u);
        QCOMPARE(r.status.startTime, (TimeFields{24, 3, 5, 8, 0, 0}));
        QCOMPARE(r.status.channelCount, 2);
        QCOMPARE(r.status.channels[0].kind, 1);
        QCOMPARE(r.status.channels[0].rangeLow, -400);
        QCOMPARE(r.status.channels[0].alarmHigh, 305);
        QCOMPARE(r.status.channels[0].alarmSwitch, 1);
        QCOMPARE(r.status.channels[1].unit, 2);
        QCOMPARE(r.status.channels[1].decimalsCode, 2);
        QCOMPARE(answer, sim.state().connectResponse());
    }
    QVERIFY(!QFileInfo(link).isSymLink()); // the simulator cleans up after itself
}

void TestSimulator::faultsOnTheWire_data() {
    QTest::addColumn<QString>("fault");
    // What the program sees for each connect request it sends, in order.
    QTest::addColumn<QStringList>("seen");

    QTest::newRow("split in two") << "split2" << QStringList{"split2", "ok"};
    QTest::newRow("split in three") << "split3" << QStringList{"split3"};
    QTest::newRow("wrong sum") << "wrong-sum" << QStringList{"bad sum", "ok"};
    QTest::newRow("extra byte") << "extra-byte" << QStringList{"extra byte"};
    QTest::newRow("silence for two") << "silence:2" << QStringList{"none", "none", "ok"};
    QTest::newRow("foreign address") << "foreign-address:9" << QStringList{"from 9"};
    QTest::newRow("at request two") << "wrong-sum@2" << QStringList{"ok", "bad sum", "ok"};
    QTest::newRow("hang up") << "hang-up" << QStringList{"hung up"};
}

void TestSimulator::faultsOnTheWire() {
    QFETCH(QString, fault);
    QFETCH(QStringList, seen);

    Simulator sim(SimProfile::byName("logger"));
    sim.setPacing(false);
    const std::optional<SimFault> f = SimFault::fromText(fault);
    QVERIFY(f);
    sim.injectFault(*f);
    QVERIFY(sim.startPty());
    SlaveLine line(sim.ptyPath());
    QVERIFY(line.isOpen());
    const QByteArray expected = sim.state().connectResponse();

    QStringList observed;
    for (qsizetype i = 0; i < seen.size(); ++i) {
        QVERIFY(line.write(ConnectRequest));
        const QList<QByteArray> pieces = piecesOf(line.readUntilIdle(IdleMs), PieceGapMs);
        const QByteArray all = pieces.join();
        if (line.hungUp() && all.isEmpty())
            observed << "hung up";
        else if (all.isEmpty())
            observed << "none";
        else if (pieces.size() > 1)
            observed << (all == expected ? QString("split%1").arg(pieces.size()) : QString("garbled split"));
        else if (all == expected)
            observed << "ok";
        else if (all == expected + '\0')
            observed << "extra byte";
        else if (all.size() == expected.size() && !isValidResponseFrame(all))
            observed << "bad sum";
        else if (isValidResponseFrame(all) && sameBesidesAddress(all, expected))
            observed << QString("from %1").arg(quint8(all[1]));
        else
            observed << "unexpected " + aBytesToHex(all);
    }
    QCOMPARE(observed, seen);
    if (seen.last() == "hung up")
        QVERIFY(!sim.lineOpen());
}

void TestSimulator::pacingTakesTheWireTime() {
    Simulator sim(SimProfile::byName("logger"));
    QVERIFY(sim.startPty());
    SlaveLine line(sim.ptyPath(), B9600);
    const qsizetype size = sim.state().connectResponse().size();

    const qint64 sent = simMonotonicMs();
    QVERIFY(line.write(ConnectRequest));
    qint64 lastByteAt = 0;
    const QByteArray answer = line.readBytes(size, 10000, &lastByteAt);
    QCOMPARE(answer.size(), size);

    // 10 bits per byte at 9600 baud; the answer cannot be complete before its wire time.
    const qint64 wireMs = size * 10 * 1000 / 9600;
    QVERIFY2(lastByteAt - sent >= wireMs,
             qPrintable(
                 QString("%1 bytes in %2 ms, wire time %3 ms").arg(size).arg(lastByteAt - sent).arg(wireMs)));
}

void TestSimulator::noiseThenRequestIsAnswered() {
    Simulator sim(SimProfile::byName("logger"));
    sim.setPacing(false);
    QVERIFY(sim.startPty());
    SlaveLine line(sim.ptyPath());

    // Noise with start bytes and length fields that promise long frames, sent in pieces.
    QByteArray noise = aHexToBytes("AA 01 FF 03 AA 00 40 00 CC DD BB 13 37 AA 01 01");
    for (int i = 0; i < 200; ++i)
        noise.append(char((i * 73 + 11) & 0xFF));
    QVERIFY(line.write(noise));
    QVERIFY(line.readUntilIdle(200).isEmpty());
    QVERIFY(line.write(ConnectRequest.left(3)));
    QVERIFY(line.write(ConnectRequest.mid(3)));

    const QByteArray answer = piecesOf(line.readUntilIdle(IdleMs), PieceGapMs).join();
    QCOMPARE(answer, sim.state().connectResponse());
    QCOMPARE(sim.requests().last().bytes, ConnectRequest);
}

void TestSimulator::requestLog() {
    Simulator sim(SimProfile::byName("logger"));
    QVERIFY(sim.startPty());
    SlaveLine line(sim.ptyPath());
    QCOMPARE(sim.requestCount(), 0);
    QVERIFY(!sim.waitForRequest(1, 50));

    const QList<QByteArray> sent = {
        aHexToBytes("AA 01 01 02 00 AF CC"), // bad sum: logged, not answered
        aHexToBytes("AA 01 7E 02 00 2B CC"), // unknown code
        aHexToBytes("AA 05 01 02 00 B2 CC"), // another instrument
    };
    const qint64 before = simMonotonicMs();
    for (const QByteArray& r : sent)
        QVERIFY(line.write(r));
    QVERIFY(sim.waitForRequest(3, 5000));
    const qint64 after = simMonotonicMs();

    const QList<SimRequest> log = sim.requests();
    QCOMPARE(log.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(log[i].number, i + 1);
        QCOMPARE(log[i].bytes, sent[i]);
        QVERIFY(log[i].timeMs >= before && log[i].timeMs <= after);
    }
    QVERIFY(!log[0].checksumOk);
    QVERIFY(log[1].checksumOk);
    QCOMPARE(log[2].address(), quint8(5));
    QCOMPARE(sim.request(2).code(), quint8(0x7E));
    QVERIFY(line.readUntilIdle(IdleMs).isEmpty()); // none of them is answered
    QCOMPARE(sim.answersSent(), 0);
}

void TestSimulator::modbusLiveValues() {
    Simulator sim(SimProfile::byName("transmitter"));
    sim.setPacing(false);
    QVERIFY(sim.startPty());
    SlaveLine line(sim.ptyPath());

    const HexText request = "01 03 00 01 00 01";
    QVERIFY(line.write(aHexToBytes(request + " " + aCrc16(request))));
    const QByteArray a = piecesOf(line.readUntilIdle(IdleMs), PieceGapMs).join();

    QVERIFY(a.size() >= 5);
    QCOMPARE(quint8(a[0]), quint8(1));
    QCOMPARE(quint8(a[1]), quint8(0x03));
    QCOMPARE(int(quint8(a[2])), int(a.size()) - 5); // byte count covers the data only
    QCOMPARE(aBytesToHex(a.right(2)).trimmed(), aCrc16(aBytesToHex(a.first(a.size() - 2))));
    QCOMPARE(a.mid(9, 10), sim.state().serialNumber.toLatin1().leftJustified(10, '\0'));
    QCOMPARE(int(quint8(a[19])), 2); // channels
    QCOMPARE(int(quint8(a[20])), 1); // kind of channel 0
    QCOMPARE(aBufS16(a, 23, HighFirst), sim.state().liveValues[0]);
    QCOMPARE(sim.request(1).kind, SimRequest::Kind::Modbus);

    // Another transmitter's address: silence.
    const HexText other = "02 03 00 01 00 01";
    QVERIFY(line.write(aHexToBytes(other + " " + aCrc16(other))));
    QVERIFY(line.readUntilIdle(IdleMs).isEmpty());
    QCOMPARE(sim.requestCount(), 2);
}

void TestSimulator::settingsKeptOverThePty() {
    Simulator sim(SimProfile::byName("logger"));
    sim.setPacing(false);
    QVERIFY(sim.startPty());
    SlaveLine line(sim.ptyPath());
    QVERIFY(line.isOpen());

    const QByteArray zeros30 = QByteArray(30, '\0');
    const QByteArray settings = aHexToBytes("C0 A8 01 0A 41 1F 3C 00 00 00 00 05 64 00 00") + zeros30;
    const QList<std::pair<QByteArray, QByteArray>> exchanges = {
        {aHexToBytes("AA 01 1E 2F 00") + settings + aHexToBytes("70 CC"),
         aHexToBytes("BB 01 1E 02 00 DC DD")},
        {aHexToBytes("AA 01 1F 02 00 CC CC"),
         aHexToBytes("BB 01 1F 2F 00") + settings + aHexToBytes("82 DD")},
        // The instrument moves and answers from where it now is.
        {aHexToBytes("AA 01 04 03 00 09 BB CC"), aHexToBytes("BB 09 04 02 00 CA DD")},
        {aHexToBytes("AA 01 1F 02 00 CC CC"), QByteArray()},
    };
    for (const auto& [request, answer] : exchanges) {
        QVERIFY(line.write(request));
        if (answer.isEmpty())
            QVERIFY(line.readUntilIdle(IdleMs).isEmpty());
        else
            QCOMPARE(line.readBytes(answer.size(), 10000).toHex(' '), answer.toHex(' '));
    }
    const QByteArray connect = aHexToBytes("AA 09 01 02 00 B6 CC");
    QVERIFY(line.write(connect));
    const QByteArray status = sim.state().connectResponse();
    QCOMPARE(quint8(status[1]), quint8(9));
    QCOMPARE(line.readBytes(status.size(), 10000), status);

    const QList<SimRequest> log = sim.requests();
    QCOMPARE(log.size(), exchanges.size() + 1);
    for (qsizetype i = 0; i < exchanges.size(); ++i)
        QCOMPARE(log[i].bytes, exchanges[i].first);
    QCOMPARE(log.last().bytes, connect);
}

void TestSimulator::refusalOverThePty() {
    Simulator sim(SimProfile::byName("gprs"));
    sim.setPacing(false);
    sim.injectFault(*SimFault::fromText("fail-result"));
    QVERIFY(sim.startPty());
    SlaveLine line(sim.ptyPath());
    const qint64 offset = sim.state().clockOffsetMs;

    // The connect has no result byte to fail; the clock set after it has.
    QVERIFY(line.write(ConnectRequest));
    const QByteArray status = sim.state().connectResponse();
    QCOMPARE(line.readBytes(status.size(), 10000), status);
    const QByteArray setClock = aHexToBytes("AA 01 1A 08 00 24 03 05 07 08 09 11 CC");
    QVERIFY(line.write(setClock));
    QCOMPARE(line.readBytes(8, 10000).toHex(' '), QByteArray("bb 01 1a 03 00 00 d9 dd"));
    QCOMPARE(sim.state().clockOffsetMs, offset);
    QVERIFY(line.write(setClock));
    QCOMPARE(line.readBytes(8, 10000).toHex(' '), QByteArray("bb 01 1a 03 00 01 da dd"));
    QVERIFY(sim.state().clockOffsetMs != offset);
}

void TestSimulator::tcpServer() {
    Simulator sim(SimProfile::byName("logger"));
    QVERIFY(sim.startTcpServer(0));
    QVERIFY(sim.tcpPort() != 0);

    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, sim.tcpPort());
    QVERIFY(socket.waitForConnected(5000));
    QTRY_VERIFY_WITH_TIMEOUT(sim.lineOpen(), 5000);
    const QByteArray expected = sim.state().connectResponse();
    sim.injectFault(SimFault::next(SimFault::Kind::Split2));
    socket.write(ConnectRequest);
    QByteArray answer;
    while (answer.size() < expected.size() && socket.waitForReadyRead(5000))
        answer += socket.readAll();
    QCOMPARE(answer, expected);

    sim.hangUp();
    QVERIFY(socket.state() == QAbstractSocket::UnconnectedState || socket.waitForDisconnected(5000));
    QVERIFY(!sim.lineOpen());
}

void TestSimulator::tcpClient() {
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    Simulator sim(SimProfile::byName("gprs"));
    QVERIFY(sim.startTcpClient("127.0.0.1", server.serverPort()));
    QVERIFY(server.waitForNewConnection(5000));
    QTcpSocket* peer = server.nextPendingConnection();
    QVERIFY(peer);

    const QByteArray expected = sim.state().connectResponse();
    peer->write(ConnectRequest);
    QByteArray answer;
    while (answer.size() < expected.size() && peer->waitForReadyRead(5000))
        answer += peer->readAll();
    QCOMPARE(answer, expected);
    QVERIFY(aLogStateAnalyze(answer, DeviceStatus{}).status.isGprsModel());
}

QTEST_GUILESS_MAIN(TestSimulator)
#include "test_simulator.moc"
