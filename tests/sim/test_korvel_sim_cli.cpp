// korvel-sim as a process: what it prints is where the instrument answers.

#include "slave_line.h"

#include "link/command_frame.h"
#include "link/hex_text.h"
#include "sim/sim_profile.h"

#include <QProcess>
#include <QTcpSocket>
#include <QtTest>

class TestKorvelSimCli : public QObject {
    Q_OBJECT
private slots:
    void answersConnect_data();
    void answersConnect();
    void refusesBadArguments();
};

void TestKorvelSimCli::answersConnect_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("pty") << QStringList{"--transport", "pty", "--profile", "logger"};
    QTest::newRow("tcp-server") << QStringList{"--transport", "tcp-server", "--port",
                                               "0",           "--profile",  "logger"};
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

void TestKorvelSimCli::refusesBadArguments() {
    for (const QStringList& args : {QStringList{"--profile", "toaster"}, QStringList{"--fault", "garble"},
                                    QStringList{"--transport", "carrier-pigeon"}}) {
        QProcess sim;
        sim.start(KORVEL_SIM_EXE, args);
        QVERIFY(sim.waitForFinished(10000));
        QVERIFY2(sim.exitCode() != 0, qPrintable(args.join(' ')));
        QVERIFY(sim.readAllStandardOutput().isEmpty());
    }
}

QTEST_GUILESS_MAIN(TestKorvelSimCli)
#include "test_korvel_sim_cli.moc"
