// The link with the real serial component on a pseudo-terminal, against the simulated instrument.

#include "../support/fake_link_peers.h"
#include "device/device_status.h"
#include "link/command_link.h"
#include "serial/tcomm_transport.h"
#include "sim/simulator.h"

#include <QtTest>

namespace {

const QString Timeout = QStringLiteral("连接超时，请重新连接");

struct Bench {
    Simulator sim;
    FakeHost host;
    TComm comm;
    TCommTransport serial{comm};
    CommandLink link{host, serial};
    DeviceStatus status;
    int connects = 0;
    QStringList ports;

    Bench() {
        sim.startPty();
        TCommTransport::applyFormValues(comm);
        link.state().responseTimeoutMs = 1200; // longer than a three-piece answer with its pauses
        link.openPauseMs = 20;
        link.portLister = [this] { return ports; };
        link.dispatcher().analyzeAndDisplay = [this](QByteArrayView frame) {
            ++connects;
            status = aLogStateAnalyze(frame, status).status;
            return status.startTimeUnset;
        };
        ports = {sim.ptyName()};
    }
    void connectNow() { link.Button2Click(); }
};

} // namespace

class TestLinkOverPty : public QObject {
    Q_OBJECT
private slots:
    void scanFindsInstrument();
    void faultsEndAsTheRulesSay_data();
    void faultsEndAsTheRulesSay();
    void silentInstrumentTimesOut();
};

void TestLinkOverPty::scanFindsInstrument() {
    Bench b;
    // A missing device sorts after the pty: it is tried first, twice, then the pty answers.
    b.ports = {QStringLiteral("ttyUSB-missing"), b.sim.ptyName()};
    b.connectNow();
    QTRY_COMPARE_WITH_TIMEOUT(b.connects, 1, 10000);
    QVERIFY(b.host.portProblem.contains(QStringLiteral("不存在")));
    QCOMPARE(b.host.selected, 0);
    QCOMPARE(b.comm.CommName(), b.sim.ptyPath());
    QCOMPARE(b.sim.requestCount(), 1);
    QCOMPARE(b.sim.request(1).bytes, QByteArray::fromHex("AA01010200AECC"));
    QCOMPARE(b.status.model.left(5), QByteArray("L99-2"));
    QCOMPARE(b.status.channelCount, 2);
    QCOMPARE(b.status.firmwareText, QStringLiteral("140"));
    QVERIFY(b.link.state().roundTripMs > 0);
    qInfo("connect round trip over the pty: %lld ms", b.link.state().roundTripMs);
    QCOMPARE(b.link.state().connected, 1);
    QTRY_VERIFY_WITH_TIMEOUT(!b.comm.isOpen(), 2000); // closed after the answer
}

void TestLinkOverPty::faultsEndAsTheRulesSay_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("requests"); // requests the instrument saw before the one answer counted
    QTest::newRow("split in two") << "split2" << 1;
    QTest::newRow("split in three: resent") << "split3" << 2;
    QTest::newRow("wrong sum: resent") << "wrong-sum" << 2;
    QTest::newRow("extra byte: trimmed") << "extra-byte" << 1;
    QTest::newRow("one silence: resent") << "silence" << 2;
}

void TestLinkOverPty::faultsEndAsTheRulesSay() {
    QFETCH(QString, fault);
    QFETCH(int, requests);
    Bench b;
    b.sim.injectFault(*SimFault::fromText(fault));
    b.connectNow();
    QTRY_COMPARE_WITH_TIMEOUT(b.connects, 1, 10000);
    QTest::qWait(200);
    QCOMPARE(b.connects, 1);
    QCOMPARE(b.sim.requestCount(), requests);
    QVERIFY(b.host.status != Timeout);
}

void TestLinkOverPty::silentInstrumentTimesOut() {
    Bench b;
    b.host.fixed = true;
    b.host.ports = b.ports;
    b.host.selected = 0;
    b.sim.injectFault(SimFault::next(SimFault::Kind::Silence, 10));
    b.connectNow();
    QTRY_COMPARE_WITH_TIMEOUT(b.host.status, Timeout, 10000);
    QCOMPARE(b.sim.requestCount(), 3);
    QCOMPARE(b.connects, 0);
    QVERIFY(!b.comm.isOpen());
    QCOMPARE(b.comm.BaudRate(), 9600u);
}

QTEST_GUILESS_MAIN(TestLinkOverPty)
#include "test_link_over_pty.moc"
