// The simulated instrument's pure parts: the connect response of each profile, the request
// parser and the shaping of faulty answers. No threads, no lines.

#include "codec/command_frame.h"
#include "core/gbk_text.h"
#include "device/device_status.h"
#include "sim/sim_fault.h"
#include "sim/sim_frames.h"
#include "sim/sim_handlers.h"
#include "sim/sim_profile.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

QByteArray hex(const char* text) {
    return aHexToBytes(text);
}

// The bytes the program sends to connect to address 1.
const QByteArray ConnectRequest = hex("AA 01 01 02 00 AE CC");

QStringList hexList(const QList<SimRequest>& requests) {
    QStringList out;
    for (const SimRequest& r : requests)
        out << QString::fromLatin1(aBytesToHex(r.bytes).trimmed()) + (r.checksumOk ? "" : " !sum");
    return out;
}

} // namespace

class TestSimProtocol : public QObject {
    Q_OBJECT
private slots:
    void loggerConnectResponseDecodes();
    void profiles_data();
    void profiles();
    void parser_data();
    void parser();
    void parserSurvivesNoise();
    void handlersAnswerOnlyTheirOwn_data();
    void handlersAnswerOnlyTheirOwn();
    void modbusFaultsKeepOrBreakTheCrc();
    void faultText_data();
    void faultText();
};

void TestSimProtocol::loggerConnectResponseDecodes() {
    const QByteArray frame = SimProfile::byName("logger").connectResponse();
    QVERIFY(isValidResponseFrame(frame));
    QCOMPARE(quint8(frame[2]), quint8(0x01));
    QCOMPARE(int(aBufU16(frame, 3)), int(frame.size()) - 5); // length = payload + 2
    QCOMPARE(frame.size(), 129 + 2 * 12 + 2);

    const LogStateResult r = aLogStateAnalyze(frame, DeviceStatus{});
    const DeviceStatus& s = r.status;
    QCOMPARE(s.address, 1);
    QCOMPARE(gbkToString(s.userName), QString("KORVEL"));
    QCOMPARE(gbkToString(s.title), QString("冷库一号"));
    QCOMPARE(s.model, QByteArray("L99-2\0\0\0\0\0", 10));
    QCOMPARE(s.serialNumber, QByteArray("2403050017"));
    QCOMPARE(s.recordCount, 3000u);
    QCOMPARE(s.workStateText, QString("正在记录"));
    QCOMPARE(s.startTime, (TimeFields{24, 3, 5, 8, 0, 0}));
    QCOMPARE(s.startTimeUnset, 0);
    QCOMPARE(s.timestampedRecords, 0);
    QCOMPARE(s.recordInterval, 60u);
    QCOMPARE(s.startModeText, QString("立即启动"));
    QCOMPARE(s.stopModeText, QString("先进先出"));
    QCOMPARE(s.timedStartTime, (TimeFields{24, 3, 6, 8, 0, 0}));
    QCOMPARE(s.timedStopTime, (TimeFields{24, 4, 6, 8, 0, 0}));
    QCOMPARE(s.capacity, 16000u);
    QCOMPARE(quint8(frame[116]), quint8(0x40));
    QCOMPARE(s.firmwareText, QString("140"));
    QCOMPARE(s.firmwareNumberText, QString("140"));
    QCOMPARE(s.batteryText, QString("电量正常"));
    QCOMPARE(s.downloadBaudRate, 9600);
    QCOMPARE(s.upgradable, 1);
    QVERIFY(!r.isReceiver);
    QCOMPARE(s.firmwareSeries, 1);
    QCOMPARE(s.markT, 0);
    QCOMPARE(s.featureFlags, 0);
    QCOMPARE(s.pNumber, 0);
    QCOMPARE(s.featureFlags2, 0);
    QCOMPARE(s.channelCount, 2);

    const ChannelParams& t = s.channels[0];
    QCOMPARE(t.kind, 1);
    QCOMPARE(t.unit, 1);
    QCOMPARE(t.decimalsCode, 2);
    QCOMPARE(t.rangeLow, -400);
    QCOMPARE(t.rangeHigh, 850);
    QCOMPARE(t.alarmLow, 0);
    QCOMPARE(t.alarmHigh, 305);
    QCOMPARE(t.alarmSwitch, 1);
    const ChannelParams& h = s.channels[1];
    QCOMPARE(h.kind, 2);
    QCOMPARE(h.unit, 2);
    QCOMPARE(h.decimalsCode, 2);
    // -40.0 travels as sign-magnitude: 400 | 0x8000, low byte first
    QCOMPARE(frame.mid(129 + 5, 2), hex("90 81"));
}

