// The simulated instrument's settings commands, answered without a line: the exact answer
// bytes, what it keeps (a write then a read or a connect gives it back), the address move and
// the refusal fault. Requests come from the program's own builders where one exists, so both
// sides are held to the same bytes.

#include "commands/gprs_settings.h"
#include "commands/identity_commands.h"
#include "commands/recording_commands.h"
#include "core/gbk_text.h"
#include "device/device_status.h"
#include "sim/sim_handlers.h"
#include "sim/sim_settings.h"

#include <QtTest>

namespace {

QByteArray hex(const char* digits) {
    return QByteArray::fromHex(digits);
}

QByteArray bytesOf(const HexText& text) {
    return aHexToBytes(text);
}

// A request the program would never build (wrong sizes, bad digits): AA, address, code,
// length, payload, sum, CC.
QByteArray rawRequest(quint8 address, quint8 code, const QByteArray& payload) {
    QByteArray f;
    f += char(0xAA);
    f += char(address);
    f += char(code);
    f += char((payload.size() + 2) & 0xFF);
    f += char((payload.size() + 2) >> 8);
    f += payload;
    quint8 sum = 0;
    for (char c : f)
        sum = quint8(sum + quint8(c));
    f += char(sum);
    f += char(0xCC);
    return f;
}

SimRequest parsed(const QByteArray& frame, int number = 1) {
    const QList<SimRequest> found = RequestParser().feed(frame);
    if (found.size() != 1)
        qFatal("not one request: %s", frame.toHex(' ').constData());
    SimRequest r = found.first();
    r.number = number;
    return r;
}

// The instrument's whole answer to one request, or empty for none.
QByteArray ask(SimProfile& state, const QByteArray& frame) {
    return standardSimHandlers().answer(parsed(frame), state).value_or(QByteArray());
}

QByteArray payloadOf(const QByteArray& answer) {
    return answer.size() >= 7 ? answer.mid(5, answer.size() - 7) : QByteArray();
}

DeviceStatus connectStatus(SimProfile& state) {
    return aLogStateAnalyze(ask(state, hex("AA 00 01 02 00 AD CC")), DeviceStatus{}).status;
}

QList<int> fields(const TimeFields& t) {
    return QList<int>(t.begin(), t.end());
}

const QDateTime Clock(QDate(2024, 3, 5), QTime(7, 8, 9));

} // namespace

class TestSimSettings : public QObject {
    Q_OBJECT
private slots:
    void answers_data();
    void answers();
    void recordingParamsShowInConnect_data();
    void recordingParamsShowInConnect();
    void modelSerialShowInConnect_data();
    void modelSerialShowInConnect();
    void writeThenRead_data();
    void writeThenRead();
    void setAndRestart_data();
    void setAndRestart();
    void stopKeepsRecords();
    void clockSetLeavesStartTime();
    void setAddressMoves();
    void factoryReset();
    void failResult_data();
    void failResult();
    void refusedCommandChangesNothing();
};

