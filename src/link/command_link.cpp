#include "link/command_link.h"

#include "codec/command_frame.h"

#include "core/gbk_text.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <chrono>
#include <thread>

namespace {

quint32 monotonicMs() {
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return quint32(clock.elapsed());
}

const QString TimeoutText = QStringLiteral("连接超时，请重新连接");
const QString NoPortText = QStringLiteral("未找到串口，请检查串口设备是否妥当");

} // namespace

CommandLink::CommandLink(LinkHost& host, SerialTransport& serial, Transport* tcpServer, Transport* tcpClient,
                         QObject* parent)
    : QObject(parent), tick(monotonicMs), processEvents([] { QCoreApplication::processEvents(); }),
      m_host(host), m_serial(serial), m_tcpServer(tcpServer), m_tcpClient(tcpClient),
      m_dispatcher(m_state, m_timer1, host, [this] { return tick(); }),
      m_receiveBuffer(ReceiveBufferSize, '\0'), m_firstPiece(ReceiveBufferSize, '\0') {
    m_timer1.setSingleShot(true);
    m_timer1.setObjectName(QStringLiteral("Timer1"));
    connect(&m_timer1, &QTimer::timeout, this, &CommandLink::Timer1Timer);
    m_serial.setReceiver([this](QByteArrayView bytes) { receive(LinkSource::Serial, bytes); });
    if (m_tcpServer)
        m_tcpServer->setReceiver([this](QByteArrayView bytes) { receive(LinkSource::TcpServer, bytes); });
    if (m_tcpClient)
        m_tcpClient->setReceiver([this](QByteArrayView bytes) { receive(LinkSource::TcpClient, bytes); });
}

void CommandLink::addReceiveTap(QObject* context, Tap tap) {
    connect(this, &CommandLink::received, context,
            [tap = std::move(tap)](LinkSource source, const QByteArray& bytes) { tap(source, bytes); });
}

LinkSource CommandLink::route() const {
    if (!m_host.tcpChecked())
        return LinkSource::Serial;
    return m_host.serverModeChecked() ? LinkSource::TcpServer : LinkSource::TcpClient;
}

Transport* CommandLink::transport(LinkSource source) const {
    switch (source) {
    case LinkSource::Serial:
        return &m_serial;
    case LinkSource::TcpServer:
        return m_tcpServer;
    case LinkSource::TcpClient:
        return m_tcpClient;
    }
    return nullptr;
}

void CommandLink::receive(LinkSource source, QByteArrayView bytes) {
    emit received(source, bytes.toByteArray());
    switch (source) {
    case LinkSource::Serial:
        Comm1ReceiveData(bytes.data(), int(qMin<qsizetype>(bytes.size(), 0xFFFF)));
        return;
    // Over TCP only hex reads carry instrument frames; the server's are frames only in server
    // mode (otherwise they are GPRS uploads or text for the terminal).
    case LinkSource::TcpServer:
        if (m_host.serverHexChecked() && m_host.serverModeChecked())
            receiveFromTcp(bytes);
        return;
    case LinkSource::TcpClient:
        if (m_host.clientHexChecked())
            receiveFromTcp(bytes);
        return;
    }
}

void CommandLink::registerFollowUp(int action, std::function<void()> click) {
    m_followUps[action] = std::move(click);
}

void CommandLink::sendCommand(const HexText& frame) {
    m_state.pendingCommand = frame;
    m_state.retryCount = 0;
    aComSendStr(frame);
}

void CommandLink::aComSendStr(const HexText& text) {
    if (processEvents)
        processEvents();
    const LinkSource source = route();
    if (source == LinkSource::Serial)
        aComOpen();
    // The serial side takes the text as the hex converter reads it; the sockets get it with
    // blanks and dots dropped first, as they always have.
    const QByteArray bytes = source == LinkSource::Serial ? aHexToBytes(text) : aHexToBytes(aHexStrip(text));
    Transport* medium = transport(source);
    const SendResult result = medium ? medium->send(bytes) : SendResult::Failed;
    // A failed send ends like a lost answer, in the time-out text. A server with nobody
    // connected has no one to wait for: no timer is armed.
    if (result == SendResult::NoPeer)
        return;
    if (source != LinkSource::Serial || m_state.bootMode == 0)
        m_timer1.start(m_state.responseTimeoutMs);
    m_state.sendTick = tick();
}

void CommandLink::aComOpen() {
    if (m_state.portOpen == 1)
        return;
    m_state.portOpen = 1;
    try {
        m_serial.openPort();
    } catch (const std::exception& e) {
        // The operator sees the time-out text as always; the status bar says why.
        m_host.reportPortProblem(QString::fromUtf8(e.what()));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(openPauseMs));
}

