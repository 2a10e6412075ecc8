#pragma once

// GPRS upload settings: write (code 0x1E) and read (code 0x1F). The write's payload and the
// read answer's payload have one layout, 45 bytes:
//    5  4  server IPv4 address, a.b.c.d as a, b, c, d
//    9  2  server port, low byte first
//   11  4  recording interval, seconds, low byte first   gprsRecordIntervals()
//   15  1  power mode: 0 normal, 1 power saving (2: blank)
//   16  1  upload interval, minutes                      gprsUploadIntervals()
//   17  2  records to print, low byte first              gprsPrintCounts()
//   19  1  target: 0 the IPv4 address, 1 the host name
//   20 30  host name, GBK, zero bytes up to 30
//
// The write answer (0x1E) carries nothing that is read: decodeAcknowledgement.

#include "codec/hex_text.h"
#include "commands/command_answers.h"

#include <QString>

#include <array>

// What the write takes from the GPRS group's controls.
struct GprsSettingsEntry {
    QString ipAddress = QStringLiteral("0.0.0.0"); // dotted text; each part 0 … 255
    QString port = QStringLiteral("8001");         // entry text; blanks and dots are dropped
    int recordIntervalIndex = 1;                   // blank or none: 1800 s
    int powerModeIndex = 0;                        // 0, 1, or 2 for the blank item; -1 is refused
    int uploadIntervalIndex = 9;                   // blank or none: 1 minute
    int printCountIndex = 0;                       // blank, typed or none: 100
    bool toHostName = false;                       // upload to the host name, not the address
    QString hostName; // surrounding blanks are dropped (show the operator gprsHostNameText())
};

// The host name as it is sent: the entry without surrounding blanks.
QString gprsHostNameText(const QString& hostName);

// Not a number (port, an address part): ConversionError. An address part above 255:
// ConversionError. A port above 65535 (or below 0): EntryRefused (ServerPort, "数值输入有误！").
// A host name above 30 bytes: EntryRefused (HostName). Power mode -1: EntryRefused (PowerMode).
HexText buildSetGprs(int address, const GprsSettingsEntry& entry);

// The read: no payload.
HexText buildReadGprs(int address);

// The read answer's fields as the instrument holds them; mapping them to list items is the
// lists' business (indexOfValue), since unknown values are shown differently per list.
struct GprsSettings {
    std::array<int, 4> ip{}; // a, b, c, d
    int port = 0;
    quint32 recordIntervalSeconds = 0;
    int powerMode = 0;
    int uploadIntervalMinutes = 0;
    int printCount = 0;
    int targetKind = 0; // non-zero: the host name
    QString hostName;   // up to the first zero byte

    QString ipText() const; // "a.b.c.d"
    bool toHostName() const { return targetKind != 0; }
};
GprsSettings decodeGprsSettings(QByteArrayView frame);
