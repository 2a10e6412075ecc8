#pragma once

// The command link: sends a command text over the serial port or TCP, waits for the answer with
// the one-shot Timer1, resends a bounded number of times, scans the serial ports while no
// instrument has answered yet, joins an answer that arrives in two pieces, verifies it and hands
// it to the dispatcher, then takes the follow-up step or closes the port.

#include "link/dispatcher.h"
#include "link/link_host.h"
#include "link/link_port.h"
#include "link/link_state.h"
#include "link/port_scan.h"
#include "link/transport.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <map>

class CommandLink : public QObject, public LinkPort {
    Q_OBJECT
public:
    // Two reader blocks (2048 bytes each) joined, plus the spare byte the reader appends.
    static constexpr int ReceiveBufferSize = 4097;

    // The link installs itself as the receiver of each transport. Either TCP side may be absent.
    CommandLink(LinkHost& host, SerialTransport& serial, Transport* tcpServer = nullptr,
                Transport* tcpClient = nullptr, QObject* parent = nullptr);

    // The window and tests set up and inspect the state directly; pages go through LinkPort.
    LinkState& state() { return m_state; }
    const LinkState& state() const override { return m_state; }
    ResponseDispatcher& dispatcher() { return m_dispatcher; }
    QTimer& Timer1() { return m_timer1; }
    QByteArrayView receiveBuffer() const { return QByteArrayView(m_receiveBuffer); }

    // Lists the serial ports for aComInit; the program lists real devices, tests and the demo their own.
    PortLister portLister;
    // Millisecond tick counter and the window's "process pending events"; replaceable in tests.
    std::function<quint32()> tick;
    std::function<void()> processEvents;
    // Pause after opening the port (the instrument needs it after DTR rises); tests shorten it.
    int openPauseMs = 100;

    // LinkPort
    void sendCommand(const HexText& frame) override;
    void registerFollowUp(int action, std::function<void()> click) override;
    void registerRawHandler(RawHandler handler) override { m_rawHandler = std::move(handler); }
    void registerMonitorParser(RawHandler parser) override { m_monitorParser = std::move(parser); }
    void addReceiveTap(QObject* context, Tap tap) override;
    void setTcpConnected(int value) override { m_state.tcpConnected = value; }
    void setTransmitterOp(int value) override { m_state.transmitterOp = value; }
    void setResponseTimeoutMs(int ms) override { m_state.responseTimeoutMs = ms; }
    void setMonitorActive(int value) override { m_state.monitorActive = value; }
    void setBootMode(int value) override { m_state.bootMode = value; }

    void aComSendStr(const HexText& text);
    void aComOpen();
    void aComClose();
    void aComSet();
    bool aComInit(); // false: no port found, the connect ends
    void aComBaudrateSet(quint32 rate);
    void Comm1ReceiveData(const char* buffer, int length);
    void aComRecDo(int n);
    void Timer1Timer();
    void Delay(int ms) override;
    void Button2Click();

    // Copies bytes that arrived over TCP into the receive buffer and processes them as they are.
    void receiveFromTcp(QByteArrayView bytes);

signals:
    // Every received burst, before the link looks at it.
    void received(LinkSource source, const QByteArray& bytes);

protected:
    ResponseDispatcher& responseDispatcher() override { return m_dispatcher; }

private:
    // The one place where the medium of a command is chosen, from the window's switches.
    LinkSource route() const;
    Transport* transport(LinkSource source) const;
    void receive(LinkSource source, QByteArrayView bytes);
    bool store(QByteArrayView bytes); // into receiveBuffer from 0; false when it does not fit
    void verifyAndDispatch(int n, bool& handled);
    void fail();
    QString portItem(int index) const;

    LinkHost& m_host;
    SerialTransport& m_serial;
    Transport* m_tcpServer;
    Transport* m_tcpClient;
    RawHandler m_rawHandler;
    RawHandler m_monitorParser;
    LinkState m_state;
    QTimer m_timer1;
    ResponseDispatcher m_dispatcher;
    QByteArray m_receiveBuffer;
    QByteArray m_firstPiece;
    std::map<int, std::function<void()>> m_followUps;
};
