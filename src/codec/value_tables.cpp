#include "codec/value_tables.h"

QStringList ValueTable::texts() const {
    QStringList out;
    for (const ValueItem& item : m_items)
        out << item.text;
    return out;
}

int ValueTable::indexOfValue(qint64 value) const {
    for (int i = 0; i < size(); ++i)
        if (m_items[size_t(i)].value == value)
            return i;
    return -1;
}

int ValueTable::indexOfText(const QString& text) const {
    for (int i = 0; i < size(); ++i)
        if (m_items[size_t(i)].text == text)
            return i;
    return -1;
}

std::optional<qint64> ValueTable::valueAt(int index) const {
    if (index < 0 || index >= size())
        return std::nullopt;
    return m_items[size_t(index)].value;
}

const ValueTable& recordingIntervals() {
    static const ValueTable table{
        {QStringLiteral("2秒"), 2},       {QStringLiteral("5秒"), 5},        {QStringLiteral("10秒"), 10},
        {QStringLiteral("30秒"), 30},     {QStringLiteral("1分钟"), 60},     {QStringLiteral("2分钟"), 120},
        {QStringLiteral("5分钟"), 300},   {QStringLiteral("10分钟"), 600},   {QStringLiteral("20分钟"), 1200},
        {QStringLiteral("30分钟"), 1800}, {QStringLiteral("1小时"), 3600},   {QStringLiteral("2小时"), 7200},
        {QStringLiteral("5小时"), 18000}, {QStringLiteral("10小时"), 36000}, {QStringLiteral("1天"), 86400},
        {QStringLiteral("2天"), 172800},  {QStringLiteral("3天"), 259200},   {QStringLiteral("5天"), 432000},
        {QStringLiteral("10天"), 864000},
    };
    return table;
}

const ValueTable& startModes() {
    static const ValueTable table{
        {QStringLiteral("立即启动"), 1}, {QStringLiteral("定时启动"), 2}, {QStringLiteral("手动启动"), 3}};
    return table;
}

const ValueTable& stopModes() {
    static const ValueTable table{{QStringLiteral("先进先出"), 3},
                                  {QStringLiteral("记满停止"), 1},
                                  {QStringLiteral("手动停止"), 4},
                                  {QStringLiteral("定时停止"), 2}};
    return table;
}