void TestSimProtocol::profiles_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("gprsModel");
    QTest::addColumn<int>("startTimeUnset");
    QTest::addColumn<int>("timestamped");
    QTest::addColumn<bool>("receiver");
    QTest::addColumn<int>("minFirmware");

    QTest::newRow("logger") << "logger" << false << 0 << 0 << false << 140;
    QTest::newRow("gprs") << "gprs" << true << 1 << 0 << false << 90;
    QTest::newRow("stamped") << "stamped" << false << 1 << 1 << false << 0;
    QTest::newRow("receiver") << "receiver" << false << 0 << 0 << true << 0;
    QTest::newRow("transmitter") << "transmitter" << false << 0 << 0 << false << 0;
}

void TestSimProtocol::profiles() {
    QFETCH(bool, gprsModel);
    QFETCH(int, startTimeUnset);
    QFETCH(int, timestamped);
    QFETCH(bool, receiver);
    QFETCH(int, minFirmware);
    QFETCH(QString, name);
    const SimProfile p = SimProfile::byName(name);
    QCOMPARE(p.name, name);
    const QByteArray frame = p.connectResponse();
    QVERIFY(isValidResponseFrame(frame));
    const LogStateResult r = aLogStateAnalyze(frame, DeviceStatus{});
    QCOMPARE(r.status.isGprsModel(), gprsModel);
    QCOMPARE(r.status.startTimeUnset, startTimeUnset);
    QCOMPARE(r.status.timestampedRecords, timestamped);
    QCOMPARE(r.isReceiver, receiver);
    QVERIFY(r.status.firmwareNumber() >= minFirmware);
    QCOMPARE(int(r.status.recordCount), int(p.records.size()));

    QVERIFY(SimProfile::byName("no-such-instrument").name.isEmpty());
}

void TestSimProtocol::parser_data() {
    QTest::addColumn<QStringList>("chunks");
    QTest::addColumn<bool>("modbus");
    QTest::addColumn<QStringList>("expected");

    const QString req = "AA 01 01 02 00 AE CC";
    QTest::newRow("whole") << QStringList{req} << false << QStringList{req};
    QStringList bytewise;
    for (const QString& b : req.split(' '))
        bytewise << b;
    QTest::newRow("byte by byte") << bytewise << false << QStringList{req};
    QTest::newRow("noise in front") << QStringList{"00 FF 13 CC DD BB", req} << false << QStringList{req};
    // A stray start byte whose length field promises more than ever comes must not hold up
    // the real request behind it.
    QTest::newRow("stray start, long length") << QStringList{"AA 05 10 00", req} << false << QStringList{req};
    QTest::newRow("stray start, wrong end")
        << QStringList{"AA 01 01 02 00 AE 00 " + req} << false << QStringList{req};
    QTest::newRow("bad sum is a frame, flagged") << QStringList{"AA 01 01 02 00 AF CC " + req} << false
                                                 << QStringList{"AA 01 01 02 00 AF CC !sum", req};
    QTest::newRow("two in one read") << QStringList{req + " AA 01 12 04 00 05 00 C6 CC"} << false
                                     << QStringList{req, "AA 01 12 04 00 05 00 C6 CC"};
    QTest::newRow("incomplete") << QStringList{"AA 01 01 02"} << false << QStringList{};
    QTest::newRow("modbus after noise")
        << QStringList{"FF 01 03 00", "01 00 01 D5 CA"} << true << QStringList{"01 03 00 01 00 01 D5 CA"};
    QTest::newRow("modbus ignored by loggers")
        << QStringList{"01 03 00 01 00 01 D5 CA"} << false << QStringList{};
    QTest::newRow("frame and modbus")
        << QStringList{req + " 01 03 00 09 31 DE"} << true << QStringList{req, "01 03 00 09 31 DE"};
}

void TestSimProtocol::parser() {
    QFETCH(QStringList, expected);
    QFETCH(QStringList, chunks);
    QFETCH(bool, modbus);
    RequestParser parser(modbus);
    QList<SimRequest> found;
    for (const QString& c : chunks)
        found += parser.feed(hex(c.toLatin1().constData()));
    QCOMPARE(hexList(found), expected);
}

