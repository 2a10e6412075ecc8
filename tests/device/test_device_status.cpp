#include "../support/connect_frame.h"
#include "device/device_status.h"

#include <QtTest>

class TestDeviceStatus : public QObject {
    Q_OBJECT
private slots:
    void wholeConnectResponse();
    void firmwareText_data();
    void firmwareText();
    void serialNumber_data();
    void serialNumber();
    void codeTables_data();
    void codeTables();
    void startTimeFlags_data();
    void startTimeFlags();
    void invalidBcdKeepsLaterTimeFields();
    void channelCounts_data();
    void channelCounts();
    void shortFrameReadsZeros();
};

void TestDeviceStatus::wholeConnectResponse() {
    ConnectFrame f(2);
    f.u8(1, 7);
    f.u32(5, 1234);
    f.u8(14, 0x01);
    f.bytes(16, QByteArray::fromHex("240305070809"));
    f.u32(32, 600);
    f.u8(36, 0x02);
    f.u8(37, 0x03);
    f.bytes(40, "USER");
    f.bytes(60, "\xb2\xe2\xca\xd4"); // 测试 in GBK
    f.bytes(80, "L99-2");
    f.bytes(90, "SN0001");
    f.bytes(100, QByteArray::fromHex("241231235958"));
    f.bytes(106, QByteArray::fromHex("250101000000"));
    f.u32(112, 100000);
    f.u8(116, 0x21);
    f.u8(117, 0x63);
    f.u8(118, 0x01);
    f.u8(120, 0x01);
    f.u8(121, 0x01);
    f.u8(122, 0x0A);
    f.u8(123, 0x02);
    f.u8(124, 0x11);
    f.u8(125, 0xC4);
    f.u8(126, 3);
    f.u8(127, 0x05);
    // channel 0: temperature, limits 0.0 .. 30.5, range -40.0 .. 85.0, one decimal
    f.s16(129, 0);
    f.s16(131, 305);
    f.u8(133, 1);
    f.s16(134, -400);
    f.s16(136, 850);
    f.u8(138, 1);
    f.u8(139, 1);
    f.u8(140, 2);
    // channel 1: humidity, alarm -5 (raw) low
    f.s16(141, -5);
    f.s16(143, 900);
    f.u8(145, 0);
    f.s16(146, 0);
    f.s16(148, 1000);
    f.u8(150, 2);
    f.u8(151, 2);
    f.u8(152, 2);

    const LogStateResult r = aLogStateAnalyze(f.finished(), DeviceStatus{});
    const DeviceStatus& s = r.status;
    QCOMPARE(s.address, 7);
    QCOMPARE(s.recordCount, 1234u);
    QCOMPARE(s.workStateText, QStringLiteral("正在记录"));
    QCOMPARE(s.startTime, (TimeFields{24, 3, 5, 7, 8, 9}));
    QCOMPARE(s.startTimeUnset, 0);
    QCOMPARE(s.timestampedRecords, 0);
    QCOMPARE(s.recordInterval, 600u);
    QCOMPARE(s.startModeText, QStringLiteral("定时启动"));
    QCOMPARE(s.stopModeText, QStringLiteral("先进先出"));
    QCOMPARE(s.userName, QByteArray("USER").leftJustified(20, '\0'));
    QCOMPARE(s.title, QByteArray("\xb2\xe2\xca\xd4").leftJustified(20, '\0'));
    QCOMPARE(s.model, QByteArray("L99-2").leftJustified(10, '\0'));
    QCOMPARE(s.serialNumber, QByteArray("SN0001"));
    QCOMPARE(s.timedStartTime, (TimeFields{24, 12, 31, 23, 59, 58}));
    QCOMPARE(s.timedStopTime, (TimeFields{25, 1, 1, 0, 0, 0}));
    QCOMPARE(s.capacity, 100000u);
    QCOMPARE(s.firmwareText, QStringLiteral("21"));
    QCOMPARE(s.firmwareNumberText, QStringLiteral("99"));
    QCOMPARE(s.batteryText, QStringLiteral("电量不足"));
    QCOMPARE(s.downloadBaudRate, 9600);
    QCOMPARE(s.upgradable, 1);
    QVERIFY(r.isReceiver);
    QCOMPARE(s.firmwareSeries, 2);
    QCOMPARE(s.markT, 1);
    QCOMPARE(s.featureFlags, 0xC4);
    QCOMPARE(s.pNumber, 3);
    QCOMPARE(s.featureFlags2, 5);
    QCOMPARE(s.channelCount, 2);
    const ChannelParams& c0 = s.channels[0];
    QCOMPARE(c0.alarmLow, 0);
    QCOMPARE(c0.alarmHigh, 305);
    QCOMPARE(c0.alarmSwitch, 1);
    QCOMPARE(c0.rangeLow, -400);
    QCOMPARE(c0.rangeHigh, 850);
    QCOMPARE(c0.kind, 1);
    QCOMPARE(c0.unit, 1);
    QCOMPARE(c0.decimalsCode, 2);
    const ChannelParams& c1 = s.channels[1];
    QCOMPARE(c1.alarmLow, -5);
    QCOMPARE(c1.alarmHigh, 900);
    QCOMPARE(c1.alarmSwitch, 0);
    QCOMPARE(c1.rangeHigh, 1000);
    QCOMPARE(c1.kind, 2);
    QCOMPARE(c1.unit, 2);
}

