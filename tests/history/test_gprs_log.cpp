#include "history/gprs_log.h"
#include "history/gprs_table.h"

#include <QtTest>

namespace {

struct Rec {
    QByteArray stamp = QByteArray::fromHex("241231235958");
    int battery = 87, power = 1;
    QByteArray position = QByteArray::fromHex("7801E240"
                                              "1E00100F"); // 120.123456, 30.004111
    int satellites = 9;
    QList<int> values;
};

void s16(QByteArray& b, int v) {
    const int raw = v < 0 ? 0x8000 | -v : v;
    b += char(raw >> 8);
    b += char(raw & 0xFF);
}

// An upload packet with n channels (kind k+1, unit k+1), the given announced record count and records.
QByteArray packet(int format, int n, int announced, const QList<Rec>& records) {
    QByteArray b;
    b += char(0x31);
    b += QByteArray(12, 'x');
    b += char(format);
    b += QByteArray(9, 'y');
    b += char(n);
    for (int k = 0; k < n; ++k) {
        b += char(k + 1);
        b += char(k + 1);
        b += char(0);
    }
    s16(b, announced);
    for (const Rec& r : records) {
        b += r.stamp;
        b += char(r.battery);
        b += char(r.power);
        b += r.position;
        b += char(r.satellites);
        for (int k = 0; k < n; ++k)
            s16(b, k < r.values.size() ? r.values[k] : 0);
    }
    b += char(0x32);
    quint8 sum = 0;
    for (char c : b)
        sum = quint8(sum + quint8(c));
    b += char(sum);
    return b;
}

} // namespace

class TestGprsLog : public QObject {
    Q_OBJECT
private slots:
    void coordinates_data();
    void coordinates();
    void rowsInBothFormats();
    void uploadSum_data();
    void uploadSum();
    void notAPacket();
    void countsThatDoNotFit_data();
    void countsThatDoNotFit();
    void badTimeStopsAfterEarlierRecords();
    void uploadsEnterTable_data();
    void uploadsEnterTable();
};

void TestGprsLog::coordinates_data() {
    QTest::addColumn<int>("degrees");
    QTest::addColumn<int>("high");
    QTest::addColumn<int>("low");
    QTest::addColumn<QString>("text");
    QTest::newRow("east") << 120 << 0x01E2 << 0x40 << "120.123456";
    QTest::newRow("west") << 120 << 0x81E2 << 0x40 << "-120.123456";
    QTest::newRow("low byte only") << 30 << 0 << 5 << "30.000005";
    QTest::newRow("negative zero high") << 0 << 0x8000 << 5 << "-5e-06";
}

void TestGprsLog::coordinates() {
    QFETCH(int, degrees);
    QFETCH(int, high);
    QFETCH(int, low);
    QFETCH(QString, text);
    QCOMPARE(QString::number(gprsCoordinate(degrees, quint16(high), low), 'g', 15), text);
}

void TestGprsLog::rowsInBothFormats() {
    DeviceStatus status;
    status.channels[0].decimalsCode = 2;
    status.channels[1].decimalsCode = 1;
    Rec a;
    a.values = {235, -32766};
    Rec b;
    b.power = 4;
    b.position = QByteArray::fromHex("81E2C0DE"
                                     "00000000");
    b.values = {-5, 60};
    b.stamp = QByteArray::fromHex("250101000000");

    const auto lonLat = aDecodeGprsPacket(packet(1, 2, 2, {a, b}));
    QVERIFY(lonLat);
    QCOMPARE(gprsHeader(*lonLat), (QStringList{"序号", "时间", "电量<%>", "外部电源", "经度", "纬度",
                                               "卫星数", "1温度<℃>", "2湿度<%RH>"}));
    QCOMPARE(gprsRow(*lonLat, lonLat->records[0], 1, status),
             (QStringList{"1", "2024-12-31_23:59:58", "87", "有电", "120.123456", "30.004111", "9", "23.5",
                          "null"}));

    const auto cell = aDecodeGprsPacket(packet(2, 2, 2, {a, b}));
    QVERIFY(cell);
    QCOMPARE(gprsHeader(*cell).mid(4, 2), (QStringList{"LAC", "CID"}));
    QCOMPARE(gprsRow(*cell, cell->records[1], 2, status),
             (QStringList{"2", "2025-01-01_00:00:00", "87", "", "33250", "49374", "9", "-0.5", "60"}));

    const auto empty = aDecodeGprsPacket(packet(1, 3, 0, {}));
    QVERIFY(empty);
    QCOMPARE(empty->records.size(), 0);
    QCOMPARE(gprsHeader(*empty).size(), 10);
}

void TestGprsLog::uploadSum_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("decoded");
    QTest::newRow("01 02 03 06: sum matches") << QByteArray::fromHex("01020306") << true;
    QTest::newRow("01 02 03 07: only logged") << QByteArray::fromHex("01020307") << false;
    QTest::newRow("single byte") << QByteArray::fromHex("00") << false;
    QTest::newRow("sum wraps") << QByteArray::fromHex("FF0201") << true;
}

