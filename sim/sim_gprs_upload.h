#pragma once

// GPRS upload packets as a GPRS logger sends them to the program's TCP server: a batch of
// records with time, battery, external power, position and channel values. Pure and thread-free.

#include "sim/sim_profile.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>

#include <array>
#include <utility>

struct SimGprsRecord {
    QDateTime time;       // years 2000 .. 2099
    int battery = 100;    // percent
    int power = 1;        // 0 none, 1 on, 2 switched on, 3 switched off
    double longitude = 0; // position format 1
    double latitude = 0;
    int lac = 0; // other formats: the mobile cell
    int cid = 0;
    int satellites = 0;
    QList<int> values; // one raw value per channel; missing ones are sent as 0
};

struct SimGprsUpload {
    bool lonLat = true;                  // position format 1, else the cell
    QList<std::pair<int, int>> channels; // kind code, unit code
    QList<SimGprsRecord> records;
};

// The whole packet: 0x31, header, channel table, records, 0x32, sum.
QByteArray buildGprsUpload(const SimGprsUpload& upload);

// A coordinate's four bytes: whole degrees, the fraction (millionths) as a sign-magnitude
// high part (high byte first) and its low byte.
std::array<quint8, 4> gprsCoordinateBytes(double value);

// Most records of n channels that fit into one packet the program's server reads at once.
int gprsRecordsPerPacket(int channels);

// What a GPRS logger with this profile uploads: packet number `packet` (0-based) of its
// records, each packet as many records as fit (at most `perPacket`), stamped from `start` at
// the profile's record interval, at a fixed position that moves a little per record.
QByteArray simGprsUploadPacket(const SimProfile& profile, int packet, int perPacket, const QDateTime& start);