void TestSimSettings::answers_data() {
    QTest::addColumn<QString>("profile");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("answer"); // empty: none

    const QString logger = QStringLiteral("logger");
    QTest::newRow("stop") << logger << bytesOf(buildStopRecording(1)) << hex("BB 01 02 02 00 C0 DD");
    QTest::newRow("stop, general address")
        << logger << bytesOf(buildStopRecording(0)) << hex("BB 01 02 02 00 C0 DD");
    QTest::newRow("stop, another instrument") << logger << bytesOf(buildStopRecording(2)) << QByteArray();
    QTest::newRow("restart") << logger << bytesOf(buildRestartRecording(1, Clock))
                             << hex("BB 01 03 03 00 01 C3 DD");
    QTest::newRow("restart, month 13")
        << logger << hex("AA 01 03 08 00 24 13 05 07 08 09 0A CC") << hex("BB 01 03 03 00 00 C2 DD");
    QTest::newRow("restart, second not BCD")
        << logger << hex("AA 01 03 08 00 24 03 05 07 08 1A 0B CC") << hex("BB 01 03 03 00 00 C2 DD");
    QTest::newRow("set clock") << logger << bytesOf(buildSetClock(1, Clock))
                               << hex("BB 01 1A 03 00 01 DA DD");
    QTest::newRow("set clock, 30 February")
        << logger << hex("AA 01 1A 08 00 24 02 30 07 08 09 3B CC") << hex("BB 01 1A 03 00 00 D9 DD");
    QTest::newRow("set address 5: answered from 5")
        << logger << bytesOf(buildSetAddress(1, 5)) << hex("BB 05 04 02 00 C6 DD");
    QTest::newRow("set address 0: stays at 1")
        << logger << bytesOf(buildSetAddress(1, 0)) << hex("BB 01 04 02 00 C2 DD");
    QTest::newRow("recording parameters")
        << logger << bytesOf(buildRecordingParams(1, RecordingParams{})) << hex("BB 01 06 02 00 C4 DD");
    QTest::newRow("model and serial number")
        << logger << bytesOf(buildModelSerial(1, {QStringLiteral("L99-2"), QStringLiteral("7")}))
        << hex("BB 01 0B 02 00 C9 DD");
    QTest::newRow("factory reset") << logger << bytesOf(buildFactoryReset(1))
                                   << hex("BB 01 14 03 00 01 D4 DD");
    QTest::newRow("factory reset without its 01")
        << logger << hex("AA 01 14 03 00 02 C4 CC") << hex("BB 01 14 03 00 00 D3 DD");
    QTest::newRow("battery") << logger << bytesOf(buildReadBattery(1)) << hex("BB 01 1D 03 00 50 2C DD");
    QTest::newRow("set delay") << logger << bytesOf(buildSetStartDelay(1, QStringLiteral("300")))
                               << hex("BB 01 28 02 00 E6 DD");
    QTest::newRow("read delay, factory 0")
        << logger << bytesOf(buildReadStartDelay(1)) << hex("BB 01 29 04 00 00 00 E9 DD");
    QTest::newRow("set GPRS") << logger << bytesOf(buildSetGprs(1, GprsSettingsEntry{}))
                              << hex("BB 01 1E 02 00 DC DD");
    QTest::newRow("read GPRS, factory settings")
        << logger << bytesOf(buildReadGprs(1))
        << hex("BB 01 1F 2F 00 00 00 00 00 41 1F 3C 00 00 00 00 05 64 00 00"
               " 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
               " 0F DD");
    QTest::newRow("read GPRS, G model")
        << "gprs" << bytesOf(buildReadGprs(1))
        << hex("BB 01 1F 2F 00 7F 00 00 01 41 1F 58 02 00 00 00 0A 64 00 00"
               " 75 70 6C 6F 61 64 2E 65 78 61 6D 70 6C 65 2E 63 6F 6D 00 00 00 00 00 00 00 00 00 00 00 00"
               " BE DD");
    // Payloads of the wrong size are not understood.
    QTest::newRow("stop with a byte") << logger << rawRequest(1, 0x02, hex("00")) << QByteArray();
    QTest::newRow("battery with a byte") << logger << rawRequest(1, 0x1d, hex("00")) << QByteArray();
    QTest::newRow("clock one byte short")
        << logger << rawRequest(1, 0x1a, hex("24 03 05 07 08")) << QByteArray();
    QTest::newRow("recording block one byte short")
        << logger << rawRequest(1, 0x06, QByteArray(83, '\0')) << QByteArray();
    QTest::newRow("GPRS block one byte short")
        << logger << rawRequest(1, 0x1E, QByteArray(44, '\0')) << QByteArray();
    QTest::newRow("address without the new one") << logger << rawRequest(1, 0x04, {}) << QByteArray();
}

