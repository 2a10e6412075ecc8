#include "commands/gprs_settings.h"

#include "codec/field_text.h"
#include "commands/command_payload.h"
#include "commands/command_tables.h"
#include "core/gbk_text.h"

namespace {

constexpr int HostNameWidth = 30;
constexpr qint64 MaxPort = 65535;

QByteArray ipBytes(const QString& dotted) {
    QByteArray out;
    for (const QString& part : aIpSplit(dotted))
        out += aHexToBytes(aDecToHex8(part)); // refuses parts that are not 0 … 255
    return out;
}

quint16 portNumber(const QString& text) {
    const qint64 port = parseDecimal(QString::fromUtf8(aHexStrip(text.toUtf8())));
    if (port < 0 || port > MaxPort)
        throw EntryRefused(EntryField::ServerPort, EntryRefused::OutOfRange, MaxPort, 0);
    return quint16(port);
}

} // namespace

QString gprsHostNameText(const QString& hostName) {
    return hostName.trimmed();
}

HexText buildSetGprs(int address, const GprsSettingsEntry& entry) {
    const quint16 port = portNumber(entry.port);
    const QByteArray ip = ipBytes(entry.ipAddress);
    if (entry.powerModeIndex < 0 || entry.powerModeIndex > gprsPowerModes().size())
        throw EntryRefused(EntryField::PowerMode, EntryRefused::NoItem);
    const QByteArray host =
        payload::gbkText(gprsHostNameText(entry.hostName), HostNameWidth, EntryField::HostName);

    QByteArray bytes = ip;
    payload::appendU16(bytes, port);
    payload::appendU32(bytes, quint32(gprsRecordIntervalSeconds(entry.recordIntervalIndex)));
    bytes += char(entry.powerModeIndex);
    bytes += char(gprsUploadIntervalMinutes(entry.uploadIntervalIndex));
    payload::appendU16(bytes, quint32(gprsPrintCount(entry.printCountIndex)));
    bytes += char(entry.toHostName ? 1 : 0);
    bytes += host;
    return payload::frame(address, Cmd::SetGprsPiece, bytes);
}

HexText buildReadGprs(int address) {
    return payload::frame(address, Cmd::ReadGprsPiece);
}

QString GprsSettings::ipText() const {
    return QStringLiteral("%1.%2.%3.%4").arg(ip[0]).arg(ip[1]).arg(ip[2]).arg(ip[3]);
}

GprsSettings decodeGprsSettings(QByteArrayView frame) {
    const QByteArrayView area = payload::fieldArea(frame);
    GprsSettings s;
    for (int i = 0; i < 4; ++i)
        s.ip[size_t(i)] = aBufU8(area, 5 + i);
    s.port = aBufU16(area, 9);
    s.recordIntervalSeconds = aBufU32(area, 11);
    s.powerMode = aBufU8(area, 15);
    s.uploadIntervalMinutes = aBufU8(area, 16);
    s.printCount = aBufU16(area, 17);
    s.targetKind = aBufU8(area, 19);
    s.hostName = gbkToString(payload::fieldBytes(frame, 20, HostNameWidth));
    return s;
}
