#pragma once

// The instrument's side of its settings commands: identity, address, recording, clock,
// battery, start delay and upload settings. Each handler reads the request payload the way the
// instrument's firmware does, keeps what it is told in the profile, and answers with the
// payload below. A request whose payload is not the size the command has is not understood:
// no answer, as from a real instrument.
//
//   code  request payload                         answer payload
//   0x02  none                                    none          stops recording
//   0x03  clock, 6 BCD yy MM dd hh mm ss          result        restarts recording at that time
//   0x04  new address                             none          moves; answers from the new address
//   0x06  recording block, 84 bytes               none          keeps it; the next connect shows it
//   0x0B  model 10, serial number 10              none
//   0x14  0x01                                    result        factory settings
//   0x1a  clock, 6 BCD                            result        sets the clock
//   0x1d  none                                    level, percent
//   0x28  delay, sign-magnitude, low byte first   none
//   0x29  none                                    delay as kept
//   0x1E  upload settings, 45 bytes               none
//   0x1F  none                                    upload settings as kept, 45 bytes
// A result byte is 0x01 for success, 0x00 when the instrument cannot do what it was asked
// (a clock that is no date, a factory reset without its 0x01).

#include "sim/sim_handlers.h"

// Registers every handler below with its code.
void addSettingsHandlers(SimHandlers& handlers);

std::optional<QByteArray> simStopRecording(const QByteArray& payload, SimProfile& state);
std::optional<QByteArray> simRestartRecording(const QByteArray& payload, SimProfile& state);
std::optional<QByteArray> simSetAddress(const QByteArray& payload, SimProfile& state);
std::optional<QByteArray> simSetRecordingParams(const QByteArray& payload, SimProfile& state);
std::optional<QByteArray> simSetModelSerial(const QByteArray& payload, SimProfile& state);
std::optional<QByteArray> simFactoryReset(const QByteArray& payload, SimProfile& state);
std::optional<QByteArray> simSetClock(const QByteArray& payload, SimProfile& state);
std::optional<QByteArray> simReadBattery(const QByteArray& payload, SimProfile& state);
std::optional<QByteArray> simSetStartDelay(const QByteArray& payload, SimProfile& state);
std::optional<QByteArray> simReadStartDelay(const QByteArray& payload, SimProfile& state);
std::optional<QByteArray> simSetGprs(const QByteArray& payload, SimProfile& state);
std::optional<QByteArray> simReadGprs(const QByteArray& payload, SimProfile& state);

// The 45 bytes of the upload settings as the instrument sends and takes them:
//    0  4  server IPv4 address, a.b.c.d as a, b, c, d
//    4  2  server port, low byte first
//    6  4  recording interval, seconds, low byte first
//   10  1  power mode
//   11  1  upload interval, minutes
//   12  2  records to print, low byte first
//   14  1  target kind: 0 the address, 1 the host name
//   15 30  host name, GBK, zero-padded
QByteArray simGprsSettingsBytes(const SimGprsSettings& settings);
