#include "device/info_view.h"

#include <QtTest>

class TestInfoView : public QObject {
    Q_OBJECT
private slots:
    void recordingTexts_data();
    void recordingTexts();
    void firmware_data();
    void firmware();
    void channelLine();
    void identityTexts();
    void selectorItems();
};

void TestInfoView::recordingTexts_data() {
    QTest::addColumn<quint32>("count");
    QTest::addColumn<quint32>("capacity");
    QTest::addColumn<quint32>("interval");
    QTest::addColumn<QString>("capacityText");
    QTest::addColumn<QString>("countText");
    QTest::addColumn<QString>("intervalText");
    QTest::newRow("partly filled") << 1234u << 10000u << 600u
                                   << "总  容  量：10000【总耗时：69天10小时40分钟】"
                                   << "记录次数：1234【12.34%，剩余耗时：60天21小时】"
                                   << "记录间隔：10分钟";
    QTest::newRow("odd interval") << 5u << 100u << 3661u << "总  容  量：100【总耗时：4天5小时41分钟40秒】"
                                  << "记录次数：5【5.00%，剩余耗时：4天36分钟35秒】"
                                  << "记录间隔：1小时1分钟1秒";
    QTest::newRow("full") << 10000u << 10000u << 60u << "总  容  量：10000【总耗时：6天22小时40分钟】"
                          << "记录次数：10000【100.00%，剩余耗时：0】"
                          << "记录间隔：1分钟";
    QTest::newRow("beyond capacity") << 12u << 10u << 2u << "总  容  量：10【总耗时：20秒】"
                                     << "记录次数：12【120.00%，剩余耗时：0】"
                                     << "记录间隔：2秒";
    QTest::newRow("no capacity") << 0u << 0u << 0u << "总  容  量：0【总耗时：0】"
                                 << "记录次数：0【0.00%，剩余耗时：0】"
                                 << "记录间隔：0";
    // recordCount x 10000 overflows 32 bits here.
    QTest::newRow("large counts") << 4000000000u << 4294967295u << 1u
                                  << "总  容  量：4294967295【总耗时：49710天6小时28分钟15秒】"
                                  << "记录次数：4000000000【93.13%，剩余耗时：3413天23小时21分钟35秒】"
                                  << "记录间隔：1秒";
    // Capacity and interval as large as their fields go: the products need all 64 bits, unsigned.
    QTest::newRow("largest capacity and interval")
        << 1u << 4294967295u << 4294967295u
        << "总  容  量：4294967295【总耗时：213503982235180天18小时3分钟45秒】"
        << "记录次数：1【0.00%，剩余耗时：213503982185470天11小时35分钟30秒】"
        << "记录间隔：49710天6小时28分钟15秒";
}

void TestInfoView::recordingTexts() {
    QFETCH(quint32, count);
    QFETCH(quint32, capacity);
    QFETCH(quint32, interval);
    QFETCH(QString, capacityText);
    QFETCH(QString, countText);
    QFETCH(QString, intervalText);
    DeviceStatus s;
    s.recordCount = count;
    s.capacity = capacity;
    s.recordInterval = interval;
    const InfoViewTexts t = infoViewTexts(s);
    QCOMPARE(t.capacity, capacityText);
    QCOMPARE(t.recordCount, countText);
    QCOMPARE(t.interval, intervalText);
}

void TestInfoView::firmware_data() {
    QTest::addColumn<int>("upgradable");
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("series");
    QTest::addColumn<int>("flags");
    QTest::addColumn<int>("flags2");
    QTest::addColumn<int>("pNumber");
    QTest::addColumn<int>("markT");
    QTest::addColumn<QString>("node");
    QTest::newRow("example") << 1 << "140" << 1 << 0x89 << 0x01 << 3 << 0 << "固件版本：140.S2B.P3GK";
    QTest::newRow("not upgradable") << 0 << "140" << 1 << 0x89 << 0x01 << 3 << 1 << "固件版本：140";
    QTest::newRow("old firmware") << 1 << "21" << 0 << 0xFF << 0x03 << 3 << 1 << "固件版本：21.S1";
    QTest::newRow("series 2") << 1 << "132" << 2 << 0x01 << 0 << 5 << 0 << "固件版本：132.S0";
    QTest::newRow("every letter") << 1 << "139" << 0 << 0xFF << 0x03 << 12 << 1
                                  << "固件版本：139.S1BH.P12LAGM2YTK";
    QTest::newRow("M1 without M2") << 1 << "133" << 0 << 0x10 << 0 << 0 << 0 << "固件版本：133.S1.M1";
    QTest::newRow("no flags") << 1 << "150" << 1 << 0 << 0 << 0 << 1 << "固件版本：150.S2T";
    QTest::newRow("H and K need newer") << 1 << "136" << 0 << 0x80 << 0x03 << 0 << 0 << "固件版本：136.S1B.";
    QTest::newRow("196 only K") << 1 << "140" << 2 << 196 << 0x03 << 9 << 1 << "固件版本：140.S0K";
}