void TestSimSettings::answers() {
    QFETCH(QString, profile);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, answer);
    SimProfile state = SimProfile::byName(profile);
    QCOMPARE(ask(state, request).toHex(' '), answer.toHex(' '));
}

void TestSimSettings::recordingParamsShowInConnect_data() {
    QTest::addColumn<int>("intervalIndex");
    QTest::addColumn<int>("startIndex");
    QTest::addColumn<int>("stopIndex");
    QTest::addColumn<QString>("userName");
    QTest::addColumn<QString>("title");
    QTest::addColumn<quint32>("seconds");
    QTest::addColumn<QString>("startText");
    QTest::addColumn<QString>("stopText");
    QTest::addColumn<QList<int>>("timedStart");
    QTest::addColumn<QList<int>>("timedStop");

    const QList<int> none{0, 0, 0, 0, 0, 0};
    QTest::newRow("10 s, immediately, first in first out")
        << 2 << 0 << 0 << QString() << QString() << 10u << "立即启动"
        << "先进先出" << none << none;
    QTest::newRow("5 days, timed start and stop")
        << 17 << 1 << 3 << "KORVEL"
        << "Cold room" << 432000u << "定时启动"
        << "定时停止" << QList<int>{24, 3, 6, 8, 0, 0} << QList<int>{25, 12, 31, 23, 59, 58};
    QTest::newRow("\"...\", manual start, stop when full, Chinese texts")
        << 19 << 2 << 1 << "张三"
        << "冷库二号仓库" << 864000u << "手动启动"
        << "记满停止" << none << none;
    QTest::newRow("2 s, manual stop") << 0 << 0 << 2 << "A" << QString() << 2u << "立即启动"
                                      << "手动停止" << none << none;
}

void TestSimSettings::recordingParamsShowInConnect() {
    QFETCH(int, intervalIndex);
    QFETCH(int, startIndex);
    QFETCH(int, stopIndex);
    QFETCH(QString, userName);
    QFETCH(QString, title);
    QFETCH(quint32, seconds);
    QFETCH(QString, startText);
    QFETCH(QString, stopText);
    QFETCH(QList<int>, timedStart);
    QFETCH(QList<int>, timedStop);

    SimProfile state = SimProfile::byName("logger");
    const DeviceStatus before = connectStatus(state);
    RecordingParams p;
    p.intervalIndex = intervalIndex;
    p.startModeIndex = startIndex;
    p.stopModeIndex = stopIndex;
    p.userName = userName;
    p.title = title;
    p.model = before.model;
    p.serialNumber = before.serialNumber;
    p.timedStartDate = QDate(2024, 3, 6);
    p.timedStartTime = QTime(8, 0, 0);
    p.timedStopDate = QDate(2025, 12, 31);
    p.timedStopTime = QTime(23, 59, 58);
    QVERIFY(!ask(state, bytesOf(buildRecordingParams(1, p))).isEmpty());

    const DeviceStatus s = connectStatus(state);
    QCOMPARE(s.recordInterval, seconds);
    QCOMPARE(s.startModeText, startText);
    QCOMPARE(s.stopModeText, stopText);
    QCOMPARE(gbkToString(s.userName), userName);
    QCOMPARE(gbkToString(s.title), title);
    QCOMPARE(fields(s.timedStartTime), timedStart);
    QCOMPARE(fields(s.timedStopTime), timedStop);
    // Identity travels back unchanged; recording is not touched until the restart.
    QCOMPARE(s.model, before.model);
    QCOMPARE(s.serialNumber, before.serialNumber);
    QCOMPARE(s.workStateText, before.workStateText);
    QCOMPARE(s.recordCount, before.recordCount);
    QCOMPARE(s.address, 1);
}

