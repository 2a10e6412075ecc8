#include "device/channel_format.h"
#include "history_view/channel_colors.h"

#include <QtTest>

class TestChannelFormat : public QObject {
    Q_OBJECT
private slots:
    void names_data();
    void names();
    void values_data();
    void values();
    void colors();
    void timeFields_data();
    void timeFields();
    void durations_data();
    void durations();
};

void TestChannelFormat::names_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("chinese");
    QTest::addColumn<QString>("report");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("unitText");
    QTest::newRow("1") << 1 << "温度"
                       << "Temp" << 1 << "<℃>";
    QTest::newRow("2") << 2 << "湿度"
                       << "Humi" << 2 << "<%RH>";
    QTest::newRow("6") << 6 << "电流"
                       << "E-Current " << 6 << "<A>";
    QTest::newRow("18") << 18 << "光合有效辐射"
                        << "PAR" << 18 << "<kpa>";
    QTest::newRow("19") << 19 << ""
                        << "" << 19 << "<kw>";
    QTest::newRow("23") << 23 << "PM2.5值"
                        << "PM2.5" << 22 << "<x10umol/m2/s>";
    QTest::newRow("25") << 25 << "库门"
                        << "" << 13 << "";
    QTest::newRow("33") << 33 << "水深"
                        << "" << 32 << "<g/m3>";
    QTest::newRow("34") << 34 << ""
                        << "" << 33 << "";
    QTest::newRow("0") << 0 << ""
                       << "" << 0 << "";
    QTest::newRow("15") << 15 << "水位"
                        << "Water-Level" << 15 << "<>";
    QTest::newRow("10") << 10 << "风向"
                        << "W-Direction" << 10 << "<°>";
    QTest::newRow("14") << 14 << "次数"
                        << "Frequency" << 14 << "<次>";
    QTest::newRow("-1") << -1 << ""
                        << "" << 20 << "";
}

void TestChannelFormat::names() {
    QFETCH(int, kind);
    QFETCH(QString, chinese);
    QFETCH(QString, report);
    QFETCH(int, unit);
    QFETCH(QString, unitText);
    QCOMPARE(aKindName(kind), chinese);
    QCOMPARE(aKindName(kind, NameForm::Report), report);
    QCOMPARE(aUnitText(unit), unitText);
}

void TestChannelFormat::values_data() {
    QTest::addColumn<int>("raw");
    QTest::addColumn<int>("decimalsCode");
    QTest::addColumn<QString>("text");
    QTest::newRow("305 none") << 305 << 1 << "305";
    QTest::newRow("305 one") << 305 << 2 << "30.5";
    QTest::newRow("305 two") << 305 << 3 << "3.05";
    QTest::newRow("-5 one") << -5 << 2 << "-0.5";
    QTest::newRow("7 code 0") << 7 << 0 << "0.7";
    QTest::newRow("7 code 9") << 7 << 9 << "0.7";
}

void TestChannelFormat::values() {
    QFETCH(int, raw);
    QFETCH(int, decimalsCode);
    QFETCH(QString, text);
    DeviceStatus s;
    s.channels[3].decimalsCode = decimalsCode;
    QCOMPARE(aChannelValueToStr(raw, 3, s), text);
    QCOMPARE(aValueToStrByDecimals(raw, decimalsCode), text);
    // An index outside the slots falls back to one decimal.
    QCOMPARE(aChannelValueToStr(15, 8, s), QStringLiteral("1.5"));
}

void TestChannelFormat::colors() {
    const QList<QColor> expected = {QColor(0, 0, 255),   QColor(255, 0, 0),     QColor(0, 128, 0),
                                    QColor(128, 0, 128), QColor(128, 128, 128), QColor(0, 255, 0),
                                    QColor(255, 0, 255), QColor(128, 128, 0)};
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(aChannelColor(i), expected[i]);
    QCOMPARE(aChannelColor(8), expected[0]);
    QCOMPARE(aChannelColor(-1), expected[0]);
}

void TestChannelFormat::timeFields_data() {
    QTest::addColumn<QList<int>>("fields");
    QTest::addColumn<QString>("text");
    QTest::newRow("zeros") << QList<int>{0, 0, 0, 0, 0, 0} << "2000-01-01 00:00:00";
    QTest::newRow("normal") << QList<int>{24, 3, 5, 7, 8, 9} << "2024-03-05 07:08:09";
    QTest::newRow("month 13") << QList<int>{24, 13, 5, 7, 8, 9} << "2024-01-05 07:08:09";
    QTest::newRow("day 32, hour 24, minute 60, second 60")
        << QList<int>{9, 12, 32, 24, 60, 60} << "2009-12-01 00:00:00";
    QTest::newRow("upper bounds") << QList<int>{99, 12, 31, 23, 59, 59} << "2099-12-31 23:59:59";
}

void TestChannelFormat::timeFields() {
    QFETCH(QList<int>, fields);
    QFETCH(QString, text);
    QCOMPARE(aTimeFieldsToText({fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]}), text);
}

void TestChannelFormat::durations_data() {
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("dayHhMm");
    QTest::newRow("0") << qint64(0) << "0"
                       << "00:00";
    QTest::newRow("59") << qint64(59) << "59秒"
                        << "00:00";
    QTest::newRow("60") << qint64(60) << "1分钟"
                        << "00:01";
    QTest::newRow("3600") << qint64(3600) << "1小时"
                          << "01:00";
    QTest::newRow("86400") << qint64(86400) << "1天"
                           << "1天00:00";
    QTest::newRow("90061") << qint64(90061) << "1天1小时1分钟1秒"
                           << "1天01:01";
    QTest::newRow("100 days") << qint64(8640000 + 7200) << "100天2小时"
                              << "100天02:00";
}

void TestChannelFormat::durations() {
    QFETCH(qint64, seconds);
    QFETCH(QString, text);
    QFETCH(QString, dayHhMm);
    QCOMPARE(aSecondsToText(seconds), text);
    QCOMPARE(aSecondsToDayHhMm(seconds), dayHhMm);
}

QTEST_APPLESS_MAIN(TestChannelFormat)
#include "test_channel_format.moc"
