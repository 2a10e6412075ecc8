#include "sim/sim_handlers.h"

#include "codec/command_frame.h"
#include "core/gbk_text.h"
#include "sim/sim_settings.h"

#include <algorithm>

std::optional<QByteArray> SimHandlers::answer(const SimRequest& request, SimProfile& state) const {
    if (!request.checksumOk)
        return std::nullopt;
    const quint8 own = quint8(state.address);

    if (request.kind == SimRequest::Kind::Command) {
        // Address 0 is the general address every instrument answers.
        if (request.address() != own && request.address() != 0)
            return std::nullopt;
        const auto it = m_commands.constFind(request.code());
        if (it == m_commands.constEnd())
            return std::nullopt;
        const std::optional<QByteArray> payload = (*it)(request.payload(), state);
        if (!payload)
            return std::nullopt;
        // The handler may have changed the address (set-address): answer from the new one.
        return buildResponseFrame(quint8(state.address), request.code(), *payload);
    }

    if (!state.modbus || request.address() != own || request.bytes.size() < 6)
        return std::nullopt;
    const auto it = m_modbus.constFind(modbusKey(request.code(), quint16(request.modbusRegister())));
    if (it == m_modbus.constEnd())
        return std::nullopt;
    const std::optional<QByteArray> body = (*it)(request.bytes.first(request.bytes.size() - 2), state);
    if (!body)
        return std::nullopt;
    QByteArray reply;
    reply.append(char(own));
    reply.append(*body);
    return appendModbusCrc(reply);
}

std::optional<QByteArray> simConnect(const QByteArray&, SimProfile& state) {
    return state.connectPayload();
}

std::optional<QByteArray> simModbusLiveValues(const QByteArray&, SimProfile& state) {
    // date and time (6 BCD), serial number (10), channel count, then per channel:
    // kind, unit, decimals code, value (sign-magnitude, high byte first)
    const QDateTime now = state.clock();
    QByteArray data;
    const QDate d = now.date();
    const QTime t = now.time();
    for (int v : {d.year() - 2000, d.month(), d.day(), t.hour(), t.minute(), t.second()})
        data.append(char(toBcd(v)));
    data.append(gbkField(state.serialNumber, 10));
    const int count = int(std::min<qsizetype>(state.channels.size(), 8));
    data.append(char(count));
    for (int k = 0; k < count; ++k) {
        const ChannelParams& c = state.channels[k];
        const int value = k < state.liveValues.size() ? state.liveValues[k] : 0;
        const quint16 raw = toSignMagnitude16(value);
        data.append(char(c.kind));
        data.append(char(c.unit));
        data.append(char(c.decimalsCode));
        data.append(char(raw >> 8));
        data.append(char(raw & 0xFF));
    }
    QByteArray body;
    body.append(char(0x03));
    body.append(char(data.size()));
    body.append(data);
    return body;
}

SimHandlers standardSimHandlers() {
    SimHandlers h;
    h.setCommand(Cmd::Connect, simConnect);
    addSettingsHandlers(h);
    h.setModbus(0x03, 0x0001, simModbusLiveValues);
    return h;
}

bool simAnswerHasResult(quint8 code) {
    return code == Cmd::RestartRecording || code == Cmd::FactoryReset || code == Cmd::SetClock;
}

SimReply simReply(const SimHandlers& handlers, const SimRequest& request, SimProfile& state,
                  QList<SimFault>& pending) {
    const bool hasResult = request.kind == SimRequest::Kind::Command && simAnswerHasResult(request.code());
    const bool mayRefuse = hasResult && std::any_of(pending.cbegin(), pending.cend(), [](const SimFault& f) {
                               return f.kind == SimFault::Kind::FailResult;
                           });
    // Kept only while a refusal is possible; the lists inside are shared, not copied.
    std::optional<SimProfile> before;
    if (mayRefuse)
        before = state;

    SimReply reply;
    reply.answer = handlers.answer(request, state);
    if (!reply.answer)
        return reply;
    reply.faults = takeFaultsFor(pending, request.number, hasResult);
    const bool refused = std::any_of(reply.faults.cbegin(), reply.faults.cend(),
                                     [](const SimFault& f) { return f.kind == SimFault::Kind::FailResult; });
    if (refused && before) {
        state = std::move(*before);
        reply.answer = buildResponseFrame(quint8(state.address), request.code(), QByteArray(1, '\0'));
    }
    return reply;
}
