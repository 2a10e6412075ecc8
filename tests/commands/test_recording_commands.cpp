#include "../support/response_frame.h"
#include "commands/recording_commands.h"

#include "commands/entry_refused.h"

#include <QtTest>

namespace {

QByteArray hex(const char* digits) {
    return QByteArray::fromHex(digits);
}

RecordingParams pickersHoldDates() {
    RecordingParams p;
    p.timedStartDate = QDate(2024, 3, 5);
    p.timedStartTime = QTime(7, 8, 9);
    p.timedStopDate = QDate(2025, 12, 31);
    p.timedStopTime = QTime(23, 59, 58);
    return p;
}

} // namespace

class TestRecordingCommands : public QObject {
    Q_OBJECT
private slots:
    void recordingBlock_data();
    void recordingBlock();
    void recordingTexts_data();
    void recordingTexts();
    void recordingRefusesEntries_data();
    void recordingRefusesEntries();
    void clockCommands_data();
    void clockCommands();
    void commandsWithoutPayload_data();
    void commandsWithoutPayload();
    void startDelay_data();
    void startDelay();
    void startDelayRefused_data();
    void startDelayRefused();
    void answers_data();
    void answers();
};

void TestRecordingCommands::recordingBlock_data() {
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("stop");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("10 s, at once, first in first out, address 1")
        << 1 << 2 << 0 << 0 << 9 << hex("0A000000 01 03 01 01");
    QTest::newRow("reserved bytes") << 1 << 2 << 0 << 0 << 5 << hex("00000000");
    QTest::newRow("5 days") << 1 << 17 << 0 << 0 << 9 << hex("80970600");
    QTest::newRow("10 days") << 1 << 18 << 0 << 0 << 9 << hex("002F0D00");
    QTest::newRow("the item ...") << 1 << 19 << 0 << 0 << 9 << hex("002F0D00");
    QTest::newRow("typed interval") << 1 << -1 << 0 << 0 << 9 << hex("002F0D00");
    QTest::newRow("2 s, manual start, full stop, address 255")
        << 255 << 0 << 2 << 1 << 9 << hex("02000000 03 01 01 FF");
    QTest::newRow("timed start, manual stop") << 1 << 2 << 1 << 2 << 13 << hex("0204");
    QTest::newRow("timed stop code") << 1 << 2 << 0 << 3 << 14 << hex("02");
    QTest::newRow("no timed start: zeros though the pickers hold a date")
        << 1 << 2 << 0 << 0 << 77 << hex("000000000000 000000000000");
    QTest::newRow("manual start: zeros too") << 1 << 2 << 2 << 0 << 77 << hex("000000000000");
    QTest::newRow("timed start only") << 1 << 2 << 1 << 0 << 77 << hex("240305070809 000000000000");
    QTest::newRow("timed stop only") << 1 << 2 << 0 << 3 << 77 << hex("000000000000 251231235958");
    QTest::newRow("both timed") << 1 << 2 << 1 << 3 << 77 << hex("240305070809 251231235958");
}

void TestRecordingCommands::recordingBlock() {
    QFETCH(int, address);
    QFETCH(int, interval);
    QFETCH(int, start);
    QFETCH(int, stop);
    QFETCH(int, offset);
    QFETCH(QByteArray, expected);
    RecordingParams p = pickersHoldDates();
    p.intervalIndex = interval;
    p.startModeIndex = start;
    p.stopModeIndex = stop;
    const QByteArray frame = aHexToBytes(buildRecordingParams(address, p));
    QCOMPARE(frame.size(), 5 + 84 + 2);
    QCOMPARE(quint8(frame[1]), quint8(address));
    QCOMPARE(frame.mid(offset, expected.size()).toHex(' '), expected.toHex(' '));
}

