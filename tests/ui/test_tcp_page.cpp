// The TCP page of the window over loopback: the server's three read modes, the client, the
// link's TCP transport against the simulated instrument in both roles, GPRS uploads into the
// history table, and a flood that must neither freeze the window nor fill its memory.

#include "codec/checksums.h"
#include "history_view/history_grid.h"
#include "link/command_link.h"
#include "net/tcp_endpoints.h"
#include "sim/sim_gprs_upload.h"
#include "sim/simulator.h"
#include "ui/form1.h"
#include "ui/gprs_page.h"
#include "ui/history_pages.h"
#include "ui/message_box.h"
#include "ui/tcp_terminal.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QtTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <thread>

namespace {

constexpr int WaitMs = 10000;

// What the window may grow by under a flood. The address sanitizer keeps up to 256 MiB of
// freed memory in quarantine, which shows in the resident size without being held by us.
#if defined(__SANITIZE_ADDRESS__)
constexpr qint64 GrowthBoundKiB = 768 * 1024;
#else
constexpr qint64 GrowthBoundKiB = 256 * 1024;
#endif

// A window whose start-up connect finds no serial port and so leaves the link idle.
std::unique_ptr<TForm1> makeWindow() {
    TForm1::Hooks hooks;
    hooks.portLister = [] { return QStringList{}; };
    return std::make_unique<TForm1>(hooks);
}

// Switches listening on at a free port and returns it.
quint16 listenOnFreePort(TForm1& w) {
    w.gprsPage->terminal->Edit1->setText(QStringLiteral("0"));
    w.gprsPage->terminal->Button33Click();
    return w.ServerSocket1->isListening() ? w.ServerSocket1->port() : 0;
}

bool connectClientTo(TForm1& w, quint16 port) {
    w.gprsPage->terminal->RadioButton1->setChecked(true);
    w.gprsPage->terminal->IPEdit2->setText(QStringLiteral("127.0.0.1"));
    w.gprsPage->terminal->Edit15->setText(QString::number(port));
    w.gprsPage->terminal->Button42Click();
    return QTest::qWaitFor(
        [&] { return w.ClientSocket1->isConnected() && w.link->state().tcpConnected == 1; }, WaitMs);
}

HistoryTableModel& table(TForm1& w) {
    return *w.historyTablePage->StringGrid2->table();
}

QStringList rowTexts(TForm1& w, int row) {
    QStringList out;
    for (int c = 0; c < table(w).columnCount(); ++c)
        out << table(w).text(row, c);
    return out;
}

qint64 residentKiB() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

SimGprsRecord record(const QDateTime& time, int power, double lon, double lat, QList<int> values) {
    SimGprsRecord r;
    r.time = time;
    r.battery = 90;
    r.power = power;
    r.longitude = lon;
    r.latitude = lat;
    r.satellites = 7;
    r.values = std::move(values);
    return r;
}

} // namespace

class TestTcpPage : public QObject {
    Q_OBJECT
private slots:
    void serverHexRead_data();
    void serverHexRead();
    void serverModeHandsFrameUnchanged();
    void serverSendsLongHexWhole();
    void listeningSwitch();
    void commandRoundTrip_data();
    void commandRoundTrip();
    void clientTextModeOnlyLogs();
    void clientSend();
    void reconnectWhileConnected();
    void hostNameConnect_data();
    void hostNameConnect();
    void uploadsAppendToTable();
    void floodKeepsWindowAlive();
};

void TestTcpPage::serverHexRead_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("decoded");
    QTest::newRow("sum matches") << QByteArray::fromHex("01020306") << true;
    QTest::newRow("sum differs") << QByteArray::fromHex("01020307") << false;
    QTest::newRow("single zero byte") << QByteArray::fromHex("00") << false;
}

