#pragma once

// The command link: sends a command text over the serial port or TCP, waits for the answer with
// the one-shot Timer1, resends a bounded number of times, scans the serial ports while no
// instrument has answered yet, joins an answer that arrives in two pieces, verifies it and hands
// it to the dispatcher, then takes the follow-up step or closes the port.

#include "link/dispatcher.h"
#include "link/link_host.h"
#include "link/link_state.h"
#include "link/link_transport.h"
#include "serial/port_list.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <map>

class CommandLink : public QObject {
    Q_OBJECT
public:
    // Two reader blocks (2048 bytes each) joined, plus the spare byte the reader appends.
    static constexpr int ReceiveBufferSize = 4097;

    CommandLink(LinkHost& host, SerialTransport& serial, TcpTransport* tcp = nullptr,
                QObject* parent = nullptr);

    LinkState& state() { return m_state; }
    const LinkState& state() const { return m_state; }
    ResponseDispatcher& dispatcher() { return m_dispatcher; }
    QTimer& Timer1() { return m_timer1; }
    QByteArrayView receiveBuffer() const { return QByteArrayView(m_receiveBuffer); }

    // Lists the serial ports for aComInit; the program lists real devices, tests and the demo their own.
    PortLister portLister;
    // Received bytes while bootMode is set go here instead of the frame logic.
    std::function<void(QByteArrayView bytes)> bootHandler;
    // The serial monitor's hex parser, given the received bytes in hex mode.
    std::function<void(QByteArrayView bytes)> monitorHexParser;
    // Millisecond tick counter and the window's "process pending events"; replaceable in tests.
    std::function<quint32()> tick;
    std::function<void()> processEvents;
    // Pause after opening the port (the instrument needs it after DTR rises); tests shorten it.
    int openPauseMs = 100;

    // A follow-up step clicks a control in code: the registered function runs that control's handler.
    void registerFollowUp(int action, std::function<void()> click);

    // A builder's last step: store the command for resends and send it.
    void sendCommand(const HexText& frame);

    void aComSendStr(const HexText& text);
    void aComOpen();
    void aComClose();
    void aComSet();
    bool aComInit(); // false: no port found, the connect ends
    void aComBaudrateSet(quint32 rate);
    void Comm1ReceiveData(const char* buffer, int length);
    void aComRecDo(int n);
    void Timer1Timer();
    void Delay(int ms);
    void Button2Click();

    // Copies bytes that arrived over TCP into the receive buffer and processes them as they are.
    void receiveFromTcp(QByteArrayView bytes);

private:
    bool store(QByteArrayView bytes); // into receiveBuffer from 0; false when it does not fit
    void verifyAndDispatch(int n, bool& handled);
    void fail();
    QString portItem(int index) const;

    LinkHost& m_host;
    SerialTransport& m_serial;
    TcpTransport* m_tcp;
    LinkState m_state;
    QTimer m_timer1;
    ResponseDispatcher m_dispatcher;
    QByteArray m_receiveBuffer;
    QByteArray m_firstPiece;
    std::map<int, std::function<void()>> m_followUps;
};
