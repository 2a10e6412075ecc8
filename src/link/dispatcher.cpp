#include "link/dispatcher.h"

#include "codec/command_frame.h"
#include "link/chain_rules.h"

ResponseDispatcher::ResponseDispatcher(LinkState& state, QTimer& timer1, LinkHost& host,
                                       std::function<quint32()> tick)
    : m_state(state), m_timer1(timer1), m_host(host), m_tick(std::move(tick)) {}

void ResponseDispatcher::store(const HandlerStep& step) {
    m_state.followUpAction = step.followUpAction;
    if (step.autoReadChain)
        m_state.autoReadChain = *step.autoReadChain;
}

void ResponseDispatcher::aComRecDeel(QByteArrayView frame) {
    const qsizetype n = frame.size();
    if (n == 0)
        return;
    if (quint8(frame[0]) != Cmd::ResponseStart || quint8(frame[n - 1]) != Cmd::ResponseEnd) {
        if (m_state.transmitterOp != 6)
            m_timer1.stop();
        if (m_transmitterHandler)
            store(m_transmitterHandler(frame));
        return;
    }
    const quint8 code = frameCode(frame);
    // A download packet stops the timer itself once it proves to be the one asked for.
    if (code != Cmd::DownloadPacket)
        m_timer1.stop();
    if (code == Cmd::Connect) {
        connectResponse(frame);
        return;
    }
    const auto it = m_handlers.find(code);
    if (it != m_handlers.end() && it->second)
        store(it->second(frame));
}

void ResponseDispatcher::connectResponse(QByteArrayView frame) {
    m_state.receiveTick = m_tick();
    m_state.roundTripMs = qint64(quint32(m_state.receiveTick - m_state.sendTick));
    if (linkedIni)
        linkedIni();
    const int startTimeUnset = analyzeAndDisplay ? analyzeAndDisplay(frame) : 0;
    m_host.setProgressToMaximum();
    m_state.connected = 1;
    m_state.everConnected = 1;
    m_host.showInfoTab();
    m_host.setConnectCaption(QStringLiteral("连接设备"));
    const ChainStep next = afterConnect(m_state.autoReadChain, startTimeUnset);
    store({next.followUpAction, next.autoReadChain});
}
