#pragma once

// Routes every verified frame to the handler of its command code, stops the response timer,
// and runs the connect branch. Pages register, per code, a pure decoder (frame -> struct) and a
// handler that takes the struct, writes controls and returns its step of a chain; the dispatcher
// stores that step for the link to take.

#include "link/chain_rules.h"
#include "link/link_host.h"
#include "link/link_state.h"

#include <QByteArrayView>
#include <QTimer>

#include <functional>
#include <map>
#include <optional>

// What a handler asks for after its response: the follow-up step (0: none, the port closes)
// and, for the responses of the reads after a connect, the chain flag.
struct HandlerStep {
    int followUpAction = FollowNone;
    std::optional<int> autoReadChain; // unchanged when empty
};

inline HandlerStep followUp(int action) {
    return {action, std::nullopt};
}
inline HandlerStep chainStep(const ChainStep& step) {
    return {step.followUpAction, step.autoReadChain};
}

class ResponseDispatcher {
public:
    using FrameHandler = std::function<HandlerStep(QByteArrayView frame)>;

    ResponseDispatcher(LinkState& state, QTimer& timer1, LinkHost& host, std::function<quint32()> tick);

    // The decoder sees the whole verified frame; the handler only what it decoded.
    template <class T>
    void registerHandler(quint8 code, std::function<T(QByteArrayView)> decode,
                         std::function<HandlerStep(const T&)> handle) {
        m_handlers[code] = erase(std::move(decode), std::move(handle));
    }
    // Frames that are not 0xBB … 0xDD: transmitter (Modbus) responses.
    template <class T>
    void registerTransmitterHandler(std::function<T(QByteArrayView)> decode,
                                    std::function<HandlerStep(const T&)> handle) {
        m_transmitterHandler = erase(std::move(decode), std::move(handle));
    }

    // The connect response: aLinkedIni clears the SMS-host fields; analyzeAndDisplay decodes the
    // status, shows it and returns startTimeUnset.
    std::function<void()> linkedIni;
    std::function<int(QByteArrayView frame)> analyzeAndDisplay;

    void aComRecDeel(QByteArrayView frame);

private:
    template <class T>
    static FrameHandler erase(std::function<T(QByteArrayView)> decode,
                              std::function<HandlerStep(const T&)> handle) {
        return [decode = std::move(decode), handle = std::move(handle)](QByteArrayView frame) {
            return handle(decode(frame));
        };
    }
    void connectResponse(QByteArrayView frame);
    void store(const HandlerStep& step);

    LinkState& m_state;
    QTimer& m_timer1;
    LinkHost& m_host;
    std::function<quint32()> m_tick;
    std::map<quint8, FrameHandler> m_handlers;
    FrameHandler m_transmitterHandler;
};
