#include "../support/response_frame.h"
#include "commands/gprs_settings.h"

#include "commands/command_tables.h"
#include "commands/entry_refused.h"

#include <QtTest>

namespace {

QByteArray hex(const char* digits) {
    return QByteArray::fromHex(digits);
}

QByteArray zeros(int n) {
    return QByteArray(n, '\0');
}

GprsSettingsEntry exampleEntry() {
    GprsSettingsEntry e;
    e.ipAddress = QStringLiteral("192.168.1.10");
    e.port = QStringLiteral("8001");
    e.recordIntervalIndex = 4; // "1分钟"
    e.powerModeIndex = 0;      // "正常模式"
    e.uploadIntervalIndex = 1; // "5分钟"
    e.printCountIndex = 0;     // "100"
    e.toHostName = false;
    return e;
}

const char* const ExamplePayload = "C0A8010A 411F 3C000000 00 05 6400 00";

} // namespace

Q_DECLARE_METATYPE(GprsSettingsEntry)

class TestGprsSettings : public QObject {
    Q_OBJECT
private slots:
    void write_data();
    void write();
    void writeRefused_data();
    void writeRefused();
    void read();
    void readAnswer_data();
    void readAnswer();
    void writtenSettingsReadBack();
};

void TestGprsSettings::write_data() {
    QTest::addColumn<GprsSettingsEntry>("entry");
    QTest::addColumn<QByteArray>("payload");

    QTest::newRow("the example") << exampleEntry() << hex(ExamplePayload) + zeros(30);

    GprsSettingsEntry blanks = exampleEntry();
    blanks.recordIntervalIndex = 20;
    blanks.powerModeIndex = 2;
    blanks.uploadIntervalIndex = 9;
    blanks.printCountIndex = 7;
    QTest::newRow("blank items") << blanks << hex("C0A8010A 411F 08070000 02 01 6400 00") + zeros(30);

    GprsSettingsEntry none = blanks;
    none.recordIntervalIndex = -1;
    none.uploadIntervalIndex = -1;
    none.printCountIndex = -1;
    none.powerModeIndex = 1;
    QTest::newRow("nothing selected, power saving")
        << none << hex("C0A8010A 411F 08070000 01 01 6400 00") + zeros(30);

    GprsSettingsEntry largest = exampleEntry();
    largest.ipAddress = QStringLiteral("255.0.0.1");
    largest.port = QStringLiteral("65535");
    largest.recordIntervalIndex = 19; // "4天"
    largest.uploadIntervalIndex = 8;  // "4小时"
    largest.printCountIndex = 6;      // "最大容量"
    QTest::newRow("largest items") << largest << hex("FF000001 FFFF 00460500 00 F0 3075 00") + zeros(30);

    GprsSettingsEntry host = exampleEntry();
    host.toHostName = true;
    host.hostName = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123");
    QTest::newRow("30-byte host name fills the field")
        << host << hex(ExamplePayload).chopped(1) + hex("01") + QByteArray("abcdefghijklmnopqrstuvwxyz0123");

    GprsSettingsEntry chinese = host;
    chinese.hostName = QStringLiteral("中文域名测试中文域名测试中文域");
    QTest::newRow("30 bytes of Chinese")
        << chinese
        << hex(ExamplePayload).chopped(1) + hex("01") +
               hex("D6D0CEC4D3F2C3FBB2E2CAD4D6D0CEC4D3F2C3FBB2E2CAD4D6D0CEC4D3F2");

    GprsSettingsEntry blanksAround = host;
    blanksAround.hostName = QStringLiteral("  gprs.example  ");
    blanksAround.port = QStringLiteral(" 80.01");
    QTest::newRow("blanks around the name and in the port dropped")
        << blanksAround
        << hex(ExamplePayload).chopped(1) + hex("01") + QByteArray("gprs.example") + zeros(18);
}