void TestSimSettings::modelSerialShowInConnect_data() {
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QByteArray>("modelBytes");

    QTest::newRow("plain") << "G88-1"
                           << "SN0042" << QByteArray("G88-1\0\0\0\0\0", 10);
    QTest::newRow("full fields") << "L99-2ABCDE"
                                 << "1234567890" << QByteArray("L99-2ABCDE");
    QTest::newRow("Chinese model") << "温湿度"
                                   << "" << hex("CE C2 CA AA B6 C8 00 00 00 00");
}

void TestSimSettings::modelSerialShowInConnect() {
    QFETCH(QString, model);
    QFETCH(QString, serial);
    QFETCH(QByteArray, modelBytes);
    SimProfile state = SimProfile::byName("logger");
    QVERIFY(!ask(state, bytesOf(buildModelSerial(1, {model, serial}))).isEmpty());
    const DeviceStatus s = connectStatus(state);
    QCOMPARE(s.model.toHex(' '), modelBytes.toHex(' '));
    QCOMPARE(QString::fromLatin1(s.serialNumber), serial);
    QCOMPARE(s.isGprsModel(), model.startsWith('G'));
}

void TestSimSettings::writeThenRead_data() {
    QTest::addColumn<QByteArray>("write");
    QTest::addColumn<QByteArray>("read");
    QTest::addColumn<QByteArray>("payload"); // of the read's answer

    GprsSettingsEntry example;
    example.ipAddress = "192.168.1.10";
    example.port = "8001";
    example.recordIntervalIndex = 4; // 1 minute
    example.powerModeIndex = 0;
    example.uploadIntervalIndex = 1; // 5 minutes
    example.printCountIndex = 0;     // 100
    QTest::newRow("GPRS, worked example")
        << bytesOf(buildSetGprs(1, example)) << bytesOf(buildReadGprs(1))
        << hex("C0 A8 01 0A 41 1F 3C 00 00 00 00 05 64 00 00"
               " 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");

    GprsSettingsEntry full;
    full.ipAddress = "10.0.0.255";
    full.port = "65535";
    full.recordIntervalIndex = 19; // 4 days
    full.powerModeIndex = 1;
    full.uploadIntervalIndex = 8; // 4 hours
    full.printCountIndex = 6;     // the whole memory
    full.toHostName = true;
    full.hostName = "abcdefghijklmnopqrstuvwxyz0123";
    QTest::newRow("GPRS, 30-byte host name, every field at its top")
        << bytesOf(buildSetGprs(1, full)) << bytesOf(buildReadGprs(1))
        << hex("0A 00 00 FF FF FF 00 46 05 00 01 F0 30 75 01"
               " 61 62 63 64 65 66 67 68 69 6A 6B 6C 6D 6E 6F 70 71 72 73 74 75 76 77 78 79 7A 30 31 32 33");

    GprsSettingsEntry chinese;
    chinese.hostName = "上传服务器";
    chinese.toHostName = true;
    chinese.recordIntervalIndex = 20; // the blank item: 1800 s
    chinese.powerModeIndex = 2;       // the blank item
    QTest::newRow("GPRS, Chinese host name, blank items")
        << bytesOf(buildSetGprs(1, chinese)) << bytesOf(buildReadGprs(1))
        << hex("00 00 00 00 41 1F 08 07 00 00 02 01 64 00 01"
               " C9 CF B4 AB B7 FE CE F1 C6 F7 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");

    for (const auto& [text, bytes] : {std::pair{"300", "2C 01"}, std::pair{"-5", "05 80"},
                                      std::pair{"0", "00 00"}, std::pair{"-32767", "FF FF"}})
        QTest::addRow("delay %s", text) << bytesOf(buildSetStartDelay(1, QString::fromLatin1(text)))
                                        << bytesOf(buildReadStartDelay(1)) << hex(bytes);
}

