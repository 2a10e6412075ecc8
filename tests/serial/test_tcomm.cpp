#include "serial/pty_pair.h"
#include "serial/tcomm.h"

#include <QElapsedTimer>
#include <QTemporaryFile>
#include <QtTest>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kWaitMs = 10000;

QByteArray pattern(int n, int seed = 0) {
    QByteArray b(n, '\0');
    for (int i = 0; i < n; ++i)
        b[i] = char((i * 7 + seed) % 251);
    return b;
}

double processCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// A pty pair with the component on its slave end and everything the component reports recorded.
struct Line {
    PtyPair pty;
    TComm comm;
    QList<QByteArray> blocks;
    bool terminated = true; // every delivered buffer had a 0 after its last byte
    int hangups = 0;
    int empties = 0;

    Line() {
        comm.setCommName(pty.slavePath());
        // As the link configures the port: no XON/XOFF, which would swallow bytes 17 and 19 of
        // the test data and let a received 19 stop our own output.
        comm.setInx_XonXoffFlow(false);
        comm.setOutx_XonXoffFlow(false);
        comm.setXonChar(0);
        comm.setXoffChar(0);
        comm.OnReceiveData = [this](TComm* sender, const char* buffer, quint16 length) {
            QCOMPARE(sender, &comm);
            blocks.append(QByteArray(buffer, length));
            terminated = terminated && buffer[length] == '\0';
        };
        comm.OnRequestHangup = [this](TComm*) { ++hangups; };
        comm.OnSendDataEmpty = [this](TComm*) { ++empties; };
    }

    QByteArray received() const { return blocks.join(); }

    bool send(const QByteArray& data) {
        qsizetype done = 0;
        while (done < data.size()) {
            const ssize_t n = ::write(pty.masterFd(), data.constData() + done, size_t(data.size() - done));
            if (n <= 0)
                return false;
            done += n;
        }
        return true;
    }

    // What the component wrote, as read on the master end; stops after `count` bytes or when
    // nothing more arrives for several seconds.
    QByteArray readMaster(int count) {
        QByteArray got;
        char buf[4096];
        while (got.size() < count) {
            pollfd p{pty.masterFd(), POLLIN, 0};
            if (::poll(&p, 1, kWaitMs) <= 0)
                break;
            const ssize_t n = ::read(pty.masterFd(), buf, sizeof buf);
            if (n <= 0)
                break;
            got.append(buf, int(n));
        }
        return got;
    }

    // The slave's line settings, seen through the master (mode requests on a master act on
    // its slave).
    termios lineSettings() const {
        termios t{};
        tcgetattr(pty.masterFd(), &t);
        return t;
    }
};

} // namespace

class TestTComm : public QObject {
    Q_OBJECT
private slots:
    void openFailures_data();
    void openFailures();
    void openTwiceKeepsThePortWorking();
    void destructorClosesAndReleasesPendingBlocks();
    void longBurstArrivesInBlocks();
    void readIntervalSplitsBursts_data();
    void readIntervalSplitsBursts();
    void zeroBytes_data();
    void zeroBytes();
    void writesGoOutInCallOrder();
    void sendDataEmptyOnceAfterOpen();
    void hangupEndsReaderWithoutSpinning();
    void closeIsPromptEvenWithWritesStuck();
    void setterSemantics();
};

void TestTComm::openFailures_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("errorNumber");

    static QTemporaryFile file;
    QVERIFY(file.open());
    QTest::newRow("regular file") << file.fileName() << "File handle is not a comm handle " << -1;
    QTest::newRow("device that is no terminal") << "/dev/null"
                                                << "File handle is not a comm handle " << -1;
    QTest::newRow("missing") << "/dev/korvel-no-such-port"
                             << "Error opening serial port" << ENOENT;
    QTest::newRow("default name") << ""
                                  << "Error opening serial port" << ENOENT;
}

void TestTComm::openFailures() {
    QFETCH(QString, path);
    QFETCH(QString, message);
    QFETCH(int, errorNumber);

    TComm comm;
    if (!path.isEmpty())
        comm.setCommName(path);
    else
        QCOMPARE(comm.CommName(), QStringLiteral("COM2"));
    try {
        comm.OpenPort();
        QFAIL("OpenPort succeeded");
    } catch (const ECommsError& e) {
        QCOMPARE(QString::fromLatin1(e.what()), message);
        if (errorNumber >= 0)
            QCOMPARE(e.errorNumber(), errorNumber);
    }
    QVERIFY(!comm.isOpen());
    QVERIFY(!comm.WriteData("x", 1));
    comm.ClosePort(); // harmless when closed
}

