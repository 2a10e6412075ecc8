#pragma once

// Recording commands: recording parameters, restart and stop, the clock, the battery level and
// the manual-start delay. Builders return the command text; `address` is the frame's address
// byte, 0 … 255. Entries that cannot be sent throw EntryRefused (entry_refused.h) or, for a
// number that is not one, ConversionError. Nothing here reads the PC clock: callers pass it.
//
// Answers and their decoders:
//   0x06, 0x02, 0x28, 0x20, 0x22, 0x26   decodeAcknowledgement
//   0x03, 0x1A, 0x10, 0x13               decodeCommandResult (byte 5, 0x01 success)
//   0x1d                                 decodeBatteryLevel
//   0x29                                 decodeStartDelay

#include "codec/hex_text.h"
#include "commands/command_answers.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

// Recording parameters, code 0x06, 84 payload bytes:
//    5  4  reserved, zero
//    9  4  recording interval, seconds, low byte first   recordingIntervalSeconds(intervalIndex)
//   13  1  start mode code                              startModes()  
//   14  1  stop mode code                               stopModes()  
//   15  1  0x01
//   16  1  address (the frame's address)
//   17 20  user name, GBK, zero bytes up to 20
//   37 20  title, GBK, zero bytes up to 20
//   57 10  model as the instrument last reported it (zeros before any connect)
//   67 10  serial number as last reported, zero bytes up to 10
//   77  6  timed start, BCD yy MM dd hh mm ss; zeros unless the start mode is "定时启动"
//   83  6  timed stop, the same; zeros unless the stop mode is "定时停止"
// Refused: a user name or title above 20 bytes; a start or stop index that is no item.
struct RecordingParams {
    int intervalIndex = 2;  // item of the interval list; "..." and unknown send ten days
    int startModeIndex = 0; // item of the start-mode list, -1 for typed text
    int stopModeIndex = 0;  // item of the stop-mode list, -1 for typed text
    QString userName;
    QString title;
    QByteArray model;        // the instrument's 10 model bytes from its last status, or empty
    QByteArray serialNumber; // its serial-number bytes from its last status, or empty
    QDate timedStartDate;
    QTime timedStartTime;
    QDate timedStopDate;
    QTime timedStopTime;
};
HexText buildRecordingParams(int address, const RecordingParams& params);

// Restart recording (0x03) and set the clock (0x1a), 6 payload bytes each:
//    5  6  now as BCD yy MM dd hh mm ss
HexText buildRestartRecording(int address, const QDateTime& now);
HexText buildSetClock(int address, const QDateTime& now);

// Stop recording (0x02), read the battery level (0x1d), read the manual-start delay (0x29):
// no payload.
HexText buildStopRecording(int address);
HexText buildReadBattery(int address);
HexText buildReadStartDelay(int address);

// Manual-start delay, code 0x28, 2 payload bytes:
//    5  2  seconds, sign-magnitude (bit 15 the sign), low byte first
// The entry's blanks and dots are dropped before it is read. Not a number: ConversionError;
// outside -32767 … 32767: EntryRefused (EntryField::StartDelay).
HexText buildSetStartDelay(int address, const QString& delayText);

// Battery answer (0x1d):
//    5  1  level, percent
struct BatteryLevel {
    int percent = 0;
};
BatteryLevel decodeBatteryLevel(QByteArrayView frame);

// Manual-start delay answer (0x29):
//    5  2  seconds, sign-magnitude, low byte first (as it was written)
struct StartDelay {
    int seconds = 0;
};
StartDelay decodeStartDelay(QByteArrayView frame);
