#include "serial/comm_line_settings.h"
#include "serial/tcomm.h"

#include <QtTest>

#include <functional>

// What the component's properties turn into on a terminal. A pseudo-terminal ignores data bits
// and parity, so these are checked on the composed settings rather than on a live line.
class TestLineSettings : public QObject {
    Q_OBJECT
private slots:
    void composed_data();
    void composed();
};

namespace {

using Setup = std::function<void(TComm&)>;

const tcflag_t kFraming = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;
const tcflag_t kInput = IXON | IXOFF | INPCK | IXANY;

struct Case {
    const char* name;
    Setup setup;
    speed_t speed;
    tcflag_t cflag; // under kFraming
    tcflag_t iflag; // under kInput
    cc_t start, stop;
};

const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {"constructor defaults", [](TComm&) {}, B9600, CS8, IXON | IXOFF, 17, 19},
        {"as the link sets them",
         [](TComm& c) {
             c.setInx_XonXoffFlow(false);
             c.setOutx_XonXoffFlow(false);
             c.setXonChar(0);
             c.setXoffChar(0);
         },
         B9600, CS8, 0, 0, 0},
        {"115200", [](TComm& c) { c.setBaudRate(115200); }, B115200, CS8, IXON | IXOFF, 17, 19},
        {"rate without a constant keeps the old one", [](TComm& c) { c.setBaudRate(12345); }, B2400, CS8,
         IXON | IXOFF, 17, 19},
        {"5 bits", [](TComm& c) { c.setByteSize(TByteSize::_5); }, B9600, CS5, IXON | IXOFF, 17, 19},
        {"7 bits odd",
         [](TComm& c) {
             c.setByteSize(TByteSize::_7);
             c.setParity(TParity::Odd);
         },
         B9600, CS7 | PARENB | PARODD, IXON | IXOFF, 17, 19},
        {"even", [](TComm& c) { c.setParity(TParity::Even); }, B9600, CS8 | PARENB, IXON | IXOFF, 17, 19},
        {"mark", [](TComm& c) { c.setParity(TParity::Mark); }, B9600, CS8 | PARENB | PARODD | CMSPAR,
         IXON | IXOFF, 17, 19},
        {"space", [](TComm& c) { c.setParity(TParity::Space); }, B9600, CS8 | PARENB | CMSPAR, IXON | IXOFF,
         17, 19},
        {"1.5 stop bits sent as 2", [](TComm& c) { c.setStopBits(TStopBits::_1_5); }, B9600, CS8 | CSTOPB,
         IXON | IXOFF, 17, 19},
        {"2 stop bits", [](TComm& c) { c.setStopBits(TStopBits::_2); }, B9600, CS8 | CSTOPB, IXON | IXOFF, 17,
         19},
        {"CTS flow", [](TComm& c) { c.setOutx_CtsFlow(true); }, B9600, CS8 | CRTSCTS, IXON | IXOFF, 17, 19},
        {"RTS handshake", [](TComm& c) { c.setRtsControl(TRtsControl::RtsHandshake); }, B9600, CS8 | CRTSCTS,
         IXON | IXOFF, 17, 19},
        {"parity check, XON/XOFF in only, own characters",
         [](TComm& c) {
             c.setParityCheck(true);
             c.setOutx_XonXoffFlow(false);
             c.setXonChar(1);
             c.setXoffChar(3);
         },
         B9600, CS8, INPCK | IXOFF, 1, 3},
    };
    return all;
}

// A terminal as a login shell leaves it: cooked, echoing, translating, 7 bits with parity.
termios cooked() {
    termios t{};
    t.c_iflag = ICRNL | IXON | IXANY | ISTRIP | INLCR | IGNCR | BRKINT | PARMRK | IMAXBEL;
    t.c_oflag = OPOST | ONLCR;
    t.c_cflag = CS7 | PARENB | HUPCL;
    t.c_lflag = ECHO | ECHOE | ICANON | ISIG | IEXTEN;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 5;
    cfsetispeed(&t, B2400);
    cfsetospeed(&t, B2400);
    return t;
}

} // namespace

void TestLineSettings::composed_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(cases().size()); ++i)
        QTest::newRow(cases()[size_t(i)].name) << i;
}

void TestLineSettings::composed() {
    QFETCH(int, index);
    const Case& c = cases()[size_t(index)];

    TComm comm;
    c.setup(comm);
    termios t = cooked();
    posixport::composeTermios(t, commLineSettings(comm));

    QCOMPARE(cfgetospeed(&t), c.speed);
    QCOMPARE(cfgetispeed(&t), c.speed);
    QCOMPARE(t.c_cflag & kFraming, c.cflag);
    QCOMPARE(t.c_iflag & kInput, c.iflag);
    QCOMPARE(t.c_cc[VSTART], c.start);
    QCOMPARE(t.c_cc[VSTOP], c.stop);
    // Raw in every case: every byte value passes unchanged and unechoed, reads wake per byte,
    // the carrier does not matter.
    QCOMPARE(t.c_iflag & tcflag_t(ICRNL | ISTRIP | INLCR | IGNCR | BRKINT | PARMRK | IMAXBEL), tcflag_t(0));
    QCOMPARE(t.c_oflag & tcflag_t(OPOST), tcflag_t(0));
    QCOMPARE(t.c_lflag & tcflag_t(ECHO | ECHOE | ICANON | ISIG | IEXTEN), tcflag_t(0));
    QCOMPARE(t.c_cflag & tcflag_t(CLOCAL | CREAD), tcflag_t(CLOCAL | CREAD));
    QCOMPARE(int(t.c_cc[VMIN]), 1);
    QCOMPARE(int(t.c_cc[VTIME]), 0);
}

QTEST_GUILESS_MAIN(TestLineSettings)
#include "test_line_settings.moc"