void TestSimSettings::writeThenRead() {
    QFETCH(QByteArray, write);
    QFETCH(QByteArray, read);
    QFETCH(QByteArray, payload);
    SimProfile state = SimProfile::byName("gprs");
    QVERIFY(!ask(state, write).isEmpty());
    QCOMPARE(payloadOf(ask(state, read)).toHex(' '), payload.toHex(' '));
    // A second read changes nothing.
    QCOMPARE(payloadOf(ask(state, read)).toHex(' '), payload.toHex(' '));
}

void TestSimSettings::setAndRestart_data() {
    QTest::addColumn<QString>("profile");
    QTest::addColumn<QList<int>>("startTime");
    QTest::addColumn<int>("startTimeUnset");

    QTest::newRow("logger") << "logger" << QList<int>{24, 3, 5, 7, 8, 9} << 0;
    // Once started, a connect no longer sets the clock by itself.
    QTest::newRow("unstarted G model") << "gprs" << QList<int>{24, 3, 5, 7, 8, 9} << 0;
    QTest::newRow("stamped records keep their marker") << "stamped" << QList<int>{1, 1, 1, 1, 1, 1} << 1;
}

void TestSimSettings::setAndRestart() {
    QFETCH(QString, profile);
    QFETCH(QList<int>, startTime);
    QFETCH(int, startTimeUnset);

    SimProfile state = SimProfile::byName(profile);
    QVERIFY(state.recordCount() > 0);
    RecordingParams p;
    p.intervalIndex = 3; // 30 s
    p.model = connectStatus(state).model;
    QCOMPARE(ask(state, bytesOf(buildRecordingParams(1, p))), hex("BB 01 06 02 00 C4 DD"));

    const QDateTime before = QDateTime::currentDateTime();
    QCOMPARE(ask(state, bytesOf(buildRestartRecording(1, Clock))), hex("BB 01 03 03 00 01 C3 DD"));
    const QDateTime instrument = state.clock();
    const QDateTime after = QDateTime::currentDateTime();

    const DeviceStatus s = connectStatus(state);
    QCOMPARE(s.recordInterval, 30u);
    QCOMPARE(s.workStateText, QString("正在记录"));
    QCOMPARE(s.recordCount, 0u); // a new recording starts empty
    QCOMPARE(fields(s.startTime), startTime);
    QCOMPARE(s.startTimeUnset, startTimeUnset);
    // The instrument's clock runs on from the time it was given.
    QVERIFY(Clock.msecsTo(instrument) >= 0);
    QVERIFY(Clock.msecsTo(instrument) <= before.msecsTo(after));
}

void TestSimSettings::stopKeepsRecords() {
    SimProfile state = SimProfile::byName("logger");
    QCOMPARE(connectStatus(state).workStateText, QString("正在记录"));
    QVERIFY(!ask(state, bytesOf(buildStopRecording(1))).isEmpty());
    const DeviceStatus s = connectStatus(state);
    QCOMPARE(s.workStateText, QString("停止记录"));
    QCOMPARE(s.recordCount, 3000u);
    QCOMPARE(fields(s.startTime), (QList<int>{24, 3, 5, 8, 0, 0}));
}

void TestSimSettings::clockSetLeavesStartTime() {
    SimProfile state = SimProfile::byName("gprs");
    const DeviceStatus first = connectStatus(state);
    QCOMPARE(first.startTimeUnset, 1);
    QVERIFY(first.isGprsModel());

    const QDateTime before = QDateTime::currentDateTime();
    QCOMPARE(ask(state, bytesOf(buildSetClock(1, Clock))), hex("BB 01 1A 03 00 01 DA DD"));
    const QDateTime instrument = state.clock();
    const QDateTime after = QDateTime::currentDateTime();
    QVERIFY(Clock.msecsTo(instrument) >= 0);
    QVERIFY(Clock.msecsTo(instrument) <= before.msecsTo(after));

    // Still never started: the next connect sets the clock again.
    const DeviceStatus again = connectStatus(state);
    QCOMPARE(again.startTimeUnset, 1);
    QCOMPARE(again.workStateText, first.workStateText);
    QCOMPARE(again.recordCount, first.recordCount);
}

