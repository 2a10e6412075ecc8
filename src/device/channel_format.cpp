#include "device/channel_format.h"

#include "codec/field_text.h"

namespace {

struct KindName {
    const char16_t* chinese;
    const char16_t* report;
};

// Index = kind code - 1.
const KindName Kinds[] = {
    {u"温度", u"Temp"},
    {u"湿度", u"Humi"},
    {u"雨量", u"Rain"},
    {u"土壤水分", u"SoilMC"},
    {u"电压", u"Voltage"},
    {u"电流", u"E-Current "},
    {u"功率", u"Power"},
    {u"照度", u"Illuminance"},
    {u"风速", u"W-Speed"},
    {u"风向", u"W-Direction"},
    {u"CO2", u"CO2"},
    {u"气压", u"Air-Pressure"},
    {u"O2", u"O2"},
    {u"次数", u"Frequency"},
    {u"水位", u"Water-Level"},
    {u"压力", u"Pressure"},
    {u"PH值", u"PH"},
    {u"光合有效辐射", u"PAR"},
    {u"", u""},
    {u"深度", u"Depth"},
    {u"紫外", u"Ultraviolet"},
    {u"VOC", u"VOC"},
    {u"PM2.5值", u"PM2.5"},
    {u"甲醛", u"CH2O"},
    {u"库门", u""},
    {u"烟雾", u""},
    {u"太阳辐射", u""},
    {u"蒸发", u""},
    {u"氨气", u""},
    {u"硫化氢", u""},
    {u"甲烷", u""},
    {u"流速", u""},
    {u"水深", u""},
};

// Index = unit code; empty entries are codes without a unit text.
const char16_t* const Units[] = {
    u"",
    u"<℃>",
    u"<%RH>",
    u"<mm>",
    u"<%>",
    u"<v>",
    u"<A>",
    u"<W>",
    u"<klx>",
    u"<m/s>",
    u"<°>",
    u"<ppm>",
    u"<pa>",
    u"",
    u"<次>",
    u"<>",
    u"<x10ppm>",
    u"<x10kpa>",
    u"<kpa>",
    u"<kw>",
    u"",
    u"<ph>",
    u"<x10umol/m2/s>",
    u"<x10mm>",
    u"<m>",
    u"<LX>",
    u"<UV>",
    u"<ug/m3>",
    u"<x10°>",
    u"<mg/m3>",
    u"<x10ug/m3>",
    u"<x10w/m2>",
    u"<g/m3>",
};

QString two(int v) {
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

} // namespace

QString aKindName(int kind, NameForm form) {
    if (kind < 1 || kind > int(std::size(Kinds)))
        return {};
    const KindName& k = Kinds[kind - 1];
    return QString::fromUtf16(form == NameForm::Chinese ? k.chinese : k.report);
}

QString aUnitText(int unit) {
    if (unit < 0 || unit >= int(std::size(Units)))
        return {};
    return QString::fromUtf16(Units[unit]);
}

QString aValueToStrByDecimals(qint64 raw, int decimalsCode) {
    switch (decimalsCode) {
    case 1:
        return aIntToStr0(raw);
    case 3:
        return aIntToStr2(raw);
    default:
        return aIntToStr1(raw);
    }
}

QString aChannelValueToStr(qint64 raw, int channelIndex, const DeviceStatus& status) {
    const int code =
        channelIndex >= 0 && channelIndex < MaxChannels ? status.channels[channelIndex].decimalsCode : 0;
    return aValueToStrByDecimals(raw, code);
}

QString aTimeFieldsToText(int y, int mo, int d, int h, int mi, int s) {
    return QStringLiteral("20") + two(y) + u'-' + (mo >= 1 && mo <= 12 ? two(mo) : QStringLiteral("01")) +
           u'-' + (d >= 1 && d <= 31 ? two(d) : QStringLiteral("01")) + u' ' +
           (h >= 0 && h <= 23 ? two(h) : QStringLiteral("00")) + u':' +
           (mi >= 0 && mi < 60 ? two(mi) : QStringLiteral("00")) + u':' +
           (s >= 0 && s < 60 ? two(s) : QStringLiteral("00"));
}

QString aTimeFieldsToText(const TimeFields& t) {
    return aTimeFieldsToText(t[0], t[1], t[2], t[3], t[4], t[5]);
}

QString aSecondsToText(qint64 t) {
    return t <= 0 ? QStringLiteral("0") : durationText(quint64(t));
}

QString durationText(quint64 t) {
    if (t == 0)
        return QStringLiteral("0");
    const quint64 parts[] = {t / 86400, (t % 86400) / 3600, (t % 3600) / 60, t % 60};
    const char16_t* names[] = {u"天", u"小时", u"分钟", u"秒"};
    QString out;
    for (int i = 0; i < 4; ++i)
        if (parts[i] > 0)
            out += QString::number(parts[i]) + QString::fromUtf16(names[i]);
    return out;
}

QString aSecondsToDayHhMm(qint64 t) {
    if (t < 0)
        t = 0;
    QString out;
    if (t / 86400 > 0)
        out = QString::number(t / 86400) + QStringLiteral("天");
    return out + two(int((t % 86400) / 3600)) + u':' + two(int((t % 3600) / 60));
}
