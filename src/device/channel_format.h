#pragma once

// Channel kind and unit names, value formatting and time texts.

#include "device/device_status.h"

#include <QString>

enum class NameForm { Chinese, Report }; // Report: the English names of the PDF report

QString aKindName(int kind, NameForm form = NameForm::Chinese);
QString aUnitText(int unit);

// Raw value as text with the implied decimals of a decimals code
// (1 none, 2 one, 3 two, anything else one).
QString aValueToStrByDecimals(qint64 raw, int decimalsCode);
// The same with the decimals code of channel index in status.
QString aChannelValueToStr(qint64 raw, int channelIndex, const DeviceStatus& status);

// "2024-03-05 07:08:09" from yy, MM, dd, hh, mm, ss (out-of-range parts are replaced).
QString aTimeFieldsToText(const TimeFields& t);
QString aTimeFieldsToText(int y, int mo, int d, int h, int mi, int s);

QString aSecondsToText(qint64 seconds); // 90061 -> "1天1小时1分钟1秒"
// The same for durations that only an unsigned 64-bit number holds (a capacity times an interval).
QString durationText(quint64 seconds);
QString aSecondsToDayHhMm(qint64 seconds); // 90061 -> "1天01:01"