void TestSimSettings::setAddressMoves() {
    SimProfile state = SimProfile::byName("logger");
    QCOMPARE(ask(state, bytesOf(buildSetAddress(1, 5))), hex("BB 05 04 02 00 C6 DD"));
    QCOMPARE(state.address, 5);
    // The old address is somebody else's now.
    QCOMPARE(ask(state, bytesOf(buildStopRecording(1))), QByteArray());
    QCOMPARE(ask(state, bytesOf(buildStopRecording(5))), hex("BB 05 02 02 00 C4 DD"));
    QCOMPARE(connectStatus(state).address, 5);
    // And on to 255, asked at the general address.
    QCOMPARE(ask(state, bytesOf(buildSetAddress(0, 255))), hex("BB FF 04 02 00 C0 DD"));
    QCOMPARE(connectStatus(state).address, 255);
}

void TestSimSettings::factoryReset() {
    SimProfile state = SimProfile::byName("gprs");
    const DeviceStatus before = connectStatus(state);
    RecordingParams p;
    p.intervalIndex = 0;
    p.startModeIndex = 1; // timed
    p.stopModeIndex = 3;  // timed
    p.userName = "Operator";
    p.model = before.model;
    p.serialNumber = before.serialNumber;
    p.timedStartDate = QDate(2024, 3, 6);
    p.timedStopDate = QDate(2024, 3, 7);
    for (const QByteArray& write :
         {bytesOf(buildRecordingParams(1, p)), bytesOf(buildSetStartDelay(1, QStringLiteral("300"))),
          bytesOf(buildSetGprs(1, GprsSettingsEntry{})), bytesOf(buildSetAddress(1, 3))})
        QVERIFY(!ask(state, write).isEmpty());

    QCOMPARE(ask(state, bytesOf(buildFactoryReset(3))), hex("BB 03 14 03 00 01 D6 DD"));
    const DeviceStatus s = connectStatus(state);
    QCOMPARE(s.recordInterval, 60u);
    QCOMPARE(s.startModeText, QString("立即启动"));
    QCOMPARE(s.stopModeText, QString("先进先出"));
    QCOMPARE(fields(s.timedStartTime), (QList<int>{0, 0, 0, 0, 0, 0}));
    QCOMPARE(fields(s.timedStopTime), (QList<int>{0, 0, 0, 0, 0, 0}));
    QCOMPARE(payloadOf(ask(state, bytesOf(buildReadStartDelay(3)))), hex("00 00"));
    QCOMPARE(payloadOf(ask(state, bytesOf(buildReadGprs(3)))).left(15),
             hex("00 00 00 00 41 1F 3C 00 00 00 00 05 64 00 00"));
    // What the instrument is and who owns it stays.
    QCOMPARE(s.address, 3);
    QCOMPARE(s.model, before.model);
    QCOMPARE(s.serialNumber, before.serialNumber);
    QCOMPARE(gbkToString(s.userName), QString("Operator"));
    QCOMPARE(s.recordCount, before.recordCount);
}