void TestGprsSettings::write() {
    QFETCH(GprsSettingsEntry, entry);
    QFETCH(QByteArray, payload);
    QCOMPARE(payload.size(), 45);
    const QByteArray frame = aHexToBytes(buildSetGprs(1, entry));
    QCOMPARE(frame.first(5).toHex(' '), hex("AA011E2F00").toHex(' '));
    QCOMPARE(frame.size(), 5 + 45 + 2);
    QCOMPARE(frame.mid(5, 45).toHex(' '), payload.toHex(' '));
}

void TestGprsSettings::writeRefused_data() {
    QTest::addColumn<GprsSettingsEntry>("entry");
    QTest::addColumn<bool>("notANumber");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("message");

    GprsSettingsEntry e = exampleEntry();
    e.port = QStringLiteral("65536");
    QTest::newRow("port above 65535")
        << e << false << int(EntryField::ServerPort) << QStringLiteral("数值输入有误！");
    e.port = QStringLiteral("-1");
    QTest::newRow("negative port") << e << false << int(EntryField::ServerPort)
                                   << QStringLiteral("数值输入有误！");
    e.port = QStringLiteral("80a");
    QTest::newRow("port not a number") << e << true << 0 << QString();

    e = exampleEntry();
    e.ipAddress = QStringLiteral("192.168.1.256");
    QTest::newRow("address part above 255") << e << true << 0 << QString();
    e.ipAddress = QStringLiteral("192.168.x.1");
    QTest::newRow("address part not a number") << e << true << 0 << QString();
    e.ipAddress = QStringLiteral("192.168.1");
    QTest::newRow("address with a part missing") << e << true << 0 << QString();

    e = exampleEntry();
    e.hostName = QStringLiteral("abcdefghijklmnopqrstuvwxyz01234");
    QTest::newRow("host name of 31 bytes") << e << false << int(EntryField::HostName) << QString();
    e.hostName = QStringLiteral("中文域名测试中文域名测试中文域名");
    QTest::newRow("host name of 16 Chinese characters")
        << e << false << int(EntryField::HostName) << QString();

    e = exampleEntry();
    e.powerModeIndex = -1;
    QTest::newRow("typed power mode") << e << false << int(EntryField::PowerMode) << QString();
}

void TestGprsSettings::writeRefused() {
    QFETCH(GprsSettingsEntry, entry);
    QFETCH(bool, notANumber);
    QFETCH(int, field);
    QFETCH(QString, message);
    if (notANumber) {
        QVERIFY_THROWS_EXCEPTION(ConversionError, buildSetGprs(1, entry));
        return;
    }
    try {
        buildSetGprs(1, entry);
        QFAIL("sent settings that do not fit");
    } catch (const EntryRefused& e) {
        QCOMPARE(int(e.field()), field);
        if (!message.isEmpty())
            QCOMPARE(e.message(), message);
        if (e.reason() == EntryRefused::TooLong) {
            QCOMPARE(e.limit(), qint64(30));
            QVERIFY(e.message().contains(QStringLiteral("30")));
        }
    }
}

void TestGprsSettings::read() {
    QCOMPARE(aHexToBytes(buildReadGprs(1)).toHex(' '), hex("AA011F0200CCCC").toHex(' '));
}

