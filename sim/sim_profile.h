#pragma once

// What the simulated instrument is: everything its connect response reports, its clock and
// its recorded values. Handlers read and change it as a real instrument changes its settings.

#include "device/device_status.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// Where a GPRS logger uploads to and how often; what its GPRS settings read answers.
struct SimGprsSettings {
    std::array<quint8, 4> ip{}; // a.b.c.d as a, b, c, d
    quint16 port = 8001;
    quint32 recordInterval = 60; // seconds; kept apart from the logger's own interval
    quint8 powerMode = 0;        // 0 normal, 1 power saving
    quint8 uploadInterval = 5;   // minutes
    quint16 printCount = 100;    // records
    quint8 targetKind = 0;       // 0 the address, 1 the host name
    QString hostName;            // GBK, zero-padded to 30 bytes on the wire
};

struct SimProfile {
    QString name;
    bool modbus = false; // also answers Modbus RTU requests at its address (transmitters)

    int address = 1;
    QString userName; // texts travel as GBK, zero-padded to their field widths
    QString title;
    QString model;
    QString serialNumber;
    quint8 workState = 0x01;     // 0 stopped, 1 recording
    TimeFields startTime{};      // all 0: never started; all 1: records carry their own stamps
    quint32 recordInterval = 60; // seconds
    quint8 startMode = 0x01;
    quint8 stopMode = 0x01;
    TimeFields timedStartTime{};
    TimeFields timedStopTime{};
    quint32 capacity = 16000;
    quint8 firmwareBcd = 0x40;   // byte 116
    quint8 firmwareNumber = 140; // byte 117
    quint8 battery = 0x00;
    quint8 downloadSpeed = 0x01; // 0x01: downloads at 9600 baud, else 115200
    quint8 upgradable = 0x01;
    quint8 receiverByte = 0x00; // 0x0A: a wireless receiver
    quint8 series = 0x01;
    quint8 markT = 0x00; // 0x11: T marker
    quint8 featureFlags = 0x00;
    quint8 pNumber = 0x00;
    quint8 featureFlags2 = 0x00;
    QList<ChannelParams> channels;
    quint8 batteryLevel = 80; // percent, what the battery read answers
    int startDelay = 0;       // manual-start delay, seconds
    SimGprsSettings gprs;

    // Recorded values, one list of raw channel values per record (markers such as -32766 included).
    QList<QList<int>> records;
    // Current readings per channel (what a transmitter reports as live values).
    QList<int> liveValues;

    // The instrument's clock runs at the PC's pace from wherever it was last set.
    qint64 clockOffsetMs = 0;
    QDateTime clock() const;
    void setClock(const QDateTime& instrumentTime);

    quint32 recordCount() const { return quint32(records.size()); }

    // What the factory reset puts back: recording interval, start and stop modes, timed start
    // and stop, start delay and upload settings. Identity, address, clock and records stay.
    void restoreFactorySettings();

    // Bytes 5 .. end of the connect response payload, laid out as the status record.
    QByteArray connectPayload() const;
    // The whole connect response frame (0xBB … 0xDD).
    QByteArray connectResponse() const;

    // "logger", "gprs", "stamped", "receiver", "transmitter"; unknown names give an empty
    // profile (name empty) so callers can refuse them.
    static SimProfile byName(const QString& name);
    static QStringList names();
};

// Sign-magnitude 16-bit, as the instruments carry signed values.
quint16 toSignMagnitude16(int value);
// Two BCD digits per byte: 24 -> 0x24.
quint8 toBcd(int value);