void CommandLink::aComClose() {
    m_state.portOpen = 0;
    m_serial.closePort();
}

void CommandLink::aComSet() {
    m_serial.applyLinkDefaults();
}

void CommandLink::aComBaudrateSet(quint32 rate) {
    m_serial.setBaudRate(rate);
    m_serial.setReadIntervalTimeout(128);
}

bool CommandLink::aComInit() {
    if (!m_host.fixedPortChecked()) {
        QStringList ports = m_host.portItems();
        if (portLister)
            aComPortsNum(ports, portLister);
        m_host.setPortItems(ports);
        m_state.portCount = int(ports.size());
        if (m_state.portCount == 0) {
            m_host.setStatusText(NoPortText);
            return false;
        }
        // The scan starts with the last port; after a connect, with the port that answered,
        // unless the list has shrunk below it.
        if (m_state.everConnected == 0 || m_state.scanIndex >= m_state.portCount || m_state.scanIndex < 0)
            m_state.scanIndex = m_state.portCount - 1;
        m_state.scanCount = 1;
    }
    aComSet();
    return true;
}

QString CommandLink::portItem(int index) const {
    const QStringList items = m_host.portItems();
    return index >= 0 && index < items.size() ? items.at(index) : QString();
}

void CommandLink::Button2Click() {
    m_state.autoReadChain = 1;
    m_state.bootMode = 0;
    m_state.restoreAfterUpgrade = 0;
    m_host.setConnectCaption(QStringLiteral("正在连接"));
    m_host.setStatusText(QStringLiteral("正在连接设备，请等待"));
    m_host.collapseTree();
    m_host.setProgressRange(0, 5);
    m_host.setProgress(2);
    m_host.showInfoTab();
    if (processEvents)
        processEvents();
    m_state.connected = 0;
    m_state.monitorActive = 0;
    m_state.pendingCommand = buildCommandFrame(m_host.addressIndex(), Cmd::ConnectPiece);

    if (m_host.tcpChecked()) {
        m_host.setPortItems({QStringLiteral("IP 通讯")});
        m_host.selectPort(0);
    } else {
        if (!aComInit()) {
            m_host.setConnectCaption(QStringLiteral("连接设备"));
            return;
        }
        if (m_host.fixedPortChecked()) {
            const QString port = portItem(m_host.selectedPortIndex());
            if (port.isEmpty()) {
                m_host.setStatusText(NoPortText);
                m_host.setConnectCaption(QStringLiteral("连接设备"));
                return;
            }
            m_serial.setCommName(serialDevicePath(port));
        } else {
            m_serial.setCommName(serialDevicePath(portItem(m_state.scanIndex)));
            m_host.selectPort(m_state.scanIndex);
        }
        aComClose();
    }
    m_state.retryCount = 0;
    aComSendStr(m_state.pendingCommand);
}

bool CommandLink::store(QByteArrayView bytes) {
    if (bytes.size() > ReceiveBufferSize)
        return false;
    std::copy(bytes.begin(), bytes.end(), m_receiveBuffer.begin());
    return true;
}

void CommandLink::Comm1ReceiveData(const char* buffer, int length) {
    length = qBound(0, length, 0xFFFF);
    const QByteArrayView bytes(buffer, length);
    if (m_host.hexMonitorChecked()) {
        m_host.appendMonitorText(QString::fromLatin1(aBytesToHex(bytes)) + QStringLiteral("\r\n\r\n"));
        if (m_monitorParser)
            m_monitorParser(bytes);
    } else if (m_state.monitorActive == 1) {
        m_host.showMonitor();
        m_host.appendMonitorText(gbkToString(bytes));
    }
    // A burst longer than the buffer cannot be a frame of ours: dropped like a bad checksum.
    if (!store(bytes))
        return;
    int n = length;
    if (n >= 2 && quint8(buffer[0]) == Cmd::ResponseStart && quint8(buffer[n - 1]) != Cmd::ResponseEnd &&
        quint8(buffer[n - 2]) == Cmd::ResponseEnd)
        --n;
    aComRecDo(n);
}

void CommandLink::receiveFromTcp(QByteArrayView bytes) {
    if (!store(bytes))
        return;
    aComRecDo(int(bytes.size()));
}

void CommandLink::verifyAndDispatch(int n, bool& handled) {
    const QByteArrayView frame(m_receiveBuffer.constData(), n);
    if (isValidResponseFrame(frame)) {
        m_dispatcher.aComRecDeel(frame);
        handled = true;
    }
}

