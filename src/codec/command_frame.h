#pragma once

// Command frames (PC -> instrument) and response frames (instrument -> PC).
//
//   offset 0      1        2     3..4            5 ..        L+3    L+4
//   AA | BB    address   code   length L (lo,hi)  payload     sum8   CC | DD
//
// L counts the payload plus the two trailing bytes; the sum covers bytes 0 .. last payload byte.
// Commands are assembled as hex text: "AA " + address + constant piece (code and length) +
// payload, then " " + sum + " cc". The text is what is stored and resent; it becomes bytes
// only when written.

#include "codec/checksums.h"
#include "codec/field_readers.h"
#include "codec/hex_text.h"

namespace Cmd {

// Command codes.
enum Code : quint8 {
    Connect = 0x01,
    StopRecording = 0x02,
    RestartRecording = 0x03,
    SetAddress = 0x04,
    SetRecordingParams = 0x06,
    SetChannelAlarm = 0x0a,
    SetModelSerial = 0x0B,
    SetPhones = 0x0C,
    ReadPhones = 0x0D,
    RestoreOnce = 0x10,
    DownloadStart = 0x11,
    DownloadPacket = 0x12,
    CurveAdjustMode = 0x13,
    FactoryReset = 0x14,
    SetClock = 0x1a,
    ReadBattery = 0x1d,
    SetGprs = 0x1E,
    ReadGprs = 0x1F,
    WorkModeSwitched = 0x20,
    CurveDotsSet = 0x22,
    SetSmsTitle = 0x24,
    ReadSmsTitle = 0x25,
    NumberSet = 0x26,
    SetStartDelay = 0x28,
    ReadStartDelay = 0x29,
    SetSmsHost = 0x2c,
    ReadSmsHost = 0x2d,
    StartUpgrade = 0x2e,
    SetReceiverFrequency = 0x30,
    PairCards = 0x31,
    SetReceiverParams = 0x32,
    ReadReceiverParams = 0x33,
    Monitor = 0x91,
};

// Constant pieces: code and length field exactly as they are written into the frame text.
inline constexpr char ConnectPiece[] = " 01 02 00";
inline constexpr char StopRecordingPiece[] = " 02 02 00 ";
inline constexpr char RestartRecordingPiece[] = " 03 08 00 ";
inline constexpr char SetAddressPiece[] = " 04 03 00 ";
inline constexpr char SetRecordingParamsPiece[] = " 06 56 00";
inline constexpr char SetChannelAlarmPiece[] = " 0a 08 00 ";
inline constexpr char SetModelSerialPiece[] = " 0B 16 00";
inline constexpr char SetPhonesPiece[] = " 0C 24 00 ";
inline constexpr char ReadPhonesPiece[] = " 0D 02 00";
inline constexpr char DownloadStartPiece[] = " 11 02 00 ";
inline constexpr char DownloadPacketPiece[] = " 12 04 00";
inline constexpr char FactoryResetPiece[] = " 14 03 00 01";
inline constexpr char SetClockPiece[] = " 1a 08 00 ";
inline constexpr char ReadBatteryPiece[] = " 1d 02 00";
inline constexpr char SetGprsPiece[] = " 1E 2F 00";
inline constexpr char ReadGprsPiece[] = " 1F 02 00";
inline constexpr char SetSmsTitlePiece[] = " 24 16 00";
inline constexpr char ReadSmsTitlePiece[] = " 25 02 00";
inline constexpr char SetStartDelayPiece[] = " 28 04 00 ";
inline constexpr char ReadStartDelayPiece[] = " 29 02 00 ";
inline constexpr char SetSmsHostPiece[] = " 2c 20 00";
inline constexpr char ReadSmsHostPiece[] = " 2d 02 00";
inline constexpr char StartUpgradePiece[] = " 2e 02 00";
inline constexpr char SetReceiverFrequencyPiece[] = " 30 03 00 ";
inline constexpr char PairCardsPiece[] = " 31 02 00 ";
inline constexpr char SetReceiverParamsPiece[] = " 32 19 00";
inline constexpr char ReadReceiverParamsPiece[] = " 33 02 00";
inline constexpr char MonitorOpenPiece[] = " 91 03 00 01";
inline constexpr char MonitorClosePiece[] = " 91 03 00 00";

inline constexpr quint8 CommandStart = 0xAA;
inline constexpr quint8 CommandEnd = 0xCC;
inline constexpr quint8 ResponseStart = 0xBB;
inline constexpr quint8 ResponseEnd = 0xDD;

} // namespace Cmd

// "AA " + address + piece + payload + " " + sum + " cc".
HexText buildCommandFrame(int address, const char* piece, const HexText& payload = {});

// A whole response frame: starts with 0xBB, ends with 0xDD, and byte n-2 is the sum of
// bytes 0 .. n-3.
bool isValidResponseFrame(QByteArrayView frame);

// Command code (byte 2) of a frame; 0 when the frame is too short to carry one.
inline quint8 frameCode(QByteArrayView frame) {
    return aBufU8(frame, 2);
}