void TestTComm::openTwiceKeepsThePortWorking() {
    Line line;
    QVERIFY(line.pty.isOpen());
    // Opened before the component takes exclusive use, so it can watch the flag.
    const int watcher = ::open(line.pty.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    QVERIFY(watcher >= 0);
    line.comm.OpenPort();
    QVERIFY(line.comm.isOpen());

    int exclusive = 0;
    QCOMPARE(::ioctl(watcher, TIOCGEXCL, &exclusive), 0);
    QCOMPARE(exclusive, 1);
    if (geteuid() != 0) { // the superuser may open an exclusive terminal anyway
        const int second = ::open(line.pty.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        QCOMPARE(second, -1);
        QCOMPARE(errno, EBUSY);
    }

    try {
        line.comm.OpenPort();
        QFAIL("second OpenPort succeeded");
    } catch (const ECommsError& e) {
        QCOMPARE(QString::fromLatin1(e.what()), QStringLiteral("This serial port already opened"));
    }
    QVERIFY(line.comm.isOpen());
    QVERIFY(line.send("ping"));
    QTRY_COMPARE_WITH_TIMEOUT(line.received(), QByteArray("ping"), kWaitMs);
    QVERIFY(line.comm.WriteData("pong", 4));
    QCOMPARE(line.readMaster(4), QByteArray("pong"));

    line.comm.ClosePort();
    QVERIFY(!line.comm.isOpen());
    QCOMPARE(::ioctl(watcher, TIOCGEXCL, &exclusive), 0);
    QCOMPARE(exclusive, 0);
    line.comm.OpenPort(); // reopens after a close
    QVERIFY(line.comm.isOpen());
    ::close(watcher);
}

void TestTComm::destructorClosesAndReleasesPendingBlocks() {
    PtyPair pty;
    const int watcher = ::open(pty.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    QVERIFY(watcher >= 0);
    auto* comm = new TComm;
    comm->setCommName(pty.slavePath());
    comm->setReadIntervalTimeout(2);
    int delivered = 0;
    comm->OnReceiveData = [&](TComm*, const char*, quint16) { ++delivered; };
    comm->OpenPort();
    const QByteArray data = pattern(3000);
    QCOMPARE(::write(pty.masterFd(), data.constData(), size_t(data.size())), ssize_t(data.size()));
    // Let the reader post its blocks, but never run the event loop: the blocks are still pending
    // when the component goes (the leak checker of the sanitizer build watches them).
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    delete comm;
    QCoreApplication::processEvents();
    QCOMPARE(delivered, 0);

    int exclusive = 1;
    QCOMPARE(::ioctl(watcher, TIOCGEXCL, &exclusive), 0);
    QCOMPARE(exclusive, 0);
    ::close(watcher);
}

void TestTComm::longBurstArrivesInBlocks() {
    Line line;
    line.comm.OpenPort();
    const QByteArray data = pattern(5000);
    QVERIFY(line.send(data));
    QTRY_COMPARE_WITH_TIMEOUT(line.received().size(), data.size(), kWaitMs);
    QCOMPARE(line.received(), data);
    QVERIFY(line.blocks.size() >= 3);
    for (const QByteArray& b : line.blocks)
        QVERIFY2(b.size() <= 2048, qPrintable(QString::number(b.size())));
    QVERIFY(line.terminated);
}

void TestTComm::readIntervalSplitsBursts_data() {
    // A gap of -1: the second burst goes out only once the first has been delivered, so the line
    // was silent for longer than the interval whatever the machine's speed.
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("gapMs");
    QTest::addColumn<int>("blocks");
    QTest::newRow("2 ms, after the first block") << 2 << -1 << 2;
    QTest::newRow("50 ms, after the first block") << 50 << -1 << 2;
    QTest::newRow("3000 ms, 20 ms apart") << 3000 << 20 << 1;
}

void TestTComm::readIntervalSplitsBursts() {
    QFETCH(int, interval);
    QFETCH(int, gapMs);
    QFETCH(int, blocks);

    Line line;
    line.comm.OpenPort();
    line.comm.setReadIntervalTimeout(quint32(interval)); // while open: reaches the reader at once
    QVERIFY(line.send(pattern(100, 1)));
    if (gapMs < 0)
        QTRY_COMPARE_WITH_TIMEOUT(line.received().size(), 100, kWaitMs + interval);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(gapMs));
    QVERIFY(line.send(pattern(100, 2)));
    QTRY_COMPARE_WITH_TIMEOUT(line.received().size(), 200, kWaitMs + interval);
    QCOMPARE(line.received(), pattern(100, 1) + pattern(100, 2));
    QCOMPARE(line.blocks.size(), blocks);
}

void TestTComm::zeroBytes_data() {
    QTest::addColumn<bool>("ignoreNull");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("delivered and counted") << false << QByteArray("\0\0A\0", 4);
    QTest::newRow("IgnoreNullChar drops them") << true << QByteArray("A");
}

void TestTComm::zeroBytes() {
    QFETCH(bool, ignoreNull);
    QFETCH(QByteArray, expected);

    Line line;
    line.comm.setIgnoreNullChar(ignoreNull);
    line.comm.setReadIntervalTimeout(20);
    line.comm.OpenPort();
    QVERIFY(line.send(QByteArray("\0\0A\0", 4)));
    QTRY_COMPARE_WITH_TIMEOUT(line.blocks.size(), 1, kWaitMs);
    QCOMPARE(line.blocks.first(), expected);
    QVERIFY(line.terminated);
}

void TestTComm::writesGoOutInCallOrder() {
    Line line;
    QVERIFY(!line.comm.WriteData("x", 1)); // closed
    line.comm.OpenPort();
    QTRY_COMPARE_WITH_TIMEOUT(line.empties, 1, kWaitMs);
    QVERIFY(!line.comm.WriteData("x", 0));

    // Larger than the pty's buffer, so the writer has to wait for room in the middle of each.
    const QByteArray a(30000, 'a'), b(30000, 'b'), c = pattern(30000);
    QVERIFY(line.comm.WriteData(a.constData(), quint16(a.size())));
    QVERIFY(line.comm.WriteData(b.constData(), quint16(b.size())));
    QVERIFY(line.comm.WriteData(c.constData(), quint16(c.size())));
    QCOMPARE(line.readMaster(90000), a + b + c);
    QTRY_VERIFY_WITH_TIMEOUT(line.empties >= 2, kWaitMs);
    QVERIFY(line.comm.sendQueueEmpty());
}

void TestTComm::sendDataEmptyOnceAfterOpen() {
    Line line;
    line.comm.OpenPort();
    QTRY_COMPARE_WITH_TIMEOUT(line.empties, 1, kWaitMs);
    QTest::qWait(200);
    QCOMPARE(line.empties, 1);

    QVERIFY(line.comm.WriteData("abc", 3));
    QCOMPARE(line.readMaster(3), QByteArray("abc"));
    QTRY_COMPARE_WITH_TIMEOUT(line.empties, 2, kWaitMs);

    // A new open owes a new notice.
    line.comm.ClosePort();
    line.comm.OpenPort();
    QTRY_COMPARE_WITH_TIMEOUT(line.empties, 3, kWaitMs);
}

void TestTComm::hangupEndsReaderWithoutSpinning() {
    Line line;
    line.comm.OpenPort();
    QVERIFY(line.send("abc"));
    QTRY_COMPARE_WITH_TIMEOUT(line.received(), QByteArray("abc"), kWaitMs);

    line.pty.closeMaster(); // the adapter is pulled
    QTRY_COMPARE_WITH_TIMEOUT(line.hangups, 1, kWaitMs);
    const double cpuBefore = processCpuSeconds();
    QTest::qWait(1000);
    const double cpuUsed = processCpuSeconds() - cpuBefore;
    // A reader looping on the dead descriptor would burn about the whole second.
    QVERIFY2(cpuUsed < 0.5, qPrintable(QStringLiteral("%1 s of CPU while idle").arg(cpuUsed)));
    QCOMPARE(line.hangups, 1);
    QVERIFY(line.comm.isOpen()); // open until the owner closes it

    // A write to the dead line ends the writer without a second hang-up notice.
    line.comm.WriteData("x", 1);
    QTRY_VERIFY_WITH_TIMEOUT(!line.comm.WriteData("x", 1), kWaitMs);
    QTest::qWait(50);
    QCOMPARE(line.hangups, 1);

    line.comm.ClosePort(); // returns at all: a writer stuck on the dead line would hang it
    QVERIFY(!line.comm.isOpen());
}

void TestTComm::closeIsPromptEvenWithWritesStuck() {
    Line line;
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < 20; ++i) {
        line.comm.OpenPort();
        line.comm.ClosePort();
    }
    const qint64 cycles = t.elapsed();

    // Nobody reads the master: the writer waits for room that never comes.
    line.comm.OpenPort();
    const QByteArray big(60000, 'z');
    for (int i = 0; i < 10; ++i)
        QVERIFY(line.comm.WriteData(big.constData(), quint16(big.size())));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    QVERIFY(!line.comm.sendQueueEmpty());
    t.restart();
    line.comm.ClosePort(); // returns although the writer still holds blocks for a full line
    QVERIFY(!line.comm.isOpen());
    // The figures are for people; the suite's own time-out catches a close that hangs.
    qInfo("20 open/close cycles in %lld ms; close with writes stuck in %lld ms", cycles, t.elapsed());
}

void TestTComm::setterSemantics() {
    Line line;
    termios t = line.lineSettings();
    const speed_t untouched = cfgetospeed(&t);
    QVERIFY(untouched != B115200);

    // Closed: only stored.
    line.comm.setBaudRate(115200);
    QCOMPARE(line.comm.BaudRate(), 115200u);
    t = line.lineSettings();
    QCOMPARE(cfgetospeed(&t), untouched);

    line.comm.OpenPort();
    t = line.lineSettings();
    QCOMPARE(cfgetospeed(&t), speed_t(B115200));

    // Someone else changes the rate under us; setting the value the component already has does
    // not touch the line.
    cfsetospeed(&t, B1200);
    cfsetispeed(&t, B1200);
    QCOMPARE(tcsetattr(line.pty.masterFd(), TCSANOW, &t), 0);
    line.comm.setBaudRate(115200);
    t = line.lineSettings();
    QCOMPARE(cfgetospeed(&t), speed_t(B1200));

    // Parity is stored, not applied (a pty keeps PARODD, though it drops PARENB)...
    line.comm.setParity(TParity::Odd);
    QCOMPARE(line.comm.Parity(), TParity::Odd);
    t = line.lineSettings();
    QCOMPARE(t.c_cflag & tcflag_t(PARODD), tcflag_t(0));
    // ...until another line setting changes and the whole group is applied again.
    line.comm.setStopBits(TStopBits::_2);
    t = line.lineSettings();
    QCOMPARE(t.c_cflag & tcflag_t(PARODD | CSTOPB), tcflag_t(PARODD | CSTOPB));
    QCOMPARE(cfgetospeed(&t), speed_t(B115200));
    QCOMPARE(t.c_lflag & tcflag_t(ECHO | ICANON | ISIG | IEXTEN), tcflag_t(0));
    QCOMPARE(t.c_iflag & tcflag_t(IXON | IXOFF | ICRNL), tcflag_t(0));

    // Line settings re-applied while open reach the line at once.
    line.comm.setOutx_XonXoffFlow(true);
    t = line.lineSettings();
    QCOMPARE(t.c_iflag & tcflag_t(IXON | IXOFF), tcflag_t(IXON));

    // A new name waits for the next open; the open port keeps working.
    line.comm.setCommName(QStringLiteral("/dev/korvel-no-such-port"));
    QVERIFY(line.comm.isOpen());
    QVERIFY(line.comm.WriteData("ok", 2));
    QCOMPARE(line.readMaster(2), QByteArray("ok"));
    line.comm.ClosePort();
    QVERIFY_THROWS_EXCEPTION(ECommsError, line.comm.OpenPort());
    QVERIFY(!line.comm.isOpen());
}

QTEST_GUILESS_MAIN(TestTComm)
#include "test_tcomm.moc"