void TestTcpPage::serverHexRead() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, decoded);
    auto w = makeWindow();
    const quint16 port = listenOnFreePort(*w);
    QVERIFY(port != 0);
    QSignalSpy uploads(w->gprsPage->terminal, &TcpTerminal::gprsPacketReceived);
    QTcpSocket peer;
    peer.connectToHost(QHostAddress::LocalHost, port);
    QVERIFY(peer.waitForConnected(WaitMs));
    peer.write(bytes);
    const QString hex = QString::fromLatin1(aBytesToHex(bytes));
    QTRY_VERIFY_WITH_TIMEOUT(w->gprsPage->terminal->Memo5->toPlainText().contains(hex), WaitMs);

    const QStringList lines = w->gprsPage->terminal->Memo5->toPlainText().split(u'\n');
    QCOMPARE(lines.size(), 3); // the stamp line, the bytes, and the empty line after them
    QVERIFY2(QRegularExpression(QStringLiteral(R"(^\d\d-\d\d-\d\d   \d\d:\d\d:\d\d接收:$)"))
                 .match(lines[0])
                 .hasMatch(),
             qPrintable(lines[0]));
    QCOMPARE(lines[1], hex);
    QCOMPARE(uploads.count(), decoded ? 1 : 0);
    if (decoded)
        QCOMPARE(uploads.first().first().toByteArray(), bytes);
    QCOMPARE(table(*w).rowCount(), 2); // not an upload packet: the table is not touched
}

void TestTcpPage::serverModeHandsFrameUnchanged() {
    auto w = makeWindow();
    w->gprsPage->CheckBox5->setChecked(true);
    QList<QByteArray> frames;
    w->link->dispatcher().registerHandler<QByteArray>(
        0x5A, [](QByteArrayView f) { return f.toByteArray(); },
        [&](const QByteArray& f) {
            frames << f;
            return HandlerStep{};
        });
    const quint16 port = listenOnFreePort(*w);
    QTcpSocket peer;
    peer.connectToHost(QHostAddress::LocalHost, port);
    QVERIFY(peer.waitForConnected(WaitMs));

    const QByteArray frame = buildResponseFrame(1, 0x5A, QByteArray::fromHex("0102DD03"));
    peer.write(frame);
    QTRY_COMPARE_WITH_TIMEOUT(frames.size(), 1, WaitMs);
    QCOMPARE(frames.first(), frame);

    // A byte after the closing 0xDD stays on: the bytes are a first piece, not a frame.
    const QByteArray trailed = frame + '\x00';
    peer.write(trailed);
    QTRY_VERIFY_WITH_TIMEOUT(
        w->gprsPage->terminal->Memo5->toPlainText().contains(QString::fromLatin1(aBytesToHex(trailed))),
        WaitMs);
    QCOMPARE(frames.size(), 1);
    QCOMPARE(w->link->state().fragmentLength, trailed.size());
}

