#include "../support/fake_link_peers.h"
#include "link/command_link.h"

#include <QtTest>

namespace {

const QString Timeout = QStringLiteral("连接超时，请重新连接");
const QString ConnectBytes = QStringLiteral("write AA 01 01 02 00 AE CC");

// One link with fakes on every side; connects count the connect branch runs.
struct Rig {
    FakeHost host;
    FakeSerial serial;
    FakeTcp tcpServer, tcpClient;
    CommandLink link{host, serial, &tcpServer, &tcpClient};
    int connects = 0;
    int startTimeUnset = 0;
    quint32 now = 1000;

    explicit Rig(QStringList ports = {QStringLiteral("ttyUSB0")}) {
        link.openPauseMs = 0;
        link.processEvents = nullptr;
        link.tick = [this] { return now; };
        link.portLister = [ports] { return ports; };
        link.dispatcher().analyzeAndDisplay = [this](QByteArrayView) {
            ++connects;
            return startTimeUnset;
        };
    }
    // A burst as the serial transport hands it over.
    void receive(const QByteArray& bytes) { serial.receive(bytes); }
    // A handler that only counts its frames and asks for the given step.
    void handle(quint8 code, int* count, int step = FollowNone) {
        link.dispatcher().registerHandler<QByteArray>(
            code, [](QByteArrayView f) { return f.toByteArray(); },
            [count, step](const QByteArray&) {
                if (count)
                    ++*count;
                return followUp(step);
            });
    }
    // A connect that has been answered: later commands go to the port that answered.
    void connectOnce() {
        link.Button2Click();
        receive(responseFrame(0x01, QByteArray(10, '\0')));
        serial.log.clear();
        serial.writtenTo.clear();
    }
};

} // namespace

class TestCommandLink : public QObject {
    Q_OBJECT
private slots:
    void splitAnswers_data();
    void splitAnswers();
    void badSumIsResent();
    void twoPortScanOrder();
    void fixedPortGivesUpAfterThreeSends();
    void downloadAllowsFourResends();
    void monitorSilencesTimer();
    void portClosedAfterAnswerAndReopened();
    void unlistedCodeOnlyStopsTimer();
    void followUpStepClicksRegisteredControl();
    void tcpSendsThroughSockets();
    void noPortOrNoSelection();
    void shrunkPortListRestartsFromLast();
    void oversizedBurstDropped();
    void transmitterFrames();
    void connectMeasuresRoundTrip();
    void openFailureReported();
};

void TestCommandLink::splitAnswers_data() {
    QTest::addColumn<QList<QByteArray>>("pieces");
    QTest::addColumn<int>("handled");
    const QByteArray f = responseFrame(0x01, QByteArray(20, '\x05'));
    QTest::newRow("whole") << QList<QByteArray>{f} << 1;
    QTest::newRow("two pieces") << QList<QByteArray>{f.left(9), f.mid(9)} << 1;
    QTest::newRow("three pieces") << QList<QByteArray>{f.left(5), f.mid(5, 6), f.mid(11)} << 0;
    QTest::newRow("extra byte after end") << QList<QByteArray>{f + char(0x00)} << 1;
    QTest::newRow("second piece alone") << QList<QByteArray>{f.mid(9)} << 0;
}

void TestCommandLink::splitAnswers() {
    QFETCH(QList<QByteArray>, pieces);
    QFETCH(int, handled);
    Rig r;
    r.link.Button2Click();
    QCOMPARE(r.serial.log, (QStringList{"open /dev/ttyUSB0", ConnectBytes}));
    for (const QByteArray& p : pieces)
        r.receive(p);
    QCOMPARE(r.connects, handled);
    QCOMPARE(r.link.state().connected, handled);
    QCOMPARE(r.link.Timer1().isActive(), handled == 0);
    if (!handled) {
        r.link.Timer1Timer(); // not connected: the scan resends on the same port
        QCOMPARE(r.serial.writes(), 2);
    }
    // The receive buffer is cleared after each frame.
    QVERIFY(r.link.receiveBuffer().first(64) == QByteArray(64, '\0'));
}

void TestCommandLink::badSumIsResent() {
    Rig r;
    r.connectOnce();
    r.link.sendCommand(buildCommandFrame(1, Cmd::ReadBatteryPiece));
    QByteArray bad = responseFrame(0x1d, QByteArray(1, '\x01'));
    bad[bad.size() - 2] = char(bad[bad.size() - 2] + 1);
    r.receive(bad);
    QVERIFY(r.link.Timer1().isActive());
    r.link.Timer1Timer();
    QCOMPARE(r.serial.writes(), 2);
    QCOMPARE(r.serial.log.last(), QStringLiteral("write AA 01 1D 02 00 CA CC"));
    QCOMPARE(r.link.state().retryCount, 1);
}