void TestDeviceStatus::firmwareText_data() {
    QTest::addColumn<int>("b116");
    QTest::addColumn<int>("b117");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number");
    QTest::newRow("number 134 wins") << 0x21 << 0x86 << "134" << 134;
    QTest::newRow("BCD 21") << 0x21 << 0x63 << "21" << 21;
    QTest::newRow("number exactly 100") << 0x05 << 100 << "100" << 100;
    // Not decimal: the hex digits are kept for display, numeric tests see 0.
    QTest::newRow("not decimal") << 0x1A << 0x10 << "1A" << 0;
}

void TestDeviceStatus::firmwareText() {
    QFETCH(int, b116);
    QFETCH(int, b117);
    QFETCH(QString, text);
    QFETCH(int, number);
    ConnectFrame f;
    f.u8(116, b116);
    f.u8(117, b117);
    const DeviceStatus s = aLogStateAnalyze(f.finished(), DeviceStatus{}).status;
    QCOMPARE(s.firmwareText, text);
    QCOMPARE(s.firmwareNumber(), number);
    QCOMPARE(s.firmwareNumberText, QString::number(b117));
}

void TestDeviceStatus::serialNumber_data() {
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QByteArray>("serial");
    QTest::newRow("trailing zeros") << QByteArray("12345\0\0\0\0\0", 10) << QByteArray("12345");
    QTest::newRow("zeros inside") << QByteArray("12\0\0"
                                                "345\0\0\0",
                                                10)
                                  << QByteArray("12345");
    QTest::newRow("all zero") << QByteArray(10, '\0') << QByteArray();
}

void TestDeviceStatus::serialNumber() {
    QFETCH(QByteArray, field);
    QFETCH(QByteArray, serial);
    ConnectFrame f;
    f.bytes(90, field);
    QCOMPARE(aLogStateAnalyze(f.finished(), DeviceStatus{}).status.serialNumber, serial);
}

void TestDeviceStatus::codeTables_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("start 1") << 36 << 1 << "立即启动";
    QTest::newRow("start 3") << 36 << 3 << "手动启动";
    QTest::newRow("start 0") << 36 << 0 << "数据错误";
    QTest::newRow("stop 1") << 37 << 1 << "记满停止";
    QTest::newRow("stop 2") << 37 << 2 << "定时停止";
    QTest::newRow("stop 4") << 37 << 4 << "手动停止";
    QTest::newRow("stop 5") << 37 << 5 << "数据错误";
    QTest::newRow("work 0") << 14 << 0 << "停止记录";
    QTest::newRow("work 2") << 14 << 2 << "数据错误";
    QTest::newRow("battery 0") << 118 << 0 << "电量正常";
    QTest::newRow("battery 255") << 118 << 255 << "数据错误";
    QTest::newRow("speed 0") << 120 << 0 << "115200";
    QTest::newRow("speed 1") << 120 << 1 << "9600";
    QTest::newRow("speed 2") << 120 << 2 << "115200";
}

void TestDeviceStatus::codeTables() {
    QFETCH(int, offset);
    QFETCH(int, code);
    QFETCH(QString, text);
    ConnectFrame f;
    f.u8(offset, code);
    const DeviceStatus s = aLogStateAnalyze(f.finished(), DeviceStatus{}).status;
    const QString got = offset == 36    ? s.startModeText
                        : offset == 37  ? s.stopModeText
                        : offset == 14  ? s.workStateText
                        : offset == 118 ? s.batteryText
                                        : QString::number(s.downloadBaudRate);
    QCOMPARE(got, text);
}

void TestDeviceStatus::startTimeFlags_data() {
    QTest::addColumn<QByteArray>("startTime");
    QTest::addColumn<int>("unset");
    QTest::addColumn<int>("stamped");
    QTest::newRow("zeros") << QByteArray(6, '\0') << 1 << 0;
    QTest::newRow("ones") << QByteArray(6, '\x01') << 1 << 1;
    QTest::newRow("set") << QByteArray::fromHex("240305070809") << 0 << 0;
    QTest::newRow("mixed zeros and ones") << QByteArray::fromHex("010000000000") << 0 << 0;
}