void CommandLink::aComRecDo(int n) {
    n = qBound(0, n, ReceiveBufferSize);
    const QByteArrayView bytes(m_receiveBuffer.constData(), n);
    if (m_state.bootMode != 0) {
        if (m_rawHandler)
            m_rawHandler(bytes);
        return;
    }
    bool handled = false;
    const quint8 first = aBufU8(bytes, 0), last = aBufU8(bytes, n - 1);
    const bool transmitterFrame = n >= 3 && first == quint8(m_host.addressIndex() & 0xFF) &&
                                  crc16(bytes.first(n - 2)) == aBufU16(bytes, n - 2, LowFirst);
    if (transmitterFrame) {
        m_dispatcher.aComRecDeel(bytes);
        handled = true;
    } else if (n >= 3 && first == Cmd::ResponseStart && last == Cmd::ResponseEnd) {
        verifyAndDispatch(n, handled);
    } else if (n > 0 && first == Cmd::ResponseStart && last != Cmd::ResponseEnd) {
        m_state.fragmentLength = n & 0xFFFF;
        std::copy(bytes.begin(), bytes.end(), m_firstPiece.begin());
    } else if (n > 0 && first != Cmd::ResponseStart && last == Cmd::ResponseEnd) {
        const int joined = m_state.fragmentLength + n;
        if (joined <= ReceiveBufferSize) {
            // Second piece moves up behind the first; copy backwards-safe via a temporary.
            const QByteArray second(bytes.data(), n);
            std::copy(m_firstPiece.begin(), m_firstPiece.begin() + m_state.fragmentLength,
                      m_receiveBuffer.begin());
            std::copy(second.begin(), second.end(), m_receiveBuffer.begin() + m_state.fragmentLength);
            n = joined;
            verifyAndDispatch(n, handled);
        }
    }
    std::fill(m_receiveBuffer.begin(), m_receiveBuffer.begin() + n, '\0');

    if (!handled || m_state.downloadActive != 0)
        return;
    const int action = m_state.followUpAction;
    const auto it = m_followUps.find(action);
    if (action == FollowKeepOpen) {
        // The port stays open for the exchange that continues.
    } else if (action != FollowNone && it != m_followUps.end() && it->second) {
        it->second();
    } else {
        // A step that no control answers for ends its chain here, as the last step would.
        if (action != FollowNone)
            m_state.autoReadChain = 0;
        aComClose();
    }
    m_state.followUpAction = FollowNone;
}

void CommandLink::fail() {
    m_state.downloadActive = 0;
    m_host.setProgress(0);
    m_state.restoreAfterUpgrade = 0;
    m_state.followUpAction = FollowNone;
    m_host.setStatusText(TimeoutText);
    m_host.setConnectCaption(QStringLiteral("连接设备"));
    m_state.autoReadChain = 0;
}

void CommandLink::Timer1Timer() {
    m_timer1.stop();
    if (m_state.monitorActive == 1)
        return;
    const int limit = m_state.downloadActive != 0 ? 4 : 2;
    if (m_host.tcpChecked()) {
        if (m_state.retryCount < limit) {
            ++m_state.retryCount;
            aComSendStr(m_state.pendingCommand);
            return;
        }
        fail();
        return;
    }
    if (m_host.fixedPortChecked() || m_state.connected == 1) {
        if (m_state.retryCount < limit) {
            ++m_state.retryCount;
            aComSendStr(m_state.pendingCommand);
            return;
        }
        aComBaudrateSet(9600);
        aComClose();
        fail();
        return;
    }
    if (m_state.scanCount <= m_state.portCount) {
        aComClose();
        ++m_state.retryCount;
        if (m_state.retryCount >= 2) {
            m_state.retryCount = 0;
            ++m_state.scanCount;
            ++m_state.scanIndex;
            if (m_state.scanIndex >= m_state.portCount)
                m_state.scanIndex = 0;
        }
        if (m_state.scanCount <= m_state.portCount) {
            const QString port = portItem(m_state.scanIndex);
            m_serial.setCommName(serialDevicePath(port));
            m_host.selectPort(m_state.scanIndex);
            aComSendStr(m_state.pendingCommand);
            return;
        }
    }
    aComBaudrateSet(9600);
    aComClose();
    fail();
}

void CommandLink::Delay(int ms) {
    if (ms <= 0)
        return;
    // A timer may fire a little early; the pause lasts at least ms on the monotonic clock.
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < ms) {
        QEventLoop loop;
        QTimer::singleShot(int(ms - elapsed.elapsed()) + 1, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }
}
