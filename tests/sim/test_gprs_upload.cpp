// The GPRS upload packets the simulated logger sends: exact bytes, and what the program's
// decoder makes of them.

#include "history/gprs_log.h"
#include "sim/sim_gprs_upload.h"

#include <QtTest>

class TestGprsUpload : public QObject {
    Q_OBJECT
private slots:
    void coordinateBytes_data();
    void coordinateBytes();
    void onePacketByteForByte();
    void cellFormatDecodes();
    void fullPacketFitsOneRead_data();
    void fullPacketFitsOneRead();
};

void TestGprsUpload::coordinateBytes_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("east") << 120.123456 << QByteArray::fromHex("7801E240");
    QTest::newRow("west") << -120.123456 << QByteArray::fromHex("7881E240");
    QTest::newRow("five millionths") << 0.000005 << QByteArray::fromHex("00000005");
    QTest::newRow("just south") << -0.5 << QByteArray::fromHex("0087A120");
    QTest::newRow("rounds up a degree") << 29.9999999 << QByteArray::fromHex("1E000000");
}

void TestGprsUpload::coordinateBytes() {
    QFETCH(double, value);
    QFETCH(QByteArray, bytes);
    const std::array<quint8, 4> got = gprsCoordinateBytes(value);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(got.data()), 4), bytes);
}

void TestGprsUpload::onePacketByteForByte() {
    SimGprsUpload upload;
    upload.channels = {{1, 1}};
    SimGprsRecord r;
    r.time = QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9));
    r.battery = 90;
    r.power = 1;
    r.longitude = 120.123456;
    r.latitude = -30.5;
    r.satellites = 7;
    r.values = {-123};
    upload.records = {r};
    QCOMPARE(buildGprsUpload(upload).toHex().toUpper(),
             QByteArray("31000000000000000000000000010000000000000000000101010000012403050708095A017801E240"
                        "1E87A12007807B320A"));
}

void TestGprsUpload::cellFormatDecodes() {
    SimGprsUpload upload;
    upload.lonLat = false;
    upload.channels = {{1, 1}, {2, 2}, {5, 5}};
    for (int i = 0; i < 3; ++i) {
        SimGprsRecord r;
        r.time = QDateTime(QDate(2031, 12, 31), QTime(23, 59, 50 + i));
        r.power = i;
        r.lac = 0x1234 + i;
        r.cid = 0xABCD;
        r.values = {i, -32766, 32767};
        upload.records << r;
    }
    const std::optional<GprsPacket> p = aDecodeGprsPacket(buildGprsUpload(upload));
    QVERIFY(p);
    QVERIFY(!p->lonLat);
    QCOMPARE(p->channelCount, 3);
    QCOMPARE(p->kinds[2], 5);
    QCOMPARE(p->units[1], 2);
    QCOMPARE(p->records.size(), 3);
    QVERIFY(p->errorText.isEmpty());
    const GprsRecord& last = p->records[2];
    QCOMPARE(last.stamp, (TimeFields{31, 12, 31, 23, 59, 52}));
    QCOMPARE(last.power, 2);
    QCOMPARE(last.lac, 0x1236);
    QCOMPARE(last.cid, 0xABCD);
    QCOMPARE(last.values[0], 2);
    QCOMPARE(last.values[1], -32766);
    QCOMPARE(last.values[2], 32767);
}

void TestGprsUpload::fullPacketFitsOneRead_data() {
    QTest::addColumn<int>("channels");
    for (int n : {0, 2, 8})
        QTest::addRow("%d channels", n) << n;
}

void TestGprsUpload::fullPacketFitsOneRead() {
    QFETCH(int, channels);
    SimProfile profile = SimProfile::byName(QStringLiteral("gprs"));
    profile.channels.resize(channels);
    const QDateTime start(QDate(2024, 1, 1), QTime(0, 0));
    // The server reads 1501 bytes at a time: the largest packet fills it, one more record would not.
    const QByteArray packet = simGprsUploadPacket(profile, 3, 1000, start);
    QVERIFY(packet.size() <= 1501);
    QVERIFY(packet.size() + 2 * channels + 17 > 1501);
    const std::optional<GprsPacket> p = aDecodeGprsPacket(packet);
    QVERIFY(p);
    QCOMPARE(p->records.size(), gprsRecordsPerPacket(channels));
    QCOMPARE(p->channelCount, channels);
}

QTEST_GUILESS_MAIN(TestGprsUpload)
#include "test_gprs_upload.moc"