void TestDeviceStatus::startTimeFlags() {
    QFETCH(QByteArray, startTime);
    QFETCH(int, unset);
    QFETCH(int, stamped);
    ConnectFrame f;
    f.bytes(16, startTime);
    const DeviceStatus s = aLogStateAnalyze(f.finished(), DeviceStatus{}).status;
    QCOMPARE(s.startTimeUnset, unset);
    QCOMPARE(s.timestampedRecords, stamped);
}

void TestDeviceStatus::invalidBcdKeepsLaterTimeFields() {
    DeviceStatus previous;
    previous.startTime = {1, 1, 1, 1, 1, 1};
    previous.startTimeUnset = 1;
    previous.timestampedRecords = 1;
    previous.timedStartTime = {9, 9, 9, 9, 9, 9};
    previous.timedStopTime = {8, 8, 8, 8, 8, 8};

    // Invalid byte (0x1A) as the fourth start-time byte: three values read, the rest keep theirs.
    ConnectFrame f;
    f.bytes(16, QByteArray::fromHex("2403051A0809"));
    f.bytes(100, QByteArray::fromHex("241231235958"));
    f.u8(117, 0x86);
    f.u8(128, 0);
    DeviceStatus s = aLogStateAnalyze(f.finished(), previous).status;
    QCOMPARE(s.startTime, (TimeFields{24, 3, 5, 1, 1, 1}));
    QCOMPARE(s.startTimeUnset, 1);
    QCOMPARE(s.timestampedRecords, 1);
    QCOMPARE(s.timedStartTime, previous.timedStartTime);
    QCOMPARE(s.timedStopTime, previous.timedStopTime);
    QCOMPARE(s.firmwareText, QStringLiteral("134")); // decoding goes on after the time step

    // Invalid byte in the timed stop: start time and flags are read, the stop keeps part.
    ConnectFrame g;
    g.bytes(16, QByteArray::fromHex("240305070809"));
    g.bytes(100, QByteArray::fromHex("241231235958"));
    g.bytes(106, QByteArray::fromHex("25F101000000"));
    s = aLogStateAnalyze(g.finished(), previous).status;
    QCOMPARE(s.startTimeUnset, 0);
    QCOMPARE(s.timestampedRecords, 0);
    QCOMPARE(s.timedStartTime, (TimeFields{24, 12, 31, 23, 59, 58}));
    QCOMPARE(s.timedStopTime, (TimeFields{25, 8, 8, 8, 8, 8}));
}

void TestDeviceStatus::channelCounts_data() {
    QTest::addColumn<int>("announced");
    QTest::addColumn<int>("frameChannels");
    QTest::addColumn<int>("decoded");
    QTest::newRow("none") << 0 << 0 << 0;
    QTest::newRow("one of eight") << 1 << 1 << 1;
    QTest::newRow("eight") << 8 << 8 << 8;
    QTest::newRow("announces 12, eight slots") << 12 << 12 << 8;
    QTest::newRow("announces 255, short frame") << 255 << 2 << 8;
}

void TestDeviceStatus::channelCounts() {
    QFETCH(int, announced);
    QFETCH(int, frameChannels);
    QFETCH(int, decoded);
    DeviceStatus previous;
    for (auto& c : previous.channels)
        c.kind = 99;
    ConnectFrame f(frameChannels);
    f.u8(128, announced);
    for (int k = 0; k < frameChannels; ++k)
        f.u8(129 + 12 * k + 9, k + 1);
    const DeviceStatus s = aLogStateAnalyze(f.finished(), previous).status;
    QCOMPARE(s.channelCount, announced);
    QCOMPARE(s.decodedChannelCount(), decoded);
    for (int k = 0; k < MaxChannels; ++k) {
        const int expected = k >= decoded ? 99 : k < frameChannels ? k + 1 : 0;
        QCOMPARE(s.channels[k].kind, expected);
    }
}

void TestDeviceStatus::shortFrameReadsZeros() {
    // Seven bytes: everything beyond reads as zero; nothing outside the view is touched.
    const QByteArray backing = QByteArray::fromHex("BB03010200C1DD") + QByteArray(300, '\x7F');
    const LogStateResult r = aLogStateAnalyze(QByteArrayView(backing.constData(), 7), DeviceStatus{});
    QCOMPARE(r.status.address, 3);
    QCOMPARE(r.status.channelCount, 0);
    QCOMPARE(r.status.model, QByteArray(10, '\0'));
    QCOMPARE(r.status.startTimeUnset, 1);
    QCOMPARE(r.status.workStateText, QStringLiteral("停止记录"));
    QVERIFY(!r.isReceiver);
}

QTEST_APPLESS_MAIN(TestDeviceStatus)
#include "test_device_status.moc"
