#pragma once

// What pages see of the link: send a command, register the handlers of their responses and the
// clicks of follow-up steps, pause with events running, watch received traffic, and the few
// switches of the link state that operations outside the link own. Everything else in the link
// state is read-only here; the link and its dispatcher write it.

#include "codec/hex_text.h"
#include "link/dispatcher.h"
#include "link/link_state.h"

#include <QByteArrayView>
#include <QObject>

#include <functional>

// Where a received burst came from.
enum class LinkSource { Serial, TcpServer, TcpClient };

class LinkPort {
public:
    using RawHandler = std::function<void(QByteArrayView bytes)>;
    using Tap = std::function<void(LinkSource source, QByteArrayView bytes)>;

    virtual ~LinkPort() = default;

    // A builder's last step: store the command for resends and send it.
    virtual void sendCommand(const HexText& frame) = 0;
    // Waits ms milliseconds while events run: handlers must expect to be re-entered inside it.
    virtual void Delay(int ms) = 0;
    virtual const LinkState& state() const = 0;

    template <class T>
    void registerHandler(quint8 code, std::function<T(QByteArrayView)> decode,
                         std::function<HandlerStep(const T&)> handle) {
        responseDispatcher().registerHandler<T>(code, std::move(decode), std::move(handle));
    }
    template <class T>
    void registerTransmitterHandler(std::function<T(QByteArrayView)> decode,
                                    std::function<HandlerStep(const T&)> handle) {
        responseDispatcher().registerTransmitterHandler<T>(std::move(decode), std::move(handle));
    }
    // A follow-up step clicks a control in code: the registered function runs that control's handler.
    virtual void registerFollowUp(int action, std::function<void()> click) = 0;
    // While bootMode is set, every received burst goes here instead of the frame logic.
    virtual void registerRawHandler(RawHandler handler) = 0;
    // In the monitor's hex mode every serial burst is also given to this parser.
    virtual void registerMonitorParser(RawHandler parser) = 0;
    // Every burst from every medium, before the link looks at it; for pages that show traffic.
    // The subscription ends with `context`.
    virtual void addReceiveTap(QObject* context, Tap tap) = 0;

    virtual void setTcpConnected(int value) = 0;
    virtual void setTransmitterOp(int value) = 0;
    virtual void setResponseTimeoutMs(int ms) = 0;
    virtual void setMonitorActive(int value) = 0;
    virtual void setBootMode(int value) = 0;

protected:
    virtual ResponseDispatcher& responseDispatcher() = 0;
};
