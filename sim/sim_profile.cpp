#include "sim/sim_profile.h"

#include "codec/command_frame.h"
#include "core/gbk_text.h"
#include "sim/sim_frames.h"

#include <QtMath>

#include <algorithm>

namespace {

constexpr int MarkerNull = -32766;

void putU32(QByteArray& b, int pos, quint32 v) {
    for (int i = 0; i < 4; ++i)
        b[pos + i] = char((v >> (8 * i)) & 0xFF);
}

void putS16(QByteArray& b, int pos, int v) {
    const quint16 raw = toSignMagnitude16(v);
    b[pos] = char(raw & 0xFF);
    b[pos + 1] = char(raw >> 8);
}

void putTime(QByteArray& b, int pos, const TimeFields& t) {
    for (int i = 0; i < 6; ++i)
        b[pos + i] = char(toBcd(t[size_t(i)]));
}

void putBytes(QByteArray& b, int pos, const QByteArray& v) {
    b.replace(pos, v.size(), v);
}

ChannelParams channel(int kind, int unit, int decimalsCode, int rangeLow, int rangeHigh, int alarmLow,
                      int alarmHigh, int alarmSwitch) {
    ChannelParams c;
    c.kind = kind;
    c.unit = unit;
    c.decimalsCode = decimalsCode;
    c.rangeLow = rangeLow;
    c.rangeHigh = rangeHigh;
    c.alarmLow = alarmLow;
    c.alarmHigh = alarmHigh;
    c.alarmSwitch = alarmSwitch;
    return c;
}

// Temperature in tenths of ℃ and humidity in tenths of %RH following a slow daily swing,
// with a few marker values where a real logger writes them (power on, missing sample).
QList<QList<int>> climateRecords(int count) {
    QList<QList<int>> records;
    records.reserve(count);
    for (int i = 0; i < count; ++i) {
        const double phase = 2 * M_PI * i / 1440.0;
        const int temperature = qRound(215 + 65 * std::sin(phase) + (i % 7) - 3);
        const int humidity = qRound(550 - 120 * std::sin(phase) + (i % 5));
        records.append({temperature, humidity});
    }
    for (int i : {17, count / 2, count - 3})
        if (i >= 0 && i < count)
            records[i][0] = MarkerNull;
    if (count > 40)
        records[40][1] = MarkerNull;
    return records;
}

SimProfile loggerBase() {
    SimProfile p;
    p.name = QStringLiteral("logger");
    p.address = 1;
    p.userName = QStringLiteral("KORVEL");
    p.title = QStringLiteral("冷库一号");
    p.model = QStringLiteral("L99-2");
    p.serialNumber = QStringLiteral("2403050017");
    p.restoreFactorySettings();
    p.workState = 0x01;
    p.startTime = {24, 3, 5, 8, 0, 0};
    p.timedStartTime = {24, 3, 6, 8, 0, 0};
    p.timedStopTime = {24, 4, 6, 8, 0, 0};
    p.capacity = 16000;
    p.firmwareBcd = 0x40;
    p.firmwareNumber = 140;
    p.battery = 0x00;
    p.downloadSpeed = 0x01;
    p.upgradable = 0x01;
    p.series = 0x01;
    p.channels = {channel(1, 1, 2, -400, 850, 0, 305, 1), channel(2, 2, 2, 0, 1000, 200, 800, 0)};
    p.records = climateRecords(3000);
    p.liveValues = {235, 612};
    return p;
}

} // namespace

quint16 toSignMagnitude16(int value) {
    const int magnitude = std::min(std::abs(value), 0x7FFF);
    return quint16(value < 0 ? 0x8000 | magnitude : magnitude);
}

quint8 toBcd(int value) {
    const int v = std::clamp(value, 0, 99);
    return quint8((v / 10) << 4 | (v % 10));
}

void SimProfile::restoreFactorySettings() {
    recordInterval = 60;
    startMode = 0x01; // immediately
    stopMode = 0x03;  // first in, first out
    timedStartTime = {};
    timedStopTime = {};
    startDelay = 0;
    gprs = SimGprsSettings{};
}

