#pragma once

#include "link/link_host.h"
#include "link/link_state.h"

#include <QByteArrayView>
#include <QTimer>

#include <functional>
#include <map>

// Routes every verified frame to the handler of its command code, stops the response timer,
// and runs the connect branch. Pages register the handlers of their commands.
class ResponseDispatcher {
public:
    using Handler = std::function<void(QByteArrayView frame)>;

    ResponseDispatcher(LinkState& state, QTimer& timer1, LinkHost& host, std::function<quint32()> tick);

    void registerHandler(quint8 code, Handler handler);

    // Frames that are not 0xBB … 0xDD: transmitter (Modbus) responses.
    Handler transmitterHandler;

    // The connect response: aLinkedIni clears the SMS-host fields; analyzeAndDisplay decodes the
    // status, shows it and returns startTimeUnset.
    std::function<void()> linkedIni;
    std::function<int(QByteArrayView frame)> analyzeAndDisplay;

    void aComRecDeel(QByteArrayView frame);

private:
    void connectResponse(QByteArrayView frame);

    LinkState& m_state;
    QTimer& m_timer1;
    LinkHost& m_host;
    std::function<quint32()> m_tick;
    std::map<quint8, Handler> m_handlers;
};
