#pragma once

// What the instrument answers. Each command code has one handler; adding a command means
// writing one function and registering it in standardSimHandlers() (the settings commands
// register theirs in addSettingsHandlers(), sim_settings.h).

#include "sim/sim_fault.h"
#include "sim/sim_frames.h"
#include "sim/sim_profile.h"

#include <QHash>

#include <functional>
#include <optional>

// Takes the request payload and the instrument state (which it may change); returns the
// answer payload (the simulator frames it with the instrument's address and the same code),
// or nullopt for no answer.
using SimCommandHandler =
    std::function<std::optional<QByteArray>(const QByteArray& payload, SimProfile& state)>;

// Takes the Modbus request without its CRC (address, function, register, data); returns the
// answer bytes between the address and the CRC (function, byte count, data), or nullopt.
using SimModbusHandler =
    std::function<std::optional<QByteArray>(const QByteArray& request, SimProfile& state)>;

class SimHandlers {
public:
    void setCommand(quint8 code, SimCommandHandler handler) { m_commands.insert(code, std::move(handler)); }
    void setModbus(quint8 function, quint16 reg, SimModbusHandler handler) {
        m_modbus.insert(modbusKey(function, reg), std::move(handler));
    }
    void removeCommand(quint8 code) { m_commands.remove(code); }

    // The bytes to send for a request, or nullopt when the instrument stays silent: a bad sum,
    // another instrument's address, an unknown code, or a handler that does not answer.
    std::optional<QByteArray> answer(const SimRequest& request, SimProfile& state) const;

private:
    static quint32 modbusKey(quint8 function, quint16 reg) { return quint32(function) << 16 | reg; }

    QHash<quint8, SimCommandHandler> m_commands;
    QHash<quint32, SimModbusHandler> m_modbus;
};

// The handlers every simulated instrument starts with.
SimHandlers standardSimHandlers();

// Codes whose answer is a result byte (0x01 success): restart, factory reset, set clock.
bool simAnswerHasResult(quint8 code);

// One request answered, with the faults that shape the answer on the line.
struct SimReply {
    std::optional<QByteArray> answer;
    QList<SimFault> faults;
};

// Answers the request and takes the faults for its answer out of `pending`. Under a
// fail-result fault the instrument refuses a command whose answer has a result byte: its state
// stays as it was and the result byte is 0x00.
SimReply simReply(const SimHandlers& handlers, const SimRequest& request, SimProfile& state,
                  QList<SimFault>& pending);

// Single handlers, usable on their own in tests.
std::optional<QByteArray> simConnect(const QByteArray& payload, SimProfile& state);
std::optional<QByteArray> simModbusLiveValues(const QByteArray& request, SimProfile& state);