QDateTime SimProfile::clock() const {
    return QDateTime::currentDateTime().addMSecs(clockOffsetMs);
}

void SimProfile::setClock(const QDateTime& instrumentTime) {
    clockOffsetMs = QDateTime::currentDateTime().msecsTo(instrumentTime);
}

QByteArray SimProfile::connectPayload() const {
    // Offsets below are those of the whole frame; the payload starts at frame offset 5.
    const int channelCount = int(std::min<qsizetype>(channels.size(), 255));
    QByteArray f(129 + 12 * channelCount, '\0');
    putU32(f, 5, recordCount());
    f[14] = char(workState);
    putTime(f, 16, startTime);
    putU32(f, 32, recordInterval);
    f[36] = char(startMode);
    f[37] = char(stopMode);
    putBytes(f, 40, gbkField(userName, 20));
    putBytes(f, 60, gbkField(title, 20));
    putBytes(f, 80, gbkField(model, 10));
    putBytes(f, 90, gbkField(serialNumber, 10));
    putTime(f, 100, timedStartTime);
    putTime(f, 106, timedStopTime);
    putU32(f, 112, capacity);
    f[116] = char(firmwareBcd);
    f[117] = char(firmwareNumber);
    f[118] = char(battery);
    f[120] = char(downloadSpeed);
    f[121] = char(upgradable);
    f[122] = char(receiverByte);
    f[123] = char(series);
    f[124] = char(markT);
    f[125] = char(featureFlags);
    f[126] = char(pNumber);
    f[127] = char(featureFlags2);
    f[128] = char(channelCount);
    for (int k = 0; k < channelCount; ++k) {
        const ChannelParams& c = channels[k];
        const int at = 129 + 12 * k;
        putS16(f, at + 0, c.alarmLow);
        putS16(f, at + 2, c.alarmHigh);
        f[at + 4] = char(c.alarmSwitch);
        putS16(f, at + 5, c.rangeLow);
        putS16(f, at + 7, c.rangeHigh);
        f[at + 9] = char(c.kind);
        f[at + 10] = char(c.unit);
        f[at + 11] = char(c.decimalsCode);
    }
    return f.mid(5);
}

QByteArray SimProfile::connectResponse() const {
    return buildResponseFrame(quint8(address), Cmd::Connect, connectPayload());
}

QStringList SimProfile::names() {
    return {QStringLiteral("logger"), QStringLiteral("gprs"), QStringLiteral("stamped"),
            QStringLiteral("receiver"), QStringLiteral("transmitter")};
}

SimProfile SimProfile::byName(const QString& profileName) {
    SimProfile p = loggerBase();
    if (profileName == QLatin1String("logger"))
        return p;
    if (profileName == QLatin1String("gprs")) {
        // A GPRS logger that has never been started: after a connect the program sets its clock
        // and, because the model begins with "G", goes on to read its upload settings, its
        // phone numbers and (firmware above 89) its SMS title.
        p.model = QStringLiteral("G99-4");
        p.serialNumber = QStringLiteral("G24030101");
        p.startTime = {};
        p.workState = 0x00;
        p.firmwareBcd = 0x95;
        p.firmwareNumber = 95;
        p.records = climateRecords(500);
        p.gprs.ip = {127, 0, 0, 1};
        p.gprs.recordInterval = 600;
        p.gprs.uploadInterval = 10;
        p.gprs.hostName = QStringLiteral("upload.example.com");
    } else if (profileName == QLatin1String("stamped")) {
        p.model = QStringLiteral("L99-2S");
        p.startTime = {1, 1, 1, 1, 1, 1};
        p.records = climateRecords(1200);
    } else if (profileName == QLatin1String("receiver")) {
        p.model = QStringLiteral("R99-8");
        p.receiverByte = 0x0A;
        p.records = climateRecords(200);
    } else if (profileName == QLatin1String("transmitter")) {
        p.model = QStringLiteral("T99-2");
        p.modbus = true;
        p.firmwareBcd = 0x15;
        p.firmwareNumber = 115;
        p.records = climateRecords(800);
    } else {
        return SimProfile{};
    }
    p.name = profileName;
    return p;
}
