#include "device/info_view.h"

#include "codec/field_text.h"
#include "codec/value_tables.h"
#include "core/gbk_text.h"
#include "device/channel_format.h"

const std::vector<InfoNode>& infoTreeSkeleton() {
    static const std::vector<InfoNode> nodes = {
        {0, QStringLiteral("设备参数")},     {1, QStringLiteral("地        址")},
        {1, QStringLiteral("用  户  名")},   {1, QStringLiteral("标        题")},
        {1, QStringLiteral("型        号")}, {1, QStringLiteral("S   N   号")},
        {1, QStringLiteral("硬件版本")},     {0, QStringLiteral("记录参数")},
        {8, QStringLiteral("记录容量")},     {8, QStringLiteral("记录次数")},
        {8, QStringLiteral("记录间隔")},     {8, QStringLiteral("启动时间")},
        {8, QStringLiteral("启动方式")},     {8, QStringLiteral("停止方式")},
        {8, QStringLiteral("工作状态")},     {8, QStringLiteral("电池状态")},
        {0, QStringLiteral("通道参数")},
    };
    return nodes;
}

QString fillPercentText(quint32 recordCount, quint32 capacity) {
    if (capacity == 0)
        return aIntToStr2(0);
    return aIntToStr2(qint64(quint64(recordCount) * 10000 / capacity));
}

QString remainingDurationText(quint32 recordCount, quint32 capacity, quint32 recordInterval) {
    if (recordCount >= capacity)
        return QStringLiteral("0");
    // Both factors come from the instrument and may be as large as 32 bits hold: the product
    // needs all 64 bits, unsigned.
    return durationText(quint64(capacity - recordCount) * recordInterval);
}

QString firmwareMarkers(const DeviceStatus& s) {
    if (s.upgradable != 1)
        return {};
    QString m = s.firmwareSeries == 1   ? QStringLiteral(".S2")
                : s.firmwareSeries == 2 ? QStringLiteral(".S0")
                                        : QStringLiteral(".S1");
    const int f = s.firmwareNumber();
    if (f < 133)
        return m;
    const int flags = s.featureFlags;
    if (flags != 0xC4) {
        if (flags & 0x80)
            m += u'B';
        if (f >= 139 && (s.featureFlags2 & 0x02))
            m += u'H';
        if (flags != 0)
            m += u'.';
        if (flags & 0x01)
            m += u'P' + QString::number(s.pNumber);
        if (flags & 0x02)
            m += u'L';
        if (flags & 0x04)
            m += u'A';
        if (flags & 0x08)
            m += u'G';
        if (flags & 0x20)
            m += QStringLiteral("M2");
        else if (flags & 0x10)
            m += QStringLiteral("M1");
        if (flags & 0x40)
            m += u'Y';
        if (s.markT == 1)
            m += u'T';
    }
    if (f >= 137 && (s.featureFlags2 & 0x01))
        m += u'K';
    return m;
}

QString channelLineText(const DeviceStatus& s, int k) {
    const ChannelParams c = k >= 0 && k < MaxChannels ? s.channels[k] : ChannelParams{};
    const auto v = [&](int raw) { return aChannelValueToStr(raw, k, s); };
    return QStringLiteral("通  道    ") + QString::number(k + 1) + QStringLiteral("：") + u'【' +
           aKindName(c.kind) + aUnitText(c.unit) + u'】' + QStringLiteral("，量程【") + v(c.rangeLow) +
           u'，' + v(c.rangeHigh) + u'】' + QStringLiteral("，报警下限上限【") + v(c.alarmLow) + u'，' +
           v(c.alarmHigh) + u'】' + QStringLiteral("，报警开关") +
           (c.alarmSwitch == 1 ? QStringLiteral("【打开】") : QStringLiteral("【关闭】"));
}

InfoViewTexts infoViewTexts(const DeviceStatus& s) {
    InfoViewTexts t;
    t.address = QStringLiteral("地        址：") + QString::number(s.address);
    t.userName = QStringLiteral("用  户  名：") + gbkToString(s.userName);
    t.title = QStringLiteral("标        题：") + gbkToString(s.title);
    t.model = QStringLiteral("型        号：") + gbkToString(s.model);
    t.serialNumber = QStringLiteral("S    N   号：") + gbkToString(s.serialNumber);
    t.firmware = QStringLiteral("固件版本：") + s.firmwareText + firmwareMarkers(s);
    t.firmwareNote = s.upgradable != 1 ? QStringLiteral("固件版本不带.S ，无法升级          ")
                                       : QStringLiteral("警告：固件S1x和S2x不能搞错，当前") + t.firmware +
                                             QString(12, u' ');
    t.capacity = QStringLiteral("总  容  量：") + QString::number(s.capacity) + QStringLiteral("【总耗时：") +
                 durationText(quint64(s.capacity) * s.recordInterval) + u'】';
    t.recordCount = QStringLiteral("记录次数：") + QString::number(s.recordCount) + u'【' +
                    fillPercentText(s.recordCount, s.capacity) + QStringLiteral("%，剩余耗时：") +
                    remainingDurationText(s.recordCount, s.capacity, s.recordInterval) + u'】';
    t.interval = QStringLiteral("记录间隔：") + aSecondsToText(s.recordInterval);
    t.startTime = s.startTimeUnset == 1 ? QStringLiteral("启动时间：----------------")
                                        : QStringLiteral("启动时间：") + aTimeFieldsToText(s.startTime);
    t.startMode = QStringLiteral("启动方式：") + s.startModeText;
    t.stopMode = QStringLiteral("停止方式：") + s.stopModeText;
    t.workState = QStringLiteral("工作状态：") + s.workStateText;
    t.battery = QStringLiteral("电池状态：") + s.batteryText;
    t.channelCount = QStringLiteral("通  道  数：") + QString::number(s.channelCount);
    // Only decoded channels have parameters; an announced count beyond the slots adds no lines.
    for (int k = 0; k < s.decodedChannelCount(); ++k)
        t.channels << channelLineText(s, k);
    return t;
}

int intervalItemIndex(quint32 seconds) {
    return recordingIntervals().indexOfValue(seconds);
}

int startModeItemIndex(const QString& modeText) {
    return startModes().indexOfText(modeText);
}

int stopModeItemIndex(const QString& modeText) {
    return stopModes().indexOfText(modeText);
}

QString connectedStatusText(int address, qint64 roundTripMs) {
    return QStringLiteral("连接成功，地址=") + QString::number(address) + QStringLiteral("，连接耗时：") +
           QString::number(roundTripMs) + QStringLiteral("ms");
}