void TestCommandLink::twoPortScanOrder() {
    Rig r({QStringLiteral("ttyUSB1"), QStringLiteral("ttyUSB0")});
    r.link.Button2Click();
    QCOMPARE(r.host.ports, (QStringList{"ttyUSB0", "ttyUSB1"}));
    for (int i = 0; i < 3; ++i)
        r.link.Timer1Timer();
    QCOMPARE(r.serial.writtenTo,
             (QStringList{"/dev/ttyUSB1", "/dev/ttyUSB1", "/dev/ttyUSB0", "/dev/ttyUSB0"}));
    QCOMPARE(r.host.selected, 0);
    QVERIFY(r.host.status != Timeout);
    r.link.Timer1Timer();
    QCOMPARE(r.serial.writes(), 4);
    QCOMPARE(r.host.status, Timeout);
    QCOMPARE(r.host.caption, QStringLiteral("连接设备"));
    QCOMPARE(r.link.state().autoReadChain, 0);
    QVERIFY(!r.serial.open);
}

void TestCommandLink::fixedPortGivesUpAfterThreeSends() {
    Rig r({QStringLiteral("ttyUSB0"), QStringLiteral("ttyUSB1")});
    r.host.fixed = true;
    r.host.ports = {QStringLiteral("ttyUSB0"), QStringLiteral("ttyUSB1")};
    r.host.selected = 0;
    r.link.Button2Click();
    r.serial.baud = 115200;
    r.link.Timer1Timer();
    r.link.Timer1Timer();
    QVERIFY(r.host.status != Timeout);
    r.link.Timer1Timer();
    QCOMPARE(r.serial.writtenTo, (QStringList{"/dev/ttyUSB0", "/dev/ttyUSB0", "/dev/ttyUSB0"}));
    QCOMPARE(r.host.status, Timeout);
    QCOMPARE(r.serial.baud, 9600u);
    QCOMPARE(r.serial.readInterval, 128u);
    QVERIFY(!r.serial.open);
    QCOMPARE(r.link.state().portOpen, 0);
}

void TestCommandLink::downloadAllowsFourResends() {
    Rig r;
    r.connectOnce();
    r.link.state().downloadActive = 1;
    r.link.sendCommand(buildCommandFrame(1, Cmd::DownloadPacketPiece, " 00 00"));
    for (int i = 0; i < 4; ++i)
        r.link.Timer1Timer();
    QCOMPARE(r.serial.writes(), 5);
    QVERIFY(r.host.status != Timeout);
    r.link.Timer1Timer();
    QCOMPARE(r.serial.writes(), 5);
    QCOMPARE(r.host.status, Timeout);
    QCOMPARE(r.link.state().downloadActive, 0);
}

void TestCommandLink::monitorSilencesTimer() {
    Rig r;
    r.connectOnce();
    r.link.sendCommand(buildCommandFrame(1, Cmd::MonitorOpenPiece));
    r.link.state().monitorActive = 1;
    r.host.status = QStringLiteral("monitor");
    for (int i = 0; i < 5; ++i)
        r.link.Timer1Timer();
    QCOMPARE(r.serial.writes(), 1);
    QCOMPARE(r.host.status, QStringLiteral("monitor"));
    // Text from the instrument's monitor output goes to Memo2 up to the first zero byte.
    r.receive(QByteArray("T=23.5\0junk", 11));
    QVERIFY(r.host.monitorShown);
    QCOMPARE(r.host.monitor, QStringLiteral("T=23.5"));
}

void TestCommandLink::portClosedAfterAnswerAndReopened() {
    Rig r;
    r.link.Button2Click();
    r.receive(responseFrame(0x01));
    QVERIFY(!r.serial.open);
    QCOMPARE(r.link.state().portOpen, 0);
    r.link.sendCommand(buildCommandFrame(1, Cmd::ReadBatteryPiece));
    QVERIFY(r.serial.open);
    QCOMPARE(r.serial.log.mid(2), (QStringList{"close", "open /dev/ttyUSB0", "write AA 01 1D 02 00 CA CC"}));
}