void TestInfoView::firmware() {
    QFETCH(int, upgradable);
    QFETCH(QString, version);
    QFETCH(int, series);
    QFETCH(int, flags);
    QFETCH(int, flags2);
    QFETCH(int, pNumber);
    QFETCH(int, markT);
    QFETCH(QString, node);
    DeviceStatus s;
    s.upgradable = upgradable;
    s.firmwareText = version;
    s.firmwareSeries = series;
    s.featureFlags = flags;
    s.featureFlags2 = flags2;
    s.pNumber = pNumber;
    s.markT = markT;
    const InfoViewTexts t = infoViewTexts(s);
    QCOMPARE(t.firmware, node);
    QCOMPARE(t.firmwareNote, upgradable == 1 ? "警告：固件S1x和S2x不能搞错，当前" + node + QString(12, u' ')
                                             : QStringLiteral("固件版本不带.S ，无法升级          "));
}

void TestInfoView::channelLine() {
    DeviceStatus s;
    s.channelCount = 2;
    s.channels[0] = {0, 305, 1, -400, 850, 1, 1, 2};
    s.channels[1] = {-5, 9000, 0, 0, 10000, 2, 2, 3};
    const InfoViewTexts t = infoViewTexts(s);
    QCOMPARE(t.channelCount, QStringLiteral("通  道  数：2"));
    QCOMPARE(
        t.channels,
        QStringList(
            {QStringLiteral(
                 "通  道    "
                 "1：【温度<℃>】，量程【-40.0，85.0】，报警下限上限【0.0，30.5】，报警开关【打开】"),
             QStringLiteral(
                 "通  道    "
                 "2：【湿度<%RH>】，量程【0.00，100.00】，报警下限上限【-0.05，90.00】，报警开关【关闭】")}));

    // More channels announced than an instrument can carry: only the decoded ones get lines.
    s.channelCount = 200;
    QCOMPARE(infoViewTexts(s).channels.size(), MaxChannels);
    s.channelCount = 0;
    QCOMPARE(infoViewTexts(s).channelCount, QStringLiteral("通  道  数：0"));
    QVERIFY(infoViewTexts(s).channels.isEmpty());
}

void TestInfoView::identityTexts() {
    DeviceStatus s;
    s.address = 255;
    s.userName = QByteArray("USER\0junk", 9).leftJustified(20, '\0');
    s.title = QByteArray("\xb2\xe2\xca\xd4").leftJustified(20, '\0'); // 测试
    s.model = QByteArray("KV20-TH").leftJustified(10, '\0');
    s.serialNumber = "SN0001";
    s.startTimeUnset = 1;
    s.startTime = {24, 3, 5, 7, 8, 9};
    s.startModeText = QStringLiteral("定时启动");
    const InfoViewTexts t = infoViewTexts(s);
    QCOMPARE(t.address, QStringLiteral("地        址：255"));
    QCOMPARE(t.userName, QStringLiteral("用  户  名：USER"));
    QCOMPARE(t.title, QStringLiteral("标        题：测试"));
    QCOMPARE(t.model, QStringLiteral("型        号：KV20-TH"));
    QCOMPARE(t.serialNumber, QStringLiteral("S    N   号：SN0001"));
    QCOMPARE(t.startTime, QStringLiteral("启动时间：----------------"));
    QCOMPARE(t.startMode, QStringLiteral("启动方式：定时启动"));
    s.startTimeUnset = 0;
    QCOMPARE(infoViewTexts(s).startTime, QStringLiteral("启动时间：2024-03-05 07:08:09"));
    QCOMPARE(connectedStatusText(7, 125), QStringLiteral("连接成功，地址=7，连接耗时：125ms"));
}

void TestInfoView::selectorItems() {
    const std::pair<quint32, int> intervals[] = {{2, 0},       {10, 2},    {600, 7}, {18000, 12}, {86400, 14},
                                                 {864000, 18}, {3661, -1}, {0, -1},  {4, -1}};
    for (const auto& [seconds, item] : intervals)
        QCOMPARE(intervalItemIndex(seconds), item);
    QCOMPARE(startModeItemIndex(QStringLiteral("立即启动")), 0);
    QCOMPARE(startModeItemIndex(QStringLiteral("定时启动")), 1);
    QCOMPARE(startModeItemIndex(QStringLiteral("手动启动")), 2);
    QCOMPARE(startModeItemIndex(QStringLiteral("数据错误")), -1);
    QCOMPARE(stopModeItemIndex(QStringLiteral("先进先出")), 0);
    QCOMPARE(stopModeItemIndex(QStringLiteral("记满停止")), 1);
    QCOMPARE(stopModeItemIndex(QStringLiteral("手动停止")), 2);
    QCOMPARE(stopModeItemIndex(QStringLiteral("定时停止")), 3);
    QCOMPARE(stopModeItemIndex(QStringLiteral("数据错误")), -1);
}

QTEST_GUILESS_MAIN(TestInfoView)
#include "test_info_view.moc"
