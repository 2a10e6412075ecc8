#include "device/device_status.h"

#include "codec/field_readers.h"
#include "codec/field_text.h"

namespace {

const QString DataError = QStringLiteral("数据错误");

QString lookup(int code, std::initializer_list<const char16_t*> names, int first) {
    const int i = code - first;
    if (i < 0 || i >= int(names.size()))
        return DataError;
    return QString::fromUtf16(*(names.begin() + i));
}

// Reads six BCD bytes into fields; stops at the first invalid byte and reports it.
bool readTime(QByteArrayView f, qsizetype pos, TimeFields& fields) {
    for (int i = 0; i < 6; ++i) {
        const int v = bcdValue(aBufU8(f, pos + i));
        if (v < 0)
            return false;
        fields[i] = v;
    }
    return true;
}

bool allEqual(const TimeFields& t, int v) {
    for (int x : t)
        if (x != v)
            return false;
    return true;
}

QByteArray field(QByteArrayView f, qsizetype pos, qsizetype width) {
    QByteArray out(width, '\0');
    for (qsizetype i = 0; i < width; ++i)
        out[i] = char(aBufU8(f, pos + i));
    return out;
}

} // namespace

QString startModeName(int code) {
    return lookup(code, {u"立即启动", u"定时启动", u"手动启动"}, 1);
}
QString stopModeName(int code) {
    return lookup(code, {u"记满停止", u"定时停止", u"先进先出", u"手动停止"}, 1);
}
QString workStateName(int code) {
    return lookup(code, {u"停止记录", u"正在记录"}, 0);
}
QString batteryName(int code) {
    return lookup(code, {u"电量正常", u"电量不足"}, 0);
}

int DeviceStatus::decodedChannelCount() const {
    return qBound(0, channelCount, MaxChannels);
}

int DeviceStatus::firmwareNumber() const {
    bool ok = false;
    const int v = aTimeStrip(firmwareText).toInt(&ok);
    return ok ? v : 0;
}

bool DeviceStatus::isGprsModel() const {
    return model.startsWith('G');
}

LogStateResult aLogStateAnalyze(QByteArrayView f, const DeviceStatus& previous) {
    LogStateResult result{previous, false};
    DeviceStatus& s = result.status;

    s.address = aBufU8(f, 1);
    s.userName = field(f, 40, 20);
    s.title = field(f, 60, 20);
    s.model = field(f, 80, 10);
    s.serialNumber = field(f, 90, 10).replace('\0', QByteArray());

    // One step: a byte that is not BCD ends it, and what follows keeps its old value.
    [&] {
        if (!readTime(f, 16, s.startTime))
            return;
        s.startTimeUnset = allEqual(s.startTime, 0) || allEqual(s.startTime, 1) ? 1 : 0;
        s.timestampedRecords = allEqual(s.startTime, 1) ? 1 : 0;
        if (!readTime(f, 100, s.timedStartTime))
            return;
        readTime(f, 106, s.timedStopTime);
    }();

    const quint8 fw = aBufU8(f, 116), fwNumber = aBufU8(f, 117);
    s.firmwareNumberText = QString::number(fwNumber);
    s.firmwareText =
        fwNumber >= 100 ? s.firmwareNumberText : QByteArray::number(fw, 16).toUpper().rightJustified(2, '0');

    s.capacity = aBufU32(f, 112);
    s.recordCount = aBufU32(f, 5);
    s.recordInterval = aBufU32(f, 32);

    s.startModeText = startModeName(aBufU8(f, 36));
    s.stopModeText = stopModeName(aBufU8(f, 37));
    s.workStateText = workStateName(aBufU8(f, 14));
    s.batteryText = batteryName(aBufU8(f, 118));

    s.downloadBaudRate = aBufU8(f, 120) == 0x01 ? 9600 : 115200;
    s.upgradable = aBufU8(f, 121) == 0x01 ? 1 : 0;
    result.isReceiver = aBufU8(f, 122) == 0x0A;

    const quint8 series = aBufU8(f, 123);
    s.firmwareSeries = series == 1 ? 1 : series == 2 ? 2 : 0;
    s.markT = aBufU8(f, 124) == 0x11 ? 1 : 0;
    s.featureFlags = aBufU8(f, 125);
    s.pNumber = aBufU8(f, 126);
    s.featureFlags2 = aBufU8(f, 127);

    s.channelCount = aBufU8(f, 128);
    for (int k = 0; k < s.decodedChannelCount(); ++k) {
        const qsizetype p = 129 + 12 * k;
        ChannelParams& c = s.channels[k];
        c.alarmLow = aBufS16(f, p);
        c.alarmHigh = aBufS16(f, p + 2);
        c.alarmSwitch = aBufU8(f, p + 4);
        c.rangeLow = aBufS16(f, p + 5);
        c.rangeHigh = aBufS16(f, p + 7);
        c.kind = aBufU8(f, p + 9);
        c.unit = aBufU8(f, p + 10);
        c.decimalsCode = aBufU8(f, p + 11);
    }
    return result;
}