void TestCommandLink::unlistedCodeOnlyStopsTimer() {
    Rig r;
    r.connectOnce();
    int otherHandler = 0;
    r.handle(0x1d, &otherHandler);
    r.link.sendCommand(buildCommandFrame(1, Cmd::MonitorOpenPiece));
    const QString statusBefore = r.host.status;
    r.receive(responseFrame(0x91, QByteArray(1, '\x01')));
    QVERIFY(!r.link.Timer1().isActive());
    QCOMPARE(otherHandler, 0);
    QCOMPARE(r.host.status, statusBefore);
    QVERIFY(!r.serial.open);
}

void TestCommandLink::followUpStepClicksRegisteredControl() {
    Rig r;
    r.connectOnce();
    QStringList clicks;
    r.link.registerFollowUp(FollowRestartRecording, [&] {
        clicks << "Button13";
        r.link.sendCommand(buildCommandFrame(1, Cmd::RestartRecordingPiece, "24 03 05 07 08 09"));
    });
    r.handle(0x06, nullptr, FollowRestartRecording);
    r.handle(0x03, nullptr);
    r.link.sendCommand(buildCommandFrame(1, Cmd::SetRecordingParamsPiece, QByteArray(84 * 3, '0')));
    r.receive(responseFrame(0x06, QByteArray(1, '\x01')));
    QCOMPARE(clicks, QStringList{"Button13"});
    QVERIFY(r.serial.open); // the follow-up's command is on its way on the open port
    QCOMPARE(r.link.state().followUpAction, 0);
    QVERIFY(r.link.Timer1().isActive());
    r.receive(responseFrame(0x03, QByteArray(1, '\x01')));
    QVERIFY(!r.serial.open);

    // Keep-open step: the port stays open and nothing is clicked.
    r.handle(0x1d, nullptr, FollowKeepOpen);
    r.link.sendCommand(buildCommandFrame(1, Cmd::ReadBatteryPiece));
    r.receive(responseFrame(0x1d, QByteArray(1, '\x01')));
    QVERIFY(r.serial.open);
}

void TestCommandLink::tcpSendsThroughSockets() {
    Rig r;
    r.host.tcp = true;
    r.link.Button2Click();
    QCOMPARE(r.host.ports, QStringList{QStringLiteral("IP 通讯")});
    QCOMPARE(r.host.selected, 0);
    QCOMPARE(r.tcpClient.sent, QList<QByteArray>{"AA 01 01 02 00 AE CC"});
    QVERIFY(r.serial.log.isEmpty());
    r.host.server = true;
    r.link.Timer1Timer();
    r.link.Timer1Timer();
    QCOMPARE(r.tcpServer.sent.size(), 2);
    r.link.Timer1Timer();
    QCOMPARE(r.host.status, Timeout);
    // A server with nobody connected: nothing goes out and no response timer runs.
    r.tcpServer.noPeer = true;
    r.link.sendCommand(buildCommandFrame(1, Cmd::ReadBatteryPiece));
    QVERIFY(!r.link.Timer1().isActive());
    r.tcpServer.noPeer = false;
    // An answer over TCP goes in as it is: no byte after 0xDD is trimmed on this path.
    r.link.Button2Click();
    r.link.receiveFromTcp(responseFrame(0x01) + char(0x00));
    QCOMPARE(r.connects, 0);
    r.link.receiveFromTcp(responseFrame(0x01));
    QCOMPARE(r.connects, 1);

    // Bursts from the sockets: the server's are frames only in hex reads in server mode, the
    // client's only in hex reads; everything reaches the receive tap first.
    QList<LinkSource> tapped;
    QObject context;
    r.link.addReceiveTap(&context, [&](LinkSource source, QByteArrayView) { tapped << source; });
    r.tcpServer.receive(responseFrame(0x01));
    QCOMPARE(r.connects, 2);
    r.host.server = false;
    r.tcpServer.receive(responseFrame(0x01));
    QCOMPARE(r.connects, 2);
    r.tcpClient.receive(responseFrame(0x01));
    QCOMPARE(r.connects, 3);
    r.host.clientHex = false;
    r.tcpClient.receive(responseFrame(0x01));
    QCOMPARE(r.connects, 3);
    QCOMPARE(tapped, (QList<LinkSource>{LinkSource::TcpServer, LinkSource::TcpServer, LinkSource::TcpClient,
                                        LinkSource::TcpClient}));
}

