#include "sim/sim_settings.h"

#include "codec/command_frame.h"
#include "core/gbk_text.h"

#include <algorithm>

namespace {

constexpr int ClockBytes = 6;
constexpr int RecordingBlockBytes = 84;
constexpr int IdentityFieldBytes = 10;
constexpr int TextFieldBytes = 20;
constexpr int GprsBytes = 45;
constexpr int HostNameBytes = 30;

QByteArray result(bool success) {
    return QByteArray(1, success ? '\x01' : '\x00');
}

quint8 u8At(const QByteArray& b, int pos) {
    return quint8(b[pos]);
}

quint16 u16At(const QByteArray& b, int pos) {
    return quint16(u8At(b, pos) | u8At(b, pos + 1) << 8);
}

quint32 u32At(const QByteArray& b, int pos) {
    return quint32(u16At(b, pos)) | quint32(u16At(b, pos + 2)) << 16;
}

void appendU16(QByteArray& b, quint16 v) {
    b.append(char(v & 0xFF));
    b.append(char(v >> 8));
}

void appendU32(QByteArray& b, quint32 v) {
    appendU16(b, quint16(v & 0xFFFF));
    appendU16(b, quint16(v >> 16));
}

int fromSignMagnitude16(quint16 raw) {
    const int magnitude = raw & 0x7FFF;
    return (raw & 0x8000) ? -magnitude : magnitude;
}

// Six clock bytes, two decimal digits each; nothing when a digit is not one.
std::optional<TimeFields> bcdFields(const QByteArray& b, int pos) {
    TimeFields t{};
    for (int i = 0; i < ClockBytes; ++i) {
        const quint8 v = u8At(b, pos + i);
        if ((v >> 4) > 9 || (v & 0x0F) > 9)
            return std::nullopt;
        t[size_t(i)] = (v >> 4) * 10 + (v & 0x0F);
    }
    return t;
}

// A clock the instrument can run from: digits that make a real date and time of this century.
std::optional<QDateTime> clockAt(const QByteArray& b, int pos) {
    const std::optional<TimeFields> t = bcdFields(b, pos);
    if (!t)
        return std::nullopt;
    const QDate date(2000 + (*t)[0], (*t)[1], (*t)[2]);
    const QTime time((*t)[3], (*t)[4], (*t)[5]);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time);
}

QString textAt(const QByteArray& b, int pos, int width) {
    return gbkToString(QByteArrayView(b).sliced(pos, width));
}

bool isTimestampMarker(const TimeFields& t) {
    return std::all_of(t.begin(), t.end(), [](int v) { return v == 1; });
}

} // namespace

std::optional<QByteArray> simStopRecording(const QByteArray& payload, SimProfile& state) {
    if (!payload.isEmpty())
        return std::nullopt;
    state.workState = 0x00;
    return QByteArray();
}

std::optional<QByteArray> simRestartRecording(const QByteArray& payload, SimProfile& state) {
    if (payload.size() != ClockBytes)
        return std::nullopt;
    const std::optional<QDateTime> now = clockAt(payload, 0);
    if (!now)
        return result(false);
    state.setClock(*now);
    // A new recording starts with an empty memory at the time it was given. A logger whose
    // records carry their own stamps keeps its all-ones marker: that is what it is, not a time.
    state.records.clear();
    state.workState = 0x01;
    if (!isTimestampMarker(state.startTime))
        state.startTime = *bcdFields(payload, 0);
    return result(true);
}

std::optional<QByteArray> simSetAddress(const QByteArray& payload, SimProfile& state) {
    if (payload.size() != 1)
        return std::nullopt;
    // Address 0 is the one every instrument listens to; none can own it, so the instrument
    // stays where it is and its answer says so.
    const quint8 address = u8At(payload, 0);
    if (address != 0)
        state.address = address;
    return QByteArray();
}

std::optional<QByteArray> simSetRecordingParams(const QByteArray& payload, SimProfile& state) {
    if (payload.size() != RecordingBlockBytes)
        return std::nullopt;
    // Payload offsets: 0 reserved, 4 interval, 8 start mode, 9 stop mode, 10 constant,
    // 11 address, 12 user name, 32 title, 52 model, 62 serial, 72 timed start, 78 timed stop.
    // The address byte only repeats the frame's; moving is the address command's job.
    state.recordInterval = u32At(payload, 4);
    state.startMode = u8At(payload, 8);
    state.stopMode = u8At(payload, 9);
    state.userName = textAt(payload, 12, TextFieldBytes);
    state.title = textAt(payload, 32, TextFieldBytes);
    state.model = textAt(payload, 52, IdentityFieldBytes);
    state.serialNumber = textAt(payload, 62, IdentityFieldBytes);
    // Digits that are not decimal make no time; the instrument keeps none rather than garbage.
    state.timedStartTime = bcdFields(payload, 72).value_or(TimeFields{});
    state.timedStopTime = bcdFields(payload, 78).value_or(TimeFields{});
    return QByteArray();
}

