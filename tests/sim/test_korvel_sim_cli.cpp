// korvel-sim as a process: what it prints is where the instrument answers.

#include "slave_line.h"

#include "codec/checksums.h"
#include "codec/command_frame.h"
#include "codec/hex_text.h"
#include "history/gprs_log.h"
#include "sim/sim_profile.h"

#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

class TestKorvelSimCli : public QObject {
    Q_OBJECT
private slots:
    void answersConnect_data();
    void answersConnect();
    void uploadsAsTcpClient();
    void refusesBadArguments();
};

void TestKorvelSimCli::answersConnect_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("pty") << QStringList{"--transport", "pty", "--profile", "logger"};
    QTest::newRow("tcp-server") << QStringList{"--transport", "tcp-server", "--port",
                                               "0",           "--profile",  "logger"};
    // A refusal waits for an answer with a result byte: the connect goes through untouched.
    QTest::newRow("pty, refusal pending")
        << QStringList{"--transport", "pty", "--profile", "logger", "--fault", "fail-result"};
}

void TestKorvelSimCli::answersConnect() {
    QFETCH(QStringList, args);
    QProcess sim;
    sim.start(KORVEL_SIM_EXE, args);
    QVERIFY(sim.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(sim.canReadLine(), 10000);
    const QString where = QString::fromLocal8Bit(sim.readLine()).trimmed();

    const QByteArray request = aHexToBytes("AA 01 01 02 00 AE CC");
    const QByteArray expected = SimProfile::byName("logger").connectResponse();
    QByteArray answer;
    if (args[1] == "pty") {
        QVERIFY2(where.startsWith("/dev/"), qPrintable(where));
        SlaveLine line(where);
        QVERIFY(line.isOpen());
        QVERIFY(line.write(request));
        answer = line.readBytes(expected.size(), 10000);
    } else {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, quint16(where.toUInt()));
        QVERIFY(socket.waitForConnected(5000));
        socket.write(request);
        while (answer.size() < expected.size() && socket.waitForReadyRead(5000))
            answer += socket.readAll();
    }
    QCOMPARE(answer, expected);

    sim.terminate();
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);
}

void TestKorvelSimCli::uploadsAsTcpClient() {
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    QProcess sim;
    sim.start(KORVEL_SIM_EXE, {"--transport", "tcp-client", "--port", QString::number(server.serverPort()),
                               "--profile", "gprs", "--upload", "2", "--upload-interval", "100", "--quiet"});
    QVERIFY(sim.waitForStarted(5000));
    QVERIFY(server.waitForNewConnection(10000));
    QTcpSocket* socket = server.nextPendingConnection();

    // Two channels, ten records: 26 + 3 * 2 + 10 * (2 * 2 + 17) + 2 bytes each.
    constexpr int PacketBytes = 244;
    QByteArray bytes;
    while (bytes.size() < 2 * PacketBytes && socket->waitForReadyRead(10000))
        bytes += socket->readAll();
    QCOMPARE(bytes.size(), 2 * PacketBytes);
    const std::optional<GprsPacket> first = aDecodeGprsPacket(QByteArrayView(bytes).first(PacketBytes));
    const std::optional<GprsPacket> second = aDecodeGprsPacket(QByteArrayView(bytes).sliced(PacketBytes));
    QVERIFY(first && second);
    QCOMPARE(first->records.size(), 10);
    QCOMPARE(second->records.size(), 10);
    QCOMPARE(quint8(bytes[PacketBytes - 1]), sum8(QByteArrayView(bytes).first(PacketBytes - 1)));
    // The second packet goes on where the first stopped, one record interval later.
    const auto when = [](const GprsRecord& r) {
        return QDateTime(QDate(2000 + r.stamp[0], r.stamp[1], r.stamp[2]),
                         QTime(r.stamp[3], r.stamp[4], r.stamp[5]));
    };
    QCOMPARE(when(first->records.last()).secsTo(when(second->records.first())), 60);

    // After its uploads the logger still answers commands on the same connection.
    const QByteArray expected = SimProfile::byName("gprs").connectResponse();
    socket->write(aHexToBytes("AA 01 01 02 00 AE CC"));
    QByteArray answer;
    while (answer.size() < expected.size() && socket->waitForReadyRead(5000))
        answer += socket->readAll();
    QCOMPARE(answer, expected);

    // The logger hangs up once the server does.
    socket->close();
    QVERIFY(sim.waitForFinished(10000));
    QCOMPARE(sim.exitCode(), 0);
}

void TestKorvelSimCli::refusesBadArguments() {
    for (const QStringList& args :
         {QStringList{"--profile", "toaster"}, QStringList{"--fault", "garble"},
          QStringList{"--fault", "fail-result:2"}, QStringList{"--transport", "carrier-pigeon"},
          QStringList{"--upload", "3"}}) {
        QProcess sim;
        sim.start(KORVEL_SIM_EXE, args);
        QVERIFY(sim.waitForFinished(10000));
        QVERIFY2(sim.exitCode() != 0, qPrintable(args.join(' ')));
        QVERIFY(sim.readAllStandardOutput().isEmpty());
    }
}

QTEST_GUILESS_MAIN(TestKorvelSimCli)
#include "test_korvel_sim_cli.moc"