void TestCommandLink::noPortOrNoSelection() {
    Rig r{QStringList()};
    r.link.Button2Click();
    QCOMPARE(r.host.status, QStringLiteral("未找到串口，请检查串口设备是否妥当"));
    QVERIFY(r.serial.log.isEmpty());
    QVERIFY(!r.link.Timer1().isActive());
    QCOMPARE(r.host.caption, QStringLiteral("连接设备"));

    Rig fixed;
    fixed.host.fixed = true;
    fixed.host.ports = {QStringLiteral("ttyUSB0")};
    fixed.host.selected = -1;
    fixed.link.Button2Click();
    QCOMPARE(fixed.host.status, QStringLiteral("未找到串口，请检查串口设备是否妥当"));
    QVERIFY(fixed.serial.log.isEmpty());
}

void TestCommandLink::shrunkPortListRestartsFromLast() {
    QStringList ports{QStringLiteral("ttyUSB0"), QStringLiteral("ttyUSB1"), QStringLiteral("ttyUSB2")};
    Rig r;
    r.link.portLister = [&] { return ports; };
    r.link.Button2Click(); // starts at ttyUSB2, which answers
    r.receive(responseFrame(0x01));
    QCOMPARE(r.link.state().scanIndex, 2);
    ports = {QStringLiteral("ttyUSB0"), QStringLiteral("ttyUSB1")};
    r.serial.writtenTo.clear();
    r.link.Button2Click();
    QCOMPARE(r.serial.writtenTo, QStringList{"/dev/ttyUSB1"});
}

void TestCommandLink::oversizedBurstDropped() {
    Rig r;
    r.link.Button2Click();
    QByteArray huge = responseFrame(0x01, QByteArray(CommandLink::ReceiveBufferSize, '\x01'));
    r.receive(huge);
    QCOMPARE(r.connects, 0);
    // A legal frame split in two blocks of the reader's size still fits once joined.
    const QByteArray big = responseFrame(0x01, QByteArray(3000, '\x02'));
    r.receive(big.left(2048));
    r.receive(big.mid(2048));
    QCOMPARE(r.connects, 1);
}

void TestCommandLink::transmitterFrames() {
    Rig r;
    r.connectOnce();
    QList<QByteArray> seen;
    r.link.dispatcher().registerTransmitterHandler<QByteArray>(
        [](QByteArrayView f) { return f.toByteArray(); },
        [&](const QByteArray& f) {
            seen << f;
            return HandlerStep{};
        });
    const QByteArray answer = QByteArray::fromHex("010302000A");
    const quint16 crc = crc16(answer);
    const QByteArray frame = answer + char(crc & 0xFF) + char(crc >> 8);
    r.link.sendCommand(QByteArray("01 03 00 01 00 01 D5 CA"));
    r.link.state().transmitterOp = 6;
    r.receive(frame);
    QCOMPARE(seen, QList<QByteArray>{frame});
    QVERIFY(r.link.Timer1().isActive()); // the download loop stops it itself
    r.link.state().transmitterOp = 1;
    r.receive(frame);
    QVERIFY(!r.link.Timer1().isActive());
    // Wrong CRC or another address: not a transmitter answer.
    QByteArray wrong = frame;
    wrong[0] = 2;
    r.receive(wrong);
    QCOMPARE(seen.size(), 2);
}

void TestCommandLink::connectMeasuresRoundTrip() {
    Rig r;
    r.startTimeUnset = 1;
    int clockClicks = 0;
    r.link.registerFollowUp(FollowSetClock, [&] { ++clockClicks; });
    r.now = 5000;
    r.link.Button2Click();
    r.now = 5123;
    r.receive(responseFrame(0x01));
    QCOMPARE(r.link.state().roundTripMs, 123);
    QCOMPARE(r.link.state().connected, 1);
    QCOMPARE(r.link.state().everConnected, 1);
    QCOMPARE(r.host.caption, QStringLiteral("连接设备"));
    QCOMPARE(r.host.progress, 5);
    QCOMPARE(clockClicks, 1); // start time unset: the clock is set next
    QCOMPARE(r.link.state().autoReadChain, 1);
}

void TestCommandLink::openFailureReported() {
    Rig r;
    r.serial.failOpen = true;
    r.link.Button2Click();
    QCOMPARE(r.host.portProblem, QStringLiteral("cannot open"));
    QCOMPARE(r.link.state().portOpen, 1); // writes go nowhere until the time-out closes it
    r.link.Timer1Timer();
    r.link.Timer1Timer();
    QCOMPARE(r.host.status, Timeout);
}

QTEST_GUILESS_MAIN(TestCommandLink)
#include "test_command_link.moc"