void TestGprsLog::uploadSum() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, decoded);
    QCOMPARE(hasGprsUploadSum(bytes), decoded);
}

void TestGprsLog::notAPacket() {
    QByteArray p = packet(1, 1, 0, {});
    QVERIFY(aDecodeGprsPacket(p));
    p[0] = 0x30;
    QVERIFY(!aDecodeGprsPacket(p));
    QVERIFY(!aDecodeGprsPacket(QByteArray::fromHex("01020306")));
    QVERIFY(!aDecodeGprsPacket(QByteArray::fromHex("06")));
    QVERIFY(!aDecodeGprsPacket(QByteArray()));
}

void TestGprsLog::countsThatDoNotFit_data() {
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("announced");
    QTest::addColumn<int>("sent");
    QTest::addColumn<int>("decoded");
    QTest::addColumn<int>("shownChannels");
    QTest::newRow("exact") << 2 << 3 << 3 << 3 << 2;
    QTest::newRow("announces more than sent") << 2 << 1000 << 2 << 2 << 2;
    QTest::newRow("negative count") << 2 << -3 << 2 << 0 << 2;
    QTest::newRow("nine channels, eight shown") << 9 << 1 << 1 << 1 << 8;
    QTest::newRow("255 channels, short packet") << 255 << 5 << 0 << 0 << 8;
}

void TestGprsLog::countsThatDoNotFit() {
    QFETCH(int, channels);
    QFETCH(int, announced);
    QFETCH(int, sent);
    QFETCH(int, decoded);
    QFETCH(int, shownChannels);
    Rec r;
    r.values = QList<int>(channels, 7);
    const QByteArray full = packet(1, channels, announced, QList<Rec>(sent, r));
    // The bytes after the packet must never be read.
    const QByteArray backing = full + QByteArray(4096, '\x11');
    const auto p = aDecodeGprsPacket(QByteArrayView(backing.constData(), full.size()));
    QVERIFY(p);
    QCOMPARE(p->records.size(), decoded);
    QCOMPARE(p->channelCount, shownChannels);
    for (const GprsRecord& rec : p->records)
        QCOMPARE(rec.values[shownChannels - 1], 7);
}

void TestGprsLog::badTimeStopsAfterEarlierRecords() {
    Rec good;
    Rec badBcd;
    badBcd.stamp = QByteArray::fromHex("2412311A5958");
    Rec badDate;
    badDate.stamp = QByteArray::fromHex("240230120000");
    auto p = aDecodeGprsPacket(packet(1, 1, 3, {good, badBcd, good}));
    QCOMPARE(p->records.size(), 1);
    QVERIFY(!p->errorText.isEmpty());
    p = aDecodeGprsPacket(packet(1, 1, 2, {good, badDate}));
    QCOMPARE(p->records.size(), 1);
    QVERIFY(!p->errorText.isEmpty());
}

// How an upload of two one-channel records lands in tables of different sizes: row 0 takes the
// upload's header, the records go below the rows already there, numbered on from them.
void TestGprsLog::uploadsEnterTable_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("firstNumber"); // shown in the first appended record's first cell
    QTest::newRow("empty table: a header row is made") << 0 << 0 << 0;
    QTest::newRow("start-up table: header and one empty row") << 2 << 10 << 1;
    QTest::newRow("after an earlier upload of three") << 5 << 8 << 4;
}

void TestGprsLog::uploadsEnterTable() {
    QFETCH(int, rows);
    QFETCH(int, columns);
    QFETCH(int, firstNumber);
    HistoryTableModel table;
    table.resize(rows, columns);
    if (rows > 1)
        table.setText(1, 0, QStringLiteral("kept"));
    Rec a, b;
    a.values = {11};
    b.values = {12};
    const auto decoded = aDecodeGprsPacket(packet(1, 1, 2, {a, b}));
    QVERIFY(decoded);
    const int last = appendGprsUpload(table, *decoded, DeviceStatus{});
    const int before = qMax(rows, 1);
    QCOMPARE(table.rowCount(), before + 2);
    QCOMPARE(last, before + 1);
    QCOMPARE(table.columnCount(), 8); // seven fixed columns and one channel
    QCOMPARE(table.text(0, 0), QStringLiteral("序号"));
    QCOMPARE(table.text(0, 7), QStringLiteral("1温度<℃>"));
    QCOMPARE(table.text(before, 0), QString::number(firstNumber));
    QCOMPARE(table.text(before + 1, 0), QString::number(firstNumber + 1));
    if (rows > 1)
        QCOMPARE(table.text(1, 0), QStringLiteral("kept"));
}

QTEST_APPLESS_MAIN(TestGprsLog)
#include "test_gprs_log.moc"
