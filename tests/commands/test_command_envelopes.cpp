// Every builder's frame, whatever its payload: start and end bytes, the code, a length field of
// payload + 2, and a sum of every byte before it. A payload field written one byte too wide or
// too narrow shows here even where no other test looks at that field.

#include "commands/gprs_settings.h"
#include "commands/identity_commands.h"
#include "commands/recording_commands.h"

#include <QtTest>

class TestCommandEnvelopes : public QObject {
    Q_OBJECT
private slots:
    void envelope_data();
    void envelope();
};

void TestCommandEnvelopes::envelope_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("payloadBytes");

    const QDateTime now(QDate(2024, 3, 5), QTime(7, 8, 9));
    RecordingParams timed;
    timed.startModeIndex = 1;
    timed.stopModeIndex = 3;
    timed.userName = QStringLiteral("温湿度记录仪温湿度记");
    timed.title = QStringLiteral("title");
    timed.model = QByteArray("G95");
    timed.serialNumber = QByteArray("110501001");
    timed.timedStartDate = QDate(2024, 3, 5);
    timed.timedStartTime = QTime(7, 8, 9);
    timed.timedStopDate = QDate(2024, 4, 1);
    timed.timedStopTime = QTime(0, 0, 0);
    GprsSettingsEntry gprs;
    gprs.ipAddress = QStringLiteral("192.168.1.10");
    gprs.hostName = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123");

    for (int address : {0, 1, 255}) {
        auto row = [address](const char* name) -> QTestData& {
            return QTest::addRow("%s, address %d", name, address);
        };
        row("recording parameters") << buildRecordingParams(address, {}) << address << 0x06 << 84;
        row("timed recording parameters") << buildRecordingParams(address, timed) << address << 0x06 << 84;
        row("restart") << buildRestartRecording(address, now) << address << 0x03 << 6;
        row("stop") << buildStopRecording(address) << address << 0x02 << 0;
        row("clock") << buildSetClock(address, now) << address << 0x1a << 6;
        row("battery") << buildReadBattery(address) << address << 0x1d << 0;
        row("set delay") << buildSetStartDelay(address, QStringLiteral("-300")) << address << 0x28 << 2;
        row("read delay") << buildReadStartDelay(address) << address << 0x29 << 0;
        row("model and serial") << buildModelSerial(address, {QStringLiteral("G95"), QStringLiteral("1")})
                                << address << 0x0B << 20;
        row("set address") << buildSetAddress(address, 7) << address << 0x04 << 1;
        row("factory reset") << buildFactoryReset(address) << address << 0x14 << 1;
        row("set GPRS") << buildSetGprs(address, gprs) << address << 0x1E << 45;
        row("read GPRS") << buildReadGprs(address) << address << 0x1F << 0;
    }
}

void TestCommandEnvelopes::envelope() {
    QFETCH(QByteArray, text);
    QFETCH(int, address);
    QFETCH(int, code);
    QFETCH(int, payloadBytes);
    const QByteArray f = aHexToBytes(text);
    const int n = int(f.size());
    QCOMPARE(n, payloadBytes + 7);
    QCOMPARE(quint8(f[0]), quint8(0xAA));
    QCOMPARE(quint8(f[1]), quint8(address));
    QCOMPARE(quint8(f[2]), quint8(code));
    QCOMPARE(quint8(f[3]) | quint8(f[4]) << 8, payloadBytes + 2);
    quint8 sum = 0;
    for (int i = 0; i < n - 2; ++i)
        sum = quint8(sum + quint8(f[i]));
    QCOMPARE(quint8(f[n - 2]), sum);
    QCOMPARE(quint8(f[n - 1]), quint8(0xCC));
}

QTEST_APPLESS_MAIN(TestCommandEnvelopes)
#include "test_command_envelopes.moc"