void TestRecordingCommands::recordingTexts_data() {
    QTest::addColumn<QString>("userName");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QByteArray>("model");
    QTest::addColumn<QByteArray>("serial");
    QTest::addColumn<QByteArray>("bytes17to76");
    const QByteArray zeros20(20, '\0'), zeros10(10, '\0');
    QTest::newRow("empty user name, Chinese title, before any connect")
        << QString() << QStringLiteral("温湿度记录仪") << QByteArray() << QByteArray()
        << zeros20 + hex("CEC2CAAAB6C8BCC7C2BCD2C7") + QByteArray(8, '\0') + zeros10 + zeros10;
    // The model goes back exactly as it came, zero bytes inside it included.
    QTest::newRow("model as reported, serial padded")
        << QStringLiteral("用户") << QStringLiteral("ab") << hex("4739350000413100FF00")
        << QByteArray("110501001")
        << hex("D3C3BBA7") + QByteArray(16, '\0') + QByteArray("ab") + QByteArray(18, '\0') +
               hex("4739350000413100FF00") + QByteArray("110501001") + QByteArray(1, '\0');
    QTest::newRow("twenty bytes fill the field")
        << QStringLiteral("温湿度记录仪温湿度记") << QStringLiteral("12345678901234567890") << QByteArray()
        << QByteArray("1234567890")
        << hex("CEC2CAAAB6C8BCC7C2BCD2C7CEC2CAAAB6C8BCC7") + QByteArray("12345678901234567890") + zeros10 +
               QByteArray("1234567890");
}

void TestRecordingCommands::recordingTexts() {
    QFETCH(QString, userName);
    QFETCH(QString, title);
    QFETCH(QByteArray, model);
    QFETCH(QByteArray, serial);
    QFETCH(QByteArray, bytes17to76);
    RecordingParams p;
    p.userName = userName;
    p.title = title;
    p.model = model;
    p.serialNumber = serial;
    const QByteArray frame = aHexToBytes(buildRecordingParams(1, p));
    QCOMPARE(frame.mid(17, 60).toHex(' '), bytes17to76.toHex(' '));
}

void TestRecordingCommands::recordingRefusesEntries_data() {
    QTest::addColumn<QString>("userName");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("stop");
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("reason");
    QTest::addColumn<int>("limit");
    // Eleven characters pass the box's character limit but take 22 bytes.
    QTest::newRow("user name 22 bytes") << QStringLiteral("温湿度记录仪温湿度记录") << QString() << 0 << 0
                                        << int(EntryField::UserName) << int(EntryRefused::TooLong) << 20;
    QTest::newRow("title 21 bytes") << QString() << QStringLiteral("123456789012345678901") << 0 << 0
                                    << int(EntryField::Title) << int(EntryRefused::TooLong) << 20;
    QTest::newRow("typed start mode")
        << QString() << QString() << -1 << 0 << int(EntryField::StartMode) << int(EntryRefused::NoItem) << 0;
    QTest::newRow("typed stop mode") << QString() << QString() << 0 << -1 << int(EntryField::StopMode)
                                     << int(EntryRefused::NoItem) << 0;
    QTest::newRow("stop index past the list")
        << QString() << QString() << 0 << 4 << int(EntryField::StopMode) << int(EntryRefused::NoItem) << 0;
}

void TestRecordingCommands::recordingRefusesEntries() {
    QFETCH(QString, userName);
    QFETCH(QString, title);
    QFETCH(int, start);
    QFETCH(int, stop);
    QFETCH(int, field);
    QFETCH(int, reason);
    QFETCH(int, limit);
    RecordingParams p;
    p.userName = userName;
    p.title = title;
    p.startModeIndex = start;
    p.stopModeIndex = stop;
    try {
        buildRecordingParams(1, p);
        QFAIL("sent what does not fit");
    } catch (const EntryRefused& e) {
        QCOMPARE(int(e.field()), field);
        QCOMPARE(int(e.reason()), reason);
        QCOMPARE(e.limit(), qint64(limit));
        QVERIFY(e.message().contains(entryFieldName(e.field())));
        if (reason == EntryRefused::TooLong)
            QVERIFY(e.message().contains(QString::number(limit)));
    }
}

void TestRecordingCommands::clockCommands_data() {
    QTest::addColumn<bool>("restart");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QByteArray>("bytes");
    const QDateTime example(QDate(2024, 3, 5), QTime(7, 8, 9));
    QTest::newRow("restart, 2024-03-05 07:08:09") << true << example << hex("AA01030800240305070809FACC");
    QTest::newRow("clock, 2024-03-05 07:08:09") << false << example << hex("AA011A080024030507080911CC");
    QTest::newRow("clock, turn of the century")
        << false << QDateTime(QDate(2000, 1, 1), QTime(0, 0, 0)) << hex("AA011A0800000101000000CFCC");
    QTest::newRow("restart, last second of 2099")
        << true << QDateTime(QDate(2099, 12, 31), QTime(23, 59, 59)) << hex("AA0103080099123123595967CC");
}

void TestRecordingCommands::clockCommands() {
    QFETCH(bool, restart);
    QFETCH(QDateTime, now);
    QFETCH(QByteArray, bytes);
    const HexText text = restart ? buildRestartRecording(1, now) : buildSetClock(1, now);
    QCOMPARE(aHexToBytes(text).toHex(' '), bytes.toHex(' '));
}