void TestTcpPage::serverSendsLongHexWhole() {
    auto w = makeWindow();
    const quint16 port = listenOnFreePort(*w);
    QTcpSocket peer;
    peer.connectToHost(QHostAddress::LocalHost, port);
    QVERIFY(peer.waitForConnected(WaitMs));
    QTRY_COMPARE_WITH_TIMEOUT(w->link->state().tcpConnected, 1, WaitMs);
    QByteArray bytes(3000, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char(i * 7);
    w->gprsPage->terminal->Memo3->setPlainText(
        QString::fromLatin1(aBytesToHex(bytes)).replace(1001, 1, u'.'));
    w->gprsPage->terminal->Button32Click();
    QTRY_COMPARE_WITH_TIMEOUT(peer.bytesAvailable(), bytes.size(), WaitMs);
    QCOMPARE(peer.readAll(), bytes);
}

void TestTcpPage::listeningSwitch() {
    auto w = makeWindow();
    TcpTerminal& page = *w->gprsPage->terminal;
    // A port that is not a number falls back to 8001 (which another program may hold).
    page.Edit1->setText(QStringLiteral("80x1"));
    page.Button33Click();
    QCOMPARE(page.Edit1->text(), QStringLiteral("8001"));
    if (w->ServerSocket1->isListening())
        page.Button33Click();

    Simulator sim;
    QVERIFY(sim.startTcpServer());
    QVERIFY(connectClientTo(*w, sim.tcpPort()));
    QCOMPARE(page.Label31->text(), QStringLiteral("状态：已连接     "));
    QVERIFY(listenOnFreePort(*w) != 0);
    QCOMPARE(page.Label51->text(), QStringLiteral("监听开启      "));
    QCOMPARE(page.Button33->text(), QStringLiteral("关闭监听"));

    page.Button33Click();
    QVERIFY(!w->ServerSocket1->isListening());
    QCOMPARE(page.Label51->text(), QStringLiteral("监听关闭    "));
    QCOMPARE(page.Button33->text(), QStringLiteral("打开监听"));
    QCOMPARE(page.Label31->text(), QStringLiteral("状态：已断开     "));
    QCOMPARE(w->link->state().tcpConnected, 0);
    QVERIFY(w->ClientSocket1->isConnected()); // the client role is not touched
}

void TestTcpPage::commandRoundTrip_data() {
    QTest::addColumn<bool>("korvelServes");
    QTest::newRow("instrument serves, window is the client") << false;
    QTest::newRow("instrument calls in, window serves") << true;
}

void TestTcpPage::commandRoundTrip() {
    QFETCH(bool, korvelServes);
    auto w = makeWindow();
    Simulator sim;
    if (korvelServes) {
        const quint16 port = listenOnFreePort(*w);
        QVERIFY(sim.startTcpClient(QStringLiteral("127.0.0.1"), port));
        QTRY_COMPARE_WITH_TIMEOUT(w->link->state().tcpConnected, 1, WaitMs);
    } else {
        QVERIFY(sim.startTcpServer());
        QVERIFY(connectClientTo(*w, sim.tcpPort()));
    }
    w->gprsPage->CheckBox3->setChecked(true);
    w->gprsPage->CheckBox5->setChecked(korvelServes);

    w->Button2Click();
    QTRY_COMPARE_WITH_TIMEOUT(w->link->state().connected, 1, WaitMs);
    QCOMPARE(sim.request(1).bytes, QByteArray::fromHex("AA01010200AECC"));
    QCOMPARE(w->ComboBox3->count(), 1);
    QCOMPARE(w->ComboBox3->currentText(), QStringLiteral("IP 通讯"));
    QVERIFY(w->Memo1->toPlainText().startsWith(QStringLiteral("连接成功")));
}

void TestTcpPage::clientTextModeOnlyLogs() {
    auto w = makeWindow();
    Simulator sim;
    QVERIFY(sim.startTcpServer());
    QVERIFY(connectClientTo(*w, sim.tcpPort()));
    w->gprsPage->terminal->CheckBox6->setChecked(false);
    w->gprsPage->CheckBox3->setChecked(true);
    w->link->state().responseTimeoutMs = 200;

    w->Button2Click();
    QTRY_COMPARE_WITH_TIMEOUT(w->Memo1->toPlainText(), QStringLiteral("连接超时，请重新连接"), WaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(sim.answersSent(), 3, WaitMs);
    QCOMPARE(sim.requestCount(), 3); // the command and two resends, each answered in vain
    QCOMPARE(w->link->state().connected, 0);
    // Each answer shows as text, one line per read; none reaches the link.
    QTRY_VERIFY_WITH_TIMEOUT(w->gprsPage->terminal->Memo6->toPlainText().count(u'\n') >= 3, WaitMs);
    QVERIFY(!w->gprsPage->terminal->Memo6->toPlainText().contains(QStringLiteral("BB ")));
}

void TestTcpPage::clientSend() {
    auto w = makeWindow();
    QStringList messages;
    const MessageHandler previous =
        setMessageHandler([&](QWidget*, const QString& text) { messages << text; });
    Simulator sim;
    QVERIFY(sim.startTcpServer());
    TcpTerminal& page = *w->gprsPage->terminal;
    page.Edit15->setText(QStringLiteral("8a01"));
    page.Button42Click();
    QCOMPARE(messages, QStringList{QStringLiteral("“8a01”不是有效的整数")});
    QVERIFY(!w->ClientSocket1->isOpen());
    setMessageHandler(previous);

    QVERIFY(connectClientTo(*w, sim.tcpPort()));
    page.Memo8->setPlainText(QStringLiteral("AA 01 01 02 00 AE.CC"));
    page.Button41Click();
    QTRY_COMPARE_WITH_TIMEOUT(sim.requestCount(), 1, WaitMs);
    QCOMPARE(sim.request(1).bytes, QByteArray::fromHex("AA01010200AECC"));
    QCOMPARE(w->link->state().transmitterOp, 1000);
    // The answer comes back in hex and goes through the link like any other.
    QTRY_VERIFY_WITH_TIMEOUT(page.Memo6->toPlainText().startsWith(QStringLiteral("\nBB 01 01 ")), WaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(w->link->state().connected, 1, WaitMs);
}

void TestTcpPage::reconnectWhileConnected() {
    auto w = makeWindow();
    Simulator sim;
    QVERIFY(sim.startTcpServer());
    QVERIFY(connectClientTo(*w, sim.tcpPort()));
    QSignalSpy dropped(w->ClientSocket1, &TcpClientEndpoint::disconnected);
    QSignalSpy joined(w->ClientSocket1, &TcpClientEndpoint::connected);
    QElapsedTimer clock;
    clock.start();
    w->gprsPage->terminal->Button42Click();
    QCOMPARE(dropped.count(), 1);
    QVERIFY(clock.elapsed() >= 300);
    QTRY_COMPARE_WITH_TIMEOUT(joined.count(), 1, WaitMs);
    QCOMPARE(w->gprsPage->terminal->Label31->text(), QStringLiteral("状态：已连接     "));

    w->gprsPage->terminal->Button45Click();
    QVERIFY(!w->ClientSocket1->isOpen());
    QCOMPARE(w->gprsPage->terminal->Label31->text(), QStringLiteral("状态：已断开     "));
}

void TestTcpPage::hostNameConnect_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("resolved");
    QTest::newRow("localhost") << QStringLiteral("localhost") << QStringLiteral("127.0.0.1");
    QTest::newRow("no name") << QString() << QStringLiteral("0.0.0.0");
}

void TestTcpPage::hostNameConnect() {
    QFETCH(QString, name);
    QFETCH(QString, resolved);
    auto w = makeWindow();
    Simulator sim;
    QVERIFY(sim.startTcpServer());
    TcpTerminal& page = *w->gprsPage->terminal;
    page.IPEdit4->setText(QStringLiteral("1.2.3.4"));
    page.RadioButton2->setChecked(true);
    page.Edit28->setText(name);
    page.Edit15->setText(QString::number(sim.tcpPort()));
    page.Button42Click();
    QTRY_COMPARE_WITH_TIMEOUT(page.IPEdit4->text(), resolved, WaitMs);
    if (resolved == QLatin1String("0.0.0.0"))
        QVERIFY(!w->ClientSocket1->isOpen());
    else
        QTRY_VERIFY_WITH_TIMEOUT(w->ClientSocket1->isConnected(), WaitMs);
}

void TestTcpPage::uploadsAppendToTable() {
    auto w = makeWindow();
    QStringList messages;
    const MessageHandler previous =
        setMessageHandler([&](QWidget*, const QString& text) { messages << text; });
    const quint16 port = listenOnFreePort(*w);
    Simulator sim(SimProfile::byName(QStringLiteral("gprs")));
    QVERIFY(sim.startTcpClient(QStringLiteral("127.0.0.1"), port));
    QSignalSpy uploads(w->gprsPage->terminal, &TcpTerminal::gprsPacketReceived);
    int sent = 0;
    // Each packet is sent once the one before it has been read, so every read is one packet.
    const auto upload = [&](const QByteArray& packet) {
        if (!sim.sendToLine(packet))
            return false;
        ++sent;
        return QTest::qWaitFor([&] { return uploads.count() == sent; }, WaitMs);
    };
    const QDateTime t0(QDate(2024, 3, 5), QTime(7, 8, 9));

    SimGprsUpload track;
    track.channels = {{1, 1}, {2, 2}};
    track.records = {record(t0, 1, 120.123456, -120.123456, {-123, 456}),
                     record(t0.addSecs(60), 4, -73.25, 30.000005, {256, -32766})};
    QVERIFY(upload(buildGprsUpload(track)));
    QCOMPARE(table(*w).columnCount(), 9);
    QCOMPARE(table(*w).rowCount(), 4);
    QCOMPARE(rowTexts(*w, 0),
             QStringLiteral("序号,时间,电量<%>,外部电源,经度,纬度,卫星数,1温度<℃>,2湿度<%RH>").split(u','));
    QCOMPARE(rowTexts(*w, 1), QStringList(9)); // the start-up table's empty row stays
    QCOMPARE(rowTexts(*w, 2),
             QStringLiteral("1,2024-03-05_07:08:09,90,有电,120.123456,-120.123456,7,-12.3,45.6").split(u','));
    QCOMPARE(rowTexts(*w, 3),
             QStringLiteral("2,2024-03-05_07:09:09,90,,-73.25,30.000005,7,25.6,null").split(u','));
    QCOMPARE(w->historyTablePage->StringGrid2->currentIndex().row(), 3);

    SimGprsUpload cells;
    cells.lonLat = false;
    cells.channels = {{1, 1}};
    SimGprsRecord r = record(t0.addDays(1), 0, 0, 0, {7});
    r.lac = 0x1234;
    r.cid = 0xABCD;
    cells.records = {r};
    QVERIFY(upload(buildGprsUpload(cells)));
    QCOMPARE(table(*w).columnCount(), 8);
    QCOMPARE(table(*w).rowCount(), 5);
    QCOMPARE(rowTexts(*w, 0),
             QStringLiteral("序号,时间,电量<%>,外部电源,LAC,CID,卫星数,1温度<℃>").split(u','));
    QCOMPARE(rowTexts(*w, 2).first(), QStringLiteral("1"));
    QCOMPARE(rowTexts(*w, 4), QStringLiteral("3,2024-03-06_07:08:09,90,无电,4660,43981,7,0.7").split(u','));
    QCOMPARE(w->historyTablePage->StringGrid2->currentIndex().row(), 4);

    SimGprsUpload empty;
    empty.channels = {{1, 1}, {2, 2}, {5, 5}};
    QVERIFY(upload(buildGprsUpload(empty)));
    QCOMPARE(table(*w).columnCount(), 10);
    QCOMPARE(table(*w).rowCount(), 5);
    QCOMPARE(rowTexts(*w, 0).mid(4, 2), QStringLiteral("经度,纬度").split(u','));
    QCOMPARE(rowTexts(*w, 4).first(), QStringLiteral("3"));

    // A month byte 0x1A stops the decoding with the conversion message; the record before stays.
    track.records = {record(t0, 2, 1, 1, {1, 2}), record(t0, 3, 1, 1, {3, 4})};
    QByteArray broken = buildGprsUpload(track);
    const int secondRecord = 26 + 3 * 2 + (2 * 2 + 17);
    broken[secondRecord + 1] = char(0x1A);
    broken.chop(1);
    broken.append(char(sum8(broken)));
    QVERIFY(upload(broken));
    QCOMPARE(table(*w).rowCount(), 6);
    QCOMPARE(rowTexts(*w, 5).mid(0, 4), QStringLiteral("4,2024-03-05_07:08:09,90,上电").split(u','));
    QCOMPARE(messages, QStringList{QStringLiteral("“1A”不是有效的整数")});
    setMessageHandler(previous);
}

void TestTcpPage::floodKeepsWindowAlive() {
    auto w = makeWindow();
    const quint16 port = listenOnFreePort(*w);
    QVERIFY(port != 0);
    // A heartbeat tick that falls between two reads of the server shows the window kept serving
    // other events while the flood was being read.
    int ticks = 0;
    bool tickedSinceRead = false;
    int interleavedTicks = 0;
    qint64 longestGapMs = 0;
    QElapsedTimer sinceTick;
    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        ++ticks;
        tickedSinceRead = true;
        if (sinceTick.isValid())
            longestGapMs = qMax(longestGapMs, sinceTick.restart());
        else
            sinceTick.start();
    });
    w->link->addReceiveTap(w.get(), [&](LinkSource, QByteArrayView) {
        if (tickedSinceRead)
            ++interleavedTicks;
        tickedSinceRead = false;
    });
    heartbeat.start(10);
    QTRY_VERIFY_WITH_TIMEOUT(ticks > 0, WaitMs);
    const qint64 before = residentKiB();

    // Clients come and go in rounds, each writing garbage as fast as the line takes it, until the
    // window has shown it keeps turning and several rounds have passed. The limit only keeps a
    // broken window from holding the test for ever.
    constexpr int WantedInterleavedTicks = 3;
    constexpr int WantedRounds = 3;
    std::atomic<bool> enough{false};
    std::atomic<bool> flooding{true};
    std::atomic<qint64> bytesSent{0};
    std::atomic<int> clients{0};
    std::atomic<int> rounds{0};
    std::thread flood([&] {
        QElapsedTimer clock;
        clock.start();
        QByteArray garbage(16384, '\0');
        for (int i = 0; i < garbage.size(); ++i)
            garbage[i] = char((i * 131 + 7) & 0xFF);
        while (!enough && clock.elapsed() < 120000) {
            int fds[6];
            for (int& fd : fds) {
                fd = ::socket(AF_INET, SOCK_STREAM, 0);
                sockaddr_in a{};
                a.sin_family = AF_INET;
                a.sin_port = htons(port);
                a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
                if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
                    ::close(fd);
                    fd = -1;
                }
                if (fd >= 0)
                    ++clients;
            }
            const qint64 roundStart = clock.elapsed();
            while (clock.elapsed() - roundStart < 250 && !enough)
                for (int fd : fds)
                    if (fd >= 0) {
                        const ssize_t n = ::send(fd, garbage.constData(), size_t(garbage.size()),
                                                 MSG_DONTWAIT | MSG_NOSIGNAL);
                        if (n > 0)
                            bytesSent += n;
                    }
            for (int fd : fds)
                if (fd >= 0)
                    ::close(fd);
            ++rounds;
        }
        flooding = false;
    });
    sinceTick.invalidate();
    const int ticksBefore = ticks;
    while (flooding) {
        QTest::qWait(50);
        if (interleavedTicks >= WantedInterleavedTicks && rounds >= WantedRounds)
            enough = true;
    }
    flood.join();
    const int ticksDuringFlood = ticks - ticksBefore;
    const qint64 longestGapDuringFlood = longestGapMs;
    QTest::qWait(200); // let the window read what the closed connections left behind
    const qint64 after = residentKiB();
    qInfo("flood: %d clients in %d rounds sent %lld KiB; %d heartbeat ticks of 10 ms meanwhile (%d between "
          "reads), longest gap %lld ms; Memo5 %d lines; RSS %lld KiB before, %lld KiB after",
          int(clients), int(rounds), qlonglong(bytesSent / 1024), ticksDuringFlood, interleavedTicks,
          qlonglong(longestGapDuringFlood), w->gprsPage->terminal->Memo5->blockCount(), qlonglong(before),
          qlonglong(after));
    QVERIFY(clients > 0 && bytesSent > 0);
    QVERIFY(interleavedTicks >= WantedInterleavedTicks);
    QVERIFY(w->gprsPage->terminal->Memo5->blockCount() <= TcpTerminal::LogLines);
    QVERIFY2(after - before < GrowthBoundKiB, "memory grew beyond the bound");
}

QTEST_MAIN(TestTcpPage)
#include "test_tcp_page.moc"
