#include "link/chain_rules.h"
#include "link/link_state.h"

#include <QtTest>

class TestChainRules : public QObject {
    Q_OBJECT
private slots:
    void readsAfterConnect_data();
    void readsAfterConnect();
    void writeBack_data();
    void writeBack();
};

void TestChainRules::readsAfterConnect_data() {
    QTest::addColumn<QString>("response");
    QTest::addColumn<int>("autoRead");
    QTest::addColumn<bool>("gprs");
    QTest::addColumn<int>("value"); // startTimeUnset or firmware number
    QTest::addColumn<int>("next");
    QTest::addColumn<int>("autoAfter");
    QTest::newRow("connect, start time unset") << "connect" << 1 << false << 1 << int(FollowSetClock) << 1;
    QTest::newRow("connect, start time set") << "connect" << 1 << false << 0 << 0 << 0;
    QTest::newRow("connect, no chain") << "connect" << 0 << false << 1 << 0 << 0;
    QTest::newRow("clock, G model") << "clock" << 1 << true << 0 << int(FollowReadGprs) << 1;
    QTest::newRow("clock, other model") << "clock" << 1 << false << 0 << 0 << 0;
    QTest::newRow("clock, no chain") << "clock" << 0 << true << 0 << 0 << 0;
    QTest::newRow("gprs, G model") << "gprs" << 1 << true << 0 << int(FollowReadPhones) << 1;
    QTest::newRow("gprs, other") << "gprs" << 1 << false << 0 << 0 << 0;
    QTest::newRow("phones, firmware 90") << "phones" << 1 << true << 90 << int(FollowReadSmsTitle) << 1;
    QTest::newRow("phones, firmware 89") << "phones" << 1 << true << 89 << 0 << 0;
    QTest::newRow("phones, other model") << "phones" << 1 << false << 140 << 0 << 0;
    QTest::newRow("phones, no chain") << "phones" << 0 << true << 140 << 0 << 0;
    QTest::newRow("sms title ends") << "title" << 1 << true << 0 << 0 << 0;
}

void TestChainRules::readsAfterConnect() {
    QFETCH(QString, response);
    QFETCH(int, autoRead);
    QFETCH(bool, gprs);
    QFETCH(int, value);
    QFETCH(int, next);
    QFETCH(int, autoAfter);
    ChainStep s{};
    if (response == "connect")
        s = afterConnect(autoRead, value);
    else if (response == "clock")
        s = afterClockSet(autoRead, gprs);
    else if (response == "gprs")
        s = afterGprsRead(autoRead, gprs);
    else if (response == "phones")
        s = afterPhonesRead(autoRead, gprs, value);
    else
        s = afterSmsTitleRead(autoRead);
    QCOMPARE(s.followUpAction, next);
    QCOMPARE(s.autoReadChain, autoAfter);
}

void TestChainRules::writeBack_data() {
    QTest::addColumn<QString>("response");
    QTest::addColumn<int>("restore");
    QTest::addColumn<bool>("gprs");
    QTest::addColumn<int>("next");
    QTest::newRow("params, normal") << "params" << 0 << false << int(FollowRestartRecording);
    QTest::newRow("params, write-back") << "params" << 1 << false << int(FollowWriteModelSerial);
    QTest::newRow("model, G write-back") << "model" << 1 << true << int(FollowWritePhones);
    QTest::newRow("model, other write-back") << "model" << 1 << false << 0;
    QTest::newRow("model, normal") << "model" << 0 << true << 0;
    QTest::newRow("phones, write-back") << "phones" << 1 << false << int(FollowWriteSmsTitle);
    QTest::newRow("phones, normal") << "phones" << 0 << true << 0;
    QTest::newRow("title, G write-back") << "title" << 1 << true << int(FollowWriteGprs);
    QTest::newRow("title, other") << "title" << 1 << false << 0;
}

void TestChainRules::writeBack() {
    QFETCH(QString, response);
    QFETCH(int, restore);
    QFETCH(bool, gprs);
    QFETCH(int, next);
    int got = -1;
    if (response == "params")
        got = afterRecordingParamsSet(restore);
    else if (response == "model")
        got = afterModelSerialSet(restore, gprs);
    else if (response == "phones")
        got = afterPhonesSet(restore);
    else
        got = afterSmsTitleSet(restore, gprs);
    QCOMPARE(got, next);
}

QTEST_APPLESS_MAIN(TestChainRules)
#include "test_chain_rules.moc"