void TestSimSettings::failResult_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QList<QByteArray>>("requests");
    QTest::addColumn<QList<QByteArray>>("answers"); // empty: none
    QTest::addColumn<int>("faultsLeft");

    const QByteArray clock = bytesOf(buildSetClock(1, Clock));
    const QByteArray clockOk = hex("BB 01 1A 03 00 01 DA DD");
    const QByteArray clockFailed = hex("BB 01 1A 03 00 00 D9 DD");
    const QByteArray battery = bytesOf(buildReadBattery(1));
    const QByteArray batteryAnswer = hex("BB 01 1D 03 00 50 2C DD");

    QTest::newRow("restart refused") << "fail-result"
                                     << QList<QByteArray>{bytesOf(buildRestartRecording(1, Clock))}
                                     << QList<QByteArray>{hex("BB 01 03 03 00 00 C2 DD")} << 0;
    QTest::newRow("factory reset refused")
        << "fail-result" << QList<QByteArray>{bytesOf(buildFactoryReset(1))}
        << QList<QByteArray>{hex("BB 01 14 03 00 00 D3 DD")} << 0;
    QTest::newRow("passed over by answers without a result byte")
        << "fail-result" << QList<QByteArray>{battery, bytesOf(buildSetAddress(1, 1)), clock, clock}
        << QList<QByteArray>{batteryAnswer, hex("BB 01 04 02 00 C2 DD"), clockFailed, clockOk} << 0;
    QTest::newRow("not taken by a request left unanswered")
        << "fail-result" << QList<QByteArray>{bytesOf(buildSetClock(2, Clock)), clock}
        << QList<QByteArray>{QByteArray(), clockFailed} << 0;
    QTest::newRow("at request two") << "fail-result@2" << QList<QByteArray>{clock, clock, clock}
                                    << QList<QByteArray>{clockOk, clockFailed, clockOk} << 0;
    QTest::newRow("tied to an answer without a result byte")
        << "fail-result@1" << QList<QByteArray>{battery, clock} << QList<QByteArray>{batteryAnswer, clockOk}
        << 1;
}

void TestSimSettings::failResult() {
    QFETCH(QString, fault);
    QFETCH(QList<QByteArray>, requests);
    QFETCH(QList<QByteArray>, answers);
    QFETCH(int, faultsLeft);

    const std::optional<SimFault> f = SimFault::fromText(fault);
    QVERIFY(f);
    QList<SimFault> pending{*f};
    const SimHandlers handlers = standardSimHandlers();
    SimProfile state = SimProfile::byName("logger");
    QList<QByteArray> got;
    for (qsizetype i = 0; i < requests.size(); ++i)
        got << simReply(handlers, parsed(requests[i], int(i) + 1), state, pending)
                   .answer.value_or(QByteArray());
    QCOMPARE(got, answers);
    QCOMPARE(pending.size(), faultsLeft);
}

void TestSimSettings::refusedCommandChangesNothing() {
    SimProfile state = SimProfile::byName("logger");
    QList<SimFault> pending;
    const SimHandlers handlers = standardSimHandlers();
    const auto reply = [&](const QByteArray& frame) {
        return simReply(handlers, parsed(frame), state, pending).answer.value_or(QByteArray());
    };
    RecordingParams p;
    p.intervalIndex = 0;
    p.model = connectStatus(state).model;
    QVERIFY(!reply(bytesOf(buildRecordingParams(1, p))).isEmpty());
    QVERIFY(!reply(bytesOf(buildStopRecording(1))).isEmpty());
    const SimProfile before = state;

    pending = {SimFault::next(SimFault::Kind::FailResult)};
    QCOMPARE(reply(bytesOf(buildRestartRecording(1, Clock))), hex("BB 01 03 03 00 00 C2 DD"));
    pending = {SimFault::next(SimFault::Kind::FailResult)};
    QCOMPARE(reply(bytesOf(buildFactoryReset(1))), hex("BB 01 14 03 00 00 D3 DD"));
    pending = {SimFault::next(SimFault::Kind::FailResult)};
    QCOMPARE(reply(bytesOf(buildSetClock(1, Clock))), hex("BB 01 1A 03 00 00 D9 DD"));

    QCOMPARE(state.clockOffsetMs, before.clockOffsetMs);
    QCOMPARE(state.connectResponse().toHex(' '), before.connectResponse().toHex(' '));
    QCOMPARE(connectStatus(state).recordInterval, 2u);
    QCOMPARE(connectStatus(state).workStateText, QString("停止记录"));
}

QTEST_GUILESS_MAIN(TestSimSettings)
#include "test_sim_settings.moc"
