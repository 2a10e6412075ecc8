#pragma once

// GPRS upload packets: a batch of records (time, battery, external power, position, satellites,
// channel values) that a GPRS logger sends to the TCP server.
//
//   0        0x31                       13   position format (1 = longitude/latitude, else LAC/CID)
//   23       n channels                 24+3k kind, unit, (unused) of channel k
//   24+3n    m records (s16, high byte first)
//   26+3n+(2n+17)r   record r:
//        0 six BCD bytes yy MM dd hh mm ss   6 battery %   7 power state   8 position (8 bytes)
//       16 satellites                       17+2k value of channel k (s16, high byte first)
//   L-2      0x32                       L-1  sum of all bytes before it

#include "device/device_status.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

struct GprsRecord {
    TimeFields stamp{};
    int battery = 0;
    int power = 0;
    int lac = 0;
    int cid = 0;
    double longitude = 0;
    double latitude = 0;
    int satellites = 0;
    std::array<int, MaxChannels> values{};
};

struct GprsPacket {
    bool lonLat = true;   // position format 1; otherwise the mobile cell (LAC, CID)
    int channelCount = 0; // channels shown: the announced count, at most eight
    std::array<int, MaxChannels> kinds{};
    std::array<int, MaxChannels> units{};
    QList<GprsRecord> records;
    // Set when a record's time is not BCD or not a valid date; the records before it are kept.
    QString errorText;
};

// The trailing byte is the sum of every byte before it (an upload worth decoding; anything else is
// only logged). Fewer than two bytes have no sum to check.
bool hasGprsUploadSum(QByteArrayView bytes);

// Decodes a packet; nullopt when it does not start with 0x31 or lacks the 0x32 before its sum.
// Records are read only as far as the received bytes reach, never beyond.
std::optional<GprsPacket> aDecodeGprsPacket(QByteArrayView packet);

// A position coordinate: degrees + (magnitude of high * 256 + low) * 0.000001, negative when
// bit 15 of high is set.
double gprsCoordinate(int degrees, quint16 high, int low);

// Header cells: the fixed columns and one per channel ("1温度<℃>").
QStringList gprsHeader(const GprsPacket& packet);
// One table row; sequence is the number shown in the first cell.
QStringList gprsRow(const GprsPacket& packet, const GprsRecord& record, int sequence,
                    const DeviceStatus& status);
