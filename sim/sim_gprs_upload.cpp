#include "sim/sim_gprs_upload.h"

#include "codec/checksums.h"

#include <algorithm>
#include <cmath>

namespace {

// The program's server reads an upload in one piece of at most this many bytes.
constexpr int MaxPacketBytes = 1501;
constexpr int MaxChannelsSent = 8;

void putS16(QByteArray& out, int value) {
    const quint16 v = toSignMagnitude16(value);
    out.append(char(v >> 8));
    out.append(char(v & 0xFF));
}

} // namespace

std::array<quint8, 4> gprsCoordinateBytes(double value) {
    const double magnitude = std::fabs(value);
    int degrees = int(std::floor(magnitude));
    int millionths = int(std::lround((magnitude - degrees) * 1e6));
    if (millionths >= 1000000) { // 0.9999996 rounds up to the next degree
        ++degrees;
        millionths -= 1000000;
    }
    const quint16 high = quint16((millionths >> 8) | (value < 0 ? 0x8000 : 0));
    return {quint8(std::clamp(degrees, 0, 255)), quint8(high >> 8), quint8(high & 0xFF),
            quint8(millionths & 0xFF)};
}

int gprsRecordsPerPacket(int channels) {
    const int n = std::clamp(channels, 0, MaxChannelsSent);
    return (MaxPacketBytes - 28 - 3 * n) / (2 * n + 17);
}

QByteArray buildGprsUpload(const SimGprsUpload& upload) {
    const int n = int(std::min<qsizetype>(upload.channels.size(), MaxChannelsSent));
    QByteArray out;
    out.append(char(0x31));
    out.append(12, char(0));                 // logger identity, not read by the program
    out.append(char(upload.lonLat ? 1 : 2)); // position format
    out.append(9, char(0));
    out.append(char(n));
    for (int k = 0; k < n; ++k) {
        out.append(char(upload.channels[k].first));
        out.append(char(upload.channels[k].second));
        out.append(char(0));
    }
    putS16(out, int(upload.records.size()));
    for (const SimGprsRecord& r : upload.records) {
        const QDate d = r.time.date();
        const QTime t = r.time.time();
        for (int field : {d.year() - 2000, d.month(), d.day(), t.hour(), t.minute(), t.second()})
            out.append(char(toBcd(field)));
        out.append(char(r.battery));
        out.append(char(r.power));
        if (upload.lonLat) {
            for (double c : {r.longitude, r.latitude})
                for (quint8 b : gprsCoordinateBytes(c))
                    out.append(char(b));
        } else {
            for (int v : {r.lac, r.cid}) {
                out.append(char((v >> 8) & 0xFF));
                out.append(char(v & 0xFF));
            }
            out.append(4, char(0));
        }
        out.append(char(r.satellites));
        for (int k = 0; k < n; ++k)
            putS16(out, int(r.values.value(k)));
    }
    out.append(char(0x32));
    out.append(char(sum8(out)));
    return out;
}

QByteArray simGprsUploadPacket(const SimProfile& profile, int packet, int perPacket, const QDateTime& start) {
    SimGprsUpload upload;
    for (const ChannelParams& c : profile.channels)
        upload.channels.append({c.kind, c.unit});
    const int count = std::clamp(perPacket, 0, gprsRecordsPerPacket(int(upload.channels.size())));
    for (int i = 0; i < count; ++i) {
        const qint64 index = qint64(packet) * count + i;
        SimGprsRecord r;
        r.time = start.addSecs(index * qint64(profile.recordInterval));
        r.battery = 90;
        r.power = 1;
        r.longitude = 120.123456 + 0.00001 * double(index % 1000);
        r.latitude = 30.25;
        r.satellites = 7;
        if (!profile.records.isEmpty())
            r.values = profile.records[int(index % profile.records.size())];
        upload.records.append(r);
    }
    return buildGprsUpload(upload);
}
