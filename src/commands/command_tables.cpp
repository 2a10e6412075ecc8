#include "commands/command_tables.h"

qint64 recordingIntervalSeconds(int index) {
    return recordingIntervals().valueAt(index).value_or(864000);
}

const ValueTable& gprsRecordIntervals() {
    static const ValueTable table{
        {QStringLiteral("0"), 0},          {QStringLiteral("10秒"), 10},     {QStringLiteral("20秒"), 20},
        {QStringLiteral("30秒"), 30},      {QStringLiteral("1分钟"), 60},    {QStringLiteral("2分钟"), 120},
        {QStringLiteral("5分钟"), 300},    {QStringLiteral("10分钟"), 600},  {QStringLiteral("15分钟"), 900},
        {QStringLiteral("20分钟"), 1200},  {QStringLiteral("30分钟"), 1800}, {QStringLiteral("1小时"), 3600},
        {QStringLiteral("2小时"), 7200},   {QStringLiteral("3小时"), 10800}, {QStringLiteral("6小时"), 21600},
        {QStringLiteral("12小时"), 43200}, {QStringLiteral("1天"), 86400},   {QStringLiteral("2天"), 172800},
        {QStringLiteral("3天"), 259200},   {QStringLiteral("4天"), 345600},
    };
    return table;
}

qint64 gprsRecordIntervalSeconds(int index) {
    return gprsRecordIntervals().valueAt(index).value_or(1800);
}

const ValueTable& gprsUploadIntervals() {
    static const ValueTable table{
        {QStringLiteral("1分钟"), 1},   {QStringLiteral("5分钟"), 5},   {QStringLiteral("10分钟"), 10},
        {QStringLiteral("15分钟"), 15}, {QStringLiteral("20分钟"), 20}, {QStringLiteral("30分钟"), 30},
        {QStringLiteral("1小时"), 60},  {QStringLiteral("2小时"), 120}, {QStringLiteral("4小时"), 240},
    };
    return table;
}

qint64 gprsUploadIntervalMinutes(int index) {
    return gprsUploadIntervals().valueAt(index).value_or(1);
}

const ValueTable& gprsPowerModes() {
    static const ValueTable table{{QStringLiteral("正常模式"), 0}, {QStringLiteral("省电模式"), 1}};
    return table;
}

const ValueTable& gprsPrintCounts() {
    static const ValueTable table{
        {QStringLiteral("100"), 100},        {QStringLiteral("200"), 200},   {QStringLiteral("300"), 300},
        {QStringLiteral("500"), 500},        {QStringLiteral("1000"), 1000}, {QStringLiteral("2000"), 2000},
        {QStringLiteral("最大容量"), 30000},
    };
    return table;
}

qint64 gprsPrintCount(int index) {
    return gprsPrintCounts().valueAt(index).value_or(100);
}