void TestSimProtocol::parserSurvivesNoise() {
    // Whatever the line carries, the parser stays bounded and still finds the next request.
    QRandomGenerator rng(20240305);
    RequestParser parser(true);
    for (int round = 0; round < 200; ++round) {
        QByteArray noise(int(rng.bounded(1, 700)), '\0');
        for (char& c : noise)
            c = char(rng.bounded(256));
        if (round % 3 == 0)
            noise[0] = char(0xAA); // start bytes with random length fields
        parser.feed(noise);
        QVERIFY(parser.buffered() <= RequestParser::MaxBuffered);
    }
    parser.reset();
    QByteArray noise(300, '\0');
    for (char& c : noise)
        c = char(rng.bounded(256));
    const QList<SimRequest> found = parser.feed(noise + ConnectRequest);
    QVERIFY(!found.isEmpty());
    QCOMPARE(found.last().bytes, ConnectRequest);
}

void TestSimProtocol::handlersAnswerOnlyTheirOwn_data() {
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<bool>("answered");

    QTest::newRow("own address") << ConnectRequest << true;
    QTest::newRow("general address") << hex("AA 00 01 02 00 AD CC") << true;
    QTest::newRow("other instrument") << hex("AA 05 01 02 00 B2 CC") << false;
    QTest::newRow("bad sum") << hex("AA 01 01 02 00 AF CC") << false;
    QTest::newRow("unknown code") << hex("AA 01 7E 02 00 2B CC") << false;
}

void TestSimProtocol::handlersAnswerOnlyTheirOwn() {
    QFETCH(bool, answered);
    QFETCH(QByteArray, request);
    SimProfile state = SimProfile::byName("logger");
    const QList<SimRequest> parsed = RequestParser().feed(request);
    QCOMPARE(parsed.size(), 1);
    const std::optional<QByteArray> answer = standardSimHandlers().answer(parsed[0], state);
    QCOMPARE(answer.has_value(), answered);
    if (answer)
        QCOMPARE(*answer, state.connectResponse());
}

void TestSimProtocol::modbusFaultsKeepOrBreakTheCrc() {
    const QByteArray answer = appendModbusCrc(hex("01 03 02 00 EB"));
    const auto crcOk = [](const QByteArray& a) {
        return aBytesToHex(a.right(2)).trimmed() == aCrc16(aBytesToHex(a.first(a.size() - 2)));
    };
    QVERIFY(crcOk(answer));

    const ShapedAnswer wrong = shapeAnswer(answer, true, {SimFault::next(SimFault::Kind::WrongSum)});
    QCOMPARE(wrong.pieces.size(), 1);
    QVERIFY(!crcOk(wrong.pieces[0]));

    SimFault foreign = SimFault::next(SimFault::Kind::ForeignAddress);
    foreign.foreignAddress = 7;
    const ShapedAnswer other = shapeAnswer(answer, true, {foreign});
    QCOMPARE(quint8(other.pieces[0][0]), quint8(7));
    QVERIFY(crcOk(other.pieces[0]));
}

void TestSimProtocol::faultText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("atRequest");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("pauseMs");

    using K = SimFault::Kind;
    QTest::newRow("plain") << "wrong-sum" << true << int(K::WrongSum) << 0 << 1 << 300;
    QTest::newRow("silence count") << "silence:3" << true << int(K::Silence) << 0 << 3 << 300;
    QTest::newRow("split pause at request") << "split2:500@4" << true << int(K::Split2) << 4 << 1 << 500;
    QTest::newRow("unknown kind") << "garble" << false << 0 << 0 << 0 << 0;
    QTest::newRow("request zero") << "hang-up@0" << false << 0 << 0 << 0 << 0;
    QTest::newRow("count on a sum fault") << "wrong-sum:2" << false << 0 << 0 << 0 << 0;
    QTest::newRow("refusal at request") << "fail-result@3" << true << int(K::FailResult) << 3 << 1 << 300;
    QTest::newRow("count on a refusal") << "fail-result:1" << false << 0 << 0 << 0 << 0;
}

void TestSimProtocol::faultText() {
    QFETCH(bool, valid);
    QFETCH(int, kind);
    QFETCH(int, atRequest);
    QFETCH(int, count);
    QFETCH(int, pauseMs);
    QFETCH(QString, text);
    const std::optional<SimFault> f = SimFault::fromText(text);
    QCOMPARE(f.has_value(), valid);
    if (!f)
        return;
    QCOMPARE(int(f->kind), kind);
    QCOMPARE(f->atRequest, atRequest);
    QCOMPARE(f->count, count);
    QCOMPARE(f->pauseMs, pauseMs);
}

QTEST_GUILESS_MAIN(TestSimProtocol)
#include "test_sim_protocol.moc"