void TestGprsSettings::readAnswer_data() {
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QString>("ip");
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("recordIndex");
    QTest::addColumn<int>("powerMode");
    QTest::addColumn<int>("uploadIndex");
    QTest::addColumn<int>("printCount");
    QTest::addColumn<int>("printIndex");
    QTest::addColumn<bool>("toHostName");
    QTest::addColumn<QString>("hostName");

    QTest::newRow("the example") << responseFrame(0x1F, hex(ExamplePayload) + zeros(30))
                                 << QStringLiteral("192.168.1.10") << 8001 << 4 << 0 << 1 << 100 << 0 << false
                                 << QString();
    QTest::newRow("1800 s, 30000 records, host name")
        << responseFrame(0x1F,
                         hex("0A000001 5000 08070000 01 F0 3075 01") + QByteArray("gprs.example") + zeros(18))
        << QStringLiteral("10.0.0.1") << 80 << 10 << 1 << 8 << 30000 << 6 << true
        << QStringLiteral("gprs.example");
    QTest::newRow("1801 s, 150 records, unknown upload interval")
        << responseFrame(0x1F, hex("00000000 0100 09070000 00 07 9600 00") + zeros(30))
        << QStringLiteral("0.0.0.0") << 1 << -1 << 0 << -1 << 150 << -1 << false << QString();
    QTest::newRow("30-byte Chinese host name")
        << responseFrame(0x1F, hex(ExamplePayload).chopped(1) + hex("02") +
                                   hex("D6D0CEC4D3F2C3FBB2E2CAD4D6D0CEC4D3F2C3FBB2E2CAD4D6D0CEC4D3F2"))
        << QStringLiteral("192.168.1.10") << 8001 << 4 << 0 << 1 << 100 << 0 << true
        << QStringLiteral("中文域名测试中文域名测试中文域");
    // A short answer: the sum and end byte lie where the fields would be and must read as nothing.
    QTest::newRow("answer without payload") << responseFrame(0x1F, QByteArray()) << QStringLiteral("0.0.0.0")
                                            << 0 << 0 << 0 << -1 << 0 << -1 << false << QString();
}

void TestGprsSettings::readAnswer() {
    QFETCH(QByteArray, frame);
    QFETCH(QString, ip);
    QFETCH(int, port);
    QFETCH(int, recordIndex);
    QFETCH(int, powerMode);
    QFETCH(int, uploadIndex);
    QFETCH(int, printCount);
    QFETCH(int, printIndex);
    QFETCH(bool, toHostName);
    QFETCH(QString, hostName);
    const GprsSettings s = decodeGprsSettings(frame);
    QCOMPARE(s.ipText(), ip);
    QCOMPARE(s.port, port);
    QCOMPARE(gprsRecordIntervals().indexOfValue(s.recordIntervalSeconds), recordIndex);
    QCOMPARE(s.powerMode, powerMode);
    QCOMPARE(gprsUploadIntervals().indexOfValue(s.uploadIntervalMinutes), uploadIndex);
    QCOMPARE(s.printCount, printCount);
    QCOMPARE(gprsPrintCounts().indexOfValue(s.printCount), printIndex);
    QCOMPARE(s.toHostName(), toHostName);
    QCOMPARE(s.hostName, hostName);
}

// The write request and the read answer share one layout: what is written reads back.
void TestGprsSettings::writtenSettingsReadBack() {
    GprsSettingsEntry e = exampleEntry();
    e.ipAddress = QStringLiteral("10.20.30.40");
    e.port = QStringLiteral("9000");
    e.recordIntervalIndex = 13; // "3小时"
    e.powerModeIndex = 1;
    e.uploadIntervalIndex = 6; // "1小时"
    e.printCountIndex = 3;     // "500"
    e.toHostName = true;
    e.hostName = QStringLiteral("上传.example");
    QByteArray frame = aHexToBytes(buildSetGprs(1, e));
    frame[0] = char(0xBB);
    const GprsSettings s = decodeGprsSettings(frame);
    QCOMPARE(s.ipText(), e.ipAddress);
    QCOMPARE(s.port, 9000);
    QCOMPARE(s.recordIntervalSeconds, 10800u);
    QCOMPARE(s.powerMode, 1);
    QCOMPARE(s.uploadIntervalMinutes, 60);
    QCOMPARE(s.printCount, 500);
    QVERIFY(s.toHostName());
    QCOMPARE(s.hostName, e.hostName);
}

QTEST_APPLESS_MAIN(TestGprsSettings)
#include "test_gprs_settings.moc"
