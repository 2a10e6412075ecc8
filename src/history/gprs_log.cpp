#include "history/gprs_log.h"

#include "codec/checksums.h"
#include "codec/field_readers.h"
#include "device/channel_format.h"

#include <QDateTime>

namespace {

constexpr int NullValue = -32766;

QString powerText(int code) {
    switch (code) {
    case 0:
        return QStringLiteral("无电");
    case 1:
        return QStringLiteral("有电");
    case 2:
        return QStringLiteral("上电");
    case 3:
        return QStringLiteral("断电");
    default:
        return {};
    }
}

QDateTime stampTime(const TimeFields& t) {
    return QDateTime(QDate(2000 + t[0], t[1], t[2]), QTime(t[3], t[4], t[5]));
}

} // namespace

double gprsCoordinate(int degrees, quint16 high, int low) {
    // The sign bit counts even with a zero magnitude (a point just below the equator).
    const double fraction = ((high & 0x7FFF) * 256 + low) * 0.000001;
    const double value = degrees + fraction;
    return (high & 0x8000) ? -value : value;
}

bool hasGprsUploadSum(QByteArrayView bytes) {
    return bytes.size() >= 2 && quint8(bytes.back()) == sum8(bytes.first(bytes.size() - 1));
}

std::optional<GprsPacket> aDecodeGprsPacket(QByteArrayView p) {
    const qsizetype L = p.size();
    if (L < 2 || quint8(p[0]) != 0x31 || quint8(p[L - 2]) != 0x32)
        return std::nullopt;
    GprsPacket out;
    out.lonLat = aBufU8(p, 13) == 1;
    const int n = aBufU8(p, 23);
    out.channelCount = qMin(n, MaxChannels);
    for (int k = 0; k < out.channelCount; ++k) {
        out.kinds[k] = aBufU8(p, 24 + 3 * k);
        out.units[k] = aBufU8(p, 25 + 3 * k);
    }
    const int m = qMax(0, aBufS16(p, 24 + 3 * n, HighFirst));
    const qsizetype recordSize = 2 * n + 17;
    const qsizetype first = 26 + 3 * qsizetype(n);
    // Records end before the 0x32 marker; a count that promises more is cut to what arrived.
    const qsizetype available = L - 2 - first;
    const qsizetype fit = available > 0 ? available / recordSize : 0;
    const qsizetype count = qMin<qsizetype>(m, fit);
    for (qsizetype r = 0; r < count; ++r) {
        const qsizetype base = first + recordSize * r;
        GprsRecord rec;
        for (int i = 0; i < 6; ++i) {
            const int v = bcdValue(aBufU8(p, base + i));
            if (v < 0) {
                out.errorText = QString::fromLatin1(QByteArray::number(aBufU8(p, base + i), 16).toUpper());
                return out;
            }
            rec.stamp[i] = v;
        }
        if (!stampTime(rec.stamp).isValid()) {
            out.errorText = aTimeFieldsToText(rec.stamp);
            return out;
        }
        rec.battery = aBufU8(p, base + 6);
        rec.power = aBufU8(p, base + 7);
        if (out.lonLat) {
            rec.longitude =
                gprsCoordinate(aBufU8(p, base + 8), aBufU16(p, base + 9, HighFirst), aBufU8(p, base + 11));
            rec.latitude =
                gprsCoordinate(aBufU8(p, base + 12), aBufU16(p, base + 13, HighFirst), aBufU8(p, base + 15));
        } else {
            rec.lac = aBufU16(p, base + 8, HighFirst);
            rec.cid = aBufU16(p, base + 10, HighFirst);
        }
        rec.satellites = aBufU8(p, base + 16);
        for (int k = 0; k < out.channelCount; ++k)
            rec.values[k] = aBufS16(p, base + 17 + 2 * k, HighFirst);
        out.records << rec;
    }
    return out;
}

QStringList gprsHeader(const GprsPacket& packet) {
    QStringList cells = (packet.lonLat ? QStringLiteral("序号,时间,电量<%>,外部电源,经度,纬度,卫星数")
                                       : QStringLiteral("序号,时间,电量<%>,外部电源,LAC,CID,卫星数"))
                            .split(u',');
    for (int k = 0; k < packet.channelCount; ++k)
        cells << QString::number(k + 1) + aKindName(packet.kinds[k]) + aUnitText(packet.units[k]);
    return cells;
}

QStringList gprsRow(const GprsPacket& packet, const GprsRecord& rec, int sequence,
                    const DeviceStatus& status) {
    QStringList cells;
    cells << QString::number(sequence) << stampTime(rec.stamp).toString(QStringLiteral("yyyy-MM-dd_hh:mm:ss"))
          << QString::number(rec.battery) << powerText(rec.power);
    if (packet.lonLat)
        cells << QString::number(rec.longitude, 'g', 15) << QString::number(rec.latitude, 'g', 15);
    else
        cells << QString::number(rec.lac) << QString::number(rec.cid);
    cells << QString::number(rec.satellites);
    for (int k = 0; k < packet.channelCount; ++k)
        cells << (rec.values[k] == NullValue ? QStringLiteral("null")
                                             : aChannelValueToStr(rec.values[k], k, status));
    return cells;
}
