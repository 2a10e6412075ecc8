#include "commands/recording_commands.h"

#include "commands/command_payload.h"
#include "commands/command_tables.h"

#include "codec/field_text.h"

namespace {

constexpr int TextFieldWidth = 20;
constexpr int IdentityFieldWidth = 10;
constexpr int MaxDelaySeconds = 32767;

int modeCode(const ValueTable& table, int index, EntryField field) {
    const std::optional<qint64> code = table.valueAt(index);
    if (!code)
        throw EntryRefused(field, EntryRefused::NoItem);
    return int(*code);
}

QByteArray timedClock(bool timed, QDate date, QTime time) {
    return timed ? payload::bcdClock(date, time) : QByteArray(6, '\0');
}

} // namespace

HexText buildRecordingParams(int address, const RecordingParams& params) {
    const int startCode = modeCode(startModes(), params.startModeIndex, EntryField::StartMode);
    const int stopCode = modeCode(stopModes(), params.stopModeIndex, EntryField::StopMode);

    QByteArray bytes(4, '\0');
    payload::appendU32(bytes, quint32(recordingIntervalSeconds(params.intervalIndex)));
    bytes += char(startCode);
    bytes += char(stopCode);
    bytes += char(0x01);
    bytes += char(address & 0xFF);
    bytes += payload::gbkText(params.userName, TextFieldWidth, EntryField::UserName);
    bytes += payload::gbkText(params.title, TextFieldWidth, EntryField::Title);
    // The instrument's own bytes go back unchanged; they were never the operator's text.
    bytes += payload::fixedBytes(params.model, IdentityFieldWidth);
    bytes += payload::fixedBytes(params.serialNumber, IdentityFieldWidth);
    bytes +=
        timedClock(params.startModeIndex == TimedStartItem, params.timedStartDate, params.timedStartTime);
    bytes += timedClock(params.stopModeIndex == TimedStopItem, params.timedStopDate, params.timedStopTime);
    return payload::frame(address, Cmd::SetRecordingParamsPiece, bytes);
}

HexText buildRestartRecording(int address, const QDateTime& now) {
    return payload::frame(address, Cmd::RestartRecordingPiece, payload::bcdClock(now.date(), now.time()));
}

HexText buildSetClock(int address, const QDateTime& now) {
    return payload::frame(address, Cmd::SetClockPiece, payload::bcdClock(now.date(), now.time()));
}

HexText buildStopRecording(int address) {
    return payload::frame(address, Cmd::StopRecordingPiece);
}

HexText buildReadBattery(int address) {
    return payload::frame(address, Cmd::ReadBatteryPiece);
}

HexText buildReadStartDelay(int address) {
    return payload::frame(address, Cmd::ReadStartDelayPiece);
}

HexText buildSetStartDelay(int address, const QString& delayText) {
    const QString digits = QString::fromUtf8(aHexStrip(delayText.toUtf8()));
    const qint64 seconds = parseDecimal(digits);
    // The field is sign-magnitude: beyond ±32767 the value would wrap into the sign bit.
    if (seconds < -MaxDelaySeconds || seconds > MaxDelaySeconds)
        throw EntryRefused(EntryField::StartDelay, EntryRefused::OutOfRange, MaxDelaySeconds,
                           -MaxDelaySeconds);
    return payload::frame(address, Cmd::SetStartDelayPiece, aHexToBytes(aDecToHex16(digits)));
}

BatteryLevel decodeBatteryLevel(QByteArrayView frame) {
    return {aBufU8(payload::fieldArea(frame), 5)};
}

StartDelay decodeStartDelay(QByteArrayView frame) {
    return {aBufS16(payload::fieldArea(frame), 5)};
}