void TestRecordingCommands::commandsWithoutPayload_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("stop recording") << buildStopRecording(1) << hex("AA01020200AFCC");
    QTest::newRow("read battery") << buildReadBattery(1) << hex("AA011D0200CACC");
    QTest::newRow("read delay, general address") << buildReadStartDelay(0) << hex("AA00290200D5CC");
}

void TestRecordingCommands::commandsWithoutPayload() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(aHexToBytes(text).toHex(' '), bytes.toHex(' '));
}

void TestRecordingCommands::startDelay_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("-5") << QStringLiteral("-5") << hex("AA0128040005805CCC");
    QTest::newRow("300") << QStringLiteral("300") << hex("AA012804002C0104CC");
    QTest::newRow("blanks and dots dropped") << QStringLiteral(" 3.0 0") << hex("AA012804002C0104CC");
    QTest::newRow("largest") << QStringLiteral("32767") << hex("AA01280400FF7F55CC");
    QTest::newRow("smallest") << QStringLiteral("-32767") << hex("AA01280400FFFFD5CC");
    QTest::newRow("zero") << QStringLiteral("0") << hex("AA012804000000D7CC");
}

void TestRecordingCommands::startDelay() {
    QFETCH(QString, entry);
    QFETCH(QByteArray, bytes);
    QCOMPARE(aHexToBytes(buildSetStartDelay(1, entry)).toHex(' '), bytes.toHex(' '));
}

void TestRecordingCommands::startDelayRefused_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("notANumber");
    QTest::newRow("32768 would set the sign bit") << QStringLiteral("32768") << false;
    QTest::newRow("-32768") << QStringLiteral("-32768") << false;
    QTest::newRow("65535") << QStringLiteral("65535") << false;
    QTest::newRow("letters") << QStringLiteral("12a") << true;
    QTest::newRow("empty") << QString() << true;
}

void TestRecordingCommands::startDelayRefused() {
    QFETCH(QString, entry);
    QFETCH(bool, notANumber);
    if (notANumber) {
        QVERIFY_THROWS_EXCEPTION(ConversionError, buildSetStartDelay(1, entry));
        return;
    }
    try {
        buildSetStartDelay(1, entry);
        QFAIL("sent a delay that does not fit");
    } catch (const EntryRefused& e) {
        QCOMPARE(e.field(), EntryField::StartDelay);
        QCOMPARE(e.reason(), EntryRefused::OutOfRange);
        QCOMPARE(e.lowest(), qint64(-32767));
        QCOMPARE(e.limit(), qint64(32767));
        QVERIFY(e.message().contains(QStringLiteral("32767")));
    }
}

void TestRecordingCommands::answers_data() {
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("battery");
    QTest::addColumn<int>("delay");
    QTest::addColumn<bool>("success");
    QTest::newRow("battery 0x50") << responseFrame(0x1d, hex("50")) << 80 << 0x50 << false;
    QTest::newRow("delay 2C 01") << responseFrame(0x29, hex("2C01")) << 0x2C << 300 << false;
    // The delay is written sign-magnitude; reading it back must give what was written.
    QTest::newRow("delay 05 80") << responseFrame(0x29, hex("0580")) << 5 << -5 << false;
    QTest::newRow("result 01") << responseFrame(0x03, hex("01")) << 1 << 1 << true;
    QTest::newRow("result 00") << responseFrame(0x1A, hex("00")) << 0 << 0 << false;
    QTest::newRow("result 02") << responseFrame(0x10, hex("02")) << 2 << 2 << false;
    // No payload: byte 5 is the sum; it must not be read as a level, a delay or a result.
    QTest::newRow("empty answer, sum 0x01 where the payload would be")
        << hex("BB0044020001DD") << 0 << 0 << false;
    QTest::newRow("cut short") << hex("BB011D") << 0 << 0 << false;
}

void TestRecordingCommands::answers() {
    QFETCH(QByteArray, frame);
    QFETCH(int, battery);
    QFETCH(int, delay);
    QFETCH(bool, success);
    QCOMPARE(decodeBatteryLevel(frame).percent, battery);
    QCOMPARE(decodeStartDelay(frame).seconds, delay);
    QCOMPARE(decodeCommandResult(frame).success, success);
}

QTEST_APPLESS_MAIN(TestRecordingCommands)
#include "test_recording_commands.moc"