std::optional<QByteArray> simSetModelSerial(const QByteArray& payload, SimProfile& state) {
    if (payload.size() != 2 * IdentityFieldBytes)
        return std::nullopt;
    state.model = textAt(payload, 0, IdentityFieldBytes);
    state.serialNumber = textAt(payload, IdentityFieldBytes, IdentityFieldBytes);
    return QByteArray();
}

std::optional<QByteArray> simFactoryReset(const QByteArray& payload, SimProfile& state) {
    if (payload.size() != 1)
        return std::nullopt;
    if (u8At(payload, 0) != 0x01)
        return result(false);
    state.restoreFactorySettings();
    return result(true);
}

std::optional<QByteArray> simSetClock(const QByteArray& payload, SimProfile& state) {
    if (payload.size() != ClockBytes)
        return std::nullopt;
    const std::optional<QDateTime> now = clockAt(payload, 0);
    if (!now)
        return result(false);
    // Only the clock: a logger that was never started stays unstarted until it is restarted.
    state.setClock(*now);
    return result(true);
}

std::optional<QByteArray> simReadBattery(const QByteArray& payload, SimProfile& state) {
    if (!payload.isEmpty())
        return std::nullopt;
    return QByteArray(1, char(state.batteryLevel));
}

std::optional<QByteArray> simSetStartDelay(const QByteArray& payload, SimProfile& state) {
    if (payload.size() != 2)
        return std::nullopt;
    state.startDelay = fromSignMagnitude16(u16At(payload, 0));
    return QByteArray();
}

std::optional<QByteArray> simReadStartDelay(const QByteArray& payload, SimProfile& state) {
    if (!payload.isEmpty())
        return std::nullopt;
    QByteArray out;
    appendU16(out, toSignMagnitude16(state.startDelay));
    return out;
}

QByteArray simGprsSettingsBytes(const SimGprsSettings& g) {
    QByteArray out;
    for (quint8 part : g.ip)
        out.append(char(part));
    appendU16(out, g.port);
    appendU32(out, g.recordInterval);
    out.append(char(g.powerMode));
    out.append(char(g.uploadInterval));
    appendU16(out, g.printCount);
    out.append(char(g.targetKind));
    out.append(gbkField(g.hostName, HostNameBytes));
    return out;
}

std::optional<QByteArray> simSetGprs(const QByteArray& payload, SimProfile& state) {
    if (payload.size() != GprsBytes)
        return std::nullopt;
    SimGprsSettings& g = state.gprs;
    for (int i = 0; i < 4; ++i)
        g.ip[size_t(i)] = u8At(payload, i);
    g.port = u16At(payload, 4);
    g.recordInterval = u32At(payload, 6);
    g.powerMode = u8At(payload, 10);
    g.uploadInterval = u8At(payload, 11);
    g.printCount = u16At(payload, 12);
    g.targetKind = u8At(payload, 14);
    g.hostName = textAt(payload, 15, HostNameBytes);
    return QByteArray();
}

std::optional<QByteArray> simReadGprs(const QByteArray& payload, SimProfile& state) {
    if (!payload.isEmpty())
        return std::nullopt;
    return simGprsSettingsBytes(state.gprs);
}

void addSettingsHandlers(SimHandlers& h) {
    h.setCommand(Cmd::StopRecording, simStopRecording);
    h.setCommand(Cmd::RestartRecording, simRestartRecording);
    h.setCommand(Cmd::SetAddress, simSetAddress);
    h.setCommand(Cmd::SetRecordingParams, simSetRecordingParams);
    h.setCommand(Cmd::SetModelSerial, simSetModelSerial);
    h.setCommand(Cmd::FactoryReset, simFactoryReset);
    h.setCommand(Cmd::SetClock, simSetClock);
    h.setCommand(Cmd::ReadBattery, simReadBattery);
    h.setCommand(Cmd::SetStartDelay, simSetStartDelay);
    h.setCommand(Cmd::ReadStartDelay, simReadStartDelay);
    h.setCommand(Cmd::SetGprs, simSetGprs);
    h.setCommand(Cmd::ReadGprs, simReadGprs);
}
